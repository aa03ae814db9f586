#include "recipients/mExplorer.h"

#include "addin/Context.h"
#include "core/HostError.h"
#include "platform/IUiShell.h"
#include "settings/frmDEBUG.h"
#include "settings/mGlobals.h"

namespace plexa::mExplorer {

void ShowDebugForm() {
    Context* ctx = Context::Current();
    if (ctx == nullptr) {
        return;
    }
    try {
        ctx->Ports().ui->Show(ctx->DebugForm(), false);
    } catch (const HostError& e) {
        mGlobals::LogError(L"mExplorer::ShowDebugForm", e);
    }
}

}  // namespace plexa::mExplorer
