// Saves every format of the Windows clipboard and puts them back later, so that the add-in can
// pass button faces through the clipboard without losing what the user copied. Save/Restore
// pairs nest: only the outermost pair touches the clipboard.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plexa {

struct Platform;

class CClipboard {
public:
    explicit CClipboard(const Platform& ports) : m_ports(ports) {}
    ~CClipboard();
    CClipboard(const CClipboard&) = delete;
    CClipboard& operator=(const CClipboard&) = delete;

    void Save();
    void Restore();

    int32_t UseCount() const { return m_UseCount; }

    struct SavedFormat {
        uint32_t format;
        uint32_t size;
        std::vector<unsigned char> data;
    };
    const std::vector<SavedFormat>& Saved() const { return m_saved; }

private:
    void dbgEnumFormats();

    const Platform& m_ports;
    int32_t m_UseCount = 0;
    // Whether the outermost Save could read the clipboard (its formats are in m_saved).
    bool m_haveSaved = false;
    std::vector<SavedFormat> m_saved;
};

}  // namespace plexa
