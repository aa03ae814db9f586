#include "sim/store/ItemRecord.h"

#include "core/Text.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/OlConstants.h"
#include "sim/store/FolderRecord.h"
#include "sim/store/SimSession.h"
#include "sim/store/StoreRecord.h"
#include "sim/store/mBodyText.h"
#include "sim/store/mEntryIds.h"

namespace plexa::sim {

ItemRecord::ItemRecord(SimSession& session, int32_t objectClass, StoreRecord& store)
    : m_session(session), m_objectClass(objectClass), m_store(&store) {}

Variant ItemRecord::GetProp(uint32_t propTag) const {
    const auto it = m_props.find(mEntryIds::NormalizeTag(propTag));
    return it == m_props.end() ? Variant() : it->second;
}

bool ItemRecord::HasProp(uint32_t propTag) const {
    return m_props.count(mEntryIds::NormalizeTag(propTag)) != 0;
}

void ItemRecord::SetProp(uint32_t propTag, Variant value) {
    const uint32_t tag = mEntryIds::NormalizeTag(propTag);
    m_props[tag] = std::move(value);
    m_changed = true;
    StoredContentChanged();
    m_session.OnPropChanged(*this, tag);
}

void ItemRecord::RemoveProp(uint32_t propTag) {
    const uint32_t tag = mEntryIds::NormalizeTag(propTag);
    if (m_props.erase(tag) != 0) {
        m_changed = true;
        StoredContentChanged();
        m_session.OnPropChanged(*this, tag);
    }
}

void ItemRecord::SetCategories(std::wstring categories) {
    m_categories = std::move(categories);
    m_changed = true;
    StoredContentChanged();
}

void ItemRecord::StoredContentChanged() {
    // A host object's copy changes nothing in the store until it is saved.
    if (m_stored == nullptr && m_folder != nullptr) {
        m_folder->ContentChanged();
    }
}

std::wstring ItemRecord::GetText(uint32_t propTag) const {
    return TextRef(propTag);
}

const std::wstring& ItemRecord::TextRef(uint32_t propTag) const {
    static const std::wstring kEmpty;
    const auto it = m_props.find(mEntryIds::NormalizeTag(propTag));
    if (it == m_props.end() || it->second.String() == nullptr) {
        return kEmpty;
    }
    return *it->second.String();
}

Variant ItemRecord::GetNamed(std::wstring_view guid, uint32_t namedId, uint16_t type) const {
    const uint32_t id = m_store->GetIDsFromNames(guid, namedId, false);
    return id == 0 ? Variant() : GetProp(mapi::MakeTag(id, type));
}

void ItemRecord::SetNamed(std::wstring_view guid, uint32_t namedId, uint16_t type, Variant value) {
    const uint32_t id = m_store->GetIDsFromNames(guid, namedId, true);
    if (id == 0) {
        throw HostError(MAPI_E_NOT_FOUND, L"The store has no room for another named property.",
                        L"Microsoft Outlook");
    }
    SetProp(mapi::MakeTag(id, type), std::move(value));
}

void ItemRecord::SetBody(const std::wstring& text) {
    SetText(mapi::PR_BODY, text);
    if (BodyFormat() == olFormatPlain) {
        RemoveProp(mapi::PR_HTML);
    } else {
        SetText(mapi::PR_HTML, mBodyText::TextToHtml(text));
    }
}

std::wstring ItemRecord::HTMLBody() const {
    if (HasProp(mapi::PR_HTML)) {
        return GetText(mapi::PR_HTML);
    }
    // A plain message shows an HTML rendering of its text from the 2002 client on.
    return m_session.outlookMajorVersion >= 10 ? mBodyText::TextToHtml(Body()) : L"";
}

void ItemRecord::SetHTMLBody(const std::wstring& html) {
    SetText(mapi::PR_HTML, html);
    SetText(mapi::PR_BODY, mBodyText::HtmlToText(html));
    SetProp(mapi::PR_MSG_EDITOR_FORMAT, Variant(olFormatHTML));
}

int32_t ItemRecord::BodyFormat() const {
    const Variant format = GetProp(mapi::PR_MSG_EDITOR_FORMAT);
    if (const auto* n = std::get_if<int32_t>(&format.Raw())) {
        if (*n >= olFormatPlain && *n <= olFormatRichText) {
            return *n;
        }
    }
    return HasProp(mapi::PR_HTML) ? olFormatHTML : olFormatPlain;
}

void ItemRecord::SetBodyFormat(int32_t format) {
    if (format < olFormatPlain || format > olFormatRichText) {
        throw HostError(E_INVALIDARG, L"The body format is not valid.", L"Microsoft Outlook");
    }
    if (format == olFormatPlain) {
        RemoveProp(mapi::PR_HTML);
    } else if (!HasProp(mapi::PR_HTML)) {
        SetText(mapi::PR_HTML, mBodyText::TextToHtml(Body()));
    }
    SetProp(mapi::PR_MSG_EDITOR_FORMAT, Variant(format));
}

std::shared_ptr<RecipientRecord> ItemRecord::AddRecipient(const std::wstring& name, int32_t type) {
    auto recipient = std::make_shared<RecipientRecord>();
    recipient->name = name;
    recipient->type = type;
    recipients.push_back(recipient);
    return recipient;
}

std::vector<std::shared_ptr<RecipientRecord>> ItemRecord::CopyRecipients() const {
    std::vector<std::shared_ptr<RecipientRecord>> copies;
    copies.reserve(recipients.size());
    for (const auto& recipient : recipients) {
        copies.push_back(std::make_shared<RecipientRecord>(*recipient));
    }
    return copies;
}

void ItemRecord::CopyContentFrom(const ItemRecord& other) {
    m_props = other.m_props;
    recipients = other.CopyRecipients();
    userProperties = other.userProperties;
    links = other.links;
    m_categories = other.m_categories;
    StoredContentChanged();
    if (other.listEntry) {
        if (!listEntry) {
            // A copy's own entry: never listed, so the address book finds only the stored one.
            listEntry = std::make_shared<AddressEntryRecord>(*other.listEntry);
        } else {
            listEntry->members = other.listEntry->members;
        }
    }
}

UserPropertyRecord* ItemRecord::FindUserProperty(const std::wstring& name) {
    for (auto& prop : userProperties) {
        if (text::EqualsNoCase(prop.name, name)) {
            return &prop;
        }
    }
    return nullptr;
}

}  // namespace plexa::sim
