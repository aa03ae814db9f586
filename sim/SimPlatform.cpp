#include "sim/SimPlatform.h"

namespace plexa::sim {

SimPlatform::SimPlatform() : files(clock, faults) {}

SimPlatform::SimPlatform(const std::filesystem::path& stateFolder)
    : files(stateFolder.empty() ? SimFileSystem(clock, faults)
                                : SimFileSystem(stateFolder, clock, faults)) {}

Platform SimPlatform::Ports() {
    return Platform{files,    clock,     shell,   random, host,     resources, registry,
                    pictures, clipboard, windows, timers, keyboard, ui,        locale};
}

}  // namespace plexa::sim
