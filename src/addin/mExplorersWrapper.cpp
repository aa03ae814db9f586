#include "addin/mExplorersWrapper.h"

#include "addin/CExplorersWrapper.h"
#include "addin/Connect.h"
#include "addin/Context.h"

namespace plexa::mExplorersWrapper {

void RaiseExplorersEvent(const std::wstring& eventName, const std::vector<Variant>& args) {
    Context* ctx = Context::Current();
    if (ctx == nullptr || !ctx->connect) {
        return;
    }
    if (const auto explorers = ctx->connect->GetExplorersWrapper()) {
        explorers->EventFromExplorer(eventName, args);
    }
}

}  // namespace plexa::mExplorersWrapper
