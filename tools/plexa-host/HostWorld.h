// The simulated client as plexa-host runs it: the simulated Windows services over the state
// folder, and the mail client started on a mailbox, stopped with its state saved, and started
// again from that state. Every message that leaves through the transport is collected here for
// the whole run, across restarts.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "StateFolder.h"
#include "settings/Services.h"
#include "sim/SimDesktop.h"
#include "sim/SimHost.h"
#include "sim/SimPlatform.h"
#include "sim/store/Transmission.h"

namespace plexa {
class Connect;
}

namespace plexa::host {

// Where the next start takes its mailbox from.
struct MailboxSource {
    enum class Kind { State, Demo, File };
    Kind kind = Kind::State;
    std::filesystem::path file;
};

class HostWorld {
public:
    // Builds the Windows services from the state folder (its hive, its clock). Throws
    // std::runtime_error or HostError when the saved state cannot be read.
    explicit HostWorld(StateFolder& state);
    ~HostWorld();
    HostWorld(const HostWorld&) = delete;
    HostWorld& operator=(const HostWorld&) = delete;

    // Setting up, while the client is not running.
    void SetVersion(int32_t major);
    int32_t Version() const { return m_version; }
    void SetMailbox(MailboxSource source) { m_source = std::move(source); }
    // The next start's mailbox, as words for the transcript.
    std::wstring MailboxDescription() const;

    // Starts the client on the chosen mailbox: the state folder's when nothing else is chosen
    // and it has one, else a mailbox with one empty store. Throws MailboxError for a mailbox
    // that does not load.
    void Start();
    // Shuts the client down and saves the state.
    void Stop();
    // Stop, then start again from the state folder alone: a fresh hive, clock and mailbox
    // read back from what was saved.
    void Restart();
    // Saves the hive, the clock and (once started) the mailbox into the state folder.
    void SaveState();

    bool Running() const { return m_running; }
    sim::SimPlatform& Platform() { return *m_platform; }
    // The client; nullptr before the first start. It stays after stop, to be looked at.
    sim::SimHost* Host() { return m_host.get(); }
    StateFolder& State() { return m_state; }
    // The client's desktop: its folder and message windows with their command bars and ribbons,
    // and the user who answers its prompts. Made on first use over the client that last started
    // (nullptr before the first start); it goes when that client's mailbox goes.
    sim::SimDesktop* Desktop();
    // The running add-in's services; nullptr while the client is stopped.
    plexa::Services* AddinServices() { return m_services.get(); }
    // The running add-in; nullptr while the client is stopped.
    plexa::Connect* Addin() { return m_connect.get(); }

    // The registry key of Plexa's settings: "HKEY_CURRENT_USER\Software\Orvin\Plexa".
    std::wstring SettingsKey();
    // Plexa.log and Plexa.err below the application-data folder, as Windows paths.
    std::wstring LogPath();
    std::wstring ErrPath();

    // Messages that left since the last call, in sending order; and all of them.
    std::vector<sim::Transmission> TakeNewTransmissions();
    const std::vector<sim::Transmission>& AllTransmissions() const { return m_sent; }

private:
    void MakePlatform();
    void InstallLanguageFiles();
    void ConnectAddin();
    void DisconnectAddin();
    void Collect();

    StateFolder& m_state;
    std::unique_ptr<sim::SimPlatform> m_platform;
    std::unique_ptr<sim::SimHost> m_host;
    // Refers to m_host and the platform: it goes before either.
    std::unique_ptr<sim::SimDesktop> m_desktop;
    std::unique_ptr<Services> m_services;
    // The add-in, connected while the client runs.
    std::shared_ptr<plexa::Connect> m_connect;
    MailboxSource m_source;
    int32_t m_version = 14;
    bool m_running = false;
    std::vector<sim::Transmission> m_sent;
    std::size_t m_collectedFromHost = 0;
    std::size_t m_handedOut = 0;
};

// The version text the simulated client reports for a major version ("14.0.4760.1000").
std::wstring VersionText(int32_t major);

}  // namespace plexa::host
