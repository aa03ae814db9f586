// The simulated mail client in one object: the message-store session and the application
// over it, built on a SimPlatform's faults and clock. Tests construct it in one line:
//     sim::SimHost host{world.sim};
// It starts with one store, "Personal Folders", with every default folder, or with a mailbox's
// stores (MailboxLoader.h).
#pragma once

#include <memory>
#include <string_view>

#include "sim/SimPlatform.h"
#include "sim/mailbox/MailboxModel.h"
#include "sim/outlook/SimApplication.h"
#include "sim/outlook/SimOutlook.h"
#include "sim/store/SimSession.h"

namespace plexa::sim {

class SimHost {
public:
    explicit SimHost(SimPlatform& platform);
    // A client whose stores and address book are the mailbox's (FillSession, MailboxLoader.h).
    // Throws MailboxError, naming source and the place in it, when the mailbox does not build.
    SimHost(SimPlatform& platform, const MailboxModel& mailbox,
            std::wstring_view source = L"mailbox");
    ~SimHost();
    SimHost(const SimHost&) = delete;
    SimHost& operator=(const SimHost&) = delete;

    SimSession session;
    SimOutlook outlook{session};
    std::shared_ptr<SimApplication> application;
};

}  // namespace plexa::sim
