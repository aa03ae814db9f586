#include "ui/mRibbonMarkup.h"

#include "settings/COptions.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"
#include "settings/mMisc.h"

namespace plexa::mRibbonMarkup {

namespace {

std::wstring Root(int32_t outlookVersion) {
    return std::wstring(L"<customUI xmlns=\"") +
           (outlookVersion >= 14 ? kNamespace2009 : kNamespace2006) +
           L"\" onLoad=\"Ribbon_OnLoad\">";
}

// One button of the explorer tab: its picture from the add-in (getImage) or a built-in one.
std::wstring ExplorerButton(const std::wstring& name, const std::wstring& imageMso = L"") {
    std::wstring xml = L"<button id=\"Orvin.Plexa.Explorer." + name +
                       L"\" onAction=\"Button_Action\" getScreentip=\"Button_GetScreentip\""
                       L" getLabel=\"Control_GetLabel\" getVisible=\"Control_GetVisible\""
                       L" getEnabled=\"Control_GetEnabled\" size=\"large\"";
    xml += imageMso.empty() ? L" getImage=\"Button_GetImage\"" : L" imageMso=\"" + imageMso + L"\"";
    return xml + L"/>";
}

std::wstring ExplorerGroup(const std::wstring& name, const std::wstring& buttons) {
    return L"<group id=\"Orvin.Plexa.Explorer." + name +
           L"\" getLabel=\"Control_GetLabel\" getVisible=\"Control_GetVisible\">" + buttons +
           L"</group>";
}

std::wstring InsertMenuButton(const std::wstring& id) {
    return L"<button id=\"" + id + L"\" getLabel=\"Control_GetLabel\" onAction=\"Button_Action\"/>";
}

std::wstring SendModeToggle(const std::wstring& id, bool hideable) {
    return L"<toggleButton id=\"" + id +
           L"\" getPressed=\"ToggleButton_GetPressed\" onAction=\"ToggleButton_OnAction\""
           L" getLabel=\"Control_GetLabel\"" +
           (hideable ? L" getVisible=\"Control_GetVisible\"" : L"") + L"/>";
}

}  // namespace

std::wstring ComposeMarkup(bool separateTab, int32_t outlookVersion) {
    std::wstring xml = Root(outlookVersion) + L"<ribbon><tabs>";
    if (separateTab) {
        xml +=
            L"<tab id=\"Orvin.Plexa.Tab\" getLabel=\"Control_GetLabel\""
            L" getVisible=\"Control_GetVisible\">";
    } else {
        xml += L"<tab idMso=\"TabNewMailMessage\">";
    }
    // The Send group lives only in the client's message tab; a tab of the add-in's own has
    // nothing to stand before.
    xml += std::wstring(L"<group id=\"Orvin.Plexa.Group\" getVisible=\"Control_GetVisible\"") +
           (separateTab ? L"" : L" insertBeforeMso=\"GroupSend\"") +
           L" getLabel=\"Control_GetLabel\">";
    xml +=
        L"<splitButton id=\"sbtnInsert\" getShowLabel=\"Button_GetShowLabel\">"
        L"<button id=\"btnFullName\" getLabel=\"Control_GetLabel\" onAction=\"Button_Action\""
        L" getScreentip=\"Button_GetScreentip\" getImage=\"Button_GetImage\"/>"
        L"<menu id=\"mnuInsert\" getScreentip=\"Button_GetScreentip\">";
    for (const wchar_t* id : {L"btnFirstName", L"btnMiddleName", L"btnLastName", L"btnInitials",
                              L"btnNickname", L"btnCompany"}) {
        xml += InsertMenuButton(id);
    }
    xml += L"</menu></splitButton>";
    xml +=
        L"<splitButton id=\"sbtnSendMode\" getShowLabel=\"Button_GetShowLabel\">"
        L"<button id=\"btnSendMode\" getLabel=\"Control_GetLabel\" onAction=\"Button_Action\""
        L" getScreentip=\"Button_GetScreentip\" getImage=\"Button_GetImage\"/>"
        L"<menu id=\"mnuSendMode\" getScreentip=\"Button_GetScreentip\">" +
        SendModeToggle(L"btnSendModeAll", false) + SendModeToggle(L"btnSendModeSep", false) +
        SendModeToggle(L"btnSepGrouping", true) + L"</menu></splitButton>";
    xml +=
        L"<button id=\"btnOptions\" onAction=\"Button_Action\""
        L" getScreentip=\"Button_GetScreentip\" getLabel=\"Control_GetLabel\""
        L" getImage=\"Button_GetImage\" getShowLabel=\"Button_GetShowLabel\"/>";
    xml += L"</group></tab></tabs></ribbon></customUI>";
    return xml;
}

std::wstring ExplorerMarkup(bool useDebugButtons, int32_t outlookVersion) {
    std::wstring misc = ExplorerButton(L"btnOptions") +
                        ExplorerButton(L"btnLastReport", L"FileOpen") +
                        ExplorerButton(L"btnHelp", L"Help") + ExplorerButton(L"btnAbout");
    if (useDebugButtons) {
        misc += ExplorerButton(L"btnDbg");
    }
    return Root(outlookVersion) +
           L"<ribbon><tabs><tab id=\"Orvin.Plexa.Explorer.tab\" getLabel=\"Control_GetLabel\">" +
           ExplorerGroup(L"grpDrafts", ExplorerButton(L"btnSendNow", L"SendItem")) +
           ExplorerGroup(L"grpRecent", ExplorerButton(L"btnCachedAction")) +
           ExplorerGroup(L"grpEmail", ExplorerButton(L"btnTo") + ExplorerButton(L"btnCC") +
                                          ExplorerButton(L"btnBCC")) +
           ExplorerGroup(L"grpDL", ExplorerButton(L"btnNewDL") +
                                       ExplorerButton(L"btnNewDLFromFolder") +
                                       ExplorerButton(L"btnExisitingDL")) +
           ExplorerGroup(L"grpMisc", misc) + L"</tab></tabs></ribbon></customUI>";
}

std::wstring GetCustomUI(Services& services, const std::wstring& ribbonID) {
    mGlobals::LogDebug(L"Connect::IRibbonExtensibility_GetCustomUI", L"-> " + ribbonID, 2);
    if (ribbonID == kComposeRibbon) {
        return ComposeMarkup(services.Options().SeparateTab(), mMisc::GetOutlookVersion(services));
    }
    if (ribbonID == kExplorerRibbon) {
        return ExplorerMarkup(services.Options().UseDebugButtons(),
                              mMisc::GetOutlookVersion(services));
    }
    return L"";
}

}  // namespace plexa::mRibbonMarkup
