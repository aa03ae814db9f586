// The simulated Windows services: the clipboard saved and restored format by format, timers on
// the virtual clock, DoEvents, and the scripted user's answers to message boxes and dialogs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "TestWorld.h"
#include "core/Form.h"
#include "host/outlook/OlConstants.h"
#include "sim/SimResources.h"
#include "sim/SimServices.h"
#include "sim/windows/ScriptError.h"
#include "sim/windows/UnexpectedPrompt.h"

namespace plexa::sim {
namespace {

struct Saved {
    uint32_t format;
    std::vector<uint8_t> bytes;
};

// Saves what can be saved, the way the add-in does through the port: formats that are no memory
// block, or whose data cannot be had, are skipped.
std::vector<Saved> SaveAll(IClipboard& cb, std::vector<uint32_t>& skipped) {
    std::vector<Saved> saved;
    EXPECT_TRUE(cb.OpenClipboard(0));
    for (uint32_t f = cb.EnumClipboardFormats(0); f != 0; f = cb.EnumClipboardFormats(f)) {
        char name[1024] = {};
        cb.GetClipboardFormatNameA(f, name, sizeof name);
        const ClipboardHandle h = cb.GetClipboardData(f);
        const std::size_t size = h == 0 ? 0 : cb.GlobalSize(h);
        void* p = size == 0 ? nullptr : cb.GlobalLock(h);
        if (f == cf::Bitmap || std::strcmp(name, "Native") == 0 || p == nullptr) {
            skipped.push_back(f);
            continue;
        }
        const auto* bytes = static_cast<const uint8_t*>(p);
        saved.push_back({f, std::vector<uint8_t>(bytes, bytes + size)});
        cb.GlobalUnlock(h);
    }
    EXPECT_TRUE(cb.CloseClipboard());
    return saved;
}

void RestoreAll(IClipboard& cb, const std::vector<Saved>& saved) {
    ASSERT_TRUE(cb.OpenClipboard(0));
    ASSERT_TRUE(cb.EmptyClipboard());
    for (const Saved& s : saved) {
        const ClipboardHandle h = cb.GlobalAlloc(0, s.bytes.size());
        std::memcpy(cb.GlobalLock(h), s.bytes.data(), s.bytes.size());
        cb.GlobalUnlock(h);
        ASSERT_EQ(cb.SetClipboardData(s.format, h), h);
    }
    ASSERT_TRUE(cb.CloseClipboard());
}

TEST(ClipboardTest, MemoryFormatsSurviveASaveAndRestoreAndBitmapsCannotBeSaved) {
    test::TestWorld world;
    SimClipboard& clipboard = world.sim.clipboard;
    IClipboard& cb = clipboard;
    clipboard.CopyText(L"Grüße");
    const uint32_t html = clipboard.RegisterFormat(L"HTML Format");
    const uint32_t native = clipboard.RegisterFormat(L"Native");
    EXPECT_EQ(cb.RegisterClipboardFormatA("html format"), html);
    clipboard.AddData(html, {'<', 'b', '>'});
    clipboard.AddData(native, {1, 2});
    clipboard.AddPicture(std::make_shared<SimPicture>(L"x", IPictureDisp::PicTypeBitmap, 0x77));

    std::vector<uint32_t> skipped;
    const auto saved = SaveAll(cb, skipped);
    EXPECT_EQ(skipped, (std::vector<uint32_t>{native, cf::Bitmap}));
    // The synthesised OEM text and device-independent bitmap are saved with the rest.
    ASSERT_EQ(saved.size(), 5U);
    EXPECT_EQ(saved[3].format, cf::OemText);
    EXPECT_EQ(saved[4].format, cf::Dib);
    // The add-in changes the clipboard (a button face), then puts the saved formats back.
    cb.Clear();
    cb.SetData(std::make_shared<SimPicture>(L"face", IPictureDisp::PicTypeBitmap, 0x99));
    EXPECT_EQ(clipboard.Formats(), (std::vector<uint32_t>{cf::Bitmap, cf::Dib}));
    RestoreAll(cb, saved);
    EXPECT_EQ(clipboard.Formats(),
              (std::vector<uint32_t>{cf::UnicodeText, cf::Text, html, cf::OemText, cf::Dib}));
    EXPECT_EQ(clipboard.Text(), L"Grüße");
    EXPECT_EQ(clipboard.Data(html), (std::vector<uint8_t>{'<', 'b', '>'}));
    EXPECT_EQ(clipboard.Picture(), nullptr);  // the bitmap itself is lost, its DIB kept
    EXPECT_EQ(clipboard.LeakedBlocks(), 0U);

    // The Win32 calls report failures instead of throwing.
    EXPECT_EQ(cb.GetClipboardData(cf::Text), 0U);
    EXPECT_EQ(cb.GetLastError(), cberr::ClipboardNotOpen);
    clipboard.SetHeldByOtherProgram(true);
    EXPECT_FALSE(cb.OpenClipboard(0));
    EXPECT_THROW(cb.Clear(), HostError);
    clipboard.SetHeldByOtherProgram(false);
    world.sim.faults.FailNth(L"Clipboard.GetClipboardData", 1, HostError(1234, L"injected"));
    ASSERT_TRUE(cb.OpenClipboard(0));
    EXPECT_EQ(cb.GetClipboardData(cf::Text), 0U);
    EXPECT_EQ(cb.GetLastError(), 1234U);
    clipboard.SetUnrenderable(html, true);
    EXPECT_EQ(cb.GetClipboardData(html), 0U);
    EXPECT_NE(cb.GetClipboardData(cf::Text), 0U);
    EXPECT_EQ(cb.GlobalSize(0x5), 0U);
    EXPECT_TRUE(cb.CloseClipboard());
    EXPECT_FALSE(cb.CloseClipboard());
}

TEST(ClipboardTest, TextAndBitmapsBringTheFormatsWindowsSynthesises) {
    test::TestWorld world;
    SimClipboard& clipboard = world.sim.clipboard;
    IClipboard& cb = clipboard;

    // ANSI text alone stands for the OEM and Unicode text too, each rendered when asked for.
    clipboard.AddData(cf::Text, {'c', 'a', 'f', 0xE9, 0});
    EXPECT_EQ(clipboard.Formats(), (std::vector<uint32_t>{cf::Text, cf::OemText, cf::UnicodeText}));
    EXPECT_TRUE(cb.IsClipboardFormatAvailable(cf::UnicodeText));
    EXPECT_EQ(clipboard.Text(), L"caf\u00E9");
    EXPECT_EQ(clipboard.Data(cf::OemText), (std::vector<uint8_t>{'c', 'a', 'f', 0x82, 0}));
    ASSERT_TRUE(cb.OpenClipboard(0));
    const ClipboardHandle unicode = cb.GetClipboardData(cf::UnicodeText);
    ASSERT_NE(unicode, 0U);
    EXPECT_EQ(cb.GlobalSize(unicode), 10U);
    EXPECT_EQ(cb.GetClipboardData(cf::UnicodeText), unicode);  // rendered once
    EXPECT_EQ(cb.GetClipboardData(cf::Dib), 0U);               // no bitmap, no DIB
    EXPECT_TRUE(cb.CloseClipboard());

    // Unicode text stands for the other two; what was put there is never replaced.
    clipboard.ClearAll();
    clipboard.AddData(cf::UnicodeText, {'h', 0, 'i', 0, 0, 0});
    EXPECT_EQ(clipboard.Formats(), (std::vector<uint32_t>{cf::UnicodeText, cf::Text, cf::OemText}));
    EXPECT_EQ(clipboard.Data(cf::Text), (std::vector<uint8_t>{'h', 'i', 0}));
    clipboard.AddData(cf::Text, {'x', 0});
    EXPECT_EQ(clipboard.Data(cf::Text), (std::vector<uint8_t>{'x', 0}));
    EXPECT_EQ(clipboard.Formats(), (std::vector<uint32_t>{cf::UnicodeText, cf::Text, cf::OemText}));

    // A bitmap stands for a device-independent bitmap of its pixels.
    clipboard.ClearAll();
    SimImage image{2, 1, 32, {0x112233, 0x445566}, {}};
    clipboard.AddPicture(
        std::make_shared<SimPicture>(L"face", IPictureDisp::PicTypeBitmap, 0x50, image));
    EXPECT_EQ(clipboard.Formats(), (std::vector<uint32_t>{cf::Bitmap, cf::Dib}));
    const std::vector<uint8_t> dib = clipboard.Data(cf::Dib);
    ASSERT_EQ(dib.size(), 40U + 8U);
    EXPECT_EQ(dib[0], 40);  // BITMAPINFOHEADER
    EXPECT_EQ(dib[4], 2);   // width
    EXPECT_EQ(dib[8], 1);   // height
    EXPECT_EQ(dib[14], 32);
    EXPECT_EQ((std::vector<uint8_t>(dib.begin() + 40, dib.end())),
              (std::vector<uint8_t>{0x33, 0x22, 0x11, 0, 0x66, 0x55, 0x44, 0}));
    clipboard.ClearAll();
    EXPECT_TRUE(clipboard.Formats().empty());
    EXPECT_EQ(clipboard.LeakedBlocks(), 0U);
}

TEST(TimersTest, MovingTheClockFiresDueTimersInOrderWithTheClockAtTheirMoment) {
    test::TestWorld world;
    ITimers& timers = world.sim.timers;
    IClock& clock = world.sim.clock;
    std::vector<std::wstring> fired;
    const OleDate start = clock.NowUtc();
    auto at = [&](const wchar_t* name) {
        return [&fired, &clock, &timers, start, name](TimerId id) {
            const double seconds = (clock.NowUtc().Value() - start.Value()) * 86400.0;
            fired.push_back(std::wstring(name) + L"@" + std::to_wstring(std::lround(seconds)) +
                            L"/" + std::to_wstring(timers.GetTickCount()));
            if (std::wstring(name) == L"once") {
                timers.KillTimer(id);
            }
        };
    };
    const TimerId minute = timers.SetTimer(0, 60000, at(L"minute"));
    const TimerId once = timers.SetTimer(0, 100, at(L"once"));
    timers.SetTimer(0, 1, at(L"tiny"));  // Windows fires no faster than every 10 ms
    ASSERT_NE(minute, once);

    world.sim.clock.AdvanceMilliseconds(99);
    EXPECT_EQ(fired.size(), 9U);  // tiny at 10 .. 90
    fired.clear();
    EXPECT_TRUE(timers.KillTimer(3));
    EXPECT_FALSE(timers.KillTimer(3));
    world.sim.clock.AdvanceSeconds(120);
    EXPECT_EQ(fired,
              (std::vector<std::wstring>{L"once@0/100", L"minute@60/60000", L"minute@120/120000"}));
    // The wall clock shows whole seconds; the 99 ms count towards the next one.
    EXPECT_NEAR((clock.NowUtc().Value() - start.Value()) * 86400.0, 120.0, 1e-3);
    EXPECT_EQ(timers.GetTickCount(), 120099U);

    // Restarting a timer moves its due moment; DoEvents fires what is due now.
    fired.clear();
    timers.SetTimer(minute, 30000, at(L"restarted"));
    world.sim.clock.AdvanceSeconds(29.99);
    EXPECT_TRUE(fired.empty());
    world.sim.clock.AdvanceMilliseconds(10);
    EXPECT_EQ(fired.size(), 1U);
    world.sim.faults.FailAlways(L"Timers.SetTimer", HostError(8, L"injected"));
    EXPECT_EQ(timers.SetTimer(0, 10, at(L"never")), 0U);
}

TEST(TimersTest, DoEventsRunsPostedWorkAndTheTimersDueNow) {
    test::TestWorld world;
    std::vector<int> order;
    world.sim.windows.Post([&] { order.push_back(1); });
    world.sim.windows.Post([&] { order.push_back(2); });
    world.sim.timers.SetTimer(0, 10, [&](TimerId id) {
        order.push_back(3);
        world.sim.timers.KillTimer(id);
    });
    IWindowMessages& windows = world.sim.windows;
    EXPECT_EQ(windows.DoEvents(), 0);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    world.sim.clock.AdvanceMilliseconds(10);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(windows.FindWindowA("ThunderRT6FormDC", nullptr), 0U);
    EXPECT_EQ(windows.SendMessageA(0x1234, wm::CopyData, 0, 0), 0);
}

class Dialog : public Form {
public:
    explicit Dialog(IUiShell& ui) : Form(L"frmOptions"), m_ui(ui) {
        Add(L"txtName", ControlType::TextBox);
        Add(L"chkSep", ControlType::CheckBox);
        Add(L"cboList", ControlType::ComboBox).items = {L"One", L"Two"};
        Control& count = Add(L"udCount", ControlType::UpDown);
        count.min = 1;
        count.max = 10;
        Add(L"btnAsk", ControlType::CommandButton).onClick = [this] {
            asked =
                m_ui.MsgBox(L"Really save " + (*this)[L"txtName"].text + L"?", mb::YesNo, L"Plexa");
        };
        Add(L"btnOK", ControlType::CommandButton).onClick = [this] { m_ui.Unload(*this); };
        Add(L"btnOff", ControlType::CommandButton).enabled = false;
        caption = L"Options";
    }
    void OnLoad() override { ++loads; }
    void OnUnload() override { ++unloads; }
    int loads = 0;
    int unloads = 0;
    int asked = 0;

private:
    IUiShell& m_ui;
};

TEST(ScriptedUserTest, AnswersMessageBoxesAndDialogsInOrderAndFailsLoudlyOtherwise) {
    test::TestWorld world;
    SimUiShell& shell = world.sim.ui;
    IUiShell& ui = shell;
    shell.user.AnswerMsgBox(mb::IdNo, L"delete");
    EXPECT_EQ(ui.MsgBox(L"Delete 3 items?", mb::YesNoCancel | mb::Topmost, L"Plexa"), mb::IdNo);

    Dialog dialog(ui);
    shell.user.AnswerDialog(
        L"frmOptions",
        {{L"txtName", L"Ann"}, {L"chkSep", L"1"}, {L"cboList", L"two"}, {L"udCount", L"40"}},
        L"btnAsk");
    shell.user.AnswerMsgBox(mb::IdYes, L"Ann");
    shell.user.AnswerDialog(L"FRMOPTIONS", {}, L"btnOK");
    ui.Show(dialog, true);
    EXPECT_EQ(dialog.asked, mb::IdYes);
    EXPECT_EQ(dialog[L"chkSep"].value, 1);
    EXPECT_EQ(dialog[L"cboList"].listIndex, 1);
    EXPECT_EQ(dialog[L"cboList"].text, L"Two");
    EXPECT_EQ(dialog[L"udCount"].value, 10);  // an up-down keeps to its range
    EXPECT_EQ(dialog.loads, 1);
    EXPECT_EQ(dialog.unloads, 1);
    EXPECT_FALSE(ui.IsLoaded(dialog));
    EXPECT_TRUE(shell.user.Empty());
    ASSERT_EQ(shell.Prompts().size(), 3U);
    EXPECT_EQ(shell.Prompts()[1].text, L"frmOptions");
    EXPECT_EQ(shell.Prompts()[2].answer, mb::IdYes);

    // Prompts nobody expected, or answers that do not fit, end the run with the prompt's text.
    try {
        ui.MsgBox(L"Send 5 messages now?", mb::YesNo, L"Plexa");
        ADD_FAILURE() << "no answer was queued";
    } catch (const UnexpectedPrompt& e) {
        EXPECT_EQ(e.Prompt(), L"Send 5 messages now?");
        EXPECT_NE(std::string(e.what()).find("Send 5 messages now?"), std::string::npos);
    }
    shell.user.AnswerMsgBox(mb::IdYes);
    EXPECT_THROW(ui.MsgBox(L"Done.", mb::OkOnly, L"Plexa"), UnexpectedPrompt);
    shell.user.Clear();
    shell.user.AnswerMsgBox(mb::IdOk, L"failed");
    EXPECT_THROW(ui.MsgBox(L"Done.", mb::OkOnly, L"Plexa"), UnexpectedPrompt);
    shell.user.Clear();
    shell.user.AnswerMsgBox(mb::IdOk);
    EXPECT_THROW(ui.Show(dialog, true), UnexpectedPrompt);
    shell.Unload(dialog);
    shell.user.Clear();

    // A modeless dialog stays open for the scenario to act on.
    ui.Show(dialog, false);
    EXPECT_EQ(shell.ActiveForm(), &dialog);
    EXPECT_THROW(shell.Act(L"frmOptions", {}, L"btnOff"), ScriptError);
    EXPECT_THROW(shell.Act(L"frmOptions", {{L"chkSep", L"maybe"}}, L""), ScriptError);
    EXPECT_THROW(shell.Act(L"frmOptions", {{L"nothing", L"1"}}, L""), ScriptError);
    shell.Act(L"frmOptions", {}, L"btnOK");
    EXPECT_EQ(shell.ActiveForm(), nullptr);
    EXPECT_THROW(shell.Act(L"frmOptions", {}, L"btnOK"), ScriptError);
    EXPECT_THROW(shell.user.AnswerMsgBox(42), std::invalid_argument);
}

}  // namespace
}  // namespace plexa::sim
