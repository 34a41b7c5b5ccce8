// Diagram text: the one-line form of a small board diagram kept with a board comment,
//   <<DiaData=SZ[19]/<SiroSaki>/AB[pd][dp]AW[dd] CR LF SQ[pd] CR LF LB[qq:A];B[qd];W[tt]>> CR LF
// (all ASCII): the board size, "/<SiroSaki>/" when White plays first, the setup stones, every mark by
// kind, and the moves up to the one shown (a pass as "tt"). Written from the secondary board's diagram
// and read back by the secondary board ("チャット碁盤", "クリップボード") and the net game log window.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "auxiliary/secondary_board.h"

namespace quorvel {

extern const char* const kDiagramTextHead;  // "<<DiaData=SZ["
extern const char* const kSiroSaki;         // "/<SiroSaki>/"
// The messages of the secondary board's loaders.
extern const char* const kNoChatBoardStones;    // "チャット 碁 盤 に 石 は あ り ま せ ん ！"
extern const char* const kNoClipboardDiagram;   // "クリップボードに棋譜データが見付かりません"

// The diagram text of the secondary board: its setup entries, all its marks, and the moves up to
// shownEntry.
std::string DiagramText(const SecondaryBoard& s);
// The marks part of a diagram text: for each kind with a mark, CR LF, its two letters and its
// points ("[pt]", labels "[pt:A]"), in increasing point order.
std::string DiagramMarksText(const SecondaryBoard& s);

// A diagram as read from a diagram text.
struct DiagramData {
    int boardSize = 0;  // the SZ value when it is 9, 13 or 19 lines; 0 keeps the board's size
    bool blackFirst = true;
    std::vector<std::pair<PointCode, int>> setup;  // point, kBlackSetup or kWhiteSetup
    std::vector<std::pair<PointCode, int>> marks;  // point, mark code 1..7 or 9..15
    std::vector<PointCode> moves;                  // 0 for a pass
};

// Reads a diagram text for a board of `currentSize` lines (the size of SZ when that is 9, 13 or 19).
// `withRoot`: the text begins with "(;" (the secondary board's loaders), whose ";" opens no move. A point
// whose letters do not both lie on the board is no point: a pass as a move, nothing as a stone or a mark.
// Setup stones on a point already taken and stones past the stone list's capacity are left out.
DiagramData ReadDiagramText(const std::string& text, int currentSize, bool withRoot);

// Puts a read diagram on a board: the size, the setup stones, the marks bound to the setup position, and
// every move played (captures included), so that the end of the sequence is shown.
void ShowDiagram(SecondaryBoard& s, const DiagramData& d);

// The secondary board's loaders. "チャット碁盤": the diagram text the log window shows (without "(;"); an
// empty diagram gives kNoChatBoardStones. "クリップボード": a clipboard text holding ";". False (and the board
// unchanged) when there is nothing to load; the message to show is then in `message`.
bool LoadChatBoard(SecondaryBoard& s, const std::string& shownDiagramText, std::string& message);
bool LoadClipboardDiagram(SecondaryBoard& s, const std::string& clipboardText, std::string& message);

}  // namespace quorvel
