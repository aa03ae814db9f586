#include "settings/CLang.h"

#include <algorithm>
#include <cwctype>
#include <optional>

#include "core/Form.h"
#include "core/HostError.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "settings/CLangFile.h"
#include "settings/COptions.h"
#include "settings/mFileUtils.h"
#include "settings/mGlobals.h"

namespace plexa {

namespace {

constexpr const wchar_t* kInit = L"CLang.Init";
constexpr const wchar_t* kReadSection = L"CLang.ReadSection";
constexpr const wchar_t* kEscapesOnly = L"CLang::sprintf2";
constexpr const wchar_t* kWithArguments = L"CLang::sprintf1";

using mGlobals::sprintf;

bool IsComment(std::wstring_view s) {
    return !s.empty() && (s[0] == L';' || s[0] == L'\'');
}

// The value of an entry with its comment cut off: the first ";" or "'" outside double quotes.
std::wstring CutComment(std::wstring_view s) {
    bool quoted = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == L'"') {
            quoted = !quoted;
        } else if (!quoted && (s[i] == L';' || s[i] == L'\'')) {
            return std::wstring(s.substr(0, i));
        }
    }
    return std::wstring(s);
}

// The text between the outer quotes with each doubled quote made one; empty optional and the
// reason when the value is not a well-formed quoted text.
std::optional<std::wstring> Unquote(const std::wstring& value, std::wstring& reason) {
    if (value.size() < 2 || value.front() != L'"' || value.back() != L'"') {
        reason = L"The string should be in quotes";
        return std::nullopt;
    }
    std::wstring out;
    for (std::size_t i = 1; i + 1 < value.size(); ++i) {
        if (value[i] == L'"') {
            if (i + 2 < value.size() && value[i + 1] == L'"') {
                out += L'"';
                ++i;
                continue;
            }
            reason = L"quoted string has unary quotes";
            return std::nullopt;
        }
        out += value[i];
    }
    return out;
}

}  // namespace

std::pair<std::wstring, std::wstring> CLang::ValidVersion(const Section& version) {
    std::wstring signature;
    std::wstring langId;
    std::wstring langName;
    for (const auto& e : version.entries) {
        if (e.key == L"signature") {
            signature = e.value;
        } else if (e.key == L"langid") {
            langId = e.value;
        } else if (e.key == L"lang") {
            langName = e.value;
        }
    }
    if (signature != kLangFileSignature || langId.empty() || langName.empty()) {
        return {};
    }
    return {langId, langName};
}

void CLang::Clear() {
    m_texts.clear();
    m_forms.clear();
    m_file.clear();
    m_langId.clear();
    m_langName.clear();
    m_section.clear();
    m_fileTime = OleDate();
    m_dumpMode = 0;
}

void CLang::TakeTables(CLang&& other) {
    m_texts = std::move(other.m_texts);
    m_forms = std::move(other.m_forms);
    m_file = std::move(other.m_file);
    m_langId = std::move(other.m_langId);
    m_langName = std::move(other.m_langName);
    m_section = std::move(other.m_section);
    m_fileTime = other.m_fileTime;
    m_dumpMode = other.m_dumpMode;
    other.Clear();
}

std::wstring CLang::InstallationFolder() const {
    try {
        return m_ports.host.InstallationFolder();
    } catch (const HostError& e) {
        mGlobals::LogError(L"CLang.InstallationFolder", e);
        return {};
    }
}

