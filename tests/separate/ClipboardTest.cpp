// The user's clipboard survives the add-in's own use of it, and placeholders reach the Word
// companion as the exact WM_COPYDATA message it expects.
#include <gtest/gtest.h>

#include "TestWorld.h"
#include "core/Text.h"
#include "host/outlook/Application.h"
#include "separate/mWordAddin.h"
#include "settings/CClipboard.h"
#include "sim/SimDesktop.h"

namespace plexa {
namespace {

TEST(Clipboard, TheUsersContentsComeBackExceptWhatCannotBeSaved) {
    test::TestWorld w;
    auto& board = w.sim.clipboard;
    board.CopyText(L"Dear Ann");
    board.AddPicture(nullptr);  // a bitmap: a handle, not a block
    const uint32_t native = board.RegisterFormat(L"Native");
    board.AddData(native, {1, 2, 3});
    const uint32_t html = board.RegisterFormat(L"HTML Format");
    board.AddData(html, {'<', 'b', '>'});

    CClipboard clip(w.services.Ports());
    clip.Save();
    clip.Save();  // nested: only counts
    // Two texts, the HTML and the OEM text that Windows synthesises from the texts.
    EXPECT_EQ(clip.Saved().size(), 4u);
    board.CopyText(L"the add-in's button face went here");
    clip.Restore();
    EXPECT_EQ(board.Text(), L"the add-in's button face went here");  // inner Restore: nothing
    clip.Restore();
    EXPECT_EQ(board.Text(), L"Dear Ann");
    EXPECT_EQ(board.Data(html), (std::vector<uint8_t>{'<', 'b', '>'}));
    EXPECT_FALSE(board.Has(cf::Bitmap));
    EXPECT_FALSE(board.Has(native));
    EXPECT_EQ(clip.Saved().size(), 0u);

    const auto warnings = w.log.Of(LogLevel::Warning, L"CClipboard::Save");
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[0].text, L"Cant save CF_ENHMETAFILE/CF_BITMAP clipboard format");
    EXPECT_EQ(warnings[1].text, L"Cant save named clipboard format - Native");

