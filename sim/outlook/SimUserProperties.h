// The simulated user properties of an item.
#pragma once

#include <memory>
#include <string>

#include "host/outlook/OutlookItem.h"
#include "sim/outlook/SimOutlook.h"

namespace plexa::sim {

class SimUserProperty : public UserProperty {
public:
    SimUserProperty(SimOutlook& outlook, std::shared_ptr<ItemRecord> item, std::wstring name);
    std::wstring Name() override;
    Variant Value() override;
    void SetValue(const Variant& value) override;
    void Delete() override;

private:
    UserPropertyRecord& Live(const wchar_t* member) const;
    SimOutlook& m_outlook;
    std::shared_ptr<ItemRecord> m_item;
    std::wstring m_name;
};

class SimUserProperties : public UserProperties {
public:
    SimUserProperties(SimOutlook& outlook, std::shared_ptr<ItemRecord> item);
    int32_t Count() override;
    std::shared_ptr<UserProperty> Find(const std::wstring& name) override;
    std::shared_ptr<UserProperty> Add(const std::wstring& name, int32_t type,
                                      bool addToFolderFields = true) override;

private:
    void Live(const wchar_t* member, std::wstring_view detail = {}) const;
    SimOutlook& m_outlook;
    std::shared_ptr<ItemRecord> m_item;
};

}  // namespace plexa::sim
