// The commands of the scenario language (docs/scenario-language.md), as the parser gives them:
// one struct per command, the arguments already checked and converted.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "core/OleDate.h"

namespace plexa::host {

// A control of the active window, as `click` and `expect control` name it.
struct ControlRef {
    enum class Kind { Caption, Key, Id, Tag, Ribbon };
    Kind kind = Kind::Caption;
    std::wstring text;  // the caption, language key, tag or ribbon id
    int32_t id = 0;     // for Kind::Id
    // As written, for messages: "To", key:LID_CAPTION_TO, id:30131 ...
    std::wstring Describe() const;
};

// Setting up.
struct HostCmd {
    int32_t version = 14;
};
struct MailboxCmd {
    bool demo = false;
    std::wstring file;  // as written
};
struct ClockCmd {
    OleDate local;
};
struct LanguageCmd {
    std::wstring id;
};
struct SettingCmd {
    std::wstring name;  // as the registry spells it
    bool isText = false;
    std::wstring text;
    uint32_t number = 0;  // REG_DWORD; negative numbers as their two's complement
};
struct StartCmd {};
struct StopCmd {};
struct RestartCmd {};

// Windows and selection.
struct ExplorerCmd {
    enum class Action { Open, Activate, Close };
    Action action = Action::Open;
    std::wstring folder;  // Open: "" for the Inbox
    int32_t number = 0;   // Activate, Close: 0 for the active one
};
struct FolderCmd {
    std::wstring folder;
};
struct SelectCmd {
    enum class Mode { Texts, All, None };
    Mode mode = Mode::Texts;
    std::vector<std::wstring> texts;
};
struct RightClickCmd {
    bool folder = false;  // false: the selected items
    std::wstring folderPath;
};
struct OpenCmd {
    std::wstring text;
};
struct WindowCmd {
    int32_t number = 0;
};
// Opens a new mail in its own window, as the client's New button does (CreateItem, Display).
// "new mail plexa" marks the new mail as composed through the add-in (the marker, the default
// send mode, grouping off), as the add-in's To command leaves the messages it addresses.
struct NewMailCmd {
    bool plexa = false;
};
// Opens the add-in's debug window, as its Debug button does (the button exists only with the
// UseDebugButtons setting on; this command needs no setting).
struct DebugWindowCmd {};

// Acting.
struct ClickCmd {
    ControlRef control;
};
struct AnswerCmd {
    std::wstring button;  // yes, no, cancel, ok
    std::optional<std::wstring> text;
};
struct PickFolderCmd {
    bool cancel = false;
    std::wstring folder;
};
struct DialogCmd {
    std::wstring name;
    std::vector<std::pair<std::wstring, std::wstring>> values;
    std::wstring press;  // a button's name or caption, or "close" for the close box
    bool dump = false;   // print the dialog once the values are entered, before the press
};
struct TypeCmd {
    std::wstring text;
};
struct SubjectCmd {
    std::wstring text;
};
// Adds recipients to the active message window, as typed into its To, Cc or Bcc box.
struct AddressCmd {
    int32_t type = 1;  // OlMailRecipientType
    std::vector<std::wstring> names;
};
struct SendCmd {};
struct CloseCmd {
    enum class Mode { Default, Save, Discard };
    Mode mode = Mode::Default;
};
struct AdvanceCmd {
    int64_t seconds = 0;
};
// Sends a mail as a program would, through the host objects and without a window.
struct MailCmd {
    std::vector<std::wstring> to;
    std::vector<std::wstring> cc;
    std::vector<std::wstring> bcc;
    std::wstring subject;
    std::wstring body;
    std::optional<std::wstring> html;
};

// Checking and showing.
// Prints a line of its own to the transcript (headings of a tour).
struct SayCmd {
    std::wstring text;
};
struct ExpectSentCountCmd {
    int32_t count = 0;
};
struct ExpectSentToCmd {
    std::wstring address;
    std::optional<std::wstring> subject;
    std::optional<std::wstring> body;
    // The folder it was submitted from.
    std::optional<std::wstring> from;
};
struct ExpectFolderCountCmd {
    std::wstring folder;
    int32_t count = 0;
};
struct ExpectItemCmd {
    std::wstring folder;
    std::wstring text;
    std::optional<int32_t> flag;
    std::vector<std::pair<std::wstring, std::wstring>> properties;
};
struct ExpectMessageCmd {
    int32_t type = 1;  // OlMailRecipientType
    std::vector<std::wstring> names;
};
struct ExpectRegistryCmd {
    std::wstring key;
    std::wstring name;
    std::optional<std::wstring> value;  // nothing: the value must be absent
};
struct ExpectLogCmd {
    bool present = true;
    std::wstring text;
};
struct ExpectControlCmd {
    ControlRef control;
    std::wstring state;  // visible, hidden, enabled, disabled, pressed
};
// The newest send report holds a row for the address with that outcome (and a detail holding
// the text); with the address "summary", the summary equals the text.
struct ExpectReportCmd {
    std::wstring address;
    std::wstring outcome;
    std::optional<std::wstring> detail;
};
// Fault injection: the n-th call of a simulated operation from now fails with the text.
struct FailCmd {
    std::wstring op;
    int32_t nth = 1;
    std::wstring text;
};
struct DumpCmd {
    enum class What { Sent, Folder, Registry, Log, Bars, Ribbon, Message, Dialog, Report };
    What what = What::Sent;
    std::wstring folder;
};

using CommandBody =
    std::variant<HostCmd, MailboxCmd, ClockCmd, LanguageCmd, SettingCmd, StartCmd, StopCmd,
                 RestartCmd, ExplorerCmd, FolderCmd, SelectCmd, RightClickCmd, OpenCmd, WindowCmd,
                 NewMailCmd, DebugWindowCmd, ClickCmd, AnswerCmd, PickFolderCmd, DialogCmd, TypeCmd,
                 SubjectCmd, AddressCmd, SendCmd, CloseCmd, AdvanceCmd, MailCmd, SayCmd,
                 ExpectSentCountCmd, ExpectSentToCmd, ExpectFolderCountCmd, ExpectItemCmd,
                 ExpectMessageCmd, ExpectRegistryCmd, ExpectLogCmd, ExpectControlCmd,
                 ExpectReportCmd, FailCmd, DumpCmd>;

struct Command {
    CommandBody body;
    int line = 0;
    // The line as written, without its comment, for the transcript.
    std::wstring source;

    bool IsExpectation() const;
};

}  // namespace plexa::host
