// Connect's ribbon side: the mark-up per ribbon id, the get... callbacks (each answers the
// ribbon's default when the host fails: the window may be closing) and the actions, routed by
// control id through one table.
#include <functional>
#include <map>

#include "addin/CInspectorWrapper.h"
#include "addin/CRibbonSet.h"
#include "addin/Connect.h"
#include "host/outlook/Application.h"
#include "platform/IResources.h"
#include "platform/IUiShell.h"
#include "platform/Platform.h"
#include "recipients/mPlexa.h"
#include "separate/mReplacements.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"
#include "settings/mHelp.h"
#include "ui/mExplorer.h"
#include "ui/mRibbonControls.h"
#include "ui/mRibbonMarkup.h"

namespace plexa {

namespace {

constexpr int32_t kDispUnknownName = static_cast<int32_t>(0x80020006);
constexpr const wchar_t* kExplorerIds = L"Orvin.Plexa.Explorer.";
// The page the help opens at when no dialog asks for a topic of its own.
constexpr const wchar_t* kHelpStartTopic = L"html/index.htm";

HostError UnknownName(const std::wstring& callback) {
    return HostError(kDispUnknownName, L"Unknown name: " + callback, L"Plexa");
}

void Trace(const std::wstring& name, const std::wstring& id) {
    mGlobals::LogDebug(L"Connect::" + name, L"-> " + id, 3);
}

std::shared_ptr<Explorer> ExplorerOf(const std::shared_ptr<AutomationObject>& context) {
    return std::dynamic_pointer_cast<Explorer>(context);
}

std::shared_ptr<Inspector> InspectorOf(const std::shared_ptr<AutomationObject>& context) {
    return std::dynamic_pointer_cast<Inspector>(context);
}

using Action =
    std::function<void(Connect&, const std::wstring&, const std::shared_ptr<AutomationObject>&)>;

// Every control with an action, by id.
const std::map<std::wstring, Action>& Actions() {
    static const std::map<std::wstring, Action> actions = [] {
        std::map<std::wstring, Action> a;
        const auto insert = [](Connect& c, const std::wstring& id, const auto& context) {
            c.RibbonInsertPlaceholder(id, InspectorOf(context));
        };
        for (const wchar_t* id : {L"btnFullName", L"btnFirstName", L"btnMiddleName", L"btnLastName",
                                  L"btnInitials", L"btnNickname", L"btnCompany"}) {
            a[id] = insert;
        }
        a[L"btnSendMode"] = [](Connect& c, const std::wstring& id, const auto& context) {
            c.ChangeSendMode(id, InspectorOf(context));
        };
        a[L"btnOptions"] = [](Connect& c, const std::wstring&, const auto& context) {
            // Over a message window that edits in Word the dialog must stay in front.
            bool onTop = false;
            try {
                const auto inspector = InspectorOf(context);
                onTop = inspector && inspector->IsWordMail();
            } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): a closing window
            }
            c.ShowOptions(onTop);
        };
        const std::wstring e = kExplorerIds;
        a[e + L"btnSendNow"] = [](Connect& c, const std::wstring&, const auto& context) {
            c.RibbonSendNow(ExplorerOf(context));
        };
        a[e + L"btnTo"] = [](Connect& c, const std::wstring&, const auto& context) {
            c.RibbonDisplayNewMail(ExplorerOf(context), 1);
        };
        a[e + L"btnCC"] = [](Connect& c, const std::wstring&, const auto& context) {
            c.RibbonDisplayNewMail(ExplorerOf(context), 2);
        };
        a[e + L"btnBCC"] = [](Connect& c, const std::wstring&, const auto& context) {
            c.RibbonDisplayNewMail(ExplorerOf(context), 3);
        };
        a[e + L"btnNewDL"] = [](Connect& c, const std::wstring&, const auto& context) {
            c.RibbonNewDL(ExplorerOf(context));
        };
        a[e + L"btnNewDLFromFolder"] = [](Connect& c, const std::wstring&, const auto& context) {
            c.RibbonNewDLFromFolder(ExplorerOf(context));
        };
        a[e + L"btnExisitingDL"] = [](Connect& c, const std::wstring&, const auto& context) {
            c.RibbonExistingDL(ExplorerOf(context));
        };
        a[e + L"btnOptions"] = [](Connect& c, const std::wstring&, const auto&) {
            c.ShowOptions(false);
        };
        a[e + L"btnHelp"] = [](Connect& c, const std::wstring&, const auto&) { c.ShowHelp(); };
        a[e + L"btnLastReport"] = [](Connect& c, const std::wstring&, const auto&) {
            mExplorer::ShowLastSendReport(c.GetServices());
        };
        a[e + L"btnAbout"] = [](Connect& c, const std::wstring&, const auto&) { c.ShowAbout(); };
        a[e + L"btnDbg"] = [](Connect& c, const std::wstring&, const auto&) { c.ShowDebugForm(); };
        return a;
    }();
    return actions;
}

}  // namespace

