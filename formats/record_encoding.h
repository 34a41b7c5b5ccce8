// The encodings records come in. A load decides the encoding of the bytes and converts them to the
// program's Shift-JIS, so that the reader and everything after it see one kind of text; characters
// Shift-JIS lacks get codes of its user-defined area in a table kept with the record. A save writes the
// record back in the encoding it came in, with its CA naming it.
#pragma once

#include <string>
#include <string_view>

#include "platform/text_codec.h"

namespace quorvel {

struct DecodedRecord {
    bool converted = false;    // false: the bytes are the program's own text, read as they stand
    std::string text;          // the converted text (when converted)
    std::string encoding;      // what a save writes: empty for Shift-JIS, else an iconv name ("UTF-8", "GB2312")
    std::string reason;        // how the encoding was decided, for the command-line tool
    ForeignCharacters foreign;
    std::size_t lost = 0;      // characters shown as "?" because the user-defined area was full
};

// Decides the encoding of a record's bytes and converts them: a byte-order mark first (UTF-8, UTF-16 LE
// and BE; UTF-16 is written back as UTF-8), or UTF-16 without one (zero bytes beside the ASCII ones);
// then the root's CA when iconv knows its encoding (CodecOfCharset; HZ is read here and written back as
// GB2312), unless the bytes are not valid in it but are valid UTF-8 (a CA left behind when a program
// re-encoded the record). Bytes under a CA naming UTF-8 that are no UTF-8 are Shift-JIS when they are
// valid Shift-JIS and mostly not UTF-8, else read character by character (MixedUtf8ToCp932). Without a
// CA, valid UTF-8 holding characters beyond ASCII is UTF-8; bytes beyond ASCII that all pair up as EUC
// characters (no Shift-JIS kana or common kanji can) are EUC-JP, CP949 or GB18030 by the rows their
// characters use (half-width katakana of Shift-JIS stays Shift-JIS); bytes beyond ASCII that are each an
// accented Latin letter alone between ASCII bytes are Latin-1 (SGF's own default); anything else is
// Shift-JIS, whose own codes of the user-defined area are kept from the table's use.
DecodedRecord DecodeRecordBytes(std::string_view bytes);

// A text that is Unicode already (the clipboard's) as the program's text: every character it holds, those
// Shift-JIS lacks in a table of its own. A save writes the encoding its CA names (UTF-8 for UTF-16),
// Shift-JIS without one.
DecodedRecord DecodeUnicodeText(std::u32string_view text);

// The iconv encoding that reads and writes the text of a CA label: the superset real files of that label
// use (GBK for GB2312, Big5-HKSCS for Big5, CP949 for EUC-KR, Windows-1252 for Latin-1), the name iconv
// knows for a common alias (EUC_JP, ks_c_5601-1987); any other label as it stands.
std::string CodecOfCharset(std::string_view label);

// The first character of `text` that only `foreign` holds (a user-defined code of the table), 0 when
// there is none.
char32_t FirstForeignCharacter(std::string_view text, const ForeignCharacters* foreign);

// The CP932 forms the program made of comments' SGF characters ("（" for "(" ...), as those characters again,
// escaped where SGF asks: for a record whose own full-width forms stand under codes of the area
// (ForeignCharacters::formsSeparated).
std::string ProtectionFormsUndone(std::string_view text);

// True when `encoding` (a CA value or a name given by the user) is the program's own Shift-JIS.
bool IsShiftJisName(std::string_view encoding);

// The record text `text` (the program's Shift-JIS, user-defined codes read through `foreign`) in
// `encoding`; for another encoding than Shift-JIS the root's CA is set to name it (added when missing).
// Shift-JIS writes the bytes as they stand, replacing only a CA that names another encoding; a text of
// ASCII alone is written as it stands in any encoding. False, with
// the first character the encoding lacks, when it cannot hold the whole text.
bool EncodeRecordText(std::string_view text, const std::string& encoding, const ForeignCharacters* foreign,
                      std::string& out, char32_t* missing);

// The bytes a save writes: in the record's own encoding; a record whose encoding cannot hold what was
// typed into it (a Shift-JIS record with Hangul in a comment) is written as UTF-8. `usedEncoding` tells
// which encoding was written (empty for Shift-JIS).
std::string RecordBytesToSave(std::string_view text, const std::string& encoding, const ForeignCharacters* foreign,
                              std::string* usedEncoding = nullptr);

// The text `text` with the root's CA naming `encoding` (replaced, or added after the root's ";").
std::string WithRootCharset(std::string_view text, std::string_view encoding);

}  // namespace quorvel
