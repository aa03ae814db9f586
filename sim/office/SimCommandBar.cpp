#include "sim/office/SimCommandBar.h"

#include <algorithm>

#include "core/Text.h"
#include "sim/office/SimCommandBarControl.h"
#include "sim/office/SimCommandBars.h"

namespace plexa::sim {

SimCommandBar::SimCommandBar(SimOffice& office, std::wstring name, int32_t barType, bool builtIn,
                             bool temporary)
    : m_office(office),
      m_name(std::move(name)),
      m_barType(barType),
      m_builtIn(builtIn),
      m_temporary(temporary) {
    if (barType == msoBarTypePopup) {
        m_position = 5;  // msoBarPopup
    }
}

std::shared_ptr<SimCommandBar> SimCommandBar::Make(SimOffice& office,
                                                   const std::shared_ptr<SimCommandBars>& owner,
                                                   const std::wstring& name, int32_t barType,
                                                   bool builtIn, bool temporary) {
    std::shared_ptr<SimCommandBar> bar(
        new SimCommandBar(office, name, barType, builtIn, temporary));
    bar->m_owner = owner;
    return bar;
}

std::shared_ptr<SimCommandBar> SimCommandBar::MakePopup(
    SimOffice& office, const std::shared_ptr<SimCommandBarControl>& popup) {
    std::shared_ptr<SimCommandBar> bar(
        new SimCommandBar(office, L"", msoBarTypePopup, popup->IsBuiltIn(), popup->IsTemporary()));
    bar->m_popupOf = popup;
    return bar;
}

void SimCommandBar::Live(const wchar_t* member) const {
    m_office.Check(std::wstring(L"CommandBar.") + member, m_name);
    if (m_deleted) {
        throw OfficeMethodFailed(member, L"CommandBar");
    }
}

std::wstring SimCommandBar::Name() {
    Live(L"Name");
    if (auto popup = m_popupOf.lock()) {
        return popup->CaptionText();
    }
    return m_name;
}

std::shared_ptr<CommandBarControls> SimCommandBar::Controls() {
    Live(L"Controls");
    return std::make_shared<SimCommandBarControls>(shared_from_this());
}

namespace {

std::shared_ptr<SimCommandBarControl> Find(const SimCommandBar& bar, int32_t type, int32_t id,
                                           const std::wstring& tag, bool visible, bool recursive) {
    for (const auto& c : bar.Items()) {
        if ((type == 0 || c->ControlType() == type) && (id == 0 || c->BuiltInId() == id) &&
            (tag.empty() || c->TagText() == tag) && (!visible || c->IsVisible())) {
            return c;
        }
        if (recursive && c->PopupBar()) {
            if (auto found = Find(*c->PopupBar(), type, id, tag, visible, recursive)) {
                return found;
            }
        }
    }
    return nullptr;
}

}  // namespace

std::shared_ptr<CommandBarControl> SimCommandBar::FindControl(int32_t type, int32_t id,
                                                              const std::wstring& tag, bool visible,
                                                              bool recursive) {
    Live(L"FindControl");
    return Find(*this, type, id, tag, visible, recursive);
}

int32_t SimCommandBar::Position() {
    Live(L"Position");
    return m_position;
}

void SimCommandBar::SetPosition(int32_t position) {
    Live(L"SetPosition");
    const bool popup = m_barType == msoBarTypePopup;
    if (popup ? position != 5 : (position < 0 || position > 4)) {
        throw OfficeInvalidArgument();
    }
    m_position = position;
}

int32_t SimCommandBar::RowIndex() {
    Live(L"RowIndex");
    return m_rowIndex;
}

void SimCommandBar::SetRowIndex(int32_t rowIndex) {
    Live(L"SetRowIndex");
    if (rowIndex < -1) {
        throw OfficeInvalidArgument();
    }
    m_rowIndex = rowIndex;
}

int32_t SimCommandBar::Left() {
    Live(L"Left");
    return m_left;
}

void SimCommandBar::SetLeft(int32_t left) {
    Live(L"SetLeft");
    m_left = left;
}

int32_t SimCommandBar::Top() {
    Live(L"Top");
    return m_top;
}

void SimCommandBar::SetTop(int32_t top) {
    Live(L"SetTop");
    m_top = top;
}

bool SimCommandBar::Visible() {
    Live(L"Visible");
    return m_visible;
}

void SimCommandBar::SetVisible(bool visible) {
    Live(L"SetVisible");
    if (m_barType == msoBarTypePopup) {
        throw OfficeMethodFailed(L"Visible", L"CommandBar");  // a menu shows only when opened
    }
    m_visible = visible;
}

int32_t SimCommandBar::Protection() {
    Live(L"Protection");
    return m_protection;
}

void SimCommandBar::SetProtection(int32_t protection) {
    Live(L"SetProtection");
    if (protection < 0 || protection > 0xFF) {
        throw OfficeInvalidArgument();
    }
    m_protection = protection;
}

void SimCommandBar::Delete() {
    Live(L"Delete");
    auto owner = m_owner.lock();
    if (m_builtIn || !owner) {
        throw OfficeMethodFailed(L"Delete", L"CommandBar");
    }
    owner->RemoveBar(*this);
    Kill();
}

std::shared_ptr<SimCommandBarControl> SimCommandBar::AddControl(int32_t type, int32_t id,
                                                                int32_t before, bool temporary,
                                                                bool builtIn) {
    auto control =
        SimCommandBarControl::Make(m_office, shared_from_this(), type, id, temporary, builtIn);
    const auto at = before <= 0 ? m_controls.size() : static_cast<std::size_t>(before - 1);
    m_controls.insert(m_controls.begin() + static_cast<std::ptrdiff_t>(at), control);
    return control;
}

std::shared_ptr<SimCommandBarControl> SimCommandBar::AddBuiltIn(int32_t type, int32_t id,
                                                                const std::wstring& caption,
                                                                bool visible) {
    auto control = AddControl(type, id, 0, false, true);
    control->Init(caption, visible);
    return control;
}

int32_t SimCommandBar::IndexOf(const SimCommandBarControl& control) const {
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        if (m_controls[i].get() == &control) {
            return static_cast<int32_t>(i + 1);
        }
    }
    return 0;
}

