#include "net/mail_text.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace quorvel::net {

namespace {

const char kEscToJis[] = "\x1b$B";
const char kEscToAscii[] = "\x1b(B";

// JIS X 0208 codes of the half-width katakana 0xA1..0xDF, in order (punctuation, then the kana).
const unsigned short kHalfWidthKana[63] = {
    0x2123, 0x2156, 0x2157, 0x2122, 0x2126, 0x2572, 0x2521, 0x2523, 0x2525, 0x2527, 0x2529, 0x2563, 0x2565,
    0x2567, 0x2543, 0x213C, 0x2522, 0x2524, 0x2526, 0x2528, 0x252A, 0x252B, 0x252D, 0x252F, 0x2531, 0x2533,
    0x2535, 0x2537, 0x2539, 0x253B, 0x253D, 0x253F, 0x2541, 0x2544, 0x2546, 0x2548, 0x254A, 0x254B, 0x254C,
    0x254D, 0x254E, 0x254F, 0x2552, 0x2555, 0x2558, 0x255B, 0x255E, 0x255F, 0x2560, 0x2561, 0x2562, 0x2564,
    0x2566, 0x2568, 0x2569, 0x256A, 0x256B, 0x256C, 0x256D, 0x256F, 0x2573, 0x212B, 0x212C,
};

bool IsLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// The standard Shift-JIS -> JIS rule for a lead byte a and trail byte b.
void AppendJisPair(std::string& out, unsigned char a, unsigned char b) {
    int row = (a <= 0x9F ? a - 0x70 : a - 0xB0) * 2;
    int cell = b;
    if (cell >= 0x9F) {
        cell -= 0x7E;
    } else {
        --row;
        cell -= (cell >= 0x80 ? 0x20 : 0x1F);
    }
    out += static_cast<char>(row & 0x7F);
    out += static_cast<char>(cell & 0x7F);
}

// The characters of a Shift-JIS text, each one or two bytes, never splitting a pair.
std::vector<std::string_view> Characters(std::string_view s) {
    std::vector<std::string_view> out;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = IsLead(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
        out.push_back(s.substr(i, n));
        i += n;
    }
    return out;
}

bool IsPlainAscii(std::string_view s) {
    for (char c : s) {
        if (c < 0x20 || c > 0x7E) return false;
    }
    return s.find("=?") == std::string_view::npos;
}

// Text lines for the wire: CR LF after every line, and a lone CR or LF made CR LF.
std::string WithCrLf(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    if (out.size() < 2 || out.compare(out.size() - 2, 2, "\r\n") != 0) out += "\r\n";
    return out;
}

std::string Base64Lines(std::string_view bytes) {
    const std::string all = Base64(bytes);
    std::string out;
    for (std::size_t i = 0; i < all.size(); i += 76) out += all.substr(i, 76) + "\r\n";
    return out;
}

// The bytes of the longest line of a CR LF text, its line end left out.
std::size_t LongestLine(std::string_view text) {
    std::size_t longest = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        longest = std::max(longest, end - start);
        start = end + 2;
    }
    return longest;
}

}  // namespace

std::string SjisToIso2022Jp(std::string_view sjis) {
    std::string out;
    bool inJis = false;
    const auto toJis = [&](bool jis) {
        if (jis != inJis) out += jis ? kEscToJis : kEscToAscii;
        inJis = jis;
    };
    for (std::size_t i = 0; i < sjis.size(); ++i) {
        const auto a = static_cast<unsigned char>(sjis[i]);
        if (IsLead(a) && i + 1 < sjis.size()) {
            toJis(true);
            AppendJisPair(out, a, static_cast<unsigned char>(sjis[++i]));
        } else if (a >= 0xA1 && a <= 0xDF) {
            toJis(true);
            const unsigned short jis = kHalfWidthKana[a - 0xA1];
            out += static_cast<char>(jis >> 8);
            out += static_cast<char>(jis & 0xFF);
        } else if (a == '\r' && i + 1 < sjis.size() && sjis[i + 1] == '\n') {
            continue;
        } else {
            toJis(false);
            // A stray byte that no 7-bit text can carry becomes "?", so the charset label stays true.
            out += a < 0x80 ? static_cast<char>(a) : '?';
        }
    }
    toJis(false);
    return out;
}

