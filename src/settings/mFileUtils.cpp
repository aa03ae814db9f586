#include "settings/mFileUtils.h"

#include "core/HostError.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "settings/mMisc.h"

namespace plexa::mFileUtils {

namespace {

// MkDir with its errors ignored: whether the directory is there is checked afterwards.
void TryCreate(IFileSystem& files, const std::wstring& path) {
    try {
        files.CreateDirectory(path);
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): existence is checked next
    }
}

bool IsDriveOnly(const std::wstring& level) {
    return level.size() == 2 && level[1] == L':';
}

}  // namespace

bool DirExists(const Platform& ports, const std::wstring& path) {
    try {
        return !ports.files.FindFiles(path + L"\\*").empty();
    } catch (const HostError&) {
        return false;
    }
}

bool CreateDirPath(const Platform& ports, const std::wstring& path) {
    TryCreate(ports.files, path);
    if (DirExists(ports, path)) {
        return true;
    }
    const std::wstring normalized = text::ReplaceAll(path, L"/", L"\\");
    std::size_t from = 0;
    if (normalized.starts_with(L"\\\\")) {
        // A network path: \\server\share is there or not; only the folders below it are made.
        const std::size_t server = normalized.find(L'\\', 2);
        const std::size_t share =
            server == std::wstring::npos ? server : normalized.find(L'\\', server + 1);
        if (share == std::wstring::npos || server == 2 || share == server + 1) {
            return false;
        }
        from = share + 1;
    } else {
        const std::size_t colon = path.find(L':');
        if (colon == std::wstring::npos || colon + 1 >= path.size()) {
            return false;
        }
        from = colon + 1;
    }
    for (;;) {
        const std::size_t slash = normalized.find(L'\\', from);
        const std::wstring level =
            slash == std::wstring::npos ? normalized : normalized.substr(0, slash);
        const bool lastLevel = slash == std::wstring::npos;
        // The drive itself is never created, and "a\\b" or a trailing "\" adds no level.
        if (!IsDriveOnly(level) && !level.empty() && level.back() != L'\\' &&
            (lastLevel || slash > from)) {
            TryCreate(ports.files, level);
            if (!DirExists(ports, level)) {
                return false;
            }
        }
        if (lastLevel) {
            return true;
        }
        from = slash + 1;
    }
}

bool GetFileLastModificationTime(const Platform& ports, const std::wstring& path, OleDate& date) {
    try {
        auto file = ports.files.Open(path, FileAccess::None, FileShareRead | FileShareWrite,
                                     FileCreation::OpenExisting);
        const OleDate utc = file->LastWriteTimeUtc();
        const OleDate local = utc.DateAdd(L"n", -mMisc::GetTimeZoneBias(ports, true));
        date = OleDate::FromParts(local.Year(), local.Month(), local.Day(), local.Hour(),
                                  local.Minute(), local.Second());
        return true;
    } catch (const HostError&) {
        return false;
    }
}

}  // namespace plexa::mFileUtils
