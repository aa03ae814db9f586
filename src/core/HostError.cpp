#include "core/HostError.h"

#include "core/Text.h"

namespace plexa {

HostError::HostError(int32_t number, std::wstring description, std::wstring source, int32_t line)
    : std::runtime_error(text::ToUtf8(description)),
      m_number(number),
      m_description(std::move(description)),
      m_source(std::move(source)),
      m_line(line) {}

std::wstring DescribeRuntimeError(int32_t number) {
    switch (number) {
        case vberr::InvalidProcedureCall:
            return L"Invalid procedure call or argument";
        case vberr::Overflow:
            return L"Overflow";
        case vberr::SubscriptOutOfRange:
            return L"Subscript out of range";
        case vberr::TypeMismatch:
            return L"Type mismatch";
        case vberr::FileNotFound:
            return L"File not found";
        case vberr::FileAlreadyExists:
            return L"File already exists";
        case vberr::PermissionDenied:
            return L"Permission denied";
        case vberr::PathFileAccessError:
            return L"Path/File access error";
        case vberr::PathNotFound:
            return L"Path not found";
        case vberr::InvalidUseOfNull:
            return L"Invalid use of Null";
        case vberr::InvalidFileFormat:
            return L"Invalid file format";
        case vberr::ResourceNotFound:
            return L"Resource with this identifier not found";
        default:
            return L"Application-defined or object-defined error";
    }
}

HostError RuntimeError(int32_t number) {
    return HostError(number, DescribeRuntimeError(number));
}

}  // namespace plexa
