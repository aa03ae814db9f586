// Gathering recipients from a folder window's selection or from a whole folder, on the simulated
// client: what each item class contributes, the exclusion options by source, received against
// outgoing mails, contacts' address slots, the large-input prompt and the progress window, and
// host errors on single items.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestWorld.h"
#include "core/Text.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "platform/IUiShell.h"
#include "recipients/CRecipients.h"
#include "recipients/mPlexa.h"
#include "settings/CLang.h"
#include "settings/COptions.h"
#include "settings/IProgress.h"
#include "sim/SimDesktop.h"
#include "sim/store/SimSession.h"
#include "ui/CProgressWindow.h"
#include "ui/frmProgress.h"

namespace plexa {
namespace {

using namespace mPlexa;
using sim::FolderRecord;
using sim::ItemRecord;

struct GatherWorld : test::TestWorld {
    GatherWorld() {
        services.host = desktop.Ports();
        services.Options().IncludeCC(false);
        services.Options().IncludeBCC(false);
        auto& book = session.addressBook;
        book.AddSmtp(L"Ann Smith", L"ann@acme.example");
        book.AddSmtp(L"Bob Lee", L"bob@lee.example");
        book.AddSmtp(L"Carla Diaz", L"carla@diaz.example");
        book.AddExchange(L"Dana Whitfield", L"/o=Acme/ou=Exchange/cn=Recipients/cn=dana",
                         L"Dana.Whitfield@Acme.example");
    }

    FolderRecord& Folder(int32_t role) { return *session.DefaultFolder(role); }

    std::shared_ptr<ItemRecord> Received(FolderRecord& folder, const std::wstring& name,
                                         const std::wstring& address) {
        auto mail = session.AddItem(folder, olMail);
        mail->SetText(mapi::PR_SENT_REPRESENTING_NAME, name);
        mail->SetText(mapi::PR_SENT_REPRESENTING_EMAIL_ADDRESS, address);
        return mail;
    }
    // An item with resolved recipients given as (text, type).
    std::shared_ptr<ItemRecord> WithRecipients(
        FolderRecord& folder, int32_t objectClass,
        std::initializer_list<std::pair<std::wstring, int32_t>> recipients) {
        auto item = session.AddItem(folder, objectClass);
        for (const auto& [name, type] : recipients) {
            session.ResolveRecipient(*item->AddRecipient(name, type));
        }
        return item;
    }
    std::shared_ptr<ItemRecord> Contact(const std::wstring& fullName,
                                        std::initializer_list<std::wstring> addresses,
                                        FolderRecord* folder = nullptr) {
        auto contact = session.AddItem(folder ? *folder : Folder(olFolderContacts), olContact);
        contact->SetText(mapi::PR_DISPLAY_NAME, fullName);
        int slot = 1;
        for (const auto& address : addresses) {
            if (!address.empty()) {
                session.SetContactEmail(*contact, slot, address);
                // The simulated store fills the slot's own address entry when it is first
                // asked for it.
                session.ContactEntry(*contact, slot);
            }
            ++slot;
        }
        return contact;
    }

    // Gathers from a selection of a folder, or (no items given) from the whole folder.
    bool Gather(FolderRecord& folder, const std::vector<std::shared_ptr<ItemRecord>>& selected,
                bool bAddDistLists = true, int32_t nCommand = 0) {
        auto explorer = desktop.OpenExplorer(folder);
        if (!selected.empty()) {
            desktop.Select(explorer, selected);
            return Take(GetPlexaRecipients(services, esFromSelection, recipients, bAddDistLists,
                                           progressWindow, nullptr, nCommand));
        }
        return Take(GetPlexaRecipients(services, esFromFolder, recipients, bAddDistLists,
                                       progressWindow, desktop.host.outlook.Folder(folder),
                                       nCommand));
    }
    // Keeps whether the progress window was opened; true when gathering went through.
    bool Take(const GatherResult& result) {
        useProgress = result.bUseProgressWND;
        return result.gathered;
    }

