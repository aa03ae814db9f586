#include "sim/SimDesktop.h"

#include <algorithm>

#include "core/Text.h"
#include "host/outlook/OlConstants.h"
#include "sim/office/SimCommandBarControl.h"
#include "sim/office/mBuiltInBars.h"
#include "sim/windows/ScriptError.h"

namespace plexa::sim {

namespace {

constexpr const wchar_t* kWordCompanionClass = L"ThunderRT6FormDC";
constexpr const wchar_t* kWordCompanionTitle = L"Orvin.Plexa.WordAddin";
constexpr const wchar_t* kWordCommand = L"SendTextByKeyPress,";

std::wstring PlainCaption(const std::wstring& caption) {
    std::wstring plain;
    for (wchar_t c : caption) {
        if (c != L'&') {
            plain += c;
        }
    }
    while (plain.ends_with(L"...")) {
        plain.resize(plain.size() - 3);
    }
    return text::Trim(plain);
}

bool Matches(const SimCommandBarControl& c, const std::wstring& step) {
    if (step.starts_with(L"#")) {
        return std::to_wstring(c.BuiltInId()) == step.substr(1);
    }
    if (step.starts_with(L"tag=")) {
        return c.TagText() == step.substr(4);
    }
    return text::EqualsNoCase(PlainCaption(c.CaptionText()), PlainCaption(step));
}

// The first control matching a step, depth first through the menus of the bars.
std::shared_ptr<SimCommandBarControl> FindAnywhere(const SimCommandBar& bar,
                                                   const std::wstring& step) {
    for (const auto& c : bar.Items()) {
        if (Matches(*c, step)) {
            return c;
        }
        if (c->PopupBar()) {
            if (auto found = FindAnywhere(*c->PopupBar(), step)) {
                return found;
            }
        }
    }
    return nullptr;
}

std::vector<std::wstring> SplitPath(const std::wstring& path) {
    std::vector<std::wstring> steps;
    for (const auto& part : text::Split(path, L"/")) {
        const std::wstring step = text::Trim(part);
        if (!step.empty()) {
            steps.push_back(step);
        }
    }
    if (steps.empty()) {
        throw ScriptError(L"no control named in \"" + path + L"\"");
    }
    return steps;
}

void DescribeBar(const SimCommandBar& bar, int depth, std::wstring& out) {
    for (const auto& c : bar.Items()) {
        std::wstring line(static_cast<std::size_t>(depth) * 2, L' ');
        line += c->ControlType() == msoControlPopup ? L"popup" : L"button";
        line += L" \"" + c->CaptionText() + L"\"";
        if (c->BuiltInId() != 1) {
            line += L" #" + std::to_wstring(c->BuiltInId());
        }
        if (!c->TagText().empty()) {
            line += L" tag=" + c->TagText();
        }
        if (!c->IsVisible()) {
            line += L" hidden";
        }
        if (!c->IsEnabled()) {
            line += L" disabled";
        }
        if (c->StartsGroup()) {
            line += L" group";
        }
        if (c->StateValue() == msoButtonDown) {
            line += L" pressed";
        }
        if (c->ControlType() == msoControlButton && c->StyleValue() != 0) {
            line += L" style " + std::to_wstring(c->StyleValue());
        }
        if (!c->FaceText().empty() && !c->IsBuiltIn()) {
            line += L" " + c->FaceText();
        }
        if (!c->Tooltip().empty()) {
            line += L" tip \"" + c->Tooltip() + L"\"";
        }
        if (!c->ParameterText().empty()) {
            line += L" parameter \"" + c->ParameterText() + L"\"";
        }
        if (c->IsTemporary()) {
            line += L" temporary";
        }
        out += line + L"\n";
        if (c->PopupBar()) {
            DescribeBar(*c->PopupBar(), depth + 1, out);
        }
    }
}

}  // namespace

SimDesktop::SimDesktop(SimPlatform& platform)
    : SimDesktop(platform, std::make_unique<SimHost>(platform), nullptr) {}

SimDesktop::SimDesktop(SimPlatform& platform, SimHost& host)
    : SimDesktop(platform, nullptr, &host) {}

SimDesktop::SimDesktop(SimPlatform& platform, std::unique_ptr<SimHost> owned, SimHost* hostPtr)
    : platform(platform),
      host(hostPtr != nullptr ? *hostPtr : *owned),
      office(platform.faults, platform.clipboard,
             [this] { return host.session.outlookMajorVersion; }),
      ribbons(platform.faults, nullptr, [this] { return host.session.outlookMajorVersion; }),
      redemption(host.outlook),
      companions(host.outlook),
      m_ownedHost(std::move(owned)) {
    Wire();
}

SimDesktop::~SimDesktop() {
    host.outlook.activeExplorer = nullptr;
    host.outlook.display = nullptr;
    host.outlook.askToSaveChanges = nullptr;
    platform.keyboard.focus = nullptr;
    platform.ui.onFormActivated = nullptr;
    platform.ui.hostWindow = nullptr;
    StopWordCompanion();
    for (const auto& window : m_windows) {
        window->m_bars->Close();
        if (window->m_ribbon) {
            ribbons.Close(window->m_ribbon);
        }
        window->m_closed = true;
    }
    m_active.reset();
    host.application->explorers->items.clear();
    host.application->inspectors->items.clear();
}

void SimDesktop::Wire() {
    host.outlook.activeExplorer = [this]() -> std::shared_ptr<Explorer> {
        return ActiveExplorer();
    };
    host.outlook.display = [this](const std::shared_ptr<OutlookItem>& item) {
        OpenInspector(item);
    };
    host.outlook.askToSaveChanges = [this] { return AskToSaveChanges(); };
    platform.keyboard.focus = [this](const KeyStroke& key) { Focus(key); };
    platform.ui.onFormActivated = [this](Form* form) { m_activeForm = form; };
    platform.ui.hostWindow = [this]() -> WindowHandle { return m_active ? m_active->Hwnd() : 0; };
}

HostPorts SimDesktop::Ports() {
    HostPorts ports;
    ports.application = host.application;
    ports.redemption = &redemption;
    ports.companions = &companions;
    return ports;
}

std::shared_ptr<SimExplorer> SimDesktop::OpenExplorer(FolderRecord& folder, bool activate) {
    host.outlook.Check(L"Explorers.Add", folder.Name());
    auto explorer = std::make_shared<SimExplorer>(*this, host.outlook, folder);
    explorer->m_bars = std::make_shared<SimCommandBars>(office, explorer->WindowName());
    mBuiltInBars::AddExplorerBars(*explorer->m_bars, folder.DefaultItemType());
    if (MajorVersion() >= 14) {
        explorer->m_ribbon =
            ribbons.Open(L"Microsoft.Outlook.Explorer", explorer, explorer->WindowName());
    }
    host.application->explorers->items.push_back(explorer);
    m_windows.insert(m_windows.begin(), explorer);  // behind the others until activated
    host.application->explorers->NewExplorer.Emit(explorer);
    if (activate && !explorer->IsClosed()) {
        Activate(explorer);
    }
    return explorer;
}

std::shared_ptr<SimExplorer> SimDesktop::OpenExplorer(int32_t defaultFolder, bool activate) {
    FolderRecord* folder = host.session.DefaultFolder(defaultFolder);
    if (folder == nullptr) {
        throw ScriptError(L"the default store has no default folder " +
                          std::to_wstring(defaultFolder));
    }
    return OpenExplorer(*folder, activate);
}

std::wstring SimDesktop::RibbonIdFor(const ItemRecord& item) const {
    switch (item.ObjectClass()) {
        case olMail: {
            FolderRecord* drafts = item.Store().DefaultFolder(olFolderDrafts);
            FolderRecord* outbox = item.Store().DefaultFolder(olFolderOutbox);
            const bool composing =
                item.Folder() == nullptr || item.Folder() == drafts || item.Folder() == outbox;
            return composing ? L"Microsoft.Outlook.Mail.Compose" : L"Microsoft.Outlook.Mail.Read";
        }
        case olContact:
            return L"Microsoft.Outlook.Contact";
        case olDistributionList:
            return L"Microsoft.Outlook.DistributionList";
        case olAppointment:
            return L"Microsoft.Outlook.Appointment";
        case olTask:
            return L"Microsoft.Outlook.Task";
        default:
            return L"Microsoft.Outlook.Post.Read";
    }
}

int32_t SimDesktop::EditorTypeFor(const ItemRecord& item) const {
    if (MajorVersion() >= 12 || (wordEditor && item.ObjectClass() == olMail)) {
        return olEditorWord;
    }
    if (item.ObjectClass() != olMail) {
        return olEditorRTF;
    }
    switch (item.BodyFormat()) {
        case olFormatPlain:
            return olEditorText;
        case olFormatRichText:
            return olEditorRTF;
        default:
            return olEditorHTML;
    }
}

std::shared_ptr<SimInspector> SimDesktop::OpenInspector(const std::shared_ptr<OutlookItem>& item) {
    auto handle = SimOutlook::HandleOf(item);
    if (!handle) {
        throw HostError(E_INVALIDARG, L"The item is not an item of this session.",
                        L"Microsoft Outlook");
    }
    const auto& record = handle->Stored();
    for (const auto& open : Inspectors()) {
        if (open->ShownItem()->Stored() == record) {
            Activate(open);
            return open;
        }
    }
    auto inspector =
        std::make_shared<SimInspector>(*this, host.outlook, handle, EditorTypeFor(handle->Read()));
    inspector->m_bars = std::make_shared<SimCommandBars>(office, inspector->WindowName());
    mBuiltInBars::AddInspectorBars(*inspector->m_bars);
    host.application->inspectors->items.push_back(inspector);
    m_windows.insert(m_windows.begin(), inspector);
    host.application->inspectors->NewInspector.Emit(inspector);
    if (MajorVersion() >= 12 && !inspector->IsClosed()) {
        inspector->m_ribbon =
            ribbons.Open(RibbonIdFor(*record), inspector, inspector->WindowName());
    }
    if (!inspector->IsClosed()) {
        Activate(inspector);
    }
    return inspector;
}

void SimDesktop::Activate(const std::shared_ptr<SimWindow>& window) {
    if (!window || window->IsClosed()) {
        throw ScriptError(L"that window is closed");
    }
    if (window->m_handle == 0) {
        window->m_handle = m_nextWindowHandle += 0x10;
    }
    if (m_active == window && m_activeForm == nullptr) {
        return;
    }
    CloseContextMenu();
    std::erase(m_windows, window);
    m_windows.push_back(window);
    m_active = window;
    m_activeForm = nullptr;
    window->RaiseActivate();
    if (!window->IsClosed()) {
        window->m_bars->OnUpdate.Emit();
    }
    if (!window->IsClosed() && window->m_ribbon) {
        ribbons.Refresh(*window->m_ribbon);
    }
}

void SimDesktop::SwitchFolder(const std::shared_ptr<SimExplorer>& explorer, FolderRecord& folder) {
    if (explorer->IsClosed()) {
        throw ScriptError(L"that folder window is closed");
    }
    if (explorer->m_folder == &folder) {
        return;
    }
    const bool hadSelection = !explorer->m_selection.empty();
    explorer->m_folder = &folder;
    explorer->m_selection.clear();
    CloseContextMenu();
    mBuiltInBars::SetActionsMenu(*explorer->m_bars, folder.DefaultItemType());
    explorer->FolderSwitch.Emit();
    if (hadSelection && !explorer->IsClosed()) {
        explorer->SelectionChange.Emit();
    }
    if (!explorer->IsClosed()) {
        explorer->m_bars->OnUpdate.Emit();
    }
}

void SimDesktop::Select(const std::shared_ptr<SimExplorer>& explorer,
                        const std::vector<std::shared_ptr<ItemRecord>>& items) {
    for (const auto& item : items) {
        if (item->Folder() != explorer->m_folder) {
            throw ScriptError(L"an item to select is not in the folder " +
                              explorer->m_folder->Name());
        }
    }
    Activate(explorer);
    explorer->m_selection = items;
    explorer->SelectionChange.Emit();
    if (!explorer->IsClosed()) {
        explorer->m_bars->OnUpdate.Emit();
    }
}

void SimDesktop::Remove(const std::shared_ptr<SimWindow>& window) {
    const bool wasFront = m_active == window;
    if (m_contextExplorer == window) {
        CloseContextMenu();
    }
    window->m_closed = true;
    std::erase(m_windows, window);
    std::erase_if(host.application->explorers->items,
                  [&window](const auto& e) { return e == window->HostObject(); });
    std::erase_if(host.application->inspectors->items,
                  [&window](const auto& i) { return i == window->HostObject(); });
    window->m_bars->Close();
    if (window->m_ribbon) {
        ribbons.Close(window->m_ribbon);
    }
    if (wasFront) {
        m_active = nullptr;
        BringNextToFront();
    }
}

void SimDesktop::BringNextToFront() {
    if (m_windows.empty()) {
        return;
    }
    auto next = m_windows.back();
    m_active = next;
    m_activeForm = nullptr;
    next->RaiseActivate();
    if (!next->IsClosed()) {
        next->m_bars->OnUpdate.Emit();
    }
}

void SimDesktop::CloseExplorer(const std::shared_ptr<SimExplorer>& explorer) {
    if (explorer->IsClosed()) {
        throw ScriptError(L"that folder window is closed already");
    }
    host.outlook.Check(L"Explorer.Close", explorer->m_folder->Name());
    explorer->OnClose.Emit();
    Remove(explorer);
}

void SimDesktop::CloseInspector(const std::shared_ptr<SimInspector>& inspector, int32_t saveMode) {
    if (inspector->IsClosed()) {
        throw ScriptError(L"that message window is closed already");
    }
    const std::shared_ptr<ItemHandle> handle = inspector->ShownItem();
    const std::shared_ptr<ItemRecord> record = handle->Stored();
    bool cancel = false;
    record->Close.Emit(cancel);
    if (cancel) {
        return;
    }
    bool save = saveMode == olSave;
    // The close box asks only when there is something to save.
    if (saveMode == olPromptForSave && handle->HasChanges() && !record->IsRemoved()) {
        const int32_t answer = AskToSaveChanges();
        if (answer == mb::IdCancel) {
            return;
        }
        save = answer == mb::IdYes;
    }
    bool saved = false;
    if (save && !record->IsRemoved()) {
        bool cancelWrite = false;
        record->Write.Emit(cancelWrite);
        if (!cancelWrite && !record->IsRemoved()) {
            handle->Save();
            saved = true;
        }
    }
    if (!saved) {
        handle->Drop();
    }
    inspector->OnClose.Emit();
    Remove(inspector);
}

SimDesktop::SendOutcome SimDesktop::PressSend(const std::shared_ptr<SimInspector>& inspector) {
    if (!inspector || inspector->IsClosed()) {
        throw ScriptError(L"that message window is closed");
    }
    constexpr const wchar_t* kSendButton = L"#2617";
    std::shared_ptr<SimCommandBarControl> button;
    for (const auto& bar : inspector->m_bars->Bars()) {
        if (!bar->IsDeleted() && (button = FindAnywhere(*bar, kSendButton))) {
            break;
        }
    }
    if (!button) {
        throw ScriptError(inspector->WindowName() + L" has no Send button");
    }
    if (office.Click(button)) {
        return SendOutcome::ClickCancelled;
    }
    const auto mail = std::dynamic_pointer_cast<MailItem>(inspector->CurrentItem());
    if (!mail) {
        throw ScriptError(inspector->WindowName() + L" shows no mail");
    }
    // The client goes on with its own send only when nobody cancelled it on the way.
    bool clientSends = false;
    Connection watch = host.application->ItemSend.Connect(
        [&clientSends](const std::shared_ptr<OutlookItem>& /*item*/, bool& cancel) {
            clientSends = !cancel;
        });
    mail->Send();
    watch.Disconnect();
    if (clientSends) {
        if (!inspector->IsClosed()) {
            CloseInspector(inspector, olDiscard);
        }
        return SendOutcome::Sent;
    }
    if (!inspector->IsClosed()) {
        inspector->m_bars->OnUpdate.Emit();
    }
    return SendOutcome::Cancelled;
}

int32_t SimDesktop::AskToSaveChanges() {
    return platform.ui.MsgBox(L"Do you want to save changes?",
                              mb::YesNoCancel | mb::IconExclamation, L"Microsoft Office Outlook");
}

std::vector<std::shared_ptr<SimWindow>> SimDesktop::Windows() const {
    return {m_windows.rbegin(), m_windows.rend()};
}

std::shared_ptr<SimWindow> SimDesktop::ActiveWindow() const {
    return m_active;
}

std::shared_ptr<SimExplorer> SimDesktop::ActiveExplorer() const {
    for (auto it = m_windows.rbegin(); it != m_windows.rend(); ++it) {
        if (auto explorer = std::dynamic_pointer_cast<SimExplorer>(*it)) {
            return explorer;
        }
    }
    return nullptr;
}

std::shared_ptr<SimInspector> SimDesktop::ActiveInspector() const {
    return std::dynamic_pointer_cast<SimInspector>(ActiveWindow());
}

std::vector<std::shared_ptr<SimExplorer>> SimDesktop::Explorers() const {
    std::vector<std::shared_ptr<SimExplorer>> result;
    for (const auto& e : host.application->explorers->items) {
        result.push_back(std::static_pointer_cast<SimExplorer>(e));
    }
    return result;
}

std::vector<std::shared_ptr<SimInspector>> SimDesktop::Inspectors() const {
    std::vector<std::shared_ptr<SimInspector>> result;
    for (const auto& i : host.application->inspectors->items) {
        result.push_back(std::static_pointer_cast<SimInspector>(i));
    }
    return result;
}

void SimDesktop::OpenItemContextMenu(const std::shared_ptr<SimExplorer>& explorer,
                                     const std::vector<int32_t>& builtInIds) {
    Activate(explorer);
    CloseContextMenu();
    const auto ids = builtInIds.empty() ? mBuiltInBars::DefaultItemMenuIds() : builtInIds;
    if (MajorVersion() >= 12) {
        auto bar =
            SimCommandBar::Make(office, nullptr, L"Context Menu", msoBarTypePopup, true, false);
        mBuiltInBars::FillItemContextMenu(*bar, ids);
        bar->SetProtectionValue(msoBarNoCustomize);
        m_contextMenu = bar;
        m_contextExplorer = explorer;
        m_contextKind = 0;
        if (companions.contextMenuEvents) {
            companions.contextMenuEvents->OnItemContextMenuDisplay.Emit(bar,
                                                                        explorer->GetSelection());
        }
        return;
    }
    auto bar = explorer->m_bars->Find(L"Context Menu");
    mBuiltInBars::FillItemContextMenu(*bar, ids);
    m_contextMenu = bar;
    m_contextExplorer = explorer;
    m_contextKind = 0;
    explorer->m_bars->OnUpdate.Emit();
}

void SimDesktop::OpenFolderContextMenu(const std::shared_ptr<SimExplorer>& explorer,
                                       FolderRecord& folder) {
    Activate(explorer);
    CloseContextMenu();
    if (MajorVersion() >= 12) {
        auto bar = SimCommandBar::Make(office, nullptr, L"Folder Context Menu", msoBarTypePopup,
                                       true, false);
        mBuiltInBars::FillFolderContextMenu(*bar, folder.Name());
        bar->SetProtectionValue(msoBarNoCustomize);
        m_contextMenu = bar;
        m_contextExplorer = explorer;
        m_contextKind = 2;
        if (companions.contextMenuEvents) {
            companions.contextMenuEvents->OnFolderContextMenuDisplay.Emit(
                bar, host.outlook.Folder(folder));
        }
        return;
    }
    auto bar = explorer->m_bars->Find(L"Folder Context Menu");
    mBuiltInBars::FillFolderContextMenu(*bar, folder.Name());
    m_contextMenu = bar;
    m_contextExplorer = explorer;
    m_contextKind = 2;
    explorer->m_bars->OnUpdate.Emit();
}

void SimDesktop::CloseContextMenu() {
    if (!m_contextMenu) {
        return;
    }
    auto bar = std::exchange(m_contextMenu, nullptr);
    m_contextExplorer.reset();
    const int32_t kind = std::exchange(m_contextKind, -1);
    if (MajorVersion() >= 12) {
        if (companions.contextMenuEvents) {
            companions.contextMenuEvents->OnContextMenuClose.Emit(kind);
        }
        bar->Kill();  // the menu and everything added to it are gone
    }
}

std::shared_ptr<SimCommandBarControl> SimDesktop::Resolve(
    const std::vector<std::shared_ptr<SimCommandBar>>& bars, const std::vector<std::wstring>& steps,
    const std::shared_ptr<SimWindow>& window, bool openMenus) {
    std::shared_ptr<SimCommandBarControl> current;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (i == 0) {
            for (const auto& bar : bars) {
                if (bar->IsDeleted()) {
                    continue;
                }
                if ((current = FindAnywhere(*bar, steps[0]))) {
                    break;
                }
            }
        } else {
            const auto menu = current->PopupBar();
            current = nullptr;
            for (const auto& c : menu->Items()) {
                if (Matches(*c, steps[i])) {
                    current = c;
                    break;
                }
            }
        }
        if (!current) {
            return nullptr;
        }
        const bool last = i + 1 == steps.size();
        if (!last || openMenus) {
            if (!current->PopupBar()) {
                if (last) {
                    break;
                }
                throw ScriptError(L"\"" + steps[i] + L"\" is no menu");
            }
            if (!current->IsVisible() || !current->IsEnabled()) {
                throw ScriptError(L"the menu \"" + steps[i] + L"\" is hidden or disabled");
            }
            if (window && !window->IsClosed()) {
                window->m_bars->OnUpdate.Emit();  // the menu opens
            }
            if (current->IsDeleted()) {
                // The update rebuilt the menu: look the path up again from here.
                std::vector<std::wstring> head(steps.begin(),
                                               steps.begin() + static_cast<std::ptrdiff_t>(i) + 1);
                current = Resolve(bars, head, nullptr, false);
                if (!current) {
                    return nullptr;
                }
            }
        }
    }
    return current;
}

