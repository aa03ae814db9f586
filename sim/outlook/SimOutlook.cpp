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

int32_t SimOutlook::AskToSaveChanges() const {
    if (!askToSaveChanges) {
        throw HostError(E_FAIL, L"No one is there to answer \"Do you want to save changes?\"",
                        L"Microsoft Outlook");
    }
    return askToSaveChanges();
}

std::shared_ptr<OutlookItem> SimOutlook::Item(const std::shared_ptr<ItemRecord>& record) {
    return Item(std::make_shared<ItemHandle>(session, record));
}

std::shared_ptr<OutlookItem> SimOutlook::Item(const std::shared_ptr<ItemHandle>& handle) {
    switch (handle->Stored()->ObjectClass()) {
        case olMail:
            return std::make_shared<SimMailItem>(*this, handle);
        case olContact:
            return std::make_shared<SimContactItem>(*this, handle);
        case olDistributionList:
            return std::make_shared<SimDistListItem>(*this, handle);
        case olAppointment:
            return std::make_shared<SimAppointmentItem>(*this, handle);
        case olTask:
            return std::make_shared<SimTaskItem>(*this, handle);
        default:
            return std::make_shared<SimOtherItem>(*this, handle);
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

std::shared_ptr<ItemHandle> SimOutlook::HandleOf(const std::shared_ptr<AutomationObject>& object) {
    const auto* access = dynamic_cast<const SimItemAccess*>(object.get());
    return access == nullptr ? nullptr : access->Handle();
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
