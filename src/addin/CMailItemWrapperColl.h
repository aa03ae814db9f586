// The add-in's mail-item wrappers (gMailItemWrappers, owned by Connect): the new messages
// composed from received mails, whose sources get the replied icon once they are sent or saved.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "addin/CMailItemWrapper.h"

namespace plexa {

class Services;

class CMailItemWrapperColl {
public:
    explicit CMailItemWrapperColl(Services& services) : m_services(services) {}

    // Follows a new message and the entry ids of the mails it answers.
    void Add(const std::shared_ptr<MailItem>& item, const std::vector<std::wstring>& entryIDs);
    // Drops the wrappers that are done; any still following a message is let go of with a
    // warning.
    void Done();
    std::size_t Count() const { return m_wrappers.size(); }

private:
    Services& m_services;
    std::vector<std::unique_ptr<CMailItemWrapper>> m_wrappers;
};

}  // namespace plexa
