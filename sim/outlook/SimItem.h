// The simulated items: one view class per item class over an ItemHandle (the stored item and
// the object's own copy of it).
#pragma once

#include <memory>
#include <string>

#include "host/outlook/OutlookItem.h"
#include "sim/outlook/ItemHandle.h"
#include "sim/outlook/SimOutlook.h"

namespace plexa::sim {

// What every item class does, shared by the views below.
class SimItemCore {
public:
    SimItemCore(SimOutlook& outlook, std::shared_ptr<ItemHandle> handle, std::wstring typeName);

    // The fault check of an operation ("MailItem.Save"), then: the item must still exist (an
    // object of an item that was moved or deleted refers to nothing).
    void Live(const wchar_t* member) const;
    SimOutlook& Outlook() const { return m_outlook; }
    const std::shared_ptr<ItemHandle>& Handle() const { return m_handle; }
    // The stored item (its events, id and folder).
    const std::shared_ptr<ItemRecord>& Rec() const { return m_handle->Stored(); }
    // What reads see, and the object's own copy for changes.
    const ItemRecord& Read() const { return m_handle->Read(); }
    const std::shared_ptr<ItemRecord>& Edit() const { return m_handle->Edit(); }

    std::wstring EntryID() const;
    std::shared_ptr<MAPIFolder> Parent() const;
    std::wstring Text(const wchar_t* member, uint32_t tag) const;
    void SetText(const wchar_t* member, uint32_t tag, const std::wstring& value) const;
    std::wstring Body() const;
    void SetBody(const std::wstring& body) const;
    std::wstring Categories() const;
    bool Saved() const;
    void Save() const;
    void Display(const std::shared_ptr<OutlookItem>& self) const;
    void Delete() const;
    std::shared_ptr<OutlookItem> Copy() const;
    std::shared_ptr<OutlookItem> Move(const std::shared_ptr<MAPIFolder>& destination) const;
    void Close(int32_t saveMode) const;
    int32_t Long(const wchar_t* member, uint32_t tag, int32_t absent) const;

private:
    SimOutlook& m_outlook;
    std::shared_ptr<ItemHandle> m_handle;
    std::wstring m_typeName;
};

template <class Port>
class SimItemView : public Port, public SimItemAccess, public std::enable_shared_from_this<Port> {
public:
    SimItemView(SimOutlook& outlook, std::shared_ptr<ItemHandle> handle, std::wstring typeName)
        : m_core(outlook, std::move(handle), std::move(typeName)) {
        m_writeConnection =
            m_core.Rec()->Write.Connect([this](bool& cancel) { this->OnWrite.Emit(cancel); });
        m_closeConnection =
            m_core.Rec()->Close.Connect([this](bool& cancel) { this->OnClose.Emit(cancel); });
    }

    const std::shared_ptr<ItemRecord>& Record() const override { return m_core.Rec(); }
    const std::shared_ptr<ItemHandle>& Handle() const override { return m_core.Handle(); }

    std::wstring EntryID() override { return m_core.EntryID(); }
    std::shared_ptr<MAPIFolder> Parent() override { return m_core.Parent(); }
    std::wstring MessageClass() override { return m_core.Text(L"MessageClass", 0x001A001E); }
    std::wstring Subject() override { return m_core.Text(L"Subject", 0x0037001E); }
    void SetSubject(const std::wstring& subject) override {
        m_core.SetText(L"Subject", 0x0037001E, subject);
    }
    std::wstring Body() override { return m_core.Body(); }
    void SetBody(const std::wstring& body) override { m_core.SetBody(body); }
    std::wstring Categories() override { return m_core.Categories(); }
    bool Saved() override { return m_core.Saved(); }
    void Save() override { m_core.Save(); }
    void Display() override { m_core.Display(this->shared_from_this()); }
    void Delete() override { m_core.Delete(); }
    std::shared_ptr<OutlookItem> Copy() override { return m_core.Copy(); }
    std::shared_ptr<OutlookItem> Move(const std::shared_ptr<MAPIFolder>& destination) override {
        return m_core.Move(destination);
    }
    void Close(int32_t saveMode) override { m_core.Close(saveMode); }

protected:
    SimItemCore m_core;

private:
    Connection m_writeConnection;
    Connection m_closeConnection;
};

class SimMailItem : public SimItemView<MailItem> {
public:
    SimMailItem(SimOutlook& outlook, std::shared_ptr<ItemHandle> handle);
    std::wstring HTMLBody() override;
    void SetHTMLBody(const std::wstring& html) override;
    int32_t BodyFormat() override;
    void SetBodyFormat(int32_t format) override;
    std::shared_ptr<Recipients> GetRecipients() override;
    std::shared_ptr<UserProperties> GetUserProperties() override;
    OleDate ReceivedTime() override;
    std::wstring SenderName() override;
    int32_t Sensitivity() override;
    void Send() override;

private:
    Connection m_sendConnection;
};

class SimContactItem : public SimItemView<ContactItem> {
public:
    SimContactItem(SimOutlook& outlook, std::shared_ptr<ItemHandle> handle)
        : SimItemView(outlook, std::move(handle), L"ContactItem") {}
    std::wstring FullName() override;
    std::wstring FirstName() override;
    std::wstring MiddleName() override;
    std::wstring LastName() override;
    std::wstring Initials() override;
    std::wstring NickName() override;
    std::wstring CompanyName() override;
    int32_t Sensitivity() override;
};

class SimDistListItem : public SimItemView<DistListItem> {
public:
    SimDistListItem(SimOutlook& outlook, std::shared_ptr<ItemHandle> handle)
        : SimItemView(outlook, std::move(handle), L"DistListItem") {}
    std::wstring DLName() override;
    int32_t MemberCount() override;
};

class SimAppointmentItem : public SimItemView<AppointmentItem> {
public:
    SimAppointmentItem(SimOutlook& outlook, std::shared_ptr<ItemHandle> handle)
        : SimItemView(outlook, std::move(handle), L"AppointmentItem") {}
    std::wstring Organizer() override;
    int32_t ResponseStatus() override;
    std::shared_ptr<Recipients> GetRecipients() override;
    std::shared_ptr<Links> GetLinks() override;
};

class SimTaskItem : public SimItemView<TaskItem> {
public:
    SimTaskItem(SimOutlook& outlook, std::shared_ptr<ItemHandle> handle)
        : SimItemView(outlook, std::move(handle), L"TaskItem") {}
    std::shared_ptr<Recipients> GetRecipients() override;
    std::shared_ptr<Links> GetLinks() override;
};

// Notes, journal entries and posts.
class SimOtherItem : public SimItemView<OtherItem> {
public:
    SimOtherItem(SimOutlook& outlook, const std::shared_ptr<ItemHandle>& handle);
    std::wstring TypeName() const override;
    int32_t Class() override;
};

}  // namespace plexa::sim
