// The chat log of a record as the program keeps it: the log text shown in the net game log window, the
// store of diagram texts its board comments refer to by number, and the diagram counter. Board comments
// from the secondary board are added here; the log window and the chat file beside the record read and
// write the same model.
//
//   LogText:       "{棋譜ログ}" CR LF + 15 blanks, then entries separated by a line of 15 blanks; a comment
//                  entry is "[ move ]：text", with "{ 碁盤 N }" on its next line when it has a diagram.
//   DiagramStore:  one entry a diagram, "{N}" + diagram text (diagram_text.h), each ending with ">>" CR LF;
//                  its marks stand on lines of their own, so an entry may span several lines.
#pragma once

#include <string>

namespace quorvel {

extern const char* const kLogHead;             // "{棋譜ログ}"
extern const char* const kEntrySeparator;      // 15 blanks
extern const char* const kNoCommentMessage;    // "コメントが入力されていません"
extern const char* const kBoardDataMarker;     // "---碁盤データ---"
extern const char* const kNewCommentHead;      // "[ Zarn5 ]："

struct ChatLog {
    std::string logText;
    std::string diagramStore;
    int diagramCounter = 0;  // the highest diagram number in use; numbers are never reused
    bool present = false;    // the record has a chat log (the board window's indicator, saved with it)
};

// A comment's text as stored: every ">>" becomes "＞＞", and a line that would later read as a diagram
// reference ("{ 碁盤"), an entry head ("[ " at a line start), a store line ("{" at a line start) or a
// separator (a line of blanks only) is neutralised by a full-width blank in front, so that a comment can
// neither end a diagram text early nor forge the log's structure.
std::string NeutraliseComment(const std::string& comment);

// "作 成" of a new board comment: the entry "[ move ]：comment" CR LF "{ 碁盤 N }" CR LF + separator is
// appended to the log (with the log's head in front when it has none) and "{N}" + diagram text to the
// store, N being the counter plus 1. Returns N, or 0 (nothing changed) for an empty comment.
int AddBoardComment(ChatLog& log, int moveNumber, const std::string& comment, const std::string& diagramText);

// A comment of the log edited again on the secondary board. `entryStart`/`entryLength` locate the old
// entry in logText (length 0: a new comment inserted right after the separator line at entryStart);
// `oldDiagram` is the old entry's diagram number (0 for none); `diagramText` is empty when the board holds
// no stone and no move. Returns false (nothing changed) for an empty comment.
bool EditLogComment(ChatLog& log, std::size_t entryStart, std::size_t entryLength, int oldDiagram,
                    const std::string& comment, const std::string& diagramText);

// The store line of diagram `number` ("{N}" through its closing ">>" and the CR LF after it: a diagram
// with marks spans several lines) cut out; false when absent.
bool RemoveStoredDiagram(ChatLog& log, int number);
// The diagram text of diagram `number` in the store (what stands between "<<DiaData=" and ">>"), or empty.
std::string StoredDiagram(const ChatLog& log, int number);

// The chat file's text and its reading (the chat file beside a record, "...Chat.dat"). Line ends of
// other programs and systems (LF alone, CR alone) are read as CR LF.
std::string ChatFileText(const ChatLog& log);
ChatLog ChatLogFromFileText(const std::string& fileText);
std::string ChatLineEndsAsCrLf(const std::string& fileText);
// True when the log read from `fileText` keeps every line of it that holds something (the head line
// aside): a file the reading dropped text of must not be written over from the log.
bool ChatFileReadWhole(const std::string& fileText);

}  // namespace quorvel
