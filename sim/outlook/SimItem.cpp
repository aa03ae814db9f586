#include "sim/outlook/SimItem.h"

#include "host/mapi/PropTags.h"
#include "host/outlook/OlConstants.h"
#include "platform/IUiShell.h"
#include "sim/outlook/SimLinks.h"
#include "sim/outlook/SimRecipients.h"
#include "sim/outlook/SimUserProperties.h"

namespace plexa::sim {

namespace {
// PSETID_Appointment and its response-status id.
constexpr const wchar_t* kPsetidAppointment = L"{00062002-0000-0000-C000-000000000046}";
constexpr uint32_t kLidResponseStatus = 0x8218;
// The date the host reports for "none" (1 January 4501).
constexpr double kNoDate = 949998.0;
}  // namespace

SimItemCore::SimItemCore(SimOutlook& outlook, std::shared_ptr<ItemHandle> handle,
                         std::wstring typeName)
    : m_outlook(outlook), m_handle(std::move(handle)), m_typeName(std::move(typeName)) {}

void SimItemCore::Live(const wchar_t* member) const {
    m_outlook.Check(m_typeName + L"." + member, Rec()->EntryID());
    if (Rec()->IsRemoved()) {
        throw ItemDeletedError();
    }
}

std::wstring SimItemCore::EntryID() const {
    Live(L"EntryID");
    return Rec()->EntryID();
}

std::shared_ptr<MAPIFolder> SimItemCore::Parent() const {
    Live(L"Parent");
    const ItemRecord& record = *Rec();
    FolderRecord* folder = record.Folder();
    if (folder == nullptr) {
        folder = record.SaveTarget();
    }
    if (folder == nullptr) {
        folder = record.Store().DefaultFolder(record.ObjectClass() == olMail ? olFolderDrafts
                                                                             : olFolderContacts);
    }
    if (folder == nullptr) {
        throw HostError(MAPI_E_NOT_FOUND, L"The item is not in any folder.", L"Microsoft Outlook");
    }
    return m_outlook.Folder(*folder);
}

std::wstring SimItemCore::Text(const wchar_t* member, uint32_t tag) const {
    Live(member);
    return Read().GetText(tag);
}

void SimItemCore::SetText(const wchar_t* member, uint32_t tag, const std::wstring& value) const {
    Live((std::wstring(L"Set") + member).c_str());
    Edit()->SetText(tag, value);
}

std::wstring SimItemCore::Body() const {
    Live(L"Body");
    return Read().Body();
}

void SimItemCore::SetBody(const std::wstring& body) const {
    Live(L"SetBody");
    Edit()->SetBody(body);
}

std::wstring SimItemCore::Categories() const {
    Live(L"Categories");
    return Read().Categories();
}

int32_t SimItemCore::Long(const wchar_t* member, uint32_t tag, int32_t absent) const {
    Live(member);
    const Variant v = Read().GetProp(tag);
    const auto* n = std::get_if<int32_t>(&v.Raw());
    return n == nullptr ? absent : *n;
}

bool SimItemCore::Saved() const {
    Live(L"Saved");
    return Rec()->IsSaved() && !m_handle->HasChanges();
}

void SimItemCore::Save() const {
    Live(L"Save");
    bool cancel = false;
    Rec()->Write.Emit(cancel);
    if (cancel) {
        return;
    }
    m_handle->Save();
}

void SimItemCore::Display(const std::shared_ptr<OutlookItem>& self) const {
    Live(L"Display");
    if (m_outlook.display) {
        m_outlook.display(self);
    }
}

void SimItemCore::Delete() const {
    Live(L"Delete");
    m_outlook.session.Delete(Rec());
}

std::shared_ptr<OutlookItem> SimItemCore::Copy() const {
    Live(L"Copy");
    m_handle->SaveFirst();
    return m_outlook.Item(m_outlook.session.Copy(Rec()));
}

std::shared_ptr<OutlookItem> SimItemCore::Move(
    const std::shared_ptr<MAPIFolder>& destination) const {
    Live(L"Move");
    FolderRecord* folder = SimOutlook::FolderOf(destination);
    if (folder == nullptr) {
        throw HostError(E_INVALIDARG, L"The destination is not a folder of this session.",
                        L"Microsoft Outlook");
    }
    m_handle->SaveFirst();
    return m_outlook.Item(m_outlook.session.Move(Rec(), *folder));
}

void SimItemCore::Close(int32_t saveMode) const {
    Live(L"Close");
    if (saveMode < olSave || saveMode > olPromptForSave) {
        throw HostError(E_INVALIDARG, L"The close mode is not valid.", L"Microsoft Outlook");
    }
    // The stored record stays alive through the handlers even if one of them moves the item.
    const std::shared_ptr<ItemRecord> record = Rec();
    bool cancel = false;
    record->Close.Emit(cancel);
    if (cancel) {
        return;
    }
    bool save = saveMode == olSave;
    if (saveMode == olPromptForSave && m_handle->HasChanges()) {
        const int32_t answer = m_outlook.AskToSaveChanges();
        if (answer == mb::IdCancel) {
            return;
        }
        save = answer == mb::IdYes;
    }
    if (save && !record->IsRemoved()) {
        bool cancelWrite = false;
        record->Write.Emit(cancelWrite);
        if (!cancelWrite) {
            m_handle->Save();
            return;
        }
    }
    m_handle->Drop();
}

// ---------------------------------------------------------------------------------------------

SimMailItem::SimMailItem(SimOutlook& outlook, std::shared_ptr<ItemHandle> handle)
    : SimItemView(outlook, std::move(handle), L"MailItem") {
    m_sendConnection =
        m_core.Rec()->Send.Connect([this](bool& cancel) { this->OnSend.Emit(cancel); });
}

std::wstring SimMailItem::HTMLBody() {
    m_core.Live(L"HTMLBody");
    return m_core.Read().HTMLBody();
}

void SimMailItem::SetHTMLBody(const std::wstring& html) {
    m_core.Live(L"SetHTMLBody");
    m_core.Edit()->SetHTMLBody(html);
}

int32_t SimMailItem::BodyFormat() {
    m_core.Live(L"BodyFormat");
    return m_core.Read().BodyFormat();
}

void SimMailItem::SetBodyFormat(int32_t format) {
    m_core.Live(L"SetBodyFormat");
    m_core.Edit()->SetBodyFormat(format);
}

std::shared_ptr<Recipients> SimMailItem::GetRecipients() {
    m_core.Live(L"Recipients");
    return std::make_shared<SimRecipients>(m_core.Outlook(), m_core.Edit());
}

std::shared_ptr<UserProperties> SimMailItem::GetUserProperties() {
    m_core.Live(L"UserProperties");
    return std::make_shared<SimUserProperties>(m_core.Outlook(), m_core.Edit());
}

OleDate SimMailItem::ReceivedTime() {
    m_core.Live(L"ReceivedTime");
    Variant when = m_core.Read().GetProp(mapi::PR_MESSAGE_DELIVERY_TIME);
    if (when.IsEmpty()) {
        when = m_core.Read().GetProp(0x30080040);  // PR_LAST_MODIFICATION_TIME
    }
    const auto* utc = std::get_if<OleDate>(&when.Raw());
    if (utc == nullptr) {
        return OleDate(kNoDate);
    }
    IClock& clock = m_core.Outlook().session.clock;
    const double offset = clock.NowLocal().Value() - clock.NowUtc().Value();
    return OleDate(utc->Value() + offset);
}

std::wstring SimMailItem::SenderName() {
    return m_core.Text(L"SenderName", mapi::PR_SENT_REPRESENTING_NAME);
}

int32_t SimMailItem::Sensitivity() {
    return m_core.Long(L"Sensitivity", mapi::PR_SENSITIVITY, olNormal);
}

void SimMailItem::Send() {
    m_core.Live(L"Send");
    const std::shared_ptr<ItemRecord> record = m_core.Rec();
    bool cancel = false;
    record->Send.Emit(cancel);
    if (cancel) {
        return;
    }
    if (Application* app = m_core.Outlook().application) {
        app->ItemSend.Emit(m_core.Outlook().Item(m_core.Handle()), cancel);
        if (cancel) {
            return;
        }
    }
    m_core.Live(L"Send");
    // A new item goes to the Outbox as it is sent, not to Drafts first.
    m_core.Handle()->SaveFirst(true);
    m_core.Outlook().session.Submit(record);
}

// ---------------------------------------------------------------------------------------------

std::wstring SimContactItem::FullName() {
    return m_core.Text(L"FullName", mapi::PR_DISPLAY_NAME);
}
std::wstring SimContactItem::FirstName() {
    return m_core.Text(L"FirstName", mapi::PR_GIVEN_NAME);
}
std::wstring SimContactItem::MiddleName() {
    return m_core.Text(L"MiddleName", mapi::PR_MIDDLE_NAME);
}
std::wstring SimContactItem::LastName() {
    return m_core.Text(L"LastName", mapi::PR_SURNAME);
}
std::wstring SimContactItem::Initials() {
    return m_core.Text(L"Initials", mapi::PR_INITIALS);
}
std::wstring SimContactItem::NickName() {
    return m_core.Text(L"NickName", mapi::PR_NICKNAME);
}
std::wstring SimContactItem::CompanyName() {
    return m_core.Text(L"CompanyName", mapi::PR_COMPANY_NAME);
}
int32_t SimContactItem::Sensitivity() {
    return m_core.Long(L"Sensitivity", mapi::PR_SENSITIVITY, olNormal);
}

std::wstring SimDistListItem::DLName() {
    return m_core.Text(L"DLName", mapi::PR_SUBJECT);
}

int32_t SimDistListItem::MemberCount() {
    m_core.Live(L"MemberCount");
    const auto& entry = m_core.Read().listEntry;
    return entry ? static_cast<int32_t>(entry->Members().size()) : 0;
}

std::wstring SimAppointmentItem::Organizer() {
    return m_core.Text(L"Organizer", mapi::PR_SENT_REPRESENTING_NAME);
}

int32_t SimAppointmentItem::ResponseStatus() {
    m_core.Live(L"ResponseStatus");
    const Variant v = m_core.Read().GetNamed(kPsetidAppointment, kLidResponseStatus, mapi::PT_LONG);
    const auto* n = std::get_if<int32_t>(&v.Raw());
    return n == nullptr ? 0 : *n;
}

std::shared_ptr<Recipients> SimAppointmentItem::GetRecipients() {
    m_core.Live(L"Recipients");
    return std::make_shared<SimRecipients>(m_core.Outlook(), m_core.Edit());
}

std::shared_ptr<Links> SimAppointmentItem::GetLinks() {
    m_core.Live(L"Links");
    return std::make_shared<SimLinks>(m_core.Outlook(), m_core.Edit());
}

std::shared_ptr<Recipients> SimTaskItem::GetRecipients() {
    m_core.Live(L"Recipients");
    return std::make_shared<SimRecipients>(m_core.Outlook(), m_core.Edit());
}

std::shared_ptr<Links> SimTaskItem::GetLinks() {
    m_core.Live(L"Links");
    return std::make_shared<SimLinks>(m_core.Outlook(), m_core.Edit());
}

namespace {
const wchar_t* OtherTypeName(int32_t objectClass) {
    switch (objectClass) {
        case olNote:
            return L"NoteItem";
        case olJournal:
            return L"JournalItem";
        default:
            return L"PostItem";
    }
}
}  // namespace

SimOtherItem::SimOtherItem(SimOutlook& outlook, const std::shared_ptr<ItemHandle>& handle)
    : SimItemView(outlook, handle, OtherTypeName(handle->Stored()->ObjectClass())) {}

std::wstring SimOtherItem::TypeName() const {
    return OtherTypeName(m_core.Rec()->ObjectClass());
}

int32_t SimOtherItem::Class() {
    return m_core.Rec()->ObjectClass();
}

}  // namespace plexa::sim
