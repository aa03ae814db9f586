// Giving stores, folders and items the ids a saved mailbox recorded for them, so that what the
// add-in keeps between runs (the send-later queue under the default store's top-folder id, the
// entry ids of queued messages) still finds them after the client restarts.
#include "core/HostError.h"
#include "core/Text.h"
#include "host/outlook/OlConstants.h"
#include "sim/store/SimSession.h"
#include "sim/store/mEntryIds.h"

namespace plexa::sim {

namespace {

const wchar_t* const kOutlook = L"Microsoft Outlook";

[[noreturn]] void NotAnID(const std::wstring& what, const std::wstring& id) {
    throw HostError(E_INVALIDARG, L"\"" + id + L"\" is not " + what + L" of this client.",
                    kOutlook);
}

[[noreturn]] void Taken(const std::wstring& id) {
    throw HostError(E_INVALIDARG, L"The id \"" + id + L"\" is already in use.", kOutlook);
}

// The counter behind an entry id of this client's form; throws for any other text.
uint64_t EntryCounter(const std::wstring& entryID) {
    const auto counter = mEntryIds::EntryIDCounter(entryID);
    if (!counter) {
        NotAnID(L"an entry id", entryID);
    }
    return *counter;
}

}  // namespace

void SimSession::SkipIDsThrough(uint64_t counter) {
    if (counter >= m_nextID) {
        m_nextID = counter + 1;
    }
}

void SimSession::GiveStoreID(StoreRecord& store, const std::wstring& storeID) {
    const auto counter = mEntryIds::StoreIDCounter(storeID);
    if (!counter) {
        NotAnID(L"a store id", storeID);
    }
    const std::wstring id = text::ToUpper(storeID);
    for (const auto& other : m_stores) {
        if (other.get() != &store && other->StoreID() == id) {
            Taken(storeID);
        }
    }
    store.m_storeID = id;
    SkipIDsThrough(*counter);
}

void SimSession::GiveEntryID(FolderRecord& folder, const std::wstring& entryID) {
    const uint64_t counter = EntryCounter(entryID);
    const auto own = mEntryIds::EntryIDCounter(folder.m_entryID);
    if (own == counter) {
        return;
    }
    CheckEntryIDFree(counter, entryID);
    if (own) {
        m_folders.erase(*own);
    }
    folder.m_entryID = text::ToUpper(entryID);
    m_folders.emplace(counter, &folder);
    SkipIDsThrough(counter);
}

void SimSession::GiveEntryID(ItemRecord& unsavedItem, const std::wstring& entryID) {
    if (!unsavedItem.m_entryID.empty()) {
        throw HostError(E_FAIL, L"A saved item keeps its entry id.", kOutlook);
    }
    const uint64_t counter = EntryCounter(entryID);
    CheckEntryIDFree(counter, entryID);
    // The first Save keeps an id the item already has.
    unsavedItem.m_entryID = text::ToUpper(entryID);
    SkipIDsThrough(counter);
}

void SimSession::CheckEntryIDFree(uint64_t counter, const std::wstring& entryID) const {
    if (m_folders.count(counter) != 0 || m_items.count(counter) != 0 ||
        addressBook.Find(entryID) != nullptr) {
        Taken(entryID);
    }
}

}  // namespace plexa::sim
