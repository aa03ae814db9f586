// The language table's dialog side: applying a dialog table to a form, and dumping a form's
// texts and layout as a starting point for a translation.
#include <cwctype>

#include "core/Form.h"
#include "core/HostError.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "settings/CLang.h"
#include "settings/mFileUtils.h"
#include "settings/mGlobals.h"

namespace plexa {

namespace {

constexpr const wchar_t* kLocalize = L"CLang.LocalizeControls";
constexpr const wchar_t* kDumpControl = L"CLang.DumpControl";
constexpr const wchar_t* kDumpControls = L"CLang.DumpControls";

using mGlobals::sprintf;

// Doubles backslashes and quotes and writes line breaks and tabs as escapes, so a dumped text
// reads back as the same language-file value.
std::wstring EscapeForDump(std::wstring_view s) {
    std::wstring out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const wchar_t c = s[i];
        if (c == L'\\') {
            out += L"\\\\";
        } else if (c == L'"') {
            out += L"\"\"";
        } else if (c == L'\t') {
            out += L"\\t";
        } else if (c == L'\r' && i + 1 < s.size() && s[i + 1] == L'\n') {
            out += L"\\n";
            ++i;
        } else if (c == L'\n' || c == L'\r') {
            out += L"\\n";
        } else {
            out += c;
        }
    }
    return out;
}

// With tab stops every 8 columns, puts the first "=" of a line in column 33.
std::wstring Align(std::wstring line) {
    const std::size_t eq = line.find(L'=');
    if (eq == std::wstring::npos) {
        return line;
    }
    const std::size_t p = eq + 1;  // 1-based
    if (p < 32) {
        line.insert(eq, 5 - (p + 7) / 8, L'\t');
    }
    return line;
}

std::wstring Number(double d, const Locale& locale) {
    return CStr(Variant(d), locale);
}

// A path below the installation folder: no drive, no root, no climbing out.
bool IsSafeRelativePath(const std::wstring& path) {
    if (path.empty() || path.find(L':') != std::wstring::npos || path[0] == L'\\' ||
        path[0] == L'/') {
        return false;
    }
    for (const auto& part : text::Split(text::ReplaceAll(path, L"/", L"\\"), L"\\")) {
        if (text::TrimSpacesTabs(part) == L"..") {
            return false;
        }
    }
    return true;
}

struct Target {
    Control* control = nullptr;  // nullptr: the dialog itself
};

}  // namespace