void SimCommandBar::Remove(const SimCommandBarControl& control) {
    std::erase_if(m_controls, [&control](const auto& c) { return c.get() == &control; });
}

void SimCommandBar::ClearControls() {
    for (const auto& c : m_controls) {
        c->Kill();
    }
    m_controls.clear();
}

void SimCommandBar::Kill() {
    m_deleted = true;
    for (const auto& c : m_controls) {
        c->Kill();
    }
}

void SimCommandBar::CollectLeftovers(const std::wstring& where,
                                     std::vector<std::wstring>& leftovers) const {
    if (!m_builtIn && !m_temporary && !m_popupOf.lock()) {
        leftovers.push_back(where + L": bar '" + m_name + L"'");
        return;
    }
    for (const auto& c : m_controls) {
        if (!c->IsBuiltIn() && !c->IsTemporary()) {
            leftovers.push_back(where + L": control '" + c->Describe() + L"' tag '" + c->TagText() +
                                L"' on '" + m_name + L"'");
        } else if (c->PopupBar()) {
            c->PopupBar()->CollectLeftovers(where, leftovers);
        }
    }
}

int32_t SimCommandBarControls::Count() {
    m_bar->Office().Check(L"CommandBarControls.Count", m_bar->NameText());
    m_bar->Live(L"Controls");
    return static_cast<int32_t>(m_bar->Items().size());
}

std::shared_ptr<CommandBarControl> SimCommandBarControls::Item(int32_t index) {
    m_bar->Office().Check(L"CommandBarControls.Item", std::to_wstring(index));
    m_bar->Live(L"Controls");
    if (index < 1 || index > static_cast<int32_t>(m_bar->Items().size())) {
        throw OfficeInvalidArgument();
    }
    return m_bar->Items()[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<CommandBarControl> SimCommandBarControls::Add(int32_t type, int32_t id,
                                                              const std::wstring& parameter,
                                                              int32_t before, bool temporary) {
    m_bar->Office().Check(L"CommandBarControls.Add", m_bar->NameText());
    m_bar->Live(L"Controls");
    if ((m_bar->ProtectionValue() & msoBarNoCustomize) != 0) {
        throw OfficeMethodFailed(L"Add", L"CommandBarControls");
    }
    if (type != msoControlButton && type != msoControlPopup) {
        throw OfficeMethodFailed(L"Add", L"CommandBarControls");  // kinds not simulated
    }
    if (id < 1 || before < 0 || before > static_cast<int32_t>(m_bar->Items().size()) + 1) {
        throw OfficeInvalidArgument();
    }
    auto control = m_bar->AddControl(type, id, before, temporary, id != 1);
    control->Init(id != 1 ? L"Built-in " + std::to_wstring(id) : L"");
    control->InitParameter(parameter);
    return control;
}

}  // namespace plexa::sim