void SimDesktop::OpenMenu(const std::wstring& path) {
    const auto steps = SplitPath(path);
    auto window = ActiveWindow();
    std::vector<std::shared_ptr<SimCommandBar>> bars;
    if (m_contextMenu) {
        bars.push_back(m_contextMenu);
    }
    if (window) {
        for (const auto& bar : window->m_bars->Bars()) {
            bars.push_back(bar);
        }
    }
    if (!Resolve(bars, steps, window ? window : nullptr, true)) {
        throw ScriptError(L"no menu \"" + path + L"\"");
    }
}

std::wstring SimDesktop::Click(const std::wstring& path) {
    const auto steps = SplitPath(path);
    auto window = ActiveWindow();
    if (m_contextMenu) {
        std::shared_ptr<SimWindow> owner = m_contextExplorer;
        if (auto control = Resolve({m_contextMenu}, steps, owner, false)) {
            std::wstring where = (owner ? owner->WindowName() : L"") + L" / context menu / " + path;
            office.Click(control);
            CloseContextMenu();
            return where;
        }
    }
    if (!window) {
        throw ScriptError(L"no window is open to click \"" + path + L"\" in");
    }
    if (window->m_ribbon && steps.size() == 1 && ribbons.Has(*window->m_ribbon, steps[0])) {
        ribbons.Click(*window->m_ribbon, steps[0]);
        return window->WindowName() + L" / ribbon / " + steps[0];
    }
    // "bar=NAME" first looks in that bar only (a toolbar whose commands the menus repeat).
    std::wstring barName;
    auto rest = steps;
    if (rest.front().starts_with(L"bar=")) {
        barName = rest.front().substr(4);
        rest.erase(rest.begin());
        if (rest.empty()) {
            throw ScriptError(L"no control named after \"" + steps.front() + L"\"");
        }
    }
    std::vector<std::shared_ptr<SimCommandBar>> bars;
    for (const auto& bar : window->m_bars->Bars()) {
        if (bar->BarType() != msoBarTypePopup && bar->IsVisible() &&
            (barName.empty() || text::EqualsNoCase(bar->NameText(), barName))) {
            bars.push_back(bar);
        }
    }
    auto control = Resolve(bars, rest, window, false);
    if (!control) {
        throw ScriptError(L"no control \"" + path + L"\" in " + window->WindowName());
    }
    if (control->PopupBar()) {
        throw ScriptError(L"\"" + path + L"\" is a menu: open it");
    }
    office.Click(control);
    return window->WindowName() + L" / " + path;
}

