// The contact side of the address book: the contact item that holds an e-mail address, and the
// contacts folders of every store. Placeholder replacement reads a recipient's fields from the
// contact found here.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace plexa {

class ContactItem;
class MAPIFolder;
class OutlookObject;
class Services;

namespace mContacts {

// Selects the message class "IPM.Contact" and every class derived from it.
inline constexpr const wchar_t* kContactFilter =
    L"([MessageClass] = 'IPM.Contact' Or ([MessageClass] >= 'IPM.Contact.' And "
    L"[MessageClass] < 'IPM.Contact/'))";

// The contact of the folder whose e-mail address 1, 2 or 3 equals the address (letter case
// ignored); nothing when there is none, when the address is empty, or when the host fails (the
// failure is logged under "mContacts::FindContactByEmail").
std::shared_ptr<ContactItem> FindContactByEmail(Services& services,
                                                const std::shared_ptr<MAPIFolder>& folder,
                                                const std::wstring& address);

// Contacts folders in the order they were collected, each once. A folder is known by its store's
// id and its own entry id, so folders of the same name in stores of the same name stay apart.
class ContactFolders {
public:
    // Adds the folder unless it is there already; true when it was added.
    bool Add(const std::shared_ptr<MAPIFolder>& folder);
    const std::vector<std::shared_ptr<MAPIFolder>>& Folders() const { return m_folders; }
    std::size_t Count() const { return m_folders.size(); }
    void Clear();

private:
    std::vector<std::shared_ptr<MAPIFolder>> m_folders;
    std::vector<std::wstring> m_keys;  // lower-cased "store id;entry id"
};

// Appends contacts folders below parent. With the namespace as parent: the default Contacts
// folder first, then every folder whose default item type is contact, in every store, depth
// first in the order the stores and folders are listed. A folder the host cannot read is
// skipped with its subfolders; nothing is thrown.
void CollectContactFolders(const std::shared_ptr<OutlookObject>& parent,
                           ContactFolders& collection);

// The contacts folders of the session, collected on first use and kept for the rest of the run
// (Reset forgets them, for instance when the stores change).
class CContactFolderList {
public:
    const ContactFolders& Get(Services& services);
    void Reset();
    bool Collected() const { return m_collected; }

private:
    ContactFolders m_folders;
    bool m_collected = false;
};

}  // namespace mContacts
}  // namespace plexa
