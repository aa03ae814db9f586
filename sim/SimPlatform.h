// Every simulated Windows service in one object. The file system keeps its files in memory, or
// below a real directory (a state folder) when one is given.
#pragma once

#include <filesystem>

#include "platform/Platform.h"
#include "sim/Faults.h"
#include "sim/SimClock.h"
#include "sim/SimFileSystem.h"
#include "sim/SimPictures.h"
#include "sim/SimRegistry.h"
#include "sim/SimResources.h"
#include "sim/SimServices.h"
#include "sim/windows/SimClipboard.h"
#include "sim/windows/SimKeyboard.h"
#include "sim/windows/SimTimers.h"
#include "sim/windows/SimUiShell.h"
#include "sim/windows/SimWindowMessages.h"

namespace plexa::sim {

class SimPlatform {
public:
    // Files in memory.
    SimPlatform();
    // Files below a real directory; an empty path keeps them in memory.
    explicit SimPlatform(const std::filesystem::path& stateFolder);
    SimPlatform(const SimPlatform&) = delete;
    SimPlatform& operator=(const SimPlatform&) = delete;

    Platform Ports();

    Faults faults;
    SimClock clock{faults};
    SimFileSystem files;
    SimShell shell{faults, files};
    SimRandom random{faults};
    SimHostInfo host{faults};
    SimResources resources{faults};
    // The system's regional settings; the registry converts through their code page.
    Locale locale;
    SimRegistry registry{faults, locale};
    SimPictures pictures{files, faults};
    SimClipboard clipboard{faults};
    // Timers run on the clock: moving it fires them.
    SimTimers timers{faults, clock};
    // Message boxes and dialogs, answered by ui.user.
    SimUiShell ui{faults};
    SimWindowMessages windows{faults, timers, ui};
    // Keystrokes go to keyboard.focus, which the window simulation sets.
    SimKeyboard keyboard{faults};
};

}  // namespace plexa::sim