    // What was gathered: "address [names] ids" for each e-mail recipient, then "name ids" for
    // each name-only recipient.
    std::vector<std::wstring> Gathered() const {
        std::vector<std::wstring> out;
        for (int32_t i = 1; i <= recipients.EmailRecipientCount(); ++i) {
            const auto& r = recipients.EmailRecipient(i);
            out.push_back(
                r.Email + L" [" + text::Join(r.Names.Items(), L",") + L"]" +
                (r.AssocItemIDs.Count() ? L" " + text::Join(r.AssocItemIDs.Items(), L",") : L""));
        }
        for (int32_t i = 1; i <= recipients.NameRecipientCount(); ++i) {
            out.push_back(L"name:" + recipients.NameRecipient(i).Name);
        }
        return out;
    }
    std::vector<std::wstring> Texts(LogLevel level, const std::wstring& source) const {
        std::vector<std::wstring> out;
        for (const auto& entry : log.Of(level, source)) {
            out.push_back(entry.text);
        }
        return out;
    }

    sim::SimDesktop desktop{sim};
    sim::SimSession& session = desktop.host.session;
    CRecipients recipients;
    frmProgress progress{services};
    CProgressWindow progressWindow{services, progress};
    bool useProgress = false;
};

using Lines = std::vector<std::wstring>;

TEST(Gather, ReceivedMailsGiveTheirSenderOutgoingMailsTheirRecipientsByType) {
    GatherWorld w;
    FolderRecord& inbox = w.Folder(olFolderInbox);
    FolderRecord& archive = w.session.AddFolder(w.Folder(olFolderSentMail), L"2009", olMailItem);
    FolderRecord& customers = w.session.AddFolder(inbox, L"Customers", olMailItem);
    auto fromAnn = w.Received(inbox, L"Ann Smith", L"Ann@Acme.example");
    auto fromDana = w.Received(customers, L"Dana Whitfield",
                               L"/o=Acme/ou=Exchange/cn=Recipients/cn=dana");  // no "@"
    fromAnn->AddRecipient(L"Carla Diaz");  // a received mail's own recipients never count
    auto sent = w.WithRecipients(
        archive, olMail, {{L"Bob Lee", olTo}, {L"Carla Diaz", olCC}, {L"Ann Smith", olBCC}});
    auto draft = w.WithRecipients(w.Folder(olFolderDrafts), olMail, {{L"Dana Whitfield", olTo}});

    EXPECT_TRUE(w.Gather(inbox, {fromAnn}));
    EXPECT_TRUE(w.Gather(customers, {fromDana}));
    EXPECT_TRUE(w.Gather(archive, {sent}));
    EXPECT_TRUE(w.Gather(w.Folder(olFolderDrafts), {draft}));
    EXPECT_EQ(
        w.Gathered(),
        (Lines{L"Ann@Acme.example [Ann Smith] " + fromAnn->EntryID(), L"bob@lee.example [Bob Lee]",
               L"dana.whitfield@acme.example [Dana Whitfield]", L"name:Dana Whitfield"}));
    EXPECT_FALSE(w.useProgress);

    // CC and BCC count only when the options say so.
    w.recipients.Reset();
    w.services.Options().IncludeCC(true);
    EXPECT_TRUE(w.Gather(archive, {}));
    w.services.Options().IncludeBCC(true);
    EXPECT_TRUE(w.Gather(archive, {}));
    EXPECT_EQ(w.Gathered(), (Lines{L"bob@lee.example [Bob Lee]", L"carla@diaz.example [Carla Diaz]",
                                   L"ann@acme.example [Ann Smith]"}));
    // Each option decides its own type alone.
    w.recipients.Reset();
    w.services.Options().IncludeCC(false);
    EXPECT_TRUE(w.Gather(archive, {}));
    EXPECT_EQ(w.Gathered(), (Lines{L"bob@lee.example [Bob Lee]", L"ann@acme.example [Ann Smith]"}));
    w.recipients.Reset();
    w.services.Options().IncludeCC(true);
    w.services.Options().IncludeBCC(false);
    EXPECT_TRUE(w.Gather(archive, {}));
    EXPECT_EQ(w.Gathered(),
              (Lines{L"bob@lee.example [Bob Lee]", L"carla@diaz.example [Carla Diaz]"}));

    // The Exchange sender is resolved by its name through the address book.
    w.recipients.Reset();
    EXPECT_TRUE(w.Gather(customers, {fromDana}));
    NoProgress none;
    const ResolveResult resolved = w.recipients.Resolve(w.services, none, false);
    EXPECT_TRUE(resolved.resolved);
    EXPECT_FALSE(resolved.cancelled);
    ASSERT_EQ(w.recipients.GetResolvedCount(), 1);
    EXPECT_EQ(w.recipients.GetResolvedName(1), L"Dana Whitfield");
    EXPECT_EQ(w.recipients.GetResolvedAssocItemIDs(1).Items(), Lines{fromDana->EntryID()});
}

TEST(Gather, ExclusionOptionsApplyToWholeFoldersButNeverToWhatWasSelected) {
    GatherWorld w;
    COptions& options = w.services.Options();
    FolderRecord& inbox = w.Folder(olFolderInbox);
    auto replied = w.Received(inbox, L"Ann Smith", L"ann@acme.example");
    replied->SetProp(mapi::PR_ICON_INDEX, Variant(mapi::ICON_INDEX_REPLIED));
    auto fromBob = w.Received(inbox, L"Bob Lee", L"bob@lee.example");
    auto secret = w.Contact(L"Carla Diaz", {L"carla@diaz.example"});
    secret->SetProp(mapi::PR_SENSITIVITY, Variant(olPrivate));
    w.Contact(L"Eve Park", {L"eve@park.example"});
    FolderRecord& calendar = w.Folder(olFolderCalendar);
    auto meeting = w.WithRecipients(calendar, olAppointment, {{L"Bob Lee", olTo}});
    FolderRecord& partners =
        w.session.AddFolder(w.Folder(olFolderContacts), L"Partners", olContactItem);
    auto frank = w.Contact(L"Frank Ode", {L"frank@ode.example"}, &partners);
    meeting->links.push_back({L"Frank Ode", olLinkContact, frank->EntryID(), L""});
    meeting->links.push_back({L"Carla Diaz", olLinkContact, secret->EntryID(), L""});

    options.ExcludeReplied(true);
    options.ExcludePrivateContacts(true);
    options.ExcludeLinkItems(true);
    EXPECT_TRUE(w.Gather(inbox, {}));
    EXPECT_TRUE(w.Gather(w.Folder(olFolderContacts), {}));
    EXPECT_TRUE(w.Gather(calendar, {}));
    EXPECT_EQ(w.Gathered(), (Lines{L"bob@lee.example [Bob Lee] " + fromBob->EntryID(),
                                   L"eve@park.example [Eve Park]"}));
    EXPECT_EQ(w.Texts(LogLevel::Debug, L"mPlexa::AddItemRecipients"),
              (Lines{L"Exclude already replied e-mail", L"Exclude private contacts",
                     L"Exclude links items"}));

    // Selected explicitly, each contributes whatever the options say.
    w.recipients.Reset();
    EXPECT_TRUE(w.Gather(inbox, {replied}));
    EXPECT_TRUE(w.Gather(w.Folder(olFolderContacts), {secret}));
    EXPECT_TRUE(w.Gather(calendar, {meeting}));
    EXPECT_EQ(w.Gathered(), (Lines{L"ann@acme.example [Ann Smith] " + replied->EntryID(),
                                   L"carla@diaz.example [Carla Diaz]", L"bob@lee.example [Bob Lee]",
                                   L"frank@ode.example [Frank Ode]"}));

    // From the whole folder with only the private-contact option on: the link is followed, but
    // the private contact behind it is left out.
    w.recipients.Reset();
    options.ExcludeLinkItems(false);
    EXPECT_TRUE(w.Gather(calendar, {}));
    EXPECT_EQ(w.Gathered(),
              (Lines{L"bob@lee.example [Bob Lee]", L"frank@ode.example [Frank Ode]"}));
    EXPECT_EQ(w.Texts(LogLevel::Debug, L"mPlexa::SafeGetLinks"),
              Lines{L"Exclude private contacts"});

    // With the options off, the whole folder gives everything.
    w.recipients.Reset();
    options.ExcludeReplied(false);
    options.ExcludePrivateContacts(false);
    EXPECT_TRUE(w.Gather(inbox, {}));
    EXPECT_TRUE(w.Gather(w.Folder(olFolderContacts), {}));
    EXPECT_EQ(w.recipients.EmailRecipientCount(), 4);
}

TEST(Gather, TheOrganiserOfOnesOwnMeetingIsLeftOutAnyOtherIsAnAttendee) {
    GatherWorld w;
    FolderRecord& calendar = w.Folder(olFolderCalendar);
    auto mine =
        w.WithRecipients(calendar, olAppointment, {{L"Ann Smith", olTo}, {L"Bob Lee", olTo}});
    mine->SetText(mapi::PR_SENT_REPRESENTING_NAME, L"Ann Smith");
    mine->SetNamed(mapi::PSETID_Appointment, mapi::LID_RESPONSE_STATUS, mapi::PT_LONG,
                   Variant(olResponseOrganized));
    auto theirs = w.WithRecipients(calendar, olAppointment, {{L"Carla Diaz", olTo}});
    theirs->SetText(mapi::PR_SENT_REPRESENTING_NAME, L"Carla Diaz");
    theirs->SetNamed(mapi::PSETID_Appointment, mapi::LID_RESPONSE_STATUS, mapi::PT_LONG,
                     Variant(3));
    FolderRecord& tasks = w.Folder(olFolderTasks);
    auto task = w.WithRecipients(tasks, olTask, {{L"Dana Whitfield", olCC}, {L"Nobody", olTo}});

    EXPECT_TRUE(w.Gather(calendar, {}));
    EXPECT_TRUE(w.Gather(tasks, {task}));
    // A task's recipients count whatever their type; one that never resolved comes by name.
    EXPECT_EQ(w.Gathered(),
              (Lines{L"bob@lee.example [Bob Lee]", L"carla@diaz.example [Carla Diaz]",
                     L"dana.whitfield@acme.example [Dana Whitfield]", L"name:Nobody"}));
}

TEST(Gather, ContactsGiveTheirFirstValidAddressInSlotOrder) {
    GatherWorld w;
    auto three = w.Contact(L"Three Slots",
                           {L"one@three.example", L"two@three.example", L"three@three.example"});
    auto second = w.Contact(L"Second Only", {L"", L"Second@Only.example"});
    auto invalid = w.Contact(L"No Address", {L"not-an-address", L"also@invalid"});
    // An Exchange entry in slot 1 gives its SMTP address.
    auto exchange = w.Contact(L"Dana Whitfield", {});
    const auto dana = w.session.addressBook.Lookup(L"Dana Whitfield").front();
    w.session.SetContactEmail(*exchange, 1, dana->address, L"EX", L"", dana->entryID);
    // A slot without a stored entry id gives its address text, trimmed and lower-cased.
    auto typed = w.Contact(L"Typed Only", {});
    w.session.SetContactEmail(*typed, 2, L"  Typed@Only.Example ");
    const uint32_t idTag =
        typed->Store().GetIDsFromNames(mapi::PSETID_Address, mapi::LID_EMAIL_ENTRYID[1], false);
    typed->RemoveProp(mapi::MakeTag(idTag, mapi::PT_BINARY));

    EXPECT_TRUE(w.Gather(w.Folder(olFolderContacts), {three, second, invalid, exchange, typed}));
    EXPECT_EQ(w.Gathered(),
              (Lines{L"one@three.example [Three Slots]", L"second@only.example [Second Only]",
                     L"dana.whitfield@acme.example [Dana Whitfield]",
                     L"typed@only.example [Typed Only]"}));

    EXPECT_EQ(GetContactEmailAddresses(w.services, std::dynamic_pointer_cast<ContactItem>(
                                                       w.desktop.host.outlook.Item(three))),
              (Lines{L"one@three.example", L"two@three.example", L"three@three.example"}));
    // The same address in two slots counts once.
    auto twice = w.Contact(L"Twice", {L"same@twice.example", L"SAME@twice.example"});
    EXPECT_EQ(GetContactEmailAddresses(w.services, std::dynamic_pointer_cast<ContactItem>(
                                                       w.desktop.host.outlook.Item(twice))),
              Lines{L"same@twice.example"});
}

TEST(Gather, ASlotWhoseEntryCannotBeOpenedFallsBackToItsText) {
    GatherWorld w;
    auto contact = w.Contact(L"Two Slots", {L"First@Slots.example", L"second@slots.example"});
    const std::wstring firstEntry = w.session.ContactEntry(*contact, 1)->entryID;
    w.sim.faults.FailWhen(
        [&](std::wstring_view op, std::wstring_view detail) {
            return op == L"MAPIUtils.GetAddressEntryFromID" && detail == firstEntry;
        },
        HostError(static_cast<int32_t>(0x8004010F), L"The entry was not found"));

    EXPECT_EQ(GetContactEmailAddresses(w.services, std::dynamic_pointer_cast<ContactItem>(
                                                       w.desktop.host.outlook.Item(contact))),
              (Lines{L"first@slots.example", L"second@slots.example"}));
    EXPECT_TRUE(w.Gather(w.Folder(olFolderContacts), {contact}));
    EXPECT_EQ(w.Gathered(), Lines{L"first@slots.example [Two Slots]"});
    EXPECT_TRUE(w.log.Of(LogLevel::Error).empty());
    EXPECT_EQ(w.sim.faults.Injected(), 2);
}

TEST(Gather, ListsLinksAndOtherItemClasses) {
    GatherWorld w;
    FolderRecord& contacts = w.Folder(olFolderContacts);
    auto list = w.session.AddItem(contacts, olDistributionList);
    list->SetText(mapi::PR_SUBJECT, L"Book club");
    auto note = w.session.AddItem(contacts, olNote);

    EXPECT_TRUE(w.Gather(contacts, {list, note}, true));
    EXPECT_EQ(w.Gathered(), Lines{L"name:Book club"});
    EXPECT_EQ(w.Texts(LogLevel::Warning, L"mPlexa::AddItemRecipients"),
              Lines{L"selected unsupported item type = 44"});
    w.recipients.Reset();
    EXPECT_TRUE(w.Gather(contacts, {list}, false, kDistListCommand));
    EXPECT_EQ(w.recipients.NameRecipientCount(), 0);
    EXPECT_EQ(w.Texts(LogLevel::Debug, L"mPlexa::AddItemRecipients"),
              Lines{L"Ignoring distibutive list"});

    // A link whose contact cannot be opened adds the link's name; a contact without an address
    // comes by its name; links of another type add nothing.
    FolderRecord& calendar = w.Folder(olFolderCalendar);
    auto meeting = w.session.AddItem(calendar, olAppointment);
    auto gone = w.Contact(L"Gone Contact", {L"gone@contact.example"});
    auto bare = w.Contact(L"Bare Contact", {});
    meeting->links.push_back({L"Gone Contact", olLinkContact, gone->EntryID(), L""});
    meeting->links.push_back({L"Bare Contact", olLinkContact, bare->EntryID(), L""});
    meeting->links.push_back({L"A note", 44, note->EntryID(), L""});
    w.session.Delete(w.session.Delete(gone));  // to Deleted Items, then gone for good
    w.recipients.Reset();
    EXPECT_TRUE(w.Gather(calendar, {meeting}));
    EXPECT_EQ(w.Gathered(), (Lines{L"name:Gone Contact", L"name:Bare Contact"}));
}

TEST(Gather, NothingToGatherReturnsFalseWithoutAsking) {
    GatherWorld w;
    // The top folder of a store: nothing, whatever is selected.
    FolderRecord& top = *w.Folder(olFolderInbox).Parent();
    auto stray = w.Received(top, L"Ann Smith", L"ann@acme.example");
    EXPECT_FALSE(w.Gather(top, {stray}));
    EXPECT_FALSE(w.Gather(top, {}));
    // An empty selection.
    auto explorer = w.desktop.OpenExplorer(olFolderInbox);
    EXPECT_FALSE(w.Take(GetPlexaRecipients(w.services, esFromSelection, w.recipients, true,
                                           w.progressWindow, nullptr, 0)));
    EXPECT_EQ(w.recipients.EmailRecipientCount(), 0);
    EXPECT_EQ(w.Texts(LogLevel::Debug, L"mPlexa::GetPlexaRecipients"),
              (Lines{L"->", L"colItems.Count = 0 ", L"<-", L"->", L"colItems.Count = 0 ", L"<-",
                     L"->", L"esFromSelection", L"colItems.Count = 0 ", L"<-"}));
    EXPECT_TRUE(w.sim.ui.Prompts().empty());

    EXPECT_FALSE(w.Take(GetPlexaRecipients(w.services, static_cast<ERecipientsFrom>(2),
                                           w.recipients, true, w.progressWindow, nullptr, 0)));
    const auto errors = w.log.Of(LogLevel::Error, L"GetPlexaRecipients");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, L"Invalid ERecipientsFrom value = 2");
}

struct ManyWorld : GatherWorld {
    // n received mails in the Inbox, from distinct senders.
    std::vector<std::shared_ptr<ItemRecord>> Mails(int n) {
        std::vector<std::shared_ptr<ItemRecord>> mails;
        for (int last = made + n; made < last;) {
            const int i = ++made;
            mails.push_back(Received(Folder(olFolderInbox), L"Sender " + std::to_wstring(i),
                                     L"sender" + std::to_wstring(i) + L"@example.com"));
        }
        return mails;
    }
    int made = 0;
};

TEST(Gather, ProgressWindowFromTwentyItemsAndConfirmationFromAHundred) {
    ManyWorld w;
    w.services.Lang().ItemSet(L"LID_PROMPT_LARGE_RECIPIENTS_M", L"Many items for a message");
    w.services.Lang().ItemSet(L"LID_PROMPT_LARGE_RECIPIENTS_DL", L"Many items for a list");
    w.services.Lang().ItemSet(L"LID_TITLE_LARGE_RECIPIENTS", L"Large");
    auto mails = w.Mails(19);
    FolderRecord& inbox = w.Folder(olFolderInbox);

    EXPECT_TRUE(w.Gather(inbox, {}));
    EXPECT_FALSE(w.useProgress);
    EXPECT_EQ(w.sim.ui.OpenFormCount(), 0);

    w.Mails(1);
    EXPECT_TRUE(w.Gather(inbox, {}));
    EXPECT_TRUE(w.useProgress);
    ASSERT_TRUE(w.sim.ui.IsLoaded(w.progress));  // left open for resolution
    // Owned by the folder window in front, so it stays in front of it.
    ASSERT_NE(w.desktop.ActiveWindow()->Hwnd(), 0U);
    EXPECT_EQ(w.sim.ui.OwnerOf(w.progress), w.desktop.ActiveWindow()->Hwnd());
    EXPECT_TRUE(w.progress[L"lblProgress1"].visible);
    EXPECT_EQ(w.progress[L"barProgress"].max, 20);
    EXPECT_EQ(w.progress[L"barProgress"].value, 20);
    EXPECT_EQ(w.recipients.EmailRecipientCount(), 20);

    // The next gathering closes the window left open, and opens its own.
    w.Mails(79);
    EXPECT_TRUE(w.Gather(inbox, {}));
    EXPECT_EQ(w.progress[L"barProgress"].max, 99);
    EXPECT_TRUE(w.sim.ui.Prompts().back().kind == sim::PromptRecord::Kind::Dialog);

    // 100: the user is asked; No gathers nothing.
    w.Mails(1);
    w.recipients.Reset();
    w.sim.ui.user.AnswerMsgBox(mb::IdNo, L"Many items for a message");
    EXPECT_FALSE(w.Gather(inbox, {}));
    EXPECT_EQ(w.recipients.EmailRecipientCount(), 0);
    EXPECT_EQ(w.sim.ui.Prompts().back().title, L"Large");
    EXPECT_EQ(w.sim.ui.Prompts().back().buttons & mb::ButtonsMask, mb::YesNo);
    w.sim.ui.user.AnswerMsgBox(mb::IdYes, L"Many items for a list");
    EXPECT_TRUE(w.Gather(inbox, {}, false, kDistListCommand));
    EXPECT_EQ(w.recipients.EmailRecipientCount(), 100);
    EXPECT_TRUE(w.sim.ui.user.Empty());
}

TEST(Gather, AProgressWindowThatCannotBeShownDoesNotStopTheWork) {
    ManyWorld w;
    w.Mails(20);
    w.sim.faults.FailAlways(L"UiShell.Show", HostError(E_FAIL, L"No window"));
    EXPECT_TRUE(w.Gather(w.Folder(olFolderInbox), {}));
    EXPECT_EQ(w.recipients.EmailRecipientCount(), 20);
    EXPECT_FALSE(w.useProgress);  // nothing for the caller to go on with or to close
    EXPECT_FALSE(w.sim.ui.IsLoaded(w.progress));
    const auto errors = w.log.Of(LogLevel::Error, L"GetPlexaRecipients");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, L"No window; frmProgress");

