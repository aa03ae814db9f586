// The simulated folders, folder lists and views.
#pragma once

#include <memory>
#include <vector>

#include "host/outlook/MAPIFolder.h"
#include "sim/outlook/SimOutlook.h"

namespace plexa::sim {

class SimFolder : public MAPIFolder, public SimFolderAccess {
public:
    SimFolder(SimOutlook& outlook, FolderRecord& folder);
    FolderRecord& FolderRec() const override { return m_folder; }

    std::wstring Name() override;
    std::shared_ptr<OutlookObject> Parent() override;
    int32_t DefaultItemType() override;
    std::wstring EntryID() override;
    std::wstring StoreID() override;
    std::shared_ptr<Folders> GetFolders() override;
    std::shared_ptr<Items> GetItems() override;
    std::shared_ptr<View> CurrentView() override;

private:
    SimOutlook& m_outlook;
    FolderRecord& m_folder;
};

class SimFolders : public Folders {
public:
    SimFolders(SimOutlook& outlook, std::vector<FolderRecord*> folders);
    int32_t Count() override;
    std::shared_ptr<MAPIFolder> Item(int32_t index) override;

private:
    SimOutlook& m_outlook;
    std::vector<FolderRecord*> m_folders;
};

class SimView : public View {
public:
    SimView(SimOutlook& outlook, FolderRecord& folder);
    std::wstring XML() override;
    void SetXML(const std::wstring& xml) override;
    void Save() override;

    // The view a folder shows before anyone changed it: the columns the client shows for the
    // folder's kind (Drafts, Outbox and Sent Items without a received-date column).
    static std::wstring DefaultXml(const FolderRecord& folder);

private:
    SimOutlook& m_outlook;
    FolderRecord& m_folder;
};

}  // namespace plexa::sim
