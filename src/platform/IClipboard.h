// The Windows clipboard, shaped like the user32 clipboard functions and the kernel32 global-memory
// functions the add-in uses to save and restore it, plus the host runtime's Clipboard object
// (Clear, SetData) through which a picture goes onto it. The Win32-shaped calls never throw: they
// report failure by their result and leave the reason in GetLastError, as the real ones do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace plexa {

class IPictureDisp;

// A handle the clipboard hands over: a global memory block, or a GDI object for the bitmap and
// enhanced-metafile formats.
using ClipboardHandle = std::uintptr_t;

// Standard clipboard format numbers. They do not take the Win32 macro names, so that code
// including <windows.h> can include this header too.
namespace cf {
inline constexpr uint32_t Text = 1;
inline constexpr uint32_t Bitmap = 2;
inline constexpr uint32_t MetafilePict = 3;
inline constexpr uint32_t OemText = 7;
inline constexpr uint32_t Dib = 8;
inline constexpr uint32_t Palette = 9;
inline constexpr uint32_t UnicodeText = 13;
inline constexpr uint32_t EnhMetafile = 14;
inline constexpr uint32_t Locale = 16;
// Private display formats of the clipboard viewer.
inline constexpr uint32_t DspBitmap = 0x82;
inline constexpr uint32_t DspMetafilePict = 0x83;
inline constexpr uint32_t DspEnhMetafile = 0x8E;
// Private formats whose data is a GDI object, deleted when the clipboard is emptied.
inline constexpr uint32_t GdiObjFirst = 0x300;
inline constexpr uint32_t GdiObjLast = 0x3FF;
// Registered (named) formats are numbered from here on.
inline constexpr uint32_t FirstRegistered = 0xC000;
}  // namespace cf

// Win32 error codes the clipboard reports.
namespace cberr {
inline constexpr uint32_t InvalidHandle = 6;
inline constexpr uint32_t NotEnoughMemory = 8;
inline constexpr uint32_t AccessDenied = 5;
inline constexpr uint32_t ClipboardNotOpen = 1418;
}  // namespace cberr

class IClipboard {
public:
    virtual ~IClipboard() = default;

    // OpenClipboard: false when another program holds the clipboard open.
    virtual bool OpenClipboard(std::uintptr_t owner) = 0;
    // CloseClipboard: false when this program had not opened it.
    virtual bool CloseClipboard() = 0;
    // EmptyClipboard: frees every format; false unless the clipboard is open.
    virtual bool EmptyClipboard() = 0;
    // EnumClipboardFormats: the format after the given one in clipboard order (0 asks for the
    // first); 0 after the last, or when the clipboard is not open.
    virtual uint32_t EnumClipboardFormats(uint32_t format) = 0;
    virtual bool IsClipboardFormatAvailable(uint32_t format) = 0;
    // GetClipboardFormatNameA: copies the registered name (cut to maxCount - 1 characters and
    // ended by a zero) and returns its length; 0 for a predefined format.
    virtual int32_t GetClipboardFormatNameA(uint32_t format, char* name, int32_t maxCount) = 0;
    // RegisterClipboardFormatA: the number of a named format, the same for the same name (letter
    // case ignored); 0 on failure.
    virtual uint32_t RegisterClipboardFormatA(const char* name) = 0;
    // GetClipboardData: the clipboard's handle for a format (still owned by the clipboard); 0
    // when the format is absent, cannot be rendered, or the clipboard is not open.
    virtual ClipboardHandle GetClipboardData(uint32_t format) = 0;
    // SetClipboardData: hands a block from GlobalAlloc (or a GDI handle) to the clipboard, which
    // owns it from then on; returns the handle, or 0 on failure.
    virtual ClipboardHandle SetClipboardData(uint32_t format, ClipboardHandle data) = 0;
    // The error code of the last call that failed.
    virtual uint32_t GetLastError() = 0;

    // GlobalAlloc: a movable block of that size; 0 when it cannot be had.
    virtual ClipboardHandle GlobalAlloc(uint32_t flags, std::size_t bytes) = 0;
    // GlobalSize: the block's size; 0 for a handle that is no global block.
    virtual std::size_t GlobalSize(ClipboardHandle memory) = 0;
    // GlobalLock: the block's bytes until GlobalUnlock; nullptr for a handle that is no block.
    virtual void* GlobalLock(ClipboardHandle memory) = 0;
    // GlobalUnlock: true while the block is still locked after this call.
    virtual bool GlobalUnlock(ClipboardHandle memory) = 0;
    // GlobalFree: 0 on success, the handle when it could not be freed.
    virtual ClipboardHandle GlobalFree(ClipboardHandle memory) = 0;

    // The host runtime's Clipboard.Clear. Throws HostError when the clipboard cannot be opened.
    virtual void Clear() = 0;
    // The host runtime's Clipboard.SetData: puts a picture on the clipboard in a format (the
    // bitmap format by default). Throws HostError when it cannot.
    virtual void SetData(const std::shared_ptr<IPictureDisp>& picture,
                         uint32_t format = cf::Bitmap) = 0;
};

}  // namespace plexa
