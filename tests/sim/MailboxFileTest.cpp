#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "TestWorld.h"
#include "core/Text.h"
#include "sim/HostExampleMailbox.h"
#include "sim/mailbox/DemoMailbox.h"
#include "sim/mailbox/MailboxReader.h"
#include "sim/mailbox/MailboxWriter.h"

namespace plexa::sim {
namespace {

using test::kHostExample;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

TEST(MailboxFile, HostDocumentationExampleLoadsAsWritten) {
    const MailboxModel m = ParseMailbox(kHostExample);
    ASSERT_EQ(m.stores.size(), 1u);
    const MailboxStore& store = m.stores[0];
    EXPECT_EQ(store.name, L"Personal Folders");
    EXPECT_TRUE(store.isDefault);
    EXPECT_EQ(m.DefaultStore(), &store);
    ASSERT_EQ(store.folders.size(), 9u);
    for (FolderRole role : {FolderRole::Inbox, FolderRole::Outbox, FolderRole::Sent,
                            FolderRole::Drafts, FolderRole::Deleted, FolderRole::Junk,
                            FolderRole::Calendar, FolderRole::Tasks, FolderRole::Contacts}) {
        ASSERT_NE(store.FindRole(role), nullptr) << text::ToUtf8(RoleName(role));
        EXPECT_EQ(store.FindRole(role)->name, DefaultFolderName(role));
    }
    EXPECT_EQ(store.FindRole(FolderRole::Notes), nullptr);
    EXPECT_EQ(store.FindRole(FolderRole::Calendar)->EffectiveType(), FolderType::Appointment);

    const MailboxFolder& inbox = *store.FindRole(FolderRole::Inbox);
    ASSERT_EQ(inbox.items.size(), 1u);
    const MailboxItem& mail = inbox.items[0];
    EXPECT_EQ(mail.itemClass, ItemClass::Mail);
    EXPECT_EQ(mail.subject, L"Lunch on Friday?");
    EXPECT_EQ(mail.body, L"Shall we?");
    ASSERT_TRUE(mail.from.has_value());
    EXPECT_EQ(*mail.from, MailboxRecipient::Object(L"Ann Smith", L"ann@acme.example"));
    ASSERT_EQ(mail.to.size(), 1u);
    EXPECT_TRUE(mail.to[0].IsText());
    EXPECT_EQ(mail.to[0].text, L"me@home.example");
    ASSERT_TRUE(mail.received.has_value());
    EXPECT_EQ(*mail.received, OleDate::FromParts(2026, 12, 1, 10, 0));
    EXPECT_FALSE(mail.replied);

    const MailboxFolder& contacts = *store.FindRole(FolderRole::Contacts);
    ASSERT_EQ(contacts.items.size(), 3u);
    const MailboxItem& ann = contacts.items[0];
    EXPECT_EQ(ann.itemClass, ItemClass::Contact);
    EXPECT_EQ(ann.fullName, L"Ann Smith");
    EXPECT_EQ(ann.firstName, L"Ann");
    EXPECT_EQ(ann.lastName, L"Smith");
    EXPECT_EQ(ann.company, L"Acme");
    EXPECT_EQ(ann.email, (std::vector<std::wstring>{L"ann@acme.example", L"ann@home.example"}));
    EXPECT_FALSE(ann.isPrivate);
    EXPECT_TRUE(contacts.items[1].isPrivate);
    const MailboxItem& club = contacts.items[2];
    EXPECT_EQ(club.itemClass, ItemClass::DistList);
    EXPECT_EQ(club.subject, L"Book club");
    ASSERT_EQ(club.members.size(), 2u);
    EXPECT_EQ(club.members[0], MailboxRecipient::Text(L"Ann Smith"));
    EXPECT_EQ(club.members[1], MailboxRecipient::Object(L"Carla Diaz", L"carla@diaz.example"));
    ASSERT_EQ(contacts.folders.size(), 1u);
    EXPECT_EQ(contacts.folders[0].name, L"Clients");
    EXPECT_EQ(contacts.folders[0].role, FolderRole::None);
    EXPECT_EQ(contacts.folders[0].EffectiveType(), FolderType::Contact);

    ASSERT_EQ(m.addressBook.size(), 2u);
    const AddressBookEntry& dana = m.addressBook[0];
    EXPECT_EQ(dana.type, AddressType::Ex);
    EXPECT_EQ(dana.address, L"/o=Acme/ou=Exchange/cn=Recipients/cn=dwhitfield");
    EXPECT_EQ(dana.smtp, L"dana@acme.example");
    EXPECT_FALSE(dana.isList);
    const AddressBookEntry& staff = m.addressBook[1];
    EXPECT_TRUE(staff.isList);
    EXPECT_EQ(staff.members,
              (std::vector<MailboxRecipient>{MailboxRecipient::Text(L"Dana Whitfield"),
                                             MailboxRecipient::Text(L"ops@acme.example")}));

    // Written back and read again, the example gives the same model.
    EXPECT_EQ(ParseMailbox(FormatMailbox(m)), m);
}

TEST(MailboxFile, DemoMailboxHasWhatTheTourNeedsAndRoundTrips) {
    const MailboxModel demo = DemoMailbox();
    ASSERT_EQ(demo.stores.size(), 1u);
    const MailboxStore& store = demo.stores[0];
    EXPECT_EQ(store.name, L"Personal Folders");
    EXPECT_TRUE(store.isDefault);
    for (FolderRole role :
         {FolderRole::Inbox, FolderRole::Outbox, FolderRole::Sent, FolderRole::Drafts,
          FolderRole::Deleted, FolderRole::Junk, FolderRole::Calendar, FolderRole::Tasks,
          FolderRole::Contacts, FolderRole::Notes, FolderRole::Journal}) {
        EXPECT_NE(store.FindRole(role), nullptr) << text::ToUtf8(RoleName(role));
    }
    const MailboxFolder& contacts = *store.FindRole(FolderRole::Contacts);
    ASSERT_EQ(contacts.folders.size(), 1u);
    EXPECT_EQ(contacts.folders[0].name, L"Clients");
    EXPECT_EQ(contacts.folders[0].EffectiveType(), FolderType::Contact);

    int people = 0;
    int severalAddresses = 0;
    int privateOnes = 0;
    std::vector<const MailboxItem*> lists;
    for (const MailboxFolder* folder : {&contacts, &contacts.folders[0]}) {
        for (const MailboxItem& item : folder->items) {
            if (item.itemClass == ItemClass::Contact) {
                ++people;
                severalAddresses += item.email.size() > 1 ? 1 : 0;
                privateOnes += item.isPrivate ? 1 : 0;
            } else if (item.itemClass == ItemClass::DistList) {
                lists.push_back(&item);
            }
        }
    }
    EXPECT_GE(people, 24);
    EXPECT_GE(severalAddresses, 3);
    EXPECT_GE(privateOnes, 2);
    // Two lists, the first a member of the second.
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_NE(std::find(lists[1]->members.begin(), lists[1]->members.end(),
                        MailboxRecipient::Text(lists[0]->subject)),
              lists[1]->members.end());

    const auto& inbox = store.FindRole(FolderRole::Inbox)->items;
    EXPECT_TRUE(std::any_of(inbox.begin(), inbox.end(), [](auto& i) { return i.replied; }));
    EXPECT_TRUE(std::any_of(inbox.begin(), inbox.end(), [](auto& i) { return !i.cc.empty(); }));
    EXPECT_FALSE(store.FindRole(FolderRole::Sent)->items.empty());
    const auto& calendar = store.FindRole(FolderRole::Calendar)->items;
    EXPECT_TRUE(std::any_of(calendar.begin(), calendar.end(), [](auto& i) {
        return i.itemClass == ItemClass::Appointment && i.organizer && !i.attendees.empty();
    }));
    const auto& tasks = store.FindRole(FolderRole::Tasks)->items;
    EXPECT_TRUE(std::any_of(tasks.begin(), tasks.end(), [](auto& i) { return !i.links.empty(); }));
    EXPECT_TRUE(std::any_of(demo.addressBook.begin(), demo.addressBook.end(), [](auto& e) {
        return e.type == AddressType::Ex && !e.address.empty() && !e.smtp.empty();
    }));

    // Text round trip, then through a real file.
    const std::string written = FormatMailbox(demo);
    EXPECT_EQ(ParseMailbox(written), demo);
    EXPECT_EQ(FormatMailbox(ParseMailbox(written)), written);
    test::TempDir dir;
    const auto path = dir.Path() / "mailbox.json";
    SaveMailbox(demo, path);
    EXPECT_EQ(LoadMailbox(path), demo);
    EXPECT_EQ(ReadFile(path), written);
}

struct Malformed {
    const char* document;
    const wchar_t* pointer;
    const wchar_t* problem;  // a part of the message
};

// A mailbox whose first store's Inbox holds the one item given.
std::string WithItem(const std::string& item) {
    return R"({"stores":[{"name":"P","folders":[{"name":"Inbox","role":"inbox","items":[)" + item +
           "]}]}]}";
}

std::string WithEntry(const std::string& entry) {
    return R"({"stores":[{"name":"P"}],"addressBook":[)" + entry + "]}";
}

TEST(MailboxFile, MalformedDocumentsSayWhereAndWhat) {
    const std::wstring item = L"/stores/0/folders/0/items/0";
    const std::string contact = R"({"class":"contact","fullName":"X",)";
    const std::vector<std::pair<std::string, std::pair<std::wstring, std::wstring>>> cases = {
        {"[]", {L"", L"expected a mailbox (an object), found an array"}},
        {"{}", {L"", L"a mailbox needs \"stores\""}},
        {R"({"stores":[]})", {L"/stores", L"at least one store"}},
        {R"({"stores":{}})", {L"/stores", L"expected an array, found an object"}},
        {R"({"stores":[{"name":"A"}],"adressBook":[]})",
         {L"/adressBook",
          L"unknown field \"adressBook\" in a mailbox (did you mean \"addressBook\"?)"}},
        {R"({"stores":[{"name":" "}]})", {L"/stores/0/name", L"\"name\" is empty"}},
        {R"({"stores":[{"default":true}]})", {L"/stores/0", L"a store needs \"name\""}},
        {R"({"stores":[{"name":"A","default":true},{"name":"B","default":true}]})",
         {L"/stores/1/default", L"a second default store (the first is /stores/0)"}},
        {R"({"stores":[{"name":"A"},{"name":"a"}]})",
         {L"/stores/1/name", L"a second store named \"a\""}},
        {R"({"stores":[{"name":"A","default":"yes"}]})",
         {L"/stores/0/default", L"expected true or false, found a string"}},
        {R"({"stores":[{"name":"A","folders":[{"name":"In","role":"inbx"}]}]})",
         {L"/stores/0/folders/0/role", L"unknown role \"inbx\""}},
        {R"({"stores":[{"name":"A","folders":[{"name":"In","role":"inbox"},)"
         R"({"name":"In2","role":"Inbox"}]}]})",
         {L"/stores/0/folders/1/role",
          L"a second folder with role \"Inbox\" (the first is /stores/0/folders/0)"}},
        {R"({"stores":[{"name":"A","folders":[{"name":"X","folders":[{"name":"Y","role":"sent"}]}]}]})",
         {L"/stores/0/folders/0/folders/0/role", L"only a folder at the top"}},
        {R"({"stores":[{"name":"A","folders":[{"name":"C","role":"contacts","type":"mail"}]}]})",
         {L"/stores/0/folders/0/type", L"contradicts role \"contacts\""}},
        {R"({"stores":[{"name":"A","folders":[{"name":"C","type":"contacts"}]}]})",
         {L"/stores/0/folders/0/type", L"unknown folder type \"contacts\""}},
        {R"({"stores":[{"name":"A","folders":[{"name":"a\\b"}]}]})",
         {L"/stores/0/folders/0/name", L"cannot hold a backslash"}},
        {R"({"stores":[{"name":"A","folders":[{"name":"X","folders":[{"name":"K"},{"name":"k"}]}]}]})",
         {L"/stores/0/folders/0/folders/1/name", L"a second folder named \"k\" in \"X\""}},
        {WithItem(R"("mail")"), {item, L"expected an item (an object), found a string"}},
        {WithItem(R"({"subject":"x"})"), {item, L"an item needs a \"class\""}},
        {WithItem(R"({"class":"mial"})"), {item + L"/class", L"unknown class \"mial\""}},
        {WithItem(R"({"class":"mail","subject":5})"),
         {item + L"/subject", L"expected a string, found a number"}},
        {WithItem(R"({"class":"mail","subjet":"x"})"),
         {item + L"/subjet",
          L"unknown field \"subjet\" in a mail item (did you mean \"subject\"?)"}},
        {WithItem(R"({"class":"mail","fullName":"x"})"),
         {item + L"/fullName", L"field \"fullName\" does not belong to a mail item"}},
        {WithItem(contact + R"("fullname":"x"})"),
         {item + L"/fullname", L"did you mean \"fullName\"?"}},
        {WithItem(contact + R"("subject":"x"})"), {item + L"/subject", L"is its \"fullName\""}},
        {WithItem(R"({"class":"note","subject":"x"})"), {item + L"/subject", L"first line"}},
        {WithItem(contact +
                  R"("email":["a@x.example","b@x.example","c@x.example","d@x.example"]})"),
         {item + L"/email", L"one to three e-mail addresses, this one has 4"}},
        {WithItem(contact + R"("email":["a@x.example",""]})"),
         {item + L"/email/1", L"an empty e-mail address"}},
        {WithItem(contact + R"("email":[7]})"),
         {item + L"/email/0", L"expected a string, found a number"}},
        {WithItem(R"({"class":"mail","received":"2026-02-30 10:00"})"),
         {item + L"/received", L"\"2026-02-30 10:00\" is not a date"}},
        {WithItem(R"({"class":"mail","received":"1.12.2026"})"),
         {item + L"/received", L"written \"yyyy-mm-dd hh:mm\""}},
        {WithItem(R"({"class":"mail","userProperties":{"A":"1"}})"),
         {item + L"/userProperties", L"expected an array, found an object"}},
        {WithItem(R"({"class":"mail","userProperties":[{"name":"A","type":"txt"}]})"),
         {item + L"/userProperties/0/type", L"unknown user property type \"txt\""}},
        {WithItem(R"({"class":"mail","userProperties":[{"name":"A_B"}]})"),
         {item + L"/userProperties/0/name", L"cannot hold [, ], _ or #"}},
        {WithItem(R"({"class":"mail","userProperties":[{"name":"A","value":1}]})"),
         {item + L"/userProperties/0/value", L"a text user property holds a text, found a number"}},
        {WithItem(R"({"class":"mail","userProperties":[{"name":"A","type":"yesno","value":"1"}]})"),
         {item + L"/userProperties/0/value", L"holds true or false, found a string"}},
        {WithItem(R"({"class":"mail","userProperties":[{"name":"D","type":5,"value":"soon"}]})"),
         {item + L"/userProperties/0/value", L"\"soon\" is not a date"}},
        {WithItem(R"({"class":"mail","userProperties":[{"name":"A","type":21,"value":[1]}]})"),
         {item + L"/userProperties/0/value", L"expected a number, found an array"}},
        {WithItem(R"({"class":"mail","userProperties":[{"name":"Mode"},{"name":"MODE"}]})"),
         {item + L"/userProperties/1/name",
          L"a second user property named \"MODE\" (the first is " + item + L"/userProperties/0)"}},
        {WithItem(R"({"class":"mail","to":"a@x.example"})"),
         {item + L"/to", L"expected an array, found a string"}},
        {WithItem(R"({"class":"mail","to":["a@x.example",{}]})"),
         {item + L"/to/1", L"a recipient needs a \"name\" or an \"address\""}},
        {WithItem(R"({"class":"mail","cc":[{"name":"A","type":"c"}]})"),
         {item + L"/cc/0/type", L"unknown recipient type \"c\""}},
        {WithItem(R"({"class":"mail","cc":[{"name":"A","adress":"a@x.example"}]})"),
         {item + L"/cc/0/adress", L"did you mean \"address\"?"}},
        {WithItem(R"({"class":"mail","bcc":[""]})"), {item + L"/bcc/0", L"an empty recipient"}},
        {WithItem(R"({"class":"mail","from":{"name":"A","type":"to"}})"),
         {item + L"/from/type", L"\"type\" does not belong to a sender or organizer"}},
        {WithItem(R"({"class":"mail","flag":{"status":3}})"),
         {item + L"/flag/status", L"3 is out of range (0 to 2)"}},
        {WithItem(R"({"class":"mail","flag":{"icon":2.5}})"),
         {item + L"/flag/icon", L"expected a whole number, found 2.5"}},
        {WithItem(R"({"class":"mail","sensitivity":"secret"})"),
         {item + L"/sensitivity", L"unknown sensitivity \"secret\""}},
        {WithItem(R"({"class":"mail","categories":["A,B"]})"),
         {item + L"/categories/0", L"cannot hold a comma"}},
        {WithItem(R"({"class":"mail","properties":{"0x1080003":1}})"),
         {item + L"/properties/0x1080003", L"is not a property tag"}},
        {WithItem(R"({"class":"mail","properties":{"0x10800003":"261"}})"),
         {item + L"/properties/0x10800003", L"expected a whole number, found a string"}},
        {WithItem(R"({"class":"mail","properties":{"0x10800003":1,"0x10800003 ":2}})"),
         {item + L"/properties/0x10800003 ", L"is not a property tag"}},
        {WithItem(R"({"class":"mail","properties":{"0x10800003":1,"0X10800003":2}})"),
         {item + L"/properties/0X10800003", L"property 0x10800003 appears twice"}},
        {WithItem(R"({"class":"mail","properties":{"0x0E070002":70000}})"),
         {item + L"/properties/0x0E070002", L"70000 is out of range"}},
        {WithItem(R"({"class":"mail","properties":{"0x0FFF0102":"ABC"}})"),
         {item + L"/properties/0x0FFF0102", L"two for each byte"}},
        {WithItem(R"({"class":"mail","properties":{"0x0FFF000D":1}})"),
         {item + L"/properties/0x0FFF000D",
          L"property type 0x000D of 0x0FFF000D is not supported"}},
        {WithItem(R"({"class":"appointment","start":"2026-12-07 10:00","end":"2026-12-07 09:00"})"),
         {item + L"/end", L"the end lies before the start"}},
        {WithItem(R"({"class":"appointment","responseStatus":9})"),
         {item + L"/responseStatus", L"9 is out of range (0 to 5)"}},
        {WithItem(R"({"class":"task","links":["Ann",""]})"),
         {item + L"/links/1", L"an empty name"}},
        {WithItem(R"({"class":"task","attendees":[]})"),
         {item + L"/attendees", L"does not belong to a task item"}},
        {WithEntry(R"({"name":"Ann","address":"ann.example"})"),
         {L"/addressBook/0/address", L"\"ann.example\" is not an SMTP address"}},
        {WithEntry(R"({"name":"Ann"})"), {L"/addressBook/0", L"needs an \"address\""}},
        {WithEntry(R"({"name":"Ann","address":"a@x.example","smtp":"a@x.example"})"),
         {L"/addressBook/0/smtp", L"\"smtp\" belongs to EX entries"}},
        {WithEntry(R"({"name":"Ann","type":"X400","address":"a@x.example"})"),
         {L"/addressBook/0/type", L"unknown address type \"X400\""}},
        {WithEntry(R"({"name":"L","members":["Ann",5]})"),
         {L"/addressBook/0/members/1", L"expected a recipient"}},
        {R"({"stores":[{"name":"A","name":"B"}]})",
         {L"/stores/0/name", L"field \"name\" appears twice in one object"}},
        {R"({"stores":[{"name":"A","folders":[{"name":"a~/b","items":[],"items":[]}]}]})",
         {L"/stores/0/folders/0/items", L"appears twice"}},
        {R"({"a/b~":1,"a/b~":2})", {L"/a~1b~0", L"appears twice"}},
        {WithItem(R"({"class":"mail","properties":{"0x00000005":1e400}})"),
         {L"", L"not valid JSON: number overflow"}},
    };
    for (const auto& [document, expected] : cases) {
        SCOPED_TRACE(document);
        try {
            ParseMailbox(document, L"test.json");
            ADD_FAILURE() << "no error";
        } catch (const MailboxError& e) {
            EXPECT_EQ(e.Pointer(), expected.first);
            EXPECT_NE(e.Problem().find(expected.second), std::wstring::npos)
                << text::ToUtf8(e.Problem());
            EXPECT_EQ(e.File(), L"test.json");
            EXPECT_EQ(e.Number(), vberr::InvalidFileFormat);
            EXPECT_EQ(e.TextLine(), 0);
            // The whole message names the file, the place and the problem.
            EXPECT_EQ(e.Description(),
                      L"test.json" + (expected.first.empty() ? L"" : L": at " + expected.first) +
                          L": " + e.Problem());
        }
    }
}

TEST(MailboxFile, FoldersNestOnlySoDeep) {
    const auto nested = [](int levels) {
        std::string doc = R"({"stores":[{"name":"A","folders":[)";
        for (int i = 0; i < levels; ++i) {
            doc += R"({"name":"F","folders":[)";
        }
        for (int i = 0; i < levels; ++i) {
            doc += "]}";
        }
        return doc + "]}]}";
    };
    EXPECT_NO_THROW(ParseMailbox(nested(100)));
    std::wstring pointer = L"/stores/0/folders/0";
    for (int i = 0; i < 100; ++i) {
        pointer += L"/folders/0";
    }
    try {
        ParseMailbox(nested(101));
        ADD_FAILURE() << "no error";
    } catch (const MailboxError& e) {
        EXPECT_EQ(e.Pointer(), pointer);
        EXPECT_EQ(e.Problem(), L"folders nested more than 100 deep");
    }
}

TEST(MailboxFile, SyntaxErrorsGiveLineAndColumn) {
    struct Case {
        std::string document;
        int line;
        int column;
        const wchar_t* problem;
    };
    const std::vector<Case> cases = {
        {"{\n  \"stores\": [\n    { \"name\": \"A\", }\n  ]\n}", 3, 20, L"unexpected '}'"},
        {"{\"stores\": [", 1, 13, L"unexpected end of input"},
        {"", 1, 1, L"unexpected end of input"},
        {"{\"stores\":[{\"name\":\"A\"}]} x", 1, 27, L"expected end of input"},
        // Columns count characters, not bytes: "é" is one column.
        {"{\"stores\":[{\"name\":\"é\",]}", 1, 24, L"unexpected ']'"},
        // Malformed UTF-8 inside a text is a syntax error, not a silent replacement.
        {"{\n\"stores\":[{\"name\":\"\xC3\x28\"}]}", 2, 21, L"ill-formed UTF-8"},
        {"{\"stores\":[{\"name\":'A'}]}", 1, 20, L"invalid literal"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.document);
        try {
            ParseMailbox(c.document, L"bad.json");
            ADD_FAILURE() << "no error";
        } catch (const MailboxError& e) {
            EXPECT_EQ(e.TextLine(), c.line);
            EXPECT_EQ(e.TextColumn(), c.column);
            EXPECT_EQ(e.Pointer(), L"");
            EXPECT_NE(e.Problem().find(c.problem), std::wstring::npos) << text::ToUtf8(e.Problem());
            EXPECT_EQ(e.Description().rfind(L"bad.json:" + std::to_wstring(c.line) + L":" +
                                                std::to_wstring(c.column) + L": not valid JSON: ",
                                            0),
                      0u)
                << text::ToUtf8(e.Description());
        }
    }
}

TEST(MailboxFile, NonLatinTextAndEscapesSurvive) {
    // Escapes of every kind: a surrogate pair, a non-Latin letter written as an escape, control
    // characters, a quote, a backslash, a slash and NUL.
    const std::string doc =
        "\xEF\xBB\xBF"  // a byte-order mark
        R"({"stores":[{"name":"Личные папки","folders":[{"name":"受信トレイ","role":"inbox",)"
        R"("items":[{"class":"mail","subject":"\ud83d\ude00 \u00e9t\u00E9 \u0645\u0631\u062d\u0628\u0627",)"
        R"("body":"line 1\nline 2\r\n\ttab \"quoted\" back\\slash \/ nul\u0000end",)"
        R"("from":{"name":"Zoë Ångström","address":"zoe@example.com"},)"
        R"("categories":["Rot","Grün"]}]}]}]})";
    const MailboxModel m = ParseMailbox(doc);
    const MailboxStore& store = m.stores[0];
    EXPECT_EQ(store.name, L"Личные папки");
    EXPECT_EQ(store.folders[0].name, L"受信トレイ");
    const MailboxItem& mail = store.folders[0].items[0];
    EXPECT_EQ(mail.subject, L"\U0001F600 \u00e9t\u00e9 \u0645\u0631\u062d\u0628\u0627");
    EXPECT_EQ(mail.body, std::wstring(L"line 1\nline 2\r\n\ttab \"quoted\" back\\slash / nul") +
                             L'\0' + L"end");
    EXPECT_EQ(mail.from->name, L"Zoë Ångström");
    EXPECT_EQ(mail.categories, L"Rot, Grün");

