// The eight standard buttons of the folder-window commands, the same on every command surface:
// a temporary custom button (icon and caption) added at the end of a popup's menu, with its
// localised caption and tooltip, its picture and mask, and the given tag when there is one.
// The caller keeps the button to receive its Click.
#pragma once

#include <memory>
#include <string>

namespace plexa {

class CommandBarControl;
class Services;

namespace mExplorer {

using ButtonPtr = std::shared_ptr<CommandBarControl>;

// Each throws HostError when the host refuses the button; a picture that cannot be set is not
// an error (the button works on without one).
ButtonPtr AddBtnTO(Services& services, const ButtonPtr& popup, const std::wstring& tag);
ButtonPtr AddBtnCC(Services& services, const ButtonPtr& popup, const std::wstring& tag);
ButtonPtr AddBtnBCC(Services& services, const ButtonPtr& popup, const std::wstring& tag);
ButtonPtr AddBtnNewDL(Services& services, const ButtonPtr& popup, const std::wstring& tag);
ButtonPtr AddBtnNewDLFromFolder(Services& services, const ButtonPtr& popup,
                                const std::wstring& tag);
ButtonPtr AddBtnExistingDL(Services& services, const ButtonPtr& popup, const std::wstring& tag);
ButtonPtr AddBtnOptions(Services& services, const ButtonPtr& popup, const std::wstring& tag);
ButtonPtr AddBtnAbout(Services& services, const ButtonPtr& popup, const std::wstring& tag);
ButtonPtr AddBtnLastReport(Services& services, const ButtonPtr& popup, const std::wstring& tag);

}  // namespace mExplorer
}  // namespace plexa
