// The state of record editing and marks that lives beside the record: what "Make" keeps for "CALL" and
// "Show", the comments written while a record is built, the mark palette's choice and the space-bar mark
// mode, and the position a deletion returns to.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/position.h"
#include "core/record.h"

namespace quorvel {

// Mark kinds: 1..7 symbols ("□" "☆" "○" "▽" "△" "◇" "×"), 9..15 the labels "Ａ".."Ｇ"; there is no 8.
constexpr int kFirstLabelMark = 9;
constexpr int kLastMarkKind = 15;
inline bool IsMarkKind(int kind) {
    return kind >= 1 && kind <= kLastMarkKind && kind != 8;
}

struct EditingState {
    // The mark palette: the kind of the pressed button, 0 when none is pressed.
    int selectedMark = 0;
    // True while the space bar is held with a mark selected: clicks on empty points toggle marks.
    bool markMode = false;

    // Kept by "Make" for "CALL" and "Show": the first colour of the kept position, the mark grid, the
    // comments of storedMoves (by their order), and the board window's three memo texts.
    int storedBlackFirst = 1;
    PointGrid savedMarks{};
    std::vector<std::string> storedMoveComments;
    std::vector<std::string> storedMoveKept;  // what their nodes keep besides (Record::KeptText)
    std::string savedBlackName;
    std::string savedWhiteName;
    std::string savedInfo;

    // Comments written in creation mode, by move number after the setup stones (slot 0: before the
    // first move). "Show" puts them into the new record.
    std::array<std::string, kLineSlots> createdComments;

    // Deleting moves: the position shown when the deletion started.
    int positionBeforeDelete = 0;
};

}  // namespace quorvel
