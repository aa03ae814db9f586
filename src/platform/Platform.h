// The Windows services the add-in reaches, bundled.
#pragma once

#include "core/Locale.h"
#include "platform/IClipboard.h"
#include "platform/IClock.h"
#include "platform/IFileSystem.h"
#include "platform/IHostInfo.h"
#include "platform/IKeyboard.h"
#include "platform/IPictures.h"
#include "platform/IRandom.h"
#include "platform/IRegistry.h"
#include "platform/IResources.h"
#include "platform/IShell.h"
#include "platform/ITimers.h"
#include "platform/IUiShell.h"
#include "platform/IWindowMessages.h"

namespace plexa {

// Every port is a reference, so none can be missing: whoever builds the add-in's world supplies
// all of them. The locale is a copy the add-in may be told about (tests change it).
struct Platform {
    IFileSystem& files;
    IClock& clock;
    IShell& shell;
    IRandom& random;
    IHostInfo& host;
    IResources& resources;
    IRegistry& registry;
    IPictures& pictures;
    IClipboard& clipboard;
    IWindowMessages& windows;
    ITimers& timers;
    IKeyboard& keyboard;
    IUiShell& ui;
    Locale locale;
};

}  // namespace plexa
