// The window side of plexa-host: the scenario's window, acting and checking commands carried
// out on the simulated client's desktop (sim/SimDesktop.h) as a user would, and the answers the
// scenario gives ahead to the prompts that come (message boxes, dialogs, the folder picker).
//
// Answers wait in order for the prompt they are meant for. A prompt that no answer is waiting for
// fails the command that raised it, with the prompt's text. An answer still waiting when the
// client stops, restarts or the run ends is a failure of the line that gave it: the scenario
// expected a prompt that never came.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "HostWorld.h"
#include "ScenarioCommand.h"
#include "Transcript.h"
#include "sim/SimDesktop.h"

namespace plexa::host {

class HostWindows {
public:
    HostWindows(HostWorld& world, Transcript& transcript);
    ~HostWindows();
    HostWindows(const HostWindows&) = delete;
    HostWindows& operator=(const HostWindows&) = delete;

    // The line the next command comes from (answers remember it).
    void Begin(const std::wstring& file, int line);

    // Each carries out one command; one that cannot do what it says throws CommandFailed. What
    // the simulation throws (ScriptError, UnexpectedPrompt, HostError) passes through.
    void Explorer(const ExplorerCmd& c);
    void Folder(const FolderCmd& c);
    void Select(const SelectCmd& c);
    void RightClick(const RightClickCmd& c);
    void Open(const OpenCmd& c);
    void Window(const WindowCmd& c);
    void NewMail(bool plexa);
    void DebugWindow();
    void Click(const ClickCmd& c);
    void Answer(const AnswerCmd& c);
    void PickFolder(const PickFolderCmd& c);
    void Dialog(const DialogCmd& c);
    void Type(const TypeCmd& c);
    void Subject(const SubjectCmd& c);
    void Address(const AddressCmd& c);
    void Send();
    void Close(const CloseCmd& c);
    void Advance(int64_t seconds);
    void ExpectMessage(const ExpectMessageCmd& c);
    void ExpectControl(const ExpectControlCmd& c);
    void DumpBars();
    void DumpRibbon();
    void DumpMessage();
    // The dialog in front: its controls and what they show.
    void DumpDialog();

    // Fails every answer still waiting, on its own line; why: "the client stopped".
    void ReportUnused(const std::wstring& why);

private:
    struct Waiting {
        std::wstring file;
        int line = 0;
        std::wstring what;  // "answer yes", "dialog frmOptions", "pickfolder Contacts"
        // For a message box: the pieces its text must hold, in order.
        std::vector<std::wstring> pieces;
    };
    struct Pick {
        Waiting from;
        bool cancel = false;
        std::wstring folder;
    };

    sim::SimDesktop& Desktop();
    void Hook(sim::SimDesktop& desktop);
    void Unhook();
    void OnPrompt(const sim::PromptRecord& prompt);
    sim::FolderRecord* OnPickFolder();
    // Forgets the answers the user has taken; returns them, oldest first.
    std::vector<Waiting> TakeUsed();

    std::shared_ptr<sim::SimExplorer> RequireExplorer(const std::wstring& command);
    std::shared_ptr<sim::SimInspector> RequireInspector(const std::wstring& command);
    std::shared_ptr<sim::SimWindow> RequireWindow(const std::wstring& command);
    sim::FolderRecord& FolderAt(const std::wstring& path);
    // The text of a language key of the loaded language table.
    std::wstring LanguageText(const std::wstring& key, const std::wstring& command);
    void ShowFront();
    void Show(const std::wstring& s) { m_show.Show(s); }
    void Held();

    HostWorld& m_world;
    Transcript& m_show;
    sim::SimDesktop* m_hooked = nullptr;
    std::wstring m_file;
    int m_line = 0;
    // Mirrors the scripted user's queue of message-box and dialog answers, in order.
    std::deque<Waiting> m_answers;
    std::deque<Pick> m_picks;
};

}  // namespace plexa::host
