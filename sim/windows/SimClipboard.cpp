#include "sim/windows/SimClipboard.h"

#include <algorithm>
#include <cstring>

#include "core/Text.h"
#include "sim/SimPictures.h"
#include "sim/SimResources.h"

namespace plexa::sim {

namespace {
bool IsPictureFormat(uint32_t format) {
    return format == cf::Bitmap || format == cf::EnhMetafile;
}

bool IsTextFormat(uint32_t format) {
    return format == cf::Text || format == cf::OemText || format == cf::UnicodeText;
}

const char* const kOemCodePage = "ibm-437";
const char* const kAnsiCodePage = "windows-1252";

// The text of a text format's bytes, up to its zero.
std::wstring TextOf(uint32_t format, const std::vector<uint8_t>& bytes) {
    if (format == cf::UnicodeText) {
        std::u16string units;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            const auto c = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
            if (c == 0) {
                break;
            }
            units.push_back(c);
        }
        return text::FromUtf16(units);
    }
    std::string narrow;
    for (uint8_t b : bytes) {
        if (b == 0) {
            break;
        }
        narrow.push_back(static_cast<char>(b));
    }
    return text::FromAnsi(narrow, format == cf::OemText ? kOemCodePage : kAnsiCodePage);
}

// A text in a text format, with its zero.
std::vector<uint8_t> BytesOf(uint32_t format, const std::wstring& s) {
    std::vector<uint8_t> bytes;
    if (format == cf::UnicodeText) {
        for (char16_t c : text::ToUtf16(s)) {
            bytes.push_back(static_cast<uint8_t>(c & 0xFF));
            bytes.push_back(static_cast<uint8_t>(c >> 8));
        }
        bytes.push_back(0);
        bytes.push_back(0);
        return bytes;
    }
    const std::string narrow =
        text::ToAnsi(s, format == cf::OemText ? kOemCodePage : kAnsiCodePage);
    bytes.assign(narrow.begin(), narrow.end());
    bytes.push_back(0);
    return bytes;
}

void PutLE(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

// A picture as a device-independent bitmap: a bitmap file's bytes after its file header, or a
// 32-bit bottom-up bitmap of the picture's pixels (1 by 1 for a picture without any).
std::vector<uint8_t> DibOf(const IPictureDisp& picture) {
    if (const auto* file = dynamic_cast<const SimFilePicture*>(&picture)) {
        const std::string& bytes = file->Bytes();
        constexpr std::size_t kFileHeader = 14;
        if (bytes.size() > kFileHeader && bytes.compare(0, 2, "BM") == 0) {
            return {bytes.begin() + kFileHeader, bytes.end()};
        }
    }
    SimImage image;
    if (const auto* resource = dynamic_cast<const SimPicture*>(&picture)) {
        image = resource->Image();
    }
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height) {
        image = SimImage{1, 1, 32, {0}, {}};
    }
    std::vector<uint8_t> dib;
    PutLE(dib, 40, 4);  // BITMAPINFOHEADER
    PutLE(dib, static_cast<uint32_t>(image.width), 4);
    PutLE(dib, static_cast<uint32_t>(image.height), 4);
    PutLE(dib, 1, 2);   // planes
    PutLE(dib, 32, 2);  // bits per pixel
    PutLE(dib, 0, 4);   // BI_RGB
    PutLE(dib, static_cast<uint32_t>(image.width * image.height * 4), 4);
    PutLE(dib, 0, 4);
    PutLE(dib, 0, 4);
    PutLE(dib, 0, 4);
    PutLE(dib, 0, 4);
    for (int32_t y = image.height - 1; y >= 0; --y) {
        for (int32_t x = 0; x < image.width; ++x) {
            PutLE(dib, image.Pixel(x, y) & 0xFFFFFF, 4);
        }
    }
    return dib;
}

}  // namespace

SimClipboard::SimClipboard(Faults& faults) : m_faults(faults) {}

bool SimClipboard::Pass(const wchar_t* op, uint32_t format) {
    try {
        m_faults.Check(std::wstring(L"Clipboard.") + op,
                       format == 0 ? L"" : std::to_wstring(format));
    } catch (const HostError& e) {
        m_lastError = static_cast<uint32_t>(e.Number());
        return false;
    }
    return true;
}

bool SimClipboard::Fail(uint32_t error) {
    m_lastError = error;
    return false;
}

