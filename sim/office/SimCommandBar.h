// A simulated command bar: a toolbar, the menu bar, a context menu, or the sub-bar of a popup.
// Faults: "CommandBar." + the member, and "CommandBarControls.Add" / ".Item" / ".Count".
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/office/CommandBars.h"
#include "sim/office/SimOffice.h"

namespace plexa::sim {

class SimCommandBarControl;
class SimCommandBars;

// MsoBarType.
inline constexpr int32_t msoBarTypeNormal = 0;
inline constexpr int32_t msoBarTypeMenuBar = 1;
inline constexpr int32_t msoBarTypePopup = 2;

class SimCommandBar : public CommandBar, public std::enable_shared_from_this<SimCommandBar> {
public:
    // A bar of a window's CommandBars (owner), or a context menu on its own (no owner).
    static std::shared_ptr<SimCommandBar> Make(SimOffice& office,
                                               const std::shared_ptr<SimCommandBars>& owner,
                                               const std::wstring& name, int32_t barType,
                                               bool builtIn, bool temporary);
    // The sub-bar of a popup control.
    static std::shared_ptr<SimCommandBar> MakePopup(
        SimOffice& office, const std::shared_ptr<SimCommandBarControl>& popup);

    std::wstring Name() override;
    std::shared_ptr<CommandBarControls> Controls() override;
    std::shared_ptr<CommandBarControl> FindControl(int32_t type, int32_t id,
                                                   const std::wstring& tag, bool visible,
                                                   bool recursive) override;
    int32_t Position() override;
    void SetPosition(int32_t position) override;
    int32_t RowIndex() override;
    void SetRowIndex(int32_t rowIndex) override;
    int32_t Left() override;
    void SetLeft(int32_t left) override;
    int32_t Top() override;
    void SetTop(int32_t top) override;
    bool Visible() override;
    void SetVisible(bool visible) override;
    int32_t Protection() override;
    void SetProtection(int32_t protection) override;
    void Delete() override;

    // Adds a control (what CommandBarControls.Add does after its checks).
    std::shared_ptr<SimCommandBarControl> AddControl(int32_t type, int32_t id, int32_t before,
                                                     bool temporary, bool builtIn);
    // Adds a built-in control directly, as the host builds its own bars.
    std::shared_ptr<SimCommandBarControl> AddBuiltIn(int32_t type, int32_t id,
                                                     const std::wstring& caption,
                                                     bool visible = true);
    const std::vector<std::shared_ptr<SimCommandBarControl>>& Items() const { return m_controls; }
    int32_t IndexOf(const SimCommandBarControl& control) const;
    void Remove(const SimCommandBarControl& control);
    // Drops every control (they die), as the host does when it rebuilds a menu.
    void ClearControls();
    // Marks the bar and its controls gone.
    void Kill();
    // The controls a window closing leaves behind: non-temporary custom ones.
    void CollectLeftovers(const std::wstring& where, std::vector<std::wstring>& leftovers) const;

    const std::wstring& NameText() const { return m_name; }
    int32_t BarType() const { return m_barType; }
    bool IsBuiltIn() const { return m_builtIn; }
    bool IsTemporary() const { return m_temporary; }
    bool IsDeleted() const { return m_deleted; }
    bool IsVisible() const { return m_visible; }
    int32_t ProtectionValue() const { return m_protection; }
    void SetProtectionValue(int32_t protection) { m_protection = protection; }
    void SetVisibleValue(bool visible) { m_visible = visible; }
    void SetPlacement(int32_t position, int32_t rowIndex) {
        m_position = position;
        m_rowIndex = rowIndex;
    }
    // The popup control whose sub-bar this is; nullptr for other bars.
    std::shared_ptr<SimCommandBarControl> PopupOf() const { return m_popupOf.lock(); }
    SimOffice& Office() const { return m_office; }
    void Live(const wchar_t* member) const;

private:
    SimCommandBar(SimOffice& office, std::wstring name, int32_t barType, bool builtIn,
                  bool temporary);

    SimOffice& m_office;
    std::weak_ptr<SimCommandBars> m_owner;
    std::weak_ptr<SimCommandBarControl> m_popupOf;
    std::wstring m_name;
    int32_t m_barType;
    bool m_builtIn;
    bool m_temporary;
    bool m_deleted = false;
    int32_t m_position = msoBarTop;
    int32_t m_rowIndex = 1;
    int32_t m_left = 0;
    int32_t m_top = 0;
    bool m_visible = false;
    int32_t m_protection = 0;
    std::vector<std::shared_ptr<SimCommandBarControl>> m_controls;
};

// The controls of one bar.
class SimCommandBarControls : public CommandBarControls {
public:
    explicit SimCommandBarControls(std::shared_ptr<SimCommandBar> bar) : m_bar(std::move(bar)) {}
    int32_t Count() override;
    std::shared_ptr<CommandBarControl> Item(int32_t index) override;
    std::shared_ptr<CommandBarControl> Add(int32_t type, int32_t id, const std::wstring& parameter,
                                           int32_t before, bool temporary) override;

private:
    std::shared_ptr<SimCommandBar> m_bar;
};

}  // namespace plexa::sim
