#include <gmime/gmime.h>
#include <gtest/gtest.h>

#include <fstream>

#include "EmlWriter.h"
#include "TestWorld.h"
#include "core/Text.h"

namespace plexa::host {
namespace {

sim::TransmittedRecipient Recipient(std::wstring name, int32_t type, std::wstring smtp) {
    sim::TransmittedRecipient r;
    r.name = std::move(name);
    r.type = type;
    r.address = smtp;
    r.addressType = L"SMTP";
    r.smtpAddresses = {std::move(smtp)};
    return r;
}

sim::Transmission PlainMessage() {
    sim::Transmission t;
    t.timeUtc = OleDate::FromParts(2026, 12, 7, 9, 30, 15);
    t.senderName = L"Plexa User";
    t.senderAddress = L"user@example.com";
    t.recipients = {Recipient(L"Chloé Martin", 1, L"chloe@bellerive.example"),
                    Recipient(L"Bob Lee", 2, L"bob@lee.example"),
                    Recipient(L"Hidden", 3, L"hidden@example.org")};
    t.subject = L"Grüße aus Köln – 会議";
    t.body = L"Liebe Chloé,\r\nbis Freitag.\r\n\r\nFrom the start of a line\r\n.\r\nEnde";
    t.bodyFormat = 1;
    return t;
}

// Reads the bytes back with GMime's own parser.
class Parsed {
public:
    explicit Parsed(const std::string& bytes) {
        GMimeStream* stream = g_mime_stream_mem_new_with_buffer(bytes.data(), bytes.size());
        GMimeParser* parser = g_mime_parser_new_with_stream(stream);
        m_message = g_mime_parser_construct_message(parser, nullptr);
        g_object_unref(parser);
        g_object_unref(stream);
    }
    ~Parsed() {
        if (m_message != nullptr) {
            g_object_unref(m_message);
        }
    }
    Parsed(const Parsed&) = delete;
    Parsed& operator=(const Parsed&) = delete;

    GMimeMessage* Message() const { return m_message; }
    std::string Addresses(GMimeAddressType type) const {
        gchar* s = internet_address_list_to_string(g_mime_message_get_addresses(m_message, type),
                                                   nullptr, FALSE);
        std::string result = s != nullptr ? s : "";
        g_free(s);
        return result;
    }
    static std::string Text(GMimeObject* part) {
        gchar* s = g_mime_text_part_get_text(GMIME_TEXT_PART(part));
        std::string result = s != nullptr ? s : "";
        g_free(s);
        return result;
    }

private:
    GMimeMessage* m_message = nullptr;
};

std::string MimeType(GMimeObject* part) {
    gchar* type = g_mime_content_type_get_mime_type(g_mime_object_get_content_type(part));
    std::string result = type;
    g_free(type);
    return result;
}

TEST(EmlWriter, PlainMessageReadsBackWithEveryHeaderAndCrLfLines) {
    const sim::Transmission t = PlainMessage();
    const std::string bytes = FormatEml(t, 7);

    // Every line ends with CR LF, and no line is longer than RFC 5322 allows.
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t lf = bytes.find('\n', start);
        ASSERT_NE(lf, std::string::npos) << "the last line has no line end";
        ASSERT_GT(lf, 0u);
        EXPECT_EQ(bytes[lf - 1], '\r') << "line at byte " << start;
        EXPECT_LE(lf - start, 998u);
        start = lf + 1;
    }
    // Headers are 7-bit: the non-ASCII subject and names are RFC 2047 encoded.
    const std::string headers = bytes.substr(0, bytes.find("\r\n\r\n"));
    for (const char c : headers) {
        EXPECT_LT(static_cast<unsigned char>(c), 0x80);
    }
    EXPECT_NE(headers.find("Message-Id: <plexa.0007.20261207093015@host.invalid>"),
              std::string::npos);
    EXPECT_NE(headers.find("Date: Mon, 07 Dec 2026 09:30:15 +0000"), std::string::npos);

    Parsed parsed(bytes);
    ASSERT_NE(parsed.Message(), nullptr);
    EXPECT_EQ(text::FromUtf8(g_mime_message_get_subject(parsed.Message())), t.subject);
    EXPECT_EQ(parsed.Addresses(GMIME_ADDRESS_TYPE_FROM), "Plexa User <user@example.com>");
    EXPECT_EQ(parsed.Addresses(GMIME_ADDRESS_TYPE_TO), "Chloé Martin <chloe@bellerive.example>");
    EXPECT_EQ(parsed.Addresses(GMIME_ADDRESS_TYPE_CC), "Bob Lee <bob@lee.example>");
    EXPECT_EQ(parsed.Addresses(GMIME_ADDRESS_TYPE_BCC), "Hidden <hidden@example.org>");

