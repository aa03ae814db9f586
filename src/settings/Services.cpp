#include "settings/Services.h"

#include <utility>

#include "core/HostError.h"
#include "core/Variant.h"
#include "host/outlook/OlConstants.h"
#include "settings/mGlobals.h"

namespace plexa {

Services::Services(Platform platform)
    : m_platform(std::move(platform)),
      m_log(m_platform),
      m_options(m_platform),
      m_lang(m_platform, m_options),
      m_clipboard(m_platform) {}

int32_t Services::OutlookVersion() {
    if (m_outlookVersion != 0) {
        return m_outlookVersion;
    }
    try {
        const std::wstring version = m_platform.host.Version();
        const std::wstring major = version.substr(0, version.find(L'.'));
        m_outlookVersion = CLng(Variant(major), m_platform.locale);
    } catch (const HostError& e) {
        mGlobals::LogError(L"mMisc::GetOutlookVersion", e);
    }
    return m_outlookVersion;
}

HostPorts& Services::ConnectedHost() {
    if (host.redemption == nullptr || !host.application) {
        throw HostError(E_FAIL, L"The add-in is not connected to the mail client");
    }
    return host;
}

void Services::LetMessagesRun() {
    m_platform.windows.DoEvents();
}

}  // namespace plexa
