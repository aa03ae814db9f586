#include "sim/outlook/SimApplication.h"

#include "core/Text.h"
#include "host/outlook/OlConstants.h"
#include "sim/outlook/SimFolder.h"

namespace plexa::sim {

namespace {

HostError NotFound() {
    return HostError(MAPI_E_NOT_FOUND, L"The operation failed. An object could not be found.",
                     L"Microsoft Outlook");
}

}  // namespace

SimNameSpace::SimNameSpace(SimOutlook& outlook) : m_outlook(outlook) {}

std::shared_ptr<MAPIFolder> SimNameSpace::GetDefaultFolder(int32_t folderType) {
    m_outlook.Check(L"NameSpace.GetDefaultFolder", std::to_wstring(folderType));
    FolderRecord* folder = m_outlook.session.DefaultFolder(folderType);
    if (folder == nullptr) {
        throw HostError(E_FAIL, L"The attempted operation failed. An object could not be found.",
                        L"Microsoft Outlook");
    }
    return m_outlook.Folder(*folder);
}

std::shared_ptr<OutlookItem> SimNameSpace::GetItemFromID(const std::wstring& entryID,
                                                         const std::wstring& storeID) {
    m_outlook.Check(L"NameSpace.GetItemFromID", entryID);
    if (!storeID.empty() && m_outlook.session.FindStore(storeID) == nullptr) {
        throw NotFound();
    }
    // Without a store id the client looks in the default store only.
    const StoreRecord* store = m_outlook.session.DefaultStore();
    auto record = m_outlook.session.FindItem(
        entryID, storeID.empty() && store != nullptr ? store->StoreID() : storeID);
    if (!record) {
        throw NotFound();
    }
    return m_outlook.Item(record);
}

std::shared_ptr<MAPIFolder> SimNameSpace::GetFolderFromID(const std::wstring& entryID,
                                                          const std::wstring& storeID) {
    m_outlook.Check(L"NameSpace.GetFolderFromID", entryID);
    FolderRecord* folder = m_outlook.session.FindFolder(entryID, storeID);
    if (folder == nullptr) {
        throw NotFound();
    }
    return m_outlook.Folder(*folder);
}

std::shared_ptr<Folders> SimNameSpace::GetFolders() {
    m_outlook.Check(L"NameSpace.Folders");
    std::vector<FolderRecord*> tops;
    for (const auto& store : m_outlook.session.Stores()) {
        tops.push_back(store->TopFolder());
    }
    return std::make_shared<SimFolders>(m_outlook, std::move(tops));
}

std::shared_ptr<MAPIFolder> SimNameSpace::PickFolder() {
    m_outlook.Check(L"NameSpace.PickFolder");
    FolderRecord* folder = m_outlook.pickFolder ? m_outlook.pickFolder() : nullptr;
    return folder == nullptr ? nullptr : m_outlook.Folder(*folder);
}

std::shared_ptr<AutomationObject> SimNameSpace::MAPIOBJECT() {
    m_outlook.Check(L"NameSpace.MAPIOBJECT");
    return std::make_shared<SimMapiObject>(m_outlook.session);
}

int32_t SimExplorers::Count() {
    m_outlook.Check(L"Explorers.Count");
    return static_cast<int32_t>(items.size());
}

std::shared_ptr<Explorer> SimExplorers::Item(int32_t index) {
    m_outlook.Check(L"Explorers.Item", std::to_wstring(index));
    if (index < 1 || index > static_cast<int32_t>(items.size())) {
        throw IndexError(index);
    }
    return items[static_cast<size_t>(index - 1)];
}

int32_t SimInspectors::Count() {
    m_outlook.Check(L"Inspectors.Count");
    return static_cast<int32_t>(items.size());
}

std::shared_ptr<Inspector> SimInspectors::Item(int32_t index) {
    m_outlook.Check(L"Inspectors.Item", std::to_wstring(index));
    if (index < 1 || index > static_cast<int32_t>(items.size())) {
        throw IndexError(index);
    }
    return items[static_cast<size_t>(index - 1)];
}

SimApplication::SimApplication(SimOutlook& outlook)
    : explorers(std::make_shared<SimExplorers>(outlook)),
      inspectors(std::make_shared<SimInspectors>(outlook)),
      m_outlook(outlook) {
    m_outlook.application = this;
}

SimApplication::~SimApplication() {
    if (!m_hostGone && m_outlook.application == this) {
        m_outlook.application = nullptr;
    }
}

std::shared_ptr<NameSpace> SimApplication::Session() {
    m_outlook.Check(L"Application.Session");
    return m_outlook.Namespace();
}

std::wstring SimApplication::Version() {
    m_outlook.Check(L"Application.Version");
    static const struct {
        int32_t major;
        const wchar_t* build;
    } kBuilds[] = {{9, L"9.0.0.2711"},
                   {10, L"10.0.0.2627"},
                   {11, L"11.0.5608"},
                   {12, L"12.0.0.6423"},
                   {14, L"14.0.0.4760"}};
    for (const auto& b : kBuilds) {
        if (b.major == m_outlook.session.outlookMajorVersion) {
            return b.build;
        }
    }
    return std::to_wstring(m_outlook.session.outlookMajorVersion) + L".0.0.0";
}

std::shared_ptr<Explorer> SimApplication::ActiveExplorer() {
    m_outlook.Check(L"Application.ActiveExplorer");
    return m_outlook.activeExplorer ? m_outlook.activeExplorer() : nullptr;
}

std::shared_ptr<OutlookItem> SimApplication::CreateItem(int32_t itemType) {
    m_outlook.Check(L"Application.CreateItem", std::to_wstring(itemType));
    static const int32_t kClasses[] = {olMail,    olAppointment, olContact, olTask,
                                       olJournal, olNote,        olPost,    olDistributionList};
    if (itemType < olMailItem || itemType > olDistributionListItem) {
        throw HostError(E_INVALIDARG, L"The item type is not valid.", L"Microsoft Outlook");
    }
    return m_outlook.Item(m_outlook.session.NewItem(kClasses[itemType]));
}

std::shared_ptr<NameSpace> SimApplication::GetNamespace(const std::wstring& type) {
    m_outlook.Check(L"Application.GetNamespace", type);
    if (!text::EqualsNoCase(type, L"MAPI")) {
        throw HostError(E_INVALIDARG, L"The namespace \"" + type + L"\" does not exist.",
                        L"Microsoft Outlook");
    }
    return m_outlook.Namespace();
}

std::shared_ptr<Explorers> SimApplication::GetExplorers() {
    m_outlook.Check(L"Application.Explorers");
    return explorers;
}

std::shared_ptr<Inspectors> SimApplication::GetInspectors() {
    m_outlook.Check(L"Application.Inspectors");
    return inspectors;
}

}  // namespace plexa::sim
