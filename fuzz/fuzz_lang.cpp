// Feeds arbitrary bytes to the language-file reader as a language file: loading, look-ups,
// localising and dumping a dialog must never crash, hang or leak, whatever the file holds.
//
// The world is light and touches no disk: the simulated services, except for a file system that
// keeps its files in memory, so an input costs the parse and not a file written per run.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/Form.h"
#include "core/HostError.h"
#include "core/Text.h"
#include "settings/CLang.h"
#include "settings/Services.h"
#include "sim/SimPlatform.h"

namespace {

const std::wstring kFolder = L"C:\\Program Files\\Orvin\\Plexa";

// Files as byte strings by their lower-cased path; folders are taken to exist.
class MemoryFiles : public plexa::IFileSystem {
public:
    class File : public plexa::IFile {
    public:
        File(std::string& bytes, bool writable) : m_bytes(bytes), m_writable(writable) {}
        std::size_t Read(void* buffer, std::size_t size) override {
            const std::size_t n =
                m_position >= m_bytes.size() ? 0 : std::min(size, m_bytes.size() - m_position);
            std::memcpy(buffer, m_bytes.data() + m_position, n);
            m_position += n;
            return n;
        }
        void Write(const void* data, std::size_t size) override {
            if (!m_writable) {
                throw plexa::HostError(75, L"Path/File access error");
            }
            const auto* bytes = static_cast<const char*>(data);
            m_bytes.replace(std::min(m_position, m_bytes.size()), size, bytes, size);
            m_position += size;
        }
        void Seek(uint64_t offset) override { m_position = static_cast<std::size_t>(offset); }
        uint64_t Size() override { return m_bytes.size(); }
        plexa::OleDate LastWriteTimeUtc() override { return plexa::OleDate(46000.0); }

    private:
        std::string& m_bytes;
        bool m_writable;
        std::size_t m_position = 0;
    };

    void Put(const std::wstring& path, const uint8_t* data, std::size_t size) {
        m_files[Key(path)].assign(reinterpret_cast<const char*>(data), size);
    }

    std::unique_ptr<plexa::IFile> Open(const std::wstring& path, plexa::FileAccess access,
                                       unsigned /*share*/, plexa::FileCreation creation) override {
        auto it = m_files.find(Key(path));
        if (it == m_files.end()) {
            if (creation == plexa::FileCreation::OpenExisting) {
                throw plexa::HostError(53, L"File not found");
            }
            it = m_files.emplace(Key(path), std::string()).first;
        } else if (creation == plexa::FileCreation::CreateAlways) {
            it->second.clear();
        }
        const bool writable =
            access == plexa::FileAccess::Write || access == plexa::FileAccess::ReadWrite;
        return std::make_unique<File>(it->second, writable);
    }
    std::vector<plexa::FileFindData> FindFiles(const std::wstring& /*pattern*/) override {
        std::vector<plexa::FileFindData> found;
        for (const auto& [path, bytes] : m_files) {
            found.push_back({path.substr(path.rfind(L'\\') + 1), false, bytes.size(), {}});
        }
        return found;
    }
    void CreateDirectory(const std::wstring& /*path*/) override {}
    void RemoveDirectory(const std::wstring& /*path*/) override {}
    void DeleteFile(const std::wstring& path) override { m_files.erase(Key(path)); }
    void MoveFile(const std::wstring& from, const std::wstring& to, bool /*replace*/) override {
        auto bytes = std::move(m_files[Key(from)]);
        m_files.erase(Key(from));
        m_files[Key(to)] = std::move(bytes);
    }
    void Clear() { m_files.clear(); }

private:
    static std::wstring Key(const std::wstring& path) { return plexa::text::ToLower(path); }
    std::map<std::wstring, std::string> m_files;
};

struct World {
    World()
        : root(std::filesystem::temp_directory_path() / "plexa-fuzz-lang"),
          sim(root),
          services(plexa::Platform{files, sim.clock, sim.shell, sim.random, sim.host, sim.resources,
                                   sim.registry, sim.pictures, sim.clipboard, sim.windows,
                                   sim.timers, sim.keyboard, sim.ui, sim.locale}) {
        // No application-data folder: the log writer stays quiet instead of growing a log.
        sim.faults.FailAlways(L"Shell.GetSpecialFolderPath",
                              plexa::HostError(5, L"no profile while fuzzing"));
    }
    std::filesystem::path root;
    MemoryFiles files;
    plexa::sim::SimPlatform sim;
    plexa::Services services;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static World* world = new World();  // lives for the whole run
    const std::wstring path = kFolder + L"\\Fuzz.lng";
    world->files.Clear();
    world->files.Put(path, data, size);
    plexa::CLang lang(world->services.Ports(), world->services.Options());
    lang.Init(path, L"Plexa");
    lang.Item(L"LID_TITLE_MAIL", {L"subject", 3});
    lang.Item(L"LID_CAPTION_TO");
    plexa::Form form(L"frmOptions");
    form.Add(L"btnOK", plexa::ControlType::CommandButton);
    form.Add(L"lblInfo", plexa::ControlType::Label);
    form.Add(L"opt", plexa::ControlType::OptionButton, 1);
    form.Add(L"linTop", plexa::ControlType::Line);
    form.Add(L"imgLogo", plexa::ControlType::Image);
    lang.LocalizeForm(form);
    lang.GetAvailableLangs(kFolder, L"");
    return 0;
}
