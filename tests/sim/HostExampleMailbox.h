// The example mailbox of the command-line host's documentation, exactly as written there: tests
// of the mailbox format and of loading it share it.
#pragma once

namespace plexa::test {

inline constexpr const char* kHostExample = R"({
  "stores": [
    { "name": "Personal Folders", "default": true,
      "folders": [
        { "name": "Inbox", "role": "inbox", "items": [
          { "class": "mail", "subject": "Lunch on Friday?", "body": "Shall we?",
            "from": { "name": "Ann Smith", "address": "ann@acme.example" },
            "to": ["me@home.example"], "received": "2026-12-01 10:00", "replied": false } ] },
        { "name": "Outbox", "role": "outbox" },
        { "name": "Sent Items", "role": "sent" },
        { "name": "Drafts", "role": "drafts" },
        { "name": "Deleted Items", "role": "deleted" },
        { "name": "Junk E-mail", "role": "junk" },
        { "name": "Calendar", "role": "calendar" },
        { "name": "Tasks", "role": "tasks" },
        { "name": "Contacts", "role": "contacts", "items": [
          { "class": "contact", "fullName": "Ann Smith", "firstName": "Ann", "lastName": "Smith",
            "company": "Acme", "email": ["ann@acme.example", "ann@home.example"] },
          { "class": "contact", "fullName": "Bob Lee", "email": ["bob@lee.example"], "private": true },
          { "class": "distlist", "subject": "Book club",
            "members": ["Ann Smith", { "name": "Carla Diaz", "address": "carla@diaz.example" }] } ],
          "folders": [ { "name": "Clients", "type": "contact" } ] }
      ] }
  ],
  "addressBook": [
    { "name": "Dana Whitfield", "type": "EX",
      "address": "/o=Acme/ou=Exchange/cn=Recipients/cn=dwhitfield", "smtp": "dana@acme.example" },
    { "name": "All Staff", "members": ["Dana Whitfield", "ops@acme.example"] }
  ]
})";

}  // namespace plexa::test