    const std::string written = FormatMailbox(m);
    EXPECT_EQ(written.rfind("\xEF\xBB\xBF", 0), std::string::npos);  // no mark written
    EXPECT_NE(written.find("Личные папки"), std::string::npos);      // UTF-8, not escapes
    EXPECT_NE(written.find("\\u0000"), std::string::npos);
    EXPECT_EQ(ParseMailbox(written), m);
}

TEST(MailboxFile, FieldsOfEveryClassRoundTrip) {
    const std::string doc = WithItem(
        R"({"class":"mail","subject":"S","body":"B","html":"<p>B</p>","from":"Ann <a@x.example>",)"
        R"("to":[{"name":"T","address":"t@x.example","type":"cc"}],"cc":["c@x.example"],)"
        R"("bcc":[{"address":"b@x.example"}],"received":"2026-12-01 10:00:30",)"
        R"("sent":"2026-12-01","replied":true,"unread":true,"sensitivity":3,)"
        R"("categories":"Red, Blue","flag":{"status":2,"icon":6,"text":"Review"},)"
        R"("properties":{"0x10800003":261,"0x0E070002":-5,"0x00000014":9007199254740993,)"
        R"("0x00000005":0.1,"0x0000000B":true,"0x0037001E":"narrow","0x0037001F":"wide",)"
        R"("0x00390040":"2026-12-01 10:00","0x0FFF0102":"00ff10","0x10001003":[1,-2],)"
        R"("0x1000101F":["a","b"]},"entryId":"00AB",)"
        R"("userProperties":[{"name":"OrvinPlexa.SendMode","value":"1"},)"
        R"({"name":"Due","type":"datetime","value":"2026-12-09 08:30","addToFolderFields":false},)"
        R"({"name":"Done","type":"yesno","value":true},{"name":"Count","type":20,"value":3},)"
        R"({"name":"Odd","type":21,"value":"x"},{"name":"Empty","type":"number"}]},)"
        R"({"class":"post","subject":"P","from":{"name":"F"},"received":"2026-01-02 03:04"},)"
        R"({"class":"contact","fullName":"F","firstName":"A","middleName":"B","lastName":"C",)"
        R"("initials":"A.B.C.","nickname":"N","company":"Co","email":"one@x.example",)"
        R"("private":true,"flag":{"status":1}},)"
        R"({"class":"distlist","subject":"L","members":["F",{"name":"G","address":"g@x.example"}]},)"
        R"({"class":"appointment","subject":"M","organizer":"Ann","responseStatus":"Tentative",)"
        R"("attendees":[{"name":"R","type":"bcc"}],"start":"2026-12-07 10:00",)"
        R"("end":"2026-12-07 11:00","location":"Room","links":["F"]},)"
        R"({"class":"task","subject":"T","recipients":["F"],"due":"2026-12-08 17:00","links":["F"]},)"
        R"({"class":"note","body":"N\nmore"},)"
        R"({"class":"journal","subject":"J","start":"2026-11-27 14:00","links":["F"]})");
    const MailboxModel m = ParseMailbox(doc);
    const auto& items = m.stores[0].folders[0].items;
    ASSERT_EQ(items.size(), 8u);
    const MailboxItem& mail = items[0];
    EXPECT_EQ(*mail.from, MailboxRecipient::Text(L"Ann <a@x.example>"));
    EXPECT_EQ(mail.to[0].type, RecipientType::Cc);
    EXPECT_EQ(mail.bcc[0], MailboxRecipient::Object(L"", L"b@x.example"));
    EXPECT_EQ(*mail.received, OleDate::FromParts(2026, 12, 1, 10, 0, 30));
    EXPECT_EQ(*mail.sent, OleDate::FromParts(2026, 12, 1));
    EXPECT_EQ(mail.sensitivity, Sensitivity::Confidential);
    EXPECT_EQ(*mail.flag, (MailboxFlag{2, 6, L"Review"}));
    const auto& p = mail.properties;
    EXPECT_EQ(p.at(0x10800003), PropertyValue(int32_t{261}));
    EXPECT_EQ(p.at(0x0E070002), PropertyValue(int32_t{-5}));
    EXPECT_EQ(p.at(0x00000014), PropertyValue(int64_t{9007199254740993}));
    EXPECT_EQ(p.at(0x00000005), PropertyValue(0.1));
    EXPECT_EQ(p.at(0x0000000B), PropertyValue(true));
    EXPECT_EQ(p.at(0x0037001E), PropertyValue(std::wstring(L"narrow")));
    EXPECT_EQ(p.at(0x00390040), PropertyValue(OleDate::FromParts(2026, 12, 1, 10, 0)));
    EXPECT_EQ(p.at(0x0FFF0102), PropertyValue(std::vector<uint8_t>{0x00, 0xFF, 0x10}));
    EXPECT_EQ(p.at(0x10001003), PropertyValue(std::vector<int32_t>{1, -2}));
    EXPECT_EQ(p.at(0x1000101F), PropertyValue(std::vector<std::wstring>{L"a", L"b"}));
    EXPECT_EQ(mail.entryId, L"00AB");  // the form is the loader's to check
    const std::vector<MailboxUserProperty> userProps = {
        {L"OrvinPlexa.SendMode", 1, std::wstring(L"1"), true},
        {L"Due", 5, OleDate::FromParts(2026, 12, 9, 8, 30), false},
        {L"Done", 6, true, true},
        {L"Count", 20, 3.0, true},
        {L"Odd", 21, std::wstring(L"x"), true},
        {L"Empty", 3, std::nullopt, true}};
    EXPECT_EQ(mail.userProperties, userProps);
    EXPECT_EQ(items[2].email, std::vector<std::wstring>{L"one@x.example"});
    EXPECT_EQ(items[4].responseStatus, ResponseStatus::Tentative);
    EXPECT_EQ(items[4].attendees[0].type, RecipientType::Bcc);
    EXPECT_EQ(items[5].due, OleDate::FromParts(2026, 12, 8, 17, 0));
    EXPECT_EQ(items[7].links, std::vector<std::wstring>{L"F"});

    const std::string written = FormatMailbox(m);
    EXPECT_EQ(ParseMailbox(written), m);
    EXPECT_NE(written.find(R"("0x0FFF0102": "00FF10")"), std::string::npos) << written;
    EXPECT_NE(written.find(R"("received": "2026-12-01 10:00:30")"), std::string::npos);
    EXPECT_NE(written.find(R"("sent": "2026-12-01 00:00")"), std::string::npos);
    EXPECT_NE(written.find(R"("sensitivity": "confidential")"), std::string::npos);
    EXPECT_NE(written.find(R"("type": "datetime")"), std::string::npos) << written;
    EXPECT_NE(written.find(R"("type": 21)"), std::string::npos) << written;
    std::istringstream lines(written);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(text::FromUtf8(line).size(), 100u) << line;
    }
}

