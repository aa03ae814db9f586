// The simulated ribbon host. It asks the connected add-in (an IRibbonExtensibility) for the
// mark-up of a ribbon id once, when the first window with that ribbon is shown; validates it
// against the custom-UI schema (a document that fails is ignored, as Office ignores it, and the
// reason kept in Errors); calls its onLoad callback with the ribbon's IRibbonUI; and for every
// window with that ribbon asks the get... callbacks named in the mark-up, caching the answers
// until IRibbonUI.Invalidate or InvalidateControl makes it ask again the next time the ribbon is
// shown (Refresh: a window's activation, the state text, a click). A callback that throws
// HostError gets Office's default (empty text, no picture, visible, enabled, not pressed, label
// shown) and the error is kept in Errors. Faults: "RibbonUI.Invalidate",
// "RibbonUI.InvalidateControl".
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "host/office/Ribbon.h"
#include "sim/Faults.h"
#include "sim/office/RibbonMarkup.h"

namespace plexa::sim {

class SimRibbonHost;

// One ribbon on one window.
class RibbonInstance {
public:
    const std::wstring& RibbonId() const { return m_ribbonId; }
    const std::wstring& WindowName() const { return m_windowName; }

private:
    friend class SimRibbonHost;
    struct State {
        std::wstring label;
        std::wstring screentip;
        std::wstring image;  // imageMso name, or "picture 0x..."
        bool visible = true;
        bool enabled = true;
        bool pressed = false;
        bool showLabel = true;
    };
    std::wstring m_ribbonId;
    std::wstring m_windowName;
    std::shared_ptr<AutomationObject> m_context;
    std::map<std::wstring, State> m_states;
    std::set<std::wstring> m_dirty;
    bool m_allDirty = true;
};

class SimRibbonHost {
public:
    // Mark-up is read against the given schema, or (none given) the schema of its namespace
    // that a client of the given version knows (ReadCustomUi), found when the first mark-up
    // arrives.
    explicit SimRibbonHost(Faults& faults, const CustomUiSchema* schema = nullptr,
                           std::function<int32_t()> clientVersion = nullptr);
    ~SimRibbonHost();
    SimRibbonHost(const SimRibbonHost&) = delete;
    SimRibbonHost& operator=(const SimRibbonHost&) = delete;

    // The connected add-in; nullptr when none. Ribbons of windows already open load now.
    void SetProvider(IRibbonExtensibility* provider);
    // A window with a ribbon opens (context: its Inspector or Explorer) and closes.
    std::shared_ptr<RibbonInstance> Open(const std::wstring& ribbonId,
                                         std::shared_ptr<AutomationObject> context,
                                         std::wstring windowName);
    void Close(const std::shared_ptr<RibbonInstance>& instance);
    // Asks the callbacks of what was invalidated (or never asked).
    void Refresh(RibbonInstance& instance);
    // The ribbon as the user sees it, one control a line:
    //     tab Orvin.Plexa.Tab "Plexa"
    //       group Orvin.Plexa.Group "Plexa" hidden
    //         button btnOptions "Options" disabled pressed tip "..." image picture 0x1004
    // "(no custom ribbon)" when the add-in gave none.
    std::wstring StateText(RibbonInstance& instance);
    // Clicks a control, named by its id or its label: runs its onAction (a toggle button's with
    // the flipped state, which it then shows). Throws ScriptError when the control is missing,
    // hidden (or inside something hidden), disabled, or has no action.
    void Click(RibbonInstance& instance, const std::wstring& control);
    // Whether a control of that id or label is in the window's ribbon.
    bool Has(RibbonInstance& instance, const std::wstring& control);

    // How often GetCustomUI was asked for a ribbon id.
    int Asked(const std::wstring& ribbonId) const;
    // Rejected documents and failed callbacks, in order.
    const std::vector<std::wstring>& Errors() const { return m_errors; }

    // For the IRibbonUI objects.
    void Invalidate(const std::wstring& ribbonId, const std::wstring& controlId);

private:
    struct Document {
        bool loaded = false;  // asked and (if any) onLoad called
        int asked = 0;
        std::unique_ptr<RibbonElement> root;  // nothing: no (valid) mark-up
        std::shared_ptr<IRibbonUI> ui;
    };

    void Load(const std::wstring& ribbonId);
    void Evaluate(RibbonInstance& instance, const RibbonElement& element, bool parentDirty);
    const RibbonElement* Find(const RibbonElement& element, const std::wstring& control,
                              RibbonInstance& instance, bool& reachable) const;
    void Describe(RibbonInstance& instance, const RibbonElement& element, int depth,
                  std::wstring& out);
    std::shared_ptr<IRibbonControl> ControlFor(RibbonInstance& instance, const std::wstring& id);
    void Failed(const std::wstring& what, const std::exception& e);

    Faults& m_faults;
    const CustomUiSchema* m_schema;
    std::function<int32_t()> m_clientVersion;
    IRibbonExtensibility* m_provider = nullptr;
    std::map<std::wstring, Document> m_documents;
    std::vector<std::weak_ptr<RibbonInstance>> m_instances;
    std::vector<std::wstring> m_errors;
    std::shared_ptr<SimRibbonHost*> m_self;
};

}  // namespace plexa::sim
