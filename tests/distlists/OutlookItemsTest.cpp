// A folder's items as the list chooser sees them: the plain filter and sort, the advanced search
// over the folder's scope, switching between the two, and the folder's change events.
#include <gtest/gtest.h>

#include <vector>

#include "TestWorld.h"
#include "distlists/COutlookItems.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "sim/SimHost.h"
#include "sim/companions/SimCompanions.h"
#include "sim/store/FolderRecord.h"
#include "sim/store/ItemRecord.h"

namespace plexa {
namespace {

const std::wstring kLists = L"[MessageClass] = \"IPM.DistList\"";
const std::wstring kSubject = L"[Subject]";
const std::wstring kAdvSubject = L"urn:schemas:mailheader:subject";
const std::wstring kClassLike =
    L"\"http://schemas.microsoft.com/mapi/proptag/0x001a001e\" LIKE '%IPM.DistList%'";
const std::wstring kClubs = kClassLike + L" And urn:schemas:mailheader:subject LIKE '%club'";

struct ItemsWorld : test::TestWorld {
    ItemsWorld() {
        services.host.application = host.application;
        services.host.companions = &companions;
        contacts = host.session.DefaultFolder(olFolderContacts);
        clients = &host.session.AddFolder(*contacts, L"Clients", olContactItem);
        List(*contacts, L"Running club");
        List(*contacts, L"Book club");
        List(*contacts, L"Chess");
        List(*clients, L"Key accounts club");
        auto contact = host.session.AddItem(*contacts, olContact);
        contact->SetText(mapi::PR_SUBJECT, L"Ann Club");
    }
    std::shared_ptr<sim::ItemRecord> List(sim::FolderRecord& folder, const std::wstring& subject) {
        auto list = host.session.AddItem(folder, olDistributionList);
        list->SetText(mapi::PR_SUBJECT, subject);
        return list;
    }
    std::shared_ptr<MAPIFolder> Folder(sim::FolderRecord& folder) {
        return host.outlook.Folder(folder);
    }
    std::vector<std::wstring> Subjects() {
        std::vector<std::wstring> out;
        for (int32_t i = 1; i <= items.Count(); ++i) {
            out.push_back(items.Item(i)->Subject());
        }
        return out;
    }
    std::vector<std::wstring> Texts(LogLevel level, const std::wstring& source) {
        std::vector<std::wstring> out;
        for (const auto& entry : log.Of(level, source)) {
            out.push_back(entry.text);
        }
        return out;
    }
    int Calls(const wchar_t* op) { return sim.faults.Calls(op); }

