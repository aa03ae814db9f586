// Follows a new message composed from received mails: when it is first sent or saved, the
// source mails get the client's replied icon, once.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "addin/WithEvents.h"
#include "host/outlook/OutlookItem.h"

namespace plexa {

class Services;

class CMailItemWrapper {
public:
    explicit CMailItemWrapper(Services& services) : m_services(services) {}
    ~CMailItemWrapper() { Done(); }
    CMailItemWrapper(const CMailItemWrapper&) = delete;
    CMailItemWrapper& operator=(const CMailItemWrapper&) = delete;

    // Follows the item's Send, Write and Close and keeps the source mails' entry ids.
    void Init(const std::shared_ptr<MailItem>& item, const std::vector<std::wstring>& entryIDs);
    // Lets go of the item (its events end) and of the entry ids.
    void Done();
    // True once the item is let go of, or its window has closed (then Done runs first).
    bool IsEmpty();
    // Gives every source mail that can still be opened the replied icon. Throws HostError when
    // the safe-access library cannot be reached.
    void Reply();

    const std::vector<std::wstring>& EntryIDs() const { return m_entryIDs; }

private:
    void m_oItem_Send(bool& cancel);
    void m_oItem_Write(bool& cancel);
    void m_oItem_Close(bool& cancel);
    void ReplyOnce(const wchar_t* handler);

    Services& m_services;
    WithEvents<MailItem> m_oItem;
    std::vector<std::wstring> m_entryIDs;
    bool m_closed = false;
};

}  // namespace plexa