CLang::Section CLang::ReadSection(const std::wstring& file, const std::wstring& section) {
    Section result;
    CLangFile reader(m_ports.files, m_ports.locale);
    if (!reader.OpenFile(file)) {
        mGlobals::LogError(kReadSection, static_cast<int32_t>(reader.LastError()),
                           L"oFile.OpenFile failed", file);
        return result;
    }
    bool inside = false;
    int lineNo = 0;
    std::wstring raw;
    while (reader.ReadLine(raw)) {
        ++lineNo;
        const std::wstring line = text::TrimSpacesTabs(raw);
        if (line.empty() || IsComment(line)) {
            continue;
        }
        if (line[0] == L'[') {
            const std::size_t close = line.find(L']', 1);
            std::wstring trouble;
            if (close == std::wstring::npos) {
                trouble = sprintf(L"symbol ']' is absent, line = %d, file = '%s'", lineNo, file);
            } else if (close == 1) {
                trouble = sprintf(L"empty section name, line - %d, file = '%s'", lineNo, file);
            } else {
                const std::wstring after = text::TrimSpacesTabs(line.substr(close + 1));
                if (!after.empty() && !IsComment(after)) {
                    trouble = sprintf(L"'%s' is not the comment, line - %d, file = '%s'", after,
                                      lineNo, file);
                }
            }
            if (!trouble.empty()) {
                mGlobals::LogError(kReadSection, 0, trouble);
                return result;
            }
            if (inside) {
                return result;  // the wanted section ends at the next header
            }
            inside = text::EqualsNoCase(line.substr(1, close - 1), section);
            result.found = result.found || inside;
            continue;
        }
        if (!inside) {
            continue;
        }
        const std::size_t eq = line.find(L'=');
        if (eq == std::wstring::npos) {
            mGlobals::LogError(
                kReadSection, 0,
                sprintf(L"symbol '=' is absent, line = %d, file = '%s'", lineNo, file));
            continue;
        }
        const std::wstring name = text::TrimSpacesTabs(line.substr(0, eq));
        if (name.empty()) {
            mGlobals::LogError(
                kReadSection, 0,
                sprintf(L"Const's name does not exist, line - %d, file = '%s'", lineNo, file));
            continue;
        }
        const std::wstring value = text::TrimSpacesTabs(CutComment(line.substr(eq + 1)));
        if (value.empty()) {
            mGlobals::LogError(
                kReadSection, 0,
                sprintf(L"Const's value does not exist, line - %d, file = '%s'", lineNo, file));
            continue;
        }
        std::wstring reason;
        const auto unquoted = Unquote(value, reason);
        if (!unquoted) {
            mGlobals::LogError(
                kReadSection, 0,
                sprintf(L"Syntactic error - '%s', line - %d, file = '%s'", reason, lineNo, file));
            continue;
        }
        result.entries.push_back({text::ToLower(name), *unquoted, lineNo});
    }
    if (reader.LastError() != 0) {
        mGlobals::LogError(kReadSection, static_cast<int32_t>(reader.LastError()),
                           L"oFile.ReadLine failed", file);
    }
    return result;
}

bool CLang::LoadTexts(const std::wstring& file, const std::wstring& section,
                      const std::wstring& names, bool forms) {
    for (const std::wstring& part : text::Split(names, L",")) {
        const std::wstring name = text::TrimSpacesTabs(part);
        if (name.empty()) {
            mGlobals::LogError(kInit, 0,
                               sprintf(forms ? L"file '%s' has error in [%s].forms"
                                             : L"file '%s' has error in [%s].texts",
                                       file, section));
            return false;
        }
        const Section read = ReadSection(file, section + L"." + name);
        if (!read.found) {
            mGlobals::LogError(
                kInit, 0,
                sprintf(L"Error readig section [%s] in file '%s'", section + L"." + name, file));
            return false;
        }
        auto repeats = [&](const Entry& e) {
            mGlobals::LogError(kReadSection, 0,
                               sprintf(L"declaration of constant '%s' repeats in a line %d of "
                                       L"'%s' file",
                                       e.key, e.line, file));
        };
        if (forms) {
            // As for texts, the first definition of a key stays.
            Entries& table = m_forms[text::ToLower(name)];
            for (const auto& e : read.entries) {
                const bool known = std::any_of(table.begin(), table.end(),
                                               [&](const auto& kv) { return kv.first == e.key; });
                if (known) {
                    repeats(e);
                } else {
                    table.emplace_back(e.key, e.value);
                }
            }
            continue;
        }
        for (const auto& e : read.entries) {
            if (!m_texts.emplace(e.key, e.value).second) {
                repeats(e);
            }
        }
    }
    return true;
}

bool CLang::Init(const std::wstring& file, const std::wstring& section) {
    Clear();
    const Section version = ReadSection(file, L"version");
    if (!version.found) {
        mGlobals::LogError(kInit, 0, sprintf(L"file '%s' has no version section", file));
        return false;
    }
    const auto [langId, langName] = ValidVersion(version);
    if (langId.empty()) {
        mGlobals::LogError(kInit, 0,
                           sprintf(L"file '%s' has no(or wrong) signature or lang or langid in "
                                   L"[version] section",
                                   file));
        return false;
    }
    const Section own = ReadSection(file, section);
    if (!own.found) {
        mGlobals::LogError(kInit, 0, sprintf(L"file '%s' has no [%s] section", file, section));
        return false;
    }
    std::wstring globals;
    std::wstring forms;
    std::wstring dumpForms;
    for (const auto& e : own.entries) {
        if (e.key == L"globals") {
            globals = e.value;
        } else if (e.key == L"forms") {
            forms = e.value;
        } else if (e.key == L"dumpforms") {
            dumpForms = e.value;
        }
    }
    if (text::TrimSpacesTabs(globals).empty()) {
        mGlobals::LogError(kInit, 0,
                           sprintf(L"file '%s' has no (or empty) [%s].texts", file, section));
    }
    if (text::TrimSpacesTabs(forms).empty()) {
        mGlobals::LogWarning(kInit,
                             sprintf(L"file '%s' has no (or empty) [%s].forms", file, section), 1);
    }
    const std::wstring mode = text::TrimSpacesTabs(dumpForms);
    const int dumpMode = (mode == L"1" || mode == L"2" || mode == L"3") ? mode[0] - L'0' : 0;
    if (dumpMode != 0) {
        mGlobals::LogWarning(kInit, L"The forms will be dumped when they will appear", 1);
    }
    if (!LoadTexts(file, section, globals, false) || !LoadTexts(file, section, forms, true)) {
        Clear();
        return false;
    }
    m_file = file;
    m_langId = langId;
    m_langName = langName;
    m_section = section;
    m_dumpMode = dumpMode;
    mFileUtils::GetFileLastModificationTime(m_ports, file, m_fileTime);
    return true;
}

