// What the simulated host objects share: the session they are views over, the fault checks,
// the application whose ItemSend a send raises, and the simulation's hooks for what needs a
// user or a window (PickFolder, Display, the active folder window, the question whether to save
// changes). Every host object is a thin, fresh view made here, as the real client hands out a
// new object for every call; an item object changes its own copy of the item until it saves,
// and the item's events live on the stored record, so every object of one item raises them.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "host/outlook/Application.h"
#include "host/outlook/MAPIFolder.h"
#include "host/outlook/OutlookItem.h"
#include "sim/outlook/ItemHandle.h"
#include "sim/store/SimSession.h"

namespace plexa::sim {

// Implemented by the simulated items: the stored record behind the object, and what the object
// works on (the stored record and its own copy).
class SimItemAccess {
public:
    virtual ~SimItemAccess() = default;
    virtual const std::shared_ptr<ItemRecord>& Record() const = 0;
    virtual const std::shared_ptr<ItemHandle>& Handle() const = 0;
};

// Implemented by the simulated folders: the record behind the object.
class SimFolderAccess {
public:
    virtual ~SimFolderAccess() = default;
    virtual FolderRecord& FolderRec() const = 0;
};

class SimOutlook {
public:
    explicit SimOutlook(SimSession& session);
    SimOutlook(const SimOutlook&) = delete;
    SimOutlook& operator=(const SimOutlook&) = delete;

    SimSession& session;

    // Simulation hooks. PickFolder's answer (nothing: the user cancelled, the default).
    std::function<FolderRecord*()> pickFolder;
    // Opens an item's window; without it Display only checks the item.
    std::function<void(const std::shared_ptr<OutlookItem>&)> display;
    // The active folder window; without it there is none.
    std::function<std::shared_ptr<Explorer>()> activeExplorer;
    // Asks the user "Do you want to save changes?" (mb::IdYes, IdNo or IdCancel); without it no
    // one can answer, and closing an item with the question fails.
    std::function<int32_t()> askToSaveChanges;

    // The application a send raises ItemSend on (set by the application object).
    Application* application = nullptr;

    // The fault check every simulated operation makes first.
    void Check(std::wstring_view op, std::wstring_view detail = {}) const;

    // The answer to "Do you want to save changes?".
    int32_t AskToSaveChanges() const;

    // New host objects over records: an item object with a copy of its own, or one sharing
    // another's (a message window's current item).
    std::shared_ptr<OutlookItem> Item(const std::shared_ptr<ItemRecord>& record);
    std::shared_ptr<OutlookItem> Item(const std::shared_ptr<ItemHandle>& handle);
    std::shared_ptr<MAPIFolder> Folder(FolderRecord& folder);
    std::shared_ptr<NameSpace> Namespace();

    // The record behind a host object of this simulation; nullptr for any other object.
    static std::shared_ptr<ItemRecord> RecordOf(const std::shared_ptr<AutomationObject>& object);
    static std::shared_ptr<ItemHandle> HandleOf(const std::shared_ptr<AutomationObject>& object);
    static FolderRecord* FolderOf(const std::shared_ptr<AutomationObject>& object);
};

// The host's error for an object whose item is gone.
HostError ItemDeletedError();
// The host's error for an index outside a collection.
HostError IndexError(int32_t index);

}  // namespace plexa::sim
