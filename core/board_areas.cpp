#include "core/board_areas.h"

namespace quorvel {
namespace {

bool In(int v, int from, int to) { return v >= from && v <= to; }

BoardArea StripArea(int x, int y) {
    if (In(y, 398, 417)) {
        static constexpr BoardArea kNavigation[] = {BoardArea::GoToStart,   BoardArea::BackTen,
                                                    BoardArea::StepBack,    BoardArea::StepForward,
                                                    BoardArea::ForwardTen,  BoardArea::GoToEnd};
        for (int i = 0; i < 6; ++i) {
            if (In(x, 230 + 28 * i, 256 + 28 * i)) return kNavigation[i];
        }
        if (In(x, 58, 88)) return BoardArea::MainLineBox;
        if (In(x, 92, 122)) return BoardArea::ParentBox;
        if (In(x, 126, 156)) return BoardArea::DiagramBox;
    }
    if (In(y, 398, 419) && In(x, 166, 224)) return BoardArea::HintBox;
    if (In(x, 66, 99) && In(y, 424, 441)) return BoardArea::PassSign;
    return BoardArea::None;
}

BoardArea CreationStripArea(int x, int y) {
    if (!In(y, 398, 421)) return BoardArea::None;
    if (In(x, 213, 236)) return BoardArea::CreationClear;
    if (In(x, 238, 261)) return BoardArea::CreationTakeBack;
    if (In(x, 281, 301)) return BoardArea::MoveInput;
    if (In(x, 308, 328)) return BoardArea::SetupInput;
    if (In(x, 354, 376)) return BoardArea::FirstColour;
    return BoardArea::None;
}

BoardArea ToolArea(int x, int y, bool replayMode) {
    if (replayMode) {
        if (In(x, 405, 453)) {
            if (In(y, 1, 19)) return BoardArea::ToolAdd;
            if (In(y, 21, 39)) return BoardArea::ToolDel;
            if (In(y, 41, 59)) return BoardArea::ToolEditC;
            if (In(y, 61, 79)) return BoardArea::ToolHint;
            if (In(y, 81, 99)) return BoardArea::ToolSwap;
        }
        if (In(y, 113, 131)) {
            if (In(x, 405, 419)) return BoardArea::IntervalUp;
            if (In(x, 421, 435)) return BoardArea::IntervalDown;
        }
        if (In(y, 133, 151)) {
            if (In(x, 405, 427)) return BoardArea::AutoBackward;
            if (In(x, 429, 453)) return BoardArea::AutoForward;
        }
        if (In(x, 405, 453) && In(y, 153, 171)) return BoardArea::AutoStop;
    }
    if (In(x, 434, 450) && In(y, 306, 324)) return BoardArea::ToolPass;
    if (!In(x, 405, 453)) return BoardArea::None;
    if (In(y, 286, 304)) return BoardArea::ToolTextB;
    if (In(y, 306, 324) && x < 434) return BoardArea::ToolSgf;
    if (In(y, 326, 344)) return BoardArea::ToolReset;
    if (In(y, 379, 397)) return BoardArea::ToolShow;
    if (In(y, 399, 417)) return BoardArea::ToolMake;
    return BoardArea::None;
}

}  // namespace

BoardArea AreaAt(int x, int y, bool toolPanelShown, bool replayMode) {
    if (x <= 380 && y <= 380) return BoardArea::Board;
    if (x <= 48 && In(y, 396, 430)) return BoardArea::PrisonerBox;
    if (toolPanelShown && In(x, 405, 449) && In(y, 346, 364)) return BoardArea::MoveNumberBox;
    const BoardArea strip = replayMode ? StripArea(x, y) : CreationStripArea(x, y);
    if (strip != BoardArea::None) return strip;
    if (toolPanelShown) return ToolArea(x, y, replayMode);
    if (In(x, 474, 499) && In(y, 91, 114)) return BoardArea::WhitePlayerPicture;
    return BoardArea::None;
}

}  // namespace quorvel
