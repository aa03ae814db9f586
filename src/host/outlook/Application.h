// The running mail client: the application, its MAPI namespace, and its folder and message
// windows.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/Signal.h"
#include "host/outlook/MAPIFolder.h"
#include "host/outlook/OutlookItem.h"

namespace plexa {

class CommandBars;
class Explorer;
class Explorers;
class Inspector;
class Inspectors;
class NameSpace;

class Application : public OutlookObject {
public:
    std::wstring TypeName() const override { return L"Application"; }
    int32_t Class() override { return 0; }  // olApplication
    virtual std::shared_ptr<NameSpace> Session() = 0;
    // The version text, such as "12.0.0.6423".
    virtual std::wstring Version() = 0;
    // The folder window the user works in, or nothing when there is none.
    virtual std::shared_ptr<Explorer> ActiveExplorer() = 0;
    // A new unsaved item of an OlItemType (0 mail, 7 distribution list).
    virtual std::shared_ptr<OutlookItem> CreateItem(int32_t itemType) = 0;
    // The namespace of that type; only "MAPI" exists. Throws HostError for another type.
    virtual std::shared_ptr<NameSpace> GetNamespace(const std::wstring& type) = 0;
    virtual std::shared_ptr<Explorers> GetExplorers() = 0;
    virtual std::shared_ptr<Inspectors> GetInspectors() = 0;

    // Raised for every item about to be sent; setting the flag stops the send.
    Signal<std::shared_ptr<OutlookItem>, bool&> ItemSend;
};

class NameSpace : public OutlookObject {
public:
    std::wstring TypeName() const override { return L"NameSpace"; }
    int32_t Class() override { return olNamespace; }
    // A default folder of the default store (OlDefaultFolders). Throws HostError when the
    // store has no such folder.
    virtual std::shared_ptr<MAPIFolder> GetDefaultFolder(int32_t folderType) = 0;
    // Opens an item by entry id, in the default store or in the given one (an item of another
    // store needs its store id). Throws HostError when it does not exist (also once it was
    // moved elsewhere, deleted for good or sent).
    virtual std::shared_ptr<OutlookItem> GetItemFromID(const std::wstring& entryID,
                                                       const std::wstring& storeID = L"") = 0;
    // Opens a folder by entry id. Throws HostError when it does not exist.
    virtual std::shared_ptr<MAPIFolder> GetFolderFromID(const std::wstring& entryID,
                                                        const std::wstring& storeID = L"") = 0;
    // The top folder of every store.
    virtual std::shared_ptr<Folders> GetFolders() = 0;
    // Asks the user for a folder; nothing when the user cancels.
    virtual std::shared_ptr<MAPIFolder> PickFolder() = 0;
    // The session's MAPI object, handed to the safe-access library's session.
    virtual std::shared_ptr<AutomationObject> MAPIOBJECT() = 0;
};

class Selection : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"Selection"; }
    virtual int32_t Count() = 0;
    // 1-based, in selection order. Throws HostError outside 1..Count.
    virtual std::shared_ptr<OutlookItem> Item(int32_t index) = 0;
};

class Explorer : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"Explorer"; }
    virtual std::shared_ptr<CommandBars> GetCommandBars() = 0;
    virtual std::shared_ptr<MAPIFolder> CurrentFolder() = 0;
    // Shows another folder; raises FolderSwitch. Throws HostError for a closed window.
    virtual void SetCurrentFolder(const std::shared_ptr<MAPIFolder>& folder) = 0;
    virtual std::shared_ptr<Selection> GetSelection() = 0;
    // Brings the window to the front; raises Activate.
    virtual void Activate() = 0;

    Signal<> OnActivate;
    Signal<> OnClose;
    Signal<> FolderSwitch;
    Signal<> SelectionChange;
};

class Explorers : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"Explorers"; }
    virtual int32_t Count() = 0;
    // 1-based. Throws HostError outside 1..Count.
    virtual std::shared_ptr<Explorer> Item(int32_t index) = 0;

    Signal<std::shared_ptr<Explorer>> NewExplorer;
};

class Inspector : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"Inspector"; }
    virtual std::shared_ptr<CommandBars> GetCommandBars() = 0;
    // The item the window shows. Throws HostError once the window has closed.
    virtual std::shared_ptr<OutlookItem> CurrentItem() = 0;
    // OlEditorType: 4 when the message is edited in Word.
    virtual int32_t EditorType() = 0;
    virtual bool IsWordMail() = 0;
    // Closes the window with an OlInspectorClose mode (1 discards without asking).
    virtual void Close(int32_t saveMode) = 0;

    Signal<> OnActivate;
    Signal<> OnClose;
};

class Inspectors : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"Inspectors"; }
    virtual int32_t Count() = 0;
    // 1-based. Throws HostError outside 1..Count.
    virtual std::shared_ptr<Inspector> Item(int32_t index) = 0;

    Signal<std::shared_ptr<Inspector>> NewInspector;
};

}  // namespace plexa
