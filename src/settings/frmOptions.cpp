#include "settings/frmOptions.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "core/HostError.h"
#include "core/ImageCombo.h"
#include "core/Text.h"
#include "core/Variant.h"
#include "platform/IUiShell.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"
#include "settings/mHelp.h"
#include "settings/mMisc.h"

namespace plexa {

namespace {

constexpr int32_t kPages = 3;
constexpr const wchar_t* kPage = L"picPage";

// A yes/no setting shown by a check box.
struct CheckSetting {
    const wchar_t* control;
    bool (*get)(const COptions&);
    bool (*set)(COptions&, bool);
};

// Written first on OK: the exclusions and the flag marking.
constexpr CheckSetting kFirstChecks[] = {
    {L"chkExcludeDuplicates", [](const COptions& o) { return o.ExcludeDuplicates(); },
     [](COptions& o, bool v) { return o.ExcludeDuplicates(v); }},
    {L"chkExcludePrivateContacts", [](const COptions& o) { return o.ExcludePrivateContacts(); },
     [](COptions& o, bool v) { return o.ExcludePrivateContacts(v); }},
    {L"chkExcludeReplied", [](const COptions& o) { return o.ExcludeReplied(); },
     [](COptions& o, bool v) { return o.ExcludeReplied(v); }},
    {L"chkExcludeLinkItems", [](const COptions& o) { return o.ExcludeLinkItems(); },
     [](COptions& o, bool v) { return o.ExcludeLinkItems(v); }},
    {L"chkMarkWithFlag", [](const COptions& o) { return o.MarkWithFlag(); },
     [](COptions& o, bool v) { return o.MarkWithFlag(v); }},
    {L"chkClearMarking", [](const COptions& o) { return o.ClearMarking(); },
     [](COptions& o, bool v) { return o.ClearMarking(v); }},
};

// Written after the toolbar's look has been read: the look and the copies to include.
constexpr CheckSetting kLaterChecks[] = {
    {L"chkSeparateBar", [](const COptions& o) { return o.SeparateBar(); },
     [](COptions& o, bool v) { return o.SeparateBar(v); }},
    {L"chkSeparateTab", [](const COptions& o) { return o.SeparateTab(); },
     [](COptions& o, bool v) { return o.SeparateTab(v); }},
    {L"chkShowCaptions", [](const COptions& o) { return o.ShowBtnCaptions(); },
     [](COptions& o, bool v) { return o.ShowBtnCaptions(v); }},
    {L"chkIncludeCC", [](const COptions& o) { return o.IncludeCC(); },
     [](COptions& o, bool v) { return o.IncludeCC(v); }},
    {L"chkIncludeBCC", [](const COptions& o) { return o.IncludeBCC(); },
     [](COptions& o, bool v) { return o.IncludeBCC(v); }},
    {L"chkPreviewBeforeSend", [](const COptions& o) { return o.PreviewBeforeSend(); },
     [](COptions& o, bool v) { return o.PreviewBeforeSend(v); }},
};

// The flag choices: the language key of the text, the image list's key, and the tag (flag
// status, then colour icon).
struct FlagChoice {
    const wchar_t* key;
    const wchar_t* image;
    const wchar_t* tag;
};

constexpr FlagChoice kFlags2003[] = {
    {L"LID_FLAG_RED", L"red", L"2,6"},       {L"LID_FLAG_BLUE", L"blue", L"2,5"},
    {L"LID_FLAG_YELLOW", L"yellow", L"2,4"}, {L"LID_FLAG_GREEN", L"green", L"2,3"},
    {L"LID_FLAG_ORANGE", L"orange", L"2,2"}, {L"LID_FLAG_PURPLE", L"purple", L"2,1"},
};
constexpr FlagChoice kFlagsBefore2003[] = {
    {L"LID_FLAG_FOLLOWUP", L"followup", L"2,0"},
};

// Controls that lie in a container.
Control& AddIn(Form& form, const std::wstring& container, const std::wstring& name,
               ControlType type, const std::wstring& caption = L"") {
    Control& c = form.Add(name, type);
    c.container = container;
    c.caption = caption;
    return c;
}

// A text box with its up-down control, whose arrows write their value into the box.
void AddSpinner(Form& form, const std::wstring& container, const std::wstring& textBox,
                const std::wstring& upDown, int32_t min, int32_t max) {
    AddIn(form, container, textBox, ControlType::TextBox).text = std::to_wstring(min);
    Control& spin = AddIn(form, container, upDown, ControlType::UpDown);
    spin.min = min;
    spin.max = max;
    spin.value = min;
    spin.onChange = [&form, textBox, upDown] {
        form[textBox].text = std::to_wstring(form[upDown].value);
    };
}

// Puts a setting into a text box and its up-down control, kept to the control's range.
int32_t SetSpinner(Form& form, const std::wstring& textBox, const std::wstring& upDown,
                   int32_t value) {
    Control& spin = form[upDown];
    spin.value = std::clamp(value, spin.min, spin.max);
    form[textBox].text = std::to_wstring(spin.value);
    return spin.value;
}

std::wstring PageName(int32_t page) {
    return std::wstring(kPage) + L"(" + std::to_wstring(page) + L")";
}

// Unloads the dialog if it is still loaded when the show operation ends, however it ends.
class UnloadWhenDone {
public:
    UnloadWhenDone(IUiShell& ui, Form& form) : m_ui(ui), m_form(form) {}
    ~UnloadWhenDone() {
        try {
            if (m_ui.IsLoaded(m_form)) {
                m_ui.Unload(m_form);
            }
        } catch (const HostError& e) {
            mGlobals::LogError(L"frmOptions::ShowOptions", e);
        }
    }
    UnloadWhenDone(const UnloadWhenDone&) = delete;
    UnloadWhenDone& operator=(const UnloadWhenDone&) = delete;

private:
    IUiShell& m_ui;
    Form& m_form;
};

}  // namespace

frmOptions::frmOptions(Services& services, bool onTop, std::function<void()> recreateInspectorBars)
    : Form(L"frmOptions"),
      m_services(services),
      m_onTop(onTop),
      m_recreateInspectorBars(std::move(recreateInspectorBars)) {
    caption = L"Plexa - Options";
    Control& tabs = Add(L"ctlTabs", ControlType::TabStrip);
    tabs.items = {L"Recipient List Options", L"Appearance options", L"Send Separately Options"};
    tabs.listIndex = 0;
    tabs.onClick = [this] { ctlTabs_Click(); };
    for (int32_t page = 0; page < kPages; ++page) {
        Add(kPage, ControlType::PictureBox, page).visible = page == 0;
    }

    // Page 1: the recipient list.
    const std::wstring page1 = PageName(0);
    AddIn(*this, page1, L"Frame1", ControlType::Frame,
          L"Exclude the following items from the recipient list");
    AddIn(*this, L"Frame1", L"chkExcludeDuplicates", ControlType::CheckBox,
          L"Exclude duplicate recipients e-mail addresses");
    AddIn(*this, L"Frame1", L"chkExcludePrivateContacts", ControlType::CheckBox,
          L"Exclude Private contacts");
    AddIn(*this, L"Frame1", L"chkExcludeReplied", ControlType::CheckBox,
          L"Exclude e-mail messages already replied");
    AddIn(*this, L"Frame1", L"chkExcludeLinkItems", ControlType::CheckBox,
          L"Exclude contacts assigned to tasks, meetings and appointments.");
    AddIn(*this, L"Frame1", L"Label2", ControlType::Label, L"Note:");
    AddIn(*this, L"Frame1", L"Label1", ControlType::Label,
          L"When an item is selected on the Folder pane manually, it is included to the "
          L"recipient list regardless of these options.");
    AddIn(*this, page1, L"fraInclude", ControlType::Frame,
          L"Include the following e-mail addresses in the recipient list");
    AddIn(*this, L"fraInclude", L"Label3", ControlType::Label,
          L"For Outbox, Drafts and Sent items:");
    AddIn(*this, L"fraInclude", L"chkIncludeCC", ControlType::CheckBox, L"Cc");
    AddIn(*this, L"fraInclude", L"chkIncludeBCC", ControlType::CheckBox, L"Bcc");

    // Page 2: appearance.
    const std::wstring page2 = PageName(1);
    AddIn(*this, page2, L"Frame2", ControlType::Frame, L"Setup controls options");
    AddIn(*this, L"Frame2", L"chkSeparateBar", ControlType::CheckBox, L"Show separate toolbar");
    AddIn(*this, L"Frame2", L"chkShowCaptions", ControlType::CheckBox, L"Show button captions");
    AddIn(*this, L"Frame2", L"chkSeparateTab", ControlType::CheckBox,
          L"Show in separate tab (needs restart)");
    AddIn(*this, page2, L"Frame3", ControlType::Frame,
          L"Flag messages saved in Drafts using Plexa");
    AddIn(*this, L"Frame3", L"chkMarkWithFlag", ControlType::CheckBox,
          L"Add a flag to the messages:");
    ImageCombo& flags = AddControl<ImageCombo>(L"cboFlag");
    flags.container = L"Frame3";
    flags.imageList = L"imgFlags";
    AddIn(*this, L"Frame3", L"chkClearMarking", ControlType::CheckBox,
          L"Remove a flag when the message is sent");

    // Page 3: separate sending.
    const std::wstring page3 = PageName(2);
    AddIn(*this, page3, L"chkSeparatlyDefault", ControlType::CheckBox,
          L"By default send a separate e-mail to each recipient");
    AddIn(*this, page3, L"chkPreviewBeforeSend", ControlType::CheckBox,
          L"Preview every personal copy before sending");
    AddIn(*this, page3, L"Frame4", ControlType::Frame, L"Select group size and time interval:");
    AddIn(*this, L"Frame4", L"Label4", ControlType::Label,
          L"Set recipients group size and time interval for e-mails to be sent to each group.");
    AddIn(*this, L"Frame4", L"Label5", ControlType::Label, L"Group size:");
    AddSpinner(*this, L"Frame4", L"txtGroupRecipients", L"udGroupRecipients", kMinRecipients,
               kMaxRecipients);
    AddIn(*this, L"Frame4", L"Label6", ControlType::Label, L"recipients");
    AddIn(*this, L"Frame4", L"Label7", ControlType::Label, L"Time interval per group:");
    AddSpinner(*this, L"Frame4", L"txtGroupInterval", L"udGroupInterval", kMinInterval,
               kMaxInterval);
    AddIn(*this, L"Frame4", L"Label8", ControlType::Label, L"minutes");

    // The tab captions, kept in hidden labels so that they are localised like any label.
    const wchar_t* tabCaptions[kPages] = {L"Recipient List Options", L"Appearance options",
                                          L"Send Separately Options"};
    for (int32_t i = 0; i < kPages; ++i) {
        Control& label = Add(L"lblTab" + std::to_wstring(i + 1), ControlType::Label);
        label.caption = tabCaptions[i];
        label.visible = false;
    }

    AddButton(L"btnOK", L"OK", [this] { btnOK_Click(); });
    AddButton(L"btnCancel", L"Cancel", [this] { btnCancel_Click(); });
    AddButton(L"btnHelp", L"&Help", [this] { btnHelp_Click(); });
}

ImageCombo& frmOptions::FlagCombo() {
    return dynamic_cast<ImageCombo&>((*this)[L"cboFlag"]);
}

void frmOptions::OnLoad() {
    m_activatedOnce = false;
    m_topmost = false;
    m_hasFocus = false;
    m_loadedValues.clear();
    m_unread.clear();
    try {
        Load();
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmOptions::Form_Load", e);
    }
}

void frmOptions::NoteLoaded(const std::wstring& control, int32_t shown, bool readFailed) {
    m_loadedValues[control] = shown;
    if (readFailed) {
        m_unread.insert(control);
    }
}

void frmOptions::Load() {
    Form& form = *this;
    m_services.Lang().LocalizeForm(form);
    Control& tabs = form[L"ctlTabs"];
    for (int32_t i = 0; i < kPages && i < static_cast<int32_t>(tabs.items.size()); ++i) {
        tabs.items[static_cast<std::size_t>(i)] = form[L"lblTab" + std::to_wstring(i + 1)].caption;
    }

    const int32_t version = mMisc::GetOutlookVersion(m_services);
    form[L"chkSeparateBar"].visible = version < 12;
    form[L"chkSeparateTab"].visible = version >= 12;

    picture = m_services.Options().MAIN_ICON();

    COptions& options = m_services.Options();
    using Checks = std::span<const CheckSetting>;
    for (const Checks table : {Checks(kFirstChecks), Checks(kLaterChecks)}) {
        for (const CheckSetting& setting : table) {
            const int32_t ticked = setting.get(options) ? 1 : 0;
            NoteLoaded(setting.control, ticked, options.LastReadFailed());
            form[setting.control].value = ticked;
        }
    }
    const int32_t sendMode = options.DefaultSendMode() != 0 ? 1 : 0;
    NoteLoaded(L"chkSeparatlyDefault", sendMode, options.LastReadFailed());
    form[L"chkSeparatlyDefault"].value = sendMode;

    const int32_t recipients = options.GroupRecipients();
    bool failed = options.LastReadFailed();
    NoteLoaded(L"txtGroupRecipients",
               SetSpinner(form, L"txtGroupRecipients", L"udGroupRecipients", recipients), failed);
    const int32_t interval = options.GroupInterval();
    failed = options.LastReadFailed();
    NoteLoaded(L"txtGroupInterval",
               SetSpinner(form, L"txtGroupInterval", L"udGroupInterval", interval), failed);

    FillFlags(version);

    if (version <= 9) {
        for (const wchar_t* name : {L"chkExcludePrivateContacts", L"chkExcludeReplied",
                                    L"chkExcludeLinkItems", L"Label2", L"Label1"}) {
            form[name].visible = false;
        }
    }
    ShowPage(0);
}

void frmOptions::FillFlags(int32_t version) {
    COptions& options = m_services.Options();
    ImageCombo& combo = FlagCombo();
    combo.ClearItems();
    const bool from2003 = version >= 11;
    const auto fill = [&](const auto& choices) {
        for (const FlagChoice& choice : choices) {
            combo.AddItem(m_services.Lang().Item(choice.key), choice.image, choice.tag);
        }
    };
    if (from2003) {
        fill(kFlags2003);
    } else {
        fill(kFlagsBefore2003);
    }
    combo.Select(0);
    const int32_t flag = options.Flag();
    bool failed = options.LastReadFailed();
    const int32_t flag2003 = options.Flag2003();
    failed = failed || options.LastReadFailed();
    const std::wstring stored = std::to_wstring(flag) + L"," + std::to_wstring(flag2003);
    const auto& items = combo.ComboItems();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].tag == stored) {
            combo.Select(static_cast<int32_t>(i));
            break;
        }
    }
    // Without the host's version the choices may be the wrong table.
    NoteLoaded(L"cboFlag", combo.listIndex, failed || version == 0);
}

