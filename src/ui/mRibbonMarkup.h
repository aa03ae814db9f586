// The custom-UI mark-up of the add-in's two ribbons: the compose group of message windows (from
// client version 12) and the explorer tab of folder windows (version 14). The controls name the
// callbacks of Connect that the client calls back.
#pragma once

#include <cstdint>
#include <string>

namespace plexa {
class Services;
}  // namespace plexa

namespace plexa::mRibbonMarkup {

inline constexpr const wchar_t* kComposeRibbon = L"Microsoft.Outlook.Mail.Compose";
inline constexpr const wchar_t* kExplorerRibbon = L"Microsoft.Outlook.Explorer";

// The custom-UI namespaces: version 12 reads only the first; 14 reads both, and the add-in
// gives it its own.
inline constexpr const wchar_t* kNamespace2006 =
    L"http://schemas.microsoft.com/office/2006/01/customui";
inline constexpr const wchar_t* kNamespace2009 =
    L"http://schemas.microsoft.com/office/2009/07/customui";

// The compose group, in a tab of its own (separateTab) or in the client's message tab before
// its Send group.
std::wstring ComposeMarkup(bool separateTab, int32_t outlookVersion);
// The explorer tab with its five groups; the debug button with useDebugButtons.
std::wstring ExplorerMarkup(bool useDebugButtons, int32_t outlookVersion);

// The mark-up for a ribbon id (compared exactly), with the settings read now; empty text for
// any other ribbon. Never throws.
std::wstring GetCustomUI(Services& services, const std::wstring& ribbonID);

}  // namespace plexa::mRibbonMarkup
