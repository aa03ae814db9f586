// A simulated folder window: the folder it shows, the items selected there (in selection order),
// its command bars. Folder switches and selections go through the desktop, which raises the
// events in the host's order. Faults: "Explorer." + the member.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/outlook/Application.h"
#include "sim/outlook/SimOutlook.h"
#include "sim/windows/SimWindow.h"

namespace plexa::sim {

class SimDesktop;

class SimExplorer : public Explorer,
                    public SimWindow,
                    public std::enable_shared_from_this<SimExplorer> {
public:
    SimExplorer(SimDesktop& desktop, SimOutlook& outlook, FolderRecord& folder);

    std::shared_ptr<CommandBars> GetCommandBars() override;
    std::shared_ptr<MAPIFolder> CurrentFolder() override;
    void SetCurrentFolder(const std::shared_ptr<MAPIFolder>& folder) override;
    std::shared_ptr<Selection> GetSelection() override;
    void Activate() override;

    std::wstring WindowName() const override;
    std::shared_ptr<AutomationObject> HostObject() override { return shared_from_this(); }
    void RaiseActivate() override { OnActivate.Emit(); }

    FolderRecord& Folder() const { return *m_folder; }
    // The selected items that still exist, in selection order.
    std::vector<std::shared_ptr<ItemRecord>> SelectedItems() const;

private:
    friend class SimDesktop;
    void Live(const wchar_t* member) const;

    SimDesktop& m_desktop;
    SimOutlook& m_outlook;
    FolderRecord* m_folder;
    std::vector<std::shared_ptr<ItemRecord>> m_selection;
};

// A snapshot of a folder window's selection, as the host hands one out.
class SimSelection : public Selection {
public:
    SimSelection(SimOutlook& outlook, std::vector<std::shared_ptr<ItemRecord>> items)
        : m_outlook(outlook), m_items(std::move(items)) {}
    int32_t Count() override;
    std::shared_ptr<OutlookItem> Item(int32_t index) override;

private:
    SimOutlook& m_outlook;
    std::vector<std::shared_ptr<ItemRecord>> m_items;
};

}  // namespace plexa::sim
