// The message window's toolbar of the 2002/2003 clients: its controls, their faces and pressed
// states, and where the bar stands.
#include "addin/CInspectorWrapper.h"
#include "host/outlook/OlConstants.h"
#include "separate/mReplacements.h"
#include "separate/mUserProps.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"
#include "settings/mMisc.h"
#include "ui/mIcons.h"

namespace plexa {

namespace {

template <typename Step>
void Attempt(Step&& step) {
    try {
        std::forward<Step>(step)();
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): each step on its own
    }
}

// Keeps the user's clipboard while button faces pass through it.
class ClipboardKept {
public:
    ClipboardKept(CClipboard& clipboard, bool keep) : m_clipboard(keep ? &clipboard : nullptr) {
        if (m_clipboard != nullptr) {
            m_clipboard->Save();
        }
    }
    ~ClipboardKept() {
        if (m_clipboard != nullptr) {
            m_clipboard->Restore();
        }
    }
    ClipboardKept(const ClipboardKept&) = delete;
    ClipboardKept& operator=(const ClipboardKept&) = delete;

private:
    CClipboard* m_clipboard;
};

// The six placeholders of the insert popup, after the full name.
struct InsertItem {
    const wchar_t* caption;
    mReplacements::Placeholder placeholder;
};
constexpr InsertItem kInsertItems[] = {
    {L"LID_CAP_CONTACT_FIRST_NAME", mReplacements::Placeholder::FirstName},
    {L"LID_CAP_CONTACT_MIDDLE_NAME", mReplacements::Placeholder::MiddleName},
    {L"LID_CAP_CONTACT_LAST_NAME", mReplacements::Placeholder::LastName},
    {L"LID_CAP_CONTACT_INITIALS", mReplacements::Placeholder::Initials},
    {L"LID_CAP_CONTACT_NICKNAME", mReplacements::Placeholder::NickName},
    {L"LID_CAP_CONTACT_COMPANY", mReplacements::Placeholder::Company},
};

}  // namespace

void CInspectorWrapper::CreateToolbar() {
    if (!m_oInspector || mMisc::GetOutlookVersion(m_services) >= 12) {
        return;
    }
    mGlobals::LogDebug(L"CInspectorWrapper::CreateToolbar", L"->", 3);
    const bool wordEditor = m_oInspector->EditorType() == olEditorWord;
    const bool viaClipboard = mMisc::IsOutlook2000OrOlder(m_services) || wordEditor;
    ClipboardKept kept(m_services.Clipboard(), viaClipboard);
    try {
        const auto bars = m_oInspector->GetCommandBars();
        std::shared_ptr<CommandBar> bar;
        if (!m_services.Options().SeparateBar() && !wordEditor) {
            bar = bars->Item(L"Standard");
            m_usesStandardBar = true;
        } else {
            const std::wstring name = m_services.Lang().Item(L"LID_TOOLBAR_NAME");
            std::shared_ptr<CommandBar> existing;
            Attempt([&] { existing = bars->Item(name); });
            if (existing) {
                // Word keeps its bars beyond one window: hide the old one there.
                if (wordEditor) {
                    existing->SetVisible(false);
                } else {
                    existing->Delete();
                }
            }
            m_toolbar = bars->Add(name, msoBarTop, true);
            RestoreToolbarPosition();
            m_toolbar->SetVisible(true);
            bar = m_toolbar;
        }
        AddControls(bar);
        const auto mail = m_oMail.Get();
        ShowSendMode(mUserProps::GetSendMode(mail) != SendModeAll);
        m_btnSepGrouping->SetState(mUserProps::GetGroupMode(mail) ? msoButtonDown : msoButtonUp);
    } catch (const HostError&) {
        // Half a toolbar helps nobody: take away what was built, so that the next activation
        // builds it whole.
        RemoveToolbar();
        throw;
    }
}

std::shared_ptr<CommandBarControl> CInspectorWrapper::AddControl(
    const std::shared_ptr<CommandBarControls>& on, int32_t type, int32_t before) {
    return on->Add(type, 1, L"", before, true);
}