std::vector<std::wstring> CLang::GetAvailableLangs(const std::wstring& folder,
                                                   const std::wstring& skip) {
    std::vector<std::wstring> langs;
    std::vector<FileFindData> found;
    try {
        found = m_ports.files.FindFiles(folder + L"\\*.lng");
    } catch (const HostError& e) {
        mGlobals::LogError(L"CLang.GetAvailableLangs", e);
        return langs;
    }
    for (const auto& entry : found) {
        if (entry.directory || text::EqualsNoCase(entry.name, skip)) {
            continue;
        }
        const std::wstring path = folder + L"\\" + entry.name;
        const Section version = ReadSection(path, L"version");
        if (!version.found) {
            mGlobals::LogWarning(L"CLang.GetAvailableLangs",
                                 sprintf(L"ignoring file '%s', coz no [version] section", path), 1);
            continue;
        }
        const auto [langId, langName] = ValidVersion(version);
        if (langId.empty()) {
            mGlobals::LogWarning(L"CLang.GetAvailableLangs",
                                 sprintf(L"ignoring file '%s', coz in section [version] no(or "
                                         L"wrong) signature or lang or langid",
                                         path),
                                 1);
            continue;
        }
        langs.push_back(langId + L"\r\n" + langName + L"\r\n" + entry.name);
    }
    return langs;
}

bool CLang::InitEx(const std::wstring& section) {
    COptions& options = m_options;
    std::wstring wanted = options.LangID();
    if (wanted.empty()) {
        wanted = L"EN";
        options.LangID(wanted);
    }
    const std::wstring folder = InstallationFolder();
    std::wstring tried;
    const std::wstring langFile = options.LangFile();
    if (!langFile.empty()) {
        if (Init(folder + L"\\" + langFile, section) && text::EqualsNoCase(m_langId, wanted)) {
            return true;
        }
        Clear();
        tried = langFile;
    }
    for (const std::wstring& entry : GetAvailableLangs(folder, tried)) {
        const auto parts = text::Split(entry, L"\r\n");
        if (parts.size() == 3 && parts[0] == wanted) {
            if (!Init(folder + L"\\" + parts[2], section)) {
                return false;
            }
            options.LangFile(parts[2]);
            return true;
        }
    }
    mGlobals::LogError(L"CLang.InitEx", 0, L"Cant find lang file by langID=" + wanted);
    return false;
}

std::wstring CLang::Item(const std::wstring& key) {
    const auto it = m_texts.find(text::ToLower(key));
    if (it == m_texts.end()) {
        mGlobals::LogError(L"CLang.Item", 0, L"Key '" + key + L"' not exists in " + m_file);
        return key;
    }
    return mGlobals::ReplaceEscapesAs(kEscapesOnly, it->second);
}

std::wstring CLang::Item(const std::wstring& key, const std::vector<Variant>& args) {
    const auto it = m_texts.find(text::ToLower(key));
    if (it == m_texts.end()) {
        mGlobals::LogError(L"CLang.Item", 0, L"Key '" + key + L"' not exists in " + m_file);
        return key;
    }
    return mGlobals::FillPlaceholdersAs(kWithArguments,
                                        mGlobals::ReplaceEscapesAs(kEscapesOnly, it->second), args);
}

bool CLang::ItemFind(const std::wstring& key) const {
    return m_texts.find(text::ToLower(key)) != m_texts.end();
}

void CLang::ItemSet(const std::wstring& key, const std::wstring& textValue) {
    m_texts[text::ToLower(key)] = textValue;
}

void CLang::LocalizeForm(Form& form) {
    if (m_dumpMode != 0) {
        DumpForm(form);
    }
    LocalizeControls(form.Name(), form);
}

void CLang::LocalizeUserControl(const std::wstring& name, Form& control) {
    if (m_dumpMode != 0) {
        DumpUserControl(name, control);
    }
    LocalizeControls(name, control);
}

void CLang::DumpForm(Form& form) {
    DumpControls(form.Name(), form);
}

void CLang::DumpUserControl(const std::wstring& name, Form& control) {
    DumpControls(name, control);
}

}  // namespace plexa
