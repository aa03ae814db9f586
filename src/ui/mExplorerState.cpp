#include "ui/mExplorerState.h"

#include "core/HostError.h"
#include "host/outlook/Application.h"
#include "host/outlook/MAPIFolder.h"
#include "host/outlook/OlConstants.h"
#include "host/outlook/OutlookItem.h"
#include "settings/COptions.h"
#include "settings/Services.h"

namespace plexa::mExplorerState {

bool IsDraftsFolderActive(Services& services, const std::shared_ptr<Explorer>& explorer) {
    const auto current = explorer->CurrentFolder();
    if (!current) {
        return false;
    }
    if (!services.host.application) {
        throw HostError(E_FAIL, L"The add-in is not connected to the mail client");
    }
    const auto drafts = services.host.application->Session()->GetDefaultFolder(olFolderDrafts);
    return current->EntryID() == drafts->EntryID() && current->StoreID() == drafts->StoreID();
}

bool SelectionHasMail(const std::shared_ptr<Explorer>& explorer) {
    const auto selection = explorer->GetSelection();
    const int32_t count = selection ? selection->Count() : 0;
    for (int32_t i = 1; i <= count; ++i) {
        const auto item = selection->Item(i);
        if (item && item->Class() == olMail) {
            return true;
        }
    }
    return false;
}

int32_t GetCachedAction(Services& services, const std::shared_ptr<Explorer>& explorer,
                        int32_t defaultValue) {
    int32_t itemType = 0;
    try {
        const auto folder = explorer ? explorer->CurrentFolder() : nullptr;
        if (!folder) {
            return defaultValue;
        }
        itemType = folder->DefaultItemType();
    } catch (const HostError&) {
        return defaultValue;
    }
    const int32_t code = services.Options().GetCachedAction_(itemType, defaultValue);
    return code >= kCachedTo && code <= kCachedExistingDL ? code : defaultValue;
}

int32_t GetCachedActionOrTo(Services& services, const std::shared_ptr<Explorer>& explorer) {
    return GetCachedAction(services, explorer, kCachedTo);
}

bool HasCachedAction(Services& services, const std::shared_ptr<Explorer>& explorer) {
    return GetCachedAction(services, explorer, -1) != -1;
}

}  // namespace plexa::mExplorerState
