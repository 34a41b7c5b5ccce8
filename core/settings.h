// The options of the board window that navigation, drawing and the record formats read. The settings file
// fills them at start-up; the values here are the ones in force when the file or a key is missing.
#pragma once

namespace quorvel {

struct Settings {
    bool showXY = false;        // ShowXY: coordinate under the mouse
    bool number = true;         // Number: move numbers on the stones
    bool allShow = false;       // AllShow: entering a branch plays all of it
    bool zarnHint = true;       // ZarnHint: variation hints shown
    bool salala = false;        // Salala: hint letters shuffled
    bool asOption = true;       // AsOption: position output carries AS
    bool zarnStyle = false;     // ZarnStyle: records are written in the program's own inline branch layout
    bool stoneSound = false;    // StoneSound: sound on each step forward
    bool advanceMoves = false;  // AdvanceMoves: go to the end of the main line after loading
    bool noZarnNoHint = true;   // NoZarnNoHint: no letter for the next move where no branch starts
};

}  // namespace quorvel
