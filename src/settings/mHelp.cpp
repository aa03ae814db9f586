#include "settings/mHelp.h"

#include "addin/Context.h"
#include "core/HostError.h"
#include "settings/COptions.h"
#include "settings/mGlobals.h"

namespace plexa::mHelp {

std::wstring HelpFilePath() {
    Context* ctx = Context::Current();
    if (ctx == nullptr) {
        return {};
    }
    try {
        return ctx->Ports().host->InstallationFolder() + L"\\" + ctx->Options().ProductCode() +
               L".chm";
    } catch (const HostError& e) {
        mGlobals::LogError(L"mHelp::HelpFilePath", e);
        return {};
    }
}

bool ShowHelpTopic(const std::wstring& topic) {
    Context* ctx = Context::Current();
    if (ctx == nullptr || topic.empty()) {
        return false;
    }
    const std::wstring file = HelpFilePath();
    bool shown = false;
    try {
        shown = !file.empty() && ctx->Ports().shell->HtmlHelpDisplayTopic(file, topic);
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
