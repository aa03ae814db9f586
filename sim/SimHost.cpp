#include "sim/SimHost.h"

#include "sim/MailboxLoader.h"

namespace plexa::sim {

SimHost::SimHost(SimPlatform& platform)
    : session(platform.faults, platform.clock),
      application(std::make_shared<SimApplication>(outlook)) {
    session.AddStore(L"Personal Folders", true);
}

SimHost::SimHost(SimPlatform& platform, const MailboxModel& mailbox, std::wstring_view source)
    : session(platform.faults, platform.clock),
      application(std::make_shared<SimApplication>(outlook)) {
    FillSession(mailbox, session, source);
}

SimHost::~SimHost() {
    application->HostGone();
}

}  // namespace plexa::sim
