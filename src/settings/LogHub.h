// Where the add-in's log entries go: the log writer (Plexa.log, Plexa.err) and the listeners
// (tests, the command-line host). The services object owns one.
//
// The log is the add-in's one ambient: LogDebug, LogWarning, LogError and Assert reach the hub of
// the innermost living services object through LogHub::Current(), so that any code may log
// without being handed anything. With no add-in running (no services object alive) an entry goes
// nowhere: it is dropped, quietly, and the caller carries on.
#pragma once

#include <vector>

#include "core/Locale.h"
#include "settings/CLogWriter.h"
#include "settings/LogEntry.h"

namespace plexa {

struct Platform;

class LogHub {
public:
    // Becomes the current hub until it is destroyed.
    explicit LogHub(Platform& platform);
    ~LogHub();
    LogHub(const LogHub&) = delete;
    LogHub& operator=(const LogHub&) = delete;

    // The hub of the innermost living services object, or nullptr when no add-in runs. Only the
    // Log* functions and the formatter (for the user's number format) ask.
    static LogHub* Current();

    // Hands an entry to the writer and the sinks. An entry raised while another is being written
    // (the writer's own trouble) is dropped rather than recursing.
    void Log(const LogEntry& entry) noexcept;
    void AddSink(ILogSink* sink);
    void RemoveSink(ILogSink* sink);

    CLogWriter& Writer() { return m_writer; }
    // The user's regional settings, which the formatter converts numbers with.
    const Locale& FormatLocale() const;

private:
    Platform& m_platform;
    CLogWriter m_writer;
    std::vector<ILogSink*> m_sinks;
    bool m_logging = false;
    LogHub* m_previous;
};

}  // namespace plexa
