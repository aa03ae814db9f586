#include "sim/office/SimOffice.h"

#include "host/outlook/OlConstants.h"
#include "sim/office/SimCommandBarControl.h"
#include "sim/windows/ScriptError.h"

namespace plexa::sim {

SimOffice::SimOffice(Faults& faults, SimClipboard& clipboard, std::function<int32_t()> majorVersion)
    : faults(faults), clipboard(clipboard), m_majorVersion(std::move(majorVersion)) {}

void SimOffice::Check(std::wstring_view op, std::wstring_view detail) const {
    faults.Check(op, detail);
}

void SimOffice::Register(const std::shared_ptr<SimCommandBarControl>& control) {
    std::erase_if(m_controls, [](const auto& weak) { return weak.expired(); });
    m_controls.push_back(control);
}

bool SimOffice::Click(const std::shared_ptr<SimCommandBarControl>& control) {
    if (control->IsDeleted()) {
        throw ScriptError(L"the control \"" + control->Describe() + L"\" is gone");
    }
    if (!control->IsVisible() || !control->IsEnabled()) {
        throw ScriptError(L"the control \"" + control->Describe() + L"\" is " +
                          (control->IsVisible() ? L"disabled" : L"hidden"));
    }
    if (control->ControlType() == 10) {
        throw ScriptError(L"the control \"" + control->Describe() + L"\" is a menu: open it");
    }
    std::vector<std::shared_ptr<SimCommandBarControl>> reached{control};
    const std::wstring tag = control->TagText();
    if (!tag.empty()) {
        for (const auto& weak : m_controls) {
            auto other = weak.lock();
            if (other && other != control && !other->IsDeleted() && other->TagText() == tag) {
                reached.push_back(other);
            }
        }
    }
    bool cancel = false;
    for (const auto& c : reached) {
        c->Click.Emit(control, cancel);
    }
    if (!cancel && control->BuiltInId() != 1) {
        m_builtInActions.push_back(control->BuiltInId());
    }
    return cancel;
}

HostError OfficeMethodFailed(const std::wstring& method, const std::wstring& object) {
    return HostError(E_FAIL, L"Method '" + method + L"' of object '" + object + L"' failed",
                     L"Microsoft Office");
}

HostError OfficeNotSupported() {
    return HostError(438, L"Object doesn't support this property or method", L"Microsoft Office");
}

HostError OfficeInvalidArgument() {
    return HostError(E_INVALIDARG, L"Invalid procedure call or argument", L"Microsoft Office");
}

}  // namespace plexa::sim
