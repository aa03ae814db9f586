// A simulated command-bar control: a button or a popup (whose sub-bar opens below it), custom
// (id 1) or built-in. One object per control, so every holder sees the same state and events.
// A deleted control, or one whose window has closed, fails every call. Faults:
// "CommandBarControl." + the member ("CommandBarControl.SetCaption", "CommandBarControl.Delete").
#pragma once

#include <memory>
#include <string>

#include "host/office/CommandBars.h"
#include "platform/IResources.h"
#include "sim/office/SimOffice.h"

namespace plexa::sim {

class SimCommandBar;

class SimCommandBarControl : public CommandBarControl,
                             public std::enable_shared_from_this<SimCommandBarControl> {
public:
    // Made by SimCommandBarControls::Add and the built-in bars; use Make.
    static std::shared_ptr<SimCommandBarControl> Make(SimOffice& office,
                                                      const std::shared_ptr<SimCommandBar>& parent,
                                                      int32_t type, int32_t id, bool temporary,
                                                      bool builtIn);

    int32_t Type() override;
    int32_t Id() override;
    std::wstring Caption() override;
    void SetCaption(const std::wstring& caption) override;
    std::wstring Tag() override;
    void SetTag(const std::wstring& tag) override;
    std::wstring TooltipText() override;
    void SetTooltipText(const std::wstring& text) override;
    std::wstring Parameter() override;
    void SetParameter(const std::wstring& parameter) override;
    bool BeginGroup() override;
    void SetBeginGroup(bool beginGroup) override;
    bool Enabled() override;
    void SetEnabled(bool enabled) override;
    bool Visible() override;
    void SetVisible(bool visible) override;
    int32_t Index() override;
    std::shared_ptr<CommandBar> Parent() override;
    void Delete() override;
    int32_t Style() override;
    void SetStyle(int32_t style) override;
    int32_t FaceId() override;
    void SetFaceId(int32_t faceId) override;
    int32_t State() override;
    void SetState(int32_t state) override;
    void SetPicture(const std::shared_ptr<IPictureDisp>& picture) override;
    void SetMask(const std::shared_ptr<IPictureDisp>& mask) override;
    void PasteFace() override;
    std::shared_ptr<CommandBar> GetCommandBar() override;

    // The simulation's own view, without faults or checks.
    bool IsDeleted() const { return m_deleted; }
    bool IsVisible() const { return m_visible; }
    bool IsEnabled() const { return m_enabled; }
    bool IsTemporary() const { return m_temporary; }
    bool IsBuiltIn() const { return m_builtIn; }
    int32_t ControlType() const { return m_type; }
    int32_t BuiltInId() const { return m_id; }
    const std::wstring& CaptionText() const { return m_caption; }
    const std::wstring& TagText() const { return m_tag; }
    const std::wstring& Tooltip() const { return m_tooltip; }
    const std::wstring& ParameterText() const { return m_parameter; }
    int32_t StyleValue() const { return m_style; }
    int32_t StateValue() const { return m_state; }
    bool StartsGroup() const { return m_beginGroup; }
    // "face 2617", "picture 0x1004 mask 0x1005", "pasted 0x1004", or "" without a face.
    std::wstring FaceText() const;
    const std::shared_ptr<SimCommandBar>& PopupBar() const { return m_popup; }
    std::shared_ptr<SimCommandBar> ParentBar() const { return m_parent.lock(); }
    // The caption without its "&" marks, or the id for a control without caption.
    std::wstring Describe() const;
    // Built-in bars set up their controls directly.
    void Init(const std::wstring& caption, bool visible = true);
    void InitParameter(const std::wstring& parameter) { m_parameter = parameter; }
    // Marks the control (and a popup's controls) gone.
    void Kill();

private:
    SimCommandBarControl(SimOffice& office, int32_t type, int32_t id, bool temporary, bool builtIn);
    // The fault check and the deleted check of a member.
    void Live(const wchar_t* member) const;
    void ButtonOnly(const wchar_t* member) const;
    // Adding and removing on a bar protected against customising fails.
    void Customisable(const wchar_t* method) const;

    SimOffice& m_office;
    std::weak_ptr<SimCommandBar> m_parent;
    std::shared_ptr<SimCommandBar> m_popup;
    int32_t m_type;
    int32_t m_id;
    bool m_temporary;
    bool m_builtIn;
    bool m_deleted = false;
    std::wstring m_caption;
    std::wstring m_tag;
    std::wstring m_tooltip;
    std::wstring m_parameter;
    bool m_beginGroup = false;
    bool m_enabled = true;
    bool m_visible = true;
    int32_t m_style = 0;  // msoButtonAutomatic
    int32_t m_faceId = 0;
    int32_t m_state = msoButtonUp;
    std::shared_ptr<IPictureDisp> m_picture;
    std::shared_ptr<IPictureDisp> m_mask;
    bool m_pasted = false;
};

}  // namespace plexa::sim