void frmOptions::ShowPage(int32_t page) {
    for (int32_t i = 0; i < kPages; ++i) {
        if (Control* c = Find(kPage, i)) {
            c->visible = i == page;
        }
    }
    (*this)[L"ctlTabs"].listIndex = page;
    m_shownPage = page;
}

void frmOptions::OnActivate() {
    if (m_activatedOnce) {
        return;
    }
    m_activatedOnce = true;
    if (m_onTop) {
        m_topmost = true;
        m_hasFocus = true;
        mGlobals::LogDebug(L"frmOptions->Activate", L" set focus on me", 1);
    }
}

void frmOptions::ctlTabs_Click() {
    const int32_t selected = (*this)[L"ctlTabs"].listIndex;
    if (selected >= 0 && selected < kPages) {
        ShowPage(selected);
    }
}

bool frmOptions::MayWrite(const std::wstring& control, int32_t valueNow) const {
    if (!m_unread.contains(control)) {
        return true;
    }
    const auto loaded = m_loadedValues.find(control);
    return loaded == m_loadedValues.end() || loaded->second != valueNow;
}

int32_t frmOptions::ReadValue(const std::wstring& textBox, const std::wstring& upDown) {
    const Control& spin = (*this)[upDown];
    const Locale& locale = m_services.Ports().locale;
    const std::wstring typedText = text::Trim((*this)[textBox].text);
    const Variant typed(typedText);
    double number = spin.value;
    try {
        if (!typedText.empty() && IsNumeric(typed, locale)) {
            // The nearest integer, ties to the even one, as the host converts.
            number = std::nearbyint(CDbl(typed, locale));
        }
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): no number, the control's value
    }
    if (std::isnan(number)) {
        number = spin.value;
    }
    return static_cast<int32_t>(
        std::clamp(number, static_cast<double>(spin.min), static_cast<double>(spin.max)));
}

