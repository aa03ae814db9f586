#include "sim/store/AddressEntryRecord.h"

#include "host/mapi/PropTags.h"
#include "sim/store/mEntryIds.h"

namespace plexa::sim {

std::wstring AddressEntryRecord::SmtpAddress() const {
    if (isList) {
        return L"";
    }
    if (!smtpAddress.empty()) {
        return smtpAddress;
    }
    return addressType == L"SMTP" ? address : L"";
}

Variant AddressEntryRecord::Field(uint32_t propTag) const {
    using namespace mapi;
    const uint32_t tag = mEntryIds::NormalizeTag(propTag);
    switch (tag) {
        case PR_DISPLAY_NAME:
            return Variant(name);
        case PR_ADDRTYPE:
            return Variant(addressType);
        case PR_EMAIL_ADDRESS:
            return Variant(address);
        case PR_SMTP_ADDRESS: {
            const std::wstring smtp = SmtpAddress();
            return smtp.empty() ? Variant() : Variant(smtp);
        }
        case PR_ENTRYID:
            return mEntryIds::HexToBytes(entryID);
        default:
            break;
    }
    const auto it = props.find(tag);
    return it == props.end() ? Variant() : it->second;
}

std::vector<std::shared_ptr<AddressEntryRecord>> AddressEntryRecord::Members() const {
    std::vector<std::shared_ptr<AddressEntryRecord>> result;
    result.reserve(members.size());
    for (const auto& weak : members) {
        if (auto member = weak.lock()) {
            result.push_back(std::move(member));
        }
    }
    return result;
}

}  // namespace plexa::sim
