#include "recipients/CRecipients.h"

#include "core/HostError.h"
#include "core/Text.h"
#include "host/outlook/Application.h"
#include "host/redemption/Redemption.h"
#include "recipients/mAddressBook.h"
#include "settings/IProgress.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"

namespace plexa {

namespace {

constexpr const wchar_t* kAddRecipient = L"CRecipients::AddRecipient";
constexpr const wchar_t* kResolve = L"CRecipients::Resolve";
constexpr const wchar_t* kDisplayString = L"CRecipients::GetDisplayString";

// Leaves the scratch mail without recipients after a failure; errors ignored.
void ClearScratch(SafeRecipients& scratch) {
    try {
        for (int32_t i = scratch.Count(); i >= 1; --i) {
            scratch.Remove(i);
        }
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): the mail is dropped anyway
    }
}

}  // namespace

int32_t CRecipients::GetResolvedCount() const {
    return m_hasResolved ? static_cast<int32_t>(m_resolved.items.size()) : 0;
}

const CNameRecipient& CRecipients::Resolved(int32_t index) const {
    if (!m_hasResolved || index < 1 || index > GetResolvedCount()) {
        throw RuntimeError(vberr::SubscriptOutOfRange);
    }
    return *m_resolved.items[static_cast<std::size_t>(index - 1)];
}

std::wstring CRecipients::GetResolvedName(int32_t index) const {
    return Resolved(index).Name;
}

const KeyedStrings& CRecipients::GetResolvedAssocItemIDs(int32_t index) const {
    return Resolved(index).AssocItemIDs;
}

const CEmailRecipient& CRecipients::EmailRecipient(int32_t index) const {
    if (index < 1 || index > EmailRecipientCount()) {
        throw RuntimeError(vberr::SubscriptOutOfRange);
    }
    return *m_emails.items[static_cast<std::size_t>(index - 1)];
}

const CNameRecipient& CRecipients::NameRecipient(int32_t index) const {
    if (index < 1 || index > NameRecipientCount()) {
        throw RuntimeError(vberr::SubscriptOutOfRange);
    }
    return *m_names.items[static_cast<std::size_t>(index - 1)];
}

void CRecipients::AddRecipient(const std::wstring& name, const std::wstring& email,
                               const std::wstring& assocItemID) {
    m_resolved.Clear();
    m_hasResolved = false;

    std::wstring address = email;
    if (address.find(L'@') == std::wstring::npos) {
        mGlobals::LogWarning(
            kAddRecipient,
            mGlobals::sprintf(L"Using Name='%s', ignoring invalid email='%s'", name, email), 1);
        address.clear();
    }

    KeyedStrings* ids = nullptr;
    if (!address.empty()) {
        const std::wstring key = text::ToLower(address);
        CEmailRecipient* recipient = m_emails.Find(key);
        if (recipient == nullptr) {
            recipient = &m_emails.Append(key);
            recipient->Email = address;
        }
        recipient->Names.Add(name);
        ids = &recipient->AssocItemIDs;
    } else if (!name.empty()) {
        const std::wstring key = text::ToLower(name);
        CNameRecipient* recipient = m_names.Find(key);
        if (recipient == nullptr) {
            recipient = &m_names.Append(key);
            recipient->Name = name;
        }
        ids = &recipient->AssocItemIDs;
    } else {
        mGlobals::LogWarning(kAddRecipient, L"Ignoring empty recipient (no email, no name)", 1);
        return;
    }
    if (!assocItemID.empty()) {
        ids->Add(assocItemID);
    }
}

void CRecipients::Reset() {
    m_emails.Clear();
    m_names.Clear();
    m_resolved.Clear();
    m_hasResolved = false;
}

void CRecipients::AddResolved(const std::wstring& displayString, const KeyedStrings& assocItemIDs) {
    const std::wstring key = text::ToLower(displayString);
    CNameRecipient* resolved = m_resolved.Find(key);
    if (resolved == nullptr) {
        resolved = &m_resolved.Append(key);
        resolved->Name = displayString;
    }
    for (const std::wstring& id : assocItemIDs.Items()) {
        resolved->AssocItemIDs.Add(id);
    }
}

