#include "ui/frmPleaseWait.h"

#include "platform/IUiShell.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"

namespace plexa {

namespace {

constexpr const wchar_t* kDesignText = L"Please wait";

}  // namespace

frmPleaseWait::frmPleaseWait(Services& services) : Form(L"frmPleaseWait"), m_services(services) {
    Add(L"fra", ControlType::Frame);
    Add(L"lblWait", ControlType::Label).caption = kDesignText;
}

void frmPleaseWait::OnLoad() {
    // Each load starts from the design text: the label still carries the dots of an earlier
    // showing, which must not become part of the base text.
    (*this)[L"lblWait"].caption = kDesignText;
    m_services.Lang().LocalizeForm(*this);
    picture = m_services.Options().MAIN_ICON();
    Control& label = (*this)[L"lblWait"];
    m_baseText = label.caption;
    label.caption = m_baseText + L"...";
    m_dotCounter = 3;
    mGlobals::LogDebug(L"frmPleaseWait", L"Load", 1);
    // Owned by the window active now (the message window the user works in), so it stays in
    // front of it; the previous owner comes back at unloading.
    IUiShell& ui = m_services.Ports().ui;
    m_previousOwner = ui.SetOwner(*this, ui.GetActiveWindow());
}

void frmPleaseWait::OnUnload() {
    mGlobals::LogDebug(L"frmPleaseWait", L"Unload", 1);
    m_services.Ports().ui.SetOwner(*this, m_previousOwner);
    m_previousOwner = 0;
}

void frmPleaseWait::MoveDots() {
    m_dotCounter = (m_dotCounter + 1) % 6;
    const int dots = m_dotCounter < 4 ? m_dotCounter : 6 - m_dotCounter;
    (*this)[L"lblWait"].caption = m_baseText + std::wstring(static_cast<std::size_t>(dots), L'.');
}

}  // namespace plexa
