// The command bars of one window: the host's built-in bars and those the add-in adds. OnUpdate
// is raised by the window simulation where the host raises it. Closing the window kills every
// bar and control (temporary ones vanish; non-temporary custom ones are recorded in
// SimOffice::leftovers, since the host would keep them). Faults: "CommandBars.Count",
// "CommandBars.Item", "CommandBars.Add".
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/office/CommandBars.h"
#include "sim/office/SimCommandBar.h"
#include "sim/office/SimOffice.h"

namespace plexa::sim {

class SimCommandBars : public CommandBars, public std::enable_shared_from_this<SimCommandBars> {
public:
    // window: how the window is named in leftovers ("Explorer 'Inbox'").
    SimCommandBars(SimOffice& office, std::wstring window);

    int32_t Count() override;
    std::shared_ptr<CommandBar> Item(const std::wstring& name) override;
    std::shared_ptr<CommandBar> Add(const std::wstring& name, int32_t position,
                                    bool temporary) override;

    // Adds one of the host's own bars.
    std::shared_ptr<SimCommandBar> AddBuiltInBar(const std::wstring& name, int32_t barType,
                                                 bool visible);
    // The bar of that name (letter case ignored), without faults; nullptr when none.
    std::shared_ptr<SimCommandBar> Find(const std::wstring& name) const;
    const std::vector<std::shared_ptr<SimCommandBar>>& Bars() const { return m_bars; }
    void RemoveBar(const SimCommandBar& bar);
    // The window closes.
    void Close();
    bool IsClosed() const { return m_closed; }
    SimOffice& Office() const { return m_office; }

private:
    SimOffice& m_office;
    std::wstring m_window;
    std::vector<std::shared_ptr<SimCommandBar>> m_bars;
    bool m_closed = false;
    int m_unnamed = 0;
};

}  // namespace plexa::sim
