#include "sim/office/SimCommandBarControl.h"

#include <cstdio>

#include "sim/office/SimCommandBar.h"

namespace plexa::sim {

namespace {
std::wstring Hex(uint32_t n) {
    wchar_t buffer[16];
    std::swprintf(buffer, 16, L"0x%X", n);
    return buffer;
}
}  // namespace

SimCommandBarControl::SimCommandBarControl(SimOffice& office, int32_t type, int32_t id,
                                           bool temporary, bool builtIn)
    : m_office(office), m_type(type), m_id(id), m_temporary(temporary), m_builtIn(builtIn) {}

std::shared_ptr<SimCommandBarControl> SimCommandBarControl::Make(
    SimOffice& office, const std::shared_ptr<SimCommandBar>& parent, int32_t type, int32_t id,
    bool temporary, bool builtIn) {
    std::shared_ptr<SimCommandBarControl> control(
        new SimCommandBarControl(office, type, id, temporary, builtIn));
    control->m_parent = parent;
    if (type == msoControlPopup) {
        control->m_popup = SimCommandBar::MakePopup(office, control);
    }
    office.Register(control);
    return control;
}

void SimCommandBarControl::Init(const std::wstring& caption, bool visible) {
    m_caption = caption;
    m_visible = visible;
    if (m_type == msoControlButton && m_builtIn) {
        m_faceId = m_id;
    }
}

void SimCommandBarControl::Kill() {
    m_deleted = true;
    if (m_popup) {
        m_popup->Kill();
    }
}

void SimCommandBarControl::Live(const wchar_t* member) const {
    m_office.Check(std::wstring(L"CommandBarControl.") + member, m_tag);
    if (m_deleted) {
        throw OfficeMethodFailed(member, L"_CommandBarButton");
    }
}

void SimCommandBarControl::ButtonOnly(const wchar_t* member) const {
    Live(member);
    if (m_type != msoControlButton) {
        throw OfficeNotSupported();
    }
}

void SimCommandBarControl::Customisable(const wchar_t* method) const {
    auto parent = m_parent.lock();
    if (parent && (parent->ProtectionValue() & msoBarNoCustomize) != 0) {
        throw OfficeMethodFailed(method, L"CommandBarControl");
    }
}

int32_t SimCommandBarControl::Type() {
    Live(L"Type");
    return m_type;
}

int32_t SimCommandBarControl::Id() {
    Live(L"Id");
    return m_id;
}

std::wstring SimCommandBarControl::Caption() {
    Live(L"Caption");
    return m_caption;
}

void SimCommandBarControl::SetCaption(const std::wstring& caption) {
    Live(L"SetCaption");
    m_caption = caption;
}

std::wstring SimCommandBarControl::Tag() {
    Live(L"Tag");
    return m_tag;
}

void SimCommandBarControl::SetTag(const std::wstring& tag) {
    Live(L"SetTag");
    m_tag = tag;
}

std::wstring SimCommandBarControl::TooltipText() {
    Live(L"TooltipText");
    return m_tooltip;
}

void SimCommandBarControl::SetTooltipText(const std::wstring& text) {
    Live(L"SetTooltipText");
    m_tooltip = text;
}

std::wstring SimCommandBarControl::Parameter() {
    Live(L"Parameter");
    return m_parameter;
}

void SimCommandBarControl::SetParameter(const std::wstring& parameter) {
    Live(L"SetParameter");
    m_parameter = parameter;
}

bool SimCommandBarControl::BeginGroup() {
    Live(L"BeginGroup");
    return m_beginGroup;
}

void SimCommandBarControl::SetBeginGroup(bool beginGroup) {
    Live(L"SetBeginGroup");
    m_beginGroup = beginGroup;
}

bool SimCommandBarControl::Enabled() {
    Live(L"Enabled");
    return m_enabled;
}

void SimCommandBarControl::SetEnabled(bool enabled) {
    Live(L"SetEnabled");
    m_enabled = enabled;
}

bool SimCommandBarControl::Visible() {
    Live(L"Visible");
    return m_visible;
}

void SimCommandBarControl::SetVisible(bool visible) {
    Live(L"SetVisible");
    m_visible = visible;
}

int32_t SimCommandBarControl::Index() {
    Live(L"Index");
    auto parent = m_parent.lock();
    return parent ? parent->IndexOf(*this) : 0;
}

std::shared_ptr<CommandBar> SimCommandBarControl::Parent() {
    Live(L"Parent");
    return m_parent.lock();
}

void SimCommandBarControl::Delete() {
    Live(L"Delete");
    Customisable(L"Delete");
    if (auto parent = m_parent.lock()) {
        parent->Remove(*this);
    }
    Kill();
}

int32_t SimCommandBarControl::Style() {
    ButtonOnly(L"Style");
    return m_style;
}

void SimCommandBarControl::SetStyle(int32_t style) {
    ButtonOnly(L"SetStyle");
    if (style < 0 || style > 15) {
        throw OfficeInvalidArgument();
    }
    m_style = style;
}

int32_t SimCommandBarControl::FaceId() {
    ButtonOnly(L"FaceId");
    return m_faceId;
}

void SimCommandBarControl::SetFaceId(int32_t faceId) {
    ButtonOnly(L"SetFaceId");
    if (faceId < 0) {
        throw OfficeInvalidArgument();
    }
    m_faceId = faceId;
    m_picture.reset();
    m_mask.reset();
    m_pasted = false;
}

int32_t SimCommandBarControl::State() {
    ButtonOnly(L"State");
    return m_state;
}

void SimCommandBarControl::SetState(int32_t state) {
    ButtonOnly(L"SetState");
    if (state != msoButtonUp && state != msoButtonDown && state != 2) {  // 2: msoButtonMixed
        throw OfficeInvalidArgument();
    }
    m_state = state;
}

void SimCommandBarControl::SetPicture(const std::shared_ptr<IPictureDisp>& picture) {
    ButtonOnly(L"SetPicture");
    if (m_office.MajorVersion() < 10) {
        throw OfficeNotSupported();  // no Picture before Office XP
    }
    if (!picture || picture->Type() != IPictureDisp::PicTypeBitmap) {
        throw OfficeMethodFailed(L"Picture", L"_CommandBarButton");
    }
    m_picture = picture;
    m_pasted = false;
}

void SimCommandBarControl::SetMask(const std::shared_ptr<IPictureDisp>& mask) {
    ButtonOnly(L"SetMask");
    if (m_office.MajorVersion() < 10) {
        throw OfficeNotSupported();
    }
    if (!mask || mask->Type() != IPictureDisp::PicTypeBitmap) {
        throw OfficeMethodFailed(L"Mask", L"_CommandBarButton");
    }
    m_mask = mask;
}

void SimCommandBarControl::PasteFace() {
    ButtonOnly(L"PasteFace");
    auto bitmap = m_office.clipboard.Picture(cf::Bitmap);
    if (!bitmap) {
        throw OfficeMethodFailed(L"PasteFace", L"_CommandBarButton");
    }
    m_picture = bitmap;
    m_mask.reset();
    m_pasted = true;
}

std::shared_ptr<CommandBar> SimCommandBarControl::GetCommandBar() {
    Live(L"CommandBar");
    if (!m_popup) {
        throw OfficeNotSupported();
    }
    return m_popup;
}

std::wstring SimCommandBarControl::FaceText() const {
    if (m_picture) {
        std::wstring s = (m_pasted ? L"pasted " : L"picture ") + Hex(m_picture->Handle());
        if (m_mask) {
            s += L" mask " + Hex(m_mask->Handle());
        }
        return s;
    }
    return m_faceId != 0 ? L"face " + std::to_wstring(m_faceId) : L"";
}

std::wstring SimCommandBarControl::Describe() const {
    std::wstring plain;
    for (wchar_t c : m_caption) {
        if (c != L'&') {
            plain += c;
        }
    }
    return plain.empty() ? L"#" + std::to_wstring(m_id) : plain;
}

}  // namespace plexa::sim
