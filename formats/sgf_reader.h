// The SGF reader: the whole text of a record becomes the game record of the board window, with its
// variations, setup stones, marks, comments, times and game information.
//
// The reader does not tokenise. It normalises the text (sgf_normalise.h), takes each root property from
// its first occurrence anywhere in the text, and reads the move tree by searching, in the part of the
// text not yet read, for the next expected move, comment, bracket or separator. It reads both standard
// nested variations and the program's own inline branch layout.
#pragma once

#include <cstddef>
#include <string>

#include "core/engine.h"
#include "formats/record_encoding.h"

namespace quorvel {

// Loads a whole record text: its encoding is decided and the text converted to the program's Shift-JIS
// (record_encoding.h), a new record is read from it, the game summary goes to the message area and the
// memos, and the first position is shown. A text without ";" only shows "No data to read" and leaves the
// record as it was; then the result is false. Given the record's own recordText, it reads it again as
// it stands, keeping the record's encoding.
bool LoadRecordText(Engine& e, const std::string& text);

// Loads a text already in the program's Shift-JIS (decoded.text), with the table of its characters
// Shift-JIS lacks and the encoding a save writes, as LoadRecordText does after deciding them.
bool LoadDecodedRecord(Engine& e, DecodedRecord decoded);

// The line the text window shows once after loading a record with more characters Shift-JIS lacks than
// the user-defined area holds.
std::string LostCharactersNotice(std::size_t lost);

// The line the text window shows once after loading a record with more moves in a line, or more
// variations, than the branch table holds.
std::string UnshownNotice(int moves, int variations);

// The reading step of a load, on e.recordText as it stands: root properties, the AS property, the move
// tree and the finishing steps. Expects a record emptied by NewRecord or ClearRecordForReload. True when
// the record has at least one entry.
bool ReadRecord(Engine& e);

// Board size, setup stones, marks of the start position, game information, times, NE, GO and the root
// comment, each from its first occurrence in e.recordText.
void ReadRootProperties(Engine& e);

// In headerText: no CR LF, a line break before the first setup and mark lists, and no bracket of the
// variation layout.
void TidyHeaderText(Engine& e);

// Replay mode: the record is emptied and read again from recordText, the position rebuilt and the
// summary shown.
void ResetRecord(Engine& e);

}  // namespace quorvel
