#include "addin/Context.h"

#include <algorithm>
#include <utility>

#include "addin/CMailItemWrapperColl.h"
#include "addin/CSendLaterList.h"
#include "addin/Connect.h"
#include "addin/frmDummy.h"
#include "core/HostError.h"
#include "platform/IUiShell.h"
#include "separate/CClipboard.h"
#include "settings/CLang.h"
#include "settings/COptions.h"
#include "settings/frmDEBUG.h"
#include "settings/mGlobals.h"
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
    // The timers and the add-in's objects go while this context is still the current one.
    m_frmDummy.reset();
    UnloadDebugForm();
    connect.reset();
    sendLaterList.reset();
    m_clipboard.reset();  // it reports an unbalanced Save in this context's log
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

void Context::ReleaseLang() {
    m_lang.reset();
}

CPleaseWait& Context::PleaseWait() {
    if (!m_pleaseWait) {
        m_pleaseWait = std::make_unique<CPleaseWait>();
    }
    return *m_pleaseWait;
}

void Context::ClearPleaseWait() {
    m_pleaseWait.reset();
}

frmDummy& Context::FrmDummy() {
    if (!m_frmDummy) {
        m_frmDummy = std::make_unique<frmDummy>();
    }
    return *m_frmDummy;
}

void Context::UnloadFrmDummy() {
    m_frmDummy.reset();
}

frmDEBUG& Context::DebugForm() {
    if (!m_debugForm) {
        m_debugForm = std::make_unique<frmDEBUG>();
    }
    return *m_debugForm;
}

void Context::UnloadDebugForm() noexcept {
    if (!m_debugForm || m_platform.ui == nullptr) {
        return;
    }
    try {
        if (m_platform.ui->IsLoaded(*m_debugForm)) {
            m_platform.ui->Unload(*m_debugForm);
        }
    } catch (const HostError& e) {
        mGlobals::LogError(L"Context::UnloadDebugForm", e);
    }
}

CMailItemWrapperColl& Context::MailItemWrappers() {
    if (!m_mailItemWrappers) {
        m_mailItemWrappers = std::make_unique<CMailItemWrapperColl>();
    }
    return *m_mailItemWrappers;
}

CClipboard& Context::Clipboard() {
    if (!m_clipboard) {
        m_clipboard = std::make_unique<CClipboard>();
    }
    return *m_clipboard;
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
