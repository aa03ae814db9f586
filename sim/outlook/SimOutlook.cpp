#include "sim/outlook/SimOutlook.h"

#include "host/outlook/OlConstants.h"
#include "sim/outlook/SimApplication.h"
#include "sim/outlook/SimFolder.h"
#include "sim/outlook/SimItem.h"

namespace plexa::sim {

SimOutlook::SimOutlook(SimSession& session) : session(session) {}

void SimOutlook::Check(std::wstring_view op, std::wstring_view detail) const {
    session.faults.Check(op, detail);
}

std::shared_ptr<OutlookItem> SimOutlook::Item(const std::shared_ptr<ItemRecord>& record) {
    switch (record->ObjectClass()) {
        case olMail:
            return std::make_shared<SimMailItem>(*this, record);
        case olContact:
            return std::make_shared<SimContactItem>(*this, record);
        case olDistributionList:
            return std::make_shared<SimDistListItem>(*this, record);
        case olAppointment:
            return std::make_shared<SimAppointmentItem>(*this, record);
        case olTask:
            return std::make_shared<SimTaskItem>(*this, record);
        default:
            return std::make_shared<SimOtherItem>(*this, record);
    }
}

std::shared_ptr<MAPIFolder> SimOutlook::Folder(FolderRecord& folder) {
    return std::make_shared<SimFolder>(*this, folder);
}

std::shared_ptr<NameSpace> SimOutlook::Namespace() {
    return std::make_shared<SimNameSpace>(*this);
}

std::shared_ptr<ItemRecord> SimOutlook::RecordOf(const std::shared_ptr<AutomationObject>& object) {
    const auto* access = dynamic_cast<const SimItemAccess*>(object.get());
    return access == nullptr ? nullptr : access->Record();
}

FolderRecord* SimOutlook::FolderOf(const std::shared_ptr<AutomationObject>& object) {
    const auto* access = dynamic_cast<const SimFolderAccess*>(object.get());
    return access == nullptr ? nullptr : &access->FolderRec();
}

HostError ItemDeletedError() {
    return HostError(OL_E_OBJECT_DELETED, L"The item has been moved or deleted.",
                     L"Microsoft Outlook");
}

HostError IndexError(int32_t index) {
    return HostError(E_INVALIDARG, L"Array index out of bounds (" + std::to_wstring(index) + L").",
                     L"Microsoft Outlook");
}

}  // namespace plexa::sim
