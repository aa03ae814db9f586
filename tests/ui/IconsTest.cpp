// Button faces and icons from the add-in's resources: faces and their masks, the clipboard route
// of Outlook 2000 that keeps the user's clipboard, icons at the exact size asked for, the errors
// of loading them, and the ribbon's loader by host version.
#include <gtest/gtest.h>

#include <functional>

#include "TestWorld.h"
#include "core/Text.h"
#include "host/office/CommandBars.h"
#include "host/outlook/OlConstants.h"
#include "settings/CClipboard.h"
#include "settings/COptions.h"
#include "sim/SimDesktop.h"
#include "sim/SimResources.h"
#include "sim/mImageFiles.h"
#include "sim/office/SimCommandBarControl.h"
#include "ui/mIcons.h"

namespace plexa {
namespace {

constexpr uint32_t kButtonGrey = 0xC0C0C0;
constexpr uint32_t kWhite = 0xFFFFFF;

const sim::SimPicture& Sim(const std::shared_ptr<IPictureDisp>& picture) {
    return dynamic_cast<const sim::SimPicture&>(*picture);
}

// A folder window of a client of that major version, with a button of the add-in on its
// standard toolbar.
struct ButtonWorld {
    explicit ButtonWorld(int32_t major) {
        w.sim.host.SetVersion(std::to_wstring(major) + L".0.0.1");
        desktop.host.session.outlookMajorVersion = major;
        w.services.host = desktop.Ports();
        auto explorer = desktop.OpenExplorer(olFolderInbox);
        button = explorer->GetCommandBars()
                     ->Item(L"Standard")
                     ->Controls()
                     ->Add(msoControlButton, 1, L"", 0, true);
        button->SetCaption(L"Plexa To");
    }
    std::wstring Face() const {
        return std::static_pointer_cast<sim::SimCommandBarControl>(button)->FaceText();
    }

    test::TestWorld w;
    sim::SimDesktop desktop{w.sim};
    std::shared_ptr<CommandBarControl> button;
};

TEST(Icons, EveryFaceHasAMaskThatIsWhiteExactlyWhereTheFaceShowsButtonGrey) {
    test::TestWorld w;
    auto& resources = w.sim.resources;
    std::vector<std::pair<std::wstring, std::wstring>> pairs;
    for (int n = 101; n <= 107; ++n) {
        pairs.emplace_back(std::to_wstring(n), std::to_wstring(n + 100));
    }
    for (const wchar_t* name :
         {L"BTN_DRAFTS", L"BTN_INSERT", L"BTN_MODEALL", L"BTN_MODESEP", L"BTN_OPTIONS"}) {
        pairs.emplace_back(name, std::wstring(name) + L"_MASK");
    }
    for (const auto& [faceName, maskName] : pairs) {
        const auto face = resources.LoadResPicture(faceName, ResPictureType::Bitmap);
        const auto mask = resources.LoadResPicture(maskName, ResPictureType::Bitmap);
        ASSERT_EQ(face->Type(), IPictureDisp::PicTypeBitmap);
        const sim::SimImage& f = Sim(face).Image();
        const sim::SimImage& m = Sim(mask).Image();
        ASSERT_EQ(f.width, 16) << text::ToUtf8(faceName);
        ASSERT_EQ(f.height, 16);
        ASSERT_EQ(m.width, 16);
        ASSERT_EQ(m.height, 16);
        int shown = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const bool background = f.Pixel(x, y) == kButtonGrey;
                shown += background ? 0 : 1;
                EXPECT_EQ(m.Pixel(x, y), background ? kWhite : 0u)
                    << text::ToUtf8(maskName) << " at " << x << "," << y;
            }
        }
        EXPECT_GT(shown, 20) << text::ToUtf8(faceName);
    }
    EXPECT_EQ(Sim(resources.LoadResPicture(L"101", ResPictureType::Bitmap)).Image().bitCount, 8);
    EXPECT_EQ(Sim(resources.LoadResPicture(L"201", ResPictureType::Bitmap)).Image().bitCount, 1);
    EXPECT_EQ(Sim(resources.LoadResPicture(L"207", ResPictureType::Bitmap)).Image().bitCount, 24);

