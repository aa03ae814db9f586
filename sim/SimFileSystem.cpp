#include "sim/SimFileSystem.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <stdexcept>

#include "core/HostError.h"
#include "core/Text.h"
#include "sim/DiskFileStore.h"
#include "sim/MemoryFileStore.h"
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
    SimFile(SimFileSystem& owner, fs::path real, FileAccess access, unsigned share,
            std::unique_ptr<StoredFile> file)
        : m_owner(owner),
          m_real(std::move(real)),
          m_record{access, share},
          m_file(std::move(file)) {
        m_owner.Register(m_real, &m_record);
    }
    SimFile(const SimFile&) = delete;
    SimFile& operator=(const SimFile&) = delete;
    ~SimFile() override {
        m_file.reset();
        if (m_written) {
            m_owner.Touch(m_real);
        }
        m_owner.Unregister(m_real, &m_record);
    }

    std::size_t Read(void* buffer, std::size_t size) override {
        m_owner.m_faults.Check(L"File.Read", ToWide(m_real));
        if (!Reads(m_record.access) || !m_file) {
            throw Error(vberr::PathFileAccessError, ToWide(m_real));
        }
        return m_file->Read(buffer, size);
    }

    void Write(const void* data, std::size_t size) override {
        m_owner.m_faults.Check(L"File.Write", ToWide(m_real));
        if (!Writes(m_record.access) || !m_file) {
            throw Error(vberr::PathFileAccessError, ToWide(m_real));
        }
        if (!m_file->Write(data, size)) {
            throw Error(vberr::PathFileAccessError, ToWide(m_real));
        }
        m_written = true;
    }

    void Seek(uint64_t offset) override {
        m_owner.m_faults.Check(L"File.Seek", ToWide(m_real));
        if (m_file && !m_file->Seek(offset)) {
            throw Error(vberr::PathFileAccessError, ToWide(m_real));
        }
    }

    uint64_t Size() override {
        if (m_file) {
            return m_file->Size();
        }
        const auto entry = m_owner.m_store->Stat(m_real);
        return entry ? entry->size : 0;
    }

    OleDate LastWriteTimeUtc() override {
        m_owner.m_faults.Check(L"File.LastWriteTimeUtc", ToWide(m_real));
        const auto entry = m_owner.m_store->Stat(m_real);
        if (!entry) {
            throw Error(vberr::PathFileAccessError, ToWide(m_real));
        }
        return FileTimeToOleDate(entry->lastWrite);
    }

private:
    SimFileSystem& m_owner;
    fs::path m_real;
    SimFileSystem::OpenRecord m_record;
    std::unique_ptr<StoredFile> m_file;
    bool m_written = false;
};

SimFileSystem::SimFileSystem(std::unique_ptr<FileStore> store, bool inMemory, SimClock& clock,
                             Faults& faults)
    : m_store(std::move(store)), m_inMemory(inMemory), m_clock(clock), m_faults(faults) {
    AddDrive(L'C');
}

SimFileSystem::SimFileSystem(SimClock& clock, Faults& faults)
    : SimFileSystem(std::make_unique<MemoryFileStore>(), true, clock, faults) {}

SimFileSystem::SimFileSystem(fs::path root, SimClock& clock, Faults& faults)
    : SimFileSystem(std::make_unique<DiskFileStore>(std::move(root)), false, clock, faults) {}

SimFileSystem::~SimFileSystem() = default;

bool SimFileSystem::IsDirectory(const fs::path& location) const {
    const auto entry = m_store->Stat(location);
    return entry && entry->directory;
}

bool SimFileSystem::IsFile(const fs::path& location) const {
    const auto entry = m_store->Stat(location);
    return entry && !entry->directory;
}

bool SimFileSystem::Exists(const fs::path& location) const {
    return m_store->Stat(location).has_value();
}

void SimFileSystem::AddDrive(wchar_t letter) {
    const fs::path drive = FromWide(std::wstring(1, static_cast<wchar_t>(std::towupper(letter))));
    if (!Exists(drive)) {
        m_store->MakeDirectory(drive);
        Touch(drive);
    }
}