TEST(MailboxFile, LeftOutAndNullFieldsTakeTheirDefaults) {
    const MailboxModel m = ParseMailbox(
        WithItem(R"({"class":"mail","subject":null,"flag":null,"to":null},{"class":"contact"})"));
    const auto& items = m.stores[0].folders[0].items;
    EXPECT_EQ(items[0], MailboxItem{});
    MailboxItem contact;
    contact.itemClass = ItemClass::Contact;
    EXPECT_EQ(items[1], contact);
    // A null field still has to belong to the class.
    EXPECT_THROW(ParseMailbox(WithItem(R"({"class":"note","email":null})")), MailboxError);

    // A mailbox with no default store defaults to its first; an empty one has none.
    EXPECT_EQ(ParseMailbox(R"({"stores":[{"name":"A"},{"name":"B"}]})").DefaultStore()->name, L"A");
    EXPECT_EQ(MailboxModel{}.DefaultStore(), nullptr);
}

TEST(MailboxFile, DatesAreWrittenToTheMinuteOrSecond) {
    EXPECT_EQ(ParseMailboxDate(L"2024-02-29 23:59"), OleDate::FromParts(2024, 2, 29, 23, 59));
    EXPECT_EQ(ParseMailboxDate(L"2026-12-06"), OleDate::FromParts(2026, 12, 6));
    EXPECT_EQ(ParseMailboxDate(L"1899-12-30 06:00:01"), OleDate::FromParts(1899, 12, 30, 6, 0, 1));
    for (const wchar_t* bad :
         {L"2023-02-29 10:00", L"2026-12-06 24:00", L"2026-12-06 10:60", L"2026-12-06 10:00:60",
          L"2026-1-06 10:00", L"2026-12-06T10:00", L"2026-12-06 10:00 ", L"0099-01-01", L"",
          L"2026-12-06 1a:00", L"2026/12/06 10:00"}) {
        EXPECT_FALSE(ParseMailboxDate(bad).has_value()) << text::ToUtf8(bad);
    }
    EXPECT_EQ(FormatMailboxDate(OleDate::FromParts(2026, 1, 2, 3, 4)), L"2026-01-02 03:04");
    EXPECT_EQ(FormatMailboxDate(OleDate::FromParts(2026, 1, 2, 3, 4, 5)), L"2026-01-02 03:04:05");
    EXPECT_EQ(FormatMailboxDate(OleDate::FromParts(1899, 12, 29, 6, 0)), L"1899-12-29 06:00");
}

