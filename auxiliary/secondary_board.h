// The secondary board: a small board of its own beside the board window. It serves the board window and
// the main window as a point picker (a variation, a stone's new place, a pass's replacement, a text-board
// range), counts territory on a copy of the position, and builds small diagrams for board comments.
// The board window's record is never changed here; the callers apply what the board hands back.
#pragma once

#include <array>
#include <vector>

#include "auxiliary/territory_count.h"
#include "auxiliary/text_board_range.h"
#include "core/board_geometry.h"
#include "core/engine.h"
#include "core/position.h"

namespace quorvel {

// Why the window is open; the caller chooses before showing it.
enum class SecondaryRole {
    VariationChoice,   // the board window's variation chooser
    SequenceDeletion,  // "DEL"
    StoneRelocation,   // moving a played stone
    PassReplacement,   // a pass becomes a move
    TextBoardRange,    // the corner range of a text board
    Counting,          // territory counting
    BoardComment,      // a new board comment (creation)
    ChatFileEditing,   // a comment of the chat file edited again (creation)
};

// The creation roles build a diagram; every other role picks something on a copy of the position.
inline bool IsCreationRole(SecondaryRole r) {
    return r == SecondaryRole::BoardComment || r == SecondaryRole::ChatFileEditing;
}

// The window title of each role, and the one a picked relocation target shows.
const char* SecondaryRoleTitle(SecondaryRole r);
extern const char* const kRelocationDoneTitle;  // " Quorvel ： 既着石の位置変更 [完了]"
// The question before a pass is added to a diagram, and its caption.
extern const char* const kPassQuestion;
extern const char* const kPassQuestionCaption;

// The stone list holds at most this many entries (setup stones, then moves), 1-based.
constexpr int kStoneListEntries = 500;
// Stone codes of setup entries.
constexpr int kBlackSetup = 1000;
constexpr int kWhiteSetup = 5000;

// The point of a click at (x, y) in the window's pixels, or 0 when the click lies beyond the drawn board.
// Coordinates below 9 count as 9; a coordinate past the last line's catch zone takes the last line, so a
// click near the far edge never lands on a line beyond the board.
PointCode SecondaryBoardPoint(const BoardGeometry& g, int x, int y);

struct SecondaryBoard {
    int boardSize = 19;
    const BoardGeometry* geometry = GeometryFor(19);

    PointGrid subBoard{};  // SubBoard: 0 empty, kBlack, kWhite, kBorder; counting codes of territory_count.h
    PointGrid marks{};     // mark code + 1000 × the stone code under it when the mark was set
    PointGrid numbers{};   // the move number shown on a point, 0 for none

    // The stone list: entries 1..setupCount are setup stones (stoneCodes kBlackSetup or kWhiteSetup),
    // entries setupCount + 1 .. shownEntry the moves on the board (0 is a pass).
    std::array<int, kStoneListEntries + 1> stoneList{};
    std::array<int, kStoneListEntries + 1> stoneCodes{};
    int setupCount = 0;
    int shownEntry = 0;
    bool blackFirst = true;
    int inputMode = 1;  // 1 moves, 3 setup stones and marks
    // The board window's ko point when the window opened: the one forbidden point that the stones alone do
    // not show. It holds until a move is played or the setup changes.
    PointCode openingKo = 0;
    // The ko point left by the last move (a single stone taken by a lone stone), 0 for none.
    PointCode koPoint = 0;

    SecondaryRole role = SecondaryRole::VariationChoice;
    // The answer for the caller: a point index, or kChosenNextMove.
    int selectedPoint = 0;
    // Stone relocation: the stone the board window chose, and whether its new point has been picked.
    PointCode relocationFrom = 0;
    bool relocationDone = false;

    TerritoryCount count;
    RangePick range;

