// Marks: the palette's choice, the space-bar mark mode, toggling marks on empty points, and the marks as
// SGF property lists.
#include "core/marks.h"

#include "core/engine.h"
#include "core/sgf_text.h"

namespace quorvel {

std::array<std::string, 8> MarkPropertyLists(const PointGrid& marks) {
    static const char* const kNames[] = {"SQ", "ST", "CR", "RT", "TR", "LO", "MA", "LB"};
    std::array<std::string, 8> lists;
    for (PointCode p = MakePoint(1, 1); p <= MakePoint(19, 19); ++p) {
        const int kind = MarkKind(marks[p]);
        if (PointRow(p) < 1 || PointRow(p) > 19 || marks[p] <= 0) continue;
        if (kind >= 1 && kind <= 7) {
            lists[kind - 1] += "[" + SgfPointText(p) + "]";
        } else if (kind >= kFirstLabelMark && kind <= kLastMarkKind) {
            lists[7] += "[" + SgfPointText(p) + ":" + static_cast<char>('A' + kind - kFirstLabelMark) + "]";
        }
    }
    for (int k = 0; k < 8; ++k) {
        if (!lists[k].empty()) lists[k] = kNames[k] + lists[k];
    }
    return lists;
}

bool Engine::ToggleMark(PointCode point) {
    if (!editing.markMode || !IsOnBoard(point) || board[point] != kEmpty) return false;
    markGrid[point] = markGrid[point] != 0 ? 0 : MakeMark(kEmpty, editing.selectedMark);
    recordModified = true;  // marks are saved with the record
    return true;
}

void Engine::SelectMark(int kind) {
    editing.selectedMark = IsMarkKind(kind) ? kind : 0;
    if (editing.selectedMark == 0) editing.markMode = false;
}

void Engine::SpaceBarDown() {
    if (editing.selectedMark > 0) editing.markMode = true;
}

void Engine::MarkKeyReleased() {
    editing.markMode = false;
}

std::vector<std::pair<PointCode, int>> NodeMarks(const Record& r, int branch, int slot, int boardSize) {
    std::vector<std::pair<PointCode, int>> marks;
    if (branch < 0 || branch >= kMaxBranches || slot <= 0 || slot >= kLineSlots) return marks;
    const std::string kept = r.KeptText(r.branchComments[static_cast<std::size_t>(branch)][static_cast<std::size_t>(slot)]);
    static const char* const kNames[] = {"SQ", "ST", "CR", "RT", "TR", "LO", "MA"};
    const auto letter = [boardSize](char c) {
        const int n = c - 'a' + 1;
        return n >= 1 && n <= boardSize ? n : 0;
    };
    VisitNodeValues(kept, [&](const std::string& name, const std::string& value) {
        int kind = 0;
        for (int k = 0; k < 7; ++k) {
            if (name == kNames[k]) kind = k + 1;
        }
        if (name == "LB") {
            if (value.size() != 4 || value[2] != ':' || value[3] < 'A' || value[3] > 'G') return;
            kind = kFirstLabelMark + (value[3] - 'A');
        }
        if (kind == 0 || value.size() < 2) return;
        // A point, or the rectangle "ul:lr" of FF4's compressed lists.
        const int x1 = letter(value[0]), y1 = letter(value[1]);
        int x2 = x1, y2 = y1;
        if (kind < kFirstLabelMark && value.size() == 5 && value[2] == ':') {
            x2 = letter(value[3]);
            y2 = letter(value[4]);
        }
        if (x1 == 0 || y1 == 0 || x2 < x1 || y2 < y1) return;
        for (int x = x1; x <= x2; ++x) {
            for (int y = y1; y <= y2; ++y) marks.emplace_back(MakePoint(x, y), kind);
        }
    });
    return marks;
}

}  // namespace quorvel
