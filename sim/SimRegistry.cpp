#include "sim/SimRegistry.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unordered_map>

#include "core/HostError.h"
#include "core/Text.h"
#include "sim/RegFile.h"

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace plexa::sim {

struct SimRegistry::Key {
    std::wstring name;
    std::wstring path;  // from the root's name down, as first written
    Key* parent = nullptr;
    std::vector<std::shared_ptr<Key>> subkeys;  // in name order, letter case ignored
    std::vector<RegFile::Value> values;         // in the order first written
    // Where each value stands in values, by its lower-cased name: a key with thousands of
    // values (a long journal) finds one without walking them all.
    std::unordered_map<std::wstring, std::size_t> valueIndex;
    bool deleted = false;
};

namespace {

using KeyPtr = std::shared_ptr<SimRegistry::Key>;

constexpr const wchar_t* kRootNames[3] = {L"HKEY_CLASSES_ROOT", L"HKEY_CURRENT_USER",
                                          L"HKEY_LOCAL_MACHINE"};

bool IsStringType(uint32_t type) {
    return type == reg::RegSz || type == reg::RegExpandSz || type == reg::RegMultiSz;
}

std::vector<uint8_t> Utf16Bytes(std::wstring_view s) {
    std::vector<uint8_t> out;
    for (char16_t u : text::ToUtf16(s)) {
        out.push_back(static_cast<uint8_t>(u & 0xFF));
        out.push_back(static_cast<uint8_t>(u >> 8));
    }
    return out;
}

std::wstring FromUtf16Bytes(const std::vector<uint8_t>& bytes) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        units.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
    return text::FromUtf16(units);
}

KeyPtr NewRoot(int index) {
    auto key = std::make_shared<SimRegistry::Key>();
    key->name = kRootNames[index];
    key->path = key->name;
    return key;
}

KeyPtr Child(const SimRegistry::Key& key, std::wstring_view name) {
    for (const auto& sub : key.subkeys) {
        if (text::EqualsNoCase(sub->name, name)) {
            return sub;
        }
    }
    return nullptr;
}

KeyPtr AddChild(SimRegistry::Key& key, const std::wstring& name) {
    auto sub = std::make_shared<SimRegistry::Key>();
    sub->name = name;
    sub->path = key.path + L"\\" + name;
    sub->parent = &key;
    const auto at = std::find_if(key.subkeys.begin(), key.subkeys.end(), [&](const KeyPtr& k) {
        return text::CompareNoCase(k->name, name) > 0;
    });
    key.subkeys.insert(at, sub);
    return sub;
}

RegFile::Value* FindValue(SimRegistry::Key& key, std::wstring_view name) {
    const auto it = key.valueIndex.find(text::ToLower(name));
    return it == key.valueIndex.end() ? nullptr : &key.values[it->second];
}

// Writes a value: over the one of that name (letter case ignored, the first spelling kept), or
// as a new one after the others.
void PutValue(SimRegistry::Key& key, RegFile::Value value) {
    if (RegFile::Value* old = FindValue(key, value.name)) {
        old->type = value.type;
        old->data = std::move(value.data);
        return;
    }
    key.valueIndex.emplace(text::ToLower(value.name), key.values.size());
    key.values.push_back(std::move(value));
}

// Removes a value; false when the key has none of that name.
bool EraseValue(SimRegistry::Key& key, std::wstring_view name) {
    const auto it = key.valueIndex.find(text::ToLower(name));
    if (it == key.valueIndex.end()) {
        return false;
    }
    const std::size_t at = it->second;
    key.valueIndex.erase(it);
    key.values.erase(key.values.begin() + static_cast<std::ptrdiff_t>(at));
    for (auto& [lower, index] : key.valueIndex) {
        if (index > at) {
            --index;
        }
    }
    return true;
}

void MarkDeleted(SimRegistry::Key& key) {
    key.deleted = true;
    for (const auto& sub : key.subkeys) {
        MarkDeleted(*sub);
    }
    key.subkeys.clear();
    key.parent = nullptr;
}

// Splits a sub-key path as the registry does: "" is the key itself; a leading "\" or an empty
// level is a bad path name; a level over 255 characters an invalid parameter.
int32_t SplitSubKey(const std::wstring& subKey, std::vector<std::wstring>& parts) {
    parts = text::Split(subKey, L"\\");
    for (const auto& part : parts) {
        if (part.empty()) {
            return reg::ErrorBadPathname;
        }
        if (part.size() > reg::MaxKeyNameLength) {
            return reg::ErrorInvalidParameter;
        }
    }
    return reg::ErrorSuccess;
}

// Copies a result out as the registry functions do (see IRegistry::QueryValueEx).
int32_t CopyOut(const std::vector<uint8_t>& bytes, std::size_t sizeBound, uint8_t* data,
                uint32_t* size) {
    if (data == nullptr) {
        if (size != nullptr) {
            *size = static_cast<uint32_t>(std::max(sizeBound, bytes.size()));
        }
        return reg::ErrorSuccess;
    }
    if (size == nullptr) {
        return reg::ErrorInvalidParameter;
    }
    if (*size < bytes.size()) {
        *size = static_cast<uint32_t>(bytes.size());
        return reg::ErrorMoreData;
    }
    std::copy(bytes.begin(), bytes.end(), data);
    *size = static_cast<uint32_t>(bytes.size());
    return reg::ErrorSuccess;
}

int32_t CopyName(const std::string& ansi, char* name, uint32_t* nameSize) {
    if (name == nullptr || nameSize == nullptr) {
        return reg::ErrorInvalidParameter;
    }
    if (*nameSize < ansi.size() + 1) {
        return reg::ErrorMoreData;
    }
    std::copy(ansi.begin(), ansi.end(), name);
    name[ansi.size()] = '\0';
    *nameSize = static_cast<uint32_t>(ansi.size());
    return reg::ErrorSuccess;
}

KeyPtr FindIn(const KeyPtr (&roots)[3], const std::wstring& path, bool create) {
    const std::vector<std::wstring> parts = text::Split(path, L"\\");
    if (parts.empty()) {
        return nullptr;
    }
    KeyPtr key;
    for (int i = 0; i < 3; ++i) {
        if (text::EqualsNoCase(parts[0], kRootNames[i])) {
            key = roots[i];
        }
    }
    for (std::size_t i = 1; key && i < parts.size(); ++i) {
        KeyPtr next = Child(*key, parts[i]);
        if (!next && create && !parts[i].empty()) {
            next = AddChild(*key, parts[i]);
        }
        key = next;
    }
    return key;
}

void Collect(const SimRegistry::Key& key, bool isRoot, std::vector<RegFile::Key>& out) {
    if (!isRoot || !key.values.empty()) {
        out.push_back(RegFile::Key{key.path, key.values});
    }
    for (const auto& sub : key.subkeys) {
        Collect(*sub, false, out);
    }
}

void SyncToDisk(std::FILE* f) {
#ifdef _WIN32
    _commit(_fileno(f));
#else
    ::fsync(::fileno(f));
#endif
}

void SyncDirectory([[maybe_unused]] const fs::path& dir) {
#ifndef _WIN32
    const int fd = ::open(dir.c_str(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

std::wstring PathText(const fs::path& p) {
    const std::u8string s = p.u8string();
    return text::FromUtf8(std::string(s.begin(), s.end()));
}

}  // namespace

SimRegistry::SimRegistry(Faults& faults, const Locale& locale)
    : m_faults(faults), m_locale(locale) {
    for (int i = 0; i < 3; ++i) {
        m_roots[i] = NewRoot(i);
    }
}

SimRegistry::~SimRegistry() = default;

std::wstring SimRegistry::Wide(const std::string& ansi) const {
    return text::FromAnsi(ansi, m_locale.codePage.c_str());
}

std::string SimRegistry::Ansi(std::wstring_view wide) const {
    return text::ToAnsi(wide, m_locale.codePage.c_str());
}

int32_t SimRegistry::Fault(const wchar_t* op, const std::wstring& detail) {
    try {
        m_faults.Check(op, detail);
    } catch (const HostError& e) {
        return e.Number();
    }
    return reg::ErrorSuccess;
}

std::shared_ptr<SimRegistry::Key> SimRegistry::Root(RegKey key) const {
    if (key == reg::HkeyClassesRoot) {
        return m_roots[0];
    }
    if (key == reg::HkeyCurrentUser) {
        return m_roots[1];
    }
    if (key == reg::HkeyLocalMachine) {
        return m_roots[2];
    }
    return nullptr;
}

int32_t SimRegistry::Lookup(RegKey key, Handle& out) const {
    if (KeyPtr root = Root(key)) {
        out = Handle{root, reg::KeyAllAccess};
        return reg::ErrorSuccess;
    }
    const auto it = m_handles.find(key);
    if (it == m_handles.end()) {
        return reg::ErrorInvalidHandle;
    }
    out = it->second;
    return out.key->deleted ? reg::ErrorKeyDeleted : reg::ErrorSuccess;
}

RegKey SimRegistry::NewHandle(std::shared_ptr<Key> key, uint32_t access) {
    const RegKey h = m_nextHandle;
    m_nextHandle += 4;
    m_handles[h] = Handle{std::move(key), access};
    return h;
}

std::vector<uint8_t> SimRegistry::ToStored(uint32_t type, std::span<const uint8_t> data) const {
    if (!IsStringType(type)) {
        return {data.begin(), data.end()};
    }
    return Utf16Bytes(Wide(std::string(data.begin(), data.end())));
}

std::vector<uint8_t> SimRegistry::ToCaller(uint32_t type,
                                           const std::vector<uint8_t>& stored) const {
    if (!IsStringType(type)) {
        return stored;
    }
    const std::string ansi = Ansi(FromUtf16Bytes(stored));
    return {ansi.begin(), ansi.end()};
}

int32_t SimRegistry::CreateKeyEx(RegKey key, const std::string& subKey, uint32_t access,
                                 RegKey& result, uint32_t* disposition) {
    Handle h;
    const std::wstring name = Wide(subKey);
    if (int32_t status = Lookup(key, h); status != reg::ErrorSuccess) {
        return status;
    }
    if (int32_t status = Fault(L"Registry.CreateKey", h.key->path + L"\\" + name)) {
        return status;
    }
    std::vector<std::wstring> parts;
    if (int32_t status = SplitSubKey(name, parts); status != reg::ErrorSuccess) {
        return status;
    }
    KeyPtr target = h.key;
    bool created = false;
    for (const auto& part : parts) {
        KeyPtr next = Child(*target, part);
        if (!next) {
            if ((h.access & reg::KeyCreateSubKey) == 0) {
                return reg::ErrorAccessDenied;
            }
            next = AddChild(*target, part);
            created = true;
        }
        target = next;
    }
    result = NewHandle(target, access);
    if (disposition != nullptr) {
        *disposition = created ? reg::CreatedNewKey : reg::OpenedExistingKey;
    }
    return reg::ErrorSuccess;
}

int32_t SimRegistry::FindSubKey(RegKey key, const std::string& subKey, const wchar_t* op,
                                KeyPtr& target) {
    Handle h;
    const std::wstring name = Wide(subKey);
    if (int32_t status = Lookup(key, h); status != reg::ErrorSuccess) {
        return status;
    }
    if (int32_t status = Fault(op, h.key->path + L"\\" + name)) {
        return status;
    }
    std::vector<std::wstring> parts;
    if (int32_t status = SplitSubKey(name, parts); status != reg::ErrorSuccess) {
        return status;
    }
    target = h.key;
    for (const auto& part : parts) {
        target = Child(*target, part);
        if (!target) {
            return reg::ErrorFileNotFound;
        }
    }
    return reg::ErrorSuccess;
}

int32_t SimRegistry::OpenKeyEx(RegKey key, const std::string& subKey, uint32_t access,
                               RegKey& result) {
    KeyPtr target;
    if (int32_t status = FindSubKey(key, subKey, L"Registry.OpenKey", target);
        status != reg::ErrorSuccess) {
        return status;
    }
    result = NewHandle(target, access);
    return reg::ErrorSuccess;
}

int32_t SimRegistry::CloseKey(RegKey key) {
    if (Root(key)) {
        return reg::ErrorSuccess;
    }
    const auto it = m_handles.find(key);
    if (it == m_handles.end()) {
        return reg::ErrorInvalidHandle;
    }
    if (int32_t status = Fault(L"Registry.CloseKey", it->second.key->path)) {
        return status;
    }
    m_handles.erase(it);
    return reg::ErrorSuccess;
}

int32_t SimRegistry::SetValueEx(RegKey key, const std::string& valueName, uint32_t type,
                                std::span<const uint8_t> data) {
    Handle h;
    const std::wstring name = Wide(valueName);
    if (int32_t status = Lookup(key, h); status != reg::ErrorSuccess) {
        return status;
    }
    if (int32_t status = Fault(L"Registry.SetValue", h.key->path + L"\\" + name)) {
        return status;
    }
    if ((h.access & reg::KeySetValue) == 0) {
        return reg::ErrorAccessDenied;
    }
    PutValue(*h.key, RegFile::Value{name, type, ToStored(type, data)});
    return reg::ErrorSuccess;
}

int32_t SimRegistry::QueryValueEx(RegKey key, const std::string& valueName, uint32_t* type,
                                  uint8_t* data, uint32_t* size) {
    Handle h;
    const std::wstring name = Wide(valueName);
    if (int32_t status = Lookup(key, h); status != reg::ErrorSuccess) {
        return status;
    }
    if (int32_t status = Fault(L"Registry.QueryValue", h.key->path + L"\\" + name)) {
        return status;
    }
    if ((h.access & reg::KeyQueryValue) == 0) {
        return reg::ErrorAccessDenied;
    }
    const RegFile::Value* v = FindValue(*h.key, name);
    if (v == nullptr) {
        return reg::ErrorFileNotFound;
    }
    if (type != nullptr) {
        *type = v->type;
    }
    return CopyOut(ToCaller(v->type, v->data), v->data.size(), data, size);
}

int32_t SimRegistry::DeleteKey(RegKey key, const std::string& subKey) {
    KeyPtr target;
    if (int32_t status = FindSubKey(key, subKey, L"Registry.DeleteKey", target);
        status != reg::ErrorSuccess) {
        return status;
    }
    if (target->parent == nullptr || !target->subkeys.empty()) {
        return reg::ErrorAccessDenied;  // a root, or a key with subkeys
    }
    auto& siblings = target->parent->subkeys;
    siblings.erase(std::find(siblings.begin(), siblings.end(), target));
    MarkDeleted(*target);
    return reg::ErrorSuccess;
}

int32_t SimRegistry::DeleteValue(RegKey key, const std::string& valueName) {
    Handle h;
    const std::wstring name = Wide(valueName);
    if (int32_t status = Lookup(key, h); status != reg::ErrorSuccess) {
        return status;
    }
    if (int32_t status = Fault(L"Registry.DeleteValue", h.key->path + L"\\" + name)) {
        return status;
    }
    if ((h.access & reg::KeySetValue) == 0) {
        return reg::ErrorAccessDenied;
    }
    return EraseValue(*h.key, name) ? reg::ErrorSuccess : reg::ErrorFileNotFound;
}

int32_t SimRegistry::FlushKey(RegKey key) {
    Handle h;
    if (int32_t status = Lookup(key, h); status != reg::ErrorSuccess) {
        return status;
    }
    if (int32_t status = Fault(L"Registry.FlushKey", h.key->path)) {
        return status;
    }
    ++m_flushes;
    return reg::ErrorSuccess;
}

int32_t SimRegistry::EnumKeyEx(RegKey key, uint32_t index, char* name, uint32_t* nameSize) {
    Handle h;
    if (int32_t status = Lookup(key, h); status != reg::ErrorSuccess) {
        return status;
    }
    if (int32_t status = Fault(L"Registry.EnumKey", h.key->path)) {
        return status;
    }
    if ((h.access & reg::KeyEnumerateSubKeys) == 0) {
        return reg::ErrorAccessDenied;
    }
    if (index >= h.key->subkeys.size()) {
        return reg::ErrorNoMoreItems;
    }
    return CopyName(Ansi(h.key->subkeys[index]->name), name, nameSize);
}

int32_t SimRegistry::EnumValue(RegKey key, uint32_t index, char* name, uint32_t* nameSize,
                               uint32_t* type, uint8_t* data, uint32_t* dataSize) {
    Handle h;
    if (int32_t status = Lookup(key, h); status != reg::ErrorSuccess) {
        return status;
    }
    if (int32_t status = Fault(L"Registry.EnumValue", h.key->path)) {
        return status;
    }
    if ((h.access & reg::KeyQueryValue) == 0) {
        return reg::ErrorAccessDenied;
    }
    if (index >= h.key->values.size()) {
        return reg::ErrorNoMoreItems;
    }
    const RegFile::Value& v = h.key->values[index];
    if (int32_t status = CopyName(Ansi(v.name), name, nameSize); status != reg::ErrorSuccess) {
        return status;
    }
    if (type != nullptr) {
        *type = v.type;
    }
    return CopyOut(ToCaller(v.type, v.data), v.data.size(), data, dataSize);
}

// Simulation controls.

std::shared_ptr<SimRegistry::Key> SimRegistry::Find(const std::wstring& path) const {
    return FindIn(m_roots, path, false);
}

std::shared_ptr<SimRegistry::Key> SimRegistry::FindOrCreate(const std::wstring& path) {
    KeyPtr key = FindIn(m_roots, path, true);
    if (!key) {
        throw HostError(reg::ErrorBadPathname, L"Not a registry key path: " + path, L"Registry");
    }
    return key;
}

bool SimRegistry::KeyExists(const std::wstring& path) const {
    return Find(path) != nullptr;
}

bool SimRegistry::GetRaw(const std::wstring& path, const std::wstring& valueName, uint32_t& type,
                         std::vector<uint8_t>& data) const {
    const KeyPtr key = Find(path);
    const RegFile::Value* v = key ? FindValue(*key, valueName) : nullptr;
    if (v == nullptr) {
        return false;
    }
    type = v->type;
    data = v->data;
    return true;
}

void SimRegistry::PutRaw(const std::wstring& path, const std::wstring& valueName, uint32_t type,
                         std::vector<uint8_t> data) {
    PutValue(*FindOrCreate(path), RegFile::Value{valueName, type, std::move(data)});
}

void SimRegistry::PutString(const std::wstring& path, const std::wstring& valueName,
                            const std::wstring& text, uint32_t type) {
    PutRaw(path, valueName, type, Utf16Bytes(text + L'\0'));
}

void SimRegistry::PutDword(const std::wstring& path, const std::wstring& valueName,
                           uint32_t value) {
    PutRaw(path, valueName, reg::RegDword,
           {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)});
}

std::vector<std::wstring> SimRegistry::SubKeyNames(const std::wstring& path) const {
    std::vector<std::wstring> out;
    if (const KeyPtr key = Find(path)) {
        for (const auto& sub : key->subkeys) {
            out.push_back(sub->name);
        }
    }
    return out;
}

std::vector<std::wstring> SimRegistry::ValueNames(const std::wstring& path) const {
    std::vector<std::wstring> out;
    if (const KeyPtr key = Find(path)) {
        for (const auto& v : key->values) {
            out.push_back(v.name);
        }
    }
    return out;
}

std::string SimRegistry::Export() const {
    std::vector<RegFile::Key> keys;
    for (const auto& root : m_roots) {
        Collect(*root, true, keys);
    }
    return RegFile::Write(keys);
}

void SimRegistry::Import(std::string_view bytes, std::wstring_view fileName) {
    const std::vector<RegFile::Key> keys = RegFile::Read(bytes, fileName);
    KeyPtr roots[3] = {NewRoot(0), NewRoot(1), NewRoot(2)};
    for (const RegFile::Key& k : keys) {
        const KeyPtr key = FindIn(roots, k.path, true);
        for (const RegFile::Value& v : k.values) {
            PutValue(*key, v);
        }
    }
    for (int i = 0; i < 3; ++i) {
        MarkDeleted(*m_roots[i]);
        m_roots[i] = roots[i];
    }
}

void SimRegistry::Save(const fs::path& file) const {
    const std::string bytes = Export();
    fs::path temp = file;
    temp += ".tmp";
    const auto fail = [&](const std::wstring& what) {
        std::error_code ec;
        fs::remove(temp, ec);
        return HostError(vberr::PathFileAccessError,
                         L"Cannot save the registry to " + PathText(file) + L": " + what,
                         L"Registry");
    };
#ifdef _WIN32
    std::FILE* f = ::_wfopen(temp.c_str(), L"wb");
#else
    std::FILE* f = std::fopen(temp.c_str(), "wb");
#endif
    if (f == nullptr) {
        throw fail(text::FromUtf8(std::strerror(errno)));
    }
    const bool written =
        std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() && std::fflush(f) == 0;
    if (written) {
        SyncToDisk(f);
    }
    if (std::fclose(f) != 0 || !written) {
        throw fail(L"writing the temporary file failed");
    }
    try {
        // A crash here leaves the previous hive in place.
        m_faults.Check(L"Registry.SaveFile", PathText(file));
    } catch (const HostError&) {
        std::error_code ec;
        fs::remove(temp, ec);
        throw;
    }
    std::error_code ec;
    fs::rename(temp, file, ec);
    if (ec) {
        throw fail(text::FromUtf8(ec.message()));
    }
    SyncDirectory(file.parent_path().empty() ? fs::path(".") : file.parent_path());
}

void SimRegistry::Load(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw HostError(vberr::FileNotFound,
                        L"Cannot load the registry from " + PathText(file) + L": file not found",
                        L"Registry");
    }
    std::ostringstream s;
    s << in.rdbuf();
    Import(s.str(), PathText(file.filename()));
}

}  // namespace plexa::sim
