#include "formats/text_board_reader.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "formats/sgf_reader.h"
#include "platform/text_codec.h"

namespace quorvel {

const char* const kNothingInClipboard = "Nothing in Clipbord";
const char* const kNoDatasToRead = "No datas to read";

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr int kMaxRows = 19;
constexpr int kMaxColumns = 19;

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// Every stretch from `open` to the next `close` goes; an `open` without a `close` after it stays with
// the rest of the text. Steps over two-byte characters, so that no second byte starts a stretch.
std::string WithoutStretches(const std::string& text, char open, char close) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsCp932LeadByte(c) && i + 1 < text.size()) {
            out += text[i];
            out += text[++i];
            continue;
        }
        if (text[i] == open) {
            const std::size_t end = text.find(close, i + 1);
            if (end != std::string::npos) {
                i = end;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// Lines ended by CR LF, a lone CR or a lone LF (texts from other programs) all become CR LF.
std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += kCrLf;
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (text[i] == '\n') {
            out += kCrLf;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool IsOpenCell(const char* cell) { return std::memcmp(cell, "┼", 2) == 0 || std::memcmp(cell, "・", 2) == 0; }

std::string LeftTrimmed(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        if (s[i] == ' ') {
            ++i;
        } else if (s.compare(i, 2, "　") == 0) {
            i += 2;
        } else {
            break;
        }
    }
    return s.substr(i);
}

struct ReadRow {
    std::string cells;  // the row from its first cell on, without the note after it
};

}  // namespace

int DecodeBoardCell(const char* cell) {
    static const char* const fullDigits[] = {"１", "２", "３", "４", "５", "６", "７", "８", "９"};
    for (int d = 0; d < 9; ++d) {
        if (std::memcmp(cell, fullDigits[d], 2) == 0) return d + 1;
    }
    if (cell[0] >= '0' && cell[0] <= '9' && cell[1] >= '0' && cell[1] <= '9') {
        const int n = (cell[0] - '0') * 10 + (cell[1] - '0');
        return n >= 10 ? n : 0;
    }
    struct Glyph {
        const char* text;
        int value;
    };
    static const Glyph stones[] = {
        {"●", 1000}, {"■", 1001}, {"★", 1002}, {"▼", 1004}, {"▲", 1005}, {"◆", 1006},
        {"○", 5000}, {"□", 5001}, {"☆", 5002}, {"◎", 5003}, {"▽", 5004}, {"△", 5005}, {"◇", 5006},
    };
    for (const Glyph& g : stones) {
        if (std::memcmp(cell, g.text, 2) == 0) return g.value;
    }
    return 0;
}

bool IsBoardRow(const std::string& line) {
    // The column header is no row, even when its labels are digits.
    if (line.compare(0, 2, "**") == 0) return false;
    if (line.find_first_of("0123456789") != std::string::npos) return true;
    for (const char* glyph : {"┼", "┴", "┬", "１", "２", "３", "４", "５", "６", "７", "８", "９", "・", "○", "●"}) {
        if (Contains(line, glyph)) return true;
    }
    return false;
}

void ReadTextBoard(Engine& e, bool blackFirstSetting, DecodedRecord* source) {
    const std::string original = e.recordText;

    // The layout of the labels: rows begin with a two-byte label when the text has a bottom label "01" at
    // a line start or a column header; they end with one when "01" ends a line.
    const std::size_t cellStart = (Contains(original, "\r\n01") || Contains(original, "**")) ? 2 : 0;
    const std::size_t rightLabel = Contains(original, "01\r\n") ? 2 : 0;

    std::string text = original + kCrLf + "abc";
    while (Contains(text, "\r\n\r\n")) ReplaceAll(text, "\r\n\r\n", kCrLf);
    text = WithoutStretches(WithoutStretches(text, '<', '>'), '(', ')');

    // The rows: one block of board-row lines; the first other line after it ends the diagram, so that a
    // footnote line or a second diagram is not read as more rows.
    std::vector<ReadRow> rows;
    std::string notes;
    std::size_t at = 0;
    while (at < text.size() && static_cast<int>(rows.size()) < kMaxRows) {
        std::size_t end = text.find(kCrLf, at);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(at, end - at);
        at = end + 2;
        if (!IsBoardRow(line)) {
            if (rows.empty()) continue;
            break;
        }
        std::size_t cut = line.find(' ', 5);
        if (cut == std::string::npos) cut = line.find("　", 5);
        std::string cells = line.substr(0, std::min(cut, line.size()));
        if (cut != std::string::npos) {
            const std::string note = LeftTrimmed(line.substr(cut));
            if (!note.empty()) notes += kCrLf + note;
        }
        cells = cells.size() > cellStart ? cells.substr(cellStart) : std::string();
        if (cells.size() >= rightLabel + 2 && rightLabel > 0) cells.resize(cells.size() - rightLabel);
        rows.push_back({cells});
    }

    e.NewRecord();
    const int rowCount = static_cast<int>(rows.size());
    const int columns = rows.empty() ? 0 : std::min(static_cast<int>(rows[0].cells.size() / 2), kMaxColumns);

    // The region: a corner diagram shows the open grid at its inner edge.
    enum class Region { Whole, TopRight, BottomLeft, BottomRight } region = Region::Whole;
    if (columns > 0) {
        const std::string& first = rows[0].cells;
        if (IsOpenCell(first.data())) {
            region = Region::BottomRight;
        } else if (IsOpenCell(first.data() + 2 * (columns - 1))) {
            region = Region::BottomLeft;
        }
        if (rows.back().cells.size() >= 2 && IsOpenCell(rows.back().cells.data())) region = Region::TopRight;
    }
    int size = 19;
    if (region == Region::Whole && (rowCount == 13 || rowCount == 9 || rowCount == 7 || rowCount == 6)) {
        size = rowCount;
    }

    // The cells: stones become setup entries, numbers moves.
    std::vector<std::pair<PointCode, int>> stones;  // point, colour * 1000 + mark kind
    std::map<int, PointCode> moves;                 // number -> point
    for (int j = 0; j < rowCount; ++j) {
        const std::string& cells = rows[static_cast<std::size_t>(j)].cells;
        for (int i = 0; i < columns && static_cast<std::size_t>(2 * i + 1) < cells.size(); ++i) {
            const int value = DecodeBoardCell(cells.data() + 2 * i);
            if (value == 0) continue;
            int col = i + 1;
            int row = j + 1;
            if (region == Region::TopRight || region == Region::BottomRight) col = i - columns + 20;
            if (region == Region::BottomLeft || region == Region::BottomRight) row = j - rowCount + 20;
            if (col < 1 || col > size || row < 1 || row > size) continue;
            const PointCode p = MakePoint(col, row);
            if (value >= 1000) {
                stones.emplace_back(p, value);
            } else {
                moves[value] = p;
            }
        }
    }

    bool blackFirst = blackFirstSetting;
    const bool anyBlack = std::any_of(stones.begin(), stones.end(), [](const auto& s) { return s.second < 5000; });
    const bool anyWhite = std::any_of(stones.begin(), stones.end(), [](const auto& s) { return s.second >= 5000; });
    if (anyBlack && !anyWhite) blackFirst = false;  // as after handicap stones
    if (Contains(original, "kurosaki")) {
        blackFirst = true;
    } else if (Contains(original, "sirosaki")) {
        blackFirst = false;
    }

    // The record as SGF, read by the SGF reader like any other record.
    std::string sgf = "(;GM[1]FF[1]SZ[" + std::to_string(size) + "]";
    std::string lists[2];
    std::string marks[6];
    for (auto s = stones.rbegin(); s != stones.rend(); ++s) {
        const std::string point = "[" + SgfPointText(s->first) + "]";
        lists[s->second < 5000 ? 0 : 1] += point;
        const int kind = s->second % 1000;
        if (kind >= 1 && kind <= 6) marks[kind - 1] = point + marks[kind - 1];
    }
    if (!lists[0].empty()) sgf += std::string(kCrLf) + "AB" + lists[0];
    if (!lists[1].empty()) sgf += std::string(kCrLf) + "AW" + lists[1];
    static const char* const markNames[] = {"SQ", "ST", "CR", "RT", "TR", "LO"};
    for (int k = 0; k < 6; ++k) {
        if (!marks[k].empty()) sgf += std::string(kCrLf) + markNames[k] + marks[k];
    }
    const int highest = moves.empty() ? 0 : moves.rbegin()->first;
    if (highest == 0 && !blackFirst) sgf += "NE[W]";
    if (highest > 0) sgf += kCrLf;
    for (int n = 1; n <= highest; ++n) {
        const bool black = (n % 2 == 1) == blackFirst;
        const auto found = moves.find(n);
        sgf += std::string(black ? ";B[" : ";W[") + (found == moves.end() ? "tt" : SgfPointText(found->second)) + "]";
        if (n % 10 == 0 || n == highest) sgf += kCrLf;
    }
    sgf += ")";
    if (source) {
        // The notes keep the characters of the text's own table.
        source->text = std::move(sgf);
        LoadDecodedRecord(e, std::move(*source));
    } else {
        LoadRecordText(e, sgf);
    }

    // The counts and the notes replace the game summary.
    const int setup = e.setupCount;
    if (setup == 0) {
        e.summaryPrefix = " MainMoves：";
    } else {
        e.summaryPrefix = std::string("++ ") + (e.blackFirst ? "●" : "○") + " ++ | AdvanceMoves：" +
                          std::to_string(setup) + " | MainMoves：";
    }
    e.messages().SetText(e.summaryPrefix + std::to_string(e.lineEnd - setup) + kCrLf + notes);
    e.summaryText = e.messages().Text();
}

std::string DiagramTextAsSgf(const std::string& text) {
    const std::size_t head = text.find("<<DiaData=");
    if (head == std::string::npos || Contains(text, "(;")) return text;
    const std::size_t start = head + 10;
    const std::size_t end = text.find(">>", start);
    std::string inner = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    // The first colour is a mark of its own in a diagram; as SGF it is the colour to play.
    const bool whiteFirst = Contains(inner, "/<SiroSaki>/");
    ReplaceAll(inner, "/<SiroSaki>/", "");
    const std::size_t moves = inner.find(';');
    if (whiteFirst && moves == std::string::npos) inner += "NE[W]";
    return "(;" + inner + ")";
}

PastedKind LoadPastedText(Engine& e, DecodedRecord pasted, bool blackFirstSetting) {
    if (Contains(pasted.text, ";") || Contains(pasted.text, "<<DiaData=")) {
        pasted.text = DiagramTextAsSgf(pasted.text);
        LoadDecodedRecord(e, std::move(pasted));
        return PastedKind::Sgf;
    }
    if (Contains(pasted.text, "１") || Contains(pasted.text, "●")) {
        e.recordText = WithCrLf(pasted.text);
        ReadTextBoard(e, blackFirstSetting, &pasted);
        return PastedKind::TextBoard;
    }
    e.messages().SetText(kNoDatasToRead);
    return PastedKind::Unreadable;
}

PastedKind LoadPastedText(Engine& e, const std::string& bytes, bool blackFirstSetting) {
    DecodedRecord decoded = DecodeRecordBytes(bytes);
    if (!decoded.converted) decoded.text = bytes;
    return LoadPastedText(e, std::move(decoded), blackFirstSetting);
}

std::string ConvertChatBoardData(const std::string& text) {
    static const std::string marker = "---碁盤データ---";
    const std::size_t m = text.find(marker);
    if (Contains(text, "SZ[") || m == std::string::npos) return text;
    std::string out = text.substr(0, m + marker.size());
    out.reserve(text.size());
    const auto digit = [&text](std::size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
    for (std::size_t i = m + marker.size(); i < text.size(); ++i) {
        out += text[i];
        if (text[i] != '[' || !digit(i + 1) || !digit(i + 2)) continue;
        const std::size_t digits = digit(i + 3) ? 3 : 2;
        if (digit(i + 1 + digits)) continue;  // a longer number is no point code
        const int code = std::stoi(text.substr(i + 1, digits));
        const int col = code / kGridWidth;
        const int row = code % kGridWidth;
        if (col < 1 || col > 19 || row < 1 || row > 19) continue;
        out += kSgfLetters[col];
        out += kSgfLetters[row];
        i += digits;
    }
    return out;
}

}  // namespace quorvel
