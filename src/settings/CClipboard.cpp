#include "settings/CClipboard.h"

#include <cstring>

#include "core/Text.h"
#include "platform/Platform.h"
#include "settings/mGlobals.h"

namespace plexa {

namespace {

constexpr const wchar_t* kSave = L"CClipboard::Save";
constexpr const wchar_t* kRestore = L"CClipboard::Restore";

// Formats whose data is a handle (a GDI object, or a block holding one) rather than a memory
// block that could be copied: a copy of their bytes would outlive the object it refers to.
bool IsHandleFormat(uint32_t format) {
    return format == cf::Bitmap || format == cf::EnhMetafile || format == cf::MetafilePict ||
           format == cf::Palette || format == cf::DspBitmap || format == cf::DspMetafilePict ||
           format == cf::DspEnhMetafile || (format >= cf::GdiObjFirst && format <= cf::GdiObjLast);
}

std::wstring FormatName(IClipboard& board, const Locale& locale, uint32_t format) {
    char name[1024] = {};
    const int32_t length = board.GetClipboardFormatNameA(format, name, sizeof name);
    if (length <= 0) {
        return {};
    }
    return text::FromAnsi(std::string_view(name, std::strlen(name)), locale.codePage.c_str());
}

// What the warning about a failed step ends with: the error code the call left and the one the
// runtime saw (the same here).
std::wstring ErrorCodes(IClipboard& board) {
    const uint32_t error = board.GetLastError();
    return L", GetLastError = 0x" + text::Hex(error) + L", Err.LastDllError = 0x" +
           text::Hex(error);
}

}  // namespace

CClipboard::~CClipboard() {
    if (m_UseCount != 0) {
        mGlobals::LogWarning(L"CClipboard::Class_Terminate",
                             L"m_UseCount(" + std::to_wstring(m_UseCount) + L") <> 0", 1);
    }
}

void CClipboard::Save() {
    if (++m_UseCount != 1) {
        return;  // an outer Save holds the contents already
    }
    mGlobals::LogDebug(kSave, L"{", 3);
    m_saved.clear();
    m_haveSaved = false;
    IClipboard* board = &m_ports.clipboard;
    if (!board->OpenClipboard(0)) {
        return;  // nothing saved: the matching Restore leaves the clipboard alone
    }
    m_haveSaved = true;
    std::vector<uint32_t> kept;
    for (uint32_t format = board->EnumClipboardFormats(0); format != 0;
         format = board->EnumClipboardFormats(format)) {
        if (format == cf::Bitmap || format == cf::EnhMetafile) {
            mGlobals::LogWarning(kSave, L"Cant save CF_ENHMETAFILE/CF_BITMAP clipboard format", 3);
            continue;
        }
        if (IsHandleFormat(format)) {
            mGlobals::LogWarning(
                kSave, L"Cant save handle clipboard format - " + std::to_wstring(format), 3);
            continue;
        }
        const std::wstring name = FormatName(*board, m_ports.locale, format);
        if (name == L"Native" || name == L"OwnerLink" || name == L"Embed Source") {
            mGlobals::LogWarning(kSave, L"Cant save named clipboard format - " + name, 3);
            continue;
        }
        kept.push_back(format);
    }
    bool failed = false;
    for (uint32_t format : kept) {
        const ClipboardHandle handle = board->GetClipboardData(format);
        if (handle == 0) {
            mGlobals::LogWarning(
                kSave,
                L"GetClipboardData(Format=" + std::to_wstring(format) + L")" + ErrorCodes(*board),
                1);
            failed = true;
            continue;
        }
        const std::size_t size = board->GlobalSize(handle);
        const void* bytes = board->GlobalLock(handle);
        if (bytes == nullptr) {
            mGlobals::LogWarning(
                kSave, L"GlobalLock(handle=0x" + text::Hex(handle) + L")" + ErrorCodes(*board), 1);
            failed = true;
            continue;
        }
        const auto* begin = static_cast<const unsigned char*>(bytes);
        m_saved.push_back(SavedFormat{format, static_cast<uint32_t>(size),
                                      std::vector<unsigned char>(begin, begin + size)});
        board->GlobalUnlock(handle);
    }
    board->CloseClipboard();
    mGlobals::LogDebug(kSave, L"}", 3);
    if (failed) {
        dbgEnumFormats();
    }
}

void CClipboard::Restore() {
    if (m_UseCount-- != 1) {
        return;
    }
    mGlobals::LogDebug(kRestore, L"{", 3);
    if (!m_haveSaved) {
        // The clipboard could not be read when it was to be saved: emptying it now would wipe
        // what the user copied and put nothing back.
        mGlobals::LogWarning(kRestore, L"nothing was saved, the clipboard is left as it is", 1);
        return;
    }
    IClipboard* board = &m_ports.clipboard;
    if (!board->OpenClipboard(0)) {
        return;
    }
    board->EmptyClipboard();
    for (const SavedFormat& record : m_saved) {
        const ClipboardHandle block = board->GlobalAlloc(0, record.size);
        void* bytes = block != 0 ? board->GlobalLock(block) : nullptr;
        if (bytes == nullptr) {
            mGlobals::LogWarning(kRestore,
                                 L"GlobalAlloc/GlobalLock(Format=" +
                                     std::to_wstring(record.format) + L")" + ErrorCodes(*board),
                                 1);
            if (block != 0) {
                board->GlobalFree(block);
            }
            continue;
        }
        if (!record.data.empty()) {
            std::memcpy(bytes, record.data.data(), record.data.size());
        }
        board->GlobalUnlock(block);
        if (board->SetClipboardData(record.format, block) == 0) {
            mGlobals::LogWarning(kRestore,
                                 L"SetClipboardData(Format=" + std::to_wstring(record.format) +
                                     L")" + ErrorCodes(*board),
                                 1);
            board->GlobalFree(block);
        }
    }
    board->CloseClipboard();
    m_saved.clear();
    m_haveSaved = false;
    mGlobals::LogDebug(kRestore, L"}", 3);
}

void CClipboard::dbgEnumFormats() {
    IClipboard* board = &m_ports.clipboard;
    if (!board->OpenClipboard(0)) {
        mGlobals::LogWarning(
            L"CClipboard::dbgEnumFormats",
            L"OpenClipboard, Err.LastDllError = " + std::to_wstring(board->GetLastError()), 1);
        return;
    }
    std::wstring list = L"EnumClipboardFormats:";
    for (uint32_t format = board->EnumClipboardFormats(0); format != 0;
         format = board->EnumClipboardFormats(format)) {
        list += L"\n" + std::to_wstring(format);
        const std::wstring name = FormatName(*board, m_ports.locale, format);
        if (!name.empty()) {
            list += L" " + name;
        }
    }
    board->CloseClipboard();
    mGlobals::LogDebug(L"CClipboard::dbgEnumFormats", list, 1);
}

}  // namespace plexa
