#include "addin/mExplorersWrapper.h"

#include "addin/CExplorersWrapper.h"
#include "addin/Connect.h"

namespace plexa::mExplorersWrapper {

void RaiseExplorersEvent(Connect& connect, const std::wstring& eventName,
                         const std::vector<Variant>& args) {
    if (!connect.Connected()) {
        return;
    }
    if (const auto explorers = connect.GetExplorersWrapper()) {
        explorers->EventFromExplorer(eventName, args);
    }
}

}  // namespace plexa::mExplorersWrapper
