// The product's companion components, known only by what the add-in asks of them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/Signal.h"
#include "core/Variant.h"

namespace plexa {

class Application;
class CommandBar;
class MAPIFolder;
class Search;
class Selection;

// "PlexaAdvSearch.CAdvSearch": runs the host's advanced search and waits for it.
class CAdvSearch : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"CAdvSearch"; }
    // Searches the scope ("'\Personal Folders\Contacts'") with a DASL filter; the returned
    // search's results are complete. Throws HostError when the search cannot run or finish.
    virtual std::shared_ptr<Search> SyncSearch(const std::shared_ptr<Application>& application,
                                               const std::wstring& scope,
                                               const std::wstring& filter, bool searchSubFolders,
                                               const std::wstring& tag) = 0;
};

// The context-menu event source of the 2007 host.
class ContextMenuEvents : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"O2007EventsPlexaLib.Events"; }
    virtual void Init(const std::shared_ptr<Application>& application) = 0;

    Signal<std::shared_ptr<CommandBar>, std::shared_ptr<Selection>> OnItemContextMenuDisplay;
    Signal<std::shared_ptr<CommandBar>, std::shared_ptr<MAPIFolder>> OnFolderContextMenuDisplay;
    // 0 item menu, 2 folder menu.
    Signal<int32_t> OnContextMenuClose;
};

// Creates the companion objects. Throws HostError when a component is not installed.
class CompanionLibrary {
public:
    virtual ~CompanionLibrary() = default;
    virtual std::shared_ptr<CAdvSearch> CreateAdvSearch() = 0;
    virtual std::shared_ptr<ContextMenuEvents> CreateContextMenuEvents() = 0;
};

}  // namespace plexa