void SimFileSystem::AddShare(const std::wstring& server, const std::wstring& share) {
    fs::path folder;
    for (const fs::path& part :
         {fs::path("UNC"), FromWide(text::ToLower(server)), FromWide(text::ToLower(share))}) {
        folder /= part;
        if (!Exists(folder)) {
            m_store->MakeDirectory(folder);
            Touch(folder);
        }
    }
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
            fs::path("UNC") / FromWide(text::ToLower(parts[0])) / FromWide(text::ToLower(parts[1]));
        if (!IsDirectory(real)) {
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
    fs::path real = FromWide(std::wstring(1, drive));
    if (!IsDirectory(real)) {
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
        if (!Exists(next) && IsDirectory(real)) {
            for (const auto& entry : m_store->List(real)) {
                if (text::EqualsNoCase(entry.name, name)) {
                    next = real / FromWide(entry.name);
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
    m_store->SetLastWriteTime(real, OleDateToFileTime(m_clock.CurrentUtc()));
}

std::unique_ptr<IFile> SimFileSystem::Open(const std::wstring& path, FileAccess access,
                                           unsigned share, FileCreation creation) {
    m_faults.Check(L"FileSystem.Open", path);
    const Resolved r = Resolve(path);
    const std::wstring name = ToWide(r.real.filename());
    if (r.isDriveRoot || !IsValidName(name)) {
        throw Error(vberr::PathFileAccessError, path);
    }
    if (!IsDirectory(r.real.parent_path())) {
        throw Error(vberr::PathNotFound, path);
    }
    if (IsDirectory(r.real)) {
        throw Error(vberr::PermissionDenied, path);
    }
    const bool exists = Exists(r.real);
    if (!exists && creation == FileCreation::OpenExisting) {
        throw Error(vberr::FileNotFound, path);
    }
    if (exists && creation == FileCreation::CreateNew) {
        throw Error(vberr::FileAlreadyExists, path);
    }
    CheckSharing(r.real, access, share);

    const bool truncate = creation == FileCreation::CreateAlways;
    if (!exists || truncate) {
        if (!m_store->Truncate(r.real)) {
            throw Error(vberr::PathFileAccessError, path);
        }
        Touch(r.real);
    }
    std::unique_ptr<StoredFile> f;
    if (access != FileAccess::None) {
        f = m_store->OpenFile(r.real, Writes(access));
        if (!f) {
            throw Error(vberr::PermissionDenied, path);
        }
    }
    return std::make_unique<SimFile>(*this, r.real, access, share, std::move(f));
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
    const auto folder = m_store->Stat(dir.real);
    if (!folder || !folder->directory) {
        return found;
    }
    if (namePart.empty()) {
        return found;  // FindFirstFile("C:\\dir\\") finds nothing either
    }
    if (!dir.isDriveRoot) {
        for (const wchar_t* dots : {L".", L".."}) {
            if (WildcardMatch(namePart, dots)) {
                found.push_back(FileFindData{dots, true, 0, FileTimeToOleDate(folder->lastWrite)});
            }
        }
    }
    std::vector<FileStore::Entry> entries = m_store->List(dir.real);
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return text::CompareNoCase(a.name, b.name) < 0; });
    for (const auto& entry : entries) {
        if (!WildcardMatch(namePart, entry.name)) {
            continue;
        }
        FileFindData data;
        data.name = entry.name;
        data.directory = entry.directory;
        data.size = entry.directory ? 0 : entry.size;
        data.lastWriteUtc = FileTimeToOleDate(entry.lastWrite);
        found.push_back(std::move(data));
    }
    return found;
}

void SimFileSystem::CreateDirectory(const std::wstring& path) {
    m_faults.Check(L"FileSystem.CreateDirectory", path);
    const Resolved r = Resolve(path);
    if (r.isDriveRoot || Exists(r.real) || !IsValidName(ToWide(r.real.filename()))) {
        throw Error(vberr::PathFileAccessError, path);
    }
    if (!IsDirectory(r.real.parent_path())) {
        throw Error(vberr::PathNotFound, path);
    }
    if (!m_store->MakeDirectory(r.real)) {
        throw Error(vberr::PathFileAccessError, path);
    }
    Touch(r.real);
}

void SimFileSystem::RemoveDirectory(const std::wstring& path) {
    m_faults.Check(L"FileSystem.RemoveDirectory", path);
    const Resolved r = Resolve(path);
    if (r.isDriveRoot || !IsDirectory(r.real)) {
        throw Error(vberr::PathNotFound, path);
    }
    if (!m_store->RemoveEmptyDirectory(r.real)) {
        throw Error(vberr::PathFileAccessError, path);
    }
}

void SimFileSystem::DeleteFile(const std::wstring& path) {
    m_faults.Check(L"FileSystem.DeleteFile", path);
    const Resolved r = Resolve(path);
    if (!IsFile(r.real)) {
        throw Error(vberr::FileNotFound, path);
    }
    CheckNoOpenWithoutDeleteSharing(r.real);
    if (!m_store->RemoveFile(r.real)) {
        throw Error(vberr::PathFileAccessError, path);
    }
}

void SimFileSystem::MoveFile(const std::wstring& from, const std::wstring& to,
                             bool replaceExisting) {
    m_faults.Check(L"FileSystem.MoveFile", from + L"|" + to);
    const Resolved source = Resolve(from);
    const Resolved target = Resolve(to);
    if (!IsFile(source.real)) {
        throw Error(vberr::FileNotFound, from);
    }
    if (!IsDirectory(target.real.parent_path())) {
        throw Error(vberr::PathNotFound, to);
    }
    const auto existing = m_store->Stat(target.real);
    if (existing && (!replaceExisting || existing->directory)) {
        throw Error(vberr::FileAlreadyExists, to);
    }
    CheckNoOpenWithoutDeleteSharing(source.real);
    if (existing) {
        CheckNoOpenWithoutDeleteSharing(target.real);
    }
    if (!m_store->Rename(source.real, target.real)) {
        throw Error(vberr::PathFileAccessError, to);
    }
}

void SimFileSystem::SetLastWriteTimeUtc(const std::wstring& path, OleDate utc) {
    m_store->SetLastWriteTime(Resolve(path).real, OleDateToFileTime(utc));
}

fs::path SimFileSystem::RealPath(const std::wstring& path) const {
    return m_store->RealPath(Resolve(path).real);
}

std::optional<std::string> SimFileSystem::ReadContents(const std::wstring& path) const {
    fs::path location;
    try {
        location = Resolve(path).real;
    } catch (const HostError&) {
        return std::nullopt;
    }
    auto file = m_store->OpenFile(location, false);
    if (!file) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(file->Size()), '\0');
    bytes.resize(file->Read(bytes.data(), bytes.size()));
    return bytes;
}

void SimFileSystem::CreateFolders(const std::wstring& path) {
    const Resolved r = Resolve(path);
    fs::path location;
    for (const auto& part : r.real) {
        location /= part;
        if (!Exists(location)) {
            if (!m_store->MakeDirectory(location)) {
                throw Error(vberr::PathFileAccessError, path);
            }
            Touch(location);
        }
    }
}

void SimFileSystem::WriteContents(const std::wstring& path, std::string_view bytes) {
    const Resolved r = Resolve(path);
    if (r.isDriveRoot) {
        throw Error(vberr::PathFileAccessError, path);
    }
    const std::wstring normalized = text::ReplaceAll(path, L"/", L"\\");
    const std::size_t cut = normalized.find_last_of(L'\\');
    if (cut != std::wstring::npos) {
        CreateFolders(normalized.substr(0, cut + 1));
    }
    const fs::path location = Resolve(path).real;
    if (!m_store->Truncate(location)) {
        throw Error(vberr::PathFileAccessError, path);
    }
    auto file = m_store->OpenFile(location, true);
    if (!file || !file->Write(bytes.data(), bytes.size())) {
        throw Error(vberr::PathFileAccessError, path);
    }
    file.reset();
    Touch(location);
}

}  // namespace plexa::sim
