#include "recipients/mPlexa.h"

#include <algorithm>
#include <deque>

#include "core/HostError.h"
#include "core/Text.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "host/outlook/OutlookItem.h"
#include "host/redemption/Redemption.h"
#include "platform/Platform.h"
#include "recipients/CRecipients.h"
#include "recipients/mAddressBook.h"
#include "settings/CLang.h"
#include "settings/COptions.h"
#include "settings/IProgress.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"

namespace plexa::mPlexa {

namespace {

constexpr const wchar_t* kGetPlexaRecipients = L"GetPlexaRecipients";
constexpr const wchar_t* kTraceGet = L"mPlexa::GetPlexaRecipients";
constexpr const wchar_t* kAddItemRecipients = L"mPlexa::AddItemRecipients";
constexpr const wchar_t* kSafeGetLinks = L"mPlexa::SafeGetLinks";

// Binds a safe-access object to an item for one use and sets it back to nothing afterwards,
// also when the use fails.
class Binding {
public:
    Binding(SafeItem& safe, const std::shared_ptr<OutlookItem>& item) : m_safe(safe) {
        m_safe.SetItem(item);
    }
    ~Binding() {
        try {
            m_safe.SetItem(nullptr);
        } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): rebound for the next item
        }
    }
    Binding(const Binding&) = delete;
    Binding& operator=(const Binding&) = delete;

private:
    SafeItem& m_safe;
};

// Writes the entry and exit trace lines of an operation, whichever way it returns.
class ExitTrace {
public:
    explicit ExitTrace(const wchar_t* source) : m_source(source) {
        mGlobals::LogDebug(m_source, L"->", 1);
    }
    ~ExitTrace() { mGlobals::LogDebug(m_source, L"<-", 1); }
    ExitTrace(const ExitTrace&) = delete;
    ExitTrace& operator=(const ExitTrace&) = delete;

private:
    const wchar_t* m_source;
};

// A binary property's bytes as the hex text of an entry id.
std::wstring Hex(const VariantArray& bytes) {
    std::vector<uint8_t> raw;
    raw.reserve(bytes.items.size());
    for (const Variant& b : bytes.items) {
        raw.push_back(static_cast<uint8_t>(static_cast<uint32_t>(CLng(b)) & 0xFFU));
    }
    return text::HexBytes(raw);
}

std::wstring SmtpOf(const std::shared_ptr<SafeAddressEntry>& entry) {
    return entry ? mAddressBook::SafeGetSmtpAddress(*entry, true) : std::wstring();
}

// Adds every recipient of an appointment or task, except the one named like the organiser.
void AddSafeRecipients(SafeItem& safe, CRecipients& recipients, const std::wstring& organizer) {
    auto list = safe.Recipients();
    const int32_t count = list->Count();
    for (int32_t i = 1; i <= count; ++i) {
        auto recipient = list->Item(i);
        const std::wstring name = recipient->Name();
        if (!organizer.empty() && name == organizer) {
            continue;
        }
        recipients.AddRecipient(name, SmtpOf(recipient->AddressEntry()), L"");
    }
}

std::shared_ptr<Links> LinksOf(const std::shared_ptr<OutlookItem>& item) {
    if (auto appointment = std::dynamic_pointer_cast<AppointmentItem>(item)) {
        return appointment->GetLinks();
    }
    if (auto task = std::dynamic_pointer_cast<TaskItem>(item)) {
        return task->GetLinks();
    }
    return nullptr;
}

void HandleLinks(const std::shared_ptr<OutlookItem>& item, ERecipientsFrom eFrom,
                 CRecipients& recipients, Services& services) {
    COptions& options = services.Options();
    if (eFrom != esFromSelection && options.ExcludeLinkItems()) {
        auto links = LinksOf(item);
        if (links && links->Count() > 0) {
            mGlobals::LogDebug(kAddItemRecipients, L"Exclude links items", 2);
        }
        return;
    }
    SafeGetLinks(services, item, recipients, eFrom);
}

bool ExcludedAsPrivate(ContactItem& contact, ERecipientsFrom eFrom, COptions& options) {
    return eFrom != esFromSelection && options.ExcludePrivateContacts() &&
           contact.Sensitivity() == olPrivate;
}

