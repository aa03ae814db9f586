// The simulated registry: three roots (HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE)
// holding a tree of keys in memory, with the Windows rules the add-in relies on:
// - key and value names are matched without letter case and kept as first written;
// - values are kept as written, the string types as Unicode (converted from and to the system
//   code page of the simulated locale at the port, as the "A" functions do);
// - a handle carries the access it was opened with: writing through a read handle, reading
//   through a write-only one or enumerating without the right is ErrorAccessDenied;
// - a key with subkeys cannot be deleted; an open handle to a deleted key reports
//   ErrorKeyDeleted;
// - subkeys enumerate in name order (letter case ignored), values in the order first written.
//
// An armed fault (operation names "Registry.CreateKey", "Registry.OpenKey", "Registry.CloseKey",
// "Registry.SetValue", "Registry.QueryValue", "Registry.DeleteKey", "Registry.DeleteValue",
// "Registry.FlushKey", "Registry.EnumKey", "Registry.EnumValue"; the detail is the full key
// path, followed by "\" and the value name for value operations) makes the call return the
// fault's number as its status code, since the registry functions report rather than throw.
//
// The hive is saved to and loaded from a .reg export file (see RegFile.h).
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/Locale.h"
#include "platform/IRegistry.h"
#include "sim/Faults.h"

namespace plexa::sim {

class SimRegistry : public IRegistry {
public:
    // The locale's code page is read at every call, so a test may change it at any time.
    SimRegistry(Faults& faults, const Locale& locale);
    ~SimRegistry() override;
    SimRegistry(const SimRegistry&) = delete;
    SimRegistry& operator=(const SimRegistry&) = delete;

    int32_t CreateKeyEx(RegKey key, const std::string& subKey, uint32_t access, RegKey& result,
                        uint32_t* disposition) override;
    int32_t OpenKeyEx(RegKey key, const std::string& subKey, uint32_t access,
                      RegKey& result) override;
    int32_t CloseKey(RegKey key) override;
    int32_t SetValueEx(RegKey key, const std::string& valueName, uint32_t type,
                       std::span<const uint8_t> data) override;
    int32_t QueryValueEx(RegKey key, const std::string& valueName, uint32_t* type, uint8_t* data,
                         uint32_t* size) override;
    int32_t DeleteKey(RegKey key, const std::string& subKey) override;
    int32_t DeleteValue(RegKey key, const std::string& valueName) override;
    int32_t FlushKey(RegKey key) override;
    int32_t EnumKeyEx(RegKey key, uint32_t index, char* name, uint32_t* nameSize) override;
    int32_t EnumValue(RegKey key, uint32_t index, char* name, uint32_t* nameSize, uint32_t* type,
                      uint8_t* data, uint32_t* dataSize) override;

    // Simulation controls, in Unicode. A path begins with the root's name
    // ("HKEY_CURRENT_USER\Software\Orvin").
    bool KeyExists(const std::wstring& path) const;
    // A value's type and stored bytes (the string types as UTF-16LE); false when missing.
    bool GetRaw(const std::wstring& path, const std::wstring& valueName, uint32_t& type,
                std::vector<uint8_t>& data) const;
    // Writes a value directly, creating the key path; text goes in as REG_SZ or another string
    // type without passing through the code page.
    void PutRaw(const std::wstring& path, const std::wstring& valueName, uint32_t type,
                std::vector<uint8_t> data);
    void PutString(const std::wstring& path, const std::wstring& valueName,
                   const std::wstring& text, uint32_t type = reg::RegSz);
    void PutDword(const std::wstring& path, const std::wstring& valueName, uint32_t value);
    // Names of a key's subkeys and values, in enumeration order.
    std::vector<std::wstring> SubKeyNames(const std::wstring& path) const;
    std::vector<std::wstring> ValueNames(const std::wstring& path) const;
    // Handles open now (the roots are not counted).
    std::size_t OpenHandleCount() const { return m_handles.size(); }
    int FlushCount() const { return m_flushes; }

    // The hive as a .reg file's bytes, and back. Import replaces the whole hive, or throws
    // HostError (naming the line) and leaves it untouched; handles to replaced keys then
    // report ErrorKeyDeleted.
    std::string Export() const;
    void Import(std::string_view bytes, std::wstring_view fileName);
    // Save writes a temporary file beside the target, flushes it to disk and renames it over
    // the target, so the target always holds a whole hive. Load reads a file with Import.
    // Both throw HostError when the file cannot be written or read.
    void Save(const std::filesystem::path& file) const;
    void Load(const std::filesystem::path& file);

    struct Key;

private:
    struct Handle {
        std::shared_ptr<Key> key;
        uint32_t access = 0;
    };

    int32_t Lookup(RegKey key, Handle& out) const;
    std::shared_ptr<Key> Root(RegKey key) const;
    std::shared_ptr<Key> Find(const std::wstring& path) const;
    std::shared_ptr<Key> FindOrCreate(const std::wstring& path);
    RegKey NewHandle(std::shared_ptr<Key> key, uint32_t access);
    std::wstring Wide(const std::string& ansi) const;
    std::string Ansi(std::wstring_view wide) const;
    int32_t Fault(const wchar_t* op, const std::wstring& detail);
    // The key a subkey path names below an open key, after the operation's fault check.
    int32_t FindSubKey(RegKey key, const std::string& subKey, const wchar_t* op,
                       std::shared_ptr<Key>& target);
    std::vector<uint8_t> ToStored(uint32_t type, std::span<const uint8_t> data) const;
    std::vector<uint8_t> ToCaller(uint32_t type, const std::vector<uint8_t>& stored) const;

    Faults& m_faults;
    const Locale& m_locale;
    std::shared_ptr<Key> m_roots[3];
    std::map<RegKey, Handle> m_handles;
    RegKey m_nextHandle = 0x100;
    int m_flushes = 0;
};

}  // namespace plexa::sim
