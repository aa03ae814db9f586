#include "settings/CLangFile.h"

#include <cstring>

#include "core/HostError.h"
#include "core/Text.h"
#include "platform/IFileSystem.h"
#include "settings/mGlobals.h"

namespace plexa {

namespace {

constexpr uint32_t ERROR_FILE_NOT_FOUND = 2;
constexpr uint32_t ERROR_PATH_NOT_FOUND = 3;
constexpr uint32_t ERROR_ACCESS_DENIED = 5;
constexpr uint32_t ERROR_SHARING_VIOLATION = 32;
constexpr uint32_t ERROR_READ_FAULT = 30;
constexpr uint32_t ERROR_INVALID_HANDLE = 6;

// How many bytes at the end of data form an incomplete UTF-8 sequence.
std::size_t IncompleteUtf8Tail(const char* data, std::size_t size) {
    for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
        const auto c = static_cast<unsigned char>(data[size - back]);
        if ((c & 0xC0) == 0x80) {
            continue;  // a continuation byte: look further back for the lead
        }
        std::size_t needed = 1;
        if ((c & 0xE0) == 0xC0) {
            needed = 2;
        } else if ((c & 0xF0) == 0xE0) {
            needed = 3;
        } else if ((c & 0xF8) == 0xF0) {
            needed = 4;
        }
        return needed > back ? back : 0;
    }
    return 0;
}

}  // namespace

uint32_t WindowsErrorOf(int32_t hostErrorNumber) {
    switch (hostErrorNumber) {
        case vberr::FileNotFound:
            return ERROR_FILE_NOT_FOUND;
        case vberr::PathNotFound:
            return ERROR_PATH_NOT_FOUND;
        case vberr::PermissionDenied:
            return ERROR_SHARING_VIOLATION;
        case vberr::PathFileAccessError:
            return ERROR_ACCESS_DENIED;
        default:
            return ERROR_READ_FAULT;
    }
}

CLangFile::CLangFile(IFileSystem& files, Locale locale)
    : m_files(files), m_locale(std::move(locale)) {}

CLangFile::~CLangFile() = default;

bool CLangFile::OpenFile(const std::wstring& path) {
    CloseFile();
    try {
        m_file = m_files.Open(path, FileAccess::Read, FileShareRead | FileShareWrite,
                              FileCreation::OpenExisting);
        m_lastError = 0;
        return true;
    } catch (const HostError& e) {
        m_lastError = WindowsErrorOf(e.Number());
        return false;
    }
}

void CLangFile::CloseFile() {
    m_file.reset();
    m_eof = false;
    m_start = 0;
    m_fill = 0;
    m_encoding = Encoding::Unknown;
}

bool CLangFile::Buffer_AppendFromFile() {
    if (m_start > 0) {
        std::memmove(m_buffer, m_buffer + m_start, m_fill - m_start);
        m_fill -= m_start;
        m_start = 0;
    }
    if (m_eof || m_fill == kBufferSize) {
        return true;
    }
    try {
        const std::size_t n = m_file->Read(m_buffer + m_fill, kBufferSize - m_fill);
        if (n == 0) {
            m_eof = true;
        }
        m_fill += n;
    } catch (const HostError& e) {
        m_lastError = WindowsErrorOf(e.Number());
        mGlobals::LogError(L"CTextFile.Buffer_AppendFromFile", e);
        return false;
    }
    if (m_encoding == Encoding::Unknown && (m_fill >= 3 || m_eof)) {
        if (m_fill >= 3 && std::memcmp(m_buffer, "\xEF\xBB\xBF", 3) == 0) {
            m_encoding = Encoding::Utf8;
            m_start = 3;
        } else {
            m_encoding = Encoding::Ansi;
        }
    }
    return true;
}

std::size_t CLangFile::Buffer_FindLineEnd() const {
    const void* lf = std::memchr(m_buffer + m_start, '\n', m_fill - m_start);
    return lf == nullptr ? std::string::npos
                         : static_cast<std::size_t>(static_cast<const char*>(lf) - m_buffer);
}

std::wstring CLangFile::Mem2Str(const char* data, std::size_t size) const {
    const std::string_view bytes(data, size);
    return m_encoding == Encoding::Utf8 ? text::FromUtf8(bytes)
                                        : text::FromAnsi(bytes, m_locale.codePage.c_str());
}

std::wstring CLangFile::Buffer_GetLine(std::size_t end, std::size_t skip) {
    std::size_t length = end - m_start;
    if (length > 0 && m_buffer[m_start + length - 1] == '\r' && skip > 0) {
        --length;  // the CR of a CR LF
    }
    std::wstring line = Mem2Str(m_buffer + m_start, length);
    m_start = end + skip;
    return line;
}

bool CLangFile::ReadLine(std::wstring& line) {
    line.clear();
    if (!m_file) {
        m_lastError = ERROR_INVALID_HANDLE;
        return false;
    }
    for (;;) {
        const std::size_t lf = Buffer_FindLineEnd();
        if (lf != std::string::npos) {
            line = Buffer_GetLine(lf, 1);
            return true;
        }
        const bool full = m_start == 0 && m_fill == kBufferSize;
        if (full) {
            // A line longer than the buffer comes back in pieces, never cutting a character.
            std::size_t cut = kBufferSize;
            if (m_encoding == Encoding::Utf8) {
                cut -= IncompleteUtf8Tail(m_buffer, kBufferSize);
            }
            if (m_buffer[cut - 1] == '\r') {
                --cut;  // keep a CR with its LF
            }
            line = Buffer_GetLine(cut, 0);
            return true;
        }
        if (m_eof) {
            if (m_start == m_fill) {
                m_lastError = 0;
                return false;
            }
            line = Buffer_GetLine(m_fill, 0);
            if (!line.empty() && line.back() == L'\r') {
                line.pop_back();
            }
            return true;
        }
        if (!Buffer_AppendFromFile()) {
            return false;
        }
    }
}

}  // namespace plexa
