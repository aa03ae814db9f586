// The actions behind the add-in's commands in folder windows.
//
// Only the debug window's action is here so far; the message, list and send-now actions join
// with the command bar and ribbon that call them.
#pragma once

namespace plexa::mExplorer {

// Shows the developer's debug window, modeless; a window already up comes to the front.
void ShowDebugForm();

}  // namespace plexa::mExplorer
