#include "app/WindowPlacement.h"
#include "support/MainWindowFixture.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>
#include <limits>

namespace {

const QRect kLeftScreen(0, 0, 1920, 1040);
const QRect kRightScreen(1920, 0, 1280, 984);

struct PlacementRow {
    const char *name;
    double left, top, width, height;
    QRect expected;
};

const double kNaN = std::numeric_limits<double>::quiet_NaN();

const PlacementRow kRows[] = {
    {"AnOrdinaryPlaceIsKept", 100, 80, 800, 600, QRect(100, 80, 800, 600)},
    {"OnTheSecondScreenStaysThere", 2000, 50, 900, 700, QRect(2000, 50, 900, 700)},
    {"FarLeftComesBackWithItsRightEdgeShowing", -99999999999.0 / 15, 100, 800, 600, QRect(-600, 100, 800, 600)},
    {"FarRightComesBackWithItsLeftEdgeShowing", 1e12, 100, 800, 600, QRect(3000, 100, 800, 600)},
    {"AboveTheScreenComesDown", 100, -5000, 800, 600, QRect(100, 0, 800, 600)},
    {"BelowTheScreenComesUpTitleFirst", 100, 99999, 800, 600, QRect(100, 1040 - 150, 800, 600)},
    {"HugeIsNoLargerThanItsScreen", 2147483647, 2147483647, 2147483647, 2147483647,
     QRect(3000, 984 - 150, 1280, 984)},
    {"HugeAtTheOriginFitsTheFirstScreen", 0, 0, 1e9, 1e9, QRect(0, 0, 1920, 1040)},
    {"NotANumberIsTheSmallestWindowOnScreen", kNaN, kNaN, kNaN, kNaN, QRect(0, 0, 50, 50)},
    {"ATinyWindowStaysWholeOnScreen", -500, 10, 10, 10, QRect(0, 10, 50, 50)},
};

class WindowPlacementRows : public ::testing::TestWithParam<PlacementRow> {};

TEST_P(WindowPlacementRows, StaysReachable)
{
    const PlacementRow &row = GetParam();
    EXPECT_EQ(placeOnScreens(row.left, row.top, row.width, row.height, {kLeftScreen, kRightScreen}), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, WindowPlacementRows, ::testing::ValuesIn(kRows),
                         [](const auto &info) { return std::string(info.param.name); });

using MainWindowPlacement = MainWindowFixture;

TEST_F(MainWindowPlacement, AbsurdStoredValuesGiveAWindowOnTheScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const char *value : {"-99999999999", "2147483647", "1e308", "nan"}) {
        for (const char *key : {"MainLeft", "MainTop", "MainWidth", "MainHeight"})
            settings.write("Plendor", "Settings", key, value);
        auto w = makeWindow();
        const QRect place(w->pos(), w->size());
        EXPECT_LE(place.width(), screen.width()) << value;
        EXPECT_LE(place.height(), screen.height()) << value;
        const QRect seen = place.intersected(screen);
        EXPECT_GE(seen.width(), std::min(kVisibleWidth, place.width())) << value;
        EXPECT_GE(seen.height(), std::min(kVisibleHeight, place.height())) << value;
    }
}

} // namespace