    // Resolving goes on without it, too.
    const ResolveResult resolved = w.recipients.Resolve(w.services, w.progressWindow, true);
    EXPECT_TRUE(resolved.resolved);
    EXPECT_FALSE(resolved.cancelled);
    EXPECT_EQ(w.recipients.GetResolvedCount(), 20);
    EXPECT_EQ(w.log.Of(LogLevel::Error, L"CRecipients::Resolve").size(), 1u);
}

TEST(Gather, CancelStopsAfterTheCurrentItemAndClosesTheWindow) {
    ManyWorld w;
    w.Mails(30);
    // The user presses Cancel while the fifth item is stepped: the click arrives when the step
    // lets the window messages run.
    bool clicked = false;
    w.sim.faults.FailWhen(
        [&](std::wstring_view op, std::wstring_view) {
            if (op == L"Windows.DoEvents" && !clicked && w.progress[L"barProgress"].value == 5) {
                clicked = true;
                w.sim.ui.Act(L"frmProgress", {}, L"btnCancel");
            }
            return false;
        },
        HostError(E_FAIL, L"unused"));
    EXPECT_FALSE(w.Gather(w.Folder(olFolderInbox), {}));
    EXPECT_TRUE(w.useProgress);
    EXPECT_EQ(w.recipients.EmailRecipientCount(), 5);
    EXPECT_FALSE(w.sim.ui.IsLoaded(w.progress));
}

