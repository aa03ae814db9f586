// The Windows services the add-in reaches, bundled. Every member is required.
#pragma once

#include "core/Locale.h"
#include "platform/IClock.h"
#include "platform/IFileSystem.h"
#include "platform/IHostInfo.h"
#include "platform/IPictures.h"
#include "platform/IRandom.h"
#include "platform/IRegistry.h"
#include "platform/IResources.h"
#include "platform/IShell.h"

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
    Locale locale;
};

}  // namespace plexa
