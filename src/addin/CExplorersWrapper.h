// The list of explorer wrappers: follows the host's Explorers collection for new windows and
// turns the wrappers' events into four events of its own for the connection object.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "addin/CExplorerWrapper.h"
#include "addin/WithEvents.h"
#include "core/Signal.h"
#include "core/Variant.h"
#include "host/outlook/Application.h"

namespace plexa {

class Connect;

class CExplorersWrapper : public std::enable_shared_from_this<CExplorersWrapper> {
public:
    explicit CExplorersWrapper(Connect& connect);
    ~CExplorersWrapper();
    CExplorersWrapper(const CExplorersWrapper&) = delete;
    CExplorersWrapper& operator=(const CExplorersWrapper&) = delete;

    // The wrappers tracked, waiting ones included. Throws HostError (91) once the list is
    // dropped.
    int32_t Count() const;
    // 1-based. Throws HostError outside 1..Count or once the list is dropped.
    std::shared_ptr<CExplorerWrapper> Item(int32_t index) const;

    // Hooks the collection and tracks (and announces) every window it holds.
    void Init(const std::shared_ptr<Explorers>& explorers);
    // Releases every wrapper. Waiting mode keeps listening for new windows with an empty list;
    // full mode also unhooks the collection and drops the list. Never throws.
    void Done(bool bFullMode);
    // What a wrapper reports: "Close", "OnExplorer", "SelectionChange" or "FolderSwitch"
    // (letter case ignored).
    void EventFromExplorer(const std::wstring& eventName, const std::vector<Variant>& args);

    Signal<> OnCloseAllExplorers;
    // wrapper, bFirstExplorer, bNewExplorer
    Signal<std::shared_ptr<CExplorerWrapper>, bool, bool> OnExplorer;
    Signal<std::shared_ptr<CExplorerWrapper>> OnExplorerSelectionChange;
    Signal<std::shared_ptr<CExplorerWrapper>> OnExplorerFolderSwitch;

private:
    void m_oExplorers_NewExplorer(const std::shared_ptr<Explorer>& explorer);

    Connect& m_connect;
    WithEvents<Explorers> m_oExplorers;
    std::optional<std::vector<std::shared_ptr<CExplorerWrapper>>> m_list;
};

}  // namespace plexa
