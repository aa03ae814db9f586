// Keeps the two log files small: at connection, a file over its limit is cut to its newer half,
// starting at a run marker (Plexa.log) or a line start (Plexa.err). The kept part is copied to a
// side file which then replaces the log in one rename, so a failure at any step leaves the old
// log whole.
#pragma once

#include <cstdint>
#include <string>

namespace plexa {
struct Platform;
}

namespace plexa::mReduceLog {

void CheckLibOrvinLog(const Platform& ports, int64_t maxLogSize, int64_t maxErrSize);

// The application-data folder without a trailing separator; "" (and an error entry) on failure.
std::wstring GetAppDataDir(const Platform& ports);
// The same without logging, for the log writer itself. Throws HostError.
std::wstring ReadAppDataDir(const Platform& platform);
// "<application data>\Orvin\<product short name>\<product code>", the log files' path without
// the extension. Throws HostError.
std::wstring LogBasePath(const Platform& platform);

// The 1-based byte position of the first match of pattern at or after start, letter case
// ignored for ASCII letters; -1 when there is none or the file cannot be read (logged).
int64_t FindInTextFile(const Platform& ports, const std::wstring& path, const std::wstring& pattern,
                       int64_t start);
// Copies the source from the 1-based byte position start to the end into a new target,
// in 1,024-byte chunks, each cut at its first zero byte (log text holds none). False (logged)
// on any failure; the target is then incomplete and must not be used.
bool CopyTextFileFrom(const Platform& ports, const std::wstring& source, const std::wstring& target,
                      int64_t start);
// The size in bytes; 0 when the file cannot be opened for reading with read sharing.
int64_t GetFileSizeByName(const Platform& ports, const std::wstring& path);

}  // namespace plexa::mReduceLog
