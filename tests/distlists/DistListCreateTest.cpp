// Creating and filling distribution lists on the simulated client: a new list from selected
// contacts, the three progress stages, a member the list rejects, a selection of only lists,
// the chooser cancelled or used, a cancel at every stage, a list that cannot be saved, and every
// host call of list creation failed once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FaultSweep.h"
#include "TestWorld.h"
#include "core/Text.h"
#include "distlists/mExplorerDL.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "platform/IUiShell.h"
#include "settings/CLang.h"
#include "settings/COptions.h"
#include "settings/IProgress.h"
#include "sim/SimDesktop.h"
#include "sim/store/SimSession.h"
#include "ui/CProgressWindow.h"
#include "ui/frmProgress.h"

namespace plexa {
namespace {

using sim::FolderRecord;
using sim::ItemRecord;

// Records the stages and steps, and cancels at the n-th step of a stage when asked.
class RecordingProgress : public IProgress {
public:
    void Init(int32_t stage, int32_t maximum) override {
        showing = true;
        current = stage;
        steps = 0;
        stages.push_back(std::to_wstring(stage) + L"/" + std::to_wstring(maximum));
    }
    bool Step() override {
        ++steps;
        return current == cancelStage && steps == cancelStep;
    }
    void Done() override {
        if (showing) {
            ++closed;
        }
        showing = false;
    }
    std::vector<std::wstring> stages;
    int32_t current = 0;
    int32_t steps = 0;
    int32_t cancelStage = 0;
    int32_t cancelStep = 1;
    bool showing = false;
    int closed = 0;
};

struct ListWorld : test::TestWorld {
    ListWorld() {
        services.host = desktop.Ports();
        contacts = session.DefaultFolder(olFolderContacts);
        // The texts of the English language file these tests read.
        services.Lang().ItemSet(L"LID_PROMPT_NORECIPIENTS",
                                L"No valid recipients were found in the selected items.");
        services.Lang().ItemSet(L"LID_TITLE_NORECIPIENTS", L"No Recipients");
        services.Lang().ItemSet(
            L"LID_PROMPT_DL_NOT_SAVED",
            L"The distribution list could not be saved, and the recipients were not added to "
            L"it.\nPlease try again. The Plexa log file has the details.");
        services.Lang().ItemSet(L"LID_TITLE_DL_NOT_SAVED", L"Distribution List Not Saved");
        services.Lang().ItemSet(L"LID_PROMPT_CHOOSE_DL",
                                L"There is no distribution list to choose in this folder.\nPlease "
                                L"select a contacts folder that contains distribution lists.");
        services.Lang().ItemSet(L"LID_TITLE_CHOOSE_DL", L"Choose Distribution List");
        services.Lang().ItemSet(L"LID_PROGRESS_STAGE1", L"Collecting recipients: item %d of %d");
        services.Lang().ItemSet(L"LID_PROGRESS_STAGE2", L"Resolving recipients: %d of %d");
        services.Lang().ItemSet(L"LID_PROGRESS_STAGE3", L"Adding recipients: %d of %d");
    }
    std::shared_ptr<ItemRecord> Contact(const std::wstring& name, const std::wstring& address) {
        auto contact = session.AddItem(*contacts, olContact);
        contact->SetText(mapi::PR_DISPLAY_NAME, name);
        session.SetContactEmail(*contact, 1, address);
        session.ContactEntry(*contact, 1);
        return contact;
    }
    std::vector<std::shared_ptr<ItemRecord>> Contacts(int n) {
        std::vector<std::shared_ptr<ItemRecord>> out;
        for (int i = 1; i <= n; ++i) {
            const std::wstring id = std::to_wstring(i);
            out.push_back(Contact(L"Person " + id, L"person" + id + L"@example.com"));
        }
        return out;
    }
    std::shared_ptr<ItemRecord> List(const std::wstring& subject) {
        auto list = session.AddItem(*contacts, olDistributionList);
        list->SetText(mapi::PR_SUBJECT, subject);
        return list;
    }
    // The lists of the Contacts folder: "subject: member, member".
    std::vector<std::wstring> Lists() {
        std::vector<std::wstring> out;
        for (const auto& item : contacts->Items()) {
            if (item->ObjectClass() != olDistributionList) {
                continue;
            }
            std::vector<std::wstring> members;
            for (const auto& member : item->listEntry->Members()) {
                members.push_back(member->name);
            }
            out.push_back(item->GetText(mapi::PR_SUBJECT) + L": " + text::Join(members, L", "));
        }
        return out;
    }
    bool Run(const std::vector<std::shared_ptr<ItemRecord>>& selected, bool bNew,
             IProgress& progress, bool bShowMessages = true) {
        auto explorer = desktop.OpenExplorer(*contacts);
        desktop.Select(explorer, selected);
        args = mExplorer::DisplayDLArgs{};
        args.bNew = bNew;
        args.bShowMessages = bShowMessages;
        return mExplorer::Explorer_DisplayDL_(services, progress,
                                              desktop.host.application->ActiveExplorer(), args);
    }
    std::vector<std::wstring> Errors(const std::wstring& source = L"") {
        std::vector<std::wstring> out;
        for (const auto& entry : log.Of(LogLevel::Error, source)) {
            out.push_back(entry.text);
        }
        return out;
    }

