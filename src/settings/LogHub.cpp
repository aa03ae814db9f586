#include "settings/LogHub.h"

#include <algorithm>

#include "platform/Platform.h"

namespace plexa {

namespace {
LogHub* gCurrent = nullptr;
}

LogHub::LogHub(Platform& platform)
    : m_platform(platform), m_writer(platform), m_previous(gCurrent) {
    gCurrent = this;
}

LogHub::~LogHub() {
    if (gCurrent == this) {
        gCurrent = m_previous;
    }
}

LogHub* LogHub::Current() {
    return gCurrent;
}

const Locale& LogHub::FormatLocale() const {
    return m_platform.locale;
}

void LogHub::Log(const LogEntry& entry) noexcept {
    if (m_logging) {
        return;
    }
    m_logging = true;
    m_writer.Write(entry);
    for (ILogSink* sink : m_sinks) {
        try {
            sink->Receive(entry);
        } catch (...) {  // NOLINT(bugprone-empty-catch): a failing listener must not stop logging
        }
    }
    m_logging = false;
}

void LogHub::AddSink(ILogSink* sink) {
    m_sinks.push_back(sink);
}

void LogHub::RemoveSink(ILogSink* sink) {
    m_sinks.erase(std::remove(m_sinks.begin(), m_sinks.end(), sink), m_sinks.end());
}

}  // namespace plexa
