#include "controls/MireloTimer.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(MireloTimer, Defaults)
{
    const MireloTimer t;
    EXPECT_FALSE(t.Enabled());
    EXPECT_EQ(t.Interval(), 400);
    EXPECT_EQ(t.Name(), QStringLiteral("HoverTimer"));
}

TEST(MireloTimer, EmptyNameIsIgnored)
{
    MireloTimer t;
    t.setName(QStringLiteral("Hover Timer"));
    t.setName(QString());
    EXPECT_EQ(t.Name(), QStringLiteral("Hover Timer"));
}

struct IntervalRow {
    const char *name;
    int set, stored;
    bool staysEnabled;
};

const IntervalRow kIntervals[] = {
    {"Zero", 0, 0, false},     {"Negative", -5, 0, false}, {"One", 1, 1, true},
    {"Default", 400, 400, true}, {"Long", 60000, 60000, true},
};

struct Intervals : testing::TestWithParam<IntervalRow> {};

TEST_P(Intervals, BelowOneDisables)
{
    MireloTimer t;
    t.setEnabled(true);
    t.setInterval(GetParam().set);
    EXPECT_EQ(t.Interval(), GetParam().stored);
    EXPECT_EQ(t.Enabled(), GetParam().staysEnabled);
}

INSTANTIATE_TEST_SUITE_P(Rows, Intervals, testing::ValuesIn(kIntervals),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(MireloTimer, FiresWhileEnabledWithoutBlockingTheCaller)
{
    MireloTimer t;
    QSignalSpy ticks(&t, &MireloTimer::OnTimer);
    t.setInterval(5);
    t.setEnabled(true);
    EXPECT_EQ(ticks.count(), 0) << "enabling returns before the first tick";
    EXPECT_TRUE(ticks.wait(2000));
    EXPECT_TRUE(ticks.wait(2000)) << "and keeps firing";
    t.setEnabled(false);
    const int seen = ticks.count();
    QTest::qWait(30);
    EXPECT_EQ(ticks.count(), seen);
}

TEST(MireloTimer, DisabledFromItsOwnHandlerStops)
{
    MireloTimer t;
    int ticks = 0;
    QObject::connect(&t, &MireloTimer::OnTimer, &t, [&] {
        ++ticks;
        t.setEnabled(false);
    });
    t.setInterval(2);
    t.setEnabled(true);
    QTest::qWait(40);
    EXPECT_EQ(ticks, 1);
}

TEST(MireloTimer, EnabledWithIntervalZeroStaysQuiet)
{
    MireloTimer t;
    QSignalSpy ticks(&t, &MireloTimer::OnTimer);
    t.setInterval(0);
    t.setEnabled(true);
    EXPECT_TRUE(t.Enabled());
    QTest::qWait(20);
    EXPECT_EQ(ticks.count(), 0);
}

TEST(MireloTimer, DestroyedWhileEnabledNeverFiresAgain)
{
    int ticks = 0;
    {
        MireloTimer t;
        QObject::connect(&t, &MireloTimer::OnTimer, [&] { ++ticks; });
        t.setInterval(1);
        t.setEnabled(true);
    }
    QTest::qWait(20);
    EXPECT_EQ(ticks, 0);
}

} // namespace
