// The simulated links of an appointment or a task to contacts.
#pragma once

#include <memory>

#include "host/outlook/OutlookItem.h"
#include "sim/outlook/SimOutlook.h"

namespace plexa::sim {

class SimLink : public Link {
public:
    SimLink(SimOutlook& outlook, LinkRecord link);
    std::wstring Name() override;
    int32_t Type() override;
    std::shared_ptr<OutlookItem> Item() override;

private:
    SimOutlook& m_outlook;
    LinkRecord m_link;
};

class SimLinks : public Links {
public:
    SimLinks(SimOutlook& outlook, std::shared_ptr<ItemRecord> item);
    int32_t Count() override;
    std::shared_ptr<Link> Item(int32_t index) override;

private:
    SimOutlook& m_outlook;
    std::shared_ptr<ItemRecord> m_item;
};

}  // namespace plexa::sim