// ---- Mark-up and callbacks ----------------------------------------------------------------------

std::wstring Connect::GetCustomUI(const std::wstring& ribbonID) {
    return mRibbonMarkup::GetCustomUI(m_services, ribbonID);
}

void Connect::InvokeOnLoad(const std::wstring& callback, const std::shared_ptr<IRibbonUI>& ribbon) {
    if (callback != L"Ribbon_OnLoad") {
        throw UnknownName(callback);
    }
    // Each ribbon id loads with an IRibbonUI of its own; a refresh must reach them all.
    auto set = std::dynamic_pointer_cast<CRibbonSet>(m_ribbon);
    if (!set) {
        set = std::make_shared<CRibbonSet>();
        m_ribbon = set;
    }
    if (ribbon) {
        set->Add(ribbon);
    }
}

std::wstring Connect::InvokeGetText(const std::wstring& callback,
                                    const std::shared_ptr<IRibbonControl>& control) {
    const bool label = callback == L"Control_GetLabel";
    if (!label && callback != L"Button_GetScreentip") {
        throw UnknownName(callback);
    }
    try {
        const std::wstring id = control->Id();
        const auto context = control->Context();
        return label ? mRibbonControls::GetControlLabel(m_services, id, context)
                     : mRibbonControls::GetButtonScreentip(m_services, id, context);
    } catch (const HostError&) {
        return L"";
    }
}

bool Connect::InvokeGetBool(const std::wstring& callback,
                            const std::shared_ptr<IRibbonControl>& control) {
    if (callback == L"Button_GetShowLabel") {
        try {
            return mRibbonControls::GetShowLabel(m_services, control->Id());
        } catch (const HostError&) {
            return true;
        }
    }
    if (callback == L"ToggleButton_GetPressed") {
        try {
            return mRibbonControls::GetPressed(control->Id(), control->Context());
        } catch (const HostError&) {
            return false;
        }
    }
    const bool visible = callback == L"Control_GetVisible";
    if (!visible && callback != L"Control_GetEnabled") {
        throw UnknownName(callback);
    }
    try {
        const std::wstring id = control->Id();
        const auto context = control->Context();
        return visible ? mRibbonControls::IsControlVisible(m_services, id, context)
                       : mRibbonControls::IsControlEnabled(id, context);
    } catch (const HostError&) {
        return true;
    }
}

std::shared_ptr<IPictureDisp> Connect::InvokeGetImage(
    const std::wstring& callback, const std::shared_ptr<IRibbonControl>& control) {
    if (callback != L"Button_GetImage") {
        throw UnknownName(callback);
    }
    try {
        return mRibbonControls::GetButtonImage(m_services, control->Id(), control->Context());
    } catch (const HostError& e) {
        mGlobals::LogError(L"Connect.Button_GetImage", e);
        return nullptr;
    }
}

void Connect::InvokeAction(const std::wstring& callback,
                           const std::shared_ptr<IRibbonControl>& control) {
    if (callback != L"Button_Action") {
        throw UnknownName(callback);
    }
    const auto self = shared_from_this();
    try {
        DoButtonAction(control->Id(), control->Context());
    } catch (const HostError& e) {
        mGlobals::LogError(L"Connect.Button_Action", e);
    }
}

void Connect::InvokeToggleAction(const std::wstring& callback,
                                 const std::shared_ptr<IRibbonControl>& control, bool /*pressed*/) {
    if (callback != L"ToggleButton_OnAction") {
        throw UnknownName(callback);
    }
    // The state is read from the message, not from the ribbon.
    try {
        ChangeSendMode(control->Id(), InspectorOf(control->Context()));
    } catch (const HostError& e) {
        mGlobals::LogError(L"Connect.ToggleButton_OnAction", e);
    }
}

// ---- Actions ----------------------------------------------------------------------------------