void CInspectorWrapper::HookButton(
    Button& field, const std::shared_ptr<CommandBarControl>& control,
    void (CInspectorWrapper::*handler)(const std::shared_ptr<CommandBarControl>&)) {
    field.Set(control, [this, handler](CommandBarControl& c) {
        std::vector<Connection> connections;
        connections.push_back(c.Click.Connect(
            [this, handler](const std::shared_ptr<CommandBarControl>& clicked, bool& /*cancel*/) {
                const auto self = weak_from_this().lock();
                try {
                    (this->*handler)(clicked);
                } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): the window may close
                }
            }));
        return connections;
    });
}

void CInspectorWrapper::SetFace(const std::shared_ptr<CommandBarControl>& button,
                                const wchar_t* face, const wchar_t* mask) {
    bool viaClipboard = false;
    Attempt([&] { viaClipboard = WordEditor(); });
    mIcons::SetButtonFace(m_services, button, Variant(face), Variant(mask), viaClipboard);
}

void CInspectorWrapper::AddControls(const std::shared_ptr<CommandBar>& bar) {
    CLang& lang = m_services.Lang();
    const int32_t mainStyle =
        m_services.Options().ShowBtnCaptions() ? msoButtonIconAndCaption : msoButtonIcon;
    const std::wstring tag = mGlobals::MakeUniqueTag(m_services.Ports());
    const auto controls = bar->Controls();
    int32_t before = 1;
    const auto next = [&](int32_t type, const wchar_t* name) {
        auto control = AddControl(controls, type, before);
        control->SetTag(tag + name);
        before = control->Index() + 1;
        return control;
    };

    auto insertFullName = next(msoControlButton, L"InsertFullName");
    insertFullName->SetCaption(lang.Item(L"LID_BTN_INSERT_FULL_NAME"));
    insertFullName->SetStyle(mainStyle);
    HookButton(m_btnInsertFullName, insertFullName, &CInspectorWrapper::m_btnInsertFullName_Click);
    SetFace(insertFullName, L"BTN_INSERT", L"BTN_INSERT_MASK");

    m_mnuInsert = next(msoControlPopup, L"MnuInsert");
    m_mnuInsert->SetCaption(L" ");
    m_mnuInsert->SetTooltipText(lang.Item(L"LID_MNU_INSERT_TIP"));
    const auto insertItems = m_mnuInsert->GetCommandBar()->Controls();
    int32_t itemBefore = 1;
    for (const InsertItem& item : kInsertItems) {
        auto button = AddControl(insertItems, msoControlButton, itemBefore);
        button->SetCaption(lang.Item(item.caption));
        button->SetStyle(msoButtonCaption);
        button->SetParameter(mReplacements::GetPlaceholderToken(lang, item.placeholder));
        button->SetTag(tag + L"Insert");
        itemBefore = button->Index() + 1;
        // They share one tag: the first one's events hear the clicks of all six.
        if (!m_btnInsert) {
            HookButton(m_btnInsert, button, &CInspectorWrapper::m_btnInsert_Click);
        }
    }

    auto sendMode = next(msoControlButton, L"SendMode");
    sendMode->SetCaption(lang.Item(L"LID_BTN_SEND_MODE_ALL"));
    sendMode->SetTooltipText(lang.Item(L"LID_BTN_SEND_MODE_ALL_TIP"));
    sendMode->SetStyle(mainStyle);
    HookButton(m_btnSendMode, sendMode, &CInspectorWrapper::m_btnSendMode_Click);

    m_mnuSendMode = next(msoControlPopup, L"MnuSendMode");
    m_mnuSendMode->SetCaption(lang.Item(L"LID_MNU_SEND_MODE"));
    const auto modeItems = m_mnuSendMode->GetCommandBar()->Controls();
    int32_t modeBefore = 1;
    const auto modeItem =
        [&](Button& field, const wchar_t* caption, const wchar_t* name,
            void (CInspectorWrapper::*handler)(const std::shared_ptr<CommandBarControl>&)) {
            auto button = AddControl(modeItems, msoControlButton, modeBefore);
            button->SetCaption(lang.Item(caption));
            button->SetStyle(msoButtonCaption);
            button->SetTag(tag + name);
            modeBefore = button->Index() + 1;
            HookButton(field, button, handler);
        };
    modeItem(m_btnSendModeAll, L"LID_BTN_SEND_ALL", L"SendModeAll",
             &CInspectorWrapper::m_btnSendModeAll_Click);
    modeItem(m_btnSendModeSep, L"LID_BTN_SEND_SEP", L"SendModeSep",
             &CInspectorWrapper::m_btnSendModeSep_Click);
    modeItem(m_btnSepGrouping, L"LID_BTN_SEP_GROUPING", L"SepGrouping",
             &CInspectorWrapper::m_btnSepGrouping_Click);

    auto openDrafts = next(msoControlButton, L"OpenDrafts");
    openDrafts->SetCaption(lang.Item(L"LID_BTN_OPEN_DRAFTS"));
    openDrafts->SetTooltipText(lang.Item(L"LID_BTN_OPEN_DRAFTS_TIP"));
    openDrafts->SetStyle(mainStyle);
    HookButton(m_btnOpenDrafts, openDrafts, &CInspectorWrapper::m_btnOpenDrafts_Click);
    SetFace(openDrafts, L"BTN_DRAFTS", L"BTN_DRAFTS_MASK");

    auto options = next(msoControlButton, L"Options");
    options->SetCaption(lang.Item(L"LID_BTN_OPTIONS"));
    options->SetTooltipText(lang.Item(L"LID_BTN_OPTIONS_TIP"));
    options->SetStyle(mainStyle);
    HookButton(m_btnOptions, options, &CInspectorWrapper::m_btnOptions_Click);
    SetFace(options, L"BTN_OPTIONS", L"BTN_OPTIONS_MASK");
}

