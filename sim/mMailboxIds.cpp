#include "sim/mMailboxIds.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "sim/mailbox/MailboxError.h"
#include "sim/mailbox/MailboxPointer.h"
#include "sim/store/mEntryIds.h"

namespace plexa::sim::mMailboxIds {

namespace {

using mMailboxPointer::Child;

class Checker {
public:
    explicit Checker(const std::wstring& source) : m_source(source) {}

    uint64_t Check(const MailboxModel& model) {
        for (std::size_t i = 0; i < model.stores.size(); ++i) {
            const MailboxStore& store = model.stores[i];
            const std::wstring at = Child(L"/stores", i);
            StoreID(store.storeId, Child(at, L"storeId"));
            EntryID(store.rootEntryId, Child(at, L"rootEntryId"));
            Folders(store.folders, Child(at, L"folders"));
        }
        return m_highest;
    }

private:
    void Folders(const std::vector<MailboxFolder>& folders, const std::wstring& at) {
        for (std::size_t i = 0; i < folders.size(); ++i) {
            const MailboxFolder& folder = folders[i];
            const std::wstring folderAt = Child(at, i);
            EntryID(folder.entryId, Child(folderAt, L"entryId"));
            const std::wstring itemsAt = Child(folderAt, L"items");
            for (std::size_t k = 0; k < folder.items.size(); ++k) {
                if (!folder.items[k].entryId.empty()) {
                    EntryID(folder.items[k].entryId, Child(Child(itemsAt, k), L"entryId"));
                }
            }
            Folders(folder.folders, Child(folderAt, L"folders"));
        }
    }

    void StoreID(const std::wstring& id, const std::wstring& at) {
        Given(id, mEntryIds::StoreIDCounter(id), L"a store id", m_storeIDs, at);
    }

    void EntryID(const std::wstring& id, const std::wstring& at) {
        Given(id, mEntryIds::EntryIDCounter(id), L"an entry id", m_entryIDs, at);
    }

    void Given(const std::wstring& id, std::optional<uint64_t> counter, const wchar_t* what,
               std::unordered_map<uint64_t, std::wstring>& seen, const std::wstring& at) {
        if (id.empty()) {
            return;
        }
        if (!counter) {
            throw MailboxError(m_source, at,
                               L"\"" + id + L"\" is not " + what +
                                   L" this client made (leave it out to have one made)");
        }
        const auto [it, added] = seen.emplace(*counter, at);
        if (!added) {
            throw MailboxError(
                m_source, at,
                L"the id \"" + id + L"\" is given twice (first at " + it->second + L")");
        }
        m_highest = std::max(m_highest, *counter);
    }

    const std::wstring& m_source;
    // Where each id was first given, by its counter: store ids and entry ids apart.
    std::unordered_map<uint64_t, std::wstring> m_storeIDs;
    std::unordered_map<uint64_t, std::wstring> m_entryIDs;
    uint64_t m_highest = 0;
};

}  // namespace

uint64_t CheckGivenIDs(const MailboxModel& model, const std::wstring& source) {
    return Checker(source).Check(model);
}

}  // namespace plexa::sim::mMailboxIds
