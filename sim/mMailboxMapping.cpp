#include "sim/mMailboxMapping.h"

#include <vector>

#include "host/outlook/OlConstants.h"

namespace plexa::sim::mMailboxMapping {

int32_t ObjectClassOf(ItemClass itemClass) {
    switch (itemClass) {
        case ItemClass::Contact:
            return olContact;
        case ItemClass::DistList:
            return olDistributionList;
        case ItemClass::Appointment:
            return olAppointment;
        case ItemClass::Task:
            return olTask;
        case ItemClass::Note:
            return olNote;
        case ItemClass::Journal:
            return olJournal;
        case ItemClass::Post:
            return olPost;
        case ItemClass::Mail:
            break;
    }
    return olMail;
}

std::optional<ItemClass> ItemClassOf(int32_t objectClass) {
    switch (objectClass) {
        case olMail:
            return ItemClass::Mail;
        case olContact:
            return ItemClass::Contact;
        case olDistributionList:
            return ItemClass::DistList;
        case olAppointment:
            return ItemClass::Appointment;
        case olTask:
            return ItemClass::Task;
        case olNote:
            return ItemClass::Note;
        case olJournal:
            return ItemClass::Journal;
        case olPost:
            return ItemClass::Post;
        default:
            return std::nullopt;
    }
}

int32_t ItemTypeOf(FolderType type) {
    switch (type) {
        case FolderType::Contact:
            return olContactItem;
        case FolderType::Appointment:
            return olAppointmentItem;
        case FolderType::Task:
            return olTaskItem;
        case FolderType::Note:
            return olNoteItem;
        case FolderType::Journal:
            return olJournalItem;
        case FolderType::Mail:
            break;
    }
    return olMailItem;
}

std::optional<FolderType> FolderTypeOf(int32_t itemType) {
    switch (itemType) {
        case olMailItem:
            return FolderType::Mail;
        case olContactItem:
            return FolderType::Contact;
        case olAppointmentItem:
            return FolderType::Appointment;
        case olTaskItem:
            return FolderType::Task;
        case olNoteItem:
            return FolderType::Note;
        case olJournalItem:
            return FolderType::Journal;
        default:
            return std::nullopt;
    }
}

int32_t DefaultFolderOf(FolderRole role) {
    switch (role) {
        case FolderRole::Inbox:
            return olFolderInbox;
        case FolderRole::Outbox:
            return olFolderOutbox;
        case FolderRole::Sent:
            return olFolderSentMail;
        case FolderRole::Drafts:
            return olFolderDrafts;
        case FolderRole::Deleted:
            return olFolderDeletedItems;
        case FolderRole::Junk:
            return olFolderJunk;
        case FolderRole::Calendar:
            return olFolderCalendar;
        case FolderRole::Tasks:
            return olFolderTasks;
        case FolderRole::Contacts:
            return olFolderContacts;
        case FolderRole::Notes:
            return olFolderNotes;
        case FolderRole::Journal:
            return olFolderJournal;
        case FolderRole::None:
            break;
    }
    return 0;
}

const std::vector<FolderRole>& AllRoles() {
    static const std::vector<FolderRole> kRoles = {
        FolderRole::Deleted,  FolderRole::Inbox,    FolderRole::Outbox,  FolderRole::Sent,
        FolderRole::Calendar, FolderRole::Contacts, FolderRole::Journal, FolderRole::Notes,
        FolderRole::Tasks,    FolderRole::Drafts,   FolderRole::Junk};
    return kRoles;
}

int32_t RecipientTypeOf(RecipientType type) {
    switch (type) {
        case RecipientType::Cc:
            return olCC;
        case RecipientType::Bcc:
            return olBCC;
        case RecipientType::To:
            break;
    }
    return olTo;
}

RecipientType RecipientTypeFrom(int32_t type) {
    switch (type) {
        case olCC:
            return RecipientType::Cc;
        case olBCC:
            return RecipientType::Bcc;
        default:
            return RecipientType::To;
    }
}

OleDate LocalToUtc(IClock& clock, OleDate local) {
    const double offset = clock.NowLocal().Value() - clock.NowUtc().Value();
    return OleDate(local.Value() - offset);
}

OleDate UtcToLocal(IClock& clock, OleDate utc) {
    const double offset = clock.NowLocal().Value() - clock.NowUtc().Value();
    return OleDate(utc.Value() + offset);
}

}  // namespace plexa::sim::mMailboxMapping
