#include "core/Signal.h"

#include <gtest/gtest.h>

namespace plexa {
namespace {

TEST(Signal, ConnectionsDisconnectWhenReleasedEvenDuringAnEmission) {
    Signal<int> signal;
    std::vector<std::string> calls;
    Connection first =
        signal.Connect([&](int v) { calls.push_back("first " + std::to_string(v)); });
    Connection second;
    Connection self;
    self = signal.Connect([&](int) {
        calls.push_back("self");
        self.Disconnect();    // a handler may drop itself
        second.Disconnect();  // ... and a later one, which then is not called
    });
    second = signal.Connect([&](int) { calls.push_back("second"); });

    signal.Emit(1);
    EXPECT_EQ(calls, (std::vector<std::string>{"first 1", "self"}));
    EXPECT_EQ(signal.HandlerCount(), 1u);

    {
        Connection scoped = signal.Connect([&](int) { calls.push_back("scoped"); });
    }
    calls.clear();
    signal.Emit(2);
    EXPECT_EQ(calls, (std::vector<std::string>{"first 2"}));
}

TEST(Signal, ASignalNobodyConnectedToEmitsNothingAndConnectsLater) {
    Signal<int> signal;
    EXPECT_EQ(signal.HandlerCount(), 0u);
    signal.Emit(1);  // no handler yet: nothing happens
    std::vector<int> seen;
    Connection c = signal.Connect([&](int v) { seen.push_back(v); });
    EXPECT_EQ(signal.HandlerCount(), 1u);
    signal.Emit(2);
    c.Disconnect();
    EXPECT_EQ(signal.HandlerCount(), 0u);
    signal.Emit(3);
    EXPECT_EQ(seen, (std::vector<int>{2}));
}

TEST(Signal, AConnectionMayOutliveItsSignal) {
    Connection c;
    {
        Signal<> signal;
        c = signal.Connect([] {});
        EXPECT_TRUE(c.Connected());
    }
    c.Disconnect();  // must not touch the destroyed signal
    EXPECT_FALSE(c.Connected());
}

}  // namespace
}  // namespace plexa
