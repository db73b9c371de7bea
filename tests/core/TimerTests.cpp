// Timers on the virtual clock: values, periods without drift, skipping ahead, restarting,
// releasing from a callback, and nothing while the applet is held.
#include <gtest/gtest.h>

#include <vector>

#include "tests/core/HostHarness.h"

namespace {

struct Ticks {
    std::vector<int> values;
    host::Timer* releaseAt = nullptr;
    int releaseAfter = 0;
};

int Tick(const host::Event* e) {
    auto* t = static_cast<Ticks*>(e->context);
    t->values.push_back(e->value);
    if (t->releaseAt != nullptr && static_cast<int>(t->values.size()) == t->releaseAfter) {
        t->releaseAt->Release();
        t->releaseAt = nullptr;
    }
    return 0;
}

class Timers : public ::testing::Test {
protected:
    host::Timer* Make(Ticks* t, int ms) { return host->Factory().CreateTimer(t, ms, Tick); }
    shell_test::HostHarness host;
};

TEST_F(Timers, TickValuesAreMillisecondsSinceStartAtEachPeriod) {
    Ticks t;
    host::Timer* timer = Make(&t, 20);
    host.Advance(100);
    EXPECT_TRUE(t.values.empty());  // made stopped
    timer->Start();
    host.Advance(65);
    EXPECT_EQ(t.values, (std::vector<int>{20, 40, 60}));
    // Restarting begins counting again.
    timer->Start();
    host.Advance(45);
    EXPECT_EQ(t.values, (std::vector<int>{20, 40, 60, 20, 40}));
    timer->Release();
}

TEST_F(Timers, LateTicksDoNotDriftAndFarBehindSkipsAhead) {
    Ticks t;
    host::Timer* timer = Make(&t, 100);
    timer->Start();
    host.time.now += 130;  // the loop woke late
    host->Update();
    host.time.now += 80;   // 210: the next tick is still due at 200, not 230
    host->Update();
    EXPECT_EQ(t.values, (std::vector<int>{130, 210}));
    host.time.now += 1000;  // far behind: one tick, not ten
    host->Update();
    EXPECT_EQ(t.values.size(), 3u);
    EXPECT_EQ(t.values[2], 1210);
    host.time.now += 90;  // and the period stays on the 100 ms grid: next due at 1300
    host->Update();
    EXPECT_EQ(t.values.size(), 4u);
    timer->Release();
}

TEST_F(Timers, EachTimerCatchesUpOnItsOwnPeriod) {
    Ticks slow, fast;
    host::Timer* a = Make(&slow, 30);
    host::Timer* b = Make(&fast, 20);
    a->Start();
    b->Start();
    host.time.now = 65;  // the loop slept through several ticks of both
    host->Update();
    EXPECT_EQ(slow.values.size(), 2u);  // 30, 60
    EXPECT_EQ(fast.values.size(), 3u);  // 20, 40, 60
    EXPECT_EQ(host->NextDue(), 80);
    a->Release();
    b->Release();
}

TEST_F(Timers, TimerReleasedInItsOwnCallbackStops) {
    Ticks t;
    host::Timer* timer = Make(&t, 10);
    t.releaseAt = timer;
    t.releaseAfter = 2;
    timer->Start();
    host.Advance(100);
    EXPECT_EQ(t.values.size(), 2u);
    EXPECT_EQ(host->NextDue(), -1);
    EXPECT_TRUE(host->GetLedger().Clean()) << host->GetLedger().Report();
}

TEST_F(Timers, HeldAppletGetsNoTicksAndResumesWhereItWas) {
    Ticks t;
    host::Timer* timer = Make(&t, 50);
    timer->Start();
    host.Advance(40);
    host->Clock().Hold();  // a dialog opens
    host.time.now += 500;
    host->Update();
    EXPECT_TRUE(t.values.empty());
    host->Clock().Resume();
    host.Advance(10);
    EXPECT_EQ(t.values, std::vector<int>{50});
    timer->Release();
}

}  // namespace
