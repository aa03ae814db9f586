#include "settings/mHelp.h"

#include "core/HostError.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"

namespace plexa::mHelp {

std::wstring HelpFilePath(Services& services) {
    try {
        return services.Ports().host.InstallationFolder() + L"\\" +
               services.Options().ProductCode() + L".chm";
    } catch (const HostError& e) {
        mGlobals::LogError(L"mHelp::HelpFilePath", e);
        return {};
    }
}

bool ShowHelpTopic(Services& services, const std::wstring& topic) {
    if (topic.empty()) {
        return false;
    }
    const std::wstring file = HelpFilePath(services);
    bool shown = false;
    try {
        shown = !file.empty() && services.Ports().shell.HtmlHelpDisplayTopic(file, topic);
    } catch (const HostError& e) {
        mGlobals::LogError(L"mHelp::ShowHelpTopic", e);
        return false;
    }
    if (!shown) {
        mGlobals::LogWarning(L"mHelp::ShowHelpTopic",
                             L"cannot show topic '" + topic + L"' of '" + file + L"'", 1);
    }
    return shown;
}

}  // namespace plexa::mHelp
