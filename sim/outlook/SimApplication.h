// The simulated application, its MAPI namespace, and the (for now empty) window collections.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/outlook/Application.h"
#include "sim/outlook/SimOutlook.h"

namespace plexa::sim {

// The session's MAPI object as MAPIOBJECT hands it out; the safe-access simulation reaches the
// session through it.
class SimMapiObject : public AutomationObject {
public:
    explicit SimMapiObject(SimSession& session) : session(session) {}
    std::wstring TypeName() const override { return L"Unknown"; }
    SimSession& session;
};

class SimNameSpace : public NameSpace {
public:
    explicit SimNameSpace(SimOutlook& outlook);
    std::shared_ptr<MAPIFolder> GetDefaultFolder(int32_t folderType) override;
    std::shared_ptr<OutlookItem> GetItemFromID(const std::wstring& entryID,
                                               const std::wstring& storeID = L"") override;
    std::shared_ptr<MAPIFolder> GetFolderFromID(const std::wstring& entryID,
                                                const std::wstring& storeID = L"") override;
    std::shared_ptr<Folders> GetFolders() override;
    std::shared_ptr<MAPIFolder> PickFolder() override;
    std::shared_ptr<AutomationObject> MAPIOBJECT() override;

private:
    SimOutlook& m_outlook;
};

// The open folder windows; the window simulation adds to it.
class SimExplorers : public Explorers {
public:
    explicit SimExplorers(SimOutlook& outlook) : m_outlook(outlook) {}
    int32_t Count() override;
    std::shared_ptr<Explorer> Item(int32_t index) override;
    std::vector<std::shared_ptr<Explorer>> items;

private:
    SimOutlook& m_outlook;
};

// The open message windows; the window simulation adds to it.
class SimInspectors : public Inspectors {
public:
    explicit SimInspectors(SimOutlook& outlook) : m_outlook(outlook) {}
    int32_t Count() override;
    std::shared_ptr<Inspector> Item(int32_t index) override;
    std::vector<std::shared_ptr<Inspector>> items;

private:
    SimOutlook& m_outlook;
};

class SimApplication : public Application {
public:
    explicit SimApplication(SimOutlook& outlook);
    ~SimApplication() override;
    std::shared_ptr<NameSpace> Session() override;
    std::wstring Version() override;
    std::shared_ptr<Explorer> ActiveExplorer() override;
    std::shared_ptr<OutlookItem> CreateItem(int32_t itemType) override;
    std::shared_ptr<NameSpace> GetNamespace(const std::wstring& type) override;
    std::shared_ptr<Explorers> GetExplorers() override;
    std::shared_ptr<Inspectors> GetInspectors() override;

    // Told by the simulated host as it goes: the application object may outlive it (the add-in
    // holds it until it is released), but must not reach into it any more.
    void HostGone() { m_hostGone = true; }

    // The collections the window simulation fills.
    const std::shared_ptr<SimExplorers> explorers;
    const std::shared_ptr<SimInspectors> inspectors;

private:
    SimOutlook& m_outlook;
    bool m_hostGone = false;
};

}  // namespace plexa::sim
