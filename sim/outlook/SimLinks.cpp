#include "sim/outlook/SimLinks.h"

#include "host/outlook/OlConstants.h"

namespace plexa::sim {

SimLink::SimLink(SimOutlook& outlook, LinkRecord link)
    : m_outlook(outlook), m_link(std::move(link)) {}

std::wstring SimLink::Name() {
    m_outlook.Check(L"Link.Name", m_link.name);
    return m_link.name;
}

int32_t SimLink::Type() {
    m_outlook.Check(L"Link.Type", m_link.name);
    return m_link.type;
}

std::shared_ptr<OutlookItem> SimLink::Item() {
    m_outlook.Check(L"Link.Item", m_link.entryID);
    auto record = m_outlook.session.FindItem(m_link.entryID, m_link.storeID);
    if (!record) {
        throw HostError(MAPI_E_NOT_FOUND, L"The linked item could not be opened.",
                        L"Microsoft Outlook");
    }
    return m_outlook.Item(record);
}

SimLinks::SimLinks(SimOutlook& outlook, std::shared_ptr<ItemRecord> item)
    : m_outlook(outlook), m_item(std::move(item)) {}

int32_t SimLinks::Count() {
    m_outlook.Check(L"Links.Count", m_item->EntryID());
    if (m_item->IsRemoved()) {
        throw ItemDeletedError();
    }
    return static_cast<int32_t>(m_item->links.size());
}

std::shared_ptr<Link> SimLinks::Item(int32_t index) {
    m_outlook.Check(L"Links.Item", std::to_wstring(index));
    if (m_item->IsRemoved()) {
        throw ItemDeletedError();
    }
    if (index < 1 || index > static_cast<int32_t>(m_item->links.size())) {
        throw IndexError(index);
    }
    return std::make_shared<SimLink>(m_outlook, m_item->links[static_cast<size_t>(index - 1)]);
}

}  // namespace plexa::sim
