// Reads a language file line by line through a 4,096-byte buffer. A file that starts with the
// UTF-8 byte-order mark is read as UTF-8, any other in the system ANSI code page. Lines end with
// CR LF (a lone LF is accepted too); a line longer than the buffer comes back in pieces, and the
// last line needs no line end. Nothing here throws.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/Locale.h"

namespace plexa {

class IFile;
class IFileSystem;

class CLangFile {
public:
    static constexpr std::size_t kBufferSize = 4096;

    CLangFile(IFileSystem& files, Locale locale);
    ~CLangFile();
    CLangFile(const CLangFile&) = delete;
    CLangFile& operator=(const CLangFile&) = delete;

    bool OpenFile(const std::wstring& path);
    // The next line without its line end; false at the end of the file or on a read error
    // (LastError tells which: 0 at the end).
    bool ReadLine(std::wstring& line);
    // True once the last line was returned.
    bool FEOF() const { return m_eof && m_start == m_fill; }
    // The Windows error code of the last failure, 0 when there was none.
    uint32_t LastError() const { return m_lastError; }
    void CloseFile();

private:
    enum class Encoding { Unknown, Utf8, Ansi };
    bool Buffer_AppendFromFile();
    // The position of the first line end at or after the start, or npos.
    std::size_t Buffer_FindLineEnd() const;
    std::wstring Buffer_GetLine(std::size_t end, std::size_t skip);
    std::wstring Mem2Str(const char* data, std::size_t size) const;

    IFileSystem& m_files;
    Locale m_locale;
    std::unique_ptr<IFile> m_file;
    uint32_t m_lastError = 0;
    bool m_eof = false;
    char m_buffer[kBufferSize] = {};
    std::size_t m_start = 0;
    std::size_t m_fill = 0;
    Encoding m_encoding = Encoding::Unknown;
};

// The Windows error code for a host error of the file functions.
uint32_t WindowsErrorOf(int32_t hostErrorNumber);

}  // namespace plexa