void AddMail(const std::shared_ptr<OutlookItem>& item, ERecipientsFrom eFrom,
             CRecipients& recipients, MAPIUtils& utils, SafeMailItem& safeMail,
             Services& services) {
    COptions& options = services.Options();
    auto mail = std::dynamic_pointer_cast<MailItem>(item);
    if (!mail) {
        throw RuntimeError(vberr::TypeMismatch);
    }
    // Explicitly selected mails are never skipped.
    if (eFrom != esFromSelection && IsRepliedMail(mail, utils) && options.ExcludeReplied()) {
        mGlobals::LogDebug(kAddItemRecipients, L"Exclude already replied e-mail", 2);
        return;
    }
    Binding bound(safeMail, item);
    if (IsReceivedMail(services, mail)) {
        // The sender, associated with the mail so that it is marked replied once answered.
        const std::wstring name = CStr(safeMail.Fields(mapi::PR_SENT_REPRESENTING_NAME));
        const std::wstring email = CStr(safeMail.Fields(mapi::PR_SENT_REPRESENTING_EMAIL_ADDRESS));
        recipients.AddRecipient(name, email, mail->EntryID());
        return;
    }
    // A mail of one's own (Drafts, Outbox, Sent Items): its recipients by type.
    auto list = safeMail.Recipients();
    const int32_t count = list->Count();
    for (int32_t i = 1; i <= count; ++i) {
        auto recipient = list->Item(i);
        const int32_t type = recipient->Type();
        if (type == olTo || (type == olCC && options.IncludeCC()) ||
            (type == olBCC && options.IncludeBCC())) {
            recipients.AddRecipient(recipient->Name(), SmtpOf(recipient->AddressEntry()), L"");
        }
    }
}

void AddAppointment(const std::shared_ptr<OutlookItem>& item, ERecipientsFrom eFrom,
                    CRecipients& recipients, SafeAppointmentItem& safeAppointment,
                    Services& services) {
    {
        Binding bound(safeAppointment, item);
        std::wstring organizer;
        if (safeAppointment.ResponseStatus() == olResponseOrganized) {
            organizer = safeAppointment.Organizer();
        }
        AddSafeRecipients(safeAppointment, recipients, organizer);
    }
    HandleLinks(item, eFrom, recipients, services);
}

void AddTask(const std::shared_ptr<OutlookItem>& item, ERecipientsFrom eFrom,
             CRecipients& recipients, SafeTaskItem& safeTask, Services& services) {
    {
        Binding bound(safeTask, item);
        AddSafeRecipients(safeTask, recipients, L"");
    }
    HandleLinks(item, eFrom, recipients, services);
}

void AddContact(const std::shared_ptr<OutlookItem>& item, ERecipientsFrom eFrom,
                CRecipients& recipients, Services& services) {
    auto contact = std::dynamic_pointer_cast<ContactItem>(item);
    if (!contact) {
        throw RuntimeError(vberr::TypeMismatch);
    }
    if (ExcludedAsPrivate(*contact, eFrom, services.Options())) {
        mGlobals::LogDebug(kAddItemRecipients, L"Exclude private contacts", 2);
        return;
    }
    const std::vector<std::wstring> addresses = GetContactEmailAddresses(services, contact);
    if (!addresses.empty()) {
        recipients.AddRecipient(contact->FullName(), addresses.front(), L"");
    }
}

}  // namespace

