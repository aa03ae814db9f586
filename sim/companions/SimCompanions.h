// The simulated companion components: the synchronous advanced search over the simulated store,
// and the context-menu event source, whose events the window simulation raises.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/companions/Companions.h"
#include "sim/outlook/SimOutlook.h"

namespace plexa::sim {

class SimContextMenuEvents : public ContextMenuEvents {
public:
    explicit SimContextMenuEvents(SimOutlook& outlook) : m_outlook(outlook) {}
    void Init(const std::shared_ptr<Application>& application) override;
    // The application it was initialised with; nothing before Init.
    const std::shared_ptr<Application>& InitialisedWith() const { return m_application; }

private:
    SimOutlook& m_outlook;
    std::shared_ptr<Application> m_application;
};

class SimCompanions : public CompanionLibrary {
public:
    explicit SimCompanions(SimOutlook& outlook) : m_outlook(outlook) {}
    // Creation fails like a missing component with a "Companion.Create" fault.
    std::shared_ptr<CAdvSearch> CreateAdvSearch() override;
    std::shared_ptr<ContextMenuEvents> CreateContextMenuEvents() override;
    // The last event source created, for the window simulation to raise its events.
    std::shared_ptr<SimContextMenuEvents> contextMenuEvents;

private:
    SimOutlook& m_outlook;
};

// Finds the folders of a search scope: one or more quoted folder paths, comma-separated, each
// "\" + the names from a store's top folder down ("'\Personal Folders\Contacts'"). Throws
// HostError for a malformed scope or an unknown folder.
std::vector<FolderRecord*> ResolveScope(const SimSession& session, const std::wstring& scope);

}  // namespace plexa::sim
