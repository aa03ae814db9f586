#include "sim/SimHost.h"

namespace plexa::sim {

SimHost::SimHost(SimPlatform& platform)
    : session(platform.faults, platform.clock),
      application(std::make_shared<SimApplication>(outlook)) {
    session.AddStore(L"Personal Folders", true);
}

}  // namespace plexa::sim