void SimDesktop::Focus(const KeyStroke& key) {
    auto inspector = ActiveInspector();
    if (m_activeForm != nullptr || !inspector || !inspector->Editor().Press(key)) {
        ++m_ignoredKeys;
    }
}

void SimDesktop::Type(const std::wstring& keys) {
    platform.keyboard.SendKeys(keys, true);
}

void SimDesktop::TypeText(const std::wstring& text) {
    auto inspector = ActiveInspector();
    if (!inspector || m_activeForm != nullptr) {
        throw ScriptError(L"no message window is in front to type into");
    }
    inspector->Editor().Type(text);
}

void SimDesktop::StartWordCompanion() {
    if (m_wordCompanion != 0) {
        return;
    }
    m_wordCompanion = platform.windows.CreateWindow(
        kWordCompanionClass, kWordCompanionTitle, [this](const ReceivedMessage& message) {
            if (message.message != wm::CopyData) {
                return std::intptr_t{0};
            }
            std::string bytes(message.copyData.begin(), message.copyData.end());
            if (const auto zero = bytes.find('\0'); zero != std::string::npos) {
                bytes.resize(zero);
            }
            const std::wstring received = text::FromAnsi(bytes);
            if (!received.starts_with(kWordCommand)) {
                return std::intptr_t{0};
            }
            const auto comma = received.find(L',', std::wcslen(kWordCommand));
            if (comma == std::wstring::npos) {
                return std::intptr_t{0};
            }
            const std::wstring typed = received.substr(comma + 1);
            auto inspector = ActiveInspector();
            if (!inspector || inspector->EditorKind() != olEditorWord) {
                return std::intptr_t{0};
            }
            inspector->Editor().Type(typed);
            m_wordTyped.push_back(typed);
            return std::intptr_t{1};
        });
}

