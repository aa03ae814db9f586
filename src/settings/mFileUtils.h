// Directory and file-time helpers over the file-system port. None of them throws.
#pragma once

#include <string>

#include "core/OleDate.h"

namespace plexa {
struct Platform;
}

namespace plexa::mFileUtils {

// True when a directory search for path + "\*" finds any entry.
bool DirExists(const Platform& ports, const std::wstring& path);

// Creates the directory and any missing parents; true when it exists afterwards. The path must
// start with a drive ("C:\..."); "/" counts as "\". A drive alone is never created.
bool CreateDirPath(const Platform& ports, const std::wstring& path);

// The file's last-write time in local time, to the second; false when the file cannot be
// opened.
bool GetFileLastModificationTime(const Platform& ports, const std::wstring& path, OleDate& date);

}  // namespace plexa::mFileUtils
