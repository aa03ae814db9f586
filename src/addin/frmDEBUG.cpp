#include "addin/frmDEBUG.h"

#include "core/HostError.h"
#include "distlists/frmChooseDL.h"
#include "host/outlook/OutlookItem.h"
#include "platform/IUiShell.h"
#include "recipients/CRecipientsProps.h"
#include "recipients/frmRecipientProp.h"
#include "separate/CSendPreview.h"
#include "separate/frmEmptyField.h"
#include "separate/frmPreview.h"
#include "separate/frmSeparatlyOptions.h"
#include "settings/IPleaseWait.h"
#include "settings/Services.h"
#include "settings/frmOptions.h"
#include "settings/mGlobals.h"
#include "settings/mHelp.h"
#include "ui/CPleaseWait.h"
#include "ui/frmProgress.h"

namespace plexa {

namespace {

constexpr const wchar_t* kSource = L"frmDEBUG";
// The sample runs take 100 steps of 50 milliseconds: five seconds, long enough to see the
// please-wait window appear and its dots move, and to cancel the progress window in each stage.
constexpr int kSampleSteps = 100;
constexpr uint32_t kStepMilliseconds = 50;

// A sample dialog lives on the stack: whatever ends the run, it leaves the screen before it goes.
class UnloadAtExit {
public:
    UnloadAtExit(IUiShell& ui, Form& form) : m_ui(ui), m_form(form) {}
    ~UnloadAtExit() {
        try {
            IUiShell& ui = m_ui;
            if (ui.IsLoaded(m_form)) {
                ui.Unload(m_form);
            }
        } catch (const HostError& e) {
            mGlobals::LogError(L"frmDEBUG::UnloadAtExit", e);
        }
    }
    UnloadAtExit(const UnloadAtExit&) = delete;
    UnloadAtExit& operator=(const UnloadAtExit&) = delete;

private:
    IUiShell& m_ui;
    Form& m_form;
};

void Pause(Services& services) {
    services.Ports().clock.Sleep(kStepMilliseconds);
    services.LetMessagesRun();
}

void ShowPleaseWaitSample(Services& services) {
    CPleaseWait pleaseWait(services);
    pleaseWait.ActionBegin();
    for (int step = 0; step < kSampleSteps; ++step) {
        Pause(services);
        pleaseWait.Update();
    }
    mGlobals::LogDebug(
        kSource,
        pleaseWait.FormShown() ? L"frmPleaseWait was shown" : L"frmPleaseWait was not shown", 1);
    pleaseWait.ActionEnd();
}

void ShowProgressSample(Services& services) {
    frmProgress progress(services);
    const UnloadAtExit unload(services.Ports().ui, progress);
    services.Ports().ui.Show(progress, false);
    int stage = 1;
    for (; stage <= 3 && !progress.Cancel(); ++stage) {
        progress.ProgressInit(kSampleSteps, stage);
        for (int step = 0; step < kSampleSteps && !progress.Cancel(); ++step) {
            Pause(services);
            progress.ProgressStep();
        }
    }
    const bool cancelled = progress.Cancel();
    progress.ProgressDone();
    mGlobals::LogDebug(kSource,
                       cancelled ? L"frmProgress cancelled in stage " + std::to_wstring(stage - 1)
                                 : std::wstring(L"frmProgress ran through stage 3"),
                       1);
}

void ShowRecipientPropSample(Services& services) {
    RecipientPropArgs args;
    args.recipientName = L"<RecipientName>";
    args.propertyName = L"<Very Long Prop Name>";
    args.value = L"<PropValue>";
    args.contactFound = true;
    args.stayOnTop = true;
    args.caption = services.Options().ProductShortName();
    frmRecipientProp dialog(services, args);
    const UnloadAtExit unload(services.Ports().ui, dialog);
    services.Ports().ui.Show(dialog, true);
    mGlobals::LogDebug(kSource,
                       L"frmRecipientProp " + (args.cancelled ? std::wstring(L"cancelled")
                                                              : L"returned '" + args.value + L"'"),
                       1);
}

void ShowChooseDLSample(Services& services) {
    // The chooser needs no sample: it shows the folders and lists of the mailbox.
    const std::shared_ptr<OutlookItem> list = ShowChooseDList(services);
    mGlobals::LogDebug(kSource,
                       list ? L"frmChooseDL returned '" + list->Subject() + L"'"
                            : std::wstring(L"frmChooseDL cancelled"),
                       1);
}

// Mode 1: the recipient's contact lacks the field; mode 2: no contact was found for the
// recipient, and keeping the copy in Drafts is preselected.
void ShowEmptyFieldSample(Services& services, bool mode2) {
    EmptyFieldArgs args;
    args.recipientName = L"<RecipientName>";
    args.recipientAddress = L"<recipient@address>";
    args.token = L"%LastName%";
    args.value = L"<SuggestedValue>";
    args.contactFound = !mode2;
    args.preselectDrafts = mode2;
    args.contactName = L"<ContactName>";
    args.onTop = true;
    args.caption = services.Options().ProductShortName();
    NoPleaseWait noWindow;
    const bool cancelled = ShowEmptyField(services, noWindow, args);
    mGlobals::LogDebug(kSource,
                       L"frmEmptyField " + (cancelled ? std::wstring(L"cancelled")
                                                      : L"returned '" + args.value + L"'"),
                       1);
}

void ShowSeparatlyOptionsSample(Services& services) {
    ShowSeparatlyOptions(services, true, nullptr);
    COptions& options = services.Options();
    mGlobals::LogDebug(kSource,
                       L"frmSeparatlyOptions: " + std::to_wstring(options.GroupRecipients()) +
                           L" recipients every " + std::to_wstring(options.GroupInterval()) +
                           L" minutes" +
                           (options.ShowSeparatlyOptions() ? L"" : L", not shown again"),
                       1);
}

void ShowPreviewSample(Services& services) {
    CRecipientsProps props;
    props.SetProp(L"ann@acme.example", L"%FirstName%", L"Ann");
    props.SetProp(L"bob@lee.example", L"%FirstName%", L"  ");
    props.SetProp(L"cy@day.example", L"%FirstName%", L"%LastName%");
    CSendPreview preview({L"%FullName%", L"%FirstName%", L"%LastName%", L"%Company%"},
                         {L"%FirstName%"});
    const std::wstring body = L"Dear %FirstName%,\r\nour news for %Compnay%.";
    preview.ScanMessage(L"News for %FirstName%", body);
    preview.AddCopy(L"Ann Smith", L"ann@acme.example", props);
    preview.AddCopy(L"Bob Lee", L"bob@lee.example", props);
    preview.AddCopy(L"Cy Day", L"cy@day.example", props);
    preview.AddCopy(L"Madonna", L"madonna@pop.example", props);
    preview.AddCopy(L"Ann (work)", L"ANN@acme.example", props);
    const bool go = ShowPreview(services, preview, body);
    mGlobals::LogDebug(kSource, go ? L"frmPreview: send" : L"frmPreview: cancelled", 1);
}

}  // namespace

frmDEBUG::frmDEBUG(Services& services, std::function<void()> showOptions)
    : Form(L"frmDEBUG"), m_services(services), m_showOptions(std::move(showOptions)) {
    caption = L"Plexa DEBUG";
    Add(L"lblForms", ControlType::Label).caption = L"Dialog:";
    Add(L"cboForms", ControlType::ComboBox);
    AddButton(L"btnShowForm", L"Show", [this] { btnShowForm_Click(); });
    Add(L"lblTopic", ControlType::Label).caption = L"Help topic:";
    Add(L"txtTopic", ControlType::TextBox);
    AddButton(L"btnShowHelp", L"Help", [this] { btnShowHelp_Click(); });
    AddButton(L"btnClose", L"Close", [this] { btnClose_Click(); });

    // In the order of their names, as the list shows them.
    m_samples = {
        {L"frmChooseDL", ShowChooseDLSample},
        {L"frmEmptyField", [](Services& services) { ShowEmptyFieldSample(services, false); }},
        {L"frmEmptyField (mode2)",
         [](Services& services) { ShowEmptyFieldSample(services, true); }},
        {L"frmOptions",
         [this](Services& services) {
             if (m_showOptions) {
                 m_showOptions();
             } else {
                 ShowOptions(services, true, {});
             }
             mGlobals::LogDebug(kSource, L"frmOptions closed", 1);
         }},
        {L"frmPleaseWait", ShowPleaseWaitSample},
        {L"frmPreview", ShowPreviewSample},
        {L"frmProgress", ShowProgressSample},
        {L"frmRecipientProp", ShowRecipientPropSample},
        {L"frmSeparatlyOptions", ShowSeparatlyOptionsSample},
    };
}

frmDEBUG::~frmDEBUG() {
    try {
        IUiShell& ui = m_services.Ports().ui;
        if (ui.IsLoaded(*this)) {
            ui.Unload(*this);
        }
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmDEBUG::Class_Terminate", e);
    }
}

std::vector<std::wstring> frmDEBUG::FormNames() const {
    std::vector<std::wstring> names;
    names.reserve(m_samples.size());
    for (const Sample& sample : m_samples) {
        names.push_back(sample.formName);
    }
    return names;
}

void frmDEBUG::OnLoad() {
    // A developer's window: its few captions stay English, and it has no language section.
    picture = m_services.Options().MAIN_ICON();
    Control& forms = (*this)[L"cboForms"];
    forms.items = FormNames();
    forms.listIndex = 0;
    forms.text = forms.items.front();
}

void frmDEBUG::btnShowForm_Click() {
    const Control& forms = (*this)[L"cboForms"];
    if (forms.listIndex < 0 || forms.listIndex >= static_cast<int32_t>(m_samples.size())) {
        return;
    }
    const Sample& sample = m_samples[static_cast<std::size_t>(forms.listIndex)];
    mGlobals::LogDebug(kSource, L"show " + sample.formName, 1);
    try {
        sample.show(m_services);
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmDEBUG::btnShowForm_Click", e);
    }
}

void frmDEBUG::btnShowHelp_Click() {
    mHelp::ShowHelpTopic(m_services, (*this)[L"txtTopic"].text);
}

void frmDEBUG::btnClose_Click() {
    try {
        m_services.Ports().ui.Unload(*this);
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmDEBUG::btnClose_Click", e);
    }
}

}  // namespace plexa