void SimDesktop::StopWordCompanion() {
    if (m_wordCompanion != 0) {
        platform.windows.DestroyWindow(m_wordCompanion);
        m_wordCompanion = 0;
    }
}

std::wstring SimDesktop::BarsText(const std::shared_ptr<SimWindow>& window) const {
    std::wstring out;
    for (const auto& bar : window->m_bars->Bars()) {
        out += L"bar \"" + bar->NameText() + L"\"";
        out += bar->IsVisible() ? L" visible" : L" hidden";
        if (bar->ProtectionValue() != 0) {
            out += L" protection " + std::to_wstring(bar->ProtectionValue());
        }
        if (!bar->IsBuiltIn()) {
            out += bar->IsTemporary() ? L" temporary" : L" kept";
        }
        out += L"\n";
        DescribeBar(*bar, 1, out);
    }
    if (m_contextMenu && m_contextExplorer == window) {
        out += L"context menu \"" + m_contextMenu->NameText() + L"\" open\n";
        DescribeBar(*m_contextMenu, 1, out);
    }
    return out;
}

std::wstring SimDesktop::RibbonText(const std::shared_ptr<SimWindow>& window) {
    if (!window->m_ribbon) {
        return L"(no ribbon)\n";
    }
    return ribbons.StateText(*window->m_ribbon);
}

}  // namespace plexa::sim
