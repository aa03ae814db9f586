// Every simulated Windows service in one object, over a root directory for the file system.
#pragma once

#include <filesystem>

#include "platform/Platform.h"
#include "sim/Faults.h"
#include "sim/SimClock.h"
#include "sim/SimFileSystem.h"
#include "sim/SimPictures.h"
#include "sim/SimRegistry.h"
#include "sim/SimServices.h"

namespace plexa::sim {

class SimPlatform {
public:
    explicit SimPlatform(const std::filesystem::path& root);
    SimPlatform(const SimPlatform&) = delete;
    SimPlatform& operator=(const SimPlatform&) = delete;

    Platform Ports();

    Faults faults;
    SimClock clock{faults};
    SimFileSystem files;
    SimShell shell{faults};
    SimRandom random{faults};
    SimHostInfo host{faults};
    SimResources resources{faults};
    // The system's regional settings; the registry converts through their code page.
    Locale locale;
    SimRegistry registry{faults, locale};
    SimPictures pictures{files, faults};
};

}  // namespace plexa::sim
