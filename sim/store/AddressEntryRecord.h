// One entry of the simulated address book: a single address (SMTP, or an Exchange user with a
// directory name and an SMTP address) or a distribution list with members. Entries are owned by
// the AddressBook; list members refer to other entries weakly, so lists that contain each other
// (as real data sometimes does) neither leak nor hang a walk that guards against revisits.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/Variant.h"

namespace plexa::sim {

struct AddressEntryRecord {
    // The entry id as upper-case hex text.
    std::wstring entryID;
    std::wstring name;
    // An e-mail address for SMTP, a directory name ("/o=Acme/ou=Exchange/cn=Recipients/cn=x")
    // for EX; a list's own address ("" for a personal list).
    std::wstring address;
    // "SMTP", "EX", or "MAPIPDL" for a personal distribution list.
    std::wstring addressType = L"SMTP";
    // PR_SMTP_ADDRESS: for EX entries the user's SMTP address; "" means the address itself.
    std::wstring smtpAddress;
    bool isList = false;
    std::vector<std::weak_ptr<AddressEntryRecord>> members;
    // A one-off entry made for a typed address; it is not listed in the address book.
    bool oneOff = false;
    // The contact (or distribution-list item) the entry stands for, if any.
    std::wstring contactEntryID;
    std::wstring contactStoreID;
    // Further MAPI properties of the entry, keyed by tag.
    std::map<uint32_t, Variant> props;

    // The SMTP address mail to this entry goes to ("" for a list).
    std::wstring SmtpAddress() const;
    // A MAPI property: PR_DISPLAY_NAME, PR_ADDRTYPE, PR_EMAIL_ADDRESS, PR_SMTP_ADDRESS, PR_ENTRYID
    // (as bytes) or one from props; Empty when the entry lacks it.
    Variant Field(uint32_t propTag) const;
    // The living members, in order.
    std::vector<std::shared_ptr<AddressEntryRecord>> Members() const;
};

}  // namespace plexa::sim
