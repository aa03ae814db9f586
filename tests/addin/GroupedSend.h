// Copies of a grouped separate send, made the way the separate-send action makes them, until that
// action exists: one copy per recipient saved in Drafts, the first group moved to the Outbox and
// sent through the safe-access library at once, every later group queued in the add-in's
// send-later queue (Add with the copy's entry id) at now plus the interval times the group's
// number less one. Like the action it runs inside a please-wait action, and a host error ends it,
// logged under "mPlexaUpdate::DoPlexaAction"; what was sent or queued stays.
//
// This is the one place the tests fill the queue from; swapping it for the action
// (mPlexaUpdate::DoPlexaAction with send mode 1 and grouping) changes no caller.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace plexa {
class Connect;
}

namespace plexa::test {

struct GroupedSend {
    // Every recipient's copy by the entry id it had when it was sent or queued, as far as the
    // run got.
    std::map<std::wstring, std::wstring> copyIds;
    std::vector<std::wstring> queued;
    int sentAtOnce = 0;
};

// One copy per address (subject and body name it); groups of groupSize, intervalMinutes apart.
GroupedSend SendGrouped(Connect& connect, const std::vector<std::wstring>& addresses,
                        int32_t groupSize, int32_t intervalMinutes,
                        const std::wstring& subject = L"Season's news");

// "person001@example.com" ... for count recipients.
std::vector<std::wstring> Addresses(int count);

}  // namespace plexa::test
