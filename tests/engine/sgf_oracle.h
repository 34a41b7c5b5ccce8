// An independent reading of SGF for the tests: a plain recursive reader of the grammar (collections, game
// trees, nodes, properties, values with "\" escapes), written apart from the program's search-based
// reader, and the record the program documents for what it reads: the main line, the variations as the
// branch table holds them, the comments in their display form, the setup stones, the start marks and the
// game information. Tests compare a load with it; it knows nothing of the program's code.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::oracle {

// How the bytes of a record make characters. Shift-JIS and the Chinese double-byte sets have second bytes
// that may look like "[", "\" or "]"; every other encoding (UTF-8, EUC, the single-byte sets) has none.
enum class Charset { kShiftJis, kDoubleByte, kBytes };

// The record's charset: the CA property of its root node (read with Shift-JIS characters), or without
// one, bytes when the whole text is valid UTF-8 with at least one character beyond ASCII or holds bytes
// beyond ASCII but none from 0x80 to 0xA0 (EUC), and Shift-JIS otherwise.
Charset RecordCharset(std::string_view text);

struct Property {
    std::string name;
    std::vector<std::string> values;  // raw: escapes as they stand in the text
    std::vector<int> gaps;            // bytes between one value's "]" and the next one's "["
};

struct Node {
    std::vector<Property> properties;
    const Property* Find(std::string_view name) const;
};

// A group "(" ... ")". `items` keeps the order of nodes and nested groups: in standard SGF all groups come
// after the nodes; the program's own inline layout writes a variation right after the move it replaces
// the next move of, and the line goes on after it.
struct Group {
    struct Item {
        int node = -1;   // index into nodes, or -1
        int group = -1;  // index into groups, or -1
    };
    std::vector<Node> nodes;
    std::vector<Group> groups;
    std::vector<Item> items;
};

// The game trees of a text, or nullopt when it is not SGF by the grammar (blanks may stand between
// tokens; property names are capitals).
std::optional<std::vector<Group>> Parse(std::string_view text, Charset charset);

// A value as text: "\" escapes the next character, "\" before a line break removes both.
std::string Unescape(std::string_view raw, Charset charset);

struct Move {
    int point = 0;  // col * 21 + row, 0 a pass
    bool black = true;
    std::optional<std::string> comment;
};

struct Line {
    std::optional<std::string> commentBefore;  // the first comment in nodes before the line's first move
    std::vector<Move> moves;
    struct Variation;
    std::vector<Variation> variations;  // in the order of the text
};

struct Line::Variation {
    int after = 0;  // replaces move after + 1 of this line
    Line line;
};

struct Record {
    int boardSize = 19;
    std::vector<int> setup;  // colour * 1000 + point, AB stones before AW stones
    std::vector<std::pair<int, int>> marks;  // point, kind (1..7 SQ ST CR RT TR LO MA, 9..15 labels A..G)
    std::optional<std::string> rootComment;
    std::vector<std::pair<std::string, std::string>> info;  // property name, text (display form)
    // The program takes game information from its first occurrence in its own layout of the text, which
    // orders variations otherwise: names not in the root node are not compared.
    std::vector<std::string> infoNotInRoot;
    int asHidden = 0;    // AS: main-line moves hidden as background
    Line main;
    // The reasons the record lies outside what the branch table can hold or the reader documents (more
    // branches or moves than the limits, moves of one colour twice in a row, moves in the root); a record
    // with reasons is compared only where it stays inside.
    std::vector<std::string> outside;
};

// The record the program documents for a text, or nullopt when the text is not SGF.
std::optional<Record> ReadRecord(std::string_view text);

// A comment, or another text value, in the form the program shows it: the line-break codes "___" and
// "//" (not after ":") as CR LF, no line break right after "C[" or right before the closing bracket, and
// "(", ")", ";", "[", "]" and "\" in their full-width forms.
std::string DisplayComment(std::string_view name, std::string_view raw, Charset charset);
std::string DisplayText(std::string_view name, std::string_view raw, Charset charset);

// A line and its variations as one text, for comparing and for messages.
std::string Describe(const Line& line);

}  // namespace quorvel::oracle
