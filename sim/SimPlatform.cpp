#include "sim/SimPlatform.h"

namespace plexa::sim {

SimPlatform::SimPlatform() : files(clock, faults) {}

SimPlatform::SimPlatform(const std::filesystem::path& stateFolder)
    : files(stateFolder.empty() ? SimFileSystem(clock, faults)
                                : SimFileSystem(stateFolder, clock, faults)) {}

Platform SimPlatform::Ports() {
    Platform p;
    p.files = &files;
    p.clock = &clock;
    p.shell = &shell;
    p.random = &random;
    p.host = &host;
    p.resources = &resources;
    p.registry = &registry;
    p.pictures = &pictures;
    p.clipboard = &clipboard;
    p.windows = &windows;
    p.timers = &timers;
    p.keyboard = &keyboard;
    p.ui = &ui;
    p.locale = locale;
    return p;
}

}  // namespace plexa::sim
