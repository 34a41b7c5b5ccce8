// Conversions between the program's own text (Shift-JIS, code page 932) and Unicode.
//
// Every text the engine keeps is a std::string of CP932 bytes. These helpers are the only place where
// those bytes meet Unicode: the windows convert through them to QString, the command-line tool to the
// terminal's UTF-8. Invalid bytes never throw: they are shown as U+FFFD, one replacement per bad byte.
#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// CP932 bytes -> UTF-16. Undecodable bytes become U+FFFD.
std::u16string Cp932ToUtf16(std::string_view cp932);

// UTF-16 -> CP932 bytes. Characters CP932 cannot hold become "?".
std::string Utf16ToCp932(std::u16string_view utf16);

// CP932 bytes -> UTF-8. Undecodable bytes become U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);

// UTF-8 -> CP932 bytes. Characters CP932 cannot hold, and invalid UTF-8, become "?".
std::string Utf8ToCp932(std::string_view utf8);

// True when the byte starts a two-byte CP932 character (the next byte belongs to it).
inline bool IsCp932LeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Replaces every occurrence of `from` (not empty) by `to`, byte by byte, left to right; a replacement is not
// searched again.
inline void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

}  // namespace quorvel