void CLang::ApplyEntry(Form& form, const std::wstring& key, const std::wstring& rawValue) {
    const std::size_t dot = key.find(L'.');
    const std::wstring controlPart = dot == std::wstring::npos ? key : key.substr(0, dot);
    const std::wstring property = dot == std::wstring::npos ? L"caption" : key.substr(dot + 1);

    std::wstring controlName = controlPart;
    int index = -1;
    const std::size_t open = controlPart.find(L'(');
    if (open != std::wstring::npos) {
        const std::wstring inner = controlPart.size() > open + 2 && controlPart.back() == L')'
                                       ? controlPart.substr(open + 1, controlPart.size() - open - 2)
                                       : std::wstring();
        const bool digits = !inner.empty() && inner.size() <= 6 &&
                            inner.find_first_not_of(L"0123456789") == std::wstring::npos;
        if (!digits) {
            mGlobals::LogError(kLocalize, 0,
                               sprintf(L"invalid key '%s' for form '%s'", key, form.Name()));
            return;
        }
        index = std::stoi(inner);
        controlName = controlPart.substr(0, open);
    }
    Target target;
    if (!controlName.empty()) {
        target.control = form.Find(controlName, index);
        if (target.control == nullptr) {
            mGlobals::LogError(
                kLocalize, 0,
                sprintf(L"'%s%s' control does not exist on '%s' form", controlName,
                        index < 0 ? std::wstring() : L"(" + std::to_wstring(index) + L")",
                        form.Name()));
            return;
        }
    }
    const std::wstring value = mGlobals::ReplaceEscapesAs(L"CLang::sprintf2", rawValue);
    const std::wstring& p = property;
    Control* c = target.control;
    const ControlType type = c != nullptr ? c->Type() : ControlType::Frame;

    // Position and size: absolute, or added with the "d" forms; line end points.
    double* position = nullptr;
    if (p == L"left" || p == L"dleft") {
        position = c != nullptr ? &c->left : &form.left;
    } else if (p == L"top" || p == L"dtop") {
        position = c != nullptr ? &c->top : &form.top;
    } else if (p == L"width" || p == L"dwidth") {
        position = c != nullptr ? &c->width : &form.width;
    } else if (p == L"height" || p == L"dheight") {
        position = c != nullptr ? &c->height : &form.height;
    } else if (c != nullptr && type == ControlType::Line) {
        position = p == L"x1"   ? &c->x1
                   : p == L"y1" ? &c->y1
                   : p == L"x2" ? &c->x2
                   : p == L"y2" ? &c->y2
                                : nullptr;
    }
    if (position != nullptr) {
        try {
            const double n = CDbl(Variant(value), m_ports.locale);
            *position = p[0] == L'd' ? *position + n : n;
        } catch (const HostError& e) {
            mGlobals::LogError(kLocalize, e, form.Name() + L"." + key + L" = " + value);
        }
        return;
    }
    if (p == L"caption" && (c == nullptr || HasCaption(type))) {
        (c != nullptr ? c->caption : form.caption) = value;
        return;
    }
    if (p == L"tooltiptext" && c != nullptr) {
        c->toolTipText = value;
        return;
    }
    if (p == L"picture" && (c == nullptr || HasPicture(type))) {
        if (!IsSafeRelativePath(value)) {
            mGlobals::LogError(kLocalize, 0,
                               sprintf(L"You should specify a relative file path for %s.%s.%s",
                                       form.Name(), controlPart, property));
            return;
        }
        try {
            auto picture = m_ports.pictures.LoadPicture(InstallationFolder() + L"\\" + value);
            (c != nullptr ? c->picture : form.picture) = std::move(picture);
        } catch (const HostError& e) {
            mGlobals::LogError(kLocalize, e, form.Name() + L"." + key + L" = " + value);
        }
        return;
    }
    mGlobals::LogError(kLocalize, 0, sprintf(L"'%s' property does not supported", property));
}

void CLang::LocalizeControls(const std::wstring& name, Form& form) {
    if (!m_file.empty()) {
        OleDate changed;
        if (mFileUtils::GetFileLastModificationTime(m_ports, m_file, changed) &&
            changed > m_fileTime) {
            mGlobals::LogWarning(kLocalize,
                                 sprintf(L"last modification time of file '%s' was changed, "
                                         L"reloading file...",
                                         m_file),
                                 1);
            // Loaded into a table of its own and taken only when whole: a file caught half
            // written keeps the texts in use, and the next dialog tries again.
            CLang fresh(m_ports, m_options);
            if (fresh.Init(m_file, m_section)) {
                TakeTables(std::move(fresh));
            } else {
                mGlobals::LogWarning(
                    kLocalize, sprintf(L"reloading '%s' failed, keeping the texts in use", m_file),
                    1);
            }
        }
    }
    const auto table = m_forms.find(text::ToLower(name));
    if (table == m_forms.end()) {
        mGlobals::LogWarning(kLocalize, sprintf(L"Locale for '%s' form not exists", name), 1);
        return;
    }
    for (const auto& [key, value] : table->second) {
        ApplyEntry(form, key, value);
    }
}

