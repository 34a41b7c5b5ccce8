// The replay board of a published page: the record's moves, variations and comments, drawn on an SVG board
// by a small script inside the page, for the browsers that no longer run the page's applet. A browser that
// does not know the applet element shows what the element holds, so the board stands inside it, after the
// applet's parameters, and the applet itself sees nothing of it.
//
// The page is one self-contained file that works from file://: no network, no script of another file. The
// board's markup and script are ASCII only (the record's texts are \u escapes in the script), so the board
// reads the same whatever character set a browser takes the page for.
#pragma once

#include <string>
#include <vector>

#include "platform/text_codec.h"

namespace quorvel {

// One node of the record as the replay board steps through it. Points are y * size + x from the top left;
// a move without a point on the board is a pass.
struct ReplayNode {
    int colour = 0;  // 0 no move, 1 black, 2 white
    int point = -1;
    std::string comment;  // the program's Shift-JIS, line breaks as CR LF
    std::vector<int> black, white, empty;  // setup stones put or taken away at this node
    std::vector<int> children;  // the first is the line the record goes on with
};

// The record's tree from its SGF text (the program's Shift-JIS), in either of the layouts the program
// writes: standard nested variations, or the inline layout where a variation stands before the move it is
// an alternative to (and the first move's alternatives after the whole record). Node 0 is the root.
std::vector<ReplayNode> ReplayTreeOf(const std::string& sgf, int boardSize);

// The replay board's markup and script for a page, lines ended by CR LF. The page's fragment steps it on
// load: "#12" shows move 12, "#3,v2,4" three moves, the second variation there, four moves more.
// `foreign` (may be null) holds the record's characters Shift-JIS lacks.
std::string ReplayBoardHtml(const std::string& sgf, int boardSize, const ForeignCharacters* foreign = nullptr);

}  // namespace quorvel
