// The process-wide state of one running add-in: the platform it runs on, its log writer and the
// values it caches. Constructing a Context makes it the current one until it is destroyed, so
// every test builds a fresh world and the module functions (logging, settings) find theirs.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "host/HostPorts.h"
#include "platform/Platform.h"
#include "settings/CLogWriter.h"
#include "settings/LogEntry.h"

namespace plexa {

class CClipboard;
class CLang;
class CMailItemWrapperColl;
class Connect;
class CPleaseWait;
class COptions;
class CSendLaterList;
class frmDEBUG;
class frmDummy;

class Context {
public:
    explicit Context(Platform platform);
    ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    // The innermost living Context, or nullptr.
    static Context* Current();

    Platform& Ports() { return m_platform; }
    CLogWriter& LogWriter() { return m_logWriter; }
    // The settings store (gOptions), created on first use.
    COptions& Options();
    // The language table (gLang), created on first use.
    CLang& Lang();
    // Releases gLang (the next use creates an empty one), as the add-in's end does.
    void ReleaseLang();
    // The please-wait window's keeper (gPleaseWait), created on first use.
    CPleaseWait& PleaseWait();
    bool PleaseWaitLoaded() const { return static_cast<bool>(m_pleaseWait); }
    // Clears gPleaseWait (the next use creates a new one).
    void ClearPleaseWait();
    // The hidden timer form (frmDummy), loaded on first use.
    frmDummy& FrmDummy();
    bool FrmDummyLoaded() const { return static_cast<bool>(m_frmDummy); }
    // Unloads the form, which stops all its timers.
    void UnloadFrmDummy();
    // The developer's debug window (one per add-in, as the Debug button shows it), created on
    // first use.
    frmDEBUG& DebugForm();
    // Takes the debug window off the screen when it is up; the add-in's end does it too.
    void UnloadDebugForm() noexcept;
    // The mail-item wrappers (gMailItemWrappers), created on first use.
    CMailItemWrapperColl& MailItemWrappers();
    // The one clipboard keeper every caller brackets its use of the clipboard with, so nested
    // Save/Restore pairs keep the user's contents; created on first use.
    CClipboard& Clipboard();

    // Hands an entry to the log writer and the sinks. An entry raised while another is being
    // written (the writer's own trouble) is dropped rather than recursing.
    void Log(const LogEntry& entry) noexcept;
    void AddLogSink(ILogSink* sink);
    void RemoveLogSink(ILogSink* sink);

    // The mail client and its libraries; empty until the add-in is connected.
    HostPorts host;
    // The connection object (gConnect): set at connection, cleared at full shut-down.
    std::shared_ptr<Connect> connect;
    // The send-later queue of the default store (gSendLaterList): created at connection.
    std::unique_ptr<CSendLaterList> sendLaterList;

    // The host's major version, 0 until first read.
    int32_t cachedOutlookVersion = 0;

private:
    Platform m_platform;
    CLogWriter m_logWriter;
    std::unique_ptr<COptions> m_options;
    std::unique_ptr<CLang> m_lang;
    std::unique_ptr<CPleaseWait> m_pleaseWait;
    std::unique_ptr<frmDummy> m_frmDummy;
    std::unique_ptr<frmDEBUG> m_debugForm;
    std::unique_ptr<CMailItemWrapperColl> m_mailItemWrappers;
    std::unique_ptr<CClipboard> m_clipboard;
    std::vector<ILogSink*> m_sinks;
    bool m_logging = false;
    Context* m_previous;
};

}  // namespace plexa
