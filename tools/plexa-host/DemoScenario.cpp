// The tour plexa-host demo runs: the host itself on the built-in demo mailbox. It is an ordinary
// scenario, so every step it shows is one a scenario file can take.
#include "Program.h"

namespace plexa::host {

const char* DemoScenario() {
    return R"plexa(# plexa-host demo: the simulated mail client on the built-in demo mailbox.
say "== plexa-host: the simulated mail client, driven by a scenario =="
say "Every step below is a line of an ordinary scenario: 'plexa-host run FILE' takes the same."
say ""
say "-- Setting up: client version, mailbox, clock and a Plexa setting, then the client starts"
host 14
mailbox demo
clock "2026-12-07 09:00"
setting GroupRecipients 10
start
say "   Plexa is connected and waits: the client has no folder window yet"
expect log "Connect::IDTExtensibility2_OnConnection"
expect nolog "Connect::Init"
say ""
say "-- A folder window opens on the Inbox: Plexa initialises on it; the user selects two messages"
explorer open
expect log "Connect::Init"
select "Lunch on Friday?" "Quarterly figures"
expect control "Forward" visible
say ""
say "-- A second folder window, on the contacts: Plexa gives it only its menu"
explorer open Contacts
expect log "(NewExplorer)"
select "Ann Smith"
expect folder Contacts count 25
say ""
say "-- A new message: the client's CreateItem and Display open its window; the user addresses"
say "   it, types the subject and the body, and presses Send"
new mail
address to "Ann Smith (ann.smith@acme.example.com)"
subject "Lunch on Friday?"
type "Dear Ann,\nFriday at noon suits me.\nKind regards"
expect message to "Ann Smith (ann.smith@acme.example.com)"
dump message
send
expect sent to ann.smith@acme.example.com subject "Lunch on Friday?" body "noon"
say ""
say "-- A message to a distribution list, sent by a program through the client's objects"
mail to "Project Lighthouse team" cc helpdesk@fernwood.example.com subject "Lighthouse: kick-off" html "<p>The kick-off is on <b>Monday</b> at 10:00.</p>"
expect sent 2
expect sent to grace.liu@fernwood.example.com subject "Lighthouse: kick-off"
expect folder "Sent Items" count 6
dump sent
say ""
say "-- Both folder windows close: Plexa goes back to waiting; a new window initialises it again"
explorer close
explorer close
expect log "Connect::m_oExplorers_OnCloseAllExplorers"
explorer open Drafts
say ""
say "-- Two hours later the client restarts (Plexa shuts down in full and connects again):"
say "   the hive, the mailbox and the clock come back"
advance 2h
restart
expect registry HKCU\Software\Orvin\Plexa GroupRecipients 10
expect item "Sent Items" "Lunch on Friday?"
expect folder "Sent Items" count 6
stop
expect log "mode = full"
)plexa";
}

}  // namespace plexa::host
