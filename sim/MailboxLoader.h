// Builds the simulated message store from a mailbox file (docs/mailbox-format.md, "The
// simulated store"), and loads and saves the whole client's mailbox for the command-line host.
//
// Building either succeeds completely or throws a MailboxError that names the place in the
// document (a JSON pointer into the model as the file gives it) and what is wrong; the session
// or host it was building is thrown away with it, so nothing half-built is ever seen.
#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

#include "platform/IClock.h"
#include "sim/Faults.h"
#include "sim/mailbox/MailboxError.h"
#include "sim/mailbox/MailboxModel.h"
#include "sim/store/SimSession.h"

namespace plexa::sim {

class SimHost;
class SimPlatform;

// A fresh session holding the mailbox's stores, folders, items and address book. source names
// the document in errors.
std::unique_ptr<SimSession> BuildSession(const MailboxModel& mailbox, Faults& faults, IClock& clock,
                                         std::wstring_view source = L"mailbox");

// Fills a session that has no store yet. When it throws, the session holds part of the mailbox
// and must be discarded: BuildSession and SimHost's mailbox constructor do exactly that.
void FillSession(const MailboxModel& mailbox, SimSession& emptySession,
                 std::wstring_view source = L"mailbox");

// The client started on a mailbox file (a real file, as the --state folder is real), or on the
// built-in demo mailbox. A malformed file or one that does not build throws MailboxError.
std::unique_ptr<SimHost> LoadHost(SimPlatform& platform, const std::filesystem::path& path);
std::unique_ptr<SimHost> LoadDemoHost(SimPlatform& platform);

// Saves the client's mailbox as it is now (SnapshotSession) atomically to path: a reader sees
// the old file or the new one. Throws MailboxError when the file cannot be written; the old
// file stays as it was.
void SaveHost(const SimHost& host, const std::filesystem::path& path);

}  // namespace plexa::sim
