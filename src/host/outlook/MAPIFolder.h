// Folders, their item collections, views and search results.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/Signal.h"
#include "core/Variant.h"
#include "host/outlook/OlConstants.h"

namespace plexa {

class OutlookItem;
class Folders;
class Items;
class View;

// Every object of the host's model reports its class.
class OutlookObject : public AutomationObject {
public:
    // The object's OlObjectClass.
    virtual int32_t Class() = 0;
};

class MAPIFolder : public OutlookObject {
public:
    std::wstring TypeName() const override { return L"MAPIFolder"; }
    int32_t Class() override { return olFolder; }
    // The folder's display name.
    virtual std::wstring Name() = 0;
    // The folder above, or the NameSpace (Class 1) for a store's top folder. Throws HostError.
    virtual std::shared_ptr<OutlookObject> Parent() = 0;
    // The OlItemType of the items the folder holds by default.
    virtual int32_t DefaultItemType() = 0;
    // The folder's entry id and its store's id, as hex texts.
    virtual std::wstring EntryID() = 0;
    virtual std::wstring StoreID() = 0;
    // The subfolders, in the order the store keeps them.
    virtual std::shared_ptr<Folders> GetFolders() = 0;
    // A fresh collection of the folder's items (events fire on each collection held).
    virtual std::shared_ptr<Items> GetItems() = 0;
    // The view the folder shows. Throws HostError where views are not available.
    virtual std::shared_ptr<View> CurrentView() = 0;
};

class Folders : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"Folders"; }
    virtual int32_t Count() = 0;
    // 1-based. Throws HostError outside 1..Count.
    virtual std::shared_ptr<MAPIFolder> Item(int32_t index) = 0;
};

// A folder's items, or a restricted or sorted set of them.
class Items : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"Items"; }
    virtual int32_t Count() = 0;
    // 1-based, in the current order. Throws HostError outside 1..Count.
    virtual std::shared_ptr<OutlookItem> Item(int32_t index) = 0;
    // Iteration from the first item; each returns nothing past the last one.
    virtual std::shared_ptr<OutlookItem> GetFirst() = 0;
    virtual std::shared_ptr<OutlookItem> GetNext() = 0;
    // A new set holding the items that match a Jet filter such as
    // [MessageClass] = "IPM.DistList". Throws HostError for a filter the host cannot parse.
    virtual std::shared_ptr<Items> Restrict(const std::wstring& filter) = 0;
    // Orders this set by a property ("[Subject]"). Throws HostError for an unknown property.
    virtual void Sort(const std::wstring& property, bool descending) = 0;
    // Creates a new item of an OlItemType in the folder (unsaved).
    virtual std::shared_ptr<OutlookItem> Add(int32_t itemType) = 0;

    // Events of the folder's content, fired on every collection that is held.
    Signal<std::shared_ptr<OutlookItem>> ItemAdd;
    Signal<std::shared_ptr<OutlookItem>> ItemChange;
    Signal<> ItemRemove;
};

class View : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"View"; }
    // The view definition as XML text; setting it changes the view until Save keeps it.
    virtual std::wstring XML() = 0;
    virtual void SetXML(const std::wstring& xml) = 0;
    virtual void Save() = 0;
};

// The results of an advanced search.
class Results : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"Results"; }
    virtual int32_t Count() = 0;
    // 1-based. Throws HostError outside 1..Count.
    virtual std::shared_ptr<OutlookItem> Item(int32_t index) = 0;
    // Orders the results by a DASL property ("urn:schemas:mailheader:subject").
    virtual void Sort(const std::wstring& property, bool descending) = 0;
};

class Search : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"Search"; }
    virtual std::shared_ptr<Results> GetResults() = 0;
    virtual std::wstring Tag() = 0;
};

}  // namespace plexa
