#include "addin/mInspector.h"

#include "addin/Connect.h"
#include "host/outlook/OlConstants.h"
#include "platform/IKeyboard.h"
#include "platform/Platform.h"
#include "settings/Services.h"

namespace plexa::mInspector {

void OpenDraftsFolder(Connect& connect) {
    const auto& application = connect.GetServices().ConnectedHost().application;
    const auto drafts = application->Session()->GetDefaultFolder(olFolderDrafts);
    if (const auto explorer = application->ActiveExplorer()) {
        const auto current = explorer->CurrentFolder();
        const bool same = current && current->EntryID() == drafts->EntryID() &&
                          current->StoreID() == drafts->StoreID();
        if (!same) {
            explorer->SetCurrentFolder(drafts);
        }
    }
    connect.FrmDummy().SetTimerEnabled(L"tmrActivateExplorer", true);
}

std::wstring EscapeKeys(const std::wstring& text) {
    static constexpr std::wstring_view kSpecial = L"()+^%~[]{}";
    std::wstring keys;
    keys.reserve(text.size());
    for (const wchar_t c : text) {
        if (kSpecial.find(c) != std::wstring_view::npos) {
            keys += L'{';
            keys += c;
            keys += L'}';
        } else {
            keys += c;
        }
    }
    return keys;
}

void SendKeysText(Services& services, const std::wstring& text) {
    services.Ports().keyboard.SendKeys(EscapeKeys(text), true);
}

}  // namespace plexa::mInspector
