#include "ui/mIcons.h"

#include <string>

#include "core/HostError.h"
#include "core/Text.h"
#include "host/office/CommandBars.h"
#include "platform/IClipboard.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"
#include "settings/mMisc.h"

namespace plexa::mIcons {

namespace {

constexpr int32_t kObjectNotSet = 91;
constexpr int32_t kFail = static_cast<int32_t>(0x80004005);  // E_FAIL

// A resource given by number or name, for the log.
std::wstring Describe(const Variant& resource) {
    try {
        return CStr(resource);
    } catch (const HostError&) {
        return L"(" + resource.TypeName() + L")";
    }
}

// Save and Restore of the shared clipboard keeper around a use of the clipboard. Restore runs
// however the use ends, so the user's contents come back and the keeper's nesting stays even.
class KeepClipboard {
public:
    explicit KeepClipboard(CClipboard& clipboard) : m_clipboard(clipboard) { m_clipboard.Save(); }
    ~KeepClipboard() { m_clipboard.Restore(); }
    KeepClipboard(const KeepClipboard&) = delete;
    KeepClipboard& operator=(const KeepClipboard&) = delete;

private:
    CClipboard& m_clipboard;
};

}  // namespace

void SetButtonFace(Services& services, const std::shared_ptr<CommandBarControl>& button,
                   const Variant& face, const Variant& mask, bool useClipboard) {
    constexpr const wchar_t* kSource = L"mIcons::SetButtonFace";
    try {
        if (!button) {
            throw HostError(kObjectNotSet, L"Object variable or With block variable not set",
                            kSource);
        }
        const Locale& locale = services.Ports().locale;
        IResources& resources = services.Ports().resources;
        const auto facePicture =
            resources.LoadResPicture(CStr(face, locale), ResPictureType::Bitmap);
        const auto maskPicture =
            resources.LoadResPicture(CStr(mask, locale), ResPictureType::Bitmap);
        if (mMisc::IsOutlook2000OrOlder(services) || useClipboard) {
            // Buttons before Office XP have no Picture: they take their face from the clipboard.
            KeepClipboard kept(services.Clipboard());
            IClipboard& board = services.Ports().clipboard;
            board.Clear();
            board.SetData(facePicture, cf::Bitmap);
            button->PasteFace();
        } else {
            button->SetPicture(facePicture);
            button->SetMask(maskPicture);
        }
    } catch (const HostError& e) {
        // A face is decoration: the button works without one. The log says why it has none.
        mGlobals::LogWarning(kSource,
                             L"No face " + Describe(face) + L": " + e.Description() + L" (" +
                                 std::to_wstring(e.Number()) + L")",
                             1);
    }
}

std::shared_ptr<IPictureDisp> LoadIconPicture(Services& services, const Variant& name,
                                              int32_t width, int32_t height, bool shared) {
    constexpr const wchar_t* kSource = L"mIcons::LoadIconPicture";
    const Platform& ports = services.Ports();
    IResources& resources = ports.resources;
    uint32_t flags = shared ? lr::Shared : 0;
    if (width == 0 || height == 0) {
        width = 0;
        height = 0;
        flags |= lr::DefaultSize;
    }
    ResourceNameA resourceName;
    if (const std::wstring* text = name.String()) {
        resourceName = text::ToAnsi(*text, ports.locale.codePage.c_str());
    } else {
        // MAKEINTRESOURCE keeps the low word of the number.
        resourceName = static_cast<uint16_t>(CLng(name, ports.locale) & 0xFFFF);
    }
    const ImageHandle hIcon = resources.LoadImageA(resourceName, image::Icon, width, height, flags);
    if (hIcon == 0) {
        const uint32_t lastError = resources.GetLastError();
        // The number is the Win32 error as an HRESULT (HRESULT_FROM_WIN32).
        const int32_t number =
            lastError == 0 ? kFail : static_cast<int32_t>(0x80070000u | (lastError & 0xFFFFu));
        throw HostError(number, L"LoadImage failed, LastError=0x" + text::Hex(lastError), kSource);
    }
    return IconToPicture(services, hIcon);
}

std::shared_ptr<IPictureDisp> IconToPicture(Services& services, ImageHandle hIcon) {
    constexpr const wchar_t* kSource = L"mIcons::IconToPicture";
    PictDesc desc;
    desc.picType = IPictureDisp::PicTypeIcon;
    desc.handle = hIcon;
    std::shared_ptr<IPictureDisp> picture;
    const int32_t hr = services.Ports().resources.OleCreatePictureIndirect(desc, true, picture);
    if (hr < 0 || !picture) {
        throw HostError(
            hr < 0 ? hr : kFail,
            L"OleCreatePictureIndirect failed, hr=0x" + text::Hex(static_cast<uint32_t>(hr)),
            kSource);
    }
    return picture;
}

std::shared_ptr<IPictureDisp> LoadRibbonIcon(Services& services, const Variant& name,
                                             int32_t size) {
    if (mMisc::GetOutlookVersion(services) < 14) {
        const Platform& ports = services.Ports();
        return ports.resources.LoadResPicture(CStr(name, ports.locale), ResPictureType::Icon);
    }
    return LoadIconPicture(services, name, size, size, true);
}

}  // namespace plexa::mIcons
