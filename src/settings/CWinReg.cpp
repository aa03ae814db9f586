#include "settings/CWinReg.h"

#include <algorithm>
#include <vector>

#include "core/Text.h"
#include "platform/Platform.h"

namespace plexa {

namespace {

// The longest name enumeration is prepared for: a value name of 16,383 characters, each of up
// to two bytes in a double-byte code page.
constexpr uint32_t kMaxNameBuffer = 65536;
// A value may change between asking for its size and reading it; reading is tried again a few
// times before giving up.
constexpr int kReadAttempts = 4;

}  // namespace

CWinReg::CWinReg(const Platform& ports) : m_registry(ports.registry), m_ports(ports) {}

CWinReg::~CWinReg() {
    CloseKey();
}

std::string CWinReg::Ansi(std::wstring_view s) const {
    return text::ToAnsi(s, m_ports.locale.codePage.c_str());
}

std::wstring CWinReg::Wide(std::string_view s) const {
    return text::FromAnsi(s, m_ports.locale.codePage.c_str());
}

void CWinReg::NoteStatus(int32_t status) {
    m_readFailed = status != reg::ErrorSuccess && status != reg::ErrorFileNotFound &&
                   status != reg::ErrorMoreData;
}

bool CWinReg::InitForAccess(RegKey root, const std::wstring& subKey, uint32_t access, bool create) {
    RegKey opened = 0;
    bool ok = false;
    try {
        const std::string name = Ansi(subKey);
        const int32_t status = create ? m_registry.CreateKeyEx(root, name, access, opened, nullptr)
                                      : m_registry.OpenKeyEx(root, name, access, opened);
        ok = status == reg::ErrorSuccess && opened != 0;
        NoteStatus(status);
    } catch (...) {  // a failed open is reported by the result
        ok = false;
        m_readFailed = true;
    }
    // The new key may be opened below the one held, so the old one closes only now.
    CloseKey();
    m_hKey = ok ? opened : 0;
    return ok;
}

bool CWinReg::InitForRead(RegKey root, const std::wstring& subKey) {
    return InitForAccess(root, subKey, reg::KeyRead, false);
}

bool CWinReg::InitForWrite(RegKey root, const std::wstring& subKey, bool create) {
    return InitForAccess(root, subKey, reg::KeyReadWrite, create);
}

bool CWinReg::InitForAllAccess(RegKey root, const std::wstring& subKey, bool create) {
    return InitForAccess(root, subKey, reg::KeyAllAccess, create);
}

int32_t CWinReg::EnumName(int32_t index, bool values, std::wstring& name) {
    name.clear();
    if (m_hKey == 0 || index < 0) {
        return reg::ErrorInvalidHandle;
    }
    try {
        for (uint32_t capacity = 256; capacity <= kMaxNameBuffer; capacity *= 2) {
            std::string buffer(capacity, '\0');
            uint32_t size = capacity;
            const auto i = static_cast<uint32_t>(index);
            const int32_t status = values ? m_registry.EnumValue(m_hKey, i, buffer.data(), &size,
                                                                 nullptr, nullptr, nullptr)
                                          : m_registry.EnumKeyEx(m_hKey, i, buffer.data(), &size);
            if (status == reg::ErrorMoreData) {
                continue;
            }
            if (status != reg::ErrorSuccess) {
                return status;
            }
            buffer.resize(std::min(size, capacity));
            name = Wide(buffer);
            return reg::ErrorSuccess;
        }
    } catch (...) {  // NOLINT(bugprone-empty-catch): enumeration ends at any error
    }
    return reg::ErrorMoreData;
}

std::wstring CWinReg::Values(int32_t index) {
    std::wstring name;
    EnumName(index, true, name);
    return name;
}

std::wstring CWinReg::Keys(int32_t index) {
    std::wstring name;
    EnumName(index, false, name);
    return name;
}

int32_t CWinReg::ValueName(int32_t index, std::wstring& name) {
    return EnumName(index, true, name);
}

bool CWinReg::DeleteAllKeys() {
    if (m_hKey == 0) {
        return false;
    }
    // Collect first: deleting while enumerating would shift the indexes.
    std::vector<std::wstring> names;
    for (int32_t i = 0;; ++i) {
        std::wstring name = Keys(i);
        if (name.empty()) {
            break;
        }
        names.push_back(std::move(name));
    }
    bool all = true;
    for (const auto& name : names) {
        all = DeleteKeyRec(name) && all;
    }
    return all;
}

bool CWinReg::DeleteKeyRec(const std::wstring& subKey) {
    if (m_hKey == 0 || subKey.empty()) {
        return false;
    }
    {
        CWinReg child(m_ports);
        if (child.InitForAllAccess(m_hKey, subKey, false)) {
            child.DeleteAllKeys();
            child.CloseKey();
        }
    }
    return DeleteKey(subKey);
}

bool CWinReg::CloseKey() {
    if (m_hKey == 0) {
        return true;
    }
    const RegKey key = m_hKey;
    m_hKey = 0;
    try {
        return m_registry.CloseKey(key) == reg::ErrorSuccess;
    } catch (...) {
        return false;
    }
}

bool CWinReg::SetStringValue(const std::wstring& valueName, const std::wstring& value) {
    if (m_hKey == 0) {
        return false;
    }
    try {
        std::string data = Ansi(value);
        data.push_back('\0');
        const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
        return m_registry.SetValueEx(m_hKey, Ansi(valueName), reg::RegSz,
                                     std::span<const uint8_t>(bytes, data.size())) ==
               reg::ErrorSuccess;
    } catch (...) {
        return false;
    }
}

std::wstring CWinReg::GetStringValue(const std::wstring& valueName) {
    if (m_hKey == 0) {
        return {};
    }
    try {
        const std::string name = Ansi(valueName);
        uint32_t type = 0;
        uint32_t size = 0;
        if (m_registry.QueryValueEx(m_hKey, name, &type, nullptr, &size) != reg::ErrorSuccess) {
            return {};
        }
        std::vector<uint8_t> buffer;
        for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
            buffer.assign(std::max<uint32_t>(size, 1), 0);
            size = static_cast<uint32_t>(buffer.size());
            const int32_t status =
                m_registry.QueryValueEx(m_hKey, name, &type, buffer.data(), &size);
            if (status == reg::ErrorMoreData) {
                continue;  // size now holds what the value needs
            }
            if (status != reg::ErrorSuccess || (type != reg::RegSz && type != reg::RegExpandSz)) {
                return {};
            }
            std::string_view data(reinterpret_cast<const char*>(buffer.data()),
                                  std::min<std::size_t>(size, buffer.size()));
            if (!data.empty() && data.back() == '\0') {
                data.remove_suffix(1);
            }
            return Wide(data);
        }
    } catch (...) {  // NOLINT(bugprone-empty-catch): an unreadable value reads as empty
    }
    return {};
}

