#include "settings/mReduceLog.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/Text.h"
#include "platform/Platform.h"
#include "settings/mGlobals.h"

namespace plexa::mReduceLog {

namespace {

constexpr std::size_t kFindChunk = 256;
constexpr std::size_t kCopyChunk = 1024;

unsigned char FoldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

std::size_t FindBytesNoCase(const std::string& hay, const std::string& needle) {
    if (needle.size() > hay.size()) {
        return std::string::npos;
    }
    for (std::size_t i = 0; i + needle.size() <= hay.size(); ++i) {
        bool match = true;
        for (std::size_t k = 0; k < needle.size() && match; ++k) {
            match = FoldAscii(static_cast<unsigned char>(hay[i + k])) ==
                    FoldAscii(static_cast<unsigned char>(needle[k]));
        }
        if (match) {
            return i;
        }
    }
    return std::string::npos;
}

// The length of a chunk up to its first zero byte.
std::size_t CutAtZero(const char* data, std::size_t n) {
    const void* zero = std::memchr(data, 0, n);
    return zero == nullptr ? n : static_cast<std::size_t>(static_cast<const char*>(zero) - data);
}

// Cuts one log file to what starts at the 1-based position, replacing it in one rename.
void KeepFrom(const Platform& ports, const std::wstring& path, int64_t position) {
    const std::wstring copy = path + L"1";
    if (!CopyTextFileFrom(ports, path, copy, position)) {
        return;  // the log stays as it was; the side file is replaced next time
    }
    ports.files.MoveFile(copy, path, true);
}

}  // namespace

std::wstring ReadAppDataDir(const Platform& platform) {
    std::wstring dir = platform.shell.GetSpecialFolderPath(CSIDL_APPDATA);
    const std::size_t zero = dir.find(L'\0');
    if (zero != std::wstring::npos) {
        dir.resize(zero);
    }
    if (dir.size() > 260) {
        dir.resize(260);
    }
    if (!dir.empty() && (dir.back() == L'\\' || dir.back() == L'/')) {
        dir.pop_back();
    }
    return dir;
}

std::wstring GetAppDataDir(const Platform& ports) {
    try {
        return ReadAppDataDir(ports);
    } catch (const HostError& e) {
        mGlobals::LogError(L"mReduceLog::GetAppDataDir", e);
        return {};
    }
}

std::wstring LogBasePath(const Platform& platform) {
    return ReadAppDataDir(platform) + L"\\" +
           platform.resources.LoadResString(IDS_COMPANY_SHORT_NAME) + L"\\" +
           platform.resources.LoadResString(IDS_PRODUCT_SHORT_NAME) + L"\\" +
           platform.resources.LoadResString(IDS_PRODUCT_CODE);
}

int64_t FindInTextFile(const Platform& ports, const std::wstring& path, const std::wstring& pattern,
                       int64_t start) {
    try {
        const std::string needle = text::ToAnsi(pattern, ports.locale.codePage.c_str());
        auto file = ports.files.Open(path, FileAccess::Read, FileShareRead | FileShareWrite,
                                     FileCreation::OpenExisting);
        const int64_t first = std::max<int64_t>(start, 1);
        file->Seek(static_cast<uint64_t>(first - 1));
        int64_t bytesBefore = first - 1;
        std::string carry;
        std::array<char, kFindChunk> buffer{};
        for (;;) {
            const std::size_t n = file->Read(buffer.data(), buffer.size());
            if (n == 0) {
                return -1;
            }
            const std::size_t kept = CutAtZero(buffer.data(), n);
            const std::string hay = carry + std::string(buffer.data(), kept);
            const std::size_t k = FindBytesNoCase(hay, needle);
            if (k != std::string::npos) {
                return bytesBefore + static_cast<int64_t>(k) - static_cast<int64_t>(carry.size()) +
                       1;
            }
            // Bytes after a zero are not contiguous with the next chunk: no match spans them.
            const std::size_t carryLength = needle.empty() ? 0 : needle.size() - 1;
            carry = kept < n ? std::string()
                             : hay.substr(hay.size() - std::min(hay.size(), carryLength));
            bytesBefore += static_cast<int64_t>(n);
        }
    } catch (const HostError& e) {
        mGlobals::LogError(L"mReduceLog::FindInTextFile", e);
        return -1;
    }
}

bool CopyTextFileFrom(const Platform& ports, const std::wstring& source, const std::wstring& target,
                      int64_t start) {
    try {
        try {
            ports.files.DeleteFile(target);
        } catch (const HostError& e) {
            if (e.Number() != vberr::FileNotFound) {
                throw;
            }
        }
        auto in = ports.files.Open(source, FileAccess::Read, FileShareRead | FileShareWrite,
                                   FileCreation::OpenExisting);
        in->Seek(static_cast<uint64_t>(std::max<int64_t>(start, 1) - 1));
        auto out =
            ports.files.Open(target, FileAccess::Write, FileShareNone, FileCreation::CreateAlways);
        std::array<char, kCopyChunk> buffer{};
        for (;;) {
            const std::size_t n = in->Read(buffer.data(), buffer.size());
            if (n == 0) {
                return true;
            }
            out->Write(buffer.data(), CutAtZero(buffer.data(), n));
        }
    } catch (const HostError& e) {
        mGlobals::LogError(L"mReduceLog::CopyTextFileFrom", e);
        return false;
    }
}

int64_t GetFileSizeByName(const Platform& ports, const std::wstring& path) {
    try {
        auto file =
            ports.files.Open(path, FileAccess::Read, FileShareRead, FileCreation::OpenExisting);
        return static_cast<int64_t>(file->Size());
    } catch (const HostError&) {
        return 0;  // a missing or locked file counts as empty: there is nothing to cut
    }
}

void CheckLibOrvinLog(const Platform& ports, int64_t maxLogSize, int64_t maxErrSize) {
    try {
        const std::wstring base = LogBasePath(ports);

        const std::wstring logPath = base + L".log";
        int64_t size = GetFileSizeByName(ports, logPath);
        if (size > maxLogSize) {
            const int64_t start = size - std::max<int64_t>(maxLogSize, 0) / 2;
            int64_t position = FindInTextFile(ports, logPath, L":Start:", start);
            if (position == -1) {
                position = start;
            }
            KeepFrom(ports, logPath, position);
        }

        const std::wstring errPath = base + L".err";
        size = GetFileSizeByName(ports, errPath);
        if (size > maxErrSize) {
            const int64_t start = size - std::max<int64_t>(maxErrSize, 0) / 2;
            int64_t position = FindInTextFile(ports, errPath, L"\n", start);
            position = position == -1 ? start : position + 1;
            KeepFrom(ports, errPath, position);
        }
    } catch (const HostError& e) {
        mGlobals::LogError(L"mReduceLog::CheckLibOrvinLog", e);
    }
}

}  // namespace plexa::mReduceLog
