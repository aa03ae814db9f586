// A simulated message window: the item it shows (through the handle of the item object it was
// opened for: the window edits that object's copy, and its current item shares it), its body
// editor, its editor type (Word from the 2007 client on, or when the desktop says the user edits
// mail in Word), its command bars. Faults: "Inspector." + the member.
#pragma once

#include <memory>
#include <string>

#include "host/outlook/Application.h"
#include "sim/outlook/SimOutlook.h"
#include "sim/windows/SimEditor.h"
#include "sim/windows/SimWindow.h"

namespace plexa::sim {

class SimDesktop;

class SimInspector : public Inspector,
                     public SimWindow,
                     public std::enable_shared_from_this<SimInspector> {
public:
    SimInspector(SimDesktop& desktop, SimOutlook& outlook, std::shared_ptr<ItemHandle> item,
                 int32_t editorType);

    std::shared_ptr<CommandBars> GetCommandBars() override;
    std::shared_ptr<OutlookItem> CurrentItem() override;
    int32_t EditorType() override;
    bool IsWordMail() override;
    void Close(int32_t saveMode) override;

    std::wstring WindowName() const override;
    std::shared_ptr<AutomationObject> HostObject() override { return shared_from_this(); }
    void RaiseActivate() override { OnActivate.Emit(); }

    // The item as the window shows it (with the changes not saved yet).
    const std::shared_ptr<ItemRecord>& Record() const { return m_item->Edit(); }
    // The item shown (SimWindow::Handle is the window's own handle).
    const std::shared_ptr<ItemHandle>& ShownItem() const { return m_item; }
    SimEditor& Editor() { return m_editor; }
    int32_t EditorKind() const { return m_editorType; }

private:
    void Live(const wchar_t* member) const;

    SimDesktop& m_desktop;
    SimOutlook& m_outlook;
    std::shared_ptr<ItemHandle> m_item;
    SimEditor m_editor;
    int32_t m_editorType;
};

}  // namespace plexa::sim
