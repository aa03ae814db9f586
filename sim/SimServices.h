// The small simulated Windows services: shell folders, the random source and the host's version
// text. The add-in's resources are in sim/SimResources.h.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/IFileSystem.h"
#include "platform/IHostInfo.h"
#include "platform/IRandom.h"
#include "platform/IShell.h"
#include "sim/Faults.h"

namespace plexa::sim {

class SimShell : public IShell {
public:
    SimShell(Faults& faults, IFileSystem& files);
    std::wstring GetSpecialFolderPath(int csidl) override;
    void SetSpecialFolderPath(int csidl, std::wstring path) { m_folders[csidl] = std::move(path); }

    // The help viewer opens the help files installed with AddHelpFile (letter case ignored), at
    // any topic, and records each topic it shows. Fault: "Shell.HtmlHelpDisplayTopic".
    bool HtmlHelpDisplayTopic(const std::wstring& helpFile, const std::wstring& topic) override;
    void AddHelpFile(std::wstring path) { m_helpFiles.push_back(std::move(path)); }
    struct HelpShown {
        std::wstring helpFile;
        std::wstring topic;
    };
    const std::vector<HelpShown>& HelpTopicsShown() const { return m_helpShown; }

    // Opens a document that exists in the simulated file system and whose extension has an
    // application (AddDocumentKind, letter case ignored); records each one opened. Fault:
    // "Shell.OpenDocument".
    bool OpenDocument(const std::wstring& path) override;
    void AddDocumentKind(std::wstring extension) { m_kinds.push_back(std::move(extension)); }
    const std::vector<std::wstring>& DocumentsOpened() const { return m_opened; }

private:
    Faults& m_faults;
    std::map<int, std::wstring> m_folders;
    std::vector<std::wstring> m_helpFiles;
    std::vector<HelpShown> m_helpShown;
    IFileSystem& m_files;
    std::vector<std::wstring> m_kinds{L".csv", L".txt"};
    std::vector<std::wstring> m_opened;
};

// A linear congruential generator like the host's Rnd, reseeded by Randomize; tests may queue
// exact values that Rnd returns first.
class SimRandom : public IRandom {
public:
    explicit SimRandom(Faults& faults) : m_faults(faults) {}
    void Randomize(double seed) override;
    float Rnd() override;
    void QueueValues(std::initializer_list<float> values);
    int RandomizeCalls() const { return m_randomizeCalls; }

private:
    Faults& m_faults;
    uint32_t m_state = 0x50000;
    std::deque<float> m_queued;
    int m_randomizeCalls = 0;
};

class SimHostInfo : public IHostInfo {
public:
    explicit SimHostInfo(Faults& faults) : m_faults(faults) {}
    std::wstring Version() override;
    std::wstring InstallationFolder() override { return m_installationFolder; }
    void SetVersion(std::wstring version) { m_version = std::move(version); }
    void SetInstallationFolder(std::wstring folder) { m_installationFolder = std::move(folder); }
    int VersionReads() const { return m_reads; }

private:
    Faults& m_faults;
    std::wstring m_version = L"14.0.4760.1000";
    std::wstring m_installationFolder = L"C:\\Program Files\\Orvin\\Plexa";
    int m_reads = 0;
};

}  // namespace plexa::sim
