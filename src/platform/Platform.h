// The Windows services the add-in reaches, bundled. Every member is required.
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

struct Platform {
    IFileSystem* files = nullptr;
    IClock* clock = nullptr;
    IShell* shell = nullptr;
    IRandom* random = nullptr;
    IHostInfo* host = nullptr;
    IResources* resources = nullptr;
    IRegistry* registry = nullptr;
    IPictures* pictures = nullptr;
    IClipboard* clipboard = nullptr;
    IWindowMessages* windows = nullptr;
    ITimers* timers = nullptr;
    IKeyboard* keyboard = nullptr;
    IUiShell* ui = nullptr;
    Locale locale;
};

}  // namespace plexa