    // The settings' pictures come from the same files: the dialog icon at the system's icon size,
    // the logos at their own.
    const auto icon = w.services.Options().MAIN_ICON();
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->Type(), IPictureDisp::PicTypeIcon);
    EXPECT_EQ(Sim(icon).Width(), 32);
    EXPECT_EQ(Sim(icon).Height(), 32);
    const auto logo = w.services.Options().LOGO();
    ASSERT_TRUE(logo);
    EXPECT_EQ(Sim(logo).Width(), 150);
    EXPECT_EQ(Sim(logo).Height(), 125);
    const auto about = resources.LoadResPicture(L"logo_about", ResPictureType::Bitmap);
    EXPECT_EQ(Sim(about).Width(), 95);
    EXPECT_EQ(Sim(about).Height(), 310);
    try {
        resources.LoadResPicture(L"101", ResPictureType::Icon);  // a bitmap, not an icon
        ADD_FAILURE() << "no icon 101";
    } catch (const HostError& e) {
        EXPECT_EQ(e.Number(), vberr::ResourceNotFound);
    }
}

TEST(Icons, OnOutlook2000AFaceIsPastedFromTheClipboardAndTheUsersContentsComeBack) {
    ButtonWorld b(9);
    auto& board = b.w.sim.clipboard;
    board.CopyText(L"Dear Ann");
    const uint32_t html = board.RegisterFormat(L"HTML Format");
    board.AddData(html, {'<', 'b', '>'});
    const auto before = board.Formats();

    mIcons::SetButtonFace(b.w.services, b.button, 101, 201);
    EXPECT_TRUE(b.Face().starts_with(L"pasted 0x")) << text::ToUtf8(b.Face());
    EXPECT_EQ(board.Formats(), before);
    EXPECT_EQ(board.Text(), L"Dear Ann");
    EXPECT_EQ(board.Data(html), (std::vector<uint8_t>{'<', 'b', '>'}));
    EXPECT_FALSE(board.Has(cf::Bitmap));
    EXPECT_EQ(b.w.services.Clipboard().UseCount(), 0);
    EXPECT_TRUE(b.w.log.Of(LogLevel::Warning, L"mIcons::SetButtonFace").empty());

    // Putting the face on the clipboard fails: the button has no face, the user's clipboard is
    // back all the same, and the keeper is balanced for the next caller.
    b.w.sim.faults.FailAlways(L"Clipboard.SetData", HostError(521, L"Can't open Clipboard"));
    mIcons::SetButtonFace(b.w.services, b.button, 102, 202);
    EXPECT_TRUE(b.Face().starts_with(L"pasted 0x"));  // still the face it had
    EXPECT_EQ(board.Text(), L"Dear Ann");
    EXPECT_EQ(board.Formats(), before);
    EXPECT_EQ(b.w.services.Clipboard().UseCount(), 0);
    const auto warnings = b.w.log.Of(LogLevel::Warning, L"mIcons::SetButtonFace");
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].text, L"No face 102: Can't open Clipboard (521)");
}

TEST(Icons, FromOutlook2002PictureAndMaskAreSetUnlessTheCallerAsksForTheClipboard) {
    ButtonWorld b(14);
    auto& board = b.w.sim.clipboard;
    board.CopyText(L"keep me");
    mIcons::SetButtonFace(b.w.services, b.button, std::wstring(L"BTN_DRAFTS"),
                          std::wstring(L"BTN_DRAFTS_MASK"));
    EXPECT_TRUE(b.Face().starts_with(L"picture 0x")) << text::ToUtf8(b.Face());
    EXPECT_NE(b.Face().find(L" mask 0x"), std::wstring::npos);
    EXPECT_EQ(b.w.sim.faults.Calls(L"Clipboard.Clear"), 0);
    EXPECT_EQ(board.Text(), L"keep me");

    mIcons::SetButtonFace(b.w.services, b.button, 106, 206, true);
    EXPECT_TRUE(b.Face().starts_with(L"pasted 0x"));
    EXPECT_EQ(b.w.sim.faults.Calls(L"Clipboard.Clear"), 1);
    EXPECT_EQ(board.Text(), L"keep me");
}