void CLang::DumpControls(const std::wstring& name, Form& form) {
    const int mode = m_dumpMode == 0 ? 1 : m_dumpMode;
    const std::wstring folder = InstallationFolder() + L"\\Dump";
    if (!mFileUtils::CreateDirPath(m_ports, folder)) {
        mGlobals::LogError(kDumpControls, 0, L"Cannot create the folder " + folder);
        return;
    }
    IFileSystem& files = m_ports.files;
    std::wstring out = sprintf(L"[%s.%s]", m_section, name) + L"\r\n";

    auto block = [&](const std::wstring& controlName, const std::wstring& typeName,
                     const std::wstring& caption, bool hasCaption, bool isLine,
                     const std::wstring& tooltip, const std::shared_ptr<IPictureDisp>& picture,
                     double l, double t, double w, double h, const Control* line) {
        std::vector<std::wstring> lines;
        const std::wstring captionKey = controlName.empty() ? L".Caption" : controlName;
        if (!isLine && (mode != 3 || !caption.empty())) {
            lines.push_back(captionKey + L"=\"" + EscapeForDump(hasCaption ? caption : L"") +
                            L"\"");
        }
        if (mode == 1) {
            lines.push_back(controlName + L".Left=\"" + Number(l, m_ports.locale) + L"\"");
            lines.push_back(controlName + L".Top=\"" + Number(t, m_ports.locale) + L"\"");
            lines.push_back(controlName + L".Width=\"" + Number(w, m_ports.locale) + L"\"");
            lines.push_back(controlName + L".Height=\"" + Number(h, m_ports.locale) + L"\"");
            if (picture && !controlName.empty()) {
                const std::wstring pictureFolder = folder + L"\\" + name;
                const std::wstring path = pictureFolder + L"\\" + controlName + L".bmp";
                try {
                    if (!mFileUtils::CreateDirPath(m_ports, pictureFolder)) {
                        throw HostError(vberr::PathNotFound, L"Path not found: " + pictureFolder);
                    }
                    m_ports.pictures.SavePicture(picture, path);
                    lines.push_back(controlName + L".Picture= \"" + EscapeForDump(path) + L"\"");
                } catch (const HostError& e) {
                    mGlobals::LogError(kDumpControl, e, path);
                    try {
                        files.RemoveDirectory(pictureFolder);
                    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): not empty
                    }
                }
            }
            if (line != nullptr) {
                lines.push_back(controlName + L".X1=\"" + Number(line->x1, m_ports.locale) + L"\"");
                lines.push_back(controlName + L".Y1=\"" + Number(line->y1, m_ports.locale) + L"\"");
                lines.push_back(controlName + L".X2=\"" + Number(line->x2, m_ports.locale) + L"\"");
                lines.push_back(controlName + L".Y2=\"" + Number(line->y2, m_ports.locale) + L"\"");
            }
        }
        if (!tooltip.empty()) {
            lines.push_back(controlName + L".ToolTipText=\"" + EscapeForDump(tooltip) + L"\"");
        }
        if (lines.empty()) {
            return;
        }
        out += mode == 1 ? std::wstring() : L"; " + controlName + L"(" + typeName + L")";
        out += L"\r\n";
        for (const auto& l2 : lines) {
            out += Align(l2) + L"\r\n";
        }
    };

    block(L"", L"Form", form.caption, true, false, L"", nullptr, form.left, form.top, form.width,
          form.height, nullptr);
    for (const auto& control : form.Controls()) {
        const bool isLine = control->Type() == ControlType::Line;
        block(control->QualifiedName(), ControlTypeName(control->Type()), control->caption,
              HasCaption(control->Type()), isLine, control->toolTipText, control->picture,
              control->left, control->top, control->width, control->height,
              isLine ? control.get() : nullptr);
    }

    const std::string bytes = "\xEF\xBB\xBF" + text::ToUtf8(out);
    try {
        auto file = files.Open(folder + L"\\" + name + L".txt", FileAccess::Write, FileShareNone,
                               FileCreation::CreateAlways);
        file->Write(bytes.data(), bytes.size());
    } catch (const HostError& e) {
        mGlobals::LogError(kDumpControls, e, folder + L"\\" + name + L".txt");
    }
}

}  // namespace plexa