void frmOptions::Save() {
    Form& form = *this;
    COptions& options = m_services.Options();

    for (const CheckSetting& setting : kFirstChecks) {
        const int32_t ticked = form[setting.control].value != 0 ? 1 : 0;
        if (MayWrite(setting.control, ticked)) {
            setting.set(options, ticked != 0);
        }
    }

    const ComboItem* chosen = FlagCombo().SelectedItem();
    if (chosen != nullptr && MayWrite(L"cboFlag", FlagCombo().listIndex)) {
        const std::vector<std::wstring> parts = text::Split(chosen->tag, L",");
        options.Flag(CLng(Variant(parts.front())));
        options.Flag2003(CLng(Variant(parts.back())));
    }

    // The toolbar's look as it is stored now; a look that cannot be read counts as changed.
    const bool barBefore = options.SeparateBar();
    const bool barUnsure = options.LastReadFailed();
    const bool captionsBefore = options.ShowBtnCaptions();
    const bool captionsUnsure = options.LastReadFailed();
    bool lookChanged = false;
    for (const CheckSetting& setting : kLaterChecks) {
        const int32_t ticked = form[setting.control].value != 0 ? 1 : 0;
        if (!MayWrite(setting.control, ticked) || !setting.set(options, ticked != 0)) {
            continue;
        }
        const std::wstring name = setting.control;
        if (name == L"chkSeparateBar") {
            lookChanged = lookChanged || barUnsure || (ticked != 0) != barBefore;
        } else if (name == L"chkShowCaptions") {
            lookChanged = lookChanged || captionsUnsure || (ticked != 0) != captionsBefore;
        }
    }

    const int32_t recipients = ReadValue(L"txtGroupRecipients", L"udGroupRecipients");
    if (MayWrite(L"txtGroupRecipients", recipients)) {
        options.GroupRecipients(recipients);
    }
    const int32_t interval = ReadValue(L"txtGroupInterval", L"udGroupInterval");
    if (MayWrite(L"txtGroupInterval", interval)) {
        options.GroupInterval(interval);
    }

    const int32_t sendMode = form[L"chkSeparatlyDefault"].value != 0 ? 1 : 0;
    if (MayWrite(L"chkSeparatlyDefault", sendMode)) {
        options.DefaultSendMode(sendMode);
    }

    if (lookChanged && m_recreateInspectorBars) {
        try {
            m_recreateInspectorBars();
        } catch (const HostError& e) {
            mGlobals::LogError(L"frmOptions::btnOK_Click", e);
        }
    }
}

