// What plexa-host prints: each command as it runs and what it shows, every failure with the
// scenario's file and line, and a closing summary. Quiet, it prints only the failures and the
// summary. Text goes out as UTF-8.
#pragma once

#include <ostream>
#include <string>

namespace plexa::host {

class Transcript {
public:
    Transcript(std::ostream& out, bool quiet) : m_out(out), m_quiet(quiet) {}

    // The command about to run, as written.
    void Command(const std::wstring& file, int line, const std::wstring& source);
    // A line of what a command shows (indented below it).
    void Show(const std::wstring& text);
    // A line of its own (headings of the demo, the host's own notes).
    void Note(const std::wstring& text);
    // A failed expectation or command: "file:line: FAILED what".
    void Failure(const std::wstring& file, int line, const std::wstring& what);
    void ExpectationHeld() { ++m_held; }
    // "N expectations held, M failed", always printed.
    void Summary();

    int Failures() const { return m_failures; }
    int Held() const { return m_held; }
    bool Quiet() const { return m_quiet; }

private:
    void Write(const std::wstring& text);

    std::ostream& m_out;
    bool m_quiet;
    int m_failures = 0;
    int m_held = 0;
};

}  // namespace plexa::host
