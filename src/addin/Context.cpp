#include "addin/Context.h"

#include <algorithm>
#include <utility>

#include "settings/CLang.h"
#include "settings/COptions.h"
#include "ui/CPleaseWait.h"

namespace plexa {

namespace {
Context* gCurrent = nullptr;
}

Context::Context(Platform platform)
    : m_platform(std::move(platform)), m_logWriter(m_platform), m_previous(gCurrent) {
    gCurrent = this;
}

Context::~Context() {
    if (gCurrent == this) {
        gCurrent = m_previous;
    }
}

Context* Context::Current() {
    return gCurrent;
}

COptions& Context::Options() {
    if (!m_options) {
        m_options = std::make_unique<COptions>(m_platform);
    }
    return *m_options;
}

CLang& Context::Lang() {
    if (!m_lang) {
        m_lang = std::make_unique<CLang>();
    }
    return *m_lang;
}

CPleaseWait& Context::PleaseWait() {
    if (!m_pleaseWait) {
        m_pleaseWait = std::make_unique<CPleaseWait>();
    }
    return *m_pleaseWait;
}

void Context::Log(const LogEntry& entry) noexcept {
    if (m_logging) {
        return;
    }
    m_logging = true;
    m_logWriter.Write(entry);
    for (ILogSink* sink : m_sinks) {
        try {
            sink->Receive(entry);
        } catch (...) {  // NOLINT(bugprone-empty-catch): a failing listener must not stop logging
        }
    }
    m_logging = false;
}

void Context::AddLogSink(ILogSink* sink) {
    m_sinks.push_back(sink);
}

void Context::RemoveLogSink(ILogSink* sink) {
    m_sinks.erase(std::remove(m_sinks.begin(), m_sinks.end(), sink), m_sinks.end());
}

}  // namespace plexa
