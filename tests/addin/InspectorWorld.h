// The add-in running on a simulated client with a folder window open, ready to open message
// windows composed through it: the add-in follows them with its inspector wrappers.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "TestWorld.h"
#include "addin/Connect.h"
#include "core/Text.h"
#include "host/outlook/OlConstants.h"
#include "host/outlook/Recipients.h"
#include "separate/mUserProps.h"
#include "settings/CLang.h"
#include "settings/COptions.h"
#include "sim/SimDesktop.h"
#include "sim/store/SimSession.h"

namespace plexa::test {

struct InspectorWorld : TestWorld {
    explicit InspectorWorld(int32_t version, bool wordEditor = false) {
        sim.host.SetVersion(std::to_wstring(version) + L".0.0.1");
        desktop.host.session.outlookMajorVersion = version;
        desktop.wordEditor = wordEditor;
        services.host = desktop.Ports();
        connect->IDTExtensibility2_OnConnection(desktop.host.application, 0, nullptr, {});
        connect->IDTExtensibility2_OnStartupComplete({});
        CLang& lang = services.Lang();
        lang.ItemSet(L"LID_TITLE_MAIL", L"%s - Plexa");
        lang.ItemSet(L"LID_UNTITLED", L"Untitled");
        lang.ItemSet(L"LID_PROMPT_SEND_OR_SAVE_MAILS", L"Number of e-mails to send: %d.");
        lang.ItemSet(L"LID_PROMPT_SEND_INCOMPLETE", L"Sent: %d. Drafts: %d. Queued: %d.");
        lang.ItemSet(L"LID_BTN_SEND_MODE_SEP_GR_TIP", L"Separately, %d at a time");
        explorer = desktop.OpenExplorer(olFolderInbox);
    }
    ~InspectorWorld() {
        connect->IDTExtensibility2_OnBeginShutdown({});
        connect->IDTExtensibility2_OnDisconnection(0, {});
        services.host = {};
    }
    InspectorWorld(const InspectorWorld&) = delete;
    InspectorWorld& operator=(const InspectorWorld&) = delete;

    // A draft composed through the add-in, as its To command leaves it.
    std::shared_ptr<MailItem> Compose(const std::wstring& subject, const std::wstring& body,
                                      const std::vector<std::wstring>& recipients,
                                      int32_t sendMode = SendModeSep, bool grouping = false) {
        auto mail =
            std::dynamic_pointer_cast<MailItem>(desktop.host.application->CreateItem(olMailItem));
        mail->SetSubject(subject);
        mail->SetBodyFormat(olFormatPlain);
        mail->SetBody(body);
        auto list = mail->GetRecipients();
        for (const auto& r : recipients) {
            list->Add(r)->Resolve();
        }
        mUserProps::SetShowToolbar(mail, false);
        mUserProps::SetSendMode(mail, sendMode, false);
        mUserProps::setGroupMode(mail, grouping, false);
        mail->Save();
        return mail;
    }

    // Opens the message in its window; the add-in's wrapper of it.
    std::shared_ptr<sim::SimInspector> Open(const std::shared_ptr<MailItem>& mail) {
        return desktop.OpenInspector(mail);
    }
    std::shared_ptr<CInspectorWrapper> WrapperOf(const std::shared_ptr<sim::SimInspector>& i) {
        return connect->InspectorWrapperOf(i);
    }
    // The message as stored (not as a window shows it).
    std::shared_ptr<MailItem> Stored(const std::wstring& entryID) {
        return std::dynamic_pointer_cast<MailItem>(
            desktop.host.application->Session()->GetItemFromID(entryID));
    }

    // Who received what: every transmission's addresses, and copies kept in Drafts other than
    // the message with the given entry id.
    std::map<std::wstring, int> CopiesPerAddress(const std::wstring& sourceID) const {
        std::map<std::wstring, int> copies;
        for (const auto& t : session.transmissions) {
            for (const auto& r : t.recipients) {
                for (const auto& a : r.smtpAddresses) {
                    ++copies[text::ToLower(a)];
                }
            }
        }
        for (const auto& item : session.DefaultFolder(olFolderDrafts)->Items()) {
            if (item->EntryID() == sourceID) {
                continue;
            }
            for (const auto& r : item->recipients) {
                ++copies[text::ToLower(r->Address())];
            }
        }
        return copies;
    }
    std::size_t Logged(const std::wstring& source, const std::wstring& part = L"") const {
        std::size_t n = 0;
        for (const auto& e : log.entries) {
            n += e.source == source && e.text.find(part) != std::wstring::npos ? 1 : 0;
        }
        return n;
    }
    std::size_t ErrorsFrom(const std::wstring& source) const {
        return log.Of(LogLevel::Error, source).size();
    }

    // The client outlives its desktop: the companions hold the application to the end.
    sim::SimHost host{sim};
    sim::SimDesktop desktop{sim, host};
    sim::SimSession& session = desktop.host.session;
    std::shared_ptr<Connect> connect = std::make_shared<Connect>(services);
    std::shared_ptr<sim::SimExplorer> explorer;
};

}  // namespace plexa::test
