// One diagnostic entry as the log writer receives it.
#pragma once

#include <cstdint>
#include <string>

namespace plexa {

enum class LogLevel : int { Debug = 1, Warning = 2, Error = 3 };

struct LogEntry {
    std::wstring text;
    int32_t number = 0;
    std::wstring source;
    LogLevel level = LogLevel::Debug;
    int detail = 1;  // 1 to 3; error entries always carry 1
};

// Receives every entry besides the log files (tests and the command-line host listen here).
class ILogSink {
public:
    virtual ~ILogSink() = default;
    virtual void Receive(const LogEntry& entry) = 0;
};

}  // namespace plexa
