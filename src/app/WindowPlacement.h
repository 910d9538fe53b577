#pragma once
// Where a restored window may go: whatever the settings say, on a screen and no larger than it.

#include <QList>
#include <QRect>

// The part of the window that must stay on a screen, so that it can be grabbed and moved.
inline constexpr int kVisibleWidth = 200;
inline constexpr int kVisibleHeight = 150;
// Below this the window is of no use.
inline constexpr int kSmallestSide = 50;

// The stored place (pixels, any values, even absurd ones) moved and shrunk as little as needed to
// fit the screens' available areas: no larger than the screen it mostly lies on (the nearest screen
// when it lies on none), and at least kVisibleWidth × kVisibleHeight of it (or all of a smaller
// window) on that screen. Without screens the place is only bounded.
QRect placeOnScreens(double left, double top, double width, double height, const QList<QRect> &screens);
