// The tour plexa-host demo runs: the host itself on the built-in demo mailbox. It is an ordinary
// scenario, so every step it shows is one a scenario file can take.
#include "Program.h"

namespace plexa::host {

const char* DemoScenario() {
    return R"plexa(# plexa-host demo: Plexa's typical request on the built-in demo mailbox.
say "== Plexa: one message, a personal copy for each recipient =="
say "Every line below is a line of an ordinary scenario: 'plexa-host run FILE' takes the same."
say ""
say "-- A 2003 client starts on the demo mailbox; Plexa connects"
host 11
mailbox demo
clock "2026-12-07 09:00"
setting GroupRecipients 2
setting GroupInterval 15
setting ShowSeparatlyOptions no
start
explorer open Contacts
say ""
say "-- Three contacts selected, then Plexa's To button on its own toolbar"
select "Priya Raman" "Laura Bianchi" "Bob Lee"
click "bar=Plexa/To"
expect message to "Priya Raman" "Laura Bianchi" "Bob Lee"
say "   A message window opens, addressed to all three, with Plexa's toolbar"
say ""
say "-- The user types; the First Name button inserts a placeholder (and turns on 'separately')"
subject "Friday's workshop, %FirstName%"
type "Dear "
click key:LID_CAP_CONTACT_FIRST_NAME
expect control key:LID_BTN_SEND_SEP pressed
type "the workshop starts at ten on Friday."
say ""
say "-- Send: Plexa asks once, then makes one copy per recipient and sends each"
answer yes key:LID_PROMPT_SEND_OR_SAVE_MAILS
send
expect sent to bob@lee.example.net subject "Friday's workshop, Bob" body "Dear Bob the workshop"
dump sent
say "   (each copy is also written as an .eml file into the --out folder)"
say ""
say "-- A value is missing: Bob's contact has no company. Plexa asks once; his copy stays in Drafts"
select "Priya Raman" "Bob Lee"
click "bar=Plexa/To"
subject "An offer for %Company%"
type "Our offer for "
click key:LID_CAP_CONTACT_COMPANY
dialog frmEmptyField optSave2Drafts=true press btnOK
answer yes key:LID_PROMPT_SEND_OR_SAVE_MAILS
send
expect sent to priya.raman@fernwood.example.com subject "An offer for Fernwood Consulting"
expect item Drafts "An offer for "
dump report
say ""
say "-- Grouping: two copies at once, the rest every 15 minutes, even across a restart"
select "Laura Bianchi" "Paolo Conti" "Grace Liu" "Emma Johansson"
click "bar=Plexa/To"
subject "Season's news for %FirstName%"
type "Dear "
click key:LID_CAP_CONTACT_FIRST_NAME
click key:LID_BTN_SEP_GROUPING
answer yes key:LID_PROMPT_SEND_OR_SAVE_MAILS
send
say "   The client closes five minutes later and starts again; the queue is still there"
advance 5m
restart
explorer open Contacts
advance 11m
expect sent 8
expect report summary "4 sent, 0 queued, 0 kept in Drafts, 0 failed, 0 dropped"
say ""
say "-- A distribution list from the selection, with Plexa's New Distribution List button"
select "Ann Smith" "Priya Raman"
click "bar=Plexa/New Distribution List"
expect folder Contacts count 26
stop
)plexa";
}

}  // namespace plexa::host
