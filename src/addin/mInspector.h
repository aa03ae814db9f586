// The message window's commands that reach beyond the window: showing Drafts in the folder
// window, and typing text into the editor in front.
#pragma once

#include <string>

namespace plexa {
class Connect;
class Services;
}  // namespace plexa

namespace plexa::mInspector {

// Makes the active folder window show the default store's Drafts folder, and brings it to the
// front a moment later (the hidden form's tmrActivateExplorer), once the message window has let
// go of the focus. Throws HostError when the client cannot answer.
void OpenDraftsFolder(Connect& connect);

// Types the text into the focused window as it is: the characters the keystroke simulator
// reads as commands ("()+^%~[]{}") are sent in braces. Returns once the keys are processed.
// Throws HostError when the keystrokes cannot be sent.
void SendKeysText(Services& services, const std::wstring& text);

// The key text that types text literally.
std::wstring EscapeKeys(const std::wstring& text);

}  // namespace plexa::mInspector
