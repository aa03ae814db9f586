#include "Transcript.h"

#include "core/Text.h"

namespace plexa::host {

void Transcript::Write(const std::wstring& text) {
    m_out << text::ToUtf8(text) << '\n';
}

void Transcript::Command(const std::wstring& file, int line, const std::wstring& source) {
    (void)file;
    if (!m_quiet) {
        Write(L"> " + source + (line > 0 ? L"    (line " + std::to_wstring(line) + L")" : L""));
    }
}

void Transcript::Show(const std::wstring& text) {
    if (m_quiet) {
        return;
    }
    // A shown text may span lines; each is indented.
    for (const std::wstring& part : text::Split(text, L"\n")) {
        Write(L"  " + part);
    }
}

void Transcript::Note(const std::wstring& text) {
    if (!m_quiet) {
        Write(text);
    }
}

void Transcript::Failure(const std::wstring& file, int line, const std::wstring& what) {
    ++m_failures;
    std::wstring where = file;
    if (line > 0) {
        where += L":" + std::to_wstring(line);
    }
    Write(where + L": FAILED " + what);
}

void Transcript::Summary() {
    Write(std::to_wstring(m_held) + L" expectation" + (m_held == 1 ? L"" : L"s") + L" held, " +
          std::to_wstring(m_failures) + L" failed");
    m_out.flush();
}

}  // namespace plexa::host
