// Before Qt starts, the editor tells in one line why no window can be shown, instead of Qt's abort.
#include "platform/Display.h"
#include "support/ScopedEnv.h"

#include <QByteArray>
#include <QFile>
#include <gtest/gtest.h>
#include <optional>
#include <string_view>

namespace {
struct DisplayCase {
    const char *name;
    const char *platform, *display, *wayland; // nullptr: unset
    const char *problemHolds;                 // nullptr: no problem
};

// A display number with no server behind it on this machine.
const char *unusedDisplay()
{
    static QByteArray display = [] {
        int number = 4242;
        while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)))
            ++number;
        return ":" + QByteArray::number(number);
    }();
    return display.constData();
}

const DisplayCase kCases[] = {
    {"NothingSet", nullptr, nullptr, nullptr, "no display found"},
    {"DisplayWithoutServer", nullptr, "unused", nullptr, "cannot connect to the display :"},
    {"ChosenXWithoutServer", "xcb", "unused", nullptr, "cannot connect"},
    {"MalformedDisplay", nullptr, "not a display", nullptr, "cannot connect to the display not a display"},
    {"OffscreenNeedsNoServer", "offscreen", "unused", nullptr, nullptr},
    {"WaylandIsQtsToOpen", nullptr, nullptr, "wayland-0", nullptr},
};

class Display : public ::testing::TestWithParam<DisplayCase> {
    std::optional<ScopedEnv> m_env[3];
    static constexpr const char *kNames[3] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};

protected:
    void SetUp() override
    {
        const DisplayCase &c = GetParam();
        const char *values[3] = {c.platform, c.display, c.wayland};
        for (int i = 0; i < 3; ++i) {
            const char *value = values[i] && std::string_view(values[i]) == "unused" ? unusedDisplay() : values[i];
            m_env[i].emplace(kNames[i], value);
        }
    }
};

TEST_P(Display, ProblemIsOneLineOrNone)
{
    const std::string problem = platform::displayProblem();
    if (!GetParam().problemHolds) {
        EXPECT_EQ(problem, "");
        return;
    }
    EXPECT_NE(problem.find(GetParam().problemHolds), std::string::npos) << problem;
    EXPECT_EQ(problem.find('\n'), std::string::npos) << "one line";
}

INSTANTIATE_TEST_SUITE_P(Lines, Display, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });
} // namespace
