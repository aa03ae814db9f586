// The add-in's own resources: the string table and the pictures (icons and bitmaps), as the host
// runtime loads them, and the Win32 and OLE calls through which an icon is loaded at an exact size
// and wrapped in a picture. The Win32-shaped calls never throw: they report failure by their
// result and leave the reason in GetLastError, as the real ones do.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

namespace plexa {

inline constexpr int IDS_PRODUCT_HOME_PAGE = 601;
inline constexpr int IDS_COMPANY_SHORT_NAME = 602;
inline constexpr int IDS_PRODUCT_SHORT_NAME = 603;
inline constexpr int IDS_PRODUCT_CODE = 604;

// The kind of picture resource asked for, as the host's LoadResPicture numbers it.
enum class ResPictureType { Bitmap = 0, Icon = 1 };

// A loaded picture, as the host's StdPicture: a GDI handle and the picture's type.
class IPictureDisp {
public:
    virtual ~IPictureDisp() = default;
    static constexpr int16_t PicTypeBitmap = 1;
    static constexpr int16_t PicTypeIcon = 3;
    virtual uint32_t Handle() const = 0;
    virtual int16_t Type() const = 0;
};

// A GDI image handle (HICON, HBITMAP) as LoadImageA returns it; 0 for none.
using ImageHandle = std::uintptr_t;

// A resource of the add-in's module as Win32 names it: an ANSI name, or a number (what
// MAKEINTRESOURCE passes). A name "#101" also stands for the number 101, as in Win32.
using ResourceNameA = std::variant<std::string, uint16_t>;

// LoadImageA's image types and flags, and the error codes it leaves. They do not take the Win32
// macro names, so that code including <windows.h> can include this header too.
namespace image {
inline constexpr uint32_t Bitmap = 0;  // IMAGE_BITMAP
inline constexpr uint32_t Icon = 1;    // IMAGE_ICON
inline constexpr uint32_t Cursor = 2;  // IMAGE_CURSOR
}  // namespace image
namespace lr {
inline constexpr uint32_t DefaultSize = 0x40;  // LR_DEFAULTSIZE: 0 by 0 means the system size
inline constexpr uint32_t Shared = 0x8000;     // LR_SHARED: one handle per image, never freed
}  // namespace lr
namespace reserr {
inline constexpr uint32_t NotEnoughMemory = 8;
inline constexpr uint32_t InvalidData = 13;
inline constexpr uint32_t InvalidParameter = 87;
inline constexpr uint32_t ResourceTypeNotFound = 1813;
inline constexpr uint32_t ResourceNameNotFound = 1814;
}  // namespace reserr

// OleCreatePictureIndirect's description of the picture to make: a PICTDESC of type
// PICTYPE_BITMAP (1) or PICTYPE_ICON (3, IPictureDisp::PicTypeIcon) over a handle.
struct PictDesc {
    int16_t picType = IPictureDisp::PicTypeIcon;
    ImageHandle handle = 0;
};

// HRESULTs the OLE picture service returns.
namespace hres {
inline constexpr int32_t Ok = 0;
inline constexpr int32_t InvalidArg = static_cast<int32_t>(0x80070057);
}  // namespace hres

class IResources {
public:
    virtual ~IResources() = default;
    // The string resource with that id; empty when there is none.
    virtual std::wstring LoadResString(int id) = 0;
    // The host runtime's LoadResPicture: the icon (at the system's icon size) or bitmap (at its
    // own size) resource of that name; a name of digits ("101") is the resource number. Throws
    // HostError 326 (resource not found) when the add-in has no such resource of that kind.
    virtual std::shared_ptr<IPictureDisp> LoadResPicture(const std::wstring& name,
                                                         ResPictureType type) = 0;
    // LoadImageA on the add-in's own module: the icon or bitmap resource (image::) at cx by cy
    // pixels, the closest image scaled when the resource has no image of that size; 0 by 0 is
    // the system's icon size with lr::DefaultSize, the resource's own size without it. Returns 0
    // on failure, with the reason in GetLastError (reserr::).
    virtual ImageHandle LoadImageA(const ResourceNameA& name, uint32_t type, int32_t cx, int32_t cy,
                                   uint32_t flags) = 0;
    // GetLastError: the error code the last failing call of this port left.
    virtual uint32_t GetLastError() = 0;
    // OleCreatePictureIndirect: a picture over the handle, which it destroys when released if
    // own is true. Returns an HRESULT; the picture is set only on success.
    virtual int32_t OleCreatePictureIndirect(const PictDesc& desc, bool own,
                                             std::shared_ptr<IPictureDisp>& picture) = 0;
};

}  // namespace plexa
