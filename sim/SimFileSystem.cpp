#include "sim/SimFileSystem.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "core/HostError.h"
#include "core/Text.h"
#include "sim/SimClock.h"

namespace fs = std::filesystem;

namespace plexa::sim {

namespace {

constexpr double kUnixEpochOleDay = 25569.0;  // 1 January 1970

HostError Error(int32_t number, const std::wstring& path) {
    return HostError(number, DescribeRuntimeError(number) + L": " + path, L"FileSystem");
}

bool IsValidName(std::wstring_view name) {
    return name.find_first_of(L"<>:\"|?*") == std::wstring_view::npos;
}

// Windows wildcard matching: * any run, ? one character, letter case ignored; "*.*" is "*".
bool WildcardMatch(std::wstring_view pattern, std::wstring_view name) {
    if (pattern == L"*.*") {
        return true;
    }
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::wstring_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == L'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == L'?' ||
                    text::EqualsNoCase(pattern.substr(p, 1), name.substr(n, 1)))) {
            ++p;
            ++n;
        } else if (starP != std::wstring_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') {
        ++p;
    }
    return p == pattern.size();
}

bool Reads(FileAccess a) {
    return a == FileAccess::Read || a == FileAccess::ReadWrite;
}
bool Writes(FileAccess a) {
    return a == FileAccess::Write || a == FileAccess::ReadWrite;
}

fs::path FromWide(const std::wstring& s) {
    const std::string utf8 = text::ToUtf8(s);
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::wstring ToWide(const fs::path& p) {
    const std::u8string utf8 = p.u8string();
    return text::FromUtf8(std::string(utf8.begin(), utf8.end()));
}

}  // namespace

OleDate FileTimeToOleDate(fs::file_time_type t) {
    const auto sys = fs::file_time_type::clock::to_sys(t);
    const auto secs =
        std::chrono::duration_cast<std::chrono::seconds>(sys.time_since_epoch()).count();
    return OleDate(kUnixEpochOleDay + static_cast<double>(secs) / 86400.0);
}

fs::file_time_type OleDateToFileTime(OleDate utc) {
    const auto secs =
        static_cast<int64_t>(std::llround((utc.Value() - kUnixEpochOleDay) * 86400.0));
    const std::chrono::system_clock::time_point sys{std::chrono::seconds(secs)};
    return fs::file_time_type::clock::from_sys(sys);
}

class SimFile : public IFile {
public:
    SimFile(SimFileSystem& owner, fs::path real, FileAccess access, unsigned share, std::FILE* f)
        : m_owner(owner), m_real(std::move(real)), m_record{access, share}, m_file(f) {
        m_owner.Register(m_real, &m_record);
    }
    SimFile(const SimFile&) = delete;
    SimFile& operator=(const SimFile&) = delete;
    ~SimFile() override {
        if (m_file != nullptr) {
            std::fclose(m_file);
        }
        if (m_written) {
            m_owner.Touch(m_real);
        }
        m_owner.Unregister(m_real, &m_record);
    }

    std::size_t Read(void* buffer, std::size_t size) override {
        m_owner.m_faults.Check(L"File.Read", ToWide(m_real));
        if (!Reads(m_record.access) || m_file == nullptr) {
            throw Error(vberr::PathFileAccessError, ToWide(m_real));
        }
        return std::fread(buffer, 1, size, m_file);
    }

    void Write(const void* data, std::size_t size) override {
        m_owner.m_faults.Check(L"File.Write", ToWide(m_real));
        if (!Writes(m_record.access) || m_file == nullptr) {
            throw Error(vberr::PathFileAccessError, ToWide(m_real));
        }
        if (std::fwrite(data, 1, size, m_file) != size) {
            throw Error(vberr::PathFileAccessError, ToWide(m_real));
        }
        m_written = true;
    }

    void Seek(uint64_t offset) override {
        m_owner.m_faults.Check(L"File.Seek", ToWide(m_real));
        if (m_file != nullptr && fseeko(m_file, static_cast<off_t>(offset), SEEK_SET) != 0) {
            throw Error(vberr::PathFileAccessError, ToWide(m_real));
        }
    }

    uint64_t Size() override {
        if (m_file != nullptr) {
            std::fflush(m_file);
        }
        std::error_code ec;
        const auto size = fs::file_size(m_real, ec);
        return ec ? 0 : size;
    }

