#include "controls/MireloTimer.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Runs the event loop until a witness timer of the given interval has ticked a few times: a
// timer of that interval still running would have ticked in that time too, however slow the machine.
void letTimersRun(int interval)
{
    QTimer witness;
    witness.setTimerType(Qt::PreciseTimer);
    int ticks = 0;
    QObject::connect(&witness, &QTimer::timeout, [&] { ++ticks; });
    witness.start(interval);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 5; }, 60000));
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
    EXPECT_TRUE(ticks.wait(10000));
    EXPECT_TRUE(ticks.wait(10000)) << "and keeps firing";
    t.setEnabled(false);
    const int seen = ticks.count();
    letTimersRun(5);
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks > 0; }, 60000));
    letTimersRun(2);
    EXPECT_EQ(ticks, 1);
}

TEST(MireloTimer, EnabledWithIntervalZeroStaysQuiet)
{
    MireloTimer t;
    QSignalSpy ticks(&t, &MireloTimer::OnTimer);
    t.setInterval(0);
    t.setEnabled(true);
    letTimersRun(1);
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
    letTimersRun(1);
    EXPECT_EQ(ticks, 0);
}

} // namespace