bool SimClipboard::OpenClipboard(std::uintptr_t /*owner*/) {
    if (!Pass(L"OpenClipboard")) {
        return false;
    }
    if (m_heldByOther || m_open) {
        return Fail(cberr::AccessDenied);
    }
    m_open = true;
    return true;
}

bool SimClipboard::CloseClipboard() {
    if (!Pass(L"CloseClipboard")) {
        return false;
    }
    if (!m_open) {
        return Fail(cberr::ClipboardNotOpen);
    }
    m_open = false;
    return true;
}

bool SimClipboard::EmptyClipboard() {
    if (!Pass(L"EmptyClipboard")) {
        return false;
    }
    if (!m_open) {
        return Fail(cberr::ClipboardNotOpen);
    }
    ClearAll();
    return true;
}

uint32_t SimClipboard::EnumClipboardFormats(uint32_t format) {
    if (!Pass(L"EnumClipboardFormats", format)) {
        return 0;
    }
    if (!m_open) {
        Fail(cberr::ClipboardNotOpen);
        return 0;
    }
    m_lastError = 0;
    const std::vector<uint32_t> formats = Formats();
    if (format == 0) {
        return formats.empty() ? 0 : formats.front();
    }
    for (std::size_t i = 0; i + 1 < formats.size(); ++i) {
        if (formats[i] == format) {
            return formats[i + 1];
        }
    }
    return 0;
}

bool SimClipboard::IsClipboardFormatAvailable(uint32_t format) {
    if (!Pass(L"IsClipboardFormatAvailable", format)) {
        return false;
    }
    return Has(format);
}

int32_t SimClipboard::GetClipboardFormatNameA(uint32_t format, char* name, int32_t maxCount) {
    if (!Pass(L"GetClipboardFormatNameA", format)) {
        return 0;
    }
    auto it = m_names.find(format);
    if (it == m_names.end() || name == nullptr || maxCount <= 0) {
        Fail(cberr::InvalidHandle);
        return 0;
    }
    const std::string ansi = text::ToAnsi(it->second);
    const auto n = std::min<std::size_t>(ansi.size(), static_cast<std::size_t>(maxCount - 1));
    std::memcpy(name, ansi.data(), n);
    name[n] = '\0';
    return static_cast<int32_t>(n);
}

uint32_t SimClipboard::RegisterClipboardFormatA(const char* name) {
    if (!Pass(L"RegisterClipboardFormatA")) {
        return 0;
    }
    if (name == nullptr || *name == '\0') {
        Fail(87);  // ERROR_INVALID_PARAMETER
        return 0;
    }
    return RegisterFormat(text::FromAnsi(name));
}

uint32_t SimClipboard::RegisterFormat(const std::wstring& name) {
    for (const auto& [format, known] : m_names) {
        if (text::EqualsNoCase(known, name)) {
            return format;
        }
    }
    const uint32_t format = m_nextFormat++;
    m_names[format] = name;
    return format;
}

ClipboardHandle SimClipboard::GetClipboardData(uint32_t format) {
    if (!Pass(L"GetClipboardData", format)) {
        return 0;
    }
    if (!m_open) {
        Fail(cberr::ClipboardNotOpen);
        return 0;
    }
    const Entry* entry = Find(format);
    const bool synthesized = entry == nullptr && IsSynthesized(format);
    if ((entry == nullptr && !synthesized) || m_unrenderable.contains(format)) {
        Fail(entry == nullptr && !synthesized ? cberr::InvalidHandle : cberr::NotEnoughMemory);
        return 0;
    }
    if (synthesized) {
        auto& rendered = m_rendered[format];
        if (rendered == 0) {
            rendered = NewBlock(Render(format), true);
        }
        return rendered;
    }
    return entry->picture ? entry->gdiHandle : entry->memory;
}

ClipboardHandle SimClipboard::SetClipboardData(uint32_t format, ClipboardHandle data) {
    if (!Pass(L"SetClipboardData", format)) {
        return 0;
    }
    if (!m_open) {
        Fail(cberr::ClipboardNotOpen);
        return 0;
    }
    auto it = m_blocks.find(data);
    if (format == 0 || it == m_blocks.end() || it->second.ownedByClipboard) {
        // Only global blocks can be handed over here; pictures go through SetData.
        Fail(cberr::InvalidHandle);
        return 0;
    }
    it->second.ownedByClipboard = true;
    Entry entry;
    entry.format = format;
    entry.memory = data;
    Put(std::move(entry));
    return data;
}

