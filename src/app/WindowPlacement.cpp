#include "app/WindowPlacement.h"

#include <algorithm>
#include <cmath>

namespace {

// Far enough for any desktop, small enough that sums of two stay inside an int.
constexpr double kCoordinateBound = 1'000'000;

int bounded(double value, double low, double high)
{
    if (!std::isfinite(value))
        return static_cast<int>(low);
    return static_cast<int>(std::lround(std::clamp(value, low, high)));
}

qint64 overlap(const QRect &a, const QRect &b)
{
    const QRect both = a.intersected(b);
    return both.isEmpty() ? 0 : qint64(both.width()) * both.height();
}

// How far a point lies outside a rectangle (squared), 0 inside it.
qint64 distanceSquared(const QPoint &p, const QRect &r)
{
    const qint64 dx = p.x() < r.left() ? r.left() - p.x() : p.x() > r.right() ? p.x() - r.right() : 0;
    const qint64 dy = p.y() < r.top() ? r.top() - p.y() : p.y() > r.bottom() ? p.y() - r.bottom() : 0;
    return dx * dx + dy * dy;
}

// The screen the window mostly lies on, or the nearest one.
QRect screenFor(const QRect &place, const QList<QRect> &screens)
{
    const auto most = std::max_element(screens.begin(), screens.end(), [&place](const QRect &a, const QRect &b) {
        return overlap(place, a) < overlap(place, b);
    });
    if (overlap(place, *most) > 0)
        return *most;
    const QPoint centre = place.center();
    return *std::min_element(screens.begin(), screens.end(), [&centre](const QRect &a, const QRect &b) {
        return distanceSquared(centre, a) < distanceSquared(centre, b);
    });
}

} // namespace

QRect placeOnScreens(double left, double top, double width, double height, const QList<QRect> &screens)
{
    QRect place(bounded(left, -kCoordinateBound, kCoordinateBound), bounded(top, -kCoordinateBound, kCoordinateBound),
                bounded(width, kSmallestSide, kCoordinateBound), bounded(height, kSmallestSide, kCoordinateBound));
    if (screens.isEmpty())
        return place;

    const QRect screen = screenFor(place, screens);
    place.setWidth(std::min(place.width(), std::max(screen.width(), kSmallestSide)));
    place.setHeight(std::min(place.height(), std::max(screen.height(), kSmallestSide)));

    const int visibleWidth = std::min(kVisibleWidth, place.width());
    const int visibleHeight = std::min(kVisibleHeight, place.height());
    const int x = std::clamp(place.x(), screen.left() - place.width() + visibleWidth,
                             screen.left() + screen.width() - visibleWidth);
    // The title bar is at the top: the window never starts above the screen.
    const int y = std::clamp(place.y(), screen.top(), screen.top() + screen.height() - visibleHeight);
    place.moveTo(x, y);
    return place;
}
