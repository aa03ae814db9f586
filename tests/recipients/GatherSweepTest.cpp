// Gathering and resolving with every host call they make failed once in turn: nothing escapes,
// a failure is logged once, the progress window closes, and no recipient is lost or invented
// without an error entry saying so.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "FaultSweep.h"
#include "core/Text.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "recipients/CRecipients.h"
#include "recipients/mPlexa.h"
#include "settings/CLang.h"
#include "settings/COptions.h"
#include "sim/SimDesktop.h"
#include "sim/store/SimSession.h"
#include "ui/CProgressWindow.h"
#include "ui/frmProgress.h"

namespace plexa {
namespace {

using namespace mPlexa;
using sim::FolderRecord;
using sim::ItemRecord;
using Lines = std::vector<std::wstring>;

// A folder of every item class gathering knows, enough of them for the progress window, and
// an address book that resolves some of the names.
struct SweepWorld : test::TestWorld {
    SweepWorld() {
        services.host = desktop.Ports();
        services.Options().IncludeCC(true);
        for (int stage = 1; stage <= 3; ++stage) {
            services.Lang().ItemSet(L"LID_PROGRESS_STAGE" + std::to_wstring(stage),
                                    L"Stage " + std::to_wstring(stage) + L": %d of %d");
        }
        auto& book = session.addressBook;
        book.AddSmtp(L"Ann Smith", L"ann@acme.example");
        book.AddSmtp(L"Bob Lee", L"bob@lee.example");
        book.AddExchange(L"Dana Whitfield", L"/o=Acme/ou=Exchange/cn=Recipients/cn=dana",
                         L"Dana.Whitfield@Acme.example");
        book.AddList(L"Book club");

        FolderRecord& inbox = *session.DefaultFolder(olFolderInbox);
        FolderRecord& projects = session.AddFolder(inbox, L"Projects", olMailItem);
        folder = &projects;
        for (int i = 1; i <= 14; ++i) {
            auto mail = session.AddItem(projects, olMail);
            mail->SetText(mapi::PR_SENT_REPRESENTING_NAME, L"Sender " + std::to_wstring(i));
            mail->SetText(mapi::PR_SENT_REPRESENTING_EMAIL_ADDRESS,
                          L"sender" + std::to_wstring(i) + L"@example.com");
        }
        auto fromAnn = session.AddItem(projects, olMail);
        fromAnn->SetText(mapi::PR_SENT_REPRESENTING_NAME, L"Ann Smith");
        fromAnn->SetText(mapi::PR_SENT_REPRESENTING_EMAIL_ADDRESS, L"ann@acme.example");

        auto carla = Contact(projects, L"Carla Diaz", {L"carla@diaz.example", L"cd@diaz.example"});
        auto meeting = session.AddItem(projects, olAppointment);
        session.ResolveRecipient(*meeting->AddRecipient(L"Bob Lee", olTo));
        meeting->links.push_back({L"Carla Diaz", olLinkContact, carla->EntryID(), L""});
        auto task = session.AddItem(projects, olTask);
        session.ResolveRecipient(*task->AddRecipient(L"Dana Whitfield", olTo));
        auto list = session.AddItem(projects, olDistributionList);
        list->SetText(mapi::PR_SUBJECT, L"Book club");
        session.AddItem(projects, olNote);
        Contact(projects, L"Eve Park", {L"eve@park.example"});

        // Mails of one's own, for gathering a selection.
        FolderRecord& sent = *session.DefaultFolder(olFolderSentMail);
        auto outgoing = session.AddItem(sent, olMail);
        for (const auto& [name, type] :
             {std::pair{L"Bob Lee", olTo}, {L"Ann Smith", olCC}, {L"Dana Whitfield", olBCC}}) {
            session.ResolveRecipient(*outgoing->AddRecipient(name, type));
        }
        selected = {outgoing};
    }

    std::shared_ptr<ItemRecord> Contact(FolderRecord& in, const std::wstring& fullName,
                                        std::initializer_list<std::wstring> addresses) {
        auto contact = session.AddItem(in, olContact);
        contact->SetText(mapi::PR_DISPLAY_NAME, fullName);
        int slot = 1;
        for (const auto& address : addresses) {
            session.SetContactEmail(*contact, slot, address);
            session.ContactEntry(*contact, slot);
            ++slot;
        }
        return contact;
    }

    // What a command does: gathers, and closes the progress window gathering left open.
    void GatherFolder() {
        const GatherResult gathered =
            GetPlexaRecipients(services, esFromFolder, recipients, true, progressWindow,
                               desktop.host.outlook.Folder(*folder), 0);
        result = gathered.gathered;
        if (gathered.bUseProgressWND) {
            progressWindow.Done();
        }
    }
    // The user's folder window on Sent Items, with the selection made.
    void SelectOutgoing() {
        auto explorer = desktop.OpenExplorer(*session.DefaultFolder(olFolderSentMail));
        desktop.Select(explorer, selected);
    }
    void GatherSelection() {
        const GatherResult gathered = GetPlexaRecipients(services, esFromSelection, recipients,
                                                         true, progressWindow, nullptr, 0);
        result = gathered.gathered;
        if (gathered.bUseProgressWND) {
            progressWindow.Done();
        }
    }
    // Resolves what was gathered, with the progress window, and closes it.
    void Resolve() {
        result = recipients.Resolve(services, progressWindow, true).resolved;
        progressWindow.Done();
    }

