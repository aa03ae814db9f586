// A simulated client for the separate-send action: a default store, an address book, the
// send-later queue, the please-wait keeper and the contact folders the action is handed, and
// helpers that compose a message as the add-in leaves it in Drafts and read back what became of
// it: the transmissions, the copies in Drafts, the queue.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "TestWorld.h"
#include "addin/WithEvents.h"
#include "core/Text.h"
#include "distlists/mContacts.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "host/outlook/Recipients.h"
#include "host/redemption/Redemption.h"
#include "recipients/CRecipientsProps.h"
#include "separate/CSendLaterList.h"
#include "separate/IMessageWindow.h"
#include "separate/mPlexaUpdate.h"
#include "separate/mUserProps.h"
#include "settings/CLang.h"
#include "sim/SimDesktop.h"
#include "sim/store/SimSession.h"
#include "ui/CPleaseWait.h"

namespace plexa::test {

// A message window as the separate-send action sees it, without the add-in around it: it
// follows the window and its item and lets go of them when the window closes or the action
// calls Done.
class TestMessageWindow : public IMessageWindow {
public:
    TestMessageWindow() = default;
    ~TestMessageWindow() override { Done(); }
    TestMessageWindow(const TestMessageWindow&) = delete;
    TestMessageWindow& operator=(const TestMessageWindow&) = delete;

    void Init(const std::shared_ptr<Inspector>& inspector) {
        m_inspector.Set(inspector, [this](Inspector& i) {
            std::vector<Connection> c;
            c.push_back(i.OnClose.Connect([this] { Done(); }));
            return c;
        });
        m_mail = std::dynamic_pointer_cast<MailItem>(inspector->CurrentItem());
    }
    void Done() override {
        m_inspector.Reset();
        m_mail.reset();
    }
    bool Closed() const { return !m_inspector; }
    std::shared_ptr<Inspector> GetInspector() const override { return m_inspector.Get(); }
    const std::shared_ptr<MailItem>& GetMail() const { return m_mail; }

private:
    WithEvents<Inspector> m_inspector;
    std::shared_ptr<MailItem> m_mail;
};

struct PlexaWorld : TestWorld {
    PlexaWorld() {
        services.host = desktop.Ports();
        CLang& lang = services.Lang();
        lang.ItemSet(L"LID_TITLE_MAIL", L"%s - Plexa");
        lang.ItemSet(L"LID_UNTITLED", L"Untitled");
        lang.ItemSet(L"LID_PROMPT_SEND_OR_SAVE_MAILS", L"Number of e-mails to send: %d.");
        lang.ItemSet(L"LID_PROMPT_NO_RECIPIENTS", L"This message has no recipients.");
        lang.ItemSet(L"LID_PROMPT_BAD_RECIPIENTS", L"Not all recipients could be resolved.");
        lang.ItemSet(L"LID_PROMPT_SEND_INCOMPLETE", L"Sent: %d. Drafts: %d. Queued: %d.");
        queue.Init(L"0000PROFILE");
    }

    // A saved draft composed through the add-in: marker, send mode and grouping set; each
    // recipient resolved when it can be.
    std::shared_ptr<MailItem> Compose(const std::wstring& subject, const std::wstring& body,
                                      const std::vector<std::wstring>& recipients,
                                      int32_t sendMode = SendModeSep, bool grouping = false,
                                      bool html = false) {
        auto mail =
            std::dynamic_pointer_cast<MailItem>(desktop.host.application->CreateItem(olMailItem));
        mail->SetSubject(subject);
        if (html) {
            mail->SetHTMLBody(body);
        } else {
            mail->SetBodyFormat(olFormatPlain);
            mail->SetBody(body);
        }
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

    // The action as a message window's send or the send-now command runs it.
    bool Send(const std::shared_ptr<MailItem>& mail, IMessageWindow* window = nullptr,
              bool silent = false, int32_t doSend = 1, int32_t interval = 0,
              int32_t groupSize = 0) {
        bool cancelled = false;
        mPlexaUpdate::DoPlexaAction(context, mail, window, doSend, mUserProps::GetSendMode(mail),
                                    props, cancelled, silent, mUserProps::GetGroupMode(mail),
                                    interval, groupSize);
        return cancelled;
    }

    std::shared_ptr<NameSpace> Ns() { return desktop.host.application->Session(); }
    sim::FolderRecord& Folder(int32_t role) { return *session.DefaultFolder(role); }
    std::vector<std::shared_ptr<sim::ItemRecord>> Items(int32_t role) {
        return Folder(role).Items();
    }
    // The SMTP addresses of a stored item's recipients, in order.
    static std::vector<std::wstring> Addresses(const sim::ItemRecord& item) {
        std::vector<std::wstring> out;
        for (const auto& r : item.recipients) {
            out.push_back(text::ToLower(r->Address()));
        }
        return out;
    }
    // Who received what: every transmission's addresses.
    std::vector<std::wstring> Transmitted() const {
        std::vector<std::wstring> out;
        for (const auto& t : session.transmissions) {
            for (const auto& r : t.recipients) {
                for (const auto& a : r.smtpAddresses) {
                    out.push_back(text::ToLower(a));
                }
            }
        }
        return out;
    }
    // Copies per address: sent, or waiting in Drafts (kept there or queued), but not the
    // message with the given entry id (the source).
    std::map<std::wstring, int> CopiesPerAddress(const std::wstring& sourceID = L"") {
        std::map<std::wstring, int> copies;
        for (const auto& a : Transmitted()) {
            ++copies[a];
        }
        for (const auto& item : Items(olFolderDrafts)) {
            if (item->EntryID() == sourceID) {
                continue;
            }
            for (const auto& a : Addresses(*item)) {
                ++copies[a];
            }
        }
        return copies;
    }
    std::size_t ErrorsFrom(const std::wstring& source) const {
        return log.Of(LogLevel::Error, source).size();
    }

    sim::SimDesktop desktop{sim};
    sim::SimSession& session = desktop.host.session;
    CSendLaterList queue{services};
    CPleaseWait pleaseWait{services};
    mContacts::CContactFolderList contactFolders;
    PlexaActionContext context{services, queue, pleaseWait, contactFolders};
    CRecipientsProps props;
};

}  // namespace plexa::test
