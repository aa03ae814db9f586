// The answers of the ribbon's get... callbacks, per control id: labels, tips and pictures from
// the language table and the resources, visibility, enabling and pressed states from the window
// in the callback's context (a message window's mail, or a folder window). The explorer tab's
// recent-action button answers as the button of the command it repeats.
//
// These throw the host's errors; the callbacks of Connect turn them into the ribbon's defaults.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/Variant.h"
#include "separate/mReplacements.h"

namespace plexa {
class IPictureDisp;
class Services;
}  // namespace plexa

namespace plexa::mRibbonControls {

// The id of the explorer button the recent-action button stands for, by the cached action of
// the window's folder kind; "" for a code outside 0 to 4, logged under source with the number
// and the description given.
std::wstring CachedActionButton(Services& services,
                                const std::shared_ptr<AutomationObject>& context,
                                const wchar_t* source, const wchar_t* description);

// The placeholder an insert button ("btnFullName" ... "btnCompany") types; nothing for another
// id.
std::optional<mReplacements::Placeholder> InsertedPlaceholder(const std::wstring& id);

std::wstring GetControlLabel(Services& services, const std::wstring& id,
                             const std::shared_ptr<AutomationObject>& context);
std::wstring GetButtonScreentip(Services& services, const std::wstring& id,
                                const std::shared_ptr<AutomationObject>& context);
// The picture; nothing for a control without one.
std::shared_ptr<IPictureDisp> GetButtonImage(Services& services, const std::wstring& id,
                                             const std::shared_ptr<AutomationObject>& context);
bool IsControlVisible(Services& services, const std::wstring& id,
                      const std::shared_ptr<AutomationObject>& context);
bool IsControlEnabled(const std::wstring& id, const std::shared_ptr<AutomationObject>& context);
bool GetPressed(const std::wstring& id, const std::shared_ptr<AutomationObject>& context);
bool GetShowLabel(Services& services, const std::wstring& id);

}  // namespace plexa::mRibbonControls