TEST(Icons, AFaceThatCannotBeLoadedLeavesTheButtonWorkingWithoutAPicture) {
    ButtonWorld b(11);
    int clicks = 0;
    auto connection = b.button->Click.Connect(
        [&clicks](const std::shared_ptr<CommandBarControl>&, bool&) { ++clicks; });

    mIcons::SetButtonFace(b.w.services, b.button, 108, 208);  // no such bitmaps
    EXPECT_EQ(b.Face(), L"");
    b.desktop.Click(L"Plexa To");
    EXPECT_EQ(clicks, 1);
    const auto warnings = b.w.log.Of(LogLevel::Warning, L"mIcons::SetButtonFace");
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(warnings[0].text.starts_with(L"No face 108: ")) << text::ToUtf8(warnings[0].text);
    EXPECT_TRUE(warnings[0].text.ends_with(L"(326)"));

    // The button refuses the picture: nothing escapes either.
    b.w.sim.faults.FailAlways(L"CommandBarControl.SetPicture",
                              HostError(-2147467259, L"Method 'Picture' of object failed"));
    mIcons::SetButtonFace(b.w.services, b.button, 103, 203);
    EXPECT_EQ(b.Face(), L"");
    mIcons::SetButtonFace(b.w.services, nullptr, 103, 203);
    EXPECT_EQ(b.w.log.Of(LogLevel::Warning, L"mIcons::SetButtonFace").size(), 3u);
    b.desktop.Click(L"Plexa To");
    EXPECT_EQ(clicks, 2);
}

TEST(Icons, IconsLoadAtExactlyTheAskedSize) {
    test::TestWorld w;
    // Only a 32-pixel image in the resource: the 16-pixel request gets it scaled.
    auto scaled = mIcons::LoadIconPicture(w.services, std::wstring(L"ICO_OPTIONS32"), 16, 16);
    EXPECT_EQ(scaled->Type(), IPictureDisp::PicTypeIcon);
    EXPECT_EQ(Sim(scaled).Width(), 16);
    EXPECT_EQ(Sim(scaled).Height(), 16);
    const auto large = mIcons::LoadIconPicture(w.services, std::wstring(L"ICO_OPTIONS32"), 32, 32);
    const sim::SimImage& s = Sim(scaled).Image();
    const sim::SimImage& l = Sim(large).Image();
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            EXPECT_EQ(s.IsTransparent(x, y), l.IsTransparent(2 * x + 1, 2 * y + 1));
        }
    }
    // Both sizes in the resource: each request gets its own image, not the other one scaled.
    const auto e16 = mIcons::LoadIconPicture(w.services, std::wstring(L"ico_e_to"), 16, 16);
    const auto e32 = mIcons::LoadIconPicture(w.services, std::wstring(L"ICO_E_TO"), 32, 32);
    EXPECT_EQ(Sim(e16).Width(), 16);
    EXPECT_EQ(Sim(e32).Width(), 32);
    EXPECT_NE(Sim(e16).Image().pixels, sim::mImageFiles::Scale(Sim(e32).Image(), 16, 16).pixels);
    // A size the resource does not have is scaled from the closest.
    const auto e48 = mIcons::LoadIconPicture(w.services, std::wstring(L"ICO_E_TO"), 48, 48);
    EXPECT_EQ(Sim(e48).Width(), 48);
    EXPECT_EQ(Sim(e48).Height(), 48);

    // 0 for either side means the system's icon size.
    for (const auto& [cx, cy] : {std::pair{0, 0}, std::pair{0, 16}, std::pair{16, 0}}) {
        const auto icon = mIcons::LoadIconPicture(w.services, std::wstring(L"MAIN_ICON"), cx, cy);
        EXPECT_EQ(Sim(icon).Width(), 32);
        EXPECT_EQ(Sim(icon).Height(), 32);
    }

    // The picture owns its icon: releasing it frees the handle. A shared icon is one handle for
    // every load and stays.
    const uint32_t handle = scaled->Handle();
    EXPECT_TRUE(w.sim.resources.IsLive(handle));
    scaled.reset();
    EXPECT_FALSE(w.sim.resources.IsLive(handle));
    auto shared1 = mIcons::LoadIconPicture(w.services, std::wstring(L"ICO_E_CC"), 16, 16, true);
    auto shared2 = mIcons::LoadIconPicture(w.services, std::wstring(L"ICO_E_CC"), 16, 16, true);
    const uint32_t sharedHandle = shared1->Handle();
    EXPECT_EQ(shared2->Handle(), sharedHandle);
    shared1.reset();
    shared2.reset();
    EXPECT_TRUE(w.sim.resources.IsLive(sharedHandle));
    EXPECT_EQ(
        mIcons::LoadIconPicture(w.services, std::wstring(L"ICO_E_CC"), 16, 16, true)->Handle(),
        sharedHandle);
}

