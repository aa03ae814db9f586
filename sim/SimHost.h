// The simulated mail client in one object: the message-store session and the application
// over it, built on a SimPlatform's faults and clock. Tests construct it in one line:
//     sim::SimHost host{world.sim};
// It starts with one store, "Personal Folders", with every default folder.
#pragma once

#include <memory>

#include "sim/SimPlatform.h"
#include "sim/outlook/SimApplication.h"
#include "sim/outlook/SimOutlook.h"
#include "sim/store/SimSession.h"

namespace plexa::sim {

class SimHost {
public:
    explicit SimHost(SimPlatform& platform);
    SimHost(const SimHost&) = delete;
    SimHost& operator=(const SimHost&) = delete;

    SimSession session;
    SimOutlook outlook{session};
    std::shared_ptr<SimApplication> application;
};

}  // namespace plexa::sim
