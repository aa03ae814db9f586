// The add-in connected to a simulated client of a given version, with contacts to address and a
// folder window to click in: the world of the folder-window command tests.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "TestWorld.h"
#include "addin/Connect.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/OlConstants.h"
#include "sim/SimDesktop.h"
#include "sim/SimHost.h"
#include "sim/office/SimCommandBarControl.h"
#include "sim/store/SimSession.h"
#include "ui/CExplorerMenu.h"

namespace plexa::test {

struct ExplorerWorld : TestWorld {
    explicit ExplorerWorld(int32_t version) {
        sim.host.SetVersion(std::to_wstring(version) + L".0.0.1");
        desktop.host.session.outlookMajorVersion = version;
        services.host = desktop.Ports();
        desktop.SetRibbonProvider(connect.get());
        connect->IDTExtensibility2_OnConnection(desktop.host.application, 0, nullptr, {});
        connect->IDTExtensibility2_OnStartupComplete({});
        contacts = session.DefaultFolder(olFolderContacts);
        drafts = session.DefaultFolder(olFolderDrafts);
        // The texts the commands show are their keys (what the tests look for), except those
        // that take values.
        // ... and those of the message window's toolbar, which the To command's message gets.
        for (const wchar_t* key : {L"LID_BTN_INSERT_FULL_NAME",   L"LID_BTN_OPEN_DRAFTS",
                                   L"LID_BTN_OPEN_DRAFTS_TIP",    L"LID_BTN_OPTIONS",
                                   L"LID_BTN_OPTIONS_TIP",        L"LID_BTN_SEND_ALL",
                                   L"LID_BTN_SEND_MODE_ALL",      L"LID_BTN_SEND_MODE_ALL_TIP",
                                   L"LID_BTN_SEND_MODE_SEP",      L"LID_BTN_SEND_MODE_SEP_GR_TIP",
                                   L"LID_BTN_SEND_MODE_SEP_TIP",  L"LID_BTN_SEND_SEP",
                                   L"LID_BTN_SEP_GROUPING",       L"LID_CAP_CONTACT_COMPANY",
                                   L"LID_CAP_CONTACT_FIRST_NAME", L"LID_CAP_CONTACT_INITIALS",
                                   L"LID_CAP_CONTACT_LAST_NAME",  L"LID_CAP_CONTACT_MIDDLE_NAME",
                                   L"LID_CAP_CONTACT_NICKNAME",   L"LID_MNU_INSERT_TIP",
                                   L"LID_MNU_SEND_MODE"}) {
            services.Lang().ItemSet(key, key);
        }
        for (const wchar_t* key : {L"LID_CAPTION_ABOUT",
                                   L"LID_CAPTION_BCC",
                                   L"LID_CAPTION_CC",
                                   L"LID_CAPTION_EXISTINGDL",
                                   L"LID_CAPTION_NEWDL",
                                   L"LID_CAPTION_NEWDL_FROMFOLDER",
                                   L"LID_CAPTION_OPTIONS",
                                   L"LID_CAPTION_SENDNOW",
                                   L"LID_CAPTION_TO",
                                   L"LID_CONTACT_COMPANY",
                                   L"LID_CONTACT_EMPTYPROPERTY",
                                   L"LID_CONTACT_FIRST_NAME",
                                   L"LID_CONTACT_FULLNAME",
                                   L"LID_CONTACT_INITIALS",
                                   L"LID_CONTACT_LAST_NAME",
                                   L"LID_CONTACT_MIDDLE_NAME",
                                   L"LID_CONTACT_NICKNAME",
                                   L"LID_CONTACT_NOT_FOUND",
                                   L"LID_DEF_FIRSTNAME",
                                   L"LID_DEF_FULLNAME",
                                   L"LID_DEF_NICKNAME",
                                   L"LID_MENU_CAPTION",
                                   L"LID_PROMPT_BAD_RECIPIENTS",
                                   L"LID_PROMPT_CHOOSE_DL",
                                   L"LID_PROMPT_DL_NOT_SAVED",
                                   L"LID_PROMPT_LARGE_RECIPIENTS_DL",
                                   L"LID_PROMPT_LARGE_RECIPIENTS_M",
                                   L"LID_PROMPT_NORECIPIENTS",
                                   L"LID_PROMPT_NO_RECIPIENTS",
                                   L"LID_PROMPT_PROGRESS_CANCEL",
                                   L"LID_PROMPT_SENDNOW_MESSAGE",
                                   L"LID_PROMPT_VALIDATE_MESSAGE2",
                                   L"LID_TITLE_CHOOSE_DL",
                                   L"LID_TITLE_DL_NOT_SAVED",
                                   L"LID_TITLE_LARGE_RECIPIENTS",
                                   L"LID_TITLE_NORECIPIENTS",
                                   L"LID_TITLE_SENDNOW_MESSAGE",
                                   L"LID_TOOLBAR_NAME",
                                   L"LID_TOOLTIP_BCC",
                                   L"LID_TOOLTIP_CC",
                                   L"LID_TOOLTIP_EXISTINGDL",
                                   L"LID_TOOLTIP_NEWDL",
                                   L"LID_TOOLTIP_NEWDL_FROMFOLDER",
                                   L"LID_TOOLTIP_SENDNOW",
                                   L"LID_TOOLTIP_TO",
                                   L"LID_UNTITLED"}) {
            services.Lang().ItemSet(key, key);
        }
        services.Lang().ItemSet(L"LID_TITLE_MAIL", L"%s - Plexa");
        services.Lang().ItemSet(L"LID_PROMPT_SEND_OR_SAVE_MAILS",
                                L"Number of e-mails to send: %d.");
        services.Lang().ItemSet(L"LID_PROMPT_SEND_INCOMPLETE",
                                L"Sent: %d. Drafts: %d. Queued: %d.");
        services.Lang().ItemSet(L"LID_PROGRESS_STAGE1", L"Collecting recipients: item %d of %d");
        services.Lang().ItemSet(L"LID_PROGRESS_STAGE2", L"Resolving recipients: %d of %d");
        services.Lang().ItemSet(L"LID_PROGRESS_STAGE3", L"Adding recipients: %d of %d");
    }
    ~ExplorerWorld() {
        desktop.SetRibbonProvider(nullptr);
        connect->IDTExtensibility2_OnBeginShutdown({});
        connect->IDTExtensibility2_OnDisconnection(0, {});
        services.host = {};
    }
    ExplorerWorld(const ExplorerWorld&) = delete;
    ExplorerWorld& operator=(const ExplorerWorld&) = delete;