    // An empty clipboard comes back empty; an unbalanced Restore only counts down.
    board.ClearAll();
    clip.Save();
    board.CopyText(L"temporary");
    clip.Restore();
    EXPECT_TRUE(board.Formats().empty());
    clip.Restore();
    EXPECT_EQ(clip.UseCount(), -1);
}

TEST(Clipboard, AFormatThatCannotBeReadIsSkippedAndTheFormatsAreListed) {
    test::TestWorld w;
    auto& board = w.sim.clipboard;
    board.CopyText(L"kept");
    const uint32_t odd = board.RegisterFormat(L"Lazy Format");
    board.AddData(odd, {9});
    board.SetUnrenderable(odd, true);
    {
        CClipboard clip(w.services.Ports());
        clip.Save();
        EXPECT_EQ(clip.Saved().size(), 3u);  // the texts, the synthesised OEM one among them
        const auto warnings = w.log.Of(LogLevel::Warning, L"CClipboard::Save");
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_EQ(warnings[0].text.rfind(L"GetClipboardData(Format=" + std::to_wstring(odd), 0),
                  0u);
        EXPECT_NE(warnings[0].text.find(L", Err.LastDllError = 0x"), std::wstring::npos);
        const auto listing = w.log.Of(LogLevel::Debug, L"CClipboard::dbgEnumFormats");
        ASSERT_EQ(listing.size(), 1u);
        EXPECT_NE(listing[0].text.find(L"Lazy Format"), std::wstring::npos);

        // Held by another program: nothing is restored, the saved formats wait.
        board.SetHeldByOtherProgram(true);
        clip.Restore();
        board.SetHeldByOtherProgram(false);
        EXPECT_EQ(clip.Saved().size(), 3u);
    }  // destroyed in balance: nothing to say
    EXPECT_TRUE(w.log.Of(LogLevel::Warning, L"CClipboard::Class_Terminate").empty());
    {
        CClipboard unbalanced(w.services.Ports());
        unbalanced.Save();
    }
    EXPECT_EQ(w.log.Of(LogLevel::Warning, L"CClipboard::Class_Terminate").at(0).text,
              L"m_UseCount(1) <> 0");
}

TEST(Clipboard, ARestoreAfterAFailedSaveLeavesTheClipboardAlone) {
    test::TestWorld w;
    auto& board = w.sim.clipboard;
    board.CopyText(L"Dear Ann");
    CClipboard clip(w.services.Ports());
    board.SetHeldByOtherProgram(true);  // the save cannot open it
    clip.Save();
    board.SetHeldByOtherProgram(false);
    EXPECT_TRUE(clip.Saved().empty());
    clip.Restore();
    EXPECT_EQ(board.Text(), L"Dear Ann");
    EXPECT_EQ(clip.UseCount(), 0);

    // The next pair works as ever.
    clip.Save();
    board.CopyText(L"button face");
    clip.Restore();
    EXPECT_EQ(board.Text(), L"Dear Ann");
}

TEST(Clipboard, EveryFormatThatHoldsAHandleIsSkipped) {
    test::TestWorld w;
    auto& board = w.sim.clipboard;
    board.CopyText(L"kept");
    board.AddData(cf::Dib, {'B', 'M'});  // a bitmap as a memory block: copied like any other
    const std::vector<uint32_t> handles = {
        cf::MetafilePict,   cf::Palette, cf::DspBitmap, cf::DspMetafilePict,
        cf::DspEnhMetafile, 0x300,       0x350,         0x3FF};
    for (uint32_t format : handles) {
        board.AddData(format, {1, 2, 3, 4});
    }
    CClipboard clip(w.services.Ports());
    clip.Save();
    std::vector<uint32_t> saved;
    for (const auto& record : clip.Saved()) {
        saved.push_back(record.format);
    }
    // The client synthesises the OEM text from the text, after the formats put there.
    EXPECT_EQ(saved, (std::vector<uint32_t>{cf::UnicodeText, cf::Text, cf::Dib, cf::OemText}));
    const auto warnings = w.log.Of(LogLevel::Warning, L"CClipboard::Save");
    ASSERT_EQ(warnings.size(), handles.size());
    EXPECT_EQ(warnings[0].text, L"Cant save handle clipboard format - 3");
    EXPECT_EQ(warnings[1].text, L"Cant save handle clipboard format - 9");

    board.CopyText(L"button face");
    clip.Restore();
    EXPECT_EQ(board.Formats(),
              (std::vector<uint32_t>{cf::UnicodeText, cf::Text, cf::Dib, cf::OemText}));
    EXPECT_EQ(board.Text(), L"kept");
}

TEST(WordCompanion, ReceivesTheTextAsOneAnsiMessageAndTypesIt) {
    test::TestWorld w;
    sim::SimDesktop desktop{w.sim};
    w.services.host = desktop.Ports();

    // Not running: nothing happens and nothing is reported.
    mWordAddin::SendTextByKeyPress2Word(w.services, L"%FirstName% ", true);
    EXPECT_TRUE(w.sim.windows.Received().empty());
    EXPECT_TRUE(w.log.entries.empty());

    // A 2003 client editing mail in Word, with a message window in front.
    desktop.host.session.outlookMajorVersion = 11;
    desktop.wordEditor = true;
    auto mail =
        std::dynamic_pointer_cast<MailItem>(desktop.host.application->CreateItem(olMailItem));
    desktop.OpenInspector(mail);
    desktop.StartWordCompanion();
    mWordAddin::SendTextByKeyPress2Word(w.services, L"Grüße, %FirstName%, ok ", true);
    ASSERT_EQ(w.sim.windows.Received().size(), 1u);
    const auto& message = w.sim.windows.Received()[0];
    EXPECT_EQ(message.message, 74u);
    EXPECT_EQ(message.wParam, 0u);
    EXPECT_EQ(message.copyDataId, 0u);
    const std::string expected =
        "SendTextByKeyPress,1,Gr\xFC\xDF"
        "e, %FirstName%, ok ";
    EXPECT_EQ(message.copyDataLength, expected.size() + 1);
    EXPECT_EQ(std::string(message.copyData.begin(), message.copyData.end()),
              expected + std::string(1, '\0'));
    ASSERT_EQ(desktop.WordCompanionTyped().size(), 1u);
    EXPECT_EQ(desktop.WordCompanionTyped()[0], L"Grüße, %FirstName%, ok ");
    EXPECT_NE(mail->HTMLBody().find(L"Grüße, %FirstName%, ok "), std::wstring::npos)
        << text::ToUtf8(mail->HTMLBody());
}

}  // namespace
}  // namespace plexa
