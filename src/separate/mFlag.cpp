#include "separate/mFlag.h"

#include "core/HostError.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/OutlookItem.h"
#include "host/redemption/Redemption.h"
#include "settings/Services.h"
#include "settings/mMisc.h"

namespace plexa {

namespace {

std::shared_ptr<MAPIUtils> CreateUtils(Services& services) {
    if (services.host.redemption == nullptr) {
        throw HostError(E_FAIL, L"The safe-access library is not available", L"mFlag");
    }
    return services.host.redemption->CreateMAPIUtils();
}

uint32_t FlagTextTag(MAPIUtils& utils, const std::shared_ptr<AutomationObject>& item, bool create) {
    const uint32_t id =
        utils.GetIDsFromNames(item, mapi::PSETID_Common, mapi::LID_FLAG_REQUEST, create);
    return id == 0 ? 0 : (id | mapi::PT_STRING8);
}

int32_t AsLong(const Variant& v) {
    return v.IsEmpty() ? 0 : CLng(v);
}

}  // namespace

namespace mFlag {

std::wstring GetFlagText(Services& services, const std::shared_ptr<AutomationObject>& item) {
    try {
        auto utils = CreateUtils(services);
        const uint32_t tag = FlagTextTag(*utils, item, false);
        if (tag == 0) {
            return {};
        }
        return CStr(utils->HrGetOneProp(item, tag));
    } catch (const HostError&) {
        return {};
    }
}

void SetFlagText(Services& services, const std::shared_ptr<AutomationObject>& item,
                 const std::wstring& text, bool save) {
    try {
        auto utils = CreateUtils(services);
        const uint32_t tag = FlagTextTag(*utils, item, true);
        if (tag != 0) {
            utils->HrSetOneProp(item, tag, Variant(text), save);
        }
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): a refused property is no error
    }
}

void GetFlagStatus(Services& services, const std::shared_ptr<AutomationObject>& item,
                   int32_t& status, int32_t& icon) {
    status = 0;
    icon = 0;
    try {
        auto utils = CreateUtils(services);
        status = AsLong(utils->HrGetOneProp(item, mapi::PR_FLAG_STATUS));
        if (status == 2) {
            icon = AsLong(utils->HrGetOneProp(item, mapi::PR_FLAG_ICON));
        }
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): unreadable reads as unflagged
    }
}

void SetFlagStatus(Services& services, const std::shared_ptr<AutomationObject>& item,
                   int32_t status, int32_t icon, bool save) {
    try {
        auto utils = CreateUtils(services);
        utils->HrSetOneProp(item, mapi::PR_FLAG_STATUS, Variant(status), false);
        utils->HrSetOneProp(item, mapi::PR_FLAG_ICON, Variant(icon), save);
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): a refused property is no error
    }
}

}  // namespace mFlag

namespace mGlobals {

void MarkWithFollowUpFlag(Services& services, const std::shared_ptr<MailItem>& mail) {
    if (!mail) {
        return;
    }
    COptions& options = services.Options();
    if (!options.MarkWithFlag()) {
        return;
    }
    mFlag::SetFlagStatus(services, mail, options.Flag(), options.Flag2003(), false);
    mFlag::SetFlagText(services, mail, options.FlagText(), true);
}

void ClearFollowUpFlag(Services& services, const std::shared_ptr<MailItem>& mail) {
    if (!mail) {
        return;
    }
    COptions& options = services.Options();
    if (!options.ClearMarking()) {
        return;
    }
    if (mFlag::GetFlagText(services, mail) != options.FlagText()) {
        return;  // only the add-in's own mark comes off
    }
    int32_t status = 0;
    int32_t icon = 0;
    mFlag::GetFlagStatus(services, mail, status, icon);
    if (status != options.Flag()) {
        return;
    }
    if (mMisc::GetOutlookVersion(services) >= 11 && icon != options.Flag2003()) {
        return;  // the user changed the colour: it is the user's flag now
    }
    mFlag::SetFlagStatus(services, mail, 0, 0, true);
    mFlag::SetFlagText(services, mail, L"", true);
}

}  // namespace mGlobals
}  // namespace plexa