    GMimeObject* body = g_mime_message_get_mime_part(parsed.Message());
    ASSERT_TRUE(GMIME_IS_TEXT_PART(body));
    EXPECT_EQ(MimeType(body), "text/plain");
    EXPECT_STREQ(g_mime_text_part_get_charset(GMIME_TEXT_PART(body)), "utf-8");
    // The decoded body is the message's, line ends and all (a lone "." line included); MIME
    // ends the body with a line end of its own.
    EXPECT_EQ(text::ReplaceAll(text::FromUtf8(Parsed::Text(body)), L"\r\n", L"\n"),
              text::ReplaceAll(t.body, L"\r\n", L"\n") + L"\n");

    // The same message gives the same bytes: runs are reproducible.
    EXPECT_EQ(FormatEml(t, 7), bytes);
}

TEST(EmlWriter, HtmlMessageIsAlternativeAndListIsAGroup) {
    sim::Transmission t = PlainMessage();
    t.subject = L"Lighthouse";
    t.body = L"The kick-off is on Monday.";
    t.htmlBody = L"<p>The kick-off is on <b>Monday</b>.</p>";
    sim::TransmittedRecipient list;
    list.name = L"Book club";
    list.type = 1;
    list.address = L"Book club";
    list.addressType = L"MAPIPDL";
    list.smtpAddresses = {L"ann@acme.example", L"carla@diaz.example"};
    t.recipients = {list};

    const std::string bytes = FormatEml(t, 1);
    Parsed parsed(bytes);
    ASSERT_NE(parsed.Message(), nullptr);
    EXPECT_EQ(parsed.Addresses(GMIME_ADDRESS_TYPE_TO),
              "Book club: ann@acme.example, carla@diaz.example;");
    GMimeObject* top = g_mime_message_get_mime_part(parsed.Message());
    ASSERT_TRUE(GMIME_IS_MULTIPART(top));
    EXPECT_EQ(MimeType(top), "multipart/alternative");
    ASSERT_EQ(g_mime_multipart_get_count(GMIME_MULTIPART(top)), 2);
    GMimeObject* plain = g_mime_multipart_get_part(GMIME_MULTIPART(top), 0);
    GMimeObject* html = g_mime_multipart_get_part(GMIME_MULTIPART(top), 1);
    EXPECT_EQ(MimeType(plain), "text/plain");
    EXPECT_EQ(MimeType(html), "text/html");
    EXPECT_EQ(Parsed::Text(plain), "The kick-off is on Monday.");
    EXPECT_EQ(Parsed::Text(html), "<p>The kick-off is on <b>Monday</b>.</p>");
    EXPECT_EQ(bytes, FormatEml(t, 1));
}

TEST(EmlWriter, FileNamesAndNumberingNeverOverwrite) {
    sim::Transmission t = PlainMessage();
    EXPECT_EQ(EmlFileName(t, 3), L"0003-chloe@bellerive.example.eml");
    t.recipients.front().smtpAddresses.clear();
    t.recipients.front().address = L"/o=Acme/cn=Recipients/cn=ann smith";
    EXPECT_EQ(EmlFileName(t, 12), L"0012-_o_Acme_cn_Recipients_cn_ann_smith.eml");
    t.recipients.clear();
    EXPECT_EQ(EmlFileName(t, 1), L"0001-nobody.eml");

    test::TempDir dir;
    const auto folder = dir.Path() / "out" / "nested";
    {
        EmlFolder out(folder);
        EXPECT_EQ(out.Write(PlainMessage()).filename(), "0001-chloe@bellerive.example.eml");
        EXPECT_EQ(out.Write(PlainMessage()).filename(), "0002-chloe@bellerive.example.eml");
        EXPECT_EQ(out.Written(), 2);
    }
    // A later run goes on after the files already there.
    std::ofstream(folder / "0041-someone.eml") << "kept";
    std::ofstream(folder / "notes.txt") << "not a message";
    EmlFolder again(folder);
    EXPECT_EQ(again.Write(PlainMessage()).filename(), "0042-chloe@bellerive.example.eml");
    std::ifstream kept(folder / "0041-someone.eml");
    std::string content;
    std::getline(kept, content);
    EXPECT_EQ(content, "kept");

    // A folder that cannot be made is an error, not a lost message.
    std::ofstream(dir.Path() / "file") << "x";
    EmlFolder blocked(dir.Path() / "file" / "sub");
    EXPECT_THROW(blocked.Write(PlainMessage()), std::runtime_error);
}

}  // namespace
}  // namespace plexa::host