ClipboardHandle SimClipboard::GlobalAlloc(uint32_t /*flags*/, std::size_t bytes) {
    if (!Pass(L"GlobalAlloc")) {
        return 0;
    }
    return NewBlock(std::vector<uint8_t>(bytes, 0), false);
}

std::size_t SimClipboard::GlobalSize(ClipboardHandle memory) {
    if (!Pass(L"GlobalSize")) {
        return 0;
    }
    auto it = m_blocks.find(memory);
    if (it == m_blocks.end()) {
        Fail(cberr::InvalidHandle);
        return 0;
    }
    return it->second.bytes.size();
}

void* SimClipboard::GlobalLock(ClipboardHandle memory) {
    if (!Pass(L"GlobalLock")) {
        return nullptr;
    }
    auto it = m_blocks.find(memory);
    if (it == m_blocks.end()) {
        Fail(cberr::InvalidHandle);
        return nullptr;
    }
    ++it->second.locks;
    // A zero-sized block still has an address.
    static uint8_t empty = 0;
    return it->second.bytes.empty() ? &empty : it->second.bytes.data();
}

bool SimClipboard::GlobalUnlock(ClipboardHandle memory) {
    if (!Pass(L"GlobalUnlock")) {
        return false;
    }
    auto it = m_blocks.find(memory);
    if (it == m_blocks.end() || it->second.locks == 0) {
        Fail(it == m_blocks.end() ? cberr::InvalidHandle : 158);  // ERROR_NOT_LOCKED
        return false;
    }
    --it->second.locks;
    m_lastError = 0;
    return it->second.locks > 0;
}

ClipboardHandle SimClipboard::GlobalFree(ClipboardHandle memory) {
    if (!Pass(L"GlobalFree")) {
        return memory;
    }
    auto it = m_blocks.find(memory);
    if (it == m_blocks.end() || it->second.ownedByClipboard) {
        Fail(cberr::InvalidHandle);
        return memory;
    }
    m_blocks.erase(it);
    return 0;
}

void SimClipboard::Clear() {
    m_faults.Check(L"Clipboard.Clear");
    if (m_heldByOther) {
        throw HostError(521, L"Can't open Clipboard", L"Plexa");
    }
    ClearAll();
}

void SimClipboard::SetData(const std::shared_ptr<IPictureDisp>& picture, uint32_t format) {
    m_faults.Check(L"Clipboard.SetData", std::to_wstring(format));
    if (m_heldByOther) {
        throw HostError(521, L"Can't open Clipboard", L"Plexa");
    }
    if (!picture || picture->Handle() == 0) {
        throw HostError(380, L"Invalid property value", L"Plexa");
    }
    if (!IsPictureFormat(format) && format != cf::Dib) {
        throw HostError(461, L"Specified format doesn't match format of data", L"Plexa");
    }
    AddPicture(picture, format == cf::Dib ? cf::Bitmap : format);
}

void SimClipboard::CopyText(const std::wstring& text) {
    ClearAll();
    std::vector<uint8_t> unicode;
    for (char16_t c : text::ToUtf16(text)) {
        unicode.push_back(static_cast<uint8_t>(c & 0xFF));
        unicode.push_back(static_cast<uint8_t>(c >> 8));
    }
    unicode.push_back(0);
    unicode.push_back(0);
    AddData(cf::UnicodeText, std::move(unicode));
    const std::string ansi = text::ToAnsi(text);
    std::vector<uint8_t> bytes(ansi.begin(), ansi.end());
    bytes.push_back(0);
    AddData(cf::Text, std::move(bytes));
}

void SimClipboard::AddData(uint32_t format, std::vector<uint8_t> bytes) {
    Entry entry;
    entry.format = format;
    entry.memory = NewBlock(std::move(bytes), true);
    Put(std::move(entry));
}

void SimClipboard::AddPicture(std::shared_ptr<IPictureDisp> picture, uint32_t format) {
    Entry entry;
    entry.format = format;
    entry.gdiHandle = picture ? picture->Handle() : 0;
    entry.picture = std::move(picture);
    Put(std::move(entry));
}

void SimClipboard::Put(Entry entry) {
    Remove(entry.format);
    DropRendered();
    m_entries.push_back(std::move(entry));
}

void SimClipboard::ClearAll() {
    for (Entry& entry : m_entries) {
        FreeEntry(entry);
    }
    m_entries.clear();
    DropRendered();
}

void SimClipboard::DropRendered() {
    for (const auto& [format, block] : m_rendered) {
        m_blocks.erase(block);
    }
    m_rendered.clear();
}

