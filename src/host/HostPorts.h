// The mail client's side of the ports, as the running add-in holds them: the application it was
// connected to (gApplication) and the libraries it creates objects from.
#pragma once

#include <memory>

namespace plexa {

class Application;
class CompanionLibrary;
class RedemptionLibrary;

struct HostPorts {
    std::shared_ptr<Application> application;
    RedemptionLibrary* redemption = nullptr;
    CompanionLibrary* companions = nullptr;
};

}  // namespace plexa
