// The record preview beside the open dialog: a quick scan of an SGF file of its own (it never uses the SGF
// reader and never touches the record shown) that gives the final position of the main line and the main
// facts of the game.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/position.h"
#include "formats/sgf_scan.h"
#include "platform/text_codec.h"

namespace quorvel {

// Setup stones and moves together; what lies beyond is not shown.
constexpr int kPreviewEntries = 499;
// Only regular files up to this size are previewed: a selection must never wait for a huge file or a pipe.
constexpr std::size_t kPreviewFileLimit = 8 * 1024 * 1024;

struct RecordPreview {
    int boardSize = 19;
    PointGrid board = EmptyBoardGrid(19);
    // Entries 0 .. setupCount - 1 are setup stones (1000 + point black, 5000 + point white); the rest are
    // move points, 0 for a pass or a point that cannot be read.
    std::vector<int> points;
    int setupCount = 0;
    int moveCount = 0;  // trailing passes not counted
    bool blackFirst = true;
    // The lines of Memo1, Shift-JIS: "● name", "○ name", "日付 ： ", "結果 ： ", "手数 ： ".
    std::vector<std::string> lines;
    // The codes given to the characters of the file that Shift-JIS lacks (its own table, not the shown
    // record's).
    ForeignCharacters foreign;
};

// The preview of a record text. A text of fewer than 5 bytes, or without a game ("(;", or "(" and a
// property where the root's ";" is missing), gives an empty board and no lines.
RecordPreview ScanRecordPreview(const std::string& text);

// The same scan with the bytes read as `charset` says (the program's own text is Shift-JIS whatever its CA
// names); without one, as ScanRecordPreview reads them.
RecordPreview ScanPreviewAs(const std::string& text, std::optional<sgf::Charset> charset);

// The preview of a file's bytes in whatever encoding the record came in, decided as a load decides it.
RecordPreview PreviewOfFileBytes(const std::string& bytes);

// Memo1's text in UTF-8: the lines joined by line breaks, the file's own characters as they were written.
std::string PreviewMemoUtf8(const RecordPreview& preview);

// The result line's text for an RE value ("黒中押勝", "白 3 目半勝", "持碁", ...).
std::string PreviewResultText(const std::string& value);

// Whether the open dialog's selection is previewed by its name: ".sgf" or ".SGF" after the first character.
bool IsPreviewedName(const std::string& fileName);

// Reads a file for the preview: false (and nothing read) unless it is a regular file of at most
// kPreviewFileLimit bytes that can be read.
bool ReadPreviewFile(const std::string& path, std::string& text);

}  // namespace quorvel
