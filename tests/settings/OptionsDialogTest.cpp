// The options dialog, opened as the add-in's options commands open it (Connect::ShowOptions) on
// the simulated client with the shipped English language file: loading and clamping, the pages
// and what each host version hides, the flag table, saving, Cancel, Help, the on-top activation,
// the message windows' toolbars rebuilt only when their look changed, and a sweep that fails
// each host call of opening, changing and confirming the dialog.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "FaultSweep.h"
#include "TestWorld.h"
#include "addin/Connect.h"
#include "core/ImageCombo.h"
#include "host/outlook/OlConstants.h"
#include "separate/mUserProps.h"
#include "settings/frmOptions.h"
#include "sim/SimDesktop.h"
#include "sim/windows/ScriptError.h"
#include "sim/windows/mFormDump.h"

namespace plexa {
namespace {

const std::wstring kKey = L"HKEY_CURRENT_USER\\Software\\Orvin\\Plexa";
const std::wstring kFolder = L"C:\\Program Files\\Orvin\\Plexa";

std::string ReadSource(const std::string& name) {
    std::ifstream in(std::string(PLEXA_SOURCE_DIR) + "/resources/" + name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A ribbon that remembers what the add-in asked it to refresh.
class RecordingRibbon : public IRibbonUI {
public:
    void Invalidate() override { calls.emplace_back(L"*"); }
    void InvalidateControl(const std::wstring& id) override { calls.push_back(id); }
    std::vector<std::wstring> calls;
};

// The client of a version, with the English language file installed and the add-in connected;
// a folder window open, so that message windows get their wrappers.
struct OptionsWorld : test::TestWorld {
    explicit OptionsWorld(int32_t version = 11) {
        sim.host.SetVersion(std::to_wstring(version) + L".0.6423.1000");
        desktop.host.session.outlookMajorVersion = version;
        WriteFile(kFolder + L"\\English.lng", ReadSource("English.lng"));
        services.host = desktop.Ports();
        connect->IDTExtensibility2_OnConnection(desktop.host.application, 0, nullptr, {});
        connect->IDTExtensibility2_OnStartupComplete({});
        explorer = desktop.OpenExplorer(olFolderInbox);
    }
    ~OptionsWorld() {
        connect->IDTExtensibility2_OnDisconnection(0, {});
        services.host = {};
    }
    OptionsWorld(const OptionsWorld&) = delete;
    OptionsWorld& operator=(const OptionsWorld&) = delete;

    void Put(const std::wstring& name, uint32_t value) { sim.registry.PutDword(kKey, name, value); }
    // The stored number; nullopt when the value is missing or no number.
    std::optional<uint32_t> Stored(const std::wstring& name) const {
        uint32_t type = 0;
        std::vector<uint8_t> data;
        if (!sim.registry.GetRaw(kKey, name, type, data) || type != reg::RegDword ||
            data.size() != 4) {
            return std::nullopt;
        }
        return data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24);
    }
    // A message window composed through the add-in (it gets a wrapper and a toolbar).
    void OpenMarkedMessage() {
        auto mail = std::dynamic_pointer_cast<MailItem>(desktop.host.application->CreateItem(0));
        mail->SetSubject(L"Composed through Plexa");
        mUserProps::SetShowToolbar(mail, false);
        mail->Save();
        desktop.OpenInspector(mail);
    }
    // One dialog step; look receives what the dialog shows once the values are in.
    void Step(std::vector<std::pair<std::wstring, std::wstring>> values, std::wstring press,
              std::vector<std::wstring>* look = nullptr) {
        sim.ui.user.AnswerDialog(L"frmOptions", std::move(values), std::move(press),
                                 [look](const Form& form) {
                                     if (look != nullptr) {
                                         *look = sim::mFormDump::DumpForm(form);
                                     }
                                 });
    }
    int Logged(const std::wstring& source, const std::wstring& part = L"") const {
        int count = 0;
        for (const LogEntry& e : log.entries) {
            count += e.source == source && e.text.find(part) != std::wstring::npos ? 1 : 0;
        }
        return count;
    }

    sim::SimHost host{sim};
    sim::SimDesktop desktop{sim, host};
    std::shared_ptr<Connect> connect = std::make_shared<Connect>(services);
    std::shared_ptr<sim::SimExplorer> explorer;
};

const ImageCombo& FlagComboOf(const Form& form) {
    for (const auto& control : form.Controls()) {
        if (control->Name() == L"cboFlag") {
            return dynamic_cast<const ImageCombo&>(*control);
        }
    }
    throw std::logic_error("no cboFlag");
}

bool Shows(const std::vector<std::wstring>& dump, const std::wstring& line) {
    return std::find(dump.begin(), dump.end(), line) != dump.end();
}

// Whether the dump has a line for the control (of any kind).
bool HasControl(const std::vector<std::wstring>& dump, const std::wstring& name) {
    for (const std::wstring& line : dump) {
        const auto parts = text::Split(text::Trim(line), L" ");
        if (parts.size() >= 2 && parts[1] == name) {
            return true;
        }
    }
    return false;
}

TEST(OptionsDialog, LoadsTheSettingsOntoThreeLocalisedPagesAndCancelStoresNothing) {
    OptionsWorld w;
    w.Put(L"ExcludeReplied", 1);
    w.Put(L"IncludeBCC", 1);
    w.Put(L"InspectorToolbar.Separate", 0);
    w.Put(L"GroupRecipients", 5000);
    w.Put(L"GroupInterval", 0);
    w.Put(L"Flag", 2);
    w.Put(L"Flag2003", 4);
    w.Put(L"DefaultSendMode", 0);
    const std::string before = w.sim.registry.Export();

    std::vector<std::wstring> page1;
    std::vector<std::wstring> page2;
    std::vector<std::wstring> page3;
    w.Step({}, L"", &page1);
    w.Step({{L"ctlTabs", L"2"}}, L"", &page2);
    w.Step({{L"ctlTabs", L"Send Separately"}}, L"btnCancel", &page3);
    w.connect->ShowOptions(false);
    EXPECT_TRUE(w.sim.ui.user.Empty());

    // Texts from the language file, the tabs from the hidden labels; only the page in front.
    EXPECT_EQ(page1.front(), L"dialog frmOptions \"Plexa - Options\"");
    EXPECT_TRUE(Shows(page1,
                      L"  TabStrip ctlTabs >\"Recipient List\" | \"Appearance\" | "
                      L"\"Send Separately\""));
    EXPECT_TRUE(Shows(page1,
                      L"  CheckBox chkExcludeDuplicates \"Exclude duplicate e-mail "
                      L"addresses\" = 1"));
    EXPECT_TRUE(Shows(page1,
                      L"  CheckBox chkExcludeReplied \"Exclude e-mail messages already "
                      L"replied to\" = 1"));
    EXPECT_TRUE(Shows(page1, L"  CheckBox chkIncludeCC \"Recipients in the Cc box\" = 1"));
    EXPECT_TRUE(Shows(page1, L"  CheckBox chkIncludeBCC \"Recipients in the Bcc box\" = 1"));
    EXPECT_TRUE(Shows(page1, L"  CommandButton btnHelp \"&Help\""));
    EXPECT_FALSE(HasControl(page1, L"lblTab1"));
    EXPECT_FALSE(HasControl(page1, L"chkSeparateBar"));
    EXPECT_FALSE(HasControl(page1, L"txtGroupRecipients"));

    // Outlook 2003: the toolbar switch, not the tab switch; the yellow flag preselected.
    EXPECT_TRUE(Shows(page2,
                      L"  TabStrip ctlTabs \"Recipient List\" | >\"Appearance\" | "
                      L"\"Send Separately\""));
    EXPECT_TRUE(Shows(page2, L"  CheckBox chkSeparateBar \"Show a separate toolbar\" = 0"));
    EXPECT_FALSE(HasControl(page2, L"chkSeparateTab"));
    EXPECT_TRUE(Shows(page2, L"  ImageCombo cboFlag = \"Yellow Flag\" <yellow> of 6"));
    EXPECT_TRUE(Shows(page2,
                      L"  CheckBox chkClearMarking \"Remove the flag when the message is "
                      L"sent\" = 1"));
    EXPECT_FALSE(HasControl(page2, L"chkExcludeDuplicates"));

    // Numbers kept to their ranges; the default mode unticked for 0.
    EXPECT_TRUE(Shows(page3, L"  TextBox txtGroupRecipients = \"1000\""));
    EXPECT_TRUE(Shows(page3, L"  UpDown udGroupRecipients = 1000"));
    EXPECT_TRUE(Shows(page3, L"  TextBox txtGroupInterval = \"1\""));
    EXPECT_TRUE(Shows(page3,
                      L"  CheckBox chkSeparatlyDefault \"By default, send a separate "
                      L"e-mail to each recipient\" = 0"));

    // Cancel: the clamped values were only shown. Nothing was logged but the tracing.
    EXPECT_EQ(w.sim.registry.Export(), before);
    EXPECT_EQ(w.sim.ui.OpenFormCount(), 0);
    EXPECT_TRUE(w.log.Of(LogLevel::Error).empty());
    EXPECT_TRUE(w.log.Of(LogLevel::Warning).empty());
    EXPECT_EQ(w.Logged(L"frmOptions->Activate"), 0);
}

TEST(OptionsDialog, OkWritesEverySettingWithNumbersKeptToTheirRanges) {
    OptionsWorld w;
    // A clean registry: OK writes every setting, as shown.
    w.Step({}, L"btnOK");
    w.connect->ShowOptions(false);
    const std::map<std::wstring, uint32_t> defaults = {
        {L"ExcludeDuplicates", 1},
        {L"ExcludePrivateContacts", 0},
        {L"ExcludeReplied", 0},
        {L"ExcludeLinkItems", 0},
        {L"FlagEnabled", 0},
        {L"ClearMarking", 1},
        {L"Flag", 2},
        {L"Flag2003", 6},  // the first choice, red
        {L"InspectorToolbar.Separate", 1},
        {L"InspectorToolbar.Separate2007", 0},
        {L"InspectorToolbar.BtnCaptions", 1},
        {L"IncludeCC", 1},
        {L"IncludeBCC", 0},
        {L"GroupRecipients", 20},
        {L"GroupInterval", 5},
        {L"DefaultSendMode", 1},
    };
    for (const auto& [name, value] : defaults) {
        EXPECT_EQ(w.Stored(name), value) << text::ToUtf8(name);
    }

    // 0 saves 1, 2000 saves 1440; each box and the flag as chosen.
    w.Step({{L"chkExcludeDuplicates", L"0"},
            {L"chkExcludeLinkItems", L"1"},
            {L"chkIncludeBCC", L"1"},
            {L"ctlTabs", L"Appearance"},
            {L"chkMarkWithFlag", L"1"},
            {L"cboFlag", L"Purple Flag"},
            {L"chkClearMarking", L"0"},
            {L"ctlTabs", L"3"},
            {L"chkSeparatlyDefault", L"0"},
            {L"txtGroupRecipients", L"0"},
            {L"txtGroupInterval", L"2000"}},
           L"btnOK");
    w.connect->ShowOptions(false);
    EXPECT_EQ(w.Stored(L"ExcludeDuplicates"), 0U);
    EXPECT_EQ(w.Stored(L"ExcludeLinkItems"), 1U);
    EXPECT_EQ(w.Stored(L"IncludeBCC"), 1U);
    EXPECT_EQ(w.Stored(L"FlagEnabled"), 1U);
    EXPECT_EQ(w.Stored(L"Flag"), 2U);
    EXPECT_EQ(w.Stored(L"Flag2003"), 1U);
    EXPECT_EQ(w.Stored(L"ClearMarking"), 0U);
    EXPECT_EQ(w.Stored(L"DefaultSendMode"), 0U);
    EXPECT_EQ(w.Stored(L"GroupRecipients"), 1U);
    EXPECT_EQ(w.Stored(L"GroupInterval"), 1440U);

    // 5000 saves 1000; letters save what the up-down control shows; ties go to the even number;
    // a number far beyond the range is kept to it.
    w.Step({{L"ctlTabs", L"3"},
            {L"chkSeparatlyDefault", L"1"},
            {L"txtGroupRecipients", L"5000"},
            {L"udGroupInterval", L"30"},
            {L"txtGroupInterval", L"soon"}},
           L"btnOK");
    w.connect->ShowOptions(false);
    EXPECT_EQ(w.Stored(L"GroupRecipients"), 1000U);
    EXPECT_EQ(w.Stored(L"GroupInterval"), 30U);
    EXPECT_EQ(w.Stored(L"DefaultSendMode"), 1U);
    w.Step({{L"ctlTabs", L"3"}, {L"txtGroupRecipients", L"12.5"}, {L"txtGroupInterval", L"1e12"}},
           L"btnOK");
    w.connect->ShowOptions(false);
    EXPECT_EQ(w.Stored(L"GroupRecipients"), 12U);
    EXPECT_EQ(w.Stored(L"GroupInterval"), 1440U);
    w.Step({{L"ctlTabs", L"3"}, {L"txtGroupRecipients", L" 13.5 "}, {L"txtGroupInterval", L""}},
           L"btnOK");
    w.connect->ShowOptions(false);
    EXPECT_EQ(w.Stored(L"GroupRecipients"), 14U);
    EXPECT_EQ(w.Stored(L"GroupInterval"), 1440U);  // empty: the up-down control's value

    EXPECT_TRUE(w.log.Of(LogLevel::Error).empty());
}

TEST(OptionsDialog, TheFlagTableFollowsTheHostVersion) {
    // Outlook 2003: six colours; Flag 2 with Flag2003 4 is yellow; values of no choice give
    // the first, red, which OK then stores.
    {
        OptionsWorld w(11);
        w.Put(L"Flag", 2);
        w.Put(L"Flag2003", 9);
        std::vector<std::wstring> look;
        w.Step({{L"ctlTabs", L"2"}}, L"btnOK", &look);
        w.connect->ShowOptions(false);
        EXPECT_TRUE(Shows(look, L"  ImageCombo cboFlag = \"Red Flag\" <red> of 6"));
        EXPECT_EQ(w.Stored(L"Flag"), 2U);
        EXPECT_EQ(w.Stored(L"Flag2003"), 6U);
        // The list takes only its own entries.
        w.Step({{L"ctlTabs", L"2"}, {L"cboFlag", L"Pink Flag"}}, L"btnOK");
        EXPECT_THROW(w.connect->ShowOptions(false), sim::ScriptError);
        EXPECT_EQ(w.sim.ui.OpenFormCount(), 0);
        EXPECT_EQ(w.Stored(L"Flag2003"), 6U);
    }
    // Outlook 2010: the same six, in the same order.
    {
        OptionsWorld w(14);
        w.Put(L"Flag", 2);
        w.Put(L"Flag2003", 3);
        std::vector<std::wstring> items;
        w.sim.ui.user.AnswerDialog(
            L"frmOptions", {{L"ctlTabs", L"2"}}, L"btnCancel", [&items](const Form& form) {
                for (const ComboItem& item : FlagComboOf(form).ComboItems()) {
                    items.push_back(item.text + L"|" + item.image + L"|" + item.tag);
                }
            });
        w.connect->ShowOptions(false);
        EXPECT_EQ(items, (std::vector<std::wstring>{
                             L"Red Flag|red|2,6", L"Blue Flag|blue|2,5", L"Yellow Flag|yellow|2,4",
                             L"Green Flag|green|2,3", L"Orange Flag|orange|2,2",
                             L"Purple Flag|purple|2,1"}));
    }
    // Outlook 2002: one follow-up flag, whatever colour was stored; OK stores its icon 0.
    {
        OptionsWorld w(10);
        w.Put(L"Flag", 2);
        w.Put(L"Flag2003", 4);
        std::vector<std::wstring> look;
        w.Step({{L"ctlTabs", L"2"}}, L"btnOK", &look);
        w.connect->ShowOptions(false);
        EXPECT_TRUE(Shows(look, L"  ImageCombo cboFlag = \"Follow Up\" <followup> of 1"));
        EXPECT_EQ(w.Stored(L"Flag"), 2U);
        EXPECT_EQ(w.Stored(L"Flag2003"), 0U);
    }
}

TEST(OptionsDialog, EachHostVersionHidesWhatItLacks) {
    struct Expected {
        int32_t version;
        bool exclusions;  // private, replied and linked contacts, with the note
        bool separateBar;
        bool separateTab;
    };
    for (const Expected& e : {Expected{9, false, true, false}, Expected{11, true, true, false},
                              Expected{12, true, false, true}}) {
        OptionsWorld w(e.version);
        std::vector<std::wstring> page1;
        std::vector<std::wstring> page2;
        w.Step({}, L"", &page1);
        w.Step({{L"ctlTabs", L"2"}}, L"btnCancel", &page2);
        w.connect->ShowOptions(false);
        for (const wchar_t* name : {L"chkExcludePrivateContacts", L"chkExcludeReplied",
                                    L"chkExcludeLinkItems", L"Label2", L"Label1"}) {
            EXPECT_EQ(HasControl(page1, name), e.exclusions) << e.version;
        }
        EXPECT_TRUE(HasControl(page1, L"chkExcludeDuplicates"));
        EXPECT_EQ(HasControl(page2, L"chkSeparateBar"), e.separateBar) << e.version;
        EXPECT_EQ(HasControl(page2, L"chkSeparateTab"), e.separateTab) << e.version;
    }

    // A hidden box cannot be ticked, nor one on a page not in front: the script fails, and the
    // hidden boxes' settings are written back as they were.
    OptionsWorld w(9);
    w.Put(L"ExcludeReplied", 1);
    w.Step({{L"chkExcludeReplied", L"0"}}, L"btnOK");
    EXPECT_THROW(w.connect->ShowOptions(false), sim::ScriptError);
    w.sim.ui.user.Clear();
    w.Step({{L"chkSeparateBar", L"0"}}, L"btnOK");
    EXPECT_THROW(w.connect->ShowOptions(false), sim::ScriptError);
    w.sim.ui.user.Clear();
    w.Step({}, L"btnOK");
    w.connect->ShowOptions(false);
    EXPECT_EQ(w.Stored(L"ExcludeReplied"), 1U);
    EXPECT_EQ(w.sim.ui.OpenFormCount(), 0);
}

TEST(OptionsDialog, TheToolbarsAreRebuiltOnlyWhenTheirLookChanged) {
    OptionsWorld w(11);
    w.OpenMarkedMessage();
    w.OpenMarkedMessage();
    ASSERT_EQ(w.connect->InspectorWrappers().size(), 2U);
    const auto rebuilt = [&w] { return w.Logged(L"CInspectorWrapper::RecreateToolbar"); };

    // Only an exclusion changed: no rebuild.
    w.Step({{L"chkExcludeDuplicates", L"0"}}, L"btnOK");
    w.connect->ShowOptions(false);
    w.desktop.AdvanceClock(1);
    EXPECT_EQ(rebuilt(), 0);
    EXPECT_FALSE(w.connect->FrmDummy().TimerEnabled(L"tmrRecreateInspBars"));

    // The separate toolbar switched off: both windows' toolbars, once, through the timer.
    w.Step({{L"ctlTabs", L"2"}, {L"chkSeparateBar", L"0"}}, L"btnOK");
    w.connect->ShowOptions(false);
    EXPECT_TRUE(w.connect->FrmDummy().TimerEnabled(L"tmrRecreateInspBars"));
    EXPECT_EQ(rebuilt(), 0);
    w.desktop.AdvanceClock(1);
    EXPECT_EQ(rebuilt(), 2);
    EXPECT_FALSE(w.connect->FrmDummy().TimerEnabled(L"tmrRecreateInspBars"));
    EXPECT_EQ(w.Stored(L"InspectorToolbar.Separate"), 0U);

    // Captions switched, and Cancel after switching them back and forth: one rebuild each for
    // the OK, none for the Cancel.
    w.Step({{L"ctlTabs", L"2"}, {L"chkShowCaptions", L"0"}}, L"btnOK");
    w.connect->ShowOptions(false);
    w.desktop.AdvanceClock(1);
    EXPECT_EQ(rebuilt(), 4);
    w.Step({{L"ctlTabs", L"2"}, {L"chkShowCaptions", L"1"}, {L"chkSeparateBar", L"1"}},
           L"btnCancel");
    w.connect->ShowOptions(false);
    w.desktop.AdvanceClock(1);
    EXPECT_EQ(rebuilt(), 4);
    EXPECT_EQ(w.Stored(L"InspectorToolbar.BtnCaptions"), 0U);

    // Outlook 2007: the ribbon is refreshed instead, and the buttons after every closing.
    OptionsWorld v12(12);
    auto ribbon = std::make_shared<RecordingRibbon>();
    v12.connect->InvokeOnLoad(L"Ribbon_OnLoad", ribbon);
    ribbon->calls.clear();
    v12.Step({{L"chkIncludeCC", L"0"}}, L"btnCancel");
    v12.connect->ShowOptions(false);
    v12.desktop.AdvanceClock(1);
    EXPECT_EQ(ribbon->calls, (std::vector<std::wstring>{L"btnSendMode", L"btnSepGrouping"}));
    ribbon->calls.clear();
    v12.Step({{L"ctlTabs", L"2"}, {L"chkShowCaptions", L"0"}, {L"chkSeparateTab", L"1"}}, L"btnOK");
    v12.connect->ShowOptions(false);
    v12.desktop.AdvanceClock(1);
    EXPECT_EQ(ribbon->calls, (std::vector<std::wstring>{L"btnSendMode", L"btnSepGrouping", L"*"}));
    EXPECT_EQ(v12.Stored(L"InspectorToolbar.Separate2007"), 1U);
    EXPECT_TRUE(w.log.Of(LogLevel::Error).empty());
}

TEST(OptionsDialog, CancelAndTheCloseBoxLeaveEverySettingUntouched) {
    OptionsWorld w;
    w.Put(L"GroupRecipients", 40);
    w.Put(L"Flag", 2);
    w.Put(L"Flag2003", 5);
    const std::string before = w.sim.registry.Export();
    const std::vector<std::pair<std::wstring, std::wstring>> everything = {
        {L"chkExcludeDuplicates", L"0"},
        {L"chkExcludePrivateContacts", L"1"},
        {L"chkExcludeReplied", L"1"},
        {L"chkExcludeLinkItems", L"1"},
        {L"chkIncludeCC", L"0"},
        {L"chkIncludeBCC", L"1"},
        {L"ctlTabs", L"2"},
        {L"chkSeparateBar", L"0"},
        {L"chkShowCaptions", L"0"},
        {L"chkMarkWithFlag", L"1"},
        {L"cboFlag", L"Green Flag"},
        {L"chkClearMarking", L"0"},
        {L"ctlTabs", L"3"},
        {L"chkSeparatlyDefault", L"0"},
        {L"txtGroupRecipients", L"7"},
        {L"udGroupInterval", L"60"},
    };
    w.Step(everything, L"btnCancel");
    w.connect->ShowOptions(false);
    w.Step(everything, sim::kCloseBox);
    w.connect->ShowOptions(false);
    w.desktop.AdvanceClock(1);
    EXPECT_EQ(w.sim.registry.Export(), before);
    EXPECT_EQ(w.sim.ui.OpenFormCount(), 0);
    EXPECT_EQ(w.Logged(L"CInspectorWrapper::RecreateToolbar"), 0);

    // The dialog keeps nothing between openings: the next one shows the stored settings.
    std::vector<std::wstring> look;
    w.Step({{L"ctlTabs", L"3"}}, L"btnCancel", &look);
    w.connect->ShowOptions(false);
    EXPECT_TRUE(Shows(look, L"  TextBox txtGroupRecipients = \"40\""));
}

TEST(OptionsDialog, HelpOpensTheOptionsTopicAndOnTopTakesTheFocusOnce) {
    OptionsWorld w;
    const std::wstring helpFile = kFolder + L"\\Plexa.chm";
    w.sim.shell.AddHelpFile(helpFile);
    bool topmost = false;
    bool focused = false;
    w.sim.ui.user.AnswerDialog(L"frmOptions", {}, L"btnHelp");
    w.sim.ui.user.AnswerDialog(L"frmOptions", {}, L"btnCancel", [&](const Form& form) {
        const auto& dialog = dynamic_cast<const frmOptions&>(form);
        topmost = dialog.Topmost();
        focused = dialog.HasFocus();
    });
    w.connect->ShowOptions(true);
    ASSERT_EQ(w.sim.shell.HelpTopicsShown().size(), 1U);
    EXPECT_EQ(w.sim.shell.HelpTopicsShown().front().topic, L"Set_Plexa_Options.htm");
    EXPECT_TRUE(topmost);
    EXPECT_TRUE(focused);
    const auto activated = w.log.Of(LogLevel::Debug, L"frmOptions->Activate");
    ASSERT_EQ(activated.size(), 1U);
    EXPECT_EQ(activated.front().text, L" set focus on me");
    EXPECT_EQ(activated.front().detail, 1);

    // Opened from a folder window: neither topmost nor a log line.
    w.Step({}, L"btnCancel");
    w.sim.ui.onFormActivated = [&](Form* form) {
        if (auto* dialog = dynamic_cast<frmOptions*>(form)) {
            topmost = dialog->Topmost();
        }
    };
    w.connect->ShowOptions(false);
    EXPECT_FALSE(topmost);
    EXPECT_EQ(w.log.Of(LogLevel::Debug, L"frmOptions->Activate").size(), 1U);
}

TEST(OptionsDialog, GoesWhenTheAddInStopsWhileItIsOpenAndStoresNothing) {
    OptionsWorld w;
    // A closing folder window keeps its toolbar's placement: already stored as it stands.
    w.services.Options().WriteToolbarPos(true, 1, -1, 0, 0);
    const std::string before = w.sim.registry.Export();
    // The last folder window closes while the dialog is open: the add-in waits for a new one
    // and takes the dialog off the screen.
    w.sim.ui.user.AnswerDialog(L"frmOptions", {{L"chkExcludeDuplicates", L"0"}}, L"",
                               [&w](const Form&) { w.desktop.CloseExplorer(w.explorer); });
    w.connect->ShowOptions(false);
    EXPECT_FALSE(w.connect->Initialised());
    EXPECT_EQ(w.sim.ui.OpenFormCount(), 0);
    EXPECT_EQ(w.sim.registry.Export(), before);

    // The client shuts down while it is open: the same, and the add-in goes on to its end.
    w.explorer = w.desktop.OpenExplorer(olFolderInbox);
    w.sim.ui.user.AnswerDialog(L"frmOptions", {{L"chkIncludeBCC", L"1"}}, L"", [&w](const Form&) {
        w.connect->IDTExtensibility2_OnBeginShutdown({});
        w.connect->IDTExtensibility2_OnDisconnection(0, {});
    });
    w.connect->ShowOptions(false);
    EXPECT_FALSE(w.connect->Connected());
    EXPECT_EQ(w.sim.ui.OpenFormCount(), 0);
    EXPECT_EQ(w.sim.registry.Export(), before);
    EXPECT_TRUE(w.log.Of(LogLevel::Error).empty());
}

// The settings the sweep's user changes, with the value before and the value chosen.
struct Change {
    const wchar_t* value;
    uint32_t before;
    uint32_t after;
};

const std::map<std::wstring, Change>& SweepChanges() {
    static const std::map<std::wstring, Change> changes = {
        {L"ExcludeDuplicates", {L"chkExcludeDuplicates", 0, 1}},
        {L"ExcludeReplied", {L"chkExcludeReplied", 1, 1}},  // left as it is
        {L"IncludeCC", {L"chkIncludeCC", 0, 0}},            // left as it is
        {L"IncludeBCC", {L"chkIncludeBCC", 1, 0}},
        {L"InspectorToolbar.Separate", {L"chkSeparateBar", 0, 1}},
        {L"InspectorToolbar.BtnCaptions", {L"chkShowCaptions", 0, 0}},  // left as it is
        {L"FlagEnabled", {L"chkMarkWithFlag", 1, 1}},                   // left as it is
        {L"Flag", {L"cboFlag", 2, 2}},
        {L"Flag2003", {L"cboFlag", 5, 1}},
        {L"GroupRecipients", {L"txtGroupRecipients", 40, 1000}},
        {L"GroupInterval", {L"txtGroupInterval", 90, 90}},  // left as it is
        {L"DefaultSendMode", {L"chkSeparatlyDefault", 0, 1}},
    };
    return changes;
}

struct SweepWorld : OptionsWorld {
    SweepWorld() {
        for (const auto& [name, change] : SweepChanges()) {
            Put(name, change.before);
        }
        OpenMarkedMessage();
    }
};

TEST(OptionsDialog, EveryFailedHostCallLeavesTheDialogClosedAndEachSettingOldOrNew) {
    const auto result = test::SweepHostCalls(
        "options dialog", [] { return std::make_unique<SweepWorld>(); },
        [](SweepWorld& w) {
            w.Step({{L"chkExcludeDuplicates", L"1"},
                    {L"chkIncludeBCC", L"0"},
                    {L"ctlTabs", L"Appearance"},
                    {L"chkSeparateBar", L"1"},
                    {L"cboFlag", L"Purple Flag"},
                    {L"ctlTabs", L"Send Separately"},
                    {L"txtGroupRecipients", L"5000"},
                    {L"chkSeparatlyDefault", L"1"}},
                   L"btnOK");
            w.connect->ShowOptions(false);
            w.desktop.AdvanceClock(1);
        },
        [](SweepWorld& w, const test::SweepPoint& point) {
            EXPECT_EQ(w.sim.ui.FindForm(L"frmOptions"), nullptr) << point.Describe();
            for (const auto& [name, change] : SweepChanges()) {
                const auto stored = w.Stored(name);
                EXPECT_TRUE(stored == change.before || stored == change.after)
                    << point.Describe() << ": " << text::ToUtf8(name) << " is "
                    << (stored ? std::to_string(*stored) : std::string("missing"));
            }
            if (point.n == 0) {
                for (const auto& [name, change] : SweepChanges()) {
                    EXPECT_EQ(w.Stored(name), change.after) << text::ToUtf8(name);
                }
                EXPECT_EQ(w.Logged(L"CInspectorWrapper::RecreateToolbar"), 1);
            }
            w.sim.ui.user.Clear();
        });
    EXPECT_GT(result.points, 20);
}

}  // namespace
}  // namespace plexa