bool CWinReg::SetDWORDValue(const std::wstring& valueName, int32_t value) {
    if (m_hKey == 0) {
        return false;
    }
    try {
        const auto n = static_cast<uint32_t>(value);
        const uint8_t data[4] = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                                 static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 24)};
        return m_registry.SetValueEx(m_hKey, Ansi(valueName), reg::RegDword, data) ==
               reg::ErrorSuccess;
    } catch (...) {
        return false;
    }
}

int32_t CWinReg::GetDWORDValue(const std::wstring& valueName, int32_t defaultValue) {
    if (m_hKey == 0) {
        return defaultValue;
    }
    try {
        uint8_t data[4] = {};
        uint32_t size = sizeof data;
        uint32_t type = 0;
        const int32_t status = m_registry.QueryValueEx(m_hKey, Ansi(valueName), &type, data, &size);
        NoteStatus(status);
        if (status != reg::ErrorSuccess || type != reg::RegDword || size != sizeof data) {
            return defaultValue;
        }
        const uint32_t n =
            data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24);
        return static_cast<int32_t>(n);
    } catch (...) {
        m_readFailed = true;
        return defaultValue;
    }
}

bool CWinReg::SetBoolValue(const std::wstring& valueName, bool value) {
    return SetStringValue(valueName, value ? L"yes" : L"no");
}

bool CWinReg::GetBoolValue(const std::wstring& valueName) {
    return text::ToLower(GetStringValue(valueName)) == L"yes";
}

bool CWinReg::DeleteValue(const std::wstring& valueName) {
    if (m_hKey == 0) {
        return false;
    }
    try {
        return m_registry.DeleteValue(m_hKey, Ansi(valueName)) == reg::ErrorSuccess;
    } catch (...) {
        return false;
    }
}

bool CWinReg::DeleteKey(const std::wstring& subKey) {
    // An empty name would delete the open key itself, which is not what a caller naming a
    // subkey means.
    if (m_hKey == 0 || subKey.empty()) {
        return false;
    }
    try {
        return m_registry.DeleteKey(m_hKey, Ansi(subKey)) == reg::ErrorSuccess;
    } catch (...) {
        return false;
    }
}

bool CWinReg::FlushKey() {
    if (m_hKey == 0) {
        return false;
    }
    try {
        return m_registry.FlushKey(m_hKey) == reg::ErrorSuccess;
    } catch (...) {
        return false;
    }
}

}  // namespace plexa
