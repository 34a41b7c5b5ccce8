// Territory counting in the Japanese manner on the secondary board: the user marks dead chains and may
// close open borders with provisional stones; the count adds prisoners, dead stones and surrounded empty
// points for each side, applies the record's komi and words the result for the window title. Nothing of
// the count reaches the record.
#pragma once

#include <string>
#include <vector>

#include "core/position.h"

namespace quorvel {

struct SecondaryBoard;
class Engine;

// Codes of the secondary board's cells while counting, beside 0, kBlack, kWhite and kBorder. A cell's
// colour is its code modulo 10.
constexpr int kProvisionalBlack = 11;
constexpr int kProvisionalWhite = 15;
constexpr int kDeadBlack = 1000;
constexpr int kDeadWhite = 5000;
constexpr int kBlackTerritory = 100;  // only during a count
constexpr int kWhiteTerritory = 500;
constexpr int kNeutralPoint = 300;

inline int CellColour(int code) { return code % 10; }

// The title of the counting window, before and after a count.
extern const char* const kCountingTitle;  // " Quorvel : 地の計算"

// A point coloured by a finished count: a dead stone's point or a point of territory, in the colour of the
// side that gains it.
struct CountSquare {
    PointCode point;
    int side;  // kBlack or kWhite
};

enum class CountDrag { None, Place, Erase };

struct TerritoryCount {
    // Prisoners and dead stones so far: black's captures and white's.
    int blackTotal = 0;
    int whiteTotal = 0;
    PointGrid saved{};        // SubBoardSaved: the marked board as it was when the count started
    PointGrid regionVisit{};  // all 0 between operations
    // A pressed button drags: placing provisional stones of `dragColour`, or erasing them.
    CountDrag drag = CountDrag::None;
    int dragColour = kProvisionalBlack;

    // The shown result ("再計算" on the button) and what the window shows of it until it is undone.
    bool resultShown = false;
    int shownBlack = 0;  // the labels: the count's totals, without komi
    int shownWhite = 0;
    std::string title;  // the window title with the komi and the result
    std::vector<CountSquare> squares;
};

// Opens the count: the board window's position, and its prisoners as the running totals.
void StartCounting(SecondaryBoard& s, const Engine& board);
// A mouse button pressed on p while marking: removes a provisional stone (and erases while dragging),
// revives a dead chain, marks a living chain dead, or places a provisional stone (black for the left
// button). True when the board changed.
bool CountPress(SecondaryBoard& s, PointCode p, bool leftButton);
// The held button entered p: places or erases a provisional stone as the press decided.
bool CountDragTo(SecondaryBoard& s, PointCode p);
void CountRelease(SecondaryBoard& s);

// "計 算": removes the dead stones, finds each side's territory, applies the komi text (the record's KM)
// and keeps the result in s.count. The marks stay in `saved` for "再計算".
void RunCount(SecondaryBoard& s, const std::string& komiText);
// "再計算": the marked board comes back and the window is ready to count again.
void UndoCount(SecondaryBoard& s);

// The label texts: "黒 : " or "白 : " and the number.
std::string TotalLabel(bool black, int total);

// The komi of a KM text as the count applies it: whole points for White (a minus sign before a half point
// takes one more) and whether half a point is added. Texts that are no number, and values as large as the
// board's point count, count as 0.
struct Komi {
    int points = 0;
    bool halfPoint = false;
};
Komi ReadKomi(const std::string& text, int boardSize);
// The komi's part of the title: empty for "0", else "  [ コミ ： " + the text + " ]".
std::string KomiBracket(const std::string& text);
// The result after komi: black's and white's points and whether White has half a point more.
std::string ResultText(int black, int white, bool halfPoint);

}  // namespace quorvel