// A progress that writes down what the work reports, and cancels at a chosen step.
class RecordingProgress : public IProgress {
public:
    void Init(int32_t stage, int32_t maximum) override {
        calls.push_back(L"init " + std::to_wstring(stage) + L"/" + std::to_wstring(maximum));
        steps = 0;
    }
    bool Step() override {
        ++steps;
        return cancelAt != 0 && steps >= cancelAt;
    }
    void Done() override { calls.push_back(L"done after " + std::to_wstring(steps)); }
    std::vector<std::wstring> calls;
    int steps = 0;
    int cancelAt = 0;
};

TEST(Gather, GatheringAndResolvingReportTheirStagesToAnyProgress) {
    ManyWorld w;
    w.Mails(19);
    FolderRecord& inbox = w.Folder(olFolderInbox);
    RecordingProgress progress;
    auto gather = [&] {
        return GetPlexaRecipients(w.services, esFromFolder, w.recipients, true, progress,
                                  w.desktop.host.outlook.Folder(inbox), 0);
    };

    // Below twenty items the progress is only closed, in case an earlier run left it open.
    GatherResult result = gather();
    EXPECT_TRUE(result.gathered);
    EXPECT_FALSE(result.bUseProgressWND);
    EXPECT_EQ(progress.calls, Lines{L"done after 0"});
    NoProgress none;
    EXPECT_TRUE(w.recipients.Resolve(w.services, progress, false).resolved);
    EXPECT_EQ(progress.calls.size(), 1u);  // resolving without the flag leaves it alone

    // Twenty: stage 1 with one step per item, left open; resolving runs stage 2 in it.
    w.Mails(1);
    w.recipients.Reset();
    progress.calls.clear();
    result = gather();
    EXPECT_TRUE(result.gathered);
    EXPECT_TRUE(result.bUseProgressWND);
    EXPECT_EQ(progress.steps, 20);
    EXPECT_EQ(progress.calls, (Lines{L"done after 0", L"init 1/20"}));
    const ResolveResult resolved = w.recipients.Resolve(w.services, progress, true);
    EXPECT_TRUE(resolved.resolved);
    EXPECT_FALSE(resolved.cancelled);
    EXPECT_EQ(progress.calls.back(), L"init 2/20");
    EXPECT_EQ(progress.steps, 20);

    // Cancelled at the seventh item: gathering stops there and closes the progress.
    w.recipients.Reset();
    progress.calls.clear();
    progress.cancelAt = 7;
    result = gather();
    EXPECT_FALSE(result.gathered);
    EXPECT_TRUE(result.bUseProgressWND);
    EXPECT_EQ(w.recipients.EmailRecipientCount(), 7);
    EXPECT_EQ(progress.calls, (Lines{L"done after 20", L"init 1/20", L"done after 7"}));

    // Cancelled while resolving: nothing counts as resolved and the progress closes.
    progress.cancelAt = 3;
    const ResolveResult stopped = w.recipients.Resolve(w.services, progress, true);
    EXPECT_FALSE(stopped.resolved);
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_EQ(progress.calls.back(), L"done after 3");
    EXPECT_FALSE(w.recipients.Resolve(w.services, none, false).cancelled);
}