    bool IsOnBoard(PointCode p) const {
        return p > 0 && p < kGridCells && PointCol(p) >= 1 && PointCol(p) <= boardSize && PointRow(p) >= 1 &&
               PointRow(p) <= boardSize;
    }
    bool Full() const { return shownEntry >= kStoneListEntries; }
    // The colour of move k (counted from 1 after the setup).
    int MoveColour(int k) const { return ((k % 2 == 1) == blackFirst) ? kBlack : kWhite; }
    int ColourToMove() const { return MoveColour(shownEntry - setupCount + 1); }
};

// What a click on the board asks of the window.
enum class SecondaryAction {
    None,             // nothing changed
    Redraw,           // the board changed
    CloseOk,          // close with OK; selectedPoint is the answer
    RelocationPicked, // the stone stands on its new point: "O K" closes with OK
    DeletePoint,      // hand selectedPoint to the board window's deletion
    RangeFirst,       // the first corner of a range is marked
    RangeOutlined,    // a range is outlined: wait, then ask whether to write it
    RangeInvalid,     // no range there: tell the user, both points are forgotten
};

// A mouse button pressed on the board of the window.
struct SecondaryClick {
    PointCode point = 0;
    bool leftButton = true;
    int paletteMark = 0;       // the mark kind selected in the mark palette, 0 for none
    bool markKeyHeld = false;  // the space bar is held: a click toggles the palette mark
};

// The board of a click decided by the window's role, in this order: relocation, deletion, pass
// replacement, range, counting (while no result is shown), variation choice; in a creation role, move or
// setup input.
SecondaryAction SecondaryBoardClick(SecondaryBoard& s, const Engine& board, const SecondaryClick& click);

// ---- Opening ----

// Selection roles and counting: the board window's position with its stone order and move numbers.
void CopyPosition(SecondaryBoard& s, const Engine& board);
// The creation role from the board window: its position, ko point and marks; every stone becomes a setup
// entry in increasing point order, and the side to move there plays first.
void OpenForCreation(SecondaryBoard& s, const Engine& board);

// ---- Building a diagram (creation roles) ----

// True when the colour to move may play on p: an empty point that is not the ko point and where the
// stone would not be left without liberties (unless it captures).
bool IsPlayableOnSecondary(const SecondaryBoard& s, PointCode p);
// Plays the colour to move on p, removing the stones it leaves without liberties. False (and nothing
// played) when the point is not playable or the stone list is full.
bool PlaySecondaryMove(SecondaryBoard& s, PointCode p);
// Appends a pass. False when the stone list is full.
bool PassOnSecondary(SecondaryBoard& s);
// "<": takes back the last move, with the stones it captured and the ko it left before.
void TakeBackSecondaryMove(SecondaryBoard& s);
// "| <": takes back every move; with no move on the board, clears the setup and the marks as well.
void TakeBackAllSecondaryMoves(SecondaryBoard& s);
// Setup input on p: black (or white) on an empty point, the other colour turns, the same colour goes.
// `mark` (a palette mark kind, 0 for none) is set on the point. A point holding a move is left alone, and
// a full stone list takes no new stone.
void SecondarySetupClick(SecondaryBoard& s, PointCode p, bool black, int mark);
// Marking with the space bar held: toggles mark kind `mark` on an empty point.
void ToggleSecondaryMark(SecondaryBoard& s, PointCode p, int mark);
// "局面図に指定": the stones now on the board become the setup, in increasing point order; the side to move
// stays the same.
void DesignatePosition(SecondaryBoard& s);
// The first colour of the moves; the moves on the board take their new colours.
void SetSecondaryBlackFirst(SecondaryBoard& s, bool blackFirst);
// Places the setup entries and replays the moves 1..shownEntry (captures, numbers and ko included).
void RebuildSecondaryBoard(SecondaryBoard& s);

// ---- Picking on a copy of the board window's position ----

// A continuation of the board window's shown position: the next move of the line (hint number 1) or the
// first move of a branch starting there (running numbers 2..8, 10, ...), with its hint letter.
struct Continuation {
    PointCode point;  // 0 for a pass
    int number;
    char letter;
};
std::vector<Continuation> ContinuationsOf(const Engine& board);
// The chooser's answer for a click on p: p when a continuation starts there, else 0.
int ChooseVariationAt(const Engine& board, PointCode p);
// The chooser's answer for hint number n (from a letter or keypad key): the continuation's point,
// kChosenNextMove when it is the line's next move and that is a pass, 0 when there is none.
int ChooseVariationByNumber(const Engine& board, int number);

// True when the stone on `from` may move to `to`: an empty point of the board window's position that
// touches no opponent group in atari (moving there would capture, which a relocation does not do) and
// where the moved stone keeps a liberty.
bool IsRelocationTarget(const Engine& board, PointCode from, PointCode to);
// Moves the shown stone from `from` to `to` on the secondary board, with its number.
void RelocateShownStone(SecondaryBoard& s, PointCode from, PointCode to);

}  // namespace quorvel
