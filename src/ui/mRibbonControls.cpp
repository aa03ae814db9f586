#include "ui/mRibbonControls.h"

#include <array>

#include "core/HostError.h"
#include "host/outlook/Application.h"
#include "host/outlook/OutlookItem.h"
#include "separate/mReplacements.h"
#include "separate/mUserProps.h"
#include "settings/CLang.h"
#include "settings/COptions.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"
#include "settings/mMisc.h"
#include "ui/mExplorer.h"
#include "ui/mIcons.h"

namespace plexa::mRibbonControls {

namespace {

constexpr const wchar_t* kExplorer = L"Orvin.Plexa.Explorer.";
constexpr const wchar_t* kCachedActionButton = L"Orvin.Plexa.Explorer.btnCachedAction";

// What a control shows that does not depend on the window: language keys and an icon name.
struct Face {
    const wchar_t* id;
    const wchar_t* label;
    const wchar_t* tip;
    const wchar_t* image;
};

constexpr std::array<Face, 23> kFaces{{
    {L"Orvin.Plexa.Tab", L"LID_MENU_CAPTION", L"", L""},
    {L"Orvin.Plexa.Group", L"LID_MENU_CAPTION", L"", L""},
    {L"btnFullName", L"LID_BTN_INSERT_FULL_NAME", L"", L"ICO_INSERT32"},
    {L"btnSendModeAll", L"LID_BTN_SEND_ALL", L"", L""},
    {L"btnSendModeSep", L"LID_BTN_SEND_SEP", L"", L""},
    {L"btnSepGrouping", L"LID_BTN_SEP_GROUPING", L"", L""},
    {L"btnOptions", L"LID_BTN_OPTIONS", L"LID_BTN_OPTIONS_TIP", L""},
    {L"Orvin.Plexa.Explorer.tab", L"RID_E_TAB", L"", L""},
    {L"Orvin.Plexa.Explorer.grpDrafts", L"RID_E_GRP_DRAFTS", L"", L""},
    {L"Orvin.Plexa.Explorer.grpRecent", L"RID_E_GRP_CACHED_ACTION", L"", L""},
    {L"Orvin.Plexa.Explorer.grpEmail", L"RID_E_GRP_EMAIL", L"", L""},
    {L"Orvin.Plexa.Explorer.grpDL", L"RID_E_GRP_DL", L"", L""},
    {L"Orvin.Plexa.Explorer.grpMisc", L"RID_E_GRP_MISC", L"", L""},
    {L"Orvin.Plexa.Explorer.btnSendNow", L"RID_E_BTN_SEND_NOW", L"RID_E_BTN_SEND_NOW_TT", L""},
    {L"Orvin.Plexa.Explorer.btnTo", L"RID_E_BTN_TO", L"RID_E_BTN_TO_TT", L"ICO_E_TO"},
    {L"Orvin.Plexa.Explorer.btnCC", L"RID_E_BTN_CC", L"RID_E_BTN_CC_TT", L"ICO_E_CC"},
    {L"Orvin.Plexa.Explorer.btnBCC", L"RID_E_BTN_BCC", L"RID_E_BTN_BCC_TT", L"ICO_E_BCC"},
    {L"Orvin.Plexa.Explorer.btnNewDL", L"RID_E_BTN_NEW_DL_SHORT", L"RID_E_BTN_NEW_DL_TT",
     L"ICO_E_NEWDL"},
    {L"Orvin.Plexa.Explorer.btnNewDLFromFolder", L"RID_E_BTN_NEW_DL_FROM_FOLDER_SHORT",
     L"RID_E_BTN_NEW_DL_FROM_FOLDER_TT", L"ICO_E_NEWDL"},
    {L"Orvin.Plexa.Explorer.btnExisitingDL", L"RID_E_BTN_EXISTING_DL_SHORT",
     L"RID_E_BTN_EXISTING_DL_TT", L"ICO_E_DL"},
    {L"Orvin.Plexa.Explorer.btnOptions", L"RID_E_BTN_OPTIONS", L"", L"ICO_E_OPTIONS"},
    {L"Orvin.Plexa.Explorer.btnAbout", L"RID_E_BTN_ABOUT", L"", L"MAIN_ICON"},
    {L"Orvin.Plexa.Explorer.btnLastReport", L"RID_E_BTN_LAST_REPORT", L"RID_E_BTN_LAST_REPORT_TT",
     L""},
}};

const Face* FaceOf(const std::wstring& id) {
    for (const Face& face : kFaces) {
        if (id == face.id) {
            return &face;
        }
    }
    return nullptr;
}

std::shared_ptr<MailItem> MailOf(const std::shared_ptr<AutomationObject>& context) {
    const auto inspector = std::dynamic_pointer_cast<Inspector>(context);
    return inspector ? std::dynamic_pointer_cast<MailItem>(inspector->CurrentItem()) : nullptr;
}

std::shared_ptr<Explorer> ExplorerOf(const std::shared_ptr<AutomationObject>& context) {
    return std::dynamic_pointer_cast<Explorer>(context);
}

int32_t SendModeOf(const std::shared_ptr<AutomationObject>& context) {
    const auto mail = MailOf(context);
    return mail ? mUserProps::GetSendMode(mail) : SendModeAll;
}

}  // namespace

std::optional<mReplacements::Placeholder> InsertedPlaceholder(const std::wstring& id) {
    static const std::array<std::pair<const wchar_t*, mReplacements::Placeholder>, 7> kButtons{{
        {L"btnFullName", mReplacements::Placeholder::FullName},
        {L"btnFirstName", mReplacements::Placeholder::FirstName},
        {L"btnMiddleName", mReplacements::Placeholder::MiddleName},
        {L"btnLastName", mReplacements::Placeholder::LastName},
        {L"btnInitials", mReplacements::Placeholder::Initials},
        {L"btnNickname", mReplacements::Placeholder::NickName},
        {L"btnCompany", mReplacements::Placeholder::Company},
    }};
    for (const auto& [button, placeholder] : kButtons) {
        if (id == button) {
            return placeholder;
        }
    }
    return std::nullopt;
}

std::wstring CachedActionButton(Services& services,
                                const std::shared_ptr<AutomationObject>& context,
                                const wchar_t* source, const wchar_t* description) {
    const int32_t code = mExplorer::GetCachedActionOrTo(services, ExplorerOf(context));
    static const std::array<const wchar_t*, 5> kButtons{L"btnTo", L"btnCC", L"btnBCC", L"btnNewDL",
                                                        L"btnExisitingDL"};
    if (code < 0 || code >= static_cast<int32_t>(kButtons.size())) {
        mGlobals::LogError(source, code, description);
        return L"";
    }
    return kExplorer + std::wstring(kButtons[static_cast<std::size_t>(code)]);
}

std::wstring GetControlLabel(Services& services, const std::wstring& id,
                             const std::shared_ptr<AutomationObject>& context) {
    if (id == kCachedActionButton) {
        const std::wstring button =
            CachedActionButton(services, context, L"Connect.Control_GetLabel_", L"ASSERT1058");
        return button.empty() ? L"" : GetControlLabel(services, button, context);
    }
    CLang& lang = services.Lang();
    if (id == L"btnSendMode") {
        return lang.Item(SendModeOf(context) != SendModeAll ? L"LID_BTN_SEND_MODE_SEP"
                                                            : L"LID_BTN_SEND_MODE_ALL");
    }
    if (id == L"Orvin.Plexa.Explorer.btnHelp") {
        return lang.Item(L"RID_E_BTN_HELP");
    }
    if (id == L"Orvin.Plexa.Explorer.btnDbg") {
        return L"Debug";
    }
    if (id != L"btnFullName") {
        if (const auto placeholder = InsertedPlaceholder(id)) {
            return mReplacements::GetPlaceholderToken(lang, *placeholder);
        }
    }
    const Face* face = FaceOf(id);
    return face != nullptr && *face->label != L'\0' ? lang.Item(face->label) : L"";
}

std::wstring GetButtonScreentip(Services& services, const std::wstring& id,
                                const std::shared_ptr<AutomationObject>& context) {
    if (id == kCachedActionButton) {
        const std::wstring button =
            CachedActionButton(services, context, L"Connect.Button_GetScreentip_", L"ASSERT839");
        return button.empty() ? L"" : GetButtonScreentip(services, button, context);
    }
    CLang& lang = services.Lang();
    if (id == L"btnSendMode") {
        const auto mail = MailOf(context);
        if (!mail || mUserProps::GetSendMode(mail) == SendModeAll) {
            return lang.Item(L"LID_BTN_SEND_MODE_ALL_TIP");
        }
        if (!mUserProps::GetGroupMode(mail)) {
            return lang.Item(L"LID_BTN_SEND_MODE_SEP_TIP");
        }
        return lang.Item(L"LID_BTN_SEND_MODE_SEP_GR_TIP",
                         {Variant(services.Options().GroupRecipients())});
    }
    const Face* face = FaceOf(id);
    return face != nullptr && *face->tip != L'\0' ? lang.Item(face->tip) : L"";
}

std::shared_ptr<IPictureDisp> GetButtonImage(Services& services, const std::wstring& id,
                                             const std::shared_ptr<AutomationObject>& context) {
    if (id == kCachedActionButton) {
        const std::wstring button =
            CachedActionButton(services, context, L"Connect.Button_GetImage_", L"ASSERT907");
        return button.empty() ? nullptr : GetButtonImage(services, button, context);
    }
    if (id == L"btnSendMode") {
        return mIcons::LoadRibbonIcon(
            services, SendModeOf(context) == SendModeAll ? L"ICO_MODEALL32" : L"ICO_MODESEP32", 0);
    }
    if (id == L"btnOptions") {
        return mMisc::GetOutlookVersion(services) < 14
                   ? mIcons::LoadRibbonIcon(services, L"ICO_OPTIONS32", 0)
                   : mIcons::LoadRibbonIcon(services, L"ICO_E_OPTIONS", 16);
    }
    const Face* face = FaceOf(id);
    if (face == nullptr || *face->image == L'\0') {
        return nullptr;
    }
    return mIcons::LoadRibbonIcon(services, face->image, 0);
}

bool IsControlVisible(Services& services, const std::wstring& id,
                      const std::shared_ptr<AutomationObject>& context) {
    if (id == L"Orvin.Plexa.Tab" || id == L"Orvin.Plexa.Group") {
        const auto mail = MailOf(context);
        return mail && mUserProps::GetShowToolbar(mail);
    }
    if (id == L"btnSepGrouping") {
        return SendModeOf(context) == SendModeSep;
    }
    if (id == L"Orvin.Plexa.Explorer.grpDrafts" || id == L"Orvin.Plexa.Explorer.btnSendNow") {
        const auto explorer = ExplorerOf(context);
        return explorer && mExplorer::IsDraftsFolderActive(services, explorer);
    }
    if (id == L"Orvin.Plexa.Explorer.grpRecent") {
        return mExplorer::HasCachedAction(services, ExplorerOf(context));
    }
    if (id == L"Orvin.Plexa.Explorer.btnDbg") {
        return services.Options().UseDebugButtons();
    }
    return true;
}

bool IsControlEnabled(const std::wstring& id, const std::shared_ptr<AutomationObject>& context) {
    if (id == L"Orvin.Plexa.Explorer.btnSendNow") {
        const auto explorer = ExplorerOf(context);
        return explorer && mExplorer::SelectionHasMail(explorer);
    }
    return true;
}

bool GetPressed(const std::wstring& id, const std::shared_ptr<AutomationObject>& context) {
    const auto mail = MailOf(context);
    if (!mail) {
        return false;
    }
    if (id == L"btnSendModeAll") {
        return mUserProps::GetSendMode(mail) == SendModeAll;
    }
    if (id == L"btnSendModeSep") {
        return mUserProps::GetSendMode(mail) == SendModeSep;
    }
    if (id == L"btnSepGrouping") {
        return mUserProps::GetGroupMode(mail);
    }
    return false;
}

bool GetShowLabel(Services& services, const std::wstring& id) {
    if (id == L"sbtnInsert" || id == L"sbtnSendMode" || id == L"btnOptions") {
        return services.Options().ShowBtnCaptions();
    }
    return true;
}

}  // namespace plexa::mRibbonControls