    sim::SimHost host{sim};
    sim::SimCompanions companions{host.outlook};
    sim::FolderRecord* contacts = nullptr;
    sim::FolderRecord* clients = nullptr;
    COutlookItems items{services};
};

using Subjects = std::vector<std::wstring>;

TEST(OutlookItems, PlainModeFiltersSortsAndFollowsTheFolderUnlessLoaded) {
    ItemsWorld w;
    ASSERT_TRUE(w.items.Init(w.Folder(*w.contacts), kLists, kSubject, kAdvSubject, false));
    EXPECT_EQ(w.Texts(LogLevel::Debug, L"COutlookItems::Init"), Subjects{L"USE_EVENTS = 1"});
    EXPECT_FALSE(w.items.IsAdvancedRestrict());
    EXPECT_EQ(w.items.GetFolder()->Name(), L"Contacts");
    EXPECT_EQ(w.Subjects(), (Subjects{L"Book club", L"Chess", L"Running club"}));

    // Not loaded: every Count builds the set again and sees the folder as it is now.
    int restricts = w.Calls(L"Items.Restrict");
    EXPECT_EQ(w.items.Count(), 3);
    EXPECT_EQ(w.Calls(L"Items.Restrict"), restricts + 1);
    w.List(*w.contacts, L"Art club");
    EXPECT_EQ(w.items.Count(), 4);
    EXPECT_EQ(w.items.Item(1)->Subject(), L"Art club");

    // Loaded: one set serves every call until it is dropped.
    w.items.LoadItems();
    restricts = w.Calls(L"Items.Restrict");
    EXPECT_EQ(w.items.Count(), 4);
    EXPECT_EQ(w.items.Item(4)->Subject(), L"Running club");
    EXPECT_EQ(w.Calls(L"Items.Restrict"), restricts);
    w.items.SortDescending(true);  // rebuilds the loaded set
    EXPECT_EQ(w.Calls(L"Items.Restrict"), restricts + 1);
    EXPECT_EQ(w.items.Item(1)->Subject(), L"Running club");
    w.items.Restrict(kLists + L" And [Subject] >= \"C\" And [Subject] < \"D\"");
    EXPECT_EQ(w.Subjects(), Subjects{L"Chess"});
    w.items.UnLoadItems();
    w.items.Sort(L"");
    w.items.Restrict(L"");
    EXPECT_EQ(w.items.Count(), 5);  // every item, the contact too

    // A filter the host refuses: an empty set, and the reason in the log.
    w.items.Restrict(L"[NoSuchField] = 1");
    EXPECT_EQ(w.items.Count(), 0);
    EXPECT_THROW(w.items.Item(1), HostError);
    EXPECT_FALSE(w.log.Of(LogLevel::Error, L"COutlookItems::GetItems").empty());

    // New items go to the folder.
    w.items.Restrict(kLists);
    auto created = w.items.NewItem(olDistributionListItem);
    ASSERT_TRUE(created);
    EXPECT_EQ(created->Class(), olDistributionList);
    created->SetSubject(L"Zoo club");
    created->Save();
    EXPECT_EQ(w.items.Count(), 5);
    EXPECT_EQ(w.Texts(LogLevel::Debug, L"COutlookItems::NewItem").size(), 1U);
}

TEST(OutlookItems, AdvancedSearchRunsOverTheFolderScopeAndSwitchingModesDropsTheOther) {
    ItemsWorld w;
    ASSERT_TRUE(w.items.Init(w.Folder(*w.contacts), kLists, kSubject, kAdvSubject, false));
    w.items.LoadItems();

    w.items.AdvancedRestrict(kClubs);
    EXPECT_TRUE(w.items.IsAdvancedRestrict());
    EXPECT_EQ(w.items.AdvancedRestrict(), kClubs);
    // Only the folder itself, sorted by the advanced sort property.
    EXPECT_EQ(w.Subjects(), (Subjects{L"Book club", L"Running club"}));
    EXPECT_EQ(w.Texts(LogLevel::Debug, L"COutlookItems::AdvancedRestrict"),
              (Subjects{L"Scope = ''\\Personal Folders\\Contacts'', sFilter = '" + kClubs +
                            L"', sSort = 'urn:schemas:mailheader:subject', bDescending = '0'",
                        L"m_oAdvSearch.GetResults.Count = '2'"}));

    w.items.SortDescending(true);
    EXPECT_EQ(w.Subjects(), (Subjects{L"Running club", L"Book club"}));
    const int sorts = w.Calls(L"Results.Sort");
    w.items.AdvancedSort(kAdvSubject);
    EXPECT_EQ(w.Calls(L"Results.Sort"), sorts + 1);

    // The results are always loaded: loading or dropping them only says so.
    w.items.LoadItems();
    w.items.UnLoadItems();
    const std::wstring note = L"в режиме фильтрации через AdvancedSearch итемы всегда загружены";
    EXPECT_EQ(w.Texts(LogLevel::Warning, L"COutlookItems::LoadItems"), Subjects{note});
    EXPECT_EQ(w.Texts(LogLevel::Warning, L"COutlookItems::UnLoadItems"), Subjects{note});
    EXPECT_EQ(w.items.Count(), 2);

    // Back to plain mode: the search is gone (no re-sort reaches it) and the set loaded before
    // the switch was dropped (Count builds one again).
    w.items.Restrict(kLists);
    EXPECT_FALSE(w.items.IsAdvancedRestrict());
    w.items.AdvancedSort(kAdvSubject);
    EXPECT_EQ(w.Calls(L"Results.Sort"), sorts + 1);
    const int restricts = w.Calls(L"Items.Restrict");
    EXPECT_EQ(w.Subjects(), (Subjects{L"Running club", L"Chess", L"Book club"}));
    EXPECT_GT(w.Calls(L"Items.Restrict"), restricts);

    // A subfolder's scope names every folder from the store's top down.
    ASSERT_TRUE(w.items.Init(w.Folder(*w.clients), kLists, kSubject, kAdvSubject, false));
    w.items.AdvancedRestrict(kClassLike);
    EXPECT_EQ(w.Subjects(), Subjects{L"Key accounts club"});
    const auto traces = w.Texts(LogLevel::Debug, L"COutlookItems::AdvancedRestrict");
    ASSERT_GE(traces.size(), 2U);
    EXPECT_EQ(traces[traces.size() - 2].rfind(
                  L"Scope = ''\\Personal Folders\\Contacts\\Clients'', sFilter", 0),
              0U);
    EXPECT_TRUE(w.log.Of(LogLevel::Error).empty());
}

TEST(OutlookItems, NoSearchRunsOnAStoreTopAndAFailedSearchLeavesNoResults) {
    ItemsWorld w;
    auto top = std::dynamic_pointer_cast<MAPIFolder>(w.Folder(*w.contacts)->Parent());
    ASSERT_TRUE(top);
    ASSERT_TRUE(w.items.Init(top, kLists, kSubject, kAdvSubject, false));
    w.items.AdvancedRestrict(kClassLike);
    EXPECT_EQ(w.Texts(LogLevel::Error, L"COutlookItems::AdvancedRestrict"),
              Subjects{L"m_folder is personal folder!"});
    EXPECT_EQ(w.Calls(L"Companion.Create"), 0);
    EXPECT_TRUE(w.items.IsAdvancedRestrict());
    EXPECT_EQ(w.items.Count(), 0);
    // Re-sorting without a search fails its assertion and does nothing else.
    w.items.SortDescending(true);
    EXPECT_EQ(w.Texts(LogLevel::Error, L"CAdvancedSearch::Resort"),
              Subjects{L"ASSERT FAILED - HasObject"});

    // A search that fails does not leave the previous filter's results behind.
    ASSERT_TRUE(w.items.Init(w.Folder(*w.contacts), kLists, kSubject, kAdvSubject, false));
    w.items.AdvancedRestrict(kClubs);
    ASSERT_EQ(w.items.Count(), 2);
    w.sim.faults.FailNth(L"CAdvSearch.SyncSearch", 1, HostError(E_FAIL, L"search timed out"));
    w.items.AdvancedRestrict(kClassLike);
    EXPECT_EQ(w.items.Count(), 0);
    EXPECT_THROW(w.items.Item(1), HostError);
    auto failures = w.log.Of(LogLevel::Error, L"CAdvancedSearch::SyncSearch");
    ASSERT_EQ(failures.size(), 1U);
    EXPECT_EQ(failures[0].text, L"search timed out");

    // A filter the search cannot read, and a missing component, are logged the same way.
    w.items.AdvancedRestrict(L"urn:schemas:mailheader:subject LIKE");
    EXPECT_EQ(w.items.Count(), 0);
    w.services.host.companions = nullptr;
    w.items.AdvancedRestrict(kClubs);
    EXPECT_EQ(w.items.Count(), 0);
    failures = w.log.Of(LogLevel::Error, L"CAdvancedSearch::SyncSearch");
    ASSERT_EQ(failures.size(), 3U);
    EXPECT_EQ(failures[2].number, 429);
    w.services.host.companions = &w.companions;
    w.items.AdvancedRestrict(kClubs);
    EXPECT_EQ(w.items.Count(), 2);

    // Results that cannot be sorted are kept in the order found.
    w.sim.faults.FailNth(L"Results.Sort", 1, HostError(E_FAIL, L"cannot sort"));
    w.items.AdvancedRestrict(kClassLike);
    EXPECT_EQ(w.items.Count(), 3);
    EXPECT_EQ(w.log.Of(LogLevel::Error, L"CAdvancedSearch::SyncSearch").size(), 4U);

    // Without an advanced sort property nothing is sorted, then or later.
    ASSERT_TRUE(w.items.Init(w.Folder(*w.contacts), kLists, kSubject, L"", false));
    const int sorts = w.Calls(L"Results.Sort");
    w.items.AdvancedRestrict(kClubs);
    w.items.SortDescending(true);
    EXPECT_EQ(w.Subjects(), (Subjects{L"Running club", L"Book club"}));
    EXPECT_EQ(w.Calls(L"Results.Sort"), sorts);
    EXPECT_EQ(w.log.Of(LogLevel::Error, L"CAdvancedSearch::Resort").size(), 1U);
}

TEST(OutlookItems, InitThatFailsLeavesTheSetUnbound) {
    ItemsWorld w;
    EXPECT_FALSE(w.items.Init(nullptr, kLists, kSubject, kAdvSubject, false));
    EXPECT_EQ(w.log.Of(LogLevel::Error, L"COutlookItems::Init").size(), 1U);

    w.sim.faults.FailAlways(L"MAPIFolder.Items", HostError(E_FAIL, L"store offline"));
    EXPECT_FALSE(w.items.Init(w.Folder(*w.contacts), kLists, kSubject, kAdvSubject, false));
    w.sim.faults.Clear();
    EXPECT_EQ(w.log.Of(LogLevel::Error, L"COutlookItems::Init").size(), 2U);
    // Not half bound: no folder, so no unfiltered items either.
    EXPECT_FALSE(w.items.GetFolder());
    EXPECT_EQ(w.items.Count(), 0);
    EXPECT_THROW(w.items.NewItem(olDistributionListItem), HostError);
    w.items.AdvancedRestrict(kClubs);
    EXPECT_EQ(w.log.Of(LogLevel::Error, L"COutlookItems::AdvancedRestrict").size(), 1U);
}

TEST(OutlookItems, EachFolderEventRaisesOnChangeOnce) {
    ItemsWorld w;
    ASSERT_TRUE(w.items.Init(w.Folder(*w.contacts), kLists, kSubject, kAdvSubject, false));
    int changes = 0;
    auto conn = w.items.OnChange.Connect([&] { ++changes; });

    auto list = w.List(*w.contacts, L"Art club");
    EXPECT_EQ(changes, 1);
    auto item = w.host.outlook.Item(list);
    item->SetSubject(L"Arts club");
    item->Save();
    EXPECT_EQ(changes, 2);
    item->Delete();
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(w.Texts(LogLevel::Debug, L"COutlookItems::m_events_ItemAdd").size(), 1U);
    EXPECT_EQ(w.Texts(LogLevel::Debug, L"COutlookItems::m_events_ItemChange").size(), 1U);
    EXPECT_EQ(w.Texts(LogLevel::Debug, L"COutlookItems::m_events_ItemRemove").size(), 1U);
    // Another folder's changes are not this set's.
    w.List(*w.clients, L"Other club");
    EXPECT_EQ(changes, 3);

    // A loaded set is rebuilt before the owner hears of the change.
    w.items.LoadItems();
    int seen = 0;
    auto counting = w.items.OnChange.Connect([&] { seen = w.items.Count(); });
    const int restricts = w.Calls(L"Items.Restrict");
    w.List(*w.contacts, L"Bridge club");
    EXPECT_EQ(seen, 4);
    EXPECT_EQ(w.Calls(L"Items.Restrict"), restricts + 1);
    counting.Disconnect();

    // An owner's failure never reaches the host, and an owner may let go of the set from
    // within the event.
    auto failing =
        w.items.OnChange.Connect([] { throw HostError(E_FAIL, L"grid closed", L"frmChooseDL"); });
    EXPECT_NO_THROW(w.List(*w.contacts, L"Golf club"));
    failing.Disconnect();
    auto releasing = w.items.OnChange.Connect([&] { w.items.Done(); });
    w.List(*w.contacts, L"Tennis club");
    releasing.Disconnect();
    const int afterDone = changes;
    w.List(*w.contacts, L"Yoga club");
    EXPECT_EQ(changes, afterDone);

    // Stopped events stay stopped; a new binding observes its own folder only.
    ASSERT_TRUE(w.items.Init(w.Folder(*w.clients), kLists, kSubject, kAdvSubject, false));
    w.List(*w.contacts, L"Chess club");
    EXPECT_EQ(changes, afterDone);
    w.List(*w.clients, L"Partners");
    EXPECT_EQ(changes, afterDone + 1);
    w.items.StopEvents();
    w.List(*w.clients, L"Suppliers");
    EXPECT_EQ(changes, afterDone + 1);
}

}  // namespace
}  // namespace plexa
