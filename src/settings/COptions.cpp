#include "settings/COptions.h"

#include "core/HostError.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "settings/CWinReg.h"

namespace plexa {

namespace {

// Value names as they are stored.
constexpr const wchar_t* kDefaultSendMode = L"DefaultSendMode";
constexpr const wchar_t* kLang = L"LANG";
constexpr const wchar_t* kLangFile = L"LANG_";
constexpr const wchar_t* kShowSeparatlyOptions = L"ShowSeparatlyOptions";
constexpr const wchar_t* kPreviewBeforeSend = L"PreviewBeforeSend";
constexpr const wchar_t* kExcludeDuplicates = L"ExcludeDuplicates";
constexpr const wchar_t* kGroupRecipients = L"GroupRecipients";
constexpr const wchar_t* kGroupInterval = L"GroupInterval";
constexpr const wchar_t* kIncludeCC = L"IncludeCC";
constexpr const wchar_t* kIncludeBCC = L"IncludeBCC";
constexpr const wchar_t* kShowBtnCaptions = L"InspectorToolbar.BtnCaptions";
constexpr const wchar_t* kSeparateBar = L"InspectorToolbar.Separate";
constexpr const wchar_t* kSeparateTab = L"InspectorToolbar.Separate2007";
constexpr const wchar_t* kUseTransparentIcons = L"UseTransparentIcons";
constexpr const wchar_t* kToolbarButtonFace = L"ToolbarButtonFace";
constexpr const wchar_t* kToolbarButtonMask = L"ToolbarButtonMask";
constexpr const wchar_t* kModifyDraftsView = L"ModifyDraftsView";
constexpr const wchar_t* kFlag = L"Flag";
constexpr const wchar_t* kFlag2003 = L"Flag2003";
constexpr const wchar_t* kMarkWithFlag = L"FlagEnabled";
constexpr const wchar_t* kClearMarking = L"ClearMarking";
constexpr const wchar_t* kExcludePrivateContacts = L"ExcludePrivateContacts";
constexpr const wchar_t* kExcludeReplied = L"ExcludeReplied";
constexpr const wchar_t* kExcludeLinkItems = L"ExcludeLinkItems";
constexpr const wchar_t* kTestToolbar = L"TestToolbar";
constexpr const wchar_t* kUseDebugButtons = L"UseDebugButtons";

constexpr bool kUser = true;
constexpr bool kMachine = false;
constexpr int32_t kMissing = -1;

std::wstring ToolbarPrefix(bool isExplorer) {
    return isExplorer ? L"ExplorerToolbar." : L"InspectorToolbar.";
}

std::wstring ItemTypeName(int32_t itemType) {
    switch (itemType) {
        case 0:
            return L"Mail";
        case 1:
            return L"Appointment";
        case 2:
            return L"Contact";
        case 3:
            return L"Task";
        case 4:
            return L"Journal";
        case 5:
            return L"Note";
        case 6:
            return L"Post";
        case 7:
            return L"DistributionList";
        default:
            return L"";
    }
}

}  // namespace

COptions::COptions(const Platform& ports) : m_ports(ports) {}

// The primitives: one complete registry access each.

int32_t COptions::GetDWORD(const std::wstring& name, int32_t defaultValue, bool perUser) const {
    CWinReg reg(m_ports);
    if (!reg.InitForRead(perUser ? reg.HKEY_CURRENT_USER() : reg.HKEY_LOCAL_MACHINE(),
                         GetRegPath())) {
        m_lastReadFailed = reg.LastReadFailed();
        return defaultValue;
    }
    const int32_t value = reg.GetDWORDValue(name, defaultValue);
    m_lastReadFailed = reg.LastReadFailed();
    reg.CloseKey();
    return value;
}

bool COptions::SetDWORD(const std::wstring& name, int32_t value, bool perUser) const {
    CWinReg reg(m_ports);
    if (!reg.InitForWrite(perUser ? reg.HKEY_CURRENT_USER() : reg.HKEY_LOCAL_MACHINE(),
                          GetRegPath(), true)) {
        return false;
    }
    const bool ok = reg.SetDWORDValue(name, value);
    reg.CloseKey();
    return ok;
}

std::wstring COptions::GetString(const std::wstring& name, const std::wstring& defaultValue,
                                 bool perUser) const {
    CWinReg reg(m_ports);
    if (!reg.InitForRead(perUser ? reg.HKEY_CURRENT_USER() : reg.HKEY_LOCAL_MACHINE(),
                         GetRegPath())) {
        return defaultValue;
    }
    std::wstring value = reg.GetStringValue(name);
    reg.CloseKey();
    return value.empty() ? defaultValue : value;
}

bool COptions::SetString(const std::wstring& name, const std::wstring& value, bool perUser) const {
    CWinReg reg(m_ports);
    if (!reg.InitForWrite(perUser ? reg.HKEY_CURRENT_USER() : reg.HKEY_LOCAL_MACHINE(),
                          GetRegPath(), true)) {
        return false;
    }
    const bool ok = reg.SetStringValue(name, value);
    reg.CloseKey();
    return ok;
}

bool COptions::GetFlag(const std::wstring& name, bool defaultValue) const {
    return GetDWORD(name, defaultValue ? 1 : 0, kUser) != 0;
}

bool COptions::SetFlag(const std::wstring& name, bool value) const {
    return SetDWORD(name, value ? 1 : 0, kUser);
}

std::wstring COptions::GetTextWithFallback(const std::wstring& name,
                                           const std::wstring& defaultValue) const {
    std::wstring value = GetString(name, L"", kUser);
    if (value.empty()) {
        value = GetString(name, L"", kMachine);
    }
    if (value.empty()) {
        value = defaultValue;
        SetString(name, value, kUser);
    }
    return value;
}

// Settings.

int32_t COptions::DefaultSendMode() const {
    return GetDWORD(kDefaultSendMode, 1, kUser);
}
bool COptions::DefaultSendMode(int32_t value) {
    return SetDWORD(kDefaultSendMode, value, kUser);
}

std::wstring COptions::LangID() const {
    std::wstring value = GetString(kLang, L"", kUser);
    if (value.empty()) {
        value = GetString(kLang, L"", kMachine);
    }
    return value.empty() ? L"EN" : value;
}
bool COptions::LangID(const std::wstring& value) {
    return SetString(kLang, value, kUser);
}

std::wstring COptions::LangFile() const {
    std::wstring value = GetString(kLangFile, L"", kUser);
    if (value.empty() &&
        text::EqualsNoCase(GetString(kLang, L"", kUser), GetString(kLang, L"", kMachine))) {
        value = GetString(kLangFile, L"", kMachine);
    }
    return value;
}
bool COptions::LangFile(const std::wstring& value) {
    return SetString(kLangFile, value, kUser);
}

bool COptions::ShowSeparatlyOptions() const {
    return GetFlag(kShowSeparatlyOptions, true);
}
bool COptions::ShowSeparatlyOptions(bool value) {
    return SetFlag(kShowSeparatlyOptions, value);
}

bool COptions::PreviewBeforeSend() const {
    return GetFlag(kPreviewBeforeSend, false);
}
bool COptions::PreviewBeforeSend(bool value) {
    return SetFlag(kPreviewBeforeSend, value);
}

bool COptions::ExcludeDuplicates() const {
    return GetFlag(kExcludeDuplicates, true);
}
bool COptions::ExcludeDuplicates(bool value) {
    return SetFlag(kExcludeDuplicates, value);
}

int32_t COptions::GroupRecipients() const {
    return GetDWORD(kGroupRecipients, 20, kUser);
}
bool COptions::GroupRecipients(int32_t value) {
    return SetDWORD(kGroupRecipients, value, kUser);
}

int32_t COptions::GroupInterval() const {
    return GetDWORD(kGroupInterval, 5, kUser);
}
bool COptions::GroupInterval(int32_t value) {
    return SetDWORD(kGroupInterval, value, kUser);
}

bool COptions::IncludeCC() const {
    return GetFlag(kIncludeCC, true);
}
bool COptions::IncludeCC(bool value) {
    return SetFlag(kIncludeCC, value);
}

bool COptions::IncludeBCC() const {
    return GetFlag(kIncludeBCC, false);
}
bool COptions::IncludeBCC(bool value) {
    return SetFlag(kIncludeBCC, value);
}

bool COptions::ShowBtnCaptions() const {
    return GetFlag(kShowBtnCaptions, true);
}
bool COptions::ShowBtnCaptions(bool value) {
    return SetFlag(kShowBtnCaptions, value);
}

bool COptions::SeparateBar() const {
    return GetFlag(kSeparateBar, true);
}
bool COptions::SeparateBar(bool value) {
    return SetFlag(kSeparateBar, value);
}

bool COptions::SeparateTab() const {
    return GetFlag(kSeparateTab, false);
}
bool COptions::SeparateTab(bool value) {
    return SetFlag(kSeparateTab, value);
}

bool COptions::UseTransparentIcons() const {
    int32_t value = GetDWORD(kUseTransparentIcons, kMissing, kUser);
    if (value == kMissing) {
        value = GetDWORD(kUseTransparentIcons, kMissing, kMachine);
    }
    if (value == kMissing) {
        value = 1;
        SetDWORD(kUseTransparentIcons, value, kUser);
    }
    return value != 0;
}

std::wstring COptions::ToolbarButtonFace() const {
    return GetTextWithFallback(kToolbarButtonFace, L"Toolbar Button Face");
}

std::wstring COptions::ToolbarButtonMask() const {
    return GetTextWithFallback(kToolbarButtonMask, L"Toolbar Button Mask");
}

bool COptions::ModifyDraftsView() const {
    return GetFlag(kModifyDraftsView, false);
}
bool COptions::ModifyDraftsView(bool value) {
    return SetFlag(kModifyDraftsView, value);
}

int32_t COptions::Flag() const {
    return GetDWORD(kFlag, 0, kUser);
}
bool COptions::Flag(int32_t value) {
    return SetDWORD(kFlag, value, kUser);
}

int32_t COptions::Flag2003() const {
    return GetDWORD(kFlag2003, 0, kUser);
}
bool COptions::Flag2003(int32_t value) {
    return SetDWORD(kFlag2003, value, kUser);
}

bool COptions::MarkWithFlag() const {
    return GetFlag(kMarkWithFlag, false);
}
bool COptions::MarkWithFlag(bool value) {
    return SetFlag(kMarkWithFlag, value);
}

bool COptions::ClearMarking() const {
    return GetFlag(kClearMarking, true);
}
bool COptions::ClearMarking(bool value) {
    return SetFlag(kClearMarking, value);
}

bool COptions::ExcludePrivateContacts() const {
    return GetFlag(kExcludePrivateContacts, false);
}
bool COptions::ExcludePrivateContacts(bool value) {
    return SetFlag(kExcludePrivateContacts, value);
}

bool COptions::ExcludeReplied() const {
    return GetFlag(kExcludeReplied, false);
}
bool COptions::ExcludeReplied(bool value) {
    return SetFlag(kExcludeReplied, value);
}

bool COptions::ExcludeLinkItems() const {
    return GetFlag(kExcludeLinkItems, false);
}
bool COptions::ExcludeLinkItems(bool value) {
    return SetFlag(kExcludeLinkItems, value);
}

int32_t COptions::TestToolbar() const {
    int32_t value = GetDWORD(kTestToolbar, kMissing, kUser);
    if (value == kMissing) {
        value = 0;
        SetDWORD(kTestToolbar, value, kUser);
    }
    return value == 0 ? 1 : 0;
}

bool COptions::UseDebugButtons() const {
    int32_t value = GetDWORD(kUseDebugButtons, kMissing, kUser);
    if (value != 0 && value != 1) {
        value = 0;
        SetDWORD(kUseDebugButtons, value, kUser);
    }
    return value == 1;
}

// Toolbar positions and cached actions.

bool COptions::WriteToolbarPos(bool isExplorer, int32_t position, int32_t rowIndex, int32_t left,
                               int32_t top) {
    const std::wstring prefix = ToolbarPrefix(isExplorer);
    bool ok = SetDWORD(prefix + L"Position", position, kUser);
    ok = SetDWORD(prefix + L"RowIndex", rowIndex, kUser) && ok;
    ok = SetDWORD(prefix + L"Left", left, kUser) && ok;
    ok = SetDWORD(prefix + L"Top", top, kUser) && ok;
    return ok;
}

void COptions::ReadToolbarPos(bool isExplorer, int32_t& position, int32_t& rowIndex, int32_t& left,
                              int32_t& top) const {
    const std::wstring prefix = ToolbarPrefix(isExplorer);
    position = GetDWORD(prefix + L"Position", 1, kUser);
    rowIndex = GetDWORD(prefix + L"RowIndex", -1, kUser);
    left = GetDWORD(prefix + L"Left", 0, kUser);
    top = GetDWORD(prefix + L"Top", 0, kUser);
}

bool COptions::SetCachedAction_(int32_t itemType, int32_t action) {
    return SetDWORD(L"CachedAction_" + ItemTypeName(itemType), action, kUser);
}

int32_t COptions::GetCachedAction_(int32_t itemType, int32_t defaultValue) const {
    return GetDWORD(L"CachedAction_" + ItemTypeName(itemType), defaultValue, kUser);
}

// Identity.

std::wstring COptions::GetRegPath() const {
    return L"Software\\" + CompanyShortName() + L"\\" + ProductShortName();
}

std::wstring COptions::ProductHomePage() const {
    return m_ports.resources.LoadResString(IDS_PRODUCT_HOME_PAGE);
}

std::wstring COptions::CompanyShortName() const {
    return m_ports.resources.LoadResString(IDS_COMPANY_SHORT_NAME);
}

std::wstring COptions::ProductShortName() const {
    return m_ports.resources.LoadResString(IDS_PRODUCT_SHORT_NAME);
}

std::wstring COptions::ProductCode() const {
    return m_ports.resources.LoadResString(IDS_PRODUCT_CODE);
}

std::shared_ptr<IPictureDisp> COptions::LoadPicture(const std::wstring& name,
                                                    ResPictureType type) const {
    try {
        return m_ports.resources.LoadResPicture(name, type);
    } catch (const HostError&) {
        return nullptr;
    }
}

std::shared_ptr<IPictureDisp> COptions::MAIN_ICON() const {
    return LoadPicture(L"MAIN_ICON", ResPictureType::Icon);
}

std::shared_ptr<IPictureDisp> COptions::LOGO() const {
    return LoadPicture(L"LOGO", ResPictureType::Bitmap);
}

}  // namespace plexa
