// Writes log entries to Plexa.log (every entry) and Plexa.err (warnings and errors) below the
// application-data folder. The first entry of a run is preceded by a ":Start:" line in
// Plexa.log. Each entry opens, appends and closes the files, so the upkeep and other readers
// never find them held open. Writing never throws: an entry that cannot be written is lost.
#pragma once

#include <string>

#include "settings/LogEntry.h"

namespace plexa {

struct Platform;

class CLogWriter {
public:
    explicit CLogWriter(Platform& platform) : m_platform(platform) {}

    void Write(const LogEntry& entry) noexcept;

    // Full paths of the two files, "" when the application-data folder is unknown.
    std::wstring LogPath() const;
    std::wstring ErrPath() const;

    // One entry as a line of the files, without its line feed.
    std::string FormatLine(const LogEntry& entry) const;

private:
    std::wstring BasePath() const;
    void Append(const std::wstring& path, const std::string& bytes);

    Platform& m_platform;
    bool m_started = false;
    bool m_folderReady = false;
};

}  // namespace plexa
