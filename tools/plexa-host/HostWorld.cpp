#include "HostWorld.h"

#include "addin/Connect.h"
#include "host/outlook/OlConstants.h"

#include "core/Text.h"
#include "settings/COptions.h"
#include "settings/mReduceLog.h"
#include "sim/MailboxLoader.h"

namespace plexa::host {

std::wstring VersionText(int32_t major) {
    switch (major) {
        case 9:
            return L"9.0.0.2711";
        case 10:
            return L"10.0.2627.1";
        case 11:
            return L"11.0.5510.0";
        case 12:
            return L"12.0.6423.1000";
        default:
            return std::to_wstring(major) + L".0.4760.1000";
    }
}

HostWorld::HostWorld(StateFolder& state) : m_state(state) {
    MakePlatform();
}

HostWorld::~HostWorld() {
    DisconnectAddin();
    // The add-in's services refer to the platform: they go first.
    m_services.reset();
    m_desktop.reset();
    m_host.reset();
    m_platform.reset();
}

void HostWorld::MakePlatform() {
    m_services.reset();
    m_desktop.reset();
    m_host.reset();
    m_collectedFromHost = 0;
    m_platform = std::make_unique<sim::SimPlatform>(m_state.FilesRoot());
    if (std::filesystem::exists(m_state.RegistryFile())) {
        m_platform->registry.Load(m_state.RegistryFile());
    }
    if (const auto utc = m_state.LoadClock()) {
        m_platform->clock.SetUtc(*utc);
    }
    m_platform->host.SetVersion(VersionText(m_version));
    InstallLanguageFiles();
}

void HostWorld::InstallLanguageFiles() {
    // The add-in's language files lie in its installation folder, as the setup puts them.
    const std::filesystem::path folder =
        m_platform->files.RealPath(m_platform->host.InstallationFolder());
    std::filesystem::create_directories(folder);
    for (const char* name : {"English.lng", "German.lng"}) {
        std::filesystem::copy_file(std::filesystem::path(PLEXA_RESOURCES_DIR) / name, folder / name,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    // The setup installs the help file beside them; the simulated viewer opens it at any topic.
    m_platform->shell.AddHelpFile(m_platform->host.InstallationFolder() + L"\\Plexa.chm");
}

void HostWorld::ConnectAddin() {
    // The client loads the add-in as it starts: connection, then start-up completion.
    sim::SimDesktop* desktop = Desktop();
    m_services->host = desktop->Ports();
    m_connect = std::make_shared<plexa::Connect>(*m_services);
    desktop->SetRibbonProvider(m_connect.get());
    m_connect->IDTExtensibility2_OnConnection(m_host->application, 0, nullptr, {});
    m_connect->IDTExtensibility2_OnStartupComplete({});
}

void HostWorld::DisconnectAddin() {
    if (!m_connect) {
        return;
    }
    // The client closes its windows, then ends the add-in: begin-shutdown, disconnection.
    if (m_desktop) {
        for (const auto& inspector : m_desktop->Inspectors()) {
            m_desktop->CloseInspector(inspector, olDiscard);
        }
        for (const auto& explorer : m_desktop->Explorers()) {
            m_desktop->CloseExplorer(explorer);
        }
    }
    m_connect->IDTExtensibility2_OnBeginShutdown({});
    m_connect->IDTExtensibility2_OnDisconnection(0, {});
    if (m_desktop) {
        m_desktop->SetRibbonProvider(nullptr);
    }
    m_connect.reset();
    if (m_services) {
        m_services->host = {};
    }
}

void HostWorld::SetVersion(int32_t major) {
    m_version = major;
    m_platform->host.SetVersion(VersionText(major));
}

std::wstring HostWorld::MailboxDescription() const {
    switch (m_source.kind) {
        case MailboxSource::Kind::Demo:
            return L"the demo mailbox";
        case MailboxSource::Kind::File:
            return L"the mailbox " + text::FromUtf8(m_source.file.string());
        case MailboxSource::Kind::State:
            break;
    }
    return std::filesystem::exists(m_state.MailboxFile())
               ? L"the saved mailbox " + text::FromUtf8(m_state.MailboxFile().string())
               : L"an empty mailbox";
}

void HostWorld::Start() {
    Collect();
    m_desktop.reset();
    m_host.reset();
    m_collectedFromHost = 0;
    switch (m_source.kind) {
        case MailboxSource::Kind::Demo:
            m_host = sim::LoadDemoHost(*m_platform);
            break;
        case MailboxSource::Kind::File:
            m_host = sim::LoadHost(*m_platform, m_source.file);
            break;
        case MailboxSource::Kind::State:
            if (std::filesystem::exists(m_state.MailboxFile())) {
                m_host = sim::LoadHost(*m_platform, m_state.MailboxFile());
            } else {
                m_host = std::make_unique<sim::SimHost>(*m_platform);
            }
            break;
    }
    // What was chosen is loaded once; later starts continue from the saved state.
    m_source = MailboxSource{};
    m_host->session.outlookMajorVersion = m_version;
    m_services = std::make_unique<Services>(m_platform->Ports());
    m_services->host.application = m_host->application;
    m_running = true;
    ConnectAddin();
}

void HostWorld::Stop() {
    Collect();
    DisconnectAddin();
    Collect();
    m_services.reset();
    m_running = false;
    SaveState();
}

void HostWorld::Restart() {
    Stop();
    MakePlatform();
    Start();
}

void HostWorld::SaveState() {
    m_platform->registry.Save(m_state.RegistryFile());
    m_state.SaveClock(m_platform->clock.NowUtc());
    if (m_host) {
        sim::SaveHost(*m_host, m_state.MailboxFile());
    }
}

sim::SimDesktop* HostWorld::Desktop() {
    if (!m_desktop && m_host) {
        m_desktop = std::make_unique<sim::SimDesktop>(*m_platform, *m_host);
    }
    return m_desktop.get();
}

std::wstring HostWorld::SettingsKey() {
    return L"HKEY_CURRENT_USER\\" + COptions(m_platform->Ports()).GetRegPath();
}

std::wstring HostWorld::LogPath() {
    plexa::Platform ports = m_platform->Ports();
    return mReduceLog::LogBasePath(ports) + L".log";
}

std::wstring HostWorld::ErrPath() {
    plexa::Platform ports = m_platform->Ports();
    return mReduceLog::LogBasePath(ports) + L".err";
}

void HostWorld::Collect() {
    if (!m_host) {
        return;
    }
    const auto& list = m_host->session.transmissions;
    for (; m_collectedFromHost < list.size(); ++m_collectedFromHost) {
        m_sent.push_back(list[m_collectedFromHost]);
    }
}

std::vector<sim::Transmission> HostWorld::TakeNewTransmissions() {
    Collect();
    std::vector<sim::Transmission> fresh(m_sent.begin() + static_cast<std::ptrdiff_t>(m_handedOut),
                                         m_sent.end());
    m_handedOut = m_sent.size();
    return fresh;
}

}  // namespace plexa::host
