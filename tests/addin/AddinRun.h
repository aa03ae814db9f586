// One run of the add-in on a simulated client that outlives it: services of its own over the
// client's Windows services, a desktop over the client's store, the add-in connected as the host
// connects it, and a folder window open, so that the add-in initialises and its send-later timer
// runs. Two runs one after the other on one client are a restart with the registry and the store
// exactly as the first left them.
//
// Dropping a run shuts the add-in down as the host does. Crash ends it as a crash would: the host
// is gone, so nothing the dying add-in still does reaches the registry or the store, and the
// window timers die with the process.
#pragma once

#include <memory>
#include <ostream>

#include "TestWorld.h"
#include "addin/Connect.h"
#include "settings/Services.h"
#include "sim/SimDesktop.h"
#include "sim/SimHost.h"
#include "sim/SimPlatform.h"
#include "sim/store/StoreKind.h"

namespace plexa::sim {

// A store's kind in the names of parameterised tests.
inline void PrintTo(StoreKind kind, std::ostream* out) {
    *out << (kind == StoreKind::Pst ? "pst" : "exchange");
}

}  // namespace plexa::sim

namespace plexa::test {

class AddinRun {
public:
    AddinRun(sim::SimPlatform& platform, sim::SimHost& host, LogCapture& log);
    ~AddinRun();
    AddinRun(const AddinRun&) = delete;
    AddinRun& operator=(const AddinRun&) = delete;

    // Ends the run as a crash would (see above) and clears the faults for the next run.
    static void Crash(std::unique_ptr<AddinRun>& run);

    CSendLaterList& Queue() { return *connect->SendLaterList(); }

    sim::SimPlatform& platform;
    LogCapture& log;
    Services services;
    sim::SimDesktop desktop;
    std::shared_ptr<Connect> connect;

private:
    bool m_crashed = false;
};

}  // namespace plexa::test
