// Writes a message that left through the simulated transport as an RFC 5322 file (.eml), with
// GMime doing the MIME work: headers encoded as RFC 2047 asks, CRLF line ends, a plain-text
// body as text/plain, an HTML message as multipart/alternative with both bodies. A distribution
// list among the recipients is written as an address group of its members.
#pragma once

#include <filesystem>
#include <string>

#include "sim/store/Transmission.h"

namespace plexa::host {

// The message's bytes. sequence (1 up) goes into the Message-ID, which is otherwise derived
// from the message alone, so the same run writes the same files.
std::string FormatEml(const sim::Transmission& message, int sequence);

// "NNNN-<recipient>.eml": the sequence in four digits and the first recipient's address, with
// every character a file name cannot hold replaced by '_'.
std::wstring EmlFileName(const sim::Transmission& message, int sequence);

// The out folder: numbering continues after the highest NNNN- file already there, so nothing
// written by an earlier run is overwritten.
class EmlFolder {
public:
    explicit EmlFolder(std::filesystem::path folder);

    // Writes the next file and returns its path. Throws std::runtime_error when the folder or
    // the file cannot be written.
    std::filesystem::path Write(const sim::Transmission& message);
    const std::filesystem::path& Folder() const { return m_folder; }
    int Written() const { return m_written; }

private:
    std::filesystem::path m_folder;
    int m_next = 1;
    int m_written = 0;
    bool m_scanned = false;
};

}  // namespace plexa::host