std::string Base64(std::string_view bytes) {
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 2]);
        out += kDigits[(v >> 18) & 63];
        out += kDigits[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? kDigits[(v >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? kDigits[v & 63] : '=';
    }
    return out;
}

bool FitsIso2022Jp(std::string_view sjis) {
    for (std::string_view c : Characters(sjis)) {
        if (c.size() < 2) continue;
        const auto lead = static_cast<unsigned char>(c[0]);
        if (lead == 0xED || lead == 0xEE || lead >= 0xF0) return false;
    }
    return true;
}

std::string EncodeSubject(std::string_view sjis, const ForeignCharacters* foreign) {
    if (IsPlainAscii(sjis)) return std::string(sjis);
    // Each encoded word is a whole text of its own (an ISO-2022-JP one ends in ASCII), so characters are
    // added to a word while its encoded form still fits.
    const bool jis = FitsIso2022Jp(sjis);
    const auto encoded = [&](std::string_view text) {
        return Base64(jis ? SjisToIso2022Jp(text) : UnicodeToUtf8(Cp932ToUnicode(text, foreign)));
    };
    const std::string prefix = jis ? "=?ISO-2022-JP?B?" : "=?UTF-8?B?";
    const std::size_t room = 75 - prefix.size() - 2;
    std::vector<std::string> words;
    std::string chunk;
    for (std::string_view c : Characters(sjis)) {
        const std::string longer = chunk + std::string(c);
        if (!chunk.empty() && encoded(longer).size() > room) {
            words.push_back(chunk);
            chunk = std::string(c);
        } else {
            chunk = longer;
        }
    }
    if (!chunk.empty()) words.push_back(chunk);
    std::string out;
    for (const std::string& w : words) {
        if (!out.empty()) out += "\r\n ";
        out += prefix + encoded(w) + "?=";
    }
    return out;
}

bool IsSafeAddress(std::string_view address) {
    if (address.empty()) return false;
    for (char c : address) {
        if (c <= 0x20 || c >= 0x7F || c == '<' || c == '>') return false;
    }
    return true;
}

std::string ComposeMessage(const MailMessage& message, const std::string& date) {
    std::string head;
    head += "From: " + message.from + "\r\n";
    head += "To: " + message.to + "\r\n";
    head += "Subject: " + EncodeSubject(message.subject, message.foreign.get()) + "\r\n";
    head += "Date: " + date + "\r\n";
    head += "MIME-Version: 1.0\r\n";
    head += "X-Mailer: Quorvel\r\n";
    // ISO-2022-JP, Japanese mail's own encoding, whenever it holds every character; otherwise UTF-8, so that
    // the Hangul or simplified Chinese of a record arrive as they were written.
    const bool jis = FitsIso2022Jp(message.body);
    std::string text = jis ? WithCrLf(SjisToIso2022Jp(message.body))
                           : Base64Lines(UnicodeToUtf8(Cp932ToUnicode(WithCrLf(message.body), message.foreign.get())));
    // A line of more than 998 bytes (a long comment of a record in the text) is more than mail carries
    // as it stands: servers refuse it or break it. Such a text goes in Base64.
    const bool longLine = jis && LongestLine(text) > 998;
    if (longLine) text = Base64Lines(text);
    const std::string textType =
        !jis       ? "Content-Type: text/plain; charset=\"UTF-8\"\r\nContent-Transfer-Encoding: base64\r\n"
        : longLine ? "Content-Type: text/plain; charset=\"ISO-2022-JP\"\r\nContent-Transfer-Encoding: base64\r\n"
                   : "Content-Type: text/plain; charset=\"ISO-2022-JP\"\r\nContent-Transfer-Encoding: 7bit\r\n";
    if (message.attachments.empty()) return head + textType + "\r\n" + text;

    const std::string boundary = "=_Quorvel_" + Base64(date).substr(0, 16);
    std::string out = head + "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
    out += "--" + boundary + "\r\n" + textType + "\r\n" + text;
    for (const MailAttachment& a : message.attachments) {
        out += "--" + boundary + "\r\n";
        out += "Content-Type: application/octet-stream; name=\"" + a.name + "\"\r\n";
        out += "Content-Transfer-Encoding: base64\r\n";
        out += "Content-Disposition: attachment; filename=\"" + a.name + "\"\r\n\r\n";
        out += Base64Lines(a.bytes);
    }
    out += "--" + boundary + "--\r\n";
    return out;
}

std::string MailDateNow() {
    // Written by hand: the names of days and months are English whatever the user's locale.
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const long offset = local.tm_gmtoff / 60;
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld", kDays[local.tm_wday],
                  local.tm_mday, kMonths[local.tm_mon], local.tm_year + 1900, local.tm_hour, local.tm_min,
                  local.tm_sec, offset < 0 ? '-' : '+', std::labs(offset) / 60, std::labs(offset) % 60);
    return text;
}

}  // namespace quorvel::net
