#include "addin/AddinRun.h"

#include "host/outlook/OlConstants.h"

namespace plexa::test {

AddinRun::AddinRun(sim::SimPlatform& platform, sim::SimHost& host, LogCapture& log)
    : platform(platform), log(log), services(platform.Ports()), desktop(platform, host) {
    services.Log().AddSink(&log);
    services.host = desktop.Ports();
    connect = std::make_shared<Connect>(services);
    connect->IDTExtensibility2_OnConnection(host.application, 0, nullptr, {});
    connect->IDTExtensibility2_OnStartupComplete({});
    desktop.OpenExplorer(olFolderInbox);
}

AddinRun::~AddinRun() {
    if (!m_crashed) {
        connect->IDTExtensibility2_OnBeginShutdown({});
        connect->IDTExtensibility2_OnDisconnection(0, {});
    }
    connect.reset();
    services.host = {};
    services.Log().RemoveSink(&log);
}

void AddinRun::Crash(std::unique_ptr<AddinRun>& run) {
    sim::SimPlatform& platform = run->platform;
    platform.faults.KillHost();
    run->m_crashed = true;
    run.reset();
    platform.faults.Clear();
    for (const TimerId id : platform.timers.Running()) {
        platform.timers.KillTimer(id);
    }
}

}  // namespace plexa::test