TEST(Gather, AHostErrorOnOneItemSkipsOnlyThatItem) {
    ManyWorld w;
    auto mails = w.Mails(22);
    // The third mail's sender cannot be read; the tenth mail's folder chain fails.
    w.sim.faults.FailNth(L"SafeMailItem.Fields", 5, HostError(E_FAIL, L"Property unavailable"));
    w.sim.faults.FailWhen(
        [&](std::wstring_view op, std::wstring_view detail) {
            return op == L"MailItem.Parent" && detail == mails[9]->EntryID();
        },
        HostError(OL_E_OBJECT_DELETED, L"The item has been moved or deleted"));

    EXPECT_TRUE(w.Gather(w.Folder(olFolderInbox), {}));
    Lines expected;
    for (int i = 1; i <= 22; ++i) {
        if (i != 3 && i != 10) {
            expected.push_back(L"sender" + std::to_wstring(i) + L"@example.com [Sender " +
                               std::to_wstring(i) + L"] " + mails[i - 1]->EntryID());
        }
    }
    EXPECT_EQ(w.Gathered(), expected);
    const auto errors = w.log.Of(LogLevel::Error, L"mPlexa::AddItemRecipients");
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].text, L"Property unavailable");
    EXPECT_EQ(errors[1].number, OL_E_OBJECT_DELETED);
    // No progress step for the two failed items.
    EXPECT_EQ(w.progress[L"barProgress"].value, 20);
    // The safe mail object was set back to nothing after the failure, too.
    EXPECT_EQ(w.sim.faults.Calls(L"SafeMailItem.Item"), 2 * 22);

    // A failure collecting the items ends the gathering.
    w.sim.faults.Clear();
    w.sim.faults.FailNth(L"Items.GetNext", 3, HostError(E_FAIL, L"Store unavailable"));
    w.recipients.Reset();
    EXPECT_FALSE(w.Gather(w.Folder(olFolderInbox), {}));
    EXPECT_EQ(w.recipients.EmailRecipientCount(), 0);
    const auto outer = w.log.Of(LogLevel::Error, L"GetPlexaRecipients");
    ASSERT_EQ(outer.size(), 1u);
    EXPECT_EQ(outer[0].text, L"Store unavailable");

    // So does a missing safe-access library.
    w.sim.faults.FailWhen(
        [](std::wstring_view op, std::wstring_view detail) {
            return op == L"Redemption.Create" && detail == L"Redemption.SafeTaskItem";
        },
        HostError(static_cast<int32_t>(0x80040154), L"Class not registered"));
    EXPECT_FALSE(w.Gather(w.Folder(olFolderInbox), {mails[0]}));
    EXPECT_EQ(w.log.Of(LogLevel::Error, L"GetPlexaRecipients").size(), 2u);
}

}  // namespace
}  // namespace plexa
