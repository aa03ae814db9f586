// The simulated clipboard: formats in the order they were put there, each holding either a
// global memory block (text and most formats) or a GDI object (the bitmap and enhanced-metafile
// formats, which cannot be read as memory blocks, so they cannot be saved byte by byte). Named
// formats are registered as on Windows. Another program can hold the clipboard open, and a
// format can be made unrenderable (its data cannot be had), so that failures can be tested.
// As on Windows, the clipboard synthesises formats: any one of the ANSI, OEM and Unicode text
// formats stands for the other two, and a bitmap for a device-independent bitmap (CF_DIB). A
// synthesised format is listed after those put there, is available, and its data is rendered
// when first asked for (into a block the clipboard owns).
// Every call checks the fault named "Clipboard." + the call's name; a fault makes a Win32-shaped
// call fail with the fault's number as its last error, and Clear and SetData throw it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/IClipboard.h"
#include "platform/IResources.h"
#include "sim/Faults.h"

namespace plexa::sim {

class SimClipboard : public IClipboard {
public:
    explicit SimClipboard(Faults& faults);

    bool OpenClipboard(std::uintptr_t owner) override;
    bool CloseClipboard() override;
    bool EmptyClipboard() override;
    uint32_t EnumClipboardFormats(uint32_t format) override;
    bool IsClipboardFormatAvailable(uint32_t format) override;
    int32_t GetClipboardFormatNameA(uint32_t format, char* name, int32_t maxCount) override;
    uint32_t RegisterClipboardFormatA(const char* name) override;
    ClipboardHandle GetClipboardData(uint32_t format) override;
    ClipboardHandle SetClipboardData(uint32_t format, ClipboardHandle data) override;
    uint32_t GetLastError() override { return m_lastError; }
    ClipboardHandle GlobalAlloc(uint32_t flags, std::size_t bytes) override;
    std::size_t GlobalSize(ClipboardHandle memory) override;
    void* GlobalLock(ClipboardHandle memory) override;
    bool GlobalUnlock(ClipboardHandle memory) override;
    ClipboardHandle GlobalFree(ClipboardHandle memory) override;
    void Clear() override;
    void SetData(const std::shared_ptr<IPictureDisp>& picture, uint32_t format) override;

    // What another program (or the user) does to the clipboard. Each replaces the contents
    // unless it says it adds.
    // Copies text: the Unicode text and ANSI text formats, in that order.
    void CopyText(const std::wstring& text);
    // Adds a format holding bytes.
    void AddData(uint32_t format, std::vector<uint8_t> bytes);
    // Adds a bitmap (or an enhanced metafile, with that format).
    void AddPicture(std::shared_ptr<IPictureDisp> picture, uint32_t format = cf::Bitmap);
    // Empties it.
    void ClearAll();
    // The number of a named format (registered on first use).
    uint32_t RegisterFormat(const std::wstring& name);
    // Another program holds the clipboard open: OpenClipboard fails with access denied.
    void SetHeldByOtherProgram(bool held) { m_heldByOther = held; }
    // The format is listed but its data cannot be rendered: GetClipboardData gives 0.
    void SetUnrenderable(uint32_t format, bool unrenderable);

    // What is on it: the formats put there, in order, then those synthesised from them.
    std::vector<uint32_t> Formats() const;
    bool Has(uint32_t format) const;
    // A memory format's bytes, rendered when synthesised (empty for an absent or picture format).
    std::vector<uint8_t> Data(uint32_t format) const;
    // A picture format's picture; nullptr when absent or a memory format.
    std::shared_ptr<IPictureDisp> Picture(uint32_t format = cf::Bitmap) const;
    // The text of the Unicode text format, up to its zero ("" when absent).
    std::wstring Text() const;
    // The name of a registered format ("" for a predefined one).
    std::wstring FormatName(uint32_t format) const;
    bool IsOpen() const { return m_open; }
    // Global blocks neither freed nor owned by the clipboard.
    std::size_t LeakedBlocks() const;

private:
    struct Entry {
        uint32_t format = 0;
        ClipboardHandle memory = 0;  // a global block, or
        std::shared_ptr<IPictureDisp> picture;
        ClipboardHandle gdiHandle = 0;  // the picture's handle as GetClipboardData gives it
    };
    struct Block {
        std::vector<uint8_t> bytes;
        int locks = 0;
        bool ownedByClipboard = false;
    };

    // The fault check of a Win32-shaped call: false (with the last error set) when it fails.
    bool Pass(const wchar_t* op, uint32_t format = 0);
    bool Fail(uint32_t error);
    Entry* Find(uint32_t format);
    const Entry* Find(uint32_t format) const;
    // The formats synthesised from those put there, in the order they are listed.
    std::vector<uint32_t> Synthesized() const;
    bool IsSynthesized(uint32_t format) const;
    // A synthesised format's bytes.
    std::vector<uint8_t> Render(uint32_t format) const;
    // Frees what was rendered (the formats it came from changed).
    void DropRendered();
    void Remove(uint32_t format);
    void FreeEntry(Entry& entry);
    ClipboardHandle NewBlock(std::vector<uint8_t> bytes, bool owned);
    void Put(Entry entry);

    Faults& m_faults;
    std::vector<Entry> m_entries;
    std::map<ClipboardHandle, Block> m_blocks;
    std::map<uint32_t, std::wstring> m_names;
    std::set<uint32_t> m_unrenderable;
    // Synthesised formats rendered so far, and their blocks.
    std::map<uint32_t, ClipboardHandle> m_rendered;
    ClipboardHandle m_nextHandle = 0x10000;
    uint32_t m_nextFormat = cf::FirstRegistered;
    uint32_t m_lastError = 0;
    bool m_open = false;
    bool m_heldByOther = false;
};

}  // namespace plexa::sim
