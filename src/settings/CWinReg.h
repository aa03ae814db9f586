// The add-in's one gateway to the registry: one open key with typed value access (text, 32-bit
// number, yes/no flag), enumeration of values and subkeys, and deletion of whole subtrees.
// Nothing here throws or logs: every operation reports through its result (false, an empty
// text or the caller's default).
//
// A caller creates a CWinReg, opens a key with one of the Init operations, checks the result,
// works with values, and closes the key with CloseKey or by dropping the object.
#pragma once

#include <cstdint>
#include <string>

#include "platform/IRegistry.h"

namespace plexa {

struct Platform;

class CWinReg {
public:
    explicit CWinReg(const Platform& ports);
    ~CWinReg();
    CWinReg(const CWinReg&) = delete;
    CWinReg& operator=(const CWinReg&) = delete;

    static constexpr RegKey HKEY_CLASSES_ROOT() { return reg::HkeyClassesRoot; }
    static constexpr RegKey HKEY_CURRENT_USER() { return reg::HkeyCurrentUser; }
    static constexpr RegKey HKEY_LOCAL_MACHINE() { return reg::HkeyLocalMachine; }

    // Opens root\subKey with the access mask, creating the missing levels when create is true.
    // True when a key is open afterwards. A key held before is closed either way.
    bool InitForAccess(RegKey root, const std::wstring& subKey, uint32_t access, bool create);
    bool InitForRead(RegKey root, const std::wstring& subKey);
    bool InitForWrite(RegKey root, const std::wstring& subKey, bool create);
    bool InitForAllAccess(RegKey root, const std::wstring& subKey, bool create);

    // The name of the value or subkey at a zero-based index; empty past the last one.
    std::wstring Values(int32_t index);
    std::wstring Keys(int32_t index);
    // The same for a value, telling an empty name (the key's default value) from the end of the
    // values and from a failure: reg::ErrorSuccess with the name, reg::ErrorNoMoreItems past the
    // last value, another status when the key cannot be enumerated.
    int32_t ValueName(int32_t index, std::wstring& name);

    // Deletes every subkey of the open key with everything below it; the key's own values
    // stay. True when every subkey went.
    bool DeleteAllKeys();
    // Deletes the named subkey with everything below it; true when the subkey itself went.
    bool DeleteKeyRec(const std::wstring& subKey);

    // True when no key was open or it closed.
    bool CloseKey();

    // An empty value name addresses the key's default value.
    bool SetStringValue(const std::wstring& valueName, const std::wstring& value);
    // The whole text of a REG_SZ or REG_EXPAND_SZ value (environment references are not
    // expanded), without its terminating null; empty when the key is not open, the value is
    // missing or of another type.
    std::wstring GetStringValue(const std::wstring& valueName);
    bool SetDWORDValue(const std::wstring& valueName, int32_t value);
    // The stored number when the value is a REG_DWORD, otherwise the default.
    int32_t GetDWORDValue(const std::wstring& valueName, int32_t defaultValue);
    // Stored as the text "yes" or "no"; true exactly when the text is "yes" in any letter case.
    bool SetBoolValue(const std::wstring& valueName, bool value);
    bool GetBoolValue(const std::wstring& valueName);
    bool DeleteValue(const std::wstring& valueName);
    // Deletes a subkey that has no subkeys of its own.
    bool DeleteKey(const std::wstring& subKey);
    bool FlushKey();

    // Whether the last open (Init...) or value read could not reach the registry. A key or value
    // that is missing, or a value of another type, is no failure: it simply is not there.
    bool LastReadFailed() const { return m_readFailed; }

private:
    // Notes the status of an open or a read: missing things and values too large for the
    // buffer (another type) are answers, anything else a failure.
    void NoteStatus(int32_t status);

    std::string Ansi(std::wstring_view s) const;
    std::wstring Wide(std::string_view s) const;
    // Enumerates one name, growing the buffer until the name fits; the registry's status.
    int32_t EnumName(int32_t index, bool values, std::wstring& name);

    IRegistry& m_registry;
    const Platform& m_ports;
    RegKey m_hKey = 0;  // 0 when no key is open
    bool m_readFailed = false;
};

}  // namespace plexa