    std::shared_ptr<sim::ItemRecord> Contact(const std::wstring& name, const std::wstring& address,
                                             sim::FolderRecord* folder = nullptr) {
        auto contact = session.AddItem(folder != nullptr ? *folder : *contacts, olContact);
        contact->SetText(mapi::PR_DISPLAY_NAME, name);
        session.SetContactEmail(*contact, 1, address);
        session.ContactEntry(*contact, 1);
        return contact;
    }
    std::vector<std::shared_ptr<sim::ItemRecord>> Contacts(int n) {
        std::vector<std::shared_ptr<sim::ItemRecord>> out;
        for (int i = 1; i <= n; ++i) {
            const std::wstring id = std::to_wstring(i);
            out.push_back(Contact(L"Person " + id, L"person" + id + L"@example.com"));
        }
        return out;
    }
    // A draft, composed through the add-in or not, to the given recipients.
    std::shared_ptr<sim::ItemRecord> Draft(const std::wstring& subject,
                                           const std::vector<std::wstring>& to,
                                           bool composed = false);

    // The menu of folder window i (from 1).
    std::shared_ptr<CExplorerMenu> Menu(int32_t i = 1) const {
        return std::dynamic_pointer_cast<CExplorerMenu>(
            connect->GetExplorersWrapper()->Item(i)->GetAssociatedObject(L"Menu"));
    }
    // A control of the add-in's toolbar: 1 send-now, 2 recent action, 3 the menu; with item,
    // the menu's item (from 1).
    std::shared_ptr<sim::SimCommandBarControl> Toolbar(int32_t index, int32_t item = 0,
                                                       int32_t window = 1) const {
        auto control = Menu(window)->Bar()->Controls()->Item(index);
        if (item > 0) {
            control = control->GetCommandBar()->Controls()->Item(item);
        }
        return std::dynamic_pointer_cast<sim::SimCommandBarControl>(control);
    }
    void ClickToolbar(int32_t index, int32_t item = 0) {
        desktop.office.Click(Toolbar(index, item));
    }
    // The message windows' recipients: "type:name" each.
    std::vector<std::wstring> MessageRecipients(std::size_t window = 0) const {
        std::vector<std::wstring> out;
        for (const auto& r : desktop.Inspectors().at(window)->Record()->recipients) {
            out.push_back(std::to_wstring(r->type) + L":" + r->name);
        }
        return out;
    }
    // Error entries other than the language table's missing keys.
    std::vector<std::wstring> Errors() const {
        std::vector<std::wstring> out;
        for (const auto& e : log.Of(LogLevel::Error)) {
            if (!e.source.starts_with(L"CLang.")) {
                out.push_back(e.source + L": " + e.text);
            }
        }
        return out;
    }
    int Logged(const std::wstring& source, const std::wstring& part) const {
        return static_cast<int>(std::count_if(log.entries.begin(), log.entries.end(), [&](auto& e) {
            return e.source == source && e.text.find(part) != std::wstring::npos;
        }));
    }

    sim::SimHost host{sim};
    sim::SimDesktop desktop{sim, host};
    sim::SimSession& session = desktop.host.session;
    std::shared_ptr<Connect> connect = std::make_shared<Connect>(services);
    sim::FolderRecord* contacts = nullptr;
    sim::FolderRecord* drafts = nullptr;
};

}  // namespace plexa::test
