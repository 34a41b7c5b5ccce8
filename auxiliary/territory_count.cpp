#include "auxiliary/territory_count.h"

#include <cerrno>
#include <cstdlib>

#include "auxiliary/secondary_board.h"
#include "platform/text_codec.h"

namespace quorvel {

const char* const kCountingTitle = " Quorvel : 地の計算";

namespace {

constexpr PointCode kFirstCell = 22;
constexpr PointCode kLastCell = 418;

bool IsProvisional(int code) { return code == kProvisionalBlack || code == kProvisionalWhite; }

// Gives the chain of `from`'s exact code the code `to`, one cell at a time in neighbour order; returns how
// many cells changed.
int RecodeChain(PointGrid& board, PointCode from, int to) {
    const int code = board[from];
    int changed = 0;
    std::vector<PointCode> pending{from};
    board[from] = to;
    while (!pending.empty()) {
        const PointCode p = pending.back();
        pending.pop_back();
        ++changed;
        for (int step : kNeighbourSteps) {
            if (board[p + step] == code) {
                board[p + step] = to;
                pending.push_back(p + step);
            }
        }
    }
    return changed;
}

// The region test: the empty region around n touches no stone of colour `opponent` and no neutral point.
// It stops at the first failing neighbour, so a failed test has visited only part of the region.
bool RegionTest(TerritoryCount& c, const PointGrid& board, PointCode n, int opponent) {
    c.regionVisit[n] = 1;
    for (int step : kNeighbourSteps) {
        const int code = board[n + step];
        if (CellColour(code) == opponent || code == kNeutralPoint) return false;
    }
    for (int step : kNeighbourSteps) {
        const PointCode m = n + step;
        if (c.regionVisit[m] == 1 || board[m] != kEmpty) continue;
        if (!RegionTest(c, board, m, opponent)) return false;
    }
    return true;
}

// Fills what the region test visited: territory of `colour` when it passed, neutral otherwise. A point
// freed by a dead stone was counted with the stone and is not counted again.
void RegionFill(TerritoryCount& c, PointGrid& board, PointCode n, int colour, bool territory) {
    c.regionVisit[n] = 0;
    if (territory) {
        board[n] = colour * 100;
        if (c.saved[n] < kDeadBlack) (colour == kBlack ? c.blackTotal : c.whiteTotal) += 1;
        c.squares.push_back({n, colour});
    } else {
        board[n] = kNeutralPoint;
    }
    for (int step : kNeighbourSteps) {
        if (c.regionVisit[n + step] == 1) RegionFill(c, board, n + step, colour, territory);
    }
}

// The byte offset of the first whole character `what` in a CP932 text, or npos. The second byte of a
// two-byte character never starts a match.
std::size_t FindCharacter(const std::string& text, const std::string& what) {
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, what.size(), what) == 0) return i;
        i += IsCp932LeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    }
    return std::string::npos;
}

// A whole decimal number with an optional sign, after optional blanks; false for anything else.
bool ParseInteger(const std::string& text, long long& value) {
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos) return false;
    std::size_t digits = i;
    if (text[digits] == '-' || text[digits] == '+') ++digits;
    if (digits == text.size() || text.size() - digits > 9) return false;
    for (std::size_t k = digits; k < text.size(); ++k) {
        if (text[k] < '0' || text[k] > '9') return false;
    }
    value = std::strtoll(text.c_str() + i, nullptr, 10);
    return true;
}

}  // namespace

void StartCounting(SecondaryBoard& s, const Engine& board) {
    CopyPosition(s, board);
    TerritoryCount& c = s.count;
    // Black's running total starts with the white stones Black has taken, and the other way round.
    c.blackTotal = board.whiteCaptured;
    c.whiteTotal = board.blackCaptured;
    c.regionVisit.fill(0);
    c.drag = CountDrag::None;
    c.resultShown = false;
    c.title = kCountingTitle;
    c.squares.clear();
}

bool CountPress(SecondaryBoard& s, PointCode p, bool leftButton) {
    TerritoryCount& c = s.count;
    if (!s.IsOnBoard(p)) return false;
    int& cell = s.subBoard[p];
    c.drag = CountDrag::Place;
    c.dragColour = leftButton ? kProvisionalBlack : kProvisionalWhite;
    if (IsProvisional(cell)) {
        cell = kEmpty;
        c.drag = CountDrag::Erase;
        return true;
    }
    if (cell == kDeadBlack || cell == kDeadWhite) {
        const bool black = cell == kDeadBlack;
        const int revived = RecodeChain(s.subBoard, p, black ? kBlack : kWhite);
        (black ? c.whiteTotal : c.blackTotal) -= revived;
        return true;
    }
    if (cell == kBlack || cell == kWhite) {
        const bool black = cell == kBlack;
        const int dead = RecodeChain(s.subBoard, p, black ? kDeadBlack : kDeadWhite);
        (black ? c.whiteTotal : c.blackTotal) += dead;
        return true;
    }
    if (cell == kEmpty) {
        cell = c.dragColour;
        return true;
    }
    return false;
}