GatherResult GetPlexaRecipients(Services& services, ERecipientsFrom eFrom, CRecipients& recipients,
                                bool bAddDistLists, IProgress& progress,
                                const std::shared_ptr<MAPIFolder>& folder, int32_t nCommand) {
    const ExitTrace trace(kTraceGet);
    GatherResult result;
    bool& bUseProgressWND = result.bUseProgressWND;
    std::deque<std::shared_ptr<OutlookItem>> colItems;
    try {
        HostPorts& host = services.ConnectedHost();
        IUiShell& ui = services.Ports().ui;
        auto explorer = host.application->ActiveExplorer();
        std::shared_ptr<MAPIFolder> source = folder;
        if (!source && explorer) {
            source = explorer->CurrentFolder();
        }
        // A progress left open by an earlier run closes first.
        progress.Done();
        if (!source) {
            mGlobals::LogDebug(kTraceGet, L"no folder window", 2);
            return result;
        }
        if (eFrom != esFromSelection && eFrom != esFromFolder) {
            mGlobals::LogError(
                kGetPlexaRecipients, 0,
                L"Invalid ERecipientsFrom value = " + std::to_wstring(static_cast<int32_t>(eFrom)));
            return result;
        }

        // The top folder of a store holds nothing to gather, whatever eFrom says.
        if (source->Parent()->Class() != olNamespace) {
            if (eFrom == esFromFolder) {
                mGlobals::LogDebug(kTraceGet, L"get all folder items", 2);
                auto items = source->GetItems();
                for (auto item = items->GetFirst(); item; item = items->GetNext()) {
                    colItems.push_back(std::move(item));
                }
            } else if (explorer) {
                mGlobals::LogDebug(kTraceGet, L"esFromSelection", 2);
                auto selection = explorer->GetSelection();
                const int32_t count = selection->Count();
                for (int32_t i = 1; i <= count; ++i) {
                    colItems.push_back(selection->Item(i));
                }
            }
        }
        if (colItems.empty()) {
            mGlobals::LogDebug(kTraceGet, L"colItems.Count = 0 ", 2);
            return result;
        }

        if (colItems.size() >= kConfirmItemCount) {
            CLang& lang = services.Lang();
            const std::wstring prompt =
                lang.Item(nCommand == kDistListCommand ? L"LID_PROMPT_LARGE_RECIPIENTS_DL"
                                                       : L"LID_PROMPT_LARGE_RECIPIENTS_M");
            if (ui.MsgBox(prompt, mb::YesNo, lang.Item(L"LID_TITLE_LARGE_RECIPIENTS")) !=
                mb::IdYes) {
                return result;
            }
        }

        RedemptionLibrary& library = *host.redemption;
        auto utils = library.CreateMAPIUtils();
        auto safeMail = library.CreateSafeMailItem();
        auto safeAppointment = library.CreateSafeAppointmentItem();
        auto safeTask = library.CreateSafeTaskItem();

        if (colItems.size() >= kProgressItemCount) {
            bUseProgressWND = true;
            mGlobals::LogDebug(kTraceGet, L"bUseProgressWND = True", 2);
            try {
                progress.Init(1, static_cast<int32_t>(colItems.size()));
            } catch (const HostError& e) {
                // A window that cannot be shown does not stop the work it reports on.
                mGlobals::LogError(kGetPlexaRecipients, e, L"frmProgress");
                bUseProgressWND = false;
            }
        }

        // Each item leaves the working list as soon as it is done, so the host's items are
        // released progressively.
        bool bCancel = false;
        while (!colItems.empty() && !bCancel) {
            AddItemRecipients(services, colItems.front(), eFrom, recipients, bAddDistLists,
                              bUseProgressWND, progress, *utils, *safeMail, *safeAppointment,
                              *safeTask, bCancel);
            colItems.pop_front();
        }

        if (bUseProgressWND) {
            services.LetMessagesRun();
        }
        if (bCancel) {
            if (bUseProgressWND) {
                progress.Done();
                services.LetMessagesRun();
            }
            result.gathered = false;
        } else {
            result.gathered = true;
        }
    } catch (const HostError& e) {
        mGlobals::LogError(kGetPlexaRecipients, e);
        // A window opened for this run closes with it.
        if (bUseProgressWND) {
            progress.Done();
        }
        result.gathered = false;
    }
    return result;
}

void AddItemRecipients(Services& services, const std::shared_ptr<OutlookItem>& item,
                       ERecipientsFrom eFrom, CRecipients& recipients, bool bAddDistLists,
                       bool bUseProgressWND, IProgress& progress, MAPIUtils& utils,
                       SafeMailItem& safeMail, SafeAppointmentItem& safeAppointment,
                       SafeTaskItem& safeTask, bool& bCancel) {
    try {
        const int32_t itemClass = item->Class();
        switch (itemClass) {
            case olMail:
                AddMail(item, eFrom, recipients, utils, safeMail, services);
                break;
            case olAppointment:
                AddAppointment(item, eFrom, recipients, safeAppointment, services);
                break;
            case olTask:
                AddTask(item, eFrom, recipients, safeTask, services);
                break;
            case olContact:
                AddContact(item, eFrom, recipients, services);
                break;
            case olDistributionList:
                if (bAddDistLists) {
                    recipients.AddRecipient(item->Subject(), L"", L"");
                } else {
                    mGlobals::LogDebug(kAddItemRecipients, L"Ignoring distibutive list", 2);
                }
                break;
            default:
                mGlobals::LogWarning(
                    kAddItemRecipients,
                    L"selected unsupported item type = " + std::to_wstring(itemClass), 1);
                break;
        }
        // No trace line per step: every log entry opens the log file, which would cost more
        // than gathering the item.
        if (bUseProgressWND) {
            if (progress.Step()) {
                bCancel = true;
            }
        }
    } catch (const HostError& e) {
        mGlobals::LogError(kAddItemRecipients, e);
    }
}

