// The language table. Every text the user sees comes from a language file (*.lng) in the
// installation folder: CLang picks the file for the user's language, loads its text table and
// its dialog tables, answers look-ups by key, and applies the dialog tables to dialogs by
// control name. Nothing here throws: trouble is logged, and a missing text is its own key.
#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/OleDate.h"
#include "core/Variant.h"

namespace plexa {

class COptions;
class Form;
struct Platform;

class CLang {
public:
    // The ports it reads files, pictures and the installation folder through, and the settings
    // that name the user's language.
    CLang(const Platform& ports, COptions& options) : m_ports(ports), m_options(options) {}
    CLang(const CLang&) = delete;
    CLang& operator=(const CLang&) = delete;

    // Picks the language file for the user's language setting and loads it.
    bool InitEx(const std::wstring& section);
    // Loads one file; on failure the table stays empty.
    bool Init(const std::wstring& file, const std::wstring& section);
    // Forgets the loaded file and its texts, as the add-in's end does: a later InitEx chooses
    // the language afresh.
    void Release() { Clear(); }
    // The valid language files of a folder, except the one to skip: each entry is
    // langid CR LF lang CR LF file name.
    std::vector<std::wstring> GetAvailableLangs(const std::wstring& folder,
                                                const std::wstring& skip);

    // The text of a key (letter case ignored), escapes expanded; the key itself (and an error
    // entry) when the table lacks it. With arguments, %s and %d are filled in as sprintf does.
    std::wstring Item(const std::wstring& key);
    std::wstring Item(const std::wstring& key, const std::vector<Variant>& args);
    bool ItemFind(const std::wstring& key) const;
    void ItemSet(const std::wstring& key, const std::wstring& text);

    const std::wstring& Filename() const { return m_file; }
    const std::wstring& LangID() const { return m_langId; }
    const std::wstring& LangName() const { return m_langName; }
    int DumpMode() const { return m_dumpMode; }

    // Applies the dialog table of the form's name (dumping it first when the file asks).
    void LocalizeForm(Form& form);
    // The same for a user control, modelled as a Form of its own controls.
    void LocalizeUserControl(const std::wstring& name, Form& control);
    // Writes the dialog's texts and layout to Dump\<name>.txt below the installation folder.
    void DumpForm(Form& form);
    void DumpUserControl(const std::wstring& name, Form& control);

private:
    using Entries = std::vector<std::pair<std::wstring, std::wstring>>;
    struct Entry {
        std::wstring key;    // lower-cased
        std::wstring value;  // the text between the quotes, doubled quotes made one
        int line;
    };
    struct Section {
        bool found = false;
        std::vector<Entry> entries;  // in file order
    };

    void Clear();
    // Takes over the other table's file and texts (a reload that succeeded).
    void TakeTables(CLang&& other);
    // The langid and lang of a [version] section with the right signature; both "" otherwise.
    static std::pair<std::wstring, std::wstring> ValidVersion(const Section& version);
    Section ReadSection(const std::wstring& file, const std::wstring& section);
    bool LoadTexts(const std::wstring& file, const std::wstring& section, const std::wstring& names,
                   bool forms);
    void LocalizeControls(const std::wstring& name, Form& form);
    void DumpControls(const std::wstring& name, Form& form);
    void ApplyEntry(Form& form, const std::wstring& key, const std::wstring& value);
    std::wstring InstallationFolder() const;

    const Platform& m_ports;
    COptions& m_options;
    std::unordered_map<std::wstring, std::wstring> m_texts;
    std::map<std::wstring, Entries> m_forms;
    std::wstring m_file;
    std::wstring m_langId;
    std::wstring m_langName;
    std::wstring m_section;
    OleDate m_fileTime;
    int m_dumpMode = 0;
};

// The signature a language file's [version] section must carry.
inline constexpr const wchar_t* kLangFileSignature = L"Orvin.LangLngFile";

}  // namespace plexa
