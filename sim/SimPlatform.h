// Every simulated Windows service in one object, over a root directory for the file system.
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
