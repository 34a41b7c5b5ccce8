// Readers of the record texts other than SGF: text boards (the diagrams text_board.h writes, or typed in
// the same glyphs), which become a record of setup stones and numbered moves; the board data of older chat
// files, whose numeric point codes become SGF letters; and the choice between SGF and a text board for a
// text taken from the clipboard.
#pragma once

#include <string>

#include "core/engine.h"
#include "formats/record_encoding.h"

namespace quorvel {

extern const char* const kNothingInClipboard;  // "Nothing in Clipbord"
extern const char* const kNoDatasToRead;       // "No datas to read"

// The value of the two-byte cell at `cell` (at least two bytes must be readable there): a move number 1..99,
// a stone colour * 1000 + mark kind (1000.. black, 5000.. white), or 0 for anything else.
int DecodeBoardCell(const char* cell);

// True when a line holds any glyph that only a board row has (grid crossings, digits, stones).
bool IsBoardRow(const std::string& line);

// Reads e.recordText as a text board: a new record of setup stones (with their marks) and the numbered
// moves in number order (a number missing from the diagram is a pass). A corner diagram is placed in its
// corner of a 19-line board. `blackFirstSetting` is the main window's choice (KSB) of the first colour;
// "kurosaki" or "sirosaki" in the text decide it instead. The text window shows the counts and the notes
// found beside the rows.
// `source`, when given, is the decoded text the board came from: the record keeps its table and encoding.
void ReadTextBoard(Engine& e, bool blackFirstSetting, DecodedRecord* source = nullptr);

// What a clipboard text was read as.
enum class PastedKind { Sgf, TextBoard, Unreadable };

// A diagram text ("<<DiaData=SZ[..]..>>", auxiliary/diagram_text.h) as the SGF record it stands for; any
// other text, and one that already holds "(;", comes back as it is.
std::string DiagramTextAsSgf(const std::string& text);

// Loads a text from the clipboard: SGF (or a diagram text) when it holds ";", else a text board when it holds "１" or "●";
// otherwise "No datas to read" goes to the text window and the record stays.
// `pasted` holds the program's text (pasted.text), its table and encoding (record_encoding.h).
PastedKind LoadPastedText(Engine& e, DecodedRecord pasted, bool blackFirstSetting);
// The same for the bytes of a file, whose encoding is decided as a record's.
PastedKind LoadPastedText(Engine& e, const std::string& bytes, bool blackFirstSetting);

// The board data of an older chat file (no "SZ[" in the text, the marker "---碁盤データ---" present): after
// the marker, each bracketed code of two or three digits whose column and row lie on a 19-line board
// becomes the two SGF letters of that point. Any other text comes back unchanged.
std::string ConvertChatBoardData(const std::string& text);

}  // namespace quorvel
