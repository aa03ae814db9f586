// What goes wrong with a mailbox file: the file, where in it (a JSON pointer such as
// "/stores/0/folders/2/items/5/email", or the line and column of a syntax error) and what is
// wrong. It is a HostError (Invalid file format, or the file error that stopped reading or
// writing) so that callers handling the host's errors handle it too.
#pragma once

#include <string>

#include "core/HostError.h"

namespace plexa::sim {

class MailboxError : public HostError {
public:
    // A problem at a place in the document; textLine and textColumn are 1-based, 0 when the
    // problem is not a syntax error.
    MailboxError(std::wstring file, std::wstring pointer, std::wstring problem, int textLine = 0,
                 int textColumn = 0, int32_t number = vberr::InvalidFileFormat);

    const std::wstring& File() const { return m_file; }
    // The JSON pointer of the value that is wrong ("" for the whole document).
    const std::wstring& Pointer() const { return m_pointer; }
    int TextLine() const { return m_textLine; }
    int TextColumn() const { return m_textColumn; }
    const std::wstring& Problem() const { return m_problem; }

private:
    std::wstring m_file;
    std::wstring m_pointer;
    std::wstring m_problem;
    int m_textLine;
    int m_textColumn;
};

}  // namespace plexa::sim