    sim::SimDesktop desktop{sim};
    sim::SimSession& session = desktop.host.session;
    FolderRecord* contacts = nullptr;
    mExplorer::DisplayDLArgs args;
};

TEST(DistListCreate, ANewListFromSelectedContactsHoldsThemAndOpens) {
    ListWorld w;
    auto people = w.Contacts(3);
    RecordingProgress progress;
    EXPECT_TRUE(w.Run(people, true, progress));
    EXPECT_EQ(w.Lists(), (std::vector<std::wstring>{L": Person 1, Person 2, Person 3"}));
    EXPECT_EQ(w.desktop.Inspectors().size(), 1U);
    // Fewer than 20 items: no progress at all.
    EXPECT_TRUE(progress.stages.empty());
    EXPECT_EQ(w.services.Options().GetCachedAction_(olContactItem, -1), 3);
    EXPECT_EQ(w.Errors(), std::vector<std::wstring>{});
}

TEST(DistListCreate, TwentyFiveContactsRunThroughThreeProgressStages) {
    ListWorld w;
    auto people = w.Contacts(25);
    frmProgress window{w.services};
    CProgressWindow progress{w.services, window};
    EXPECT_TRUE(w.Run(people, true, progress));
    ASSERT_EQ(w.Lists().size(), 1U);
    EXPECT_EQ(
        w.session.DefaultFolder(olFolderContacts)->Items().back()->listEntry->Members().size(),
        25U);
    EXPECT_FALSE(w.sim.ui.IsLoaded(window));

    ListWorld r;
    RecordingProgress recorder;
    EXPECT_TRUE(r.Run(r.Contacts(25), true, recorder));
    EXPECT_EQ(recorder.stages, (std::vector<std::wstring>{L"1/25", L"2/25", L"3/25"}));
    EXPECT_EQ(recorder.steps, 25);
    EXPECT_FALSE(recorder.showing);
}

TEST(DistListCreate, AMemberTheListRejectsIsLoggedAndTheOthersAreSaved) {
    ListWorld w;
    auto people = w.Contacts(3);
    w.sim.faults.FailWhen(
        [](std::wstring_view op, std::wstring_view detail) {
            return op == L"RDOMail.AddMember" &&
                   detail.find(L"Person 2") != std::wstring_view::npos;
        },
        HostError(0x80004005, L"The member cannot be added.", L"Redemption"));
    RecordingProgress progress;
    EXPECT_TRUE(w.Run(people, true, progress));
    EXPECT_EQ(w.Lists(), (std::vector<std::wstring>{L": Person 1, Person 3"}));
    const auto errors = w.Errors(L"mExplorer.Explorer_DisplayDL_AddRecipients");
    ASSERT_EQ(errors.size(), 1U);
    EXPECT_NE(errors[0].find(L"oRdoDL.AddMember(Person 2"), std::wstring::npos) << errors[0];
}

TEST(DistListCreate, ASelectionOfOnlyListsGivesNoRecipientsAndNoList) {
    ListWorld w;
    auto club = w.List(L"Book club");
    w.sim.ui.user.AnswerMsgBox(mb::IdOk, L"No valid recipients");
    RecordingProgress progress;
    EXPECT_FALSE(w.Run({club}, true, progress));
    EXPECT_TRUE(w.args.bNoRecipients);
    EXPECT_EQ(w.Lists(), (std::vector<std::wstring>{L"Book club: "}));
    EXPECT_TRUE(w.sim.ui.user.Empty());

    // Without messages: the same, silently.
    EXPECT_FALSE(w.Run({club}, true, progress, false));
    EXPECT_TRUE(w.args.bNoRecipients);
}

TEST(DistListCreate, TheExistingListCommandFillsTheChosenListAndChangesNothingWhenCancelled) {
    ListWorld w;
    auto people = w.Contacts(2);
    w.List(L"Book club");
    RecordingProgress progress;

    w.sim.ui.user.AnswerDialog(L"frmChooseDL", {}, L"btnCancel");
    EXPECT_FALSE(w.Run(people, false, progress));
    EXPECT_EQ(w.Lists(), (std::vector<std::wstring>{L"Book club: "}));
    EXPECT_TRUE(w.desktop.Inspectors().empty());
    EXPECT_EQ(w.services.Options().GetCachedAction_(olContactItem, -1), 4);

    w.sim.ui.user.AnswerDialog(L"frmChooseDL", {{L"ctlGrid", L"Book club"}}, L"btnNext");
    EXPECT_TRUE(w.Run(people, false, progress));
    EXPECT_EQ(w.Lists(), (std::vector<std::wstring>{L"Book club: Person 1, Person 2"}));
    EXPECT_EQ(w.desktop.Inspectors().size(), 1U);
    EXPECT_TRUE(w.sim.ui.user.Empty());
}

TEST(DistListCreate, ACancelAtEveryStageClosesTheProgress) {
    for (int stage = 1; stage <= 3; ++stage) {
        ListWorld w;
        RecordingProgress progress;
        progress.cancelStage = stage;
        progress.cancelStep = 2;
        const bool displayed = w.Run(w.Contacts(25), true, progress);
        EXPECT_FALSE(progress.showing) << "stage " << stage;
        if (stage < 3) {
            // Nothing was made, nothing said.
            EXPECT_FALSE(displayed) << "stage " << stage;
            EXPECT_TRUE(w.Lists().empty()) << "stage " << stage;
            EXPECT_FALSE(w.args.bNoRecipients);
        } else {
            // The members added so far stay, and the list opens.
            EXPECT_TRUE(displayed);
            EXPECT_EQ(w.Lists(), (std::vector<std::wstring>{L": Person 1, Person 2"}));
        }
        EXPECT_TRUE(w.sim.ui.Prompts().empty()) << "stage " << stage;
    }

    // The chooser cancelled after two stages: the progress closes too.
    ListWorld w;
    w.List(L"Book club");
    RecordingProgress progress;
    w.sim.ui.user.AnswerDialog(L"frmChooseDL", {}, L"btnCancel");
    EXPECT_FALSE(w.Run(w.Contacts(25), false, progress));
    EXPECT_EQ(progress.stages, (std::vector<std::wstring>{L"1/25", L"2/25"}));
    EXPECT_FALSE(progress.showing);
    EXPECT_EQ(w.Lists(), (std::vector<std::wstring>{L"Book club: "}));
}

TEST(DistListCreate, AListThatCannotBeSavedIsToldAndANewOneDoesNotStay) {
    ListWorld w;
    auto people = w.Contacts(2);
    w.sim.faults.FailAlways(L"RDOMail.Save",
                            HostError(0x80040109, L"The list could not be saved.", L"Redemption"));
    w.sim.ui.user.AnswerMsgBox(mb::IdOk, L"could not be saved");
    RecordingProgress progress;
    EXPECT_FALSE(w.Run(people, true, progress));
    EXPECT_TRUE(w.Lists().empty());
    EXPECT_TRUE(w.desktop.Inspectors().empty());
    EXPECT_FALSE(w.Errors(L"mExplorer.Explorer_DisplayDL_AddRecipients").empty());
    EXPECT_TRUE(w.sim.ui.user.Empty());

    // Silent: logged only.
    EXPECT_FALSE(w.Run(people, true, progress, false));
    EXPECT_TRUE(w.Lists().empty());
}

// Every host call that creating a list from 25 contacts makes, failed once in turn: the call
// returns, the progress window is closed, and no list stays behind unfilled.
struct SweepWorld : ListWorld {
    SweepWorld() {
        people = Contacts(25);
        desktop.Select(desktop.OpenExplorer(*contacts), people);
        explorer = desktop.host.application->ActiveExplorer();
    }
    void CreateList() {
        args = mExplorer::DisplayDLArgs{};
        args.bShowMessages = false;
        mExplorer::Explorer_DisplayDL_(services, progress, explorer, args);
    }
    std::vector<std::shared_ptr<ItemRecord>> people;
    std::shared_ptr<Explorer> explorer;
    frmProgress window{services};
    CProgressWindow progress{services, window};
};

TEST(DistListCreate, EveryHostCallFailedOnceLeavesNoOpenProgressAndNoEmptyList) {
    const auto result = test::SweepHostCalls(
        "list creation", [] { return std::make_unique<SweepWorld>(); },
        [](SweepWorld& w) { w.CreateList(); },
        [](SweepWorld& w, const test::SweepPoint& p) {
            // A progress window whose unloading was the failed call is hidden, not unloaded.
            if (p.op != L"UiShell.Unload") {
                EXPECT_FALSE(w.sim.ui.IsLoaded(w.window)) << p.Describe();
            }
            for (const auto& item : w.contacts->Items()) {
                if (item->ObjectClass() == olDistributionList) {
                    // A list stays only filled (one member may have been refused).
                    EXPECT_GE(item->listEntry->Members().size(), 24U) << p.Describe();
                }
            }
        });
    EXPECT_GT(result.points, 100);
}

}  // namespace
}  // namespace plexa
