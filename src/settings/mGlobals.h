// Shared services every part of the add-in uses: the text formatter, the diagnostic log
// interface, unique button tags and a folder's display path.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/HostError.h"
#include "core/Variant.h"

namespace plexa {
class MAPIFolder;
struct Platform;
}  // namespace plexa

namespace plexa::mGlobals {

// Formats in two passes. Pass 1 turns \\ \n \t \" into backslash, CR LF, tab and quote (an
// unknown escape stays as it is and is logged). Pass 2 fills %s and %d from the arguments and
// turns %% into %; another specifier is dropped and logged. When exactly one argument is passed
// and it is an array, its elements are the arguments. A run-time error while filling (too few
// arguments, a value that does not convert) is logged and the text after pass 1 is returned.
// Never throws. FormatArgs takes the argument list as it stands.
std::wstring FormatArgs(std::wstring_view format, const std::vector<Variant>& args);
// The same, logging its troubles under another source (the language table formats its texts
// with these rules).
std::wstring FormatArgsAs(std::wstring_view logSource, std::wstring_view format,
                          const std::vector<Variant>& args);
// Pass 1 alone: escape sequences, with troubles logged under the given source.
std::wstring ReplaceEscapesAs(std::wstring_view logSource, std::wstring_view format);
// Pass 2 alone: placeholders, with troubles logged under the given source; on a run-time error
// the text comes back as it was.
std::wstring FillPlaceholdersAs(std::wstring_view logSource, std::wstring_view text,
                                const std::vector<Variant>& args);

template <typename... Args>
std::wstring sprintf(std::wstring_view format, Args&&... args) {
    return FormatArgs(format, std::vector<Variant>{Variant(std::forward<Args>(args))...});
}

// Logging. None of these ever throws. They write to the log of the running add-in (the one
// ambient, see settings/LogHub.h); with no add-in running an entry is dropped.
void LogDebug(std::wstring_view source, std::wstring_view text, int detail);
void LogWarning(std::wstring_view source, std::wstring_view text, int detail);

// Writes an error entry (detail 1). The number -1 stands for the current error's number, a
// missing description for its description; with no current error they are 0 and "". An extra
// text is appended after "; ". A current error with a line number other than 0 adds
// "(line)" to the source. The current error is the one the caller caught and hands over.
void LogError(std::wstring_view source, int32_t number = -1,
              std::optional<std::wstring> description = std::nullopt,
              std::optional<std::wstring> extra = std::nullopt, const HostError* current = nullptr);
// The caught error's number and description, with an optional extra text.
void LogError(std::wstring_view source, const HostError& current,
              std::optional<std::wstring> extra = std::nullopt);

// Logs "ASSERT FAILED - " + message as an error numbered 0 when the condition is false.
void Assert(bool condition, std::wstring_view source, std::wstring_view message);

// A 22-character tag: eight random digits 0 to 8, then the local time as yyyymmddhhnnss.
// Throws HostError when the clock or the random source fails.
std::wstring MakeUniqueTag(const Platform& ports);

// "\\" + the names from the store's top folder down to the folder, joined by "\".
// Throws HostError when the host cannot answer.
std::wstring GetFolderPath(const std::shared_ptr<MAPIFolder>& folder);
// The names from the store's top folder down to the folder, joined by "\" (the walk behind
// every folder path the add-in writes). Throws HostError when the host cannot answer.
std::wstring FolderNames(const std::shared_ptr<MAPIFolder>& folder);

}  // namespace plexa::mGlobals
