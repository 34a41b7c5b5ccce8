// The options of the board window that navigation, drawing and the record formats read. The settings file
// fills them at start-up; the values here are the ones in force when the file or a key is missing.
#pragma once

#include <string>

#include "core/coordinate_labels.h"

namespace quorvel {

struct Settings {
    bool showXY = false;        // ShowXY: coordinate under the mouse
    bool number = true;         // Number: move numbers on the stones
    bool allShow = false;       // AllShow: entering a branch plays all of it
    bool salala = false;        // Salala: hint letters shuffled
    bool asOption = true;       // AsOption: position output carries AS
    bool macMouse = true;       // MacMouse: one-button mouse operation
    bool zarnStyle = false;     // ZarnStyle: records are written in the program's own inline branch layout
    bool stoneSound = false;    // StoneSound: sound on each step forward
    bool textAddPre = false;    // TextAddPre: text boards wrapped in PRE tags
    bool textUseNew = false;    // TextUseNew: text-board move numbers start at 1
    bool textUseColor = false;  // TextUseColor: text boards with coloured move numbers
    bool advanceMoves = false;  // AdvanceMoves: go to the end of the main line after loading
    bool noZarnNoHint = true;   // NoZarnNoHint: no letter for the next move where no branch starts
    int textBMoves = 99;        // TextBMoves: moves per text-board diagram, 1..99
    // GoBanXY: the label style of the coordinate read-out, as its text and as the styles it stands for.
    std::string goBanXY = "A-19";
    CoordinateStyle coordinates;
};

// Applies a coordinate style text ("A-1", "A-19", "1-1", "A(I)-1", "A(I)-19"; the column part may also
// be "T" or "19"). True when the text is valid; otherwise nothing changes but the letter-I choice.
bool SetCoordinateSystem(Settings& settings, const std::string& text);

}  // namespace quorvel
