// The click areas of the board window: which fixed pixel area of the window a mouse position falls in.
// The window decides from the area, the mode and the engine state what a click does.
#pragma once

namespace quorvel {

enum class BoardArea {
    None,
    Board,  // x and y at most 380: the click acts on the hover point
    // Navigation strip.
    GoToStart,
    BackTen,
    StepBack,
    StepForward,
    ForwardTen,
    GoToEnd,
    // Comment-button strip.
    MainLineBox,  // the diagram box: back to the main line
    ParentBox,    // back to the parent variation
    DiagramBox,   // back to the diagram
    HintBox,
    PassSign,
    // Switches of the move numbers.
    PrisonerBox,
    MoveNumberBox,
    // Tool column.
    ToolAdd,
    ToolDel,
    ToolEditC,
    ToolHint,
    ToolSwap,
    IntervalUp,
    IntervalDown,
    AutoBackward,
    AutoForward,
    AutoStop,
    ToolTextB,
    ToolSgf,
    ToolPass,
    ToolReset,  // "ReSet" in replay mode, "CALL" in creation mode
    ToolShow,
    ToolMake,
    // Creation mode's strip: clear to the start, take back, move input, setup input, the first colour.
    CreationClear,
    CreationTakeBack,
    MoveInput,
    SetupInput,
    FirstColour,
    // The white player's picture of the information panel.
    WhitePlayerPicture,
};

// The area under (x, y). The tool column's areas exist only while the tool panel is shown, the player
// picture only while the information panel is; the strip areas of replay mode only in replay mode.
BoardArea AreaAt(int x, int y, bool toolPanelShown, bool replayMode);

}  // namespace quorvel
