// Keystrokes into message windows: the key-text syntax with its brace escapes, the caret in plain
// and HTML bodies, and the Word companion typing what it receives by WM_COPYDATA.
#include <gtest/gtest.h>

#include <cstring>

#include "TestWorld.h"
#include "core/Text.h"
#include "host/outlook/OlConstants.h"
#include "sim/SimDesktop.h"
#include "sim/windows/ScriptError.h"
#include "sim/windows/mSendKeys.h"

namespace plexa::sim {
namespace {

std::wstring Keys(const std::wstring& text) {
    std::wstring out;
    for (const auto& k : mSendKeys::Parse(text)) {
        out += k.Describe() + L" ";
    }
    return out;
}

TEST(SendKeysTest, BracesMakeSpecialCharactersLiteralAndModifiersApplyToTheNextKeyOrGroup) {
    EXPECT_EQ(Keys(L"{(}a{%}{{}{}}{~}{+}{^}{)}{[}{]}"),
              L"{(} a {%} {{} {}} {~} {+} {^} {)} {[} {]} ");
    EXPECT_EQ(Keys(L"+a^{HOME}%f~"), L"+a ^{HOME} %f {ENTER} ");
    EXPECT_EQ(Keys(L"+(ab)c"), L"+a +b c ");
    EXPECT_EQ(Keys(L"{left 3}{bs}{x 2}"), L"{LEFT} {LEFT} {LEFT} {BACKSPACE} x x ");
    EXPECT_EQ(Keys(L"[a]"), L"{[} a {]} ");
    EXPECT_EQ(Keys(L""), L"");
    // Escaping a token types it back unchanged.
    const std::wstring token = L"%First(Name)+{x}^~[1]";
    std::wstring typed;
    for (const auto& k : mSendKeys::Parse(mSendKeys::Escape(token))) {
        typed += k.ch;
    }
    EXPECT_EQ(typed, token);

    for (const wchar_t* bad :
         {L"%", L"(a)", L"+(a", L"a)", L"}", L"{", L"{}", L"{NOSUCHKEY}", L"{a x}", L"{F17}"}) {
        try {
            mSendKeys::Parse(bad);
            ADD_FAILURE() << "accepted " << text::ToUtf8(bad);
        } catch (const HostError& e) {
            EXPECT_EQ(e.Number(), 5) << text::ToUtf8(bad);
        }
    }
}

class KeystrokesTest : public ::testing::Test {
protected:
    std::shared_ptr<MailItem> OpenMail(int32_t format) {
        auto mail = std::dynamic_pointer_cast<MailItem>(desktop.host.application->CreateItem(0));
        mail->SetBodyFormat(format);
        mail->SetBody(L"Hi");
        mail->Display();
        return mail;
    }

