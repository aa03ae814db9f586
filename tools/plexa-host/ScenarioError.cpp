#include "ScenarioError.h"

#include "core/Text.h"

namespace plexa::host {

namespace {

std::wstring Compose(const std::wstring& file, int line, const std::wstring& problem) {
    if (line > 0) {
        return file + L":" + std::to_wstring(line) + L": " + problem;
    }
    return file + L": " + problem;
}

}  // namespace

ScenarioError::ScenarioError(std::wstring file, int line, std::wstring problem)
    : std::runtime_error(text::ToUtf8(Compose(file, line, problem))),
      m_file(std::move(file)),
      m_line(line),
      m_problem(std::move(problem)) {}

std::wstring ScenarioError::Describe() const {
    return Compose(m_file, m_line, m_problem);
}

}  // namespace plexa::host
