// The SGF writer: the whole record with all its branches, in the standard nested layout or the program's
// own inline layout, and the current line alone with its background as setup stones. Written texts go to
// the text window (the message area), from which the file commands save them; lines end with CR LF.
#pragma once

#include <string>

#include "core/engine.h"

namespace quorvel {

// A comment as it stands inside "C[...]", escaped. With `flattenLines`, line breaks become "___", which the
// reader turns back into CR LF; a comment that begins or ends with a line break gets one more there, for
// the one the reader takes away.
std::string CommentValue(const std::string& text, bool flattenLines);

// Completes the record's SGF head: a missing size is put in front, and each game-information property
// the head does not hold yet is appended. Properties already in the head keep their text.
void CompleteHeaderText(Engine& e);

// The whole record as SGF, nested (standard) or inline (settings.zarnStyle). Completes the head first.
std::string WholeRecordText(Engine& e);

// The line from the start to the shown position, its background written as setup stones; empty when
// nothing has been played or placed.
std::string CurrentLineText(const Engine& e);

// The start-position marks and labels as SQ, ST, CR, RT, TR, LO, MA and LB lists.
std::string StartMarksText(const Engine& e);

// Put the text into the text window, and with `toClipboard` also on the clipboard, followed by the HTML
// export of the save name.
void WriteWholeRecord(Engine& e, bool toClipboard);
void WriteCurrentLine(Engine& e, bool toClipboard);

// The command "ADD": the trial moves become a variation, then the whole record is written and copied. In
// creation mode the line being built is written and copied, as a save would write it.
void AddVariationCommand(Engine& e);

// True when `text` is the very record text the writer last put into the text window (not typed or edited
// since). Such a text may be older than the record: a save writes the record afresh instead.
bool HoldsWrittenRecord(const Engine& e, const std::string& text);

}  // namespace quorvel
