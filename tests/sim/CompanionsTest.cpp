// The simulated advanced-search companion: DASL filters over a scope of folders, results that
// sort, and the errors of a bad filter or scope.
#include <gtest/gtest.h>

#include "TestWorld.h"
#include "core/Text.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "sim/SimHost.h"
#include "sim/companions/SimCompanions.h"
#include "sim/store/FolderRecord.h"
#include "sim/store/ItemRecord.h"
#include "sim/store/SimSession.h"

namespace plexa {
namespace {

const std::wstring kClassLike =
    L"\"http://schemas.microsoft.com/mapi/proptag/0x001a001e\" LIKE '%IPM.DistList%'";

struct SearchWorld : test::TestWorld {
    SearchWorld() {
        auto& session = host.session;
        contacts = session.DefaultFolder(olFolderContacts);
        clients = &session.AddFolder(*contacts, L"Clients", olContactItem);
        List(*contacts, L"Book club");
        List(*contacts, L"Running club");
        List(*clients, L"Key accounts club");
        auto contact = session.AddItem(*contacts, olContact);
        contact->SetText(mapi::PR_SUBJECT, L"Club member");
        contact->SetText(mapi::PR_MESSAGE_CLASS, L"IPM.Contact");
    }
    void List(sim::FolderRecord& folder, const std::wstring& subject) {
        auto list = host.session.AddItem(folder, olDistributionList);
        list->SetText(mapi::PR_SUBJECT, subject);
    }
    std::vector<std::wstring> Subjects(const std::shared_ptr<Results>& results) {
        std::vector<std::wstring> out;
        for (int32_t i = 1; i <= results->Count(); ++i) {
            out.push_back(results->Item(i)->Subject());
        }
        return out;
    }
    std::shared_ptr<Results> Run(const std::wstring& scope, const std::wstring& filter,
                                 bool subfolders = false) {
        return companions.CreateAdvSearch()
            ->SyncSearch(host.application, scope, filter, subfolders, L"tag")
            ->GetResults();
    }
    sim::SimHost host{sim};
    sim::SimCompanions companions{host.outlook};
    sim::FolderRecord* contacts = nullptr;
    sim::FolderRecord* clients = nullptr;
};

TEST(AdvancedSearch, FindsListsByClassAndSubjectInTheScope) {
    SearchWorld w;
    const std::wstring scope = L"'\\Personal Folders\\Contacts'";
    auto results = w.Run(scope, kClassLike + L" And urn:schemas:mailheader:subject LIKE '%CLUB'");
    results->Sort(L"urn:schemas:mailheader:subject", false);
    EXPECT_EQ(w.Subjects(results), (std::vector<std::wstring>{L"Book club", L"Running club"}));
    results->Sort(L"urn:schemas:mailheader:subject", true);
    EXPECT_EQ(w.Subjects(results), (std::vector<std::wstring>{L"Running club", L"Book club"}));

    // Subfolders only when asked; the text is matched at the end, as the pattern says.
    EXPECT_EQ(w.Run(scope, kClassLike, true)->Count(), 3);
    EXPECT_EQ(
        w.Run(scope, kClassLike + L" And urn:schemas:mailheader:subject LIKE '%Book'")->Count(), 0);
    EXPECT_EQ(w.Run(L"'\\Personal Folders\\Contacts\\Clients'", kClassLike)->Count(), 1);
    // Or and parentheses; "@SQL=" as the host's own Restrict writes it.
    EXPECT_EQ(w.Run(scope,
                    L"@SQL=(urn:schemas:httpmail:subject = 'book CLUB' Or "
                    L"urn:schemas:httpmail:subject LIKE 'Club%')")
                  ->Count(),
              2);
}

TEST(AdvancedSearch, RefusesBadFiltersScopesAndFailuresLikeTheHost) {
    SearchWorld w;
    const std::wstring scope = L"'\\Personal Folders\\Contacts'";
    for (const wchar_t* bad :
         {L"", L"urn:schemas:mailheader:subject LIKE %x%", L"urn:schemas:unknown:thing = 'x'",
          L"(urn:schemas:mailheader:subject = 'x'", L"urn:schemas:mailheader:subject ~ 'x'"}) {
        EXPECT_THROW(w.Run(scope, bad), HostError) << text::ToUtf8(bad);
    }
    for (const wchar_t* badScope : {L"\\Personal Folders\\Contacts", L"'\\Nowhere'",
                                    L"'\\Personal Folders\\Contacts\\Missing'", L"''"}) {
        EXPECT_THROW(w.Run(badScope, kClassLike), HostError) << text::ToUtf8(badScope);
    }
    auto results = w.Run(scope, kClassLike);
    EXPECT_THROW(results->Item(0), HostError);
    EXPECT_THROW(results->Sort(L"urn:schemas:unknown", false), HostError);

    w.sim.faults.FailNth(L"CAdvSearch.SyncSearch", 1, HostError(E_FAIL, L"search timed out"));
    EXPECT_THROW(w.Run(scope, kClassLike), HostError);
    EXPECT_EQ(w.Run(scope, kClassLike)->Count(), 2);
    w.sim.faults.FailAlways(L"Companion.Create", HostError(-2147221005, L"Invalid class string"));
    EXPECT_THROW(w.companions.CreateAdvSearch(), HostError);
}

TEST(AdvancedSearch, ContextMenuEventsNeedTheApplication) {
    SearchWorld w;
    auto events = w.companions.CreateContextMenuEvents();
    EXPECT_THROW(events->Init(nullptr), HostError);
    events->Init(w.host.application);
    EXPECT_EQ(w.companions.contextMenuEvents->InitialisedWith(), w.host.application);
    int closed = -1;
    auto conn = events->OnContextMenuClose.Connect([&](int32_t kind) { closed = kind; });
    w.companions.contextMenuEvents->OnContextMenuClose.Emit(2);
    EXPECT_EQ(closed, 2);
}

}  // namespace
}  // namespace plexa