TEST(Icons, LoadingErrorsCarryTheWindowsCodeInHexadecimal) {
    test::TestWorld w;
    const auto raised = [](const std::function<void()>& call) {
        try {
            call();
        } catch (const HostError& e) {
            return e;
        }
        return HostError(0, L"nothing raised");
    };
    // No such icon (1814); a number names a numbered resource, and the icons have names only.
    HostError e =
        raised([&] { mIcons::LoadIconPicture(w.services, std::wstring(L"ICO_NONE"), 16, 16); });
    EXPECT_EQ(e.Description(), L"LoadImage failed, LastError=0x716");
    EXPECT_EQ(e.Number(), static_cast<int32_t>(0x80070716));
    EXPECT_EQ(e.Source(), L"mIcons::LoadIconPicture");
    e = raised([&] { mIcons::LoadIconPicture(w.services, 101, 16, 16); });
    EXPECT_EQ(e.Description(), L"LoadImage failed, LastError=0x716");

    // Windows itself fails to load (out of memory, 8).
    w.sim.faults.FailNth(L"Resources.LoadImageA", 1, HostError(8, L"Not enough memory"));
    e = raised([&] { mIcons::LoadIconPicture(w.services, std::wstring(L"MAIN_ICON"), 32, 32); });
    EXPECT_EQ(e.Description(), L"LoadImage failed, LastError=0x8");

    // The picture service fails.
    w.sim.faults.FailNth(L"Resources.OleCreatePictureIndirect", 1,
                         HostError(static_cast<int32_t>(0x8007000E), L"Out of memory"));
    e = raised([&] { mIcons::LoadIconPicture(w.services, std::wstring(L"MAIN_ICON"), 32, 32); });
    EXPECT_EQ(e.Description(), L"OleCreatePictureIndirect failed, hr=0x8007000E");
    EXPECT_EQ(e.Number(), static_cast<int32_t>(0x8007000E));
    EXPECT_EQ(e.Source(), L"mIcons::IconToPicture");
    // ... or is handed something that is no icon.
    e = raised([&] { mIcons::IconToPicture(w.services, 0x7777); });
    EXPECT_EQ(e.Description(), L"OleCreatePictureIndirect failed, hr=0x80070057");

    // Once the faults are spent the same calls succeed.
    EXPECT_EQ(Sim(mIcons::LoadIconPicture(w.services, std::wstring(L"MAIN_ICON"), 16, 16)).Width(),
              16);
}

TEST(Icons, TheRibbonLoadsIconsAtTheirDefaultSizeBefore2010AndAtTheAskedSizeFrom2010) {
    {
        test::TestWorld w;
        w.sim.host.SetVersion(L"12.0.6423.1000");
        const auto icon = mIcons::LoadRibbonIcon(w.services, std::wstring(L"ICO_E_OPTIONS"), 16);
        EXPECT_EQ(icon->Type(), IPictureDisp::PicTypeIcon);
        EXPECT_EQ(Sim(icon).Width(), 32);  // Office 2007 scales it down itself
        EXPECT_EQ(w.sim.faults.Calls(L"Resources.LoadImageA"), 0);
        EXPECT_EQ(w.sim.faults.Calls(L"Resources.LoadResPicture"), 1);
        EXPECT_THROW(mIcons::LoadRibbonIcon(w.services, std::wstring(L"ICO_NONE"), 32), HostError);
    }
    {
        test::TestWorld w;
        w.sim.host.SetVersion(L"14.0.4760.1000");
        for (int size : {16, 32}) {
            const auto icon =
                mIcons::LoadRibbonIcon(w.services, std::wstring(L"ICO_E_OPTIONS"), size);
            EXPECT_EQ(Sim(icon).Width(), size);
            EXPECT_EQ(Sim(icon).Height(), size);
        }
        EXPECT_EQ(w.sim.faults.Calls(L"Resources.LoadImageA"), 2);
        EXPECT_EQ(w.sim.faults.Calls(L"Resources.LoadResPicture"), 0);
        // Shared, as the ribbon asks again on every invalidation.
        EXPECT_EQ(mIcons::LoadRibbonIcon(w.services, std::wstring(L"ICO_E_OPTIONS"), 16)->Handle(),
                  mIcons::LoadRibbonIcon(w.services, std::wstring(L"ICO_E_OPTIONS"), 16)->Handle());
        try {
            mIcons::LoadRibbonIcon(w.services, std::wstring(L"ICO_NONE"), 32);
            ADD_FAILURE() << "a missing icon raises";
        } catch (const HostError& e) {
            EXPECT_EQ(e.Description(), L"LoadImage failed, LastError=0x716");
        }
    }
}

}  // namespace
}  // namespace plexa