void CInspectorWrapper::RemoveToolbar() {
    if (m_usesStandardBar) {
        for (const auto& control : {m_btnInsertFullName.Get(), m_mnuInsert, m_btnSendMode.Get(),
                                    m_mnuSendMode, m_btnOpenDrafts.Get(), m_btnOptions.Get()}) {
            if (control) {
                Attempt([&] { control->Delete(); });
            }
        }
    } else if (m_toolbar) {
        Attempt([&] { m_toolbar->Delete(); });
    }
    m_toolbar.reset();
    m_usesStandardBar = false;
    DropControls();
}

void CInspectorWrapper::DropControls() {
    m_btnInsertFullName.Reset();
    m_mnuInsert.reset();
    m_btnInsert.Reset();
    m_btnSendMode.Reset();
    m_mnuSendMode.reset();
    m_btnSendModeAll.Reset();
    m_btnSendModeSep.Reset();
    m_btnSepGrouping.Reset();
    m_btnOpenDrafts.Reset();
    m_btnOptions.Reset();
}

void CInspectorWrapper::RecreateToolbar() {
    mGlobals::LogDebug(L"CInspectorWrapper::RecreateToolbar",
                       L"->" + std::to_wstring(m_oInspector->EditorType()), 3);
    RemoveToolbar();
    CreateToolbar();
}

void CInspectorWrapper::SaveToolbarPosition() {
    if (!m_toolbar) {
        return;
    }
    Attempt([&] {
        const int32_t position = m_toolbar->Position();
        const int32_t rowIndex = m_toolbar->RowIndex();
        const int32_t left = m_toolbar->Left();
        const int32_t top = m_toolbar->Top();
        m_services.Options().WriteToolbarPos(false, position, rowIndex, left, top);
    });
}

void CInspectorWrapper::RestoreToolbarPosition() {
    if (!m_toolbar) {
        return;
    }
    int32_t position = 0;
    int32_t rowIndex = 0;
    int32_t left = 0;
    int32_t top = 0;
    m_services.Options().ReadToolbarPos(false, position, rowIndex, left, top);
    Attempt([&] { m_toolbar->SetPosition(position); });
    Attempt([&] { m_toolbar->SetRowIndex(rowIndex); });
    Attempt([&] { m_toolbar->SetLeft(left); });
    Attempt([&] { m_toolbar->SetTop(top); });
}

