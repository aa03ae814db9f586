#include "sim/SimServices.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/HostError.h"
#include "core/Text.h"

namespace plexa::sim {

SimShell::SimShell(Faults& faults, IFileSystem& files) : m_faults(faults), m_files(files) {
    m_folders[CSIDL_APPDATA] = L"C:\\Users\\User\\AppData\\Roaming";
}

std::wstring SimShell::GetSpecialFolderPath(int csidl) {
    m_faults.Check(L"Shell.GetSpecialFolderPath", std::to_wstring(csidl));
    const auto it = m_folders.find(csidl);
    if (it == m_folders.end()) {
        throw HostError(vberr::PathNotFound, L"Unknown shell folder " + std::to_wstring(csidl),
                        L"Shell");
    }
    return it->second;
}

bool SimShell::HtmlHelpDisplayTopic(const std::wstring& helpFile, const std::wstring& topic) {
    m_faults.Check(L"Shell.HtmlHelpDisplayTopic", topic);
    const bool installed =
        std::any_of(m_helpFiles.begin(), m_helpFiles.end(),
                    [&helpFile](const std::wstring& f) { return text::EqualsNoCase(f, helpFile); });
    if (!installed || topic.empty()) {
        return false;
    }
    m_helpShown.push_back(HelpShown{helpFile, topic});
    return true;
}

bool SimShell::OpenDocument(const std::wstring& path) {
    m_faults.Check(L"Shell.OpenDocument", path);
    const std::size_t dot = path.rfind(L'.');
    const std::wstring extension = dot == std::wstring::npos ? L"" : path.substr(dot);
    const bool known = std::any_of(
        m_kinds.begin(), m_kinds.end(),
        [&extension](const std::wstring& k) { return text::EqualsNoCase(k, extension); });
    if (!known || m_files.FindFiles(path).empty()) {
        return false;
    }
    m_opened.push_back(path);
    return true;
}

void SimRandom::Randomize(double seed) {
    m_faults.Check(L"Random.Randomize");
    ++m_randomizeCalls;
    // Mix the seed's bits into the middle of the state, as the host's Randomize does.
    float f = static_cast<float>(seed);
    uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    bits ^= bits >> 16;
    m_state = (m_state & 0xFF0000FFu) | ((bits & 0xFFFFu) << 8);
    m_state &= 0xFFFFFFu;
}

float SimRandom::Rnd() {
    m_faults.Check(L"Random.Rnd");
    if (!m_queued.empty()) {
        const float v = m_queued.front();
        m_queued.pop_front();
        return v;
    }
    m_state = (m_state * 1140671485u + 12820163u) & 0xFFFFFFu;
    return static_cast<float>(m_state) / 16777216.0f;
}

void SimRandom::QueueValues(std::initializer_list<float> values) {
    m_queued.insert(m_queued.end(), values.begin(), values.end());
}

std::wstring SimHostInfo::Version() {
    m_faults.Check(L"HostInfo.Version");
    ++m_reads;
    return m_version;
}

}  // namespace plexa::sim