void SafeGetLinks(Services& services, const std::shared_ptr<OutlookItem>& item,
                  CRecipients& recipients, ERecipientsFrom eFrom) {
    try {
        auto links = LinksOf(item);
        if (!links) {
            return;
        }
        const int32_t count = links->Count();
        for (int32_t i = 1; i <= count; ++i) {
            auto link = links->Item(i);
            if (link->Type() != olLinkContact) {
                continue;
            }
            std::shared_ptr<ContactItem> contact;
            try {
                contact = std::dynamic_pointer_cast<ContactItem>(link->Item());
            } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): added by its name below
            }
            if (!contact) {
                recipients.AddRecipient(link->Name(), L"", L"");
                continue;
            }
            if (ExcludedAsPrivate(*contact, eFrom, services.Options())) {
                mGlobals::LogDebug(kSafeGetLinks, L"Exclude private contacts", 2);
                continue;
            }
            const std::vector<std::wstring> addresses = GetContactEmailAddresses(services, contact);
            recipients.AddRecipient(contact->FullName(),
                                    addresses.empty() ? std::wstring() : addresses.front(), L"");
        }
    } catch (const HostError& e) {
        mGlobals::LogError(kSafeGetLinks, e);
    }
}

bool IsRepliedMail(const std::shared_ptr<MailItem>& mail, MAPIUtils& utils) {
    try {
        const Variant icon = utils.HrGetOneProp(mail, mapi::PR_ICON_INDEX);
        return !icon.IsEmpty() && CLng(icon) == mapi::ICON_INDEX_REPLIED;
    } catch (const HostError&) {
        return false;  // an unreadable icon: not replied
    }
}

bool IsReceivedMail(Services& services, const std::shared_ptr<MailItem>& mail) {
    auto session = services.ConnectedHost().application->Session();
    std::vector<std::wstring> outgoing;
    for (int32_t folderType : {olFolderDrafts, olFolderOutbox, olFolderSentMail}) {
        outgoing.push_back(session->GetDefaultFolder(folderType)->EntryID());
    }
    std::shared_ptr<OutlookObject> current = mail->Parent();
    while (current && current->Class() == olFolder) {
        auto folder = std::dynamic_pointer_cast<MAPIFolder>(current);
        if (!folder) {
            break;
        }
        const std::wstring id = folder->EntryID();
        for (const std::wstring& out : outgoing) {
            if (text::EqualsNoCase(id, out)) {
                return false;
            }
        }
        current = folder->Parent();
    }
    return true;
}

std::vector<std::wstring> GetContactEmailAddresses(Services& services,
                                                   const std::shared_ptr<ContactItem>& contact) {
    std::vector<std::wstring> addresses;
    auto utils = services.ConnectedHost().redemption->CreateMAPIUtils();
    for (std::size_t k = 0; k < 3; ++k) {
        const uint32_t idTag = utils->GetIDsFromNames(contact, mapi::PSETID_Address,
                                                      mapi::LID_EMAIL_ENTRYID[k], false);
        if (idTag == 0) {
            continue;
        }
        auto addressText = [&] {
            const uint32_t addressTag = utils->GetIDsFromNames(contact, mapi::PSETID_Address,
                                                               mapi::LID_EMAIL_ADDRESS[k], false);
            return addressTag == 0 ? std::wstring()
                                   : text::ToLower(text::Trim(CStr(utils->HrGetOneProp(
                                         contact, addressTag + mapi::PT_STRING8))));
        };
        const Variant stored = utils->HrGetOneProp(contact, idTag + mapi::PT_BINARY);
        std::wstring address;
        if (stored.IsEmpty()) {
            address = addressText();
        } else if (const VariantArray* bytes = stored.ArrayValue()) {
            // A stored entry id that no longer opens (the entry was deleted, its store is
            // offline) falls back to the slot's address text; the other slots still count.
            std::shared_ptr<SafeAddressEntry> entry;
            try {
                entry = utils->GetAddressEntryFromID(Hex(*bytes));
            } catch (const HostError& e) {
                mGlobals::LogWarning(L"mPlexa::GetContactEmailAddresses",
                                     L"slot " + std::to_wstring(k + 1) + L": " + e.Description(),
                                     2);
            }
            address =
                entry ? text::ToLower(text::Trim(mAddressBook::SafeGetSmtpAddress(*entry, true)))
                      : addressText();
        }
        if (mAddressBook::IsValidEmail(address) &&
            std::find(addresses.begin(), addresses.end(), address) == addresses.end()) {
            addresses.push_back(address);
        }
    }
    return addresses;
}

}  // namespace plexa::mPlexa
