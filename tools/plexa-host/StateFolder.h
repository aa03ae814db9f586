// The client's state between runs, in a real folder:
//   registry.reg   the registry hive (registry editor export format)
//   mailbox.json   the mailbox (docs/mailbox-format.md)
//   clock.txt      the clock, as "yyyy-mm-dd hh:mm:ss UTC"
//   files/         the simulated disk: drive C: is files/C, and the application-data folder with
//                  Plexa's logs is files/C/Users/User/AppData/Roaming
// Without a folder given, a fresh temporary one is made and removed when the object goes.
#pragma once

#include <filesystem>
#include <optional>

#include "core/OleDate.h"

namespace plexa::host {

class StateFolder {
public:
    // Throws std::runtime_error when the folder cannot be made.
    explicit StateFolder(std::optional<std::filesystem::path> folder);
    ~StateFolder();
    StateFolder(const StateFolder&) = delete;
    StateFolder& operator=(const StateFolder&) = delete;

    const std::filesystem::path& Folder() const { return m_folder; }
    bool IsTemporary() const { return m_temporary; }
    std::filesystem::path RegistryFile() const { return m_folder / "registry.reg"; }
    std::filesystem::path MailboxFile() const { return m_folder / "mailbox.json"; }
    std::filesystem::path ClockFile() const { return m_folder / "clock.txt"; }
    std::filesystem::path FilesRoot() const { return m_folder / "files"; }

    // The saved clock in UTC; nothing when none is saved. Throws std::runtime_error naming the
    // file when it holds something else.
    std::optional<OleDate> LoadClock() const;
    // Written beside the target and renamed over it. Throws std::runtime_error.
    void SaveClock(OleDate utc) const;

private:
    std::filesystem::path m_folder;
    bool m_temporary = false;
};

}  // namespace plexa::host
