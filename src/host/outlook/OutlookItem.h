// Items of the host's store: what every item offers, and the members of each item class.
// The add-in reaches a class's members by casting (std::dynamic_pointer_cast), as it would
// query the real object for its interface.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/OleDate.h"
#include "core/Signal.h"
#include "core/Variant.h"
#include "host/outlook/MAPIFolder.h"

namespace plexa {

class Recipients;
class UserProperties;
class Links;

class OutlookItem : public OutlookObject {
public:
    // The item's entry id as a hex text; "" until the item is first saved.
    virtual std::wstring EntryID() = 0;
    // The folder holding the item. Throws HostError for an item not yet saved anywhere.
    virtual std::shared_ptr<MAPIFolder> Parent() = 0;
    virtual std::wstring MessageClass() = 0;
    virtual std::wstring Subject() = 0;
    virtual void SetSubject(const std::wstring& subject) = 0;
    // The plain-text body.
    virtual std::wstring Body() = 0;
    virtual void SetBody(const std::wstring& body) = 0;
    virtual std::wstring Categories() = 0;
    // False while the object holds changes it has not saved (and for an item never saved).
    virtual bool Saved() = 0;
    // Saves the item (a new item goes to its folder, or Drafts, and gets an entry id).
    virtual void Save() = 0;
    // Opens the item in a window (not modal).
    virtual void Display() = 0;
    // Moves the item to Deleted Items; in Deleted Items, removes it for good. Either way this
    // object then refers to nothing.
    virtual void Delete() = 0;
    // A duplicate of the item, with every property and recipient, in the same folder.
    virtual std::shared_ptr<OutlookItem> Copy() = 0;
    // Moves the item and returns it as it is in its new folder; this object then refers to
    // nothing. Whether the entry id stays depends on the store.
    virtual std::shared_ptr<OutlookItem> Move(const std::shared_ptr<MAPIFolder>& destination) = 0;
    // Closes the item's window with an OlInspectorClose mode.
    virtual void Close(int32_t saveMode) = 0;

    // Events of the item, raised on every object that refers to it. The flag cancels.
    Signal<bool&> OnWrite;
    Signal<bool&> OnClose;
};

class MailItem : public OutlookItem {
public:
    std::wstring TypeName() const override { return L"MailItem"; }
    int32_t Class() override { return olMail; }
    virtual std::wstring HTMLBody() = 0;
    // Setting the HTML body also re-derives the plain body from it.
    virtual void SetHTMLBody(const std::wstring& html) = 0;
    // OlBodyFormat: plain 1, HTML 2, rich text 3.
    virtual int32_t BodyFormat() = 0;
    virtual void SetBodyFormat(int32_t format) = 0;
    virtual std::shared_ptr<Recipients> GetRecipients() = 0;
    virtual std::shared_ptr<UserProperties> GetUserProperties() = 0;
    // When the mail arrived (local time); for a draft, when it was last saved.
    virtual OleDate ReceivedTime() = 0;
    virtual std::wstring SenderName() = 0;
    virtual int32_t Sensitivity() = 0;
    // Sends through the host (with its security prompt).
    virtual void Send() = 0;

    // Raised when the user presses Send; setting the flag stops the host's own send.
    Signal<bool&> OnSend;
};

class ContactItem : public OutlookItem {
public:
    std::wstring TypeName() const override { return L"ContactItem"; }
    int32_t Class() override { return olContact; }
    virtual std::wstring FullName() = 0;
    virtual std::wstring FirstName() = 0;
    virtual std::wstring MiddleName() = 0;
    virtual std::wstring LastName() = 0;
    virtual std::wstring Initials() = 0;
    virtual std::wstring NickName() = 0;
    virtual std::wstring CompanyName() = 0;
    // OlSensitivity: 2 private.
    virtual int32_t Sensitivity() = 0;
};

class DistListItem : public OutlookItem {
public:
    std::wstring TypeName() const override { return L"DistListItem"; }
    int32_t Class() override { return olDistributionList; }
    virtual std::wstring DLName() = 0;
    virtual int32_t MemberCount() = 0;
};

class AppointmentItem : public OutlookItem {
public:
    std::wstring TypeName() const override { return L"AppointmentItem"; }
    int32_t Class() override { return olAppointment; }
    virtual std::wstring Organizer() = 0;
    // OlResponseStatus: 1 when the user organised the meeting.
    virtual int32_t ResponseStatus() = 0;
    virtual std::shared_ptr<Recipients> GetRecipients() = 0;
    virtual std::shared_ptr<Links> GetLinks() = 0;
};

class TaskItem : public OutlookItem {
public:
    std::wstring TypeName() const override { return L"TaskItem"; }
    int32_t Class() override { return olTask; }
    virtual std::shared_ptr<Recipients> GetRecipients() = 0;
    virtual std::shared_ptr<Links> GetLinks() = 0;
};

// Notes, journal entries and posts: nothing beyond what every item offers.
class OtherItem : public OutlookItem {};

class UserProperty : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"UserProperty"; }
    virtual std::wstring Name() = 0;
    virtual Variant Value() = 0;
    virtual void SetValue(const Variant& value) = 0;
    // Removes the property from its item (the change is kept when the item is saved).
    virtual void Delete() = 0;
};

class UserProperties : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"UserProperties"; }
    virtual int32_t Count() = 0;
    // The property of that name (letter case ignored), or nothing.
    virtual std::shared_ptr<UserProperty> Find(const std::wstring& name) = 0;
    // Adds a property of an OlUserPropertyType; addToFolderFields also makes it a folder field.
    // Throws HostError when one of that name exists.
    virtual std::shared_ptr<UserProperty> Add(const std::wstring& name, int32_t type,
                                              bool addToFolderFields = true) = 0;
};

class Link : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"Link"; }
    virtual std::wstring Name() = 0;
    // 40 for a contact.
    virtual int32_t Type() = 0;
    // The linked item. Throws HostError when it cannot be opened.
    virtual std::shared_ptr<OutlookItem> Item() = 0;
};

class Links : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"Links"; }
    virtual int32_t Count() = 0;
    // 1-based. Throws HostError outside 1..Count.
    virtual std::shared_ptr<Link> Item(int32_t index) = 0;
};

}  // namespace plexa
