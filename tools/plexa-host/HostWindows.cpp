#include "HostWindows.h"

#include "CommandFailed.h"
#include "FolderPath.h"
#include "addin/Connect.h"
#include "core/Text.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "host/outlook/OlConstants.h"
#include "host/outlook/OutlookItem.h"
#include "host/outlook/Recipients.h"
#include "mControls.h"
#include "separate/mUserProps.h"
#include "settings/Services.h"
#include "sim/office/SimCommandBarControl.h"
#include "sim/windows/ScriptError.h"
#include "sim/windows/UnexpectedPrompt.h"
#include "sim/windows/mFormDump.h"

namespace plexa::host {

namespace {

std::wstring Quote(const std::wstring& s) {
    return L"'" + text::ReplaceAll(s, L"\n", L"\\n") + L"'";
}

std::wstring ItemName(const sim::ItemRecord& item) {
    const std::wstring subject = item.GetText(mapi::PR_SUBJECT);
    return subject.empty() ? item.GetText(mapi::PR_DISPLAY_NAME) : subject;
}

bool ItemMatches(const sim::ItemRecord& item, const std::wstring& wanted) {
    return text::EqualsNoCase(item.GetText(mapi::PR_SUBJECT), wanted) ||
           text::EqualsNoCase(item.GetText(mapi::PR_DISPLAY_NAME), wanted);
}

std::wstring TypeName(int32_t type) {
    return type == olCC ? L"cc" : type == olBCC ? L"bcc" : L"to";
}

std::wstring Plural(std::size_t n, const std::wstring& one, const std::wstring& many) {
    return std::to_wstring(n) + L" " + (n == 1 ? one : many);
}

}  // namespace

HostWindows::HostWindows(HostWorld& world, Transcript& transcript)
    : m_world(world), m_show(transcript) {}

HostWindows::~HostWindows() {
    Unhook();
}

void HostWindows::Begin(const std::wstring& file, int line) {
    m_file = file;
    m_line = line;
}

sim::SimDesktop& HostWindows::Desktop() {
    sim::SimDesktop* desktop = m_world.Desktop();
    if (desktop == nullptr) {
        FailCommand(L"the client has not started, so it has no windows ('start' it first)");
    }
    // A client started afresh (or a platform made anew) has a desktop without the hooks.
    if (!desktop->ui().onPrompt || !desktop->host.outlook.pickFolder) {
        Hook(*desktop);
    }
    return *desktop;
}

void HostWindows::Hook(sim::SimDesktop& desktop) {
    desktop.ui().onPrompt = [this](const sim::PromptRecord& prompt) { OnPrompt(prompt); };
    desktop.host.outlook.pickFolder = [this] { return OnPickFolder(); };
    m_hooked = &desktop;
}

void HostWindows::Unhook() {
    if (m_hooked == nullptr) {
        return;
    }
    m_world.Platform().ui.onPrompt = nullptr;
    if (sim::SimHost* host = m_world.Host()) {
        host->outlook.pickFolder = nullptr;
    }
    m_hooked = nullptr;
}

std::vector<HostWindows::Waiting> HostWindows::TakeUsed() {
    std::vector<Waiting> used;
    const std::size_t remaining = m_world.Platform().ui.user.Remaining();
    while (m_answers.size() > remaining) {
        used.push_back(std::move(m_answers.front()));
        m_answers.pop_front();
    }
    return used;
}

void HostWindows::OnPrompt(const sim::PromptRecord& prompt) {
    const std::vector<Waiting> used = TakeUsed();
    if (prompt.kind == sim::PromptRecord::Kind::Dialog) {
        Show(L"dialog " + prompt.text + L" " + Quote(prompt.title) + L" opens" +
             (prompt.modal ? L"" : L" (modeless)"));
        return;
    }
    Show(L"message box " + Quote(prompt.title) + L": " + Quote(prompt.text) + L" -> " +
         sim::ButtonName(prompt.answer));
    // The answer just taken is the last one used; the sim checked its longest piece only.
    if (!used.empty() && !mControls::ContainsInOrder(prompt.text, used.back().pieces)) {
        throw sim::UnexpectedPrompt(L"message box", prompt.title, prompt.text,
                                    L"the answer of line " + std::to_wstring(used.back().line) +
                                        L" expected a text holding " +
                                        text::Join(used.back().pieces, L" ... "));
    }
}

sim::FolderRecord* HostWindows::OnPickFolder() {
    if (m_picks.empty()) {
        throw sim::UnexpectedPrompt(L"folder picker", L"Select Folder", L"Choose a folder:",
                                    L"no pickfolder line is waiting for it");
    }
    const Pick pick = std::move(m_picks.front());
    m_picks.pop_front();
    if (pick.cancel) {
        Show(L"folder picker: cancelled");
        return nullptr;
    }
    std::wstring problem;
    sim::FolderRecord* folder = FindFolder(m_world.Host()->session, pick.folder, problem);
    if (folder == nullptr) {
        throw sim::UnexpectedPrompt(L"folder picker", L"Select Folder", L"Choose a folder:",
                                    L"the answer of line " + std::to_wstring(pick.from.line) +
                                        L" names a folder that is gone: " + problem);
    }
    Show(L"folder picker: picked " + FolderPathOf(*folder));
    return folder;
}

void HostWindows::ReportUnused(const std::wstring& why) {
    TakeUsed();
    for (const Waiting& w : m_answers) {
        m_show.Failure(w.file, w.line, w.what + L": no prompt came for this answer before " + why);
    }
    for (const Pick& p : m_picks) {
        m_show.Failure(p.from.file, p.from.line,
                       p.from.what + L": no folder picker came for this answer before " + why);
    }
    m_answers.clear();
    m_picks.clear();
    m_world.Platform().ui.user.Clear();
}

std::shared_ptr<sim::SimExplorer> HostWindows::RequireExplorer(const std::wstring& command) {
    auto explorer = Desktop().ActiveExplorer();
    if (!explorer) {
        FailCommand(command + L": no folder window is open ('explorer open' first)");
    }
    return explorer;
}

std::shared_ptr<sim::SimInspector> HostWindows::RequireInspector(const std::wstring& command) {
    sim::SimDesktop& desktop = Desktop();
    auto inspector = desktop.ActiveInspector();
    if (!inspector) {
        const auto front = desktop.ActiveWindow();
        FailCommand(command + L": no message window is in front (" +
                    (front ? front->WindowName() + L" is" : std::wstring(L"no window is open")) +
                    L"; 'open' an item, 'new mail' or 'window N')");
    }
    return inspector;
}

std::shared_ptr<sim::SimWindow> HostWindows::RequireWindow(const std::wstring& command) {
    auto window = Desktop().ActiveWindow();
    if (!window) {
        FailCommand(command + L": no window is open ('explorer open' first)");
    }
    return window;
}

sim::FolderRecord& HostWindows::FolderAt(const std::wstring& path) {
    std::wstring problem;
    sim::FolderRecord* folder = FindFolder(Desktop().host.session, path, problem);
    if (folder == nullptr) {
        FailCommand(problem);
    }
    return *folder;
}

std::wstring HostWindows::LanguageText(const std::wstring& key, const std::wstring& command) {
    Services* services = m_world.AddinServices();
    if (services == nullptr) {
        FailCommand(command + L": key:" + key + L" needs the language table of a running client");
    }
    CLang& lang = services->Lang();
    if (lang.ItemFind(key)) {
        return lang.Item(key);
    }
    if (lang.Filename().empty()) {
        FailCommand(command + L": key:" + key +
                    L": no language file is loaded (Plexa loads one when it connects)");
    }
    FailCommand(command + L": key:" + key + L": the language file " + lang.Filename() +
                L" has no such key");
}

void HostWindows::ShowFront() {
    sim::SimDesktop& desktop = Desktop();
    std::vector<std::wstring> names;
    for (const auto& window : desktop.Windows()) {
        names.push_back(window->WindowName());
    }
    Show(names.empty() ? std::wstring(L"no window is open")
                       : L"windows, front first: " + text::Join(names, L", "));
}

void HostWindows::Held() {
    m_show.ExpectationHeld();
    Show(L"ok");
}

void HostWindows::Explorer(const ExplorerCmd& c) {
    sim::SimDesktop& desktop = Desktop();
    switch (c.action) {
        case ExplorerCmd::Action::Open: {
            sim::FolderRecord* folder = nullptr;
            if (c.folder.empty()) {
                folder = desktop.host.session.DefaultFolder(olFolderInbox);
                if (folder == nullptr) {
                    FailCommand(L"explorer open: the default store has no Inbox");
                }
            } else {
                folder = &FolderAt(c.folder);
            }
            desktop.OpenExplorer(*folder);
            Show(L"a folder window opens on " + FolderPathOf(*folder));
            break;
        }
        case ExplorerCmd::Action::Activate:
        case ExplorerCmd::Action::Close: {
            const auto explorers = desktop.Explorers();
            std::shared_ptr<sim::SimExplorer> explorer;
            if (c.number == 0) {
                explorer = RequireExplorer(L"explorer close");
            } else if (c.number > static_cast<int32_t>(explorers.size())) {
                FailCommand(L"explorer: there is no folder window " + std::to_wstring(c.number) +
                            L" (" + Plural(explorers.size(), L"is", L"are") + L" open)");
            } else {
                explorer = explorers[static_cast<std::size_t>(c.number - 1)];
            }
            if (c.action == ExplorerCmd::Action::Activate) {
                desktop.Activate(explorer);
            } else {
                const std::wstring name = explorer->WindowName();
                desktop.CloseExplorer(explorer);
                Show(name + L" closed");
            }
            break;
        }
    }
    ShowFront();
}

void HostWindows::Folder(const FolderCmd& c) {
    auto explorer = RequireExplorer(L"folder");
    sim::FolderRecord& folder = FolderAt(c.folder);
    Desktop().SwitchFolder(explorer, folder);
    Show(explorer->WindowName() + L" shows " + FolderPathOf(folder) + L" (" +
         Plural(folder.Items().size(), L"item", L"items") + L")");
}

void HostWindows::Select(const SelectCmd& c) {
    auto explorer = RequireExplorer(L"select");
    const auto& items = explorer->Folder().Items();
    std::vector<std::shared_ptr<sim::ItemRecord>> chosen;
    if (c.mode == SelectCmd::Mode::All) {
        chosen.assign(items.begin(), items.end());
    }
    for (const std::wstring& wanted : c.texts) {
        bool any = false;
        for (const auto& item : items) {
            if (ItemMatches(*item, wanted)) {
                any = true;
                if (std::find(chosen.begin(), chosen.end(), item) == chosen.end()) {
                    chosen.push_back(item);
                }
            }
        }
        if (!any) {
            std::vector<std::wstring> names;
            names.reserve(items.size());
            for (const auto& item : items) {
                names.push_back(Quote(ItemName(*item)));
            }
            FailCommand(L"select: no item " + Quote(wanted) + L" in " +
                        FolderPathOf(explorer->Folder()) + L" (" +
                        (names.empty() ? std::wstring(L"the folder is empty")
                                       : L"it holds " + text::Join(names, L", ")) +
                        L")");
        }
    }
    Desktop().Select(explorer, chosen);
    std::vector<std::wstring> names;
    for (const auto& item : explorer->SelectedItems()) {
        names.push_back(Quote(ItemName(*item)));
    }
    Show(Plural(names.size(), L"item", L"items") + L" selected in " + explorer->WindowName() +
         (names.empty() ? L"" : L": " + text::Join(names, L", ")));
}

void HostWindows::RightClick(const RightClickCmd& c) {
    auto explorer = RequireExplorer(L"rightclick");
    if (c.folder) {
        sim::FolderRecord& folder = FolderAt(c.folderPath);
        Desktop().OpenFolderContextMenu(explorer, folder);
        Show(L"the context menu of " + FolderPathOf(folder) + L" opens");
        return;
    }
    if (explorer->SelectedItems().empty()) {
        FailCommand(L"rightclick items: nothing is selected in " + explorer->WindowName() +
                    L" ('select' first)");
    }
    Desktop().OpenItemContextMenu(explorer);
    Show(L"the context menu of " +
         Plural(explorer->SelectedItems().size(), L"selected item", L"selected items") + L" opens");
}

void HostWindows::Open(const OpenCmd& c) {
    auto explorer = RequireExplorer(L"open");
    std::vector<std::shared_ptr<sim::ItemRecord>> matches;
    for (const auto& item : explorer->Folder().Items()) {
        if (ItemMatches(*item, c.text)) {
            matches.push_back(item);
        }
    }
    if (matches.empty()) {
        FailCommand(L"open: no item " + Quote(c.text) + L" in " + FolderPathOf(explorer->Folder()));
    }
    sim::SimDesktop& desktop = Desktop();
    auto inspector = desktop.OpenInspector(desktop.host.outlook.Item(matches.front()));
    Show(inspector->WindowName() + L" opens" +
         (matches.size() > 1
              ? L" (the first of " + std::to_wstring(matches.size()) + L" items of that name)"
              : L""));
    ShowFront();
}

void HostWindows::Window(const WindowCmd& c) {
    sim::SimDesktop& desktop = Desktop();
    const auto inspectors = desktop.Inspectors();
    if (c.number > static_cast<int32_t>(inspectors.size())) {
        FailCommand(L"window: there is no message window " + std::to_wstring(c.number) + L" (" +
                    Plural(inspectors.size(), L"is", L"are") + L" open)");
    }
    desktop.Activate(inspectors[static_cast<std::size_t>(c.number - 1)]);
    ShowFront();
}

void HostWindows::NewMail(bool plexa) {
    sim::SimDesktop& desktop = Desktop();
    auto item = desktop.host.application->CreateItem(olMailItem);
    if (plexa) {
        // Until the To command exists, mark the mail as it leaves new messages.
        const auto mail = std::dynamic_pointer_cast<MailItem>(item);
        Services* services = m_world.AddinServices();
        if (!mail || services == nullptr) {
            FailCommand(L"new mail plexa: the add-in is not running");
        }
        mUserProps::SetShowToolbar(mail, false);
        mUserProps::SetSendMode(mail, services->Options().DefaultSendMode(), false);
        mUserProps::setGroupMode(mail, false, false);
    }
    item->Display();
    auto inspector = desktop.ActiveInspector();
    Show(L"the client's CreateItem made a mail; Display opened " +
         (inspector ? inspector->WindowName() : std::wstring(L"no window")));
    ShowFront();
}

void HostWindows::DebugWindow() {
    sim::SimDesktop& desktop = Desktop();
    if (plexa::Connect* addin = m_world.Addin()) {
        addin->ShowDebugForm();
    }
    if (desktop.ui().FindForm(L"frmDEBUG") == nullptr) {
        FailCommand(L"debug window: the add-in did not open frmDEBUG (see its log)");
    }
}

void HostWindows::Click(const ClickCmd& c) {
    sim::SimDesktop& desktop = Desktop();
    auto window = RequireWindow(L"click");
    std::wstring path;
    switch (c.control.kind) {
        case ControlRef::Kind::Caption:
            path = c.control.text;
            break;
        case ControlRef::Kind::Key:
            path = LanguageText(c.control.text, L"click");
            break;
        case ControlRef::Kind::Id:
            path = L"#" + std::to_wstring(c.control.id);
            break;
        case ControlRef::Kind::Tag:
            path = L"tag=" + c.control.text;
            break;
        case ControlRef::Kind::Ribbon: {
            if (!window->Ribbon()) {
                FailCommand(L"click " + c.control.Describe() + L": " + window->WindowName() +
                            L" has no ribbon (this client version gives it none)");
            }
            desktop.ribbons.Click(*window->Ribbon(), c.control.text);
            Show(L"clicked " + window->WindowName() + L" / ribbon / " + c.control.text);
            return;
        }
    }
    Show(L"clicked " + desktop.Click(path));
}

void HostWindows::Answer(const AnswerCmd& c) {
    sim::SimDesktop& desktop = Desktop();
    Waiting waiting{m_file, m_line, L"answer " + c.button, {}};
    std::wstring contains;
    if (c.text) {
        if (text::StartsWithNoCase(*c.text, L"key:")) {
            waiting.pieces =
                mControls::PiecesAroundPlaceholders(LanguageText(c.text->substr(4), L"answer"));
        } else if (!c.text->empty()) {
            waiting.pieces = {*c.text};
        }
        // The simulated user checks the longest piece; OnPrompt checks them all.
        for (const std::wstring& piece : waiting.pieces) {
            if (piece.size() > contains.size()) {
                contains = piece;
            }
        }
    }
    desktop.ui().user.AnswerMsgBox(sim::ButtonFromName(c.button), contains);
    m_answers.push_back(std::move(waiting));
    Show(L"the next message box will be answered " +
         sim::ButtonName(sim::ButtonFromName(c.button)));
}

void HostWindows::PickFolder(const PickFolderCmd& c) {
    Desktop();
    Pick pick{{m_file, m_line, L"pickfolder " + (c.cancel ? L"cancel" : c.folder), {}},
              c.cancel,
              c.folder};
    if (!c.cancel) {
        Show(L"the next folder picker will pick " + FolderPathOf(FolderAt(c.folder)));
    } else {
        Show(L"the next folder picker will be cancelled");
    }
    m_picks.push_back(std::move(pick));
}

void HostWindows::Dialog(const DialogCmd& c) {
    sim::SimDesktop& desktop = Desktop();
    const bool closeBox = text::EqualsNoCase(c.press, L"close");
    const std::wstring press = closeBox ? sim::kCloseBox : c.press;
    std::function<void(const Form&)> look;
    if (c.dump) {
        look = [this](const Form& form) {
            for (const std::wstring& line : sim::mFormDump::DumpForm(form)) {
                Show(line);
            }
        };
    }
    // A modeless dialog already open is acted on now; any other waits for the dialog to come.
    if (Form* open = desktop.ui().ActiveForm();
        open != nullptr && text::EqualsNoCase(open->Name(), c.name)) {
        desktop.ui().Act(c.name, c.values, press, look);
        Show(L"dialog " + open->Name() + L": " +
             (closeBox ? std::wstring(L"closed with its close box") : L"pressed " + c.press));
        return;
    }
    desktop.ui().user.AnswerDialog(c.name, c.values, press, look);
    m_answers.push_back(Waiting{m_file, m_line, L"dialog " + c.name, {}});
    Show(L"the next dialog " + c.name + L" will be handled");
}

void HostWindows::Type(const TypeCmd& c) {
    auto inspector = RequireInspector(L"type");
    Desktop().TypeText(c.text);
    Show(L"typed " + Plural(c.text.size(), L"character", L"characters") + L" into " +
         inspector->WindowName());
}

void HostWindows::Subject(const SubjectCmd& c) {
    auto inspector = RequireInspector(L"subject");
    inspector->CurrentItem()->SetSubject(c.text);
    Show(L"the subject is " + Quote(c.text) + L": the window is " + inspector->WindowName());
}

void HostWindows::Address(const AddressCmd& c) {
    auto inspector = RequireInspector(L"address");
    auto mail = std::dynamic_pointer_cast<MailItem>(inspector->CurrentItem());
    if (!mail) {
        FailCommand(L"address: " + inspector->WindowName() + L" shows no mail");
    }
    auto recipients = mail->GetRecipients();
    for (const std::wstring& name : c.names) {
        recipients->Add(name)->SetType(c.type);
    }
    Show(Plural(c.names.size(), L"name", L"names") + L" added to the " + TypeName(c.type) +
         L" box of " + inspector->WindowName());
}

void HostWindows::Send() {
    sim::SimDesktop& desktop = Desktop();
    auto inspector = RequireInspector(L"send");
    const std::wstring name = inspector->WindowName();
    const std::size_t before = desktop.host.session.transmissions.size();
    const sim::SimDesktop::SendOutcome outcome = desktop.PressSend(inspector);
    switch (outcome) {
        case sim::SimDesktop::SendOutcome::ClickCancelled:
            Show(L"the click on Send was cancelled: " + name + L" stays open");
            return;
        case sim::SimDesktop::SendOutcome::Sent:
            Show(name + L" sent its message and closed");
            return;
        case sim::SimDesktop::SendOutcome::Cancelled:
            break;
    }
    const std::size_t sent = desktop.host.session.transmissions.size() - before;
    if (!inspector->IsClosed()) {
        Show(L"the send was cancelled: " + name + L" stays open");
        return;
    }
    // The add-in took the send over (the client's own send was cancelled) and closed the window.
    Show(name + L" closed; " + Plural(sent, L"message", L"messages") + L" left");
    ShowFront();
}

void HostWindows::Close(const CloseCmd& c) {
    sim::SimDesktop& desktop = Desktop();
    auto inspector = RequireInspector(L"close");
    const std::wstring name = inspector->WindowName();
    const int32_t mode = c.mode == CloseCmd::Mode::Save      ? olSave
                         : c.mode == CloseCmd::Mode::Discard ? olDiscard
                                                             : olPromptForSave;
    desktop.CloseInspector(inspector, mode);
    Show(inspector->IsClosed() ? name + L" closed" : name + L" stays open");
    ShowFront();
}

void HostWindows::Advance(int64_t seconds) {
    sim::SimPlatform& platform = m_world.Platform();
    const int before = platform.timers.Fired();
    if (sim::SimDesktop* desktop = m_world.Running() ? &Desktop() : nullptr) {
        desktop->AdvanceClock(static_cast<double>(seconds));
    } else {
        platform.clock.AdvanceSeconds(static_cast<double>(seconds));
    }
    const int fired = platform.timers.Fired() - before;
    if (fired > 0) {
        Show(Plural(static_cast<std::size_t>(fired), L"timer", L"timers") + L" fired");
    }
}

void HostWindows::ExpectMessage(const ExpectMessageCmd& c) {
    auto inspector = RequireInspector(L"expect message");
    std::vector<std::wstring> found;
    std::vector<const sim::RecipientRecord*> ofType;
    for (const auto& r : inspector->Record()->recipients) {
        if (r->type == c.type) {
            ofType.push_back(r.get());
            found.push_back(r->Address().empty() || r->Address() == r->name
                                ? Quote(r->name)
                                : Quote(r->name) + L" <" + r->Address() + L">");
        }
    }
    bool held = ofType.size() == c.names.size();
    for (std::size_t i = 0; held && i < ofType.size(); ++i) {
        held = text::EqualsNoCase(ofType[i]->name, c.names[i]) ||
               text::EqualsNoCase(ofType[i]->Address(), c.names[i]);
    }
    if (!held) {
        std::vector<std::wstring> wanted;
        for (const std::wstring& n : c.names) {
            wanted.push_back(Quote(n));
        }
        FailCommand(L"expected " + TypeName(c.type) + L" " +
                    (wanted.empty() ? std::wstring(L"(nobody)") : text::Join(wanted, L", ")) +
                    L" in " + inspector->WindowName() + L", found " +
                    (found.empty() ? std::wstring(L"nobody") : text::Join(found, L", ")));
    }
    Held();
}

void HostWindows::ExpectControl(const ExpectControlCmd& c) {
    sim::SimDesktop& desktop = Desktop();
    auto window = RequireWindow(L"expect control");
    std::wstring name = c.control.text;
    switch (c.control.kind) {
        case ControlRef::Kind::Key:
            name = LanguageText(c.control.text, L"expect control");
            break;
        case ControlRef::Kind::Id:
            name = L"#" + std::to_wstring(c.control.id);
            break;
        case ControlRef::Kind::Tag:
            name = L"tag=" + c.control.text;
            break;
        default:
            break;
    }
    mControls::ControlState state;
    // Where a click looks: the open context menu, the ribbon, the window's bars.
    if (auto menu = desktop.ContextMenu(); menu && c.control.kind != ControlRef::Kind::Ribbon) {
        state = mControls::FindInBars({menu}, name, true);
    }
    const bool ribbonOnly = c.control.kind == ControlRef::Kind::Ribbon;
    if (!state.found && window->Ribbon() &&
        (ribbonOnly || c.control.kind == ControlRef::Kind::Caption ||
         c.control.kind == ControlRef::Kind::Key)) {
        state = mControls::FindInRibbonText(desktop.RibbonText(window), name);
    }
    if (!state.found && !ribbonOnly) {
        // "bar=NAME/..." looks in that bar only, as a click does.
        std::wstring barName;
        std::wstring path = name;
        if (path.starts_with(L"bar=")) {
            const auto slash = path.find(L'/');
            barName = path.substr(4, slash == std::wstring::npos ? std::wstring::npos : slash - 4);
            path = slash == std::wstring::npos ? L"" : path.substr(slash + 1);
        }
        std::vector<std::shared_ptr<sim::SimCommandBar>> bars;
        for (const auto& bar : window->Bars()->Bars()) {
            if (bar->BarType() != sim::msoBarTypePopup &&
                (barName.empty() || text::EqualsNoCase(bar->NameText(), barName))) {
                bars.push_back(bar);
            }
        }
        state = mControls::FindInBars(bars, path, false);
    }
    if (!state.found) {
        FailCommand(L"expect control: no control " + c.control.Describe() + L" in " +
                    window->WindowName() +
                    (ribbonOnly && !window->Ribbon() ? L" (no ribbon)" : L""));
    }
    const bool held = c.state == L"visible"    ? state.visible
                      : c.state == L"hidden"   ? !state.visible
                      : c.state == L"enabled"  ? state.enabled
                      : c.state == L"disabled" ? !state.enabled
                                               : state.pressed;
    if (!held) {
        FailCommand(L"expected " + c.control.Describe() + L" " + c.state + L"; " + state.what +
                    L" is " + (state.visible ? L"visible" : L"hidden") + L", " +
                    (state.enabled ? L"enabled" : L"disabled") + L", " +
                    (state.pressed ? L"pressed" : L"not pressed"));
    }
    Held();
}

void HostWindows::DumpBars() {
    sim::SimDesktop& desktop = Desktop();
    auto window = RequireWindow(L"dump bars");
    Show(window->WindowName() + L":");
    for (const std::wstring& line : text::Split(desktop.BarsText(window), L"\n")) {
        if (!line.empty()) {
            Show(L"  " + line);
        }
    }
}

void HostWindows::DumpRibbon() {
    sim::SimDesktop& desktop = Desktop();
    auto window = RequireWindow(L"dump ribbon");
    Show(window->WindowName() +
         (window->Ribbon() ? L" (" + window->Ribbon()->RibbonId() + L"):" : std::wstring(L":")));
    for (const std::wstring& line : text::Split(desktop.RibbonText(window), L"\n")) {
        if (!line.empty()) {
            Show(L"  " + line);
        }
    }
}

void HostWindows::DumpDialog() {
    const Form* form = Desktop().ui().ActiveForm();
    if (form == nullptr) {
        throw sim::ScriptError(L"dump dialog: no dialog is open");
    }
    for (const std::wstring& line : sim::mFormDump::DumpForm(*form)) {
        Show(line);
    }
}

void HostWindows::DumpMessage() {
    auto inspector = RequireInspector(L"dump message");
    const auto& record = inspector->Record();
    const int32_t editor = inspector->EditorKind();
    Show(inspector->WindowName() + L", edited " +
         (editor == olEditorWord   ? L"in Word"
          : editor == olEditorHTML ? L"as HTML"
          : editor == olEditorRTF  ? L"as rich text"
                                   : L"as plain text"));
    for (const int32_t type : {olTo, olCC, olBCC}) {
        std::vector<std::wstring> names;
        for (const auto& r : record->recipients) {
            if (r->type == type) {
                names.push_back(r->resolved && !r->Address().empty()
                                    ? r->name + L" <" + r->Address() + L">"
                                    : r->name + L" (unresolved)");
            }
        }
        if (!names.empty()) {
            Show(L"  " + TypeName(type) + L": " + text::Join(names, L"; "));
        }
    }
    Show(L"  subject: " + Quote(record->GetText(mapi::PR_SUBJECT)));
    Show(L"  body: " + Quote(record->Body()));
    Show(L"  caret after: " + Quote(inspector->Editor().TextBeforeCaret()));
}

}  // namespace plexa::host
