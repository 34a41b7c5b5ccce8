// Marks: the palette's choice, the space-bar mark mode, toggling marks on empty points, and the marks as
// SGF property lists.
#include "core/marks.h"

#include "core/engine.h"

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

}  // namespace quorvel
