#include "sim/SimPlatform.h"

namespace plexa::sim {

SimPlatform::SimPlatform(const std::filesystem::path& root) : files(root, clock, faults) {}

Platform SimPlatform::Ports() {
    return Platform{files,    clock,     shell,   random, host,     resources, registry,
                    pictures, clipboard, windows, timers, keyboard, ui,        locale};
}

}  // namespace plexa::sim
