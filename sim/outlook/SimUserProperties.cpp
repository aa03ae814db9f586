#include "sim/outlook/SimUserProperties.h"

#include <algorithm>

#include "core/Text.h"
#include "host/outlook/OlConstants.h"

namespace plexa::sim {

SimUserProperty::SimUserProperty(SimOutlook& outlook, std::shared_ptr<ItemRecord> item,
                                 std::wstring name)
    : m_outlook(outlook), m_item(std::move(item)), m_name(std::move(name)) {}

UserPropertyRecord& SimUserProperty::Live(const wchar_t* member) const {
    m_outlook.Check(std::wstring(L"UserProperty.") + member, m_name);
    UserPropertyRecord* prop = m_item->IsRemoved() ? nullptr : m_item->FindUserProperty(m_name);
    if (prop == nullptr) {
        throw ItemDeletedError();
    }
    return *prop;
}

std::wstring SimUserProperty::Name() {
    return Live(L"Name").name;
}

Variant SimUserProperty::Value() {
    return Live(L"Value").value;
}

void SimUserProperty::SetValue(const Variant& value) {
    UserPropertyRecord& prop = Live(L"SetValue");
    if (prop.type == olText) {
        prop.value = Variant(value.IsEmpty() ? std::wstring() : CStr(value));
    } else {
        prop.value = value;
    }
    m_item->MarkChanged();
}

void SimUserProperty::Delete() {
    Live(L"Delete");
    auto& all = m_item->userProperties;
    all.erase(std::remove_if(
                  all.begin(), all.end(),
                  [&](const UserPropertyRecord& p) { return text::EqualsNoCase(p.name, m_name); }),
              all.end());
    m_item->MarkChanged();
}

SimUserProperties::SimUserProperties(SimOutlook& outlook, std::shared_ptr<ItemRecord> item)
    : m_outlook(outlook), m_item(std::move(item)) {}

void SimUserProperties::Live(const wchar_t* member, std::wstring_view detail) const {
    m_outlook.Check(std::wstring(L"UserProperties.") + member, detail);
    if (m_item->IsRemoved()) {
        throw ItemDeletedError();
    }
}

int32_t SimUserProperties::Count() {
    Live(L"Count");
    return static_cast<int32_t>(m_item->userProperties.size());
}

std::shared_ptr<UserProperty> SimUserProperties::Find(const std::wstring& name) {
    Live(L"Find", name);
    UserPropertyRecord* prop = m_item->FindUserProperty(name);
    if (prop == nullptr) {
        return nullptr;
    }
    return std::make_shared<SimUserProperty>(m_outlook, m_item, prop->name);
}

std::shared_ptr<UserProperty> SimUserProperties::Add(const std::wstring& name, int32_t type,
                                                     bool addToFolderFields) {
    Live(L"Add", name);
    if (name.empty() || name.find_first_of(L"[]_#") != std::wstring::npos) {
        throw HostError(E_INVALIDARG, L"The property name \"" + name + L"\" is not valid.",
                        L"Microsoft Outlook");
    }
    if (m_item->FindUserProperty(name) != nullptr) {
        throw HostError(E_FAIL, L"A property named \"" + name + L"\" already exists.",
                        L"Microsoft Outlook");
    }
    UserPropertyRecord prop;
    prop.name = name;
    prop.type = type;
    prop.addToFolderFields = addToFolderFields;
    if (type == olText) {
        prop.value = Variant(L"");
    }
    m_item->userProperties.push_back(std::move(prop));
    m_item->MarkChanged();
    return std::make_shared<SimUserProperty>(m_outlook, m_item, name);
}

}  // namespace plexa::sim
