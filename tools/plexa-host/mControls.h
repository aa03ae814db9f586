// Controls of the simulated client's windows as a scenario names them, and what a user sees of
// them: a command-bar control by a path of captions, "#id" or "tag=text" steps (the first step is
// looked for anywhere, each further one inside the menu before it, as sim::SimDesktop::Click
// finds it); a ribbon control by its id or label, read from the ribbon's state text; and a
// language text cut at its placeholders, for matching a message box's text.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sim/office/SimCommandBar.h"

namespace plexa::host::mControls {

struct ControlState {
    bool found = false;
    bool visible = false;  // it, and every bar and menu it lies in
    bool enabled = false;  // it, and every menu it lies in
    bool pressed = false;
    // What a failure names: "popup \"Plexa\" / button \"To\"".
    std::wstring what;
};

// A caption as steps compare it: no "&", no trailing "...", no surrounding blanks.
std::wstring PlainCaption(const std::wstring& caption);

// The control at the end of a path in the bars (each bar's own visibility counts, except for a
// context menu, which is open when it is given); found is false when there is none.
ControlState FindInBars(const std::vector<std::shared_ptr<sim::SimCommandBar>>& bars,
                        const std::wstring& path, bool contextMenu);

// A ribbon control by id or label (letter case ignored for the label) in a ribbon's state text
// (sim::SimRibbonHost::StateText): a control inside a hidden group or tab is not visible.
ControlState FindInRibbonText(const std::wstring& stateText, const std::wstring& control);

// The pieces of a language text between its placeholders (%s, %d and the other printf
// conversions; %% is one percent sign), empty pieces left out.
std::vector<std::wstring> PiecesAroundPlaceholders(const std::wstring& source);
// Whether haystack holds every piece, in order, letter case ignored.
bool ContainsInOrder(const std::wstring& haystack, const std::vector<std::wstring>& pieces);

}  // namespace plexa::host::mControls
