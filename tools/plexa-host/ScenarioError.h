// What is wrong with a scenario: the file, the 1-based line (0 when the problem is not on one
// line) and what is wrong. A scenario with such an error is not run at all (exit status 2).
#pragma once

#include <stdexcept>
#include <string>

namespace plexa::host {

class ScenarioError : public std::runtime_error {
public:
    ScenarioError(std::wstring file, int line, std::wstring problem);

    const std::wstring& File() const { return m_file; }
    int Line() const { return m_line; }
    const std::wstring& Problem() const { return m_problem; }
    // "file:line: problem", or "file: problem" without a line.
    std::wstring Describe() const;

private:
    std::wstring m_file;
    int m_line;
    std::wstring m_problem;
};

}  // namespace plexa::host
