#include "ui/frmPleaseWait.h"

#include "settings/Services.h"
#include "settings/mGlobals.h"

namespace plexa {

frmPleaseWait::frmPleaseWait(Services& services) : Form(L"frmPleaseWait"), m_services(services) {
    Add(L"fra", ControlType::Frame);
    Add(L"lblWait", ControlType::Label).caption = L"Please wait";
}

void frmPleaseWait::OnLoad() {
    m_services.Lang().LocalizeForm(*this);
    picture = m_services.Options().MAIN_ICON();
    Control& label = (*this)[L"lblWait"];
    m_baseText = label.caption;
    label.caption = m_baseText + L"...";
    m_dotCounter = 3;
    mGlobals::LogDebug(L"frmPleaseWait", L"Load", 1);
}

void frmPleaseWait::OnUnload() {
    mGlobals::LogDebug(L"frmPleaseWait", L"Unload", 1);
}

void frmPleaseWait::MoveDots() {
    m_dotCounter = (m_dotCounter + 1) % 6;
    const int dots = m_dotCounter < 4 ? m_dotCounter : 6 - m_dotCounter;
    (*this)[L"lblWait"].caption = m_baseText + std::wstring(static_cast<std::size_t>(dots), L'.');
}

}  // namespace plexa
