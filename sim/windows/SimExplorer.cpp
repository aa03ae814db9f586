#include "sim/windows/SimExplorer.h"

#include "host/outlook/OlConstants.h"
#include "sim/SimDesktop.h"

namespace plexa::sim {

namespace {
HostError WindowClosed() {
    return HostError(E_FAIL, L"The window has been closed.", L"Microsoft Outlook");
}
}  // namespace

SimExplorer::SimExplorer(SimDesktop& desktop, SimOutlook& outlook, FolderRecord& folder)
    : m_desktop(desktop), m_outlook(outlook), m_folder(&folder) {}

void SimExplorer::Live(const wchar_t* member) const {
    m_outlook.Check(std::wstring(L"Explorer.") + member, m_folder->Name());
    if (m_closed) {
        throw WindowClosed();
    }
}

std::shared_ptr<CommandBars> SimExplorer::GetCommandBars() {
    Live(L"CommandBars");
    return m_bars;
}

std::shared_ptr<MAPIFolder> SimExplorer::CurrentFolder() {
    Live(L"CurrentFolder");
    return m_outlook.Folder(*m_folder);
}

void SimExplorer::SetCurrentFolder(const std::shared_ptr<MAPIFolder>& folder) {
    Live(L"SetCurrentFolder");
    FolderRecord* record = SimOutlook::FolderOf(folder);
    if (record == nullptr) {
        throw HostError(E_INVALIDARG, L"The folder is not a folder of this session.",
                        L"Microsoft Outlook");
    }
    m_desktop.SwitchFolder(shared_from_this(), *record);
}

std::shared_ptr<Selection> SimExplorer::GetSelection() {
    Live(L"Selection");
    return std::make_shared<SimSelection>(m_outlook, SelectedItems());
}

void SimExplorer::Activate() {
    Live(L"Activate");
    m_desktop.Activate(shared_from_this());
}

std::wstring SimExplorer::WindowName() const {
    return L"Explorer '" + m_folder->Name() + L"'";
}

std::vector<std::shared_ptr<ItemRecord>> SimExplorer::SelectedItems() const {
    std::vector<std::shared_ptr<ItemRecord>> items;
    for (const auto& item : m_selection) {
        if (!item->IsRemoved() && item->Folder() == m_folder) {
            items.push_back(item);
        }
    }
    return items;
}

int32_t SimSelection::Count() {
    m_outlook.Check(L"Selection.Count");
    return static_cast<int32_t>(m_items.size());
}

std::shared_ptr<OutlookItem> SimSelection::Item(int32_t index) {
    m_outlook.Check(L"Selection.Item", std::to_wstring(index));
    if (index < 1 || index > static_cast<int32_t>(m_items.size())) {
        throw IndexError(index);
    }
    return m_outlook.Item(m_items[static_cast<std::size_t>(index - 1)]);
}

}  // namespace plexa::sim
