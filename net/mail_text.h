// The texts of a mail message: Shift-JIS converted to ISO-2022-JP (the published encoding of Japanese
// mail), subjects as RFC 2047 encoded words, Base64, the check of an address, and the whole MIME message.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_codec.h"

namespace quorvel::net {

// Shift-JIS -> ISO-2022-JP: a run of two-byte characters is opened by ESC "$B" and closed by ESC "(B";
// each becomes its JIS X 0208 pair; a half-width katakana becomes its full-width one; other single bytes
// are copied; a CR directly before an LF is dropped. A run still open at the end is closed.
std::string SjisToIso2022Jp(std::string_view sjis);

std::string Base64(std::string_view bytes);

// True when every character of a Shift-JIS text has a code ISO-2022-JP carries: JIS X 0208, with NEC's
// row 13 (circled numbers and the like) as Japanese mailers read it. IBM's extensions and the user-defined
// area (the characters of a record that Shift-JIS lacks) have none.
bool FitsIso2022Jp(std::string_view sjis);

// A Subject header value for a Shift-JIS subject: printable ASCII as it is, anything else as encoded
// words (ISO-2022-JP, or UTF-8 when a character does not fit it; user-defined codes read through
// `foreign`), each within the 75-character limit, folded onto continuation lines. The result never
// holds a bare CR or LF, so a subject cannot add header lines.
std::string EncodeSubject(std::string_view sjis, const ForeignCharacters* foreign = nullptr);

// True for an address that can stand in an envelope and a header: printable ASCII without blanks, angle
// brackets, CR or LF.
bool IsSafeAddress(std::string_view address);

struct MailAttachment {
    std::string name;   // ASCII file name
    std::string bytes;  // sent as they are, Base64-encoded
};

struct MailMessage {
    std::string to;
    std::string from;
    std::string subject;  // Shift-JIS
    std::string body;     // Shift-JIS; sent as ISO-2022-JP with CR LF line ends, or as UTF-8 when it
                          // holds a character ISO-2022-JP lacks
    std::vector<MailAttachment> attachments;
    // The record's table for the user-defined codes of the texts: a copy, as the message is composed off the
    // window thread.
    std::shared_ptr<const ForeignCharacters> foreign;
};

// The whole message as sent after DATA: header, then the text (and the attachments as a multipart/mixed
// message). `date` is the Date header's value.
std::string ComposeMessage(const MailMessage& message, const std::string& date);

// The current time in the form of a Date header.
std::string MailDateNow();

}  // namespace quorvel::net
