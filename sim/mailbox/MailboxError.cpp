#include "sim/mailbox/MailboxError.h"

#include <utility>

namespace plexa::sim {

namespace {

// "file:3:14: problem", "file: at /stores/0/name: problem" or "file: problem".
std::wstring Describe(const std::wstring& file, const std::wstring& pointer,
                      const std::wstring& problem, int textLine, int textColumn) {
    std::wstring where = file.empty() ? L"mailbox" : file;
    if (textLine > 0) {
        where += L":" + std::to_wstring(textLine) + L":" + std::to_wstring(textColumn);
    }
    if (!pointer.empty()) {
        where += L": at " + pointer;
    }
    return where + L": " + problem;
}

}  // namespace

MailboxError::MailboxError(std::wstring file, std::wstring pointer, std::wstring problem,
                           int textLine, int textColumn, int32_t number)
    : HostError(number, Describe(file, pointer, problem, textLine, textColumn), L"Mailbox"),
      m_file(std::move(file)),
      m_pointer(std::move(pointer)),
      m_problem(std::move(problem)),
      m_textLine(textLine),
      m_textColumn(textColumn) {}

}  // namespace plexa::sim