std::shared_ptr<CommandBarControl> CInspectorWrapper::FindControl(
    const std::shared_ptr<CommandBarControls>& controls, const std::wstring& tag, int32_t type,
    bool recursive) {
    if (!controls) {
        return nullptr;
    }
    const int32_t count = controls->Count();
    for (int32_t i = 1; i <= count; ++i) {
        auto control = controls->Item(i);
        const int32_t controlType = control->Type();
        if (control->Tag() == tag && (type == -1 || controlType == type)) {
            return control;
        }
        if (recursive && controlType == msoControlPopup) {
            if (auto found = FindControl(control->GetCommandBar()->Controls(), tag, type, true)) {
                return found;
            }
        }
    }
    return nullptr;
}

// ---- Send-mode states -------------------------------------------------------------------------

void CInspectorWrapper::ShowSendMode(bool separately) {
    if (!m_btnSendMode) {
        return;
    }
    CLang& lang = m_services.Lang();
    if (!separately) {
        m_btnSendMode->SetCaption(lang.Item(L"LID_BTN_SEND_MODE_ALL"));
        m_btnSendMode->SetTooltipText(lang.Item(L"LID_BTN_SEND_MODE_ALL_TIP"));
        SetFace(m_btnSendMode.Get(), L"BTN_MODEALL", L"BTN_MODEALL_MASK");
        m_btnSendModeAll->SetState(msoButtonDown);
        m_btnSendModeSep->SetState(msoButtonUp);
        m_btnSepGrouping->SetVisible(false);
        return;
    }
    m_btnSendMode->SetCaption(lang.Item(L"LID_BTN_SEND_MODE_SEP"));
    SetFace(m_btnSendMode.Get(), L"BTN_MODESEP", L"BTN_MODESEP_MASK");
    m_btnSendModeAll->SetState(msoButtonUp);
    m_btnSendModeSep->SetState(msoButtonDown);
    m_btnSepGrouping->SetVisible(true);
    UpdateSendModeTip();
}

void CInspectorWrapper::UpdateSendModeTip() {
    if (!m_btnSendMode || !m_btnSendModeSep || m_btnSendModeSep->State() != msoButtonDown) {
        return;
    }
    CLang& lang = m_services.Lang();
    if (m_btnSepGrouping->State() == msoButtonDown) {
        m_btnSendMode->SetTooltipText(lang.Item(L"LID_BTN_SEND_MODE_SEP_GR_TIP",
                                                {Variant(m_services.Options().GroupRecipients())}));
    } else {
        m_btnSendMode->SetTooltipText(lang.Item(L"LID_BTN_SEND_MODE_SEP_TIP"));
    }
}

// ---- Clicks -----------------------------------------------------------------------------------

void CInspectorWrapper::m_btnSendMode_Click(const std::shared_ptr<CommandBarControl>& /*c*/) {
    if (!SendsSeparately()) {
        SetSendModeSep();
    } else {
        SetSendModeAll();
    }
}

void CInspectorWrapper::m_btnSendModeAll_Click(const std::shared_ptr<CommandBarControl>& /*c*/) {
    SetSendModeAll();
}

void CInspectorWrapper::m_btnSendModeSep_Click(const std::shared_ptr<CommandBarControl>& /*c*/) {
    SetSendModeSep();
}

void CInspectorWrapper::m_btnSepGrouping_Click(const std::shared_ptr<CommandBarControl>& /*c*/) {
    SetGrouping(!Grouping());
}

void CInspectorWrapper::m_btnOpenDrafts_Click(const std::shared_ptr<CommandBarControl>& /*c*/) {
    OpenDrafts();
}

void CInspectorWrapper::m_btnInsert_Click(const std::shared_ptr<CommandBarControl>& control) {
    InsertField(control->Parameter());
}

void CInspectorWrapper::m_btnInsertFullName_Click(const std::shared_ptr<CommandBarControl>& /*c*/) {
    InsertField(mReplacements::GetFullNameToken(m_services.Lang()));
}

void CInspectorWrapper::m_btnOptions_Click(const std::shared_ptr<CommandBarControl>& /*c*/) {
    ShowOptions();
}

}  // namespace plexa