    OleDate LastWriteTimeUtc() override {
        m_owner.m_faults.Check(L"File.LastWriteTimeUtc", ToWide(m_real));
        std::error_code ec;
        const auto t = fs::last_write_time(m_real, ec);
        if (ec) {
            throw Error(vberr::PathFileAccessError, ToWide(m_real));
        }
        return FileTimeToOleDate(t);
    }

private:
    SimFileSystem& m_owner;
    fs::path m_real;
    SimFileSystem::OpenRecord m_record;
    std::FILE* m_file;
    bool m_written = false;
};

SimFileSystem::SimFileSystem(fs::path root, SimClock& clock, Faults& faults)
    : m_root(std::move(root)), m_clock(clock), m_faults(faults) {
    AddDrive(L'C');
}

SimFileSystem::~SimFileSystem() = default;

void SimFileSystem::AddDrive(wchar_t letter) {
    fs::create_directories(m_root /
                           FromWide(std::wstring(1, static_cast<wchar_t>(std::towupper(letter)))));
}

void SimFileSystem::AddShare(const std::wstring& server, const std::wstring& share) {
    fs::create_directories(m_root / "UNC" / FromWide(text::ToLower(server)) /
                           FromWide(text::ToLower(share)));
}

SimFileSystem::Resolved SimFileSystem::Resolve(const std::wstring& input) const {
    std::wstring path = text::ReplaceAll(input, L"/", L"\\");
    if (path.rfind(L"\\\\", 0) == 0) {
        // \\server\share\...: a share added with AddShare, its names without letter case. The
        // share itself is like a drive's root: it can be listed but not made or removed.
        const auto parts = text::Split(path.substr(2), L"\\");
        if (parts.size() < 2 || parts[0].empty() || parts[1].empty()) {
            throw Error(vberr::PathNotFound, input);
        }
        fs::path real =
            m_root / "UNC" / FromWide(text::ToLower(parts[0])) / FromWide(text::ToLower(parts[1]));
        std::error_code ec;
        if (!fs::is_directory(real, ec)) {
            throw Error(vberr::PathNotFound, input);
        }
        std::wstring rest;
        for (std::size_t i = 2; i < parts.size(); ++i) {
            rest += L"\\" + parts[i];
        }
        return ResolveBelow(real, rest);
    }
    std::wstring cwd = text::ReplaceAll(m_currentDirectory, L"/", L"\\");
    if (path.size() < 2 || path[1] != L':') {
        if (!path.empty() && path[0] == L'\\') {
            path = cwd.substr(0, 2) + path;
        } else {
            if (!cwd.empty() && cwd.back() != L'\\') {
                cwd += L'\\';
            }
            path = cwd + path;
        }
    }
    const wchar_t drive = static_cast<wchar_t>(std::towupper(path[0]));
    if (drive < L'A' || drive > L'Z') {
        throw Error(vberr::PathNotFound, input);
    }
    fs::path real = m_root / FromWide(std::wstring(1, drive));
    if (!fs::is_directory(real)) {
        throw Error(vberr::PathNotFound, input);
    }
    return ResolveBelow(real, path.substr(2));
}

SimFileSystem::Resolved SimFileSystem::ResolveBelow(fs::path real, const std::wstring& rest) const {
    std::vector<std::wstring> names;
    for (const auto& part : text::Split(rest, L"\\")) {
        if (part.empty() || part == L".") {
            continue;
        }
        if (part == L"..") {
            if (!names.empty()) {
                names.pop_back();
            }
            continue;
        }
        names.push_back(text::TrimRight(part));
    }
    for (const auto& name : names) {
        fs::path next = real / FromWide(name);
        std::error_code ec;
        if (!fs::exists(next, ec) && fs::is_directory(real, ec)) {
            for (const auto& entry : fs::directory_iterator(real, ec)) {
                if (text::EqualsNoCase(ToWide(entry.path().filename()), name)) {
                    next = entry.path();
                    break;
                }
            }
        }
        real = next;
    }
    return Resolved{real, names.empty()};
}

