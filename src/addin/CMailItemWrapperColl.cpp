#include "addin/CMailItemWrapperColl.h"

#include "settings/mGlobals.h"

namespace plexa {

void CMailItemWrapperColl::Add(const std::shared_ptr<MailItem>& item,
                               const std::vector<std::wstring>& entryIDs) {
    auto wrapper = std::make_unique<CMailItemWrapper>(m_services);
    wrapper->Init(item, entryIDs);
    m_wrappers.push_back(std::move(wrapper));
}

void CMailItemWrapperColl::Done() {
    for (auto i = m_wrappers.size(); i-- > 0;) {
        if (m_wrappers[i]->IsEmpty()) {
            m_wrappers.erase(m_wrappers.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    if (m_wrappers.empty()) {
        return;
    }
    mGlobals::LogWarning(L"CMailItemWrapperColl::Done", L"collection is not empty", 1);
    for (const auto& wrapper : m_wrappers) {
        wrapper->Done();
    }
    m_wrappers.clear();
}

}  // namespace plexa
