#include "sim/outlook/SimItems.h"

#include <algorithm>

#include "host/outlook/OlConstants.h"

namespace plexa::sim {

namespace {

int32_t ObjectClassOf(int32_t itemType) {
    switch (itemType) {
        case olMailItem:
            return olMail;
        case olAppointmentItem:
            return olAppointment;
        case olContactItem:
            return olContact;
        case olTaskItem:
            return olTask;
        case olJournalItem:
            return olJournal;
        case olNoteItem:
            return olNote;
        case olPostItem:
            return olPost;
        case olDistributionListItem:
            return olDistributionList;
        default:
            throw HostError(E_INVALIDARG, L"The item type is not valid.", L"Microsoft Outlook");
    }
}

}  // namespace

SimItems::SimItems(SimOutlook& outlook, FolderRecord& folder, std::vector<Filter> filters,
                   std::wstring sortProperty, bool descending)
    : m_outlook(outlook),
      m_folder(folder),
      m_filters(std::move(filters)),
      m_sortProperty(std::move(sortProperty)),
      m_descending(descending) {
    m_addConnection = folder.ItemAdd.Connect([this](const std::shared_ptr<ItemRecord>& item) {
        if (Holds(*item)) {
            ItemAdd.Emit(m_outlook.Item(item));
        }
    });
    m_changeConnection = folder.ItemChange.Connect([this](const std::shared_ptr<ItemRecord>& item) {
        if (Holds(*item)) {
            ItemChange.Emit(m_outlook.Item(item));
        }
    });
    m_removeConnection = folder.ItemRemove.Connect([this] { ItemRemove.Emit(); });
}

void SimItems::Check(const wchar_t* member, std::wstring_view detail) const {
    m_outlook.Check(std::wstring(L"Items.") + member, detail);
}

bool SimItems::Holds(const ItemRecord& item) const {
    return std::all_of(m_filters.begin(), m_filters.end(),
                       [&](const Filter& f) { return f.parsed.Matches(item); });
}

const std::vector<std::shared_ptr<ItemRecord>>& SimItems::Current() {
    if (m_filters.empty() && m_sortProperty.empty()) {
        return m_folder.Items();
    }
    if (m_view && m_view->version == m_folder.ContentVersion()) {
        return m_view->items;
    }
    const std::wstring key = ViewKey();
    m_view = m_folder.FindView(key);
    if (!m_view) {
        m_view = MakeView();
        m_folder.KeepView(key, m_view);
    }
    return m_view->items;
}

std::wstring SimItems::ViewKey() const {
    // The filters in the order they were applied, then the order: each part ends in a
    // character no filter text holds.
    std::wstring key;
    for (const Filter& filter : m_filters) {
        key += filter.text;
        key += L'\0';
    }
    key += m_sortProperty;
    key += L'\0';
    key += m_descending ? L'd' : L'a';
    return key;
}

std::shared_ptr<const FolderRecord::ItemView> SimItems::MakeView() const {
    auto view = std::make_shared<FolderRecord::ItemView>();
    view->version = m_folder.ContentVersion();
    std::vector<std::shared_ptr<ItemRecord>>& items = view->items;
    for (const auto& item : m_folder.Items()) {
        if (Holds(*item)) {
            items.push_back(item);
        }
    }
    if (!m_sortProperty.empty()) {
        std::vector<std::pair<Variant, std::shared_ptr<ItemRecord>>> keyed;
        keyed.reserve(items.size());
        for (auto& item : items) {
            keyed.emplace_back(JetFilter::FieldValue(*item, m_sortProperty), std::move(item));
        }
        std::stable_sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
            const int c = JetFilter::Compare(a.first, b.first);
            return m_descending ? c > 0 : c < 0;
        });
        items.clear();
        for (auto& [value, item] : keyed) {
            items.push_back(std::move(item));
        }
    }
    return view;
}

int32_t SimItems::Count() {
    Check(L"Count", m_folder.EntryID());
    return static_cast<int32_t>(Current().size());
}

std::shared_ptr<OutlookItem> SimItems::Item(int32_t index) {
    Check(L"Item", std::to_wstring(index));
    const auto& items = Current();
    if (index < 1 || index > static_cast<int32_t>(items.size())) {
        throw IndexError(index);
    }
    return m_outlook.Item(items[static_cast<size_t>(index - 1)]);
}

std::shared_ptr<OutlookItem> SimItems::GetFirst() {
    Check(L"GetFirst", m_folder.EntryID());
    m_cursor = 0;
    const auto& items = Current();
    if (items.empty()) {
        return nullptr;
    }
    return m_outlook.Item(items[0]);
}

std::shared_ptr<OutlookItem> SimItems::GetNext() {
    Check(L"GetNext", m_folder.EntryID());
    const auto& items = Current();
    if (m_cursor + 1 >= items.size()) {
        m_cursor = items.size();
        return nullptr;
    }
    ++m_cursor;
    return m_outlook.Item(items[m_cursor]);
}

std::shared_ptr<Items> SimItems::Restrict(const std::wstring& filter) {
    Check(L"Restrict", filter);
    std::vector<Filter> filters = m_filters;
    filters.push_back(Filter{filter, JetFilter::Parse(filter)});
    return std::make_shared<SimItems>(m_outlook, m_folder, std::move(filters), m_sortProperty,
                                      m_descending);
}

void SimItems::Sort(const std::wstring& property, bool descending) {
    Check(L"Sort", property);
    // An unknown property fails here, as the host checks it at once.
    ItemRecord probe(m_outlook.session, olMail, m_folder.Store());
    JetFilter::FieldValue(probe, property);
    m_sortProperty = property;
    m_descending = descending;
    m_view.reset();
}

std::shared_ptr<OutlookItem> SimItems::Add(int32_t itemType) {
    Check(L"Add", std::to_wstring(itemType));
    return m_outlook.Item(m_outlook.session.NewItem(ObjectClassOf(itemType), &m_folder));
}

}  // namespace plexa::sim