void SimFileSystem::CheckSharing(const fs::path& real, FileAccess access, unsigned share) const {
    const auto it = m_open.find(real);
    if (it == m_open.end()) {
        return;
    }
    for (const OpenRecord* other : it->second) {
        const bool conflict = (Reads(access) && (other->share & FileShareRead) == 0) ||
                              (Writes(access) && (other->share & FileShareWrite) == 0) ||
                              (Reads(other->access) && (share & FileShareRead) == 0) ||
                              (Writes(other->access) && (share & FileShareWrite) == 0);
        if (conflict) {
            throw Error(vberr::PermissionDenied, ToWide(real));
        }
    }
}

void SimFileSystem::CheckNoOpenWithoutDeleteSharing(const fs::path& real) const {
    const auto it = m_open.find(real);
    if (it == m_open.end()) {
        return;
    }
    for (const OpenRecord* other : it->second) {
        if ((other->share & FileShareDelete) == 0) {
            throw Error(vberr::PermissionDenied, ToWide(real));
        }
    }
}

void SimFileSystem::Register(const fs::path& real, const OpenRecord* record) {
    m_open[real].push_back(record);
}

void SimFileSystem::Unregister(const fs::path& real, const OpenRecord* record) {
    auto it = m_open.find(real);
    if (it == m_open.end()) {
        return;
    }
    auto& list = it->second;
    list.erase(std::remove(list.begin(), list.end(), record), list.end());
    if (list.empty()) {
        m_open.erase(it);
    }
}

void SimFileSystem::Touch(const fs::path& real) {
    std::error_code ec;
    fs::last_write_time(real, OleDateToFileTime(m_clock.NowUtc()), ec);
}

std::unique_ptr<IFile> SimFileSystem::Open(const std::wstring& path, FileAccess access,
                                           unsigned share, FileCreation creation) {
    m_faults.Check(L"FileSystem.Open", path);
    const Resolved r = Resolve(path);
    const std::wstring name = ToWide(r.real.filename());
    if (r.isDriveRoot || !IsValidName(name)) {
        throw Error(vberr::PathFileAccessError, path);
    }
    std::error_code ec;
    if (!fs::is_directory(r.real.parent_path(), ec)) {
        throw Error(vberr::PathNotFound, path);
    }
    if (fs::is_directory(r.real, ec)) {
        throw Error(vberr::PermissionDenied, path);
    }
    const bool exists = fs::exists(r.real, ec);
    if (!exists && creation == FileCreation::OpenExisting) {
        throw Error(vberr::FileNotFound, path);
    }
    if (exists && creation == FileCreation::CreateNew) {
        throw Error(vberr::FileAlreadyExists, path);
    }
    CheckSharing(r.real, access, share);

    const bool truncate = creation == FileCreation::CreateAlways;
    if (!exists || truncate) {
        std::FILE* created = std::fopen(r.real.c_str(), "wb");
        if (created == nullptr) {
            throw Error(vberr::PathFileAccessError, path);
        }
        std::fclose(created);
        Touch(r.real);
    }
    std::FILE* f = nullptr;
    if (access != FileAccess::None) {
        f = std::fopen(r.real.c_str(), Writes(access) ? "r+b" : "rb");
        if (f == nullptr) {
            throw Error(vberr::PermissionDenied, path);
        }
    }
    return std::make_unique<SimFile>(*this, r.real, access, share, f);
}

