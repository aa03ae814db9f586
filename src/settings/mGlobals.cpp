#include "settings/mGlobals.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwctype>

#include "core/Text.h"
#include "host/outlook/MAPIFolder.h"
#include "platform/Platform.h"
#include "settings/LogHub.h"

namespace plexa::mGlobals {

namespace {

constexpr std::wstring_view kSprintfSource = L"mGlobals::sprintf";

// The user's number format when an add-in runs, else the default one.
const Locale& CurrentLocale() {
    LogHub* log = LogHub::Current();
    return log != nullptr ? log->FormatLocale() : DefaultLocale();
}

void Write(std::wstring_view source, std::wstring text, int32_t number, LogLevel level,
           int detail) noexcept {
    // The log is the one ambient: with no add-in running the entry is dropped.
    LogHub* log = LogHub::Current();
    if (log == nullptr) {
        return;
    }
    try {
        log->Log(LogEntry{std::move(text), number, std::wstring(source), level, detail});
    } catch (...) {  // NOLINT(bugprone-empty-catch): logging never fails its caller
    }
}

// Pass 1: escape sequences. A produced backslash is never read again.
std::wstring ReplaceEscapes(std::wstring_view source, std::wstring_view format) {
    std::wstring s(format);
    std::size_t p = s.find(L'\\');
    while (p != std::wstring::npos) {
        const std::wstring c = p + 1 < s.size() ? s.substr(p + 1, 1) : std::wstring();
        std::wstring replacement;
        const std::wstring lower =
            c.empty() ? c : std::wstring(1, static_cast<wchar_t>(std::towlower(c[0])));
        if (lower == L"\\") {
            replacement = L"\\";
        } else if (lower == L"n") {
            replacement = L"\r\n";
        } else if (lower == L"t") {
            replacement = L"\t";
        } else if (lower == L"\"") {
            replacement = L"\"";
        } else {
            LogError(source, 0, L"Invalid format specificator '\\" + c + L"'");
            replacement = L"\\" + c;
        }
        s.replace(p, 1 + c.size(), replacement);
        p = s.find(L'\\', p + replacement.size());
    }
    return s;
}

const Variant& Argument(const std::vector<Variant>& args, std::size_t index) {
    if (index >= args.size()) {
        throw RuntimeError(vberr::SubscriptOutOfRange);
    }
    return args[index];
}

// Pass 2: placeholders. Throws HostError on a run-time error.
std::wstring FillPlaceholders(std::wstring_view source, const std::wstring& s,
                              const std::vector<Variant>& args) {
    const Locale& locale = CurrentLocale();
    std::wstring result;
    std::size_t pos = 0;
    std::size_t argIndex = 0;
    for (;;) {
        const std::size_t pct = s.find(L'%', pos);
        if (pct == std::wstring::npos) {
            result.append(s, pos, std::wstring::npos);
            return result;
        }
        result.append(s, pos, pct - pos);
        const wchar_t c = pct + 1 < s.size() ? s[pct + 1] : L'\0';
        if (c == L'%') {
            result.push_back(L'%');
        } else if (c == L's') {
            const Variant& arg = Argument(args, argIndex++);
            if (!arg.IsString()) {
                LogWarning(source,
                           L"VarType(" + std::to_wstring(arg.VarTypeNumber()) +
                               L") <> vbString, Typename = " + arg.TypeName(),
                           1);
            }
            result.append(CStr(arg, locale));
        } else if (c == L'd') {
            const Variant& arg = Argument(args, argIndex++);
            if (!IsNumeric(arg, locale)) {
                LogWarning(source,
                           L"Not IsNumeric(" + std::to_wstring(arg.VarTypeNumber()) +
                               L"), Typename = " + arg.TypeName(),
                           1);
            }
            result.append(std::to_wstring(CLng(arg, locale)));
        } else {
            const std::wstring shown = c == L'\0' ? std::wstring() : std::wstring(1, c);
            LogError(source, 0, L"Invalid format specificator(" + shown + L")");
        }
        pos = pct + 2;
        if (pos >= s.size()) {
            return result;
        }
    }
}

}  // namespace

std::wstring FormatArgs(std::wstring_view format, const std::vector<Variant>& args) {
    return FormatArgsAs(kSprintfSource, format, args);
}

std::wstring FormatArgsAs(std::wstring_view logSource, std::wstring_view format,
                          const std::vector<Variant>& args) {
    return FillPlaceholdersAs(logSource, ReplaceEscapesAs(logSource, format), args);
}

std::wstring ReplaceEscapesAs(std::wstring_view logSource, std::wstring_view format) {
    try {
        return ReplaceEscapes(logSource, format);
    } catch (const std::exception&) {
        return std::wstring(format);  // out of memory: the text as it was
    }
}

std::wstring FillPlaceholdersAs(std::wstring_view logSource, std::wstring_view text,
                                const std::vector<Variant>& args) {
    std::wstring s(text);
    try {
        if (args.size() == 1 && args[0].IsArray()) {
            return FillPlaceholders(logSource, s, args[0].ArrayValue()->items);
        }
        return FillPlaceholders(logSource, s, args);
    } catch (const HostError& e) {
        LogError(logSource, e.Number(), e.Description(), s);
        return s;
    } catch (const std::exception& e) {
        // Out of memory and the like: still a text for the caller.
        LogError(logSource, vberr::InvalidProcedureCall, text::FromUtf8(e.what()), s);
        return s;
    }
}

void LogDebug(std::wstring_view source, std::wstring_view text, int detail) {
    Write(source, std::wstring(text), 0, LogLevel::Debug, detail);
}

void LogWarning(std::wstring_view source, std::wstring_view text, int detail) {
    Write(source, std::wstring(text), 0, LogLevel::Warning, detail);
}

void LogError(std::wstring_view source, int32_t number, std::optional<std::wstring> description,
              std::optional<std::wstring> extra, const HostError* current) {
    try {
        if (number == -1) {
            number = current != nullptr ? current->Number() : 0;
        }
        std::wstring text = description ? std::move(*description)
                                        : (current != nullptr ? current->Description() : L"");
        if (extra) {
            text += L"; " + *extra;
        }
        std::wstring fullSource(source);
        if (current != nullptr && current->Line() != 0) {
            fullSource += L"(" + std::to_wstring(current->Line()) + L")";
        }
        Write(fullSource, std::move(text), number, LogLevel::Error, 1);
    } catch (...) {  // NOLINT(bugprone-empty-catch): logging never fails its caller
    }
}

void LogError(std::wstring_view source, const HostError& current,
              std::optional<std::wstring> extra) {
    LogError(source, -1, std::nullopt, std::move(extra), &current);
}

void Assert(bool condition, std::wstring_view source, std::wstring_view message) {
    if (!condition) {
        LogError(source, 0, L"ASSERT FAILED - " + std::wstring(message));
    }
}

std::wstring MakeUniqueTag(const Platform& ports) {
    ports.random.Randomize(ports.clock.Timer());
    std::wstring tag;
    for (int i = 0; i < 8; ++i) {
        const auto digit = static_cast<int>(std::floor(9.0 * ports.random.Rnd()));
        tag += static_cast<wchar_t>(L'0' + std::clamp(digit, 0, 8));
    }
    const OleDate now = ports.clock.NowLocal();
    wchar_t buf[16];
    std::swprintf(buf, 16, L"%04d%02d%02d%02d%02d%02d", now.Year(), now.Month(), now.Day(),
                  now.Hour(), now.Minute(), now.Second());
    return tag + buf;
}

std::wstring GetFolderPath(const std::shared_ptr<MAPIFolder>& folder) {
    return L"\\\\" + FolderNames(folder);
}

std::wstring FolderNames(const std::shared_ptr<MAPIFolder>& folder) {
    std::wstring path = folder->Name();
    std::shared_ptr<OutlookObject> parent = folder->Parent();
    while (parent && parent->Class() == olFolder) {
        auto parentFolder = std::dynamic_pointer_cast<MAPIFolder>(parent);
        if (!parentFolder) {
            break;
        }
        path.insert(0, parentFolder->Name() + L"\\");
        parent = parentFolder->Parent();
    }
    return path;
}

}  // namespace plexa::mGlobals