std::vector<uint32_t> SimClipboard::Synthesized() const {
    std::vector<uint32_t> formats;
    const bool anyText = Find(cf::Text) != nullptr || Find(cf::OemText) != nullptr ||
                         Find(cf::UnicodeText) != nullptr;
    for (uint32_t format : {cf::Text, cf::OemText, cf::UnicodeText}) {
        if (anyText && Find(format) == nullptr) {
            formats.push_back(format);
        }
    }
    const Entry* bitmap = Find(cf::Bitmap);
    if (bitmap != nullptr && bitmap->picture && Find(cf::Dib) == nullptr) {
        formats.push_back(cf::Dib);
    }
    return formats;
}

bool SimClipboard::IsSynthesized(uint32_t format) const {
    const std::vector<uint32_t> formats = Synthesized();
    return std::find(formats.begin(), formats.end(), format) != formats.end();
}

std::vector<uint8_t> SimClipboard::Render(uint32_t format) const {
    if (IsTextFormat(format)) {
        // From the Unicode text when it is there, else from whichever text was put there.
        for (uint32_t source : {cf::UnicodeText, cf::Text, cf::OemText}) {
            const Entry* e = Find(source);
            if (e != nullptr && e->memory != 0) {
                return BytesOf(format, TextOf(source, m_blocks.at(e->memory).bytes));
            }
        }
        return {};
    }
    const Entry* bitmap = Find(cf::Bitmap);
    if (format == cf::Dib && bitmap != nullptr && bitmap->picture) {
        return DibOf(*bitmap->picture);
    }
    return {};
}

void SimClipboard::FreeEntry(Entry& entry) {
    if (entry.memory != 0) {
        m_blocks.erase(entry.memory);
    }
}

void SimClipboard::Remove(uint32_t format) {
    auto it = std::find_if(m_entries.begin(), m_entries.end(),
                           [format](const Entry& e) { return e.format == format; });
    if (it != m_entries.end()) {
        FreeEntry(*it);
        m_entries.erase(it);
        DropRendered();
    }
}

void SimClipboard::SetUnrenderable(uint32_t format, bool unrenderable) {
    if (unrenderable) {
        m_unrenderable.insert(format);
    } else {
        m_unrenderable.erase(format);
    }
}

ClipboardHandle SimClipboard::NewBlock(std::vector<uint8_t> bytes, bool owned) {
    const ClipboardHandle handle = m_nextHandle;
    m_nextHandle += 0x10;
    Block block;
    block.bytes = std::move(bytes);
    block.ownedByClipboard = owned;
    m_blocks.emplace(handle, std::move(block));
    return handle;
}

SimClipboard::Entry* SimClipboard::Find(uint32_t format) {
    for (Entry& e : m_entries) {
        if (e.format == format) {
            return &e;
        }
    }
    return nullptr;
}

const SimClipboard::Entry* SimClipboard::Find(uint32_t format) const {
    for (const Entry& e : m_entries) {
        if (e.format == format) {
            return &e;
        }
    }
    return nullptr;
}

std::vector<uint32_t> SimClipboard::Formats() const {
    std::vector<uint32_t> formats;
    for (const Entry& e : m_entries) {
        formats.push_back(e.format);
    }
    for (uint32_t format : Synthesized()) {
        formats.push_back(format);
    }
    return formats;
}

bool SimClipboard::Has(uint32_t format) const {
    return Find(format) != nullptr || IsSynthesized(format);
}

std::vector<uint8_t> SimClipboard::Data(uint32_t format) const {
    const Entry* e = Find(format);
    if (e == nullptr) {
        return IsSynthesized(format) ? Render(format) : std::vector<uint8_t>{};
    }
    if (e->memory == 0) {
        return {};
    }
    return m_blocks.at(e->memory).bytes;
}

std::shared_ptr<IPictureDisp> SimClipboard::Picture(uint32_t format) const {
    const Entry* e = Find(format);
    return e == nullptr ? nullptr : e->picture;
}

std::wstring SimClipboard::Text() const {
    return TextOf(cf::UnicodeText, Data(cf::UnicodeText));
}

std::wstring SimClipboard::FormatName(uint32_t format) const {
    auto it = m_names.find(format);
    return it == m_names.end() ? L"" : it->second;
}

std::size_t SimClipboard::LeakedBlocks() const {
    return static_cast<std::size_t>(
        std::count_if(m_blocks.begin(), m_blocks.end(),
                      [](const auto& b) { return !b.second.ownedByClipboard; }));
}

}  // namespace plexa::sim