    test::TestWorld world;
    SimDesktop desktop{world.sim};
    IKeyboard& keyboard = world.sim.keyboard;
};

TEST_F(KeystrokesTest, PlainBodiesTakeKeysAtTheCaret) {
    auto mail = OpenMail(olFormatPlain);
    // The caret starts at the top.
    keyboard.SendKeys(L"{(}50{%}{)} ", true);
    EXPECT_EQ(mail->Body(), L"(50%) Hi");
    keyboard.SendKeys(L"^{END}~+dear{BS}{BS}AR{LEFT 2}{DEL}", true);
    EXPECT_EQ(mail->Body(), L"(50%) Hi\r\nDeR");
    keyboard.SendKeys(L"{HOME}>{END}!", true);
    EXPECT_EQ(mail->Body(), L"(50%) Hi\r\n>DeR!");
    EXPECT_EQ(desktop.ActiveInspector()->Editor().TextBeforeCaret(), L"(50%) Hi\r\n>DeR!");
    // A shortcut types nothing; a malformed text sends nothing at all.
    keyboard.SendKeys(L"^s%f", true);
    EXPECT_EQ(desktop.IgnoredKeys(), 2);
    EXPECT_THROW(keyboard.SendKeys(L"ok{", true), HostError);
    EXPECT_EQ(mail->Body(), L"(50%) Hi\r\n>DeR!");
}

TEST_F(KeystrokesTest, HtmlBodiesTakeTypedTextEscapedInsideTheBody) {
    auto mail = OpenMail(olFormatHTML);
    mail->SetHTMLBody(L"<html><head><title>t</title></head><body><p>Hi</p></body></html>");
    desktop.ActiveInspector()->Editor().CaretToStart();
    keyboard.SendKeys(L"a<b> & {ENTER}", true);
    EXPECT_EQ(mail->HTMLBody(),
              L"<html><head><title>t</title></head><body>a&lt;b&gt; &amp; <br><p>Hi</p></body>"
              L"</html>");
    // Backspace removes the line break, then characters and whole entities.
    keyboard.SendKeys(L"{BS 5}", true);
    EXPECT_EQ(mail->HTMLBody(),
              L"<html><head><title>t</title></head><body>a&lt;b<p>Hi</p></body></html>");
    keyboard.SendKeys(L"^{END}!", true);
    EXPECT_NE(mail->HTMLBody().find(L"<p>Hi</p>!</body>"), std::wstring::npos);
    EXPECT_NE(mail->Body().find(L"a<b"), std::wstring::npos);
    // A caret put inside a tag or the head lands inside the body, outside any tag.
    auto& editor = desktop.ActiveInspector()->Editor();
    editor.SetCaret(3);
    keyboard.SendKeys(L"X", true);
    EXPECT_NE(mail->HTMLBody().find(L"<body>Xa&lt;b"), std::wstring::npos);
    const std::wstring html = mail->HTMLBody();
    editor.SetCaret(html.find(L"<p>") + 1);
    keyboard.SendKeys(L"Y", true);
    EXPECT_NE(mail->HTMLBody().find(L"<p>YHi"), std::wstring::npos);
}

TEST_F(KeystrokesTest, KeysGoToTheWindowInFrontOnly) {
    auto mail = OpenMail(olFormatPlain);
    desktop.OpenExplorer(olFolderInbox);
    keyboard.SendKeys(L"lost", true);
    EXPECT_EQ(desktop.IgnoredKeys(), 4);
    EXPECT_EQ(mail->Body(), L"Hi");
    EXPECT_THROW(desktop.TypeText(L"x"), ScriptError);
    world.sim.faults.FailNth(L"Keyboard.SendKeys", 1, HostError(E_FAIL, L"injected"));
    EXPECT_THROW(keyboard.SendKeys(L"x", true), HostError);
}

TEST_F(KeystrokesTest, TheWordCompanionTypesWhatItReceivesIntoTheWordWindowInFront) {
    IWindowMessages& windows = world.sim.windows;
    auto send = [&](const std::string& text) {
        const std::string payload = text + '\0';
        CopyDataStruct block;
        block.dwData = 0;
        block.cbData = static_cast<uint32_t>(payload.size());
        block.lpData = payload.data();
        const WindowHandle hwnd = windows.FindWindowA("ThunderRT6FormDC", "Orvin.Plexa.WordAddin");
        return hwnd == 0 ? std::intptr_t{-1}
                         : windows.SendMessageA(hwnd, wm::CopyData, 0,
                                                reinterpret_cast<std::intptr_t>(&block));
    };
    EXPECT_EQ(send("SendTextByKeyPress,1,x"), -1);  // not running: no window

    desktop.host.session.outlookMajorVersion = 11;
    desktop.wordEditor = true;
    auto mail = OpenMail(olFormatPlain);
    desktop.StartWordCompanion();
    EXPECT_EQ(send("SendTextByKeyPress,1,%First,Name% "), 1);
    EXPECT_EQ(mail->Body(), L"%First,Name% Hi");
    EXPECT_EQ(desktop.WordCompanionTyped(), (std::vector<std::wstring>{L"%First,Name% "}));
    // The exact bytes arrived, terminating zero included.
    const auto& last = world.sim.windows.Received().back();
    EXPECT_EQ(last.message, wm::CopyData);
    EXPECT_EQ(last.copyDataLength, 35U);
    EXPECT_EQ(std::string(last.copyData.begin(), last.copyData.end()),
              std::string("SendTextByKeyPress,1,%First,Name% ") + '\0');
    EXPECT_EQ(send("Something else"), 0);
    // Not a Word window in front: nothing typed.
    desktop.OpenExplorer(olFolderInbox);
    EXPECT_EQ(send("SendTextByKeyPress,1,y"), 0);
    desktop.StopWordCompanion();
    EXPECT_EQ(send("SendTextByKeyPress,1,z"), -1);
}

}  // namespace
}  // namespace plexa::sim