std::wstring CRecipients::GetDisplayString(const CEmailRecipient& recipient,
                                           SafeRecipients& scratch) {
    std::wstring lastPlainName;
    try {
        for (const std::wstring& name : recipient.Names.Items()) {
            // An empty name stands for no name: it is neither resolved nor shown.
            if (name.empty()) {
                continue;
            }
            if (name.find(L'@') == std::wstring::npos) {
                lastPlainName = name;
            }
            auto candidate = scratch.Add(name);
            candidate->Resolve();
            std::wstring smtp;
            if (auto entry = candidate->AddressEntry()) {
                smtp = mAddressBook::SafeGetSmtpAddress(*entry, false);
            }
            candidate->Delete();
            if (text::EqualsNoCase(smtp, recipient.Email)) {
                return name;
            }
        }
    } catch (const HostError& e) {
        mGlobals::LogError(kDisplayString, e, L"Email = '" + recipient.Email + L"'");
        ClearScratch(scratch);
        return {};
    }
    return lastPlainName.empty() ? recipient.Email : lastPlainName + L" <" + recipient.Email + L">";
}

ResolveResult CRecipients::Resolve(Services& services, IProgress& progress, bool bUseProgressWnd) {
    mGlobals::LogDebug(kResolve, L"->", 1);
    ResolveResult outcome;
    bool& bCancelled = outcome.cancelled;
    bool useProgress = bUseProgressWnd;
    std::shared_ptr<SafeMailItem> safeMail;
    bool result = false;
    try {
        HostPorts& host = services.ConnectedHost();
        // One scratch mail, never saved, for every name to resolve.
        safeMail = host.redemption->CreateSafeMailItem();
        safeMail->SetItem(host.application->CreateItem(olMailItem));

        if (useProgress) {
            try {
                progress.Init(2, EmailRecipientCount() + NameRecipientCount());
                services.LetMessagesRun();
            } catch (const HostError& e) {
                // A window that cannot be shown does not stop the work it reports on.
                mGlobals::LogError(kResolve, e, L"frmProgress");
                useProgress = false;
            }
        }

        m_resolved.Clear();
        m_hasResolved = true;
        auto scratch = safeMail->Recipients();
        const auto stepCancels = [&] {
            if (!useProgress) {
                return false;
            }
            bCancelled = progress.Step();
            return bCancelled;
        };

        for (const auto& recipient : m_emails.items) {
            const std::wstring displayString = GetDisplayString(*recipient, *scratch);
            if (!displayString.empty()) {
                AddResolved(displayString, recipient->AssocItemIDs);
            } else {
                mGlobals::LogWarning(kResolve,
                                     L"Recipient '" + recipient->Email + L"' not resolved", 1);
            }
            if (stepCancels()) {
                break;
            }
        }
        if (!bCancelled) {
            for (const auto& recipient : m_names.items) {
                auto candidate = scratch->Add(recipient->Name);
                const bool resolved = candidate->Resolve();
                candidate->Delete();
                if (resolved) {
                    AddResolved(recipient->Name, recipient->AssocItemIDs);
                } else {
                    mGlobals::LogDebug(
                        kResolve, L"Recipient(Email=\"\") '" + recipient->Name + L"' not resolved",
                        1);
                }
                if (stepCancels()) {
                    break;
                }
            }
        }

        if (useProgress) {
            if (bCancelled) {
                progress.Done();
            }
            services.LetMessagesRun();
        }
        result = !bCancelled && !m_resolved.items.empty();
    } catch (const HostError& e) {
        mGlobals::LogError(kResolve, e);
        result = false;
    }
    if (safeMail) {
        try {
            safeMail->SetItem(nullptr);
        } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): the scratch mail goes anyway
        }
    }
    outcome.resolved = result;
    return outcome;
}

}  // namespace plexa
