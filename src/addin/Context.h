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

class CLang;
class CPleaseWait;
class COptions;

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
    // The please-wait window's keeper (gPleaseWait), created on first use.
    CPleaseWait& PleaseWait();

    // Hands an entry to the log writer and the sinks. An entry raised while another is being
    // written (the writer's own trouble) is dropped rather than recursing.
    void Log(const LogEntry& entry) noexcept;
    void AddLogSink(ILogSink* sink);
    void RemoveLogSink(ILogSink* sink);

    // The mail client and its libraries; empty until the add-in is connected.
    HostPorts host;

    // The host's major version, 0 until first read.
    int32_t cachedOutlookVersion = 0;

private:
    Platform m_platform;
    CLogWriter m_logWriter;
    std::unique_ptr<COptions> m_options;
    std::unique_ptr<CLang> m_lang;
    std::unique_ptr<CPleaseWait> m_pleaseWait;
    std::vector<ILogSink*> m_sinks;
    bool m_logging = false;
    Context* m_previous;
};

}  // namespace plexa