bool CountDragTo(SecondaryBoard& s, PointCode p) {
    TerritoryCount& c = s.count;
    if (!s.IsOnBoard(p)) return false;
    int& cell = s.subBoard[p];
    if (c.drag == CountDrag::Erase && IsProvisional(cell)) {
        cell = kEmpty;
        return true;
    }
    if (c.drag == CountDrag::Place && cell == kEmpty) {
        cell = c.dragColour;
        return true;
    }
    return false;
}

void CountRelease(SecondaryBoard& s) { s.count.drag = CountDrag::None; }

void RunCount(SecondaryBoard& s, const std::string& komiText) {
    TerritoryCount& c = s.count;
    PointGrid& board = s.subBoard;
    c.resultShown = true;
    c.squares.clear();
    const int blackBefore = c.blackTotal;
    const int whiteBefore = c.whiteTotal;
    c.saved = board;

    // Dead stones: each is a point of territory for the other side, beside the prisoner counted when its
    // chain was marked.
    for (PointCode p = kFirstCell; p <= kLastCell; ++p) {
        if (board[p] < kDeadBlack) continue;
        const int gainer = board[p] == kDeadBlack ? kWhite : kBlack;
        (gainer == kBlack ? c.blackTotal : c.whiteTotal) += 1;
        c.squares.push_back({p, gainer});
        board[p] = kEmpty;
    }

    // Territory: every empty region next to a stone is tested against the other colour from there.
    for (PointCode i = kFirstCell; i <= kLastCell; ++i) {
        const int colour = CellColour(board[i]);
        if (colour != kBlack && colour != kWhite) continue;
        for (int step : kNeighbourSteps) {
            const PointCode n = i + step;
            if (board[n] != kEmpty) continue;
            const bool territory = RegionTest(c, board, n, Opponent(colour));
            RegionFill(c, board, n, colour, territory);
        }
    }

    c.shownBlack = c.blackTotal;
    c.shownWhite = c.whiteTotal;
    const Komi komi = ReadKomi(komiText, s.boardSize);
    c.title = kCountingTitle + KomiBracket(komiText) +
              ResultText(c.blackTotal, c.whiteTotal + komi.points, komi.halfPoint);

    c.blackTotal = blackBefore;
    c.whiteTotal = whiteBefore;
    for (int& cell : board) {
        if (cell >= kBlackTerritory && cell <= 599) cell = kEmpty;
    }
}

void UndoCount(SecondaryBoard& s) {
    TerritoryCount& c = s.count;
    c.resultShown = false;
    c.title = kCountingTitle;
    c.squares.clear();
    s.subBoard = c.saved;
}

std::string TotalLabel(bool black, int total) { return (black ? "黒 : " : "白 : ") + std::to_string(total); }

Komi ReadKomi(const std::string& text, int boardSize) {
    Komi k;
    k.halfPoint = FindCharacter(text, ".5") != std::string::npos || FindCharacter(text, "半") != std::string::npos;
    std::string whole = text;
    const std::size_t dot = FindCharacter(text, ".");
    const std::size_t moku = FindCharacter(text, "目");
    if (dot != std::string::npos && dot >= 1) {
        whole = text.substr(0, dot);
    } else if (moku != std::string::npos && moku >= 1) {
        whole = text.substr(0, moku);
    }
    long long value = 0;
    const long long points = static_cast<long long>(boardSize) * boardSize;
    if (ParseInteger(whole, value) && value < points && value > -points) k.points = static_cast<int>(value);
    // "-5.5" is five and a half points for Black: -6 whole points and White's half point. Without a half
    // point the whole number stands as it is.
    if (k.halfPoint && whole.find('-') != std::string::npos) k.points -= 1;
    return k;
}

std::string KomiBracket(const std::string& text) {
    if (text == "0") return std::string();
    return "  [ コミ ： " + text + " ]";
}

std::string ResultText(int black, int white, bool halfPoint) {
    if (white < black) {
        const int d = black - white;
        if (!halfPoint) return "    黒 " + std::to_string(d) + " 目勝ち";
        if (d == 1) return "    黒 半目勝ち";
        return "    黒 " + std::to_string(d - 1) + " 目半勝ち";
    }
    if (white > black) {
        return "    白 " + std::to_string(white - black) + " 目" + (halfPoint ? "半" : "") + "勝ち";
    }
    return halfPoint ? "    白 半目勝ち" : "    持 碁 で す！";
}

}  // namespace quorvel
