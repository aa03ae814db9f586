// The host's error: what a failed call on the mail client, the safe-access library or a Windows
// service raises. Operations catch it where the system's behaviour says and hand it to LogError.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace plexa {

class HostError : public std::runtime_error {
public:
    HostError(int32_t number, std::wstring description, std::wstring source = L"Plexa",
              int32_t line = 0);

    int32_t Number() const { return m_number; }
    const std::wstring& Description() const { return m_description; }
    const std::wstring& Source() const { return m_source; }
    // The source line the error is reported at (the host's Erl); 0 when not known.
    int32_t Line() const { return m_line; }

private:
    int32_t m_number;
    std::wstring m_description;
    std::wstring m_source;
    int32_t m_line;
};

// Run-time error numbers of the host's automation runtime that this code raises itself.
namespace vberr {
inline constexpr int32_t InvalidProcedureCall = 5;
inline constexpr int32_t Overflow = 6;
inline constexpr int32_t SubscriptOutOfRange = 9;
inline constexpr int32_t TypeMismatch = 13;
inline constexpr int32_t FileNotFound = 53;
inline constexpr int32_t FileAlreadyExists = 58;
inline constexpr int32_t PermissionDenied = 70;
inline constexpr int32_t PathFileAccessError = 75;
inline constexpr int32_t PathNotFound = 76;
inline constexpr int32_t InvalidUseOfNull = 94;
inline constexpr int32_t InvalidFileFormat = 321;
inline constexpr int32_t ResourceNotFound = 326;
}  // namespace vberr

// The host runtime's standard description for one of the numbers above.
std::wstring DescribeRuntimeError(int32_t number);
// A HostError with the runtime's number and standard description.
HostError RuntimeError(int32_t number);

}  // namespace plexa