void Connect::DoButtonAction(const std::wstring& id,
                             const std::shared_ptr<AutomationObject>& context) {
    Trace(L"DoButtonAction", id);
    if (id == std::wstring(kExplorerIds) + L"btnCachedAction") {
        const std::wstring button = mRibbonControls::CachedActionButton(
            m_services, context, L"Connect.Button_Action_", L"ASSERT701");
        if (!button.empty()) {
            DoButtonAction(button, context);
        }
        return;
    }
    const auto& actions = Actions();
    const auto it = actions.find(id);
    if (it == actions.end()) {
        mGlobals::LogError(L"Connect.Button_Action_", 0, L"Unknown controlID = " + id);
        return;
    }
    it->second(*this, id, context);
}

void Connect::RibbonDisplayNewMail(const std::shared_ptr<Explorer>& explorer, int32_t target) {
    if (explorer) {
        mExplorer::Explorer_DisplayNewMail(m_explorerHost, explorer, target,
                                           mPlexa::esFromSelection, nullptr, false);
    }
}

void Connect::RibbonNewDL(const std::shared_ptr<Explorer>& explorer) {
    if (explorer) {
        bool noRecipients = false;
        mExplorer::Explorer_NewDL(m_explorerHost, explorer, mPlexa::esFromSelection, nullptr,
                                  noRecipients, true, false);
    }
}

void Connect::RibbonNewDLFromFolder(const std::shared_ptr<Explorer>& explorer) {
    if (explorer) {
        mExplorer::Explorer_NewDLFromFolder(m_explorerHost, explorer);
    }
}

void Connect::RibbonExistingDL(const std::shared_ptr<Explorer>& explorer) {
    if (explorer) {
        mExplorer::Explorer_ExistingDL(m_explorerHost, explorer, mPlexa::esFromSelection, nullptr,
                                       false);
    }
}

void Connect::RibbonSendNow(const std::shared_ptr<Explorer>& explorer) {
    if (explorer) {
        mExplorer::Explorer_SendNow(m_explorerHost, explorer);
    }
}

void Connect::RibbonInsertPlaceholder(const std::wstring& id,
                                      const std::shared_ptr<Inspector>& inspector) {
    const auto token = mRibbonControls::InsertedPlaceholder(id);
    const auto wrapper = InspectorWrapperOf(inspector);
    if (!token || !wrapper) {
        mGlobals::LogError(L"Connect::RibbonInsertPlaceholder", 0,
                           L"no message window composed through Plexa for " + id);
        return;
    }
    wrapper->InsertField(mReplacements::GetPlaceholderToken(m_services.Lang(), *token));
    InvalidateSendModeControls();
}

void Connect::ChangeSendMode(const std::wstring& id, const std::shared_ptr<Inspector>& inspector) {
    const auto wrapper = InspectorWrapperOf(inspector);
    if (!wrapper) {
        mGlobals::LogError(L"Connect::ChangeSendMode", 0,
                           L"no message window composed through Plexa for " + id);
        return;
    }
    if (id == L"btnSendMode") {
        if (wrapper->SendsSeparately()) {
            wrapper->SetSendModeAll();
        } else {
            wrapper->SetSendModeSep();
        }
    } else if (id == L"btnSendModeAll") {
        wrapper->SetSendModeAll();
    } else if (id == L"btnSendModeSep") {
        wrapper->SetSendModeSep();
    } else if (id == L"btnSepGrouping") {
        wrapper->SetGrouping(!wrapper->Grouping());
    }
    InvalidateSendModeControls();
}

void Connect::InvalidateSendModeControls() {
    if (!m_ribbon) {
        return;
    }
    for (const wchar_t* control :
         {L"btnSendMode", L"btnSendModeAll", L"btnSendModeSep", L"btnSepGrouping"}) {
        try {
            m_ribbon->InvalidateControl(control);
        } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): a ribbon going away
        }
    }
}

void Connect::ShowHelp() {
    mHelp::ShowHelpTopic(m_services, kHelpStartTopic);
}

void Connect::ShowAbout() {
    try {
        IResources& resources = m_services.Ports().resources;
        const std::wstring text = resources.LoadResString(IDS_PRODUCT_SHORT_NAME) + L"\r\n" +
                                  resources.LoadResString(IDS_COMPANY_SHORT_NAME) + L"\r\n" +
                                  resources.LoadResString(IDS_PRODUCT_HOME_PAGE);
        m_services.Ports().ui.MsgBox(text, mb::OkOnly | mb::IconInformation,
                                     m_services.Lang().Item(L"RID_E_BTN_ABOUT"));
    } catch (const HostError& e) {
        mGlobals::LogError(L"Connect::ShowAbout", e);
    }
}

}  // namespace plexa