TEST(MailboxFile, FilesAreReadAndReplacedWhole) {
    test::TempDir dir;
    const auto path = dir.Path() / "mailbox.json";

    // Missing file, a folder, a byte-order mark, and an error naming the file.
    try {
        LoadMailbox(path);
        ADD_FAILURE() << "no error";
    } catch (const MailboxError& e) {
        EXPECT_EQ(e.Number(), vberr::FileNotFound);
        EXPECT_EQ(e.File(), PathText(path));
    }
    try {
        LoadMailbox(dir.Path());
        ADD_FAILURE() << "no error";
    } catch (const MailboxError& e) {
        EXPECT_EQ(e.Number(), vberr::PathFileAccessError);
    }
    WriteFile(path, std::string("\xEF\xBB\xBF") + kHostExample);
    const MailboxModel example = LoadMailbox(path);
    EXPECT_EQ(example, ParseMailbox(kHostExample));
    WriteFile(path, R"({"stores":[{"name":"A","folders":[{"name":"I","role":"in"}]}]})");
    try {
        LoadMailbox(path);
        ADD_FAILURE() << "no error";
    } catch (const MailboxError& e) {
        EXPECT_EQ(e.Description(), PathText(path) +
                                       L": at /stores/0/folders/0/role: unknown role "
                                       L"\"in\" (inbox, outbox, sent, drafts, "
                                       L"deleted, junk, calendar, tasks, contacts, "
                                       L"notes or journal)");
    }

    // Saving replaces the old file and leaves nothing beside it.
    SaveMailbox(example, path);
    EXPECT_EQ(LoadMailbox(path), example);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);

    // A model that would not read back is refused and the old file stays as it was.
    const std::string before = ReadFile(path);
    MailboxModel twoDefaults = example;
    MailboxStore archive;
    archive.name = L"Archive";
    archive.isDefault = true;
    twoDefaults.stores.push_back(archive);
    try {
        SaveMailbox(twoDefaults, path);
        ADD_FAILURE() << "no error";
    } catch (const MailboxError& e) {
        EXPECT_EQ(e.Pointer(), L"/stores/1/default");
    }
    MailboxModel tooManyAddresses = example;
    tooManyAddresses.stores[0].folders[8].items[0].email.assign(4, L"x@x.example");
    EXPECT_THROW(SaveMailbox(tooManyAddresses, path), MailboxError);
    EXPECT_EQ(ReadFile(path), before);

    // A folder that does not exist, and a file name taken by a folder.
    try {
        SaveMailbox(example, dir.Path() / "missing" / "mailbox.json");
        ADD_FAILURE() << "no error";
    } catch (const MailboxError& e) {
        EXPECT_EQ(e.Number(), vberr::PathNotFound);
    }
    std::filesystem::create_directory(dir.Path() / "taken");
    std::filesystem::create_directory(dir.Path() / "taken" / "inside");
    EXPECT_THROW(SaveMailbox(example, dir.Path() / "taken"), MailboxError);
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "taken" / "inside"));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "taken.tmp"));
    EXPECT_EQ(ReadFile(path), before);
}

}  // namespace
}  // namespace plexa::sim
