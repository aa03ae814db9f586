#include "sim/office/SimCommandBars.h"

#include "core/Text.h"

namespace plexa::sim {

SimCommandBars::SimCommandBars(SimOffice& office, std::wstring window)
    : m_office(office), m_window(std::move(window)) {}

int32_t SimCommandBars::Count() {
    m_office.Check(L"CommandBars.Count");
    if (m_closed) {
        throw OfficeMethodFailed(L"Count", L"_CommandBars");
    }
    return static_cast<int32_t>(m_bars.size());
}

std::shared_ptr<CommandBar> SimCommandBars::Item(const std::wstring& name) {
    m_office.Check(L"CommandBars.Item", name);
    if (m_closed) {
        throw OfficeMethodFailed(L"Item", L"_CommandBars");
    }
    auto bar = Find(name);
    if (!bar) {
        throw OfficeInvalidArgument();
    }
    return bar;
}

std::shared_ptr<CommandBar> SimCommandBars::Add(const std::wstring& name, int32_t position,
                                                bool temporary) {
    m_office.Check(L"CommandBars.Add", name);
    if (m_closed) {
        throw OfficeMethodFailed(L"Add", L"_CommandBars");
    }
    if (position < 0 || position > 5 || (!name.empty() && Find(name))) {
        throw OfficeInvalidArgument();
    }
    std::wstring barName = name;
    while (barName.empty() || Find(barName)) {
        barName = L"Custom " + std::to_wstring(++m_unnamed);
    }
    auto bar =
        SimCommandBar::Make(m_office, shared_from_this(), barName,
                            position == 5 ? msoBarTypePopup : msoBarTypeNormal, false, temporary);
    int32_t row = 0;
    for (const auto& other : m_bars) {
        if (other->BarType() != msoBarTypePopup) {
            ++row;
        }
    }
    bar->SetPlacement(position, position == 5 ? 0 : row + 1);
    m_bars.push_back(bar);
    return bar;
}

std::shared_ptr<SimCommandBar> SimCommandBars::AddBuiltInBar(const std::wstring& name,
                                                             int32_t barType, bool visible) {
    auto bar = SimCommandBar::Make(m_office, shared_from_this(), name, barType, true, false);
    bar->SetVisibleValue(visible);
    m_bars.push_back(bar);
    return bar;
}

std::shared_ptr<SimCommandBar> SimCommandBars::Find(const std::wstring& name) const {
    for (const auto& bar : m_bars) {
        if (text::EqualsNoCase(bar->NameText(), name)) {
            return bar;
        }
    }
    return nullptr;
}

void SimCommandBars::RemoveBar(const SimCommandBar& bar) {
    std::erase_if(m_bars, [&bar](const auto& b) { return b.get() == &bar; });
}

void SimCommandBars::Close() {
    if (m_closed) {
        return;
    }
    m_closed = true;
    for (const auto& bar : m_bars) {
        bar->CollectLeftovers(m_window, m_office.leftovers);
        bar->Kill();
    }
    m_bars.clear();
}

}  // namespace plexa::sim
