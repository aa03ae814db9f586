// The services of one running add-in, below everything that uses them: the Windows services
// (platform ports), the mail client's ports, the settings store (gOptions), the language table
// (gLang), the log, the clipboard keeper and the host version read once per run. Whoever starts
// the add-in builds one and hands it down through constructors and arguments; nothing here
// knows the add-in's own objects above it (Connect owns those).
//
// Members are destroyed in the reverse order of their declaration, so the log outlives
// everything that may still write to it when the services go.
#pragma once

#include <cstdint>

#include "host/HostPorts.h"
#include "platform/Platform.h"
#include "settings/CClipboard.h"
#include "settings/CLang.h"
#include "settings/COptions.h"
#include "settings/LogHub.h"

namespace plexa {

class Services {
public:
    explicit Services(Platform platform);
    Services(const Services&) = delete;
    Services& operator=(const Services&) = delete;

    Platform& Ports() { return m_platform; }
    const Platform& Ports() const { return m_platform; }
    LogHub& Log() { return m_log; }
    COptions& Options() { return m_options; }
    CLang& Lang() { return m_lang; }
    // The one clipboard keeper every caller brackets its use of the clipboard with, so nested
    // Save/Restore pairs keep the user's contents.
    CClipboard& Clipboard() { return m_clipboard; }

    // The host's major version (9 = 2000 ... 14 = 2010), read once per run; 0 (and an error
    // entry) when it cannot be read, in which case the next call reads again.
    int32_t OutlookVersion();

    // Lets pending window messages run (DoEvents), so that windows repaint and a Cancel click
    // is seen during long work. Throws HostError when the message loop fails.
    void LetMessagesRun();

    // The mail client and its libraries; empty until the add-in is connected.
    HostPorts host;
    // The same for work that needs them: throws HostError (E_FAIL, "The add-in is not connected
    // to the mail client") while the application or the safe-access library is missing.
    HostPorts& ConnectedHost();

private:
    Platform m_platform;
    LogHub m_log;
    COptions m_options;
    CLang m_lang;
    CClipboard m_clipboard;
    int32_t m_outlookVersion = 0;
};

}  // namespace plexa
