#include "platform/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtMath>

namespace platform {
namespace {
double twipsPerPixel(bool horizontal)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? (horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY()) : 96.0;
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}
} // namespace

double twipsPerPixelX() { return twipsPerPixel(true); }
double twipsPerPixelY() { return twipsPerPixel(false); }
int twipsToPixelsX(double twips) { return qRound(twips / twipsPerPixelX()); }
int twipsToPixelsY(double twips) { return qRound(twips / twipsPerPixelY()); }
double pixelsToTwipsX(int pixels) { return pixels * twipsPerPixelX(); }
double pixelsToTwipsY(int pixels) { return pixels * twipsPerPixelY(); }

} // namespace platform
