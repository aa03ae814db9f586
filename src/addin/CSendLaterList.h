// The send-later queue of the default store (gSendLaterList).
//
// Waits for the send-later queue: this stand-in keeps the profile key it is given and holds no
// entries; Load reads nothing yet. Nothing in the add-in queues messages before the queue is
// built.
#pragma once

#include <string>

namespace plexa {

class CSendLaterList {
public:
    // Sets the queue's profile key: the entry id of the default store's top folder.
    void Init(const std::wstring& profile) { m_sProfile = profile; }
    // Waits for the send-later queue: rebuilding the entries from the registry journal.
    void Load() {}

    const std::wstring& Profile() const { return m_sProfile; }

private:
    std::wstring m_sProfile;
};

}  // namespace plexa