    // What was gathered: "address [names] ids" each, then "name:name" each.
    Lines Gathered() const {
        Lines out;
        for (int32_t i = 1; i <= recipients.EmailRecipientCount(); ++i) {
            const auto& r = recipients.EmailRecipient(i);
            out.push_back(r.Email + L" [" + text::Join(r.Names.Items(), L",") + L"] " +
                          text::Join(r.AssocItemIDs.Items(), L","));
        }
        for (int32_t i = 1; i <= recipients.NameRecipientCount(); ++i) {
            out.push_back(L"name:" + recipients.NameRecipient(i).Name);
        }
        return out;
    }
    Lines Resolved() const {
        Lines out;
        for (int32_t i = 1; i <= recipients.GetResolvedCount(); ++i) {
            out.push_back(recipients.GetResolvedName(i) + L" " +
                          text::Join(recipients.GetResolvedAssocItemIDs(i).Items(), L","));
        }
        return out;
    }

    sim::SimDesktop desktop{sim};
    sim::SimSession& session = desktop.host.session;
    FolderRecord* folder = nullptr;
    std::vector<std::shared_ptr<ItemRecord>> selected;
    CRecipients recipients;
    frmProgress progress{services};
    CProgressWindow progressWindow{services, progress};
    bool result = false;
};

// The names gathered, of recipients with and without an address.
std::set<std::wstring> NamesOf(const CRecipients& recipients) {
    std::set<std::wstring> names;
    for (int32_t i = 1; i <= recipients.EmailRecipientCount(); ++i) {
        for (const auto& name : recipients.EmailRecipient(i).Names.Items()) {
            names.insert(name);
        }
    }
    for (int32_t i = 1; i <= recipients.NameRecipientCount(); ++i) {
        names.insert(recipients.NameRecipient(i).Name);
    }
    return names;
}

// The promise of a gathering: a failure may cost recipients or their addresses, but only with
// an error entry saying so, and never brings a person the run without a fault did not find.
// The one exception is the behaviour's own: a contact behind a link that cannot be opened comes
// by its name, which is no error.
void ExpectNothingLostSilently(const SweepWorld& w, const test::SweepPoint& point,
                               const Lines& clean, const std::set<std::wstring>& cleanNames,
                               bool cleanResult) {
    const std::set<std::wstring> names = NamesOf(w.recipients);
    EXPECT_TRUE(std::includes(cleanNames.begin(), cleanNames.end(), names.begin(), names.end()))
        << point.Describe() << ": a recipient was invented";
    if (point.errors.empty() && point.op != L"Link.Item") {
        EXPECT_EQ(w.Gathered(), clean) << point.Describe() << ": recipients lost without an error";
        EXPECT_EQ(w.result, cleanResult) << point.Describe();
    }
}

TEST(GatherSweep, EveryHostCallOfGatheringAFolderFailedOnce) {
    Lines clean;
    std::set<std::wstring> cleanNames;
    bool cleanResult = false;
    const auto result = test::SweepHostCalls(
        "gathering a folder", [] { return std::make_unique<SweepWorld>(); },
        [](SweepWorld& w) { w.GatherFolder(); },
        [&](SweepWorld& w, const test::SweepPoint& point) {
            if (point.n == 0) {
                clean = w.Gathered();
                cleanNames = NamesOf(w.recipients);
                cleanResult = w.result;
                EXPECT_TRUE(w.result);
                EXPECT_EQ(clean.size(), 20u);
                return;
            }
            ExpectNothingLostSilently(w, point, clean, cleanNames, cleanResult);
        });
    EXPECT_GT(result.points, 100);
    // Every kind of call gathering makes was failed: the items, the safe objects, the window.
    for (const wchar_t* op :
         {L"Items.GetNext", L"SafeMailItem.Fields", L"SafeRecipients.Item", L"Links.Item",
          L"MAPIUtils.GetIDsFromNames", L"UiShell.Show", L"Windows.DoEvents", L"UiShell.Unload"}) {
        EXPECT_TRUE(result.failedByOp.contains(op)) << text::ToUtf8(op);
    }
}

TEST(GatherSweep, EveryHostCallOfGatheringASelectionFailedOnce) {
    Lines clean;
    std::set<std::wstring> cleanNames;
    bool cleanResult = false;
    const auto result = test::SweepHostCalls(
        "gathering a selection",
        [] {
            auto w = std::make_unique<SweepWorld>();
            w->SelectOutgoing();
            return w;
        },
        [](SweepWorld& w) { w.GatherSelection(); },
        [&](SweepWorld& w, const test::SweepPoint& point) {
            if (point.n == 0) {
                clean = w.Gathered();
                cleanNames = NamesOf(w.recipients);
                cleanResult = w.result;
                EXPECT_EQ(clean,
                          (Lines{L"bob@lee.example [Bob Lee] ", L"ann@acme.example [Ann Smith] "}));
                return;
            }
            ExpectNothingLostSilently(w, point, clean, cleanNames, cleanResult);
        });
    EXPECT_TRUE(result.failedByOp.contains(L"Selection.Item"));
}

TEST(GatherSweep, EveryHostCallOfResolvingFailedOnce) {
    const auto makeWorld = [] {
        auto w = std::make_unique<SweepWorld>();
        CRecipients& r = w->recipients;
        r.AddRecipient(L"Ann Smith", L"ann@acme.example", L"id1");
        r.AddRecipient(L"ANN", L"Ann@Acme.example", L"id2");
        r.AddRecipient(L"Dana Whitfield", L"dana.whitfield@acme.example", L"");
        r.AddRecipient(L"Nobody", L"nobody@nowhere.example", L"id3");
        r.AddRecipient(L"Book club", L"", L"");
        r.AddRecipient(L"Unknown list", L"", L"");
        return w;
    };
    Lines clean;
    const auto result = test::SweepHostCalls(
        "resolving", makeWorld, [](SweepWorld& w) { w.Resolve(); },
        [&](SweepWorld& w, const test::SweepPoint& point) {
            const Lines resolved = w.Resolved();
            if (point.n == 0) {
                clean = resolved;
                EXPECT_EQ(clean, (Lines{L"Ann Smith id1,id2", L"Dana Whitfield ",
                                        L"Nobody <nobody@nowhere.example> id3", L"Book club "}));
                return;
            }
            // A failure may leave recipients unresolved, but only with an error entry saying so.
            // Without one, each is resolved with its items: by the same display string, or (when
            // its address could not be read back, which is no error) by "name <address>" or by
            // another of its names.
            if (point.errors.empty()) {
                ASSERT_EQ(resolved.size(), clean.size())
                    << point.Describe() << ": recipients lost without an error";
                for (std::size_t i = 0; i < clean.size(); ++i) {
                    const std::wstring& address =
                        i < 3 ? w.recipients.EmailRecipient(static_cast<int32_t>(i + 1)).Email
                              : std::wstring();
                    const bool same = resolved[i] == clean[i];
                    const bool byAddress =
                        !address.empty() &&
                        text::EndsWithNoCase(resolved[i].substr(0, resolved[i].rfind(L' ')),
                                             L"<" + address + L">") &&
                        resolved[i].substr(resolved[i].rfind(L' ')) ==
                            clean[i].substr(clean[i].rfind(L' '));
                    // Or by another of its names that resolves to the same entry ("ANN" is a
                    // unique beginning of "Ann Smith").
                    bool byOtherName = false;
                    if (i < 3) {
                        const auto& names =
                            w.recipients.EmailRecipient(static_cast<int32_t>(i + 1)).Names.Items();
                        const std::wstring shown = resolved[i].substr(0, resolved[i].rfind(L' '));
                        byOtherName = std::find(names.begin(), names.end(), shown) != names.end() &&
                                      resolved[i].substr(resolved[i].rfind(L' ')) ==
                                          clean[i].substr(clean[i].rfind(L' '));
                    }
                    EXPECT_TRUE(same || byAddress || byOtherName)
                        << point.Describe() << ": " << text::ToUtf8(clean[i]) << " became "
                        << text::ToUtf8(resolved[i]);
                }
            }
        });
    EXPECT_TRUE(result.failedByOp.contains(L"SafeRecipient.Resolve"));
    EXPECT_TRUE(result.failedByOp.contains(L"Application.CreateItem"));
}

TEST(GatherSweep, AHostThatGoesAwayMidwayEndsGatheringWithOneError) {
    SweepWorld w;
    // The client goes away after the progress window opened: every later call fails.
    w.sim.faults.FailWhen(
        [&](std::wstring_view op, std::wstring_view) {
            if (op == L"UiShell.Show") {
                w.sim.faults.KillHost();
            }
            return false;
        },
        HostError(E_FAIL, L"unused"));
    w.GatherFolder();
    EXPECT_TRUE(w.sim.faults.HostKilled());
    EXPECT_GT(w.sim.faults.Injected(), 20);
    // Each item failed on its own, logged once each; the window could not even be closed.
    EXPECT_EQ(w.recipients.EmailRecipientCount(), 0);
    for (const auto& entry : w.log.Of(LogLevel::Error)) {
        EXPECT_EQ(entry.number, sim::Faults::HostGone().Number());
    }
    // Back again, the next gathering first closes the window left behind.
    w.sim.faults.Clear();
    EXPECT_FALSE(w.sim.faults.HostKilled());
    w.GatherFolder();
    EXPECT_TRUE(w.result);
    EXPECT_EQ(w.recipients.EmailRecipientCount(), 19);
    EXPECT_EQ(w.sim.ui.OpenFormCount(), 0);
}

}  // namespace
}  // namespace plexa
