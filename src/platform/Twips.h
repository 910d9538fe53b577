#pragma once
// Screen twips per pixel (1440 / the screen's logical DPI): positions in the settings store and
// the editor control's sizes are kept in twips, as on the platform.

namespace platform {

double twipsPerPixelX();
double twipsPerPixelY();

// Rounds to the nearest pixel.
int twipsToPixelsX(double twips);
int twipsToPixelsY(double twips);
double pixelsToTwipsX(int pixels);
double pixelsToTwipsY(int pixels);

} // namespace platform