void frmOptions::btnOK_Click() {
    try {
        Save();
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmOptions::btnOK_Click", e);
    }
    Close();
}

void frmOptions::btnCancel_Click() {
    Close();
}

void frmOptions::btnHelp_Click() {
    mHelp::ShowHelpTopic(m_services, kHelpTopic);
}

void frmOptions::Close() {
    unloaded = true;
    try {
        m_services.Ports().ui.Unload(*this);
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmOptions::Close", e);
    }
}

void ShowOptions(Services& services, bool onTop, const OptionsHooks& hooks) {
    IUiShell& ui = services.Ports().ui;
    {
        frmOptions dialog(services, onTop, hooks.recreateInspectorBars);
        // Told last, so the owner hears of the dialog's end before it goes.
        const struct Showing {
            const std::function<void(Form*)>& tell;
            ~Showing() {
                if (tell) {
                    tell(nullptr);
                }
            }
        } showing{hooks.showing};
        const UnloadWhenDone unload(ui, dialog);
        if (hooks.showing) {
            hooks.showing(&dialog);
        }
        try {
            ui.Show(dialog, true);
        } catch (const HostError& e) {
            mGlobals::LogError(L"frmOptions::ShowOptions", e);
        }
    }
    if (hooks.updateInspectorButtons) {
        try {
            hooks.updateInspectorButtons();
        } catch (const HostError& e) {
            mGlobals::LogError(L"frmOptions::ShowOptions", e);
        }
    }
}

}  // namespace plexa
