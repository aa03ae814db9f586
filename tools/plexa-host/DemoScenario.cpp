// The tour plexa-host demo runs: the host itself on the built-in demo mailbox. It is an ordinary
// scenario, so every step it shows is one a scenario file can take.
#include "Program.h"

namespace plexa::host {

const char* DemoScenario() {
    return R"plexa(# plexa-host demo: the simulated mail client on the built-in demo mailbox.
say "== plexa-host: the simulated mail client, driven by a scenario =="
say "Plexa's add-in is not part of this build yet, so its buttons, dialogs and separate sending"
say "do not show here; the folder and message windows come with the window simulation."
say "What the host does today: the mailbox, the registry, the clock, sending and the .eml files."
say ""
say "-- Setting up: client version, mailbox, clock and a Plexa setting, then the client starts"
host 14
mailbox demo
clock "2026-12-07 09:00"
setting GroupRecipients 10
start
say ""
say "-- The mailbox as the client shows it"
dump folder "\\Personal Folders\\Inbox"
dump folder "Contacts\\Clients"
expect folder Contacts count 25
expect item Contacts "Project Lighthouse team"
expect item Inbox "Lunch on Friday?"
say ""
say "-- A message to a contact, and one to a distribution list (sent by the host objects)"
mail to "Ann Smith" subject "Lunch on Friday?" body "Dear Ann,\nFriday at noon suits me.\nKind regards"
mail to "Project Lighthouse team" cc helpdesk@fernwood.example.com subject "Lighthouse: kick-off" html "<p>The kick-off is on <b>Monday</b> at 10:00.</p>"
expect sent 2
expect sent to ann.smith@acme.example.com subject "Lunch on Friday?" body "noon"
expect sent to grace.liu@fernwood.example.com subject "Lighthouse: kick-off"
expect folder "Sent Items" count 6
dump sent
say ""
say "-- Two hours later the client restarts: the hive, the mailbox and the clock come back"
advance 2h
restart
expect registry HKCU\Software\Orvin\Plexa GroupRecipients 10
expect item "Sent Items" "Lighthouse: kick-off"
expect folder "Sent Items" count 6
stop
)plexa";
}

}  // namespace plexa::host
