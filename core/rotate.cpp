// Turning the whole record by 180 degrees.
#include <algorithm>
#include <cctype>

#include "core/engine.h"
#include "core/sgf_text.h"

namespace quorvel {
namespace {

// How the points of a property's value are written.
enum class PointValue { None, PointOrRectangle, PointPair, Label };

PointValue PointValueOf(const std::string& name) {
    // Moves, setup lists and the marks of this program and of FF4, whose values are a point or a
    // rectangle "ul:lr".
    static const char* const kLists[] = {"B",  "W",  "AB", "AW", "AE", "SQ", "ST", "CR", "RT",
                                         "TR", "LO", "MA", "TB", "TW", "DD", "VW", "SL"};
    for (const char* list : kLists) {
        if (name == list) return PointValue::PointOrRectangle;
    }
    if (name == "AR" || name == "LN") return PointValue::PointPair;
    if (name == "LB") return PointValue::Label;
    return PointValue::None;
}

// The SGF letter of a coordinate turned on a board of n lines; 0 for a letter off the board.
char TurnedLetter(char letter, int n) {
    const int index = letter - 'a';
    return (index >= 0 && index < n) ? static_cast<char>('a' + n - 1 - index) : 0;
}

// Turns the two letters at `at` when both lie on the board; false (and nothing changed) otherwise.
bool TurnLetterPair(std::string& text, std::size_t at, int n) {
    const char x = TurnedLetter(text[at], n);
    const char y = TurnedLetter(text[at + 1], n);
    if (x == 0 || y == 0) return false;
    text[at] = x;
    text[at + 1] = y;
    return true;
}

// One value [start, end) of a point property. Passes, letters off the board and values of another form
// stay as they are, so that turning twice gives back every byte.
void TurnValue(std::string& text, std::size_t start, std::size_t end, PointValue kind, int n) {
    const std::size_t length = end - start;
    const bool pair = length == 5 && text[start + 2] == ':';
    switch (kind) {
        case PointValue::Label:
            if (length >= 3 && text[start + 2] == ':') TurnLetterPair(text, start, n);
            return;
        case PointValue::PointPair:
            if (pair && TurnedLetter(text[start], n) && TurnedLetter(text[start + 1], n)) {
                if (TurnLetterPair(text, start + 3, n)) TurnLetterPair(text, start, n);
            }
            return;
        case PointValue::PointOrRectangle:
            if (length == 2) {
                TurnLetterPair(text, start, n);
            } else if (pair && TurnedLetter(text[start], n) && TurnedLetter(text[start + 1], n) &&
                       TurnLetterPair(text, start + 3, n)) {
                // The upper-left corner turns into the lower-right one: the corners change places.
                TurnLetterPair(text, start, n);
                std::swap_ranges(text.begin() + start, text.begin() + start + 2, text.begin() + start + 3);
            }
            return;
        case PointValue::None: return;
    }
}

// Turns every point of an SGF text (moves, setup stones, marks, labels, arrows) on a board of n lines.
void TurnSgfPoints(std::string& text, int n) {
    std::string name;
    bool afterValue = false;  // the next upper-case letter starts a new property name
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '[') {
            const std::size_t end = SgfValueEnd(text, i + 1);
            TurnValue(text, i + 1, end, PointValueOf(name), n);
            i = end;
            afterValue = true;
        } else if (std::isupper(static_cast<unsigned char>(c))) {
            if (afterValue) name.clear();
            afterValue = false;
            name += c;
        } else if (!std::isspace(static_cast<unsigned char>(c)) && !std::islower(static_cast<unsigned char>(c))) {
            name.clear();
            afterValue = false;
        }
    }
}

}  // namespace

void Engine::RotateRecord() {
    const int n = boardSize;
    const auto turn = [n](PointCode p) {
        return p == kPass ? kPass : MakePoint(n + 1 - PointCol(p), n + 1 - PointRow(p));
    };
    const auto turnStone = [&](int stone) {
        return stone == 0 ? 0 : MakeStone(StoneColour(stone), turn(StonePoint(stone)));
    };

    // Back to the setup stones first, so that every capture on the way is undone on the unturned board;
    // then the line is replayed on the turned one.
    const int shown = currentIndex;
    const int base = baseIndex;
    const int setupEnd = replayMode ? setupCount : baseIndex;
    baseIndex = setupEnd;
    while (currentIndex > setupEnd) TakeBack();

    const int entries = std::max(shown, lineEnd);
    for (int k = 1; k <= entries && k < kLineSlots; ++k) lineMoves[k] = turn(lineMoves[k]);
    if (lineEnd > 0) {
        for (int b = 0; b <= branchCount; ++b) {
            const int moves = BranchLength(b) + (b == 0 ? mainLineOffset : 0);
            for (int k = 1; k <= moves && k < kLineSlots; ++k) branchMoves[b][k] = turn(branchMoves[b][k]);
        }
    }
    for (int& stone : setupList) stone = turnStone(stone);
    for (int& stone : editSetupList) stone = turnStone(stone);
    // The head is saved as it stands: its setup lists, marks and the moves an AS property keeps there
    // turn with the board, or a saved record would put them back at their old points.
    TurnSgfPoints(headerText, n);
    // So do the marks, labels and setup stones a move's node keeps.
    for (int b = 0; b <= branchCount && b < kMaxBranches; ++b) {
        for (CommentRef& slot : branchComments[b]) {
            if (KeepsText(slot)) {
                std::string kept = KeptText(slot);
                TurnSgfPoints(kept, n);
                SetKeptText(slot, kept);
            }
            if (KeepsGroups(slot)) {
                std::string groups = KeptGroups(slot);
                TurnSgfPoints(groups, n);
                SetKeptGroups(slot, groups);
            }
        }
    }
    const PointGrid marks = markGrid;
    const PointGrid stones = board;
    for (PointCode p = 0; p < kGridCells; ++p) {
        if (!IsOnBoard(p)) continue;
        markGrid[turn(p)] = marks[p];
        board[turn(p)] = stones[p];
        groupGrid[p] = 0;
        libertyGrid[p] = 0;
    }
    AnalyseGroups();

    baseIndex = base;
    while (currentIndex < shown) ApplyNextEntry();
    hintPosition = currentIndex;
    RecountHints();
}

}  // namespace quorvel