std::vector<FileFindData> SimFileSystem::FindFiles(const std::wstring& pattern) {
    m_faults.Check(L"FileSystem.FindFiles", pattern);
    std::vector<FileFindData> found;
    const std::wstring normalized = text::ReplaceAll(pattern, L"/", L"\\");
    const std::size_t cut = normalized.find_last_of(L'\\');
    std::wstring dirPart = cut == std::wstring::npos ? L"" : normalized.substr(0, cut + 1);
    std::wstring namePart = cut == std::wstring::npos ? normalized : normalized.substr(cut + 1);
    if (cut == std::wstring::npos && normalized.size() >= 2 && normalized[1] == L':') {
        dirPart = normalized.substr(0, 2) + L"\\";
        namePart = normalized.substr(2);
    }
    Resolved dir{};
    try {
        dir = Resolve(dirPart.empty() ? m_currentDirectory : dirPart);
    } catch (const HostError&) {
        return found;
    }
    std::error_code ec;
    if (!fs::is_directory(dir.real, ec)) {
        return found;
    }
    if (namePart.empty()) {
        return found;  // FindFirstFile("C:\\dir\\") finds nothing either
    }
    if (!dir.isDriveRoot) {
        for (const wchar_t* dots : {L".", L".."}) {
            if (WildcardMatch(namePart, dots)) {
                found.push_back(FileFindData{dots, true, 0,
                                             FileTimeToOleDate(fs::last_write_time(dir.real, ec))});
            }
        }
    }
    std::vector<fs::directory_entry> entries;
    for (const auto& entry : fs::directory_iterator(dir.real, ec)) {
        entries.push_back(entry);
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return text::CompareNoCase(ToWide(a.path().filename()), ToWide(b.path().filename())) < 0;
    });
    for (const auto& entry : entries) {
        const std::wstring name = ToWide(entry.path().filename());
        if (!WildcardMatch(namePart, name)) {
            continue;
        }
        FileFindData data;
        data.name = name;
        data.directory = entry.is_directory(ec);
        data.size = data.directory ? 0 : entry.file_size(ec);
        data.lastWriteUtc = FileTimeToOleDate(entry.last_write_time(ec));
        found.push_back(std::move(data));
    }
    return found;
}

void SimFileSystem::CreateDirectory(const std::wstring& path) {
    m_faults.Check(L"FileSystem.CreateDirectory", path);
    const Resolved r = Resolve(path);
    std::error_code ec;
    if (r.isDriveRoot || fs::exists(r.real, ec) || !IsValidName(ToWide(r.real.filename()))) {
        throw Error(vberr::PathFileAccessError, path);
    }
    if (!fs::is_directory(r.real.parent_path(), ec)) {
        throw Error(vberr::PathNotFound, path);
    }
    if (!fs::create_directory(r.real, ec)) {
        throw Error(vberr::PathFileAccessError, path);
    }
}

void SimFileSystem::RemoveDirectory(const std::wstring& path) {
    m_faults.Check(L"FileSystem.RemoveDirectory", path);
    const Resolved r = Resolve(path);
    std::error_code ec;
    if (r.isDriveRoot || !fs::is_directory(r.real, ec)) {
        throw Error(vberr::PathNotFound, path);
    }
    if (!fs::is_empty(r.real, ec) || !fs::remove(r.real, ec)) {
        throw Error(vberr::PathFileAccessError, path);
    }
}

void SimFileSystem::DeleteFile(const std::wstring& path) {
    m_faults.Check(L"FileSystem.DeleteFile", path);
    const Resolved r = Resolve(path);
    std::error_code ec;
    if (!fs::is_regular_file(r.real, ec)) {
        throw Error(vberr::FileNotFound, path);
    }
    CheckNoOpenWithoutDeleteSharing(r.real);
    if (!fs::remove(r.real, ec)) {
        throw Error(vberr::PathFileAccessError, path);
    }
}

void SimFileSystem::MoveFile(const std::wstring& from, const std::wstring& to,
                             bool replaceExisting) {
    m_faults.Check(L"FileSystem.MoveFile", from + L"|" + to);
    const Resolved source = Resolve(from);
    const Resolved target = Resolve(to);
    std::error_code ec;
    if (!fs::is_regular_file(source.real, ec)) {
        throw Error(vberr::FileNotFound, from);
    }
    if (!fs::is_directory(target.real.parent_path(), ec)) {
        throw Error(vberr::PathNotFound, to);
    }
    const bool targetExists = fs::exists(target.real, ec);
    if (targetExists && (!replaceExisting || fs::is_directory(target.real, ec))) {
        throw Error(vberr::FileAlreadyExists, to);
    }
    CheckNoOpenWithoutDeleteSharing(source.real);
    if (targetExists) {
        CheckNoOpenWithoutDeleteSharing(target.real);
    }
    // rename(2) replaces the target in one step.
    fs::rename(source.real, target.real, ec);
    if (ec) {
        throw Error(vberr::PathFileAccessError, to);
    }
}

void SimFileSystem::SetLastWriteTimeUtc(const std::wstring& path, OleDate utc) {
    std::error_code ec;
    fs::last_write_time(Resolve(path).real, OleDateToFileTime(utc), ec);
}

fs::path SimFileSystem::RealPath(const std::wstring& path) const {
    return Resolve(path).real;
}

}  // namespace plexa::sim
