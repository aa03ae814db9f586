// Button pictures and icons from the add-in's own resources, turned into the pictures the host's
// command bars and ribbon take.
#pragma once

#include <cstdint>
#include <memory>

#include "core/Variant.h"
#include "platform/IResources.h"

namespace plexa {
class CommandBarControl;
class Services;
}  // namespace plexa

namespace plexa::mIcons {

// Gives a command-bar button its face and mask, bitmap resources given by number (101) or name
// ("BTN_DRAFTS"). On Outlook 2000 or older, or when useClipboard is set, the face goes onto the
// clipboard and the button pastes it (the user's clipboard is kept and put back); otherwise the
// button's Picture and Mask are set. Never fails: a button whose picture cannot be set works on
// without one, and the reason is logged as a warning.
void SetButtonFace(Services& services, const std::shared_ptr<CommandBarControl>& button,
                   const Variant& face, const Variant& mask, bool useClipboard = false);

// The icon resource (a name, or a number) as a picture at width by height pixels; with either 0,
// at the system's icon size. Loaded as a shared icon when asked. Throws HostError "LoadImage
// failed, LastError=0x..." when the icon cannot be loaded, and the error of IconToPicture.
std::shared_ptr<IPictureDisp> LoadIconPicture(Services& services, const Variant& name,
                                              int32_t width = 0, int32_t height = 0,
                                              bool shared = false);

// An icon picture over the handle, which the picture owns from then on. Throws HostError
// "OleCreatePictureIndirect failed, hr=0x..." when the picture service fails.
std::shared_ptr<IPictureDisp> IconToPicture(Services& services, ImageHandle hIcon);

// A ribbon button's icon, for the ribbon's image callback. Before Outlook 2010 the icon at its
// default size through the resource-picture loader (the ribbon scales it); from 2010 on at
// exactly size by size pixels (16 or 32, as the control is drawn), so that it is drawn unscaled.
// Errors reach the caller.
std::shared_ptr<IPictureDisp> LoadRibbonIcon(Services& services, const Variant& name, int32_t size);

}  // namespace plexa::mIcons
