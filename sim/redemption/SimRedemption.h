// The simulated safe-access library: creates the safe items, MAPIUtils, the RDO session and
// MAPI tables over the simulated session. Creating an object can be made to fail like a missing
// library ("Redemption.Create" faults).
#pragma once

#include "host/redemption/Redemption.h"
#include "sim/outlook/SimOutlook.h"

namespace plexa::sim {

class SimRedemption : public RedemptionLibrary {
public:
    explicit SimRedemption(SimOutlook& outlook) : m_outlook(outlook) {}
    std::shared_ptr<SafeMailItem> CreateSafeMailItem() override;
    std::shared_ptr<SafeAppointmentItem> CreateSafeAppointmentItem() override;
    std::shared_ptr<SafeTaskItem> CreateSafeTaskItem() override;
    std::shared_ptr<SafeDistList> CreateSafeDistList() override;
    std::shared_ptr<MAPIUtils> CreateMAPIUtils() override;
    std::shared_ptr<RDOSession> CreateRDOSession() override;
    std::shared_ptr<MAPITable> CreateMAPITable() override;

private:
    SimOutlook& m_outlook;
};

}  // namespace plexa::sim
