#include "EmlWriter.h"

#include <gmime/gmime.h>

#include <cstdio>
#include <fstream>
#include <mutex>
#include <stdexcept>

#include "core/Text.h"

namespace plexa::host {

namespace {

void InitGMime() {
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

// Owns one GObject reference.
template <typename T>
class Ref {
public:
    explicit Ref(T* object) : m_object(object) {}
    ~Ref() {
        if (m_object != nullptr) {
            g_object_unref(m_object);
        }
    }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    T* get() const { return m_object; }

private:
    T* m_object;
};

std::string Utf8(const std::wstring& s) {
    return text::ToUtf8(s);
}

// Bodies as the host keeps them may end lines with CRLF or LF; GMime writes CRLF itself.
std::string BodyText(const std::wstring& body) {
    return Utf8(text::ReplaceAll(body, L"\r\n", L"\n"));
}

// A text part holding the body as UTF-8 (never re-encoded into another character set), with the
// transfer encoding that keeps it 7-bit clean when it is not ASCII.
GMimeTextPart* NewTextPart(const char* subtype, const std::wstring& content) {
    GMimeTextPart* part = g_mime_text_part_new_with_subtype(subtype);
    const std::string bytes = BodyText(content);
    GMimeStream* stream = g_mime_stream_mem_new_with_buffer(bytes.data(), bytes.size());
    GMimeDataWrapper* wrapper =
        g_mime_data_wrapper_new_with_stream(stream, GMIME_CONTENT_ENCODING_DEFAULT);
    g_mime_part_set_content(GMIME_PART(part), wrapper);
    g_object_unref(wrapper);
    g_object_unref(stream);
    g_mime_text_part_set_charset(part, "utf-8");
    const GMimeContentEncoding encoding =
        g_mime_part_get_best_content_encoding(GMIME_PART(part), GMIME_ENCODING_CONSTRAINT_7BIT);
    g_mime_part_set_content_encoding(GMIME_PART(part), encoding);
    return part;
}

GMimeAddressType AddressTypeOf(int32_t type) {
    switch (type) {
        case 2:
            return GMIME_ADDRESS_TYPE_CC;
        case 3:
            return GMIME_ADDRESS_TYPE_BCC;
        default:
            return GMIME_ADDRESS_TYPE_TO;
    }
}

void AddRecipient(GMimeMessage* message, const sim::TransmittedRecipient& r) {
    InternetAddressList* list = g_mime_message_get_addresses(message, AddressTypeOf(r.type));
    const std::string name = Utf8(r.name);
    if (r.addressType == L"MAPIPDL" || r.smtpAddresses.size() > 1) {
        InternetAddress* group = internet_address_group_new(name.c_str());
        for (const std::wstring& smtp : r.smtpAddresses) {
            InternetAddress* member = internet_address_mailbox_new(nullptr, Utf8(smtp).c_str());
            internet_address_group_add_member(INTERNET_ADDRESS_GROUP(group), member);
            g_object_unref(member);
        }
        internet_address_list_add(list, group);
        g_object_unref(group);
        return;
    }
    const std::wstring address = r.smtpAddresses.empty() ? r.address : r.smtpAddresses.front();
    InternetAddress* mailbox = internet_address_mailbox_new(
        name == Utf8(address) ? nullptr : name.c_str(), Utf8(address).c_str());
    internet_address_list_add(list, mailbox);
    g_object_unref(mailbox);
}

// A boundary that depends only on the message, so that the same run writes the same bytes; the
// bodies' hash keeps it from matching a line of either body.
std::string Boundary(const sim::Transmission& message, int sequence) {
    uint64_t hash = 1469598103934665603ull;
    for (const std::wstring* part : {&message.body, &message.htmlBody}) {
        for (const wchar_t c : *part) {
            hash = (hash ^ static_cast<uint64_t>(c)) * 1099511628211ull;
        }
    }
    char boundary[64];
    std::snprintf(boundary, sizeof boundary, "=_plexa_%04d_%016llx", sequence,
                  static_cast<unsigned long long>(hash));
    return boundary;
}

std::string MessageId(const sim::Transmission& message, int sequence) {
    char id[96];
    std::snprintf(id, sizeof id, "plexa.%04d.%04d%02d%02d%02d%02d%02d@host.invalid", sequence,
                  message.timeUtc.Year(), message.timeUtc.Month(), message.timeUtc.Day(),
                  message.timeUtc.Hour(), message.timeUtc.Minute(), message.timeUtc.Second());
    return id;
}

}  // namespace

std::string FormatEml(const sim::Transmission& message, int sequence) {
    InitGMime();
    Ref<GMimeMessage> mime(g_mime_message_new(TRUE));
    GMimeMessage* m = mime.get();

    g_mime_message_add_mailbox(m, GMIME_ADDRESS_TYPE_FROM, Utf8(message.senderName).c_str(),
                               Utf8(message.senderAddress).c_str());
    for (const sim::TransmittedRecipient& r : message.recipients) {
        AddRecipient(m, r);
    }
    g_mime_message_set_subject(m, Utf8(message.subject).c_str(), "utf-8");
    GDateTime* date = g_date_time_new_utc(message.timeUtc.Year(), message.timeUtc.Month(),
                                          message.timeUtc.Day(), message.timeUtc.Hour(),
                                          message.timeUtc.Minute(), message.timeUtc.Second());
    g_mime_message_set_date(m, date);
    g_date_time_unref(date);
    g_mime_message_set_message_id(m, MessageId(message, sequence).c_str());

    Ref<GMimeTextPart> plain(NewTextPart("plain", message.body));
    if (message.htmlBody.empty()) {
        g_mime_message_set_mime_part(m, GMIME_OBJECT(plain.get()));
    } else {
        Ref<GMimeMultipart> alternative(g_mime_multipart_new_with_subtype("alternative"));
        g_mime_multipart_set_boundary(alternative.get(), Boundary(message, sequence).c_str());
        Ref<GMimeTextPart> html(NewTextPart("html", message.htmlBody));
        g_mime_multipart_add(alternative.get(), GMIME_OBJECT(plain.get()));
        g_mime_multipart_add(alternative.get(), GMIME_OBJECT(html.get()));
        g_mime_message_set_mime_part(m, GMIME_OBJECT(alternative.get()));
    }

    Ref<GMimeStream> stream(g_mime_stream_mem_new());
    GMimeFormatOptions* options = g_mime_format_options_new();
    g_mime_format_options_set_newline_format(options, GMIME_NEWLINE_FORMAT_DOS);
    g_mime_object_write_to_stream(GMIME_OBJECT(m), options, stream.get());
    g_mime_format_options_free(options);
    GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(stream.get()));
    return {reinterpret_cast<const char*>(bytes->data), bytes->len};
}

std::wstring EmlFileName(const sim::Transmission& message, int sequence) {
    std::wstring recipient = L"nobody";
    if (!message.recipients.empty()) {
        const sim::TransmittedRecipient& first = message.recipients.front();
        recipient = !first.smtpAddresses.empty() ? first.smtpAddresses.front()
                    : !first.address.empty()     ? first.address
                                                 : first.name;
    }
    std::wstring safe;
    for (const wchar_t c : recipient) {
        const bool plain = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') ||
                           (c >= L'0' && c <= L'9') || c == L'@' || c == L'.' || c == L'-' ||
                           c == L'_' || c == L'+';
        safe += plain ? c : L'_';
    }
    if (safe.size() > 80) {
        safe.resize(80);
    }
    wchar_t number[16];
    std::swprintf(number, 16, L"%04d", sequence);
    return std::wstring(number) + L"-" + safe + L".eml";
}

EmlFolder::EmlFolder(std::filesystem::path folder) : m_folder(std::move(folder)) {}

std::filesystem::path EmlFolder::Write(const sim::Transmission& message) {
    std::error_code ec;
    std::filesystem::create_directories(m_folder, ec);
    if (ec) {
        throw std::runtime_error("cannot create the out folder " + m_folder.string() + ": " +
                                 ec.message());
    }
    if (!m_scanned) {
        for (const auto& entry : std::filesystem::directory_iterator(m_folder, ec)) {
            const std::string name = entry.path().filename().string();
            if (name.size() > 9 && name[4] == '-' && name.ends_with(".eml") &&
                name.find_first_not_of("0123456789") == 4) {
                m_next = std::max(m_next, std::stoi(name.substr(0, 4)) + 1);
            }
        }
        m_scanned = true;
    }
    const int sequence = m_next++;
    std::filesystem::path path = m_folder / text::ToUtf8(EmlFileName(message, sequence));
    const std::string bytes = FormatEml(message, sequence);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
    ++m_written;
    return path;
}

}  // namespace plexa::host
