#include "recipients/CRecipientsProps.h"

#include "core/Text.h"

namespace plexa {

std::wstring CRecipientsProps::GetDefaultValue(const std::wstring& propertyName,
                                               bool& found) const {
    auto it = m_defaults.find(text::ToLower(propertyName));
    found = it != m_defaults.end();
    return found ? it->second : std::wstring();
}

void CRecipientsProps::SetDefaultValue(const std::wstring& propertyName,
                                       const std::wstring& value) {
    m_defaults.insert_or_assign(text::ToLower(propertyName), value);
}

const std::wstring* CRecipientsProps::Find(const std::wstring& address,
                                           const std::wstring& propertyName) const {
    auto values = m_props.find(text::ToLower(address));
    if (values == m_props.end()) {
        return nullptr;
    }
    auto value = values->second.find(text::ToLower(propertyName));
    return value == values->second.end() ? nullptr : &value->second;
}

std::wstring CRecipientsProps::GetProp(const std::wstring& address,
                                       const std::wstring& propertyName) const {
    const std::wstring* value = Find(address, propertyName);
    return value != nullptr ? *value : std::wstring();
}

void CRecipientsProps::SetProp(const std::wstring& address, const std::wstring& propertyName,
                               const std::wstring& value) {
    m_props[text::ToLower(address)].insert_or_assign(text::ToLower(propertyName), value);
}

bool CRecipientsProps::HasProps(const std::wstring& address,
                                const std::vector<std::wstring>& propertyNames) const {
    for (const std::wstring& name : propertyNames) {
        if (!HasProp(address, name)) {
            return false;
        }
    }
    return true;
}

bool CRecipientsProps::HasProp(const std::wstring& address,
                               const std::wstring& propertyName) const {
    return Find(address, propertyName) != nullptr;
}

}  // namespace plexa
