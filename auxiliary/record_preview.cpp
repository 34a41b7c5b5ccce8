#include "auxiliary/record_preview.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "auxiliary/secondary_board.h"
#include "formats/record_encoding.h"
#include "formats/sgf_scan.h"

namespace quorvel {
namespace {

// What the scan of the main line collects before the board size is known.
struct MainLineFacts {
    std::string size, black, white, date, result;
    bool haveSize = false, haveBlack = false, haveWhite = false, haveDate = false, haveResult = false;
    std::vector<std::string> blackSetup, whiteSetup;
    bool haveBlackSetup = false, haveWhiteSetup = false;
    std::vector<std::string> moves;
    int firstMoveColour = 0;
};

// The text without its line breaks, so that a property split over two lines reads as one.
std::string WithoutLineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c != '\r' && c != '\n') out += c;
    }
    return out;
}

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }

// Reads one value starting at the "[" at i; i ends after its "]". False when the value never closes. The
// second byte of a two-byte character (in the record's charset) is text, even where it looks like "\\" or "]".
bool ReadValue(const std::string& t, std::size_t& i, std::string& value) {
    value.clear();
    for (++i; i < t.size(); ++i) {
        if (sgf::IsLeadByte(static_cast<unsigned char>(t[i])) && i + 1 < t.size()) {
            value += t[i];
            value += t[++i];
        } else if (t[i] == '\\' && i + 1 < t.size()) {
            value += t[++i];
        } else if (t[i] == ']') {
            ++i;
            return true;
        } else {
            value += t[i];
        }
    }
    return false;
}

void TakeFirst(const std::string& value, std::string& slot, bool& have) {
    if (have) return;
    slot = value;
    have = true;
}

void Collect(MainLineFacts& f, const std::string& id, const std::vector<std::string>& values) {
    if (values.empty()) return;
    if (id == "SZ") TakeFirst(values[0], f.size, f.haveSize);
    else if (id == "PB") TakeFirst(values[0], f.black, f.haveBlack);
    else if (id == "PW") TakeFirst(values[0], f.white, f.haveWhite);
    else if (id == "DT") TakeFirst(values[0], f.date, f.haveDate);
    else if (id == "RE") TakeFirst(values[0], f.result, f.haveResult);
    else if (id == "AB" && !f.haveBlackSetup) {
        f.blackSetup = values;
        f.haveBlackSetup = true;
    } else if (id == "AW" && !f.haveWhiteSetup) {
        f.whiteSetup = values;
        f.haveWhiteSetup = true;
    } else if (id == "B" || id == "W") {
        f.moves.push_back(values[0]);
        if (f.firstMoveColour == kEmpty) f.firstMoveColour = id == "B" ? kBlack : kWhite;
    }
}

// The ")" that closes each "(" of the game outside values, found in one pass so that a deeply nested
// record is still read in linear time. Values are stepped over whole: a bracket or a parenthesis in a
// comment counts for nothing.
class VariationGroups {
public:
    VariationGroups(const std::string& t, std::size_t start) : t_(t) {
        std::vector<std::size_t> open;
        std::string value;
        for (std::size_t i = start; i < t.size();) {
            if (t[i] == '[') {
                if (!ReadValue(t, i, value)) break;
                continue;
            }
            if (t[i] == '(') {
                open.push_back(closes_.size());
                closes_.emplace_back(i, std::string::npos);
            } else if (t[i] == ')' && !open.empty()) {
                closes_[open.back()].second = i;
                open.pop_back();
            }
            ++i;
        }
    }

    // Where the group of variations opened at i ends: after its ")" and after the sibling groups that
    // follow it; npos when one never closes.
    std::size_t AfterGroups(std::size_t i) const {
        while (i < t_.size() && t_[i] == '(') {
            const auto at = std::lower_bound(closes_.begin(), closes_.end(), std::make_pair(i, std::size_t{0}));
            if (at == closes_.end() || at->first != i || at->second == std::string::npos) return std::string::npos;
            i = at->second + 1;
            while (i < t_.size() && (t_[i] == ' ' || t_[i] == '\t')) ++i;
        }
        return i;
    }

private:
    const std::string& t_;
    std::vector<std::pair<std::size_t, std::size_t>> closes_;  // "(" and its ")", in text order
};

// Walks the main line from the game's "(". Variations come in two layouts. Nested: the main line goes on in
// the first variation at each branch, and ends at the first ")" outside a value. Inline (the program's
// own): the variations stand in the line before the move they are alternatives to, and the line goes on
// with ";" after them. A group of variations followed by ";" is therefore stepped over, any other is
// entered. Property names are read whole, so "TB", "TW", "PB" or "AB" never count as moves and a comment's
// text is never searched.
MainLineFacts ScanMainLine(const std::string& t, std::size_t start) {
    MainLineFacts f;
    std::size_t i = start + 1;
    std::vector<std::string> values;
    std::string value;
    const VariationGroups groups(t, start);
    while (i < t.size() && t[i] != ')') {
        const char c = t[i];
        if (c == '(') {
            const std::size_t after = groups.AfterGroups(i);
            i = after != std::string::npos && after < t.size() && t[after] == ';' ? after : i + 1;
            continue;
        }
        if (!IsUpper(c)) {
            ++i;
            continue;
        }
        std::string id;
        while (i < t.size() && (IsUpper(t[i]) || IsLower(t[i]))) {
            if (IsUpper(t[i])) id += t[i];
            ++i;
        }
        values.clear();
        while (i < t.size()) {
            while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
            if (i >= t.size() || t[i] != '[') break;
            if (!ReadValue(t, i, value)) return f;
            values.push_back(value);
        }
        Collect(f, id, values);
    }
    return f;
}

// The letters "a" onward stand for 1 up to the board size, each letter on its own; a pair with a letter
// beyond the board is no point.
PointCode PreviewPoint(const std::string& letters, int boardSize) {
    return letters.size() == 2 ? sgf::BoardPoint(letters[0], letters[1], boardSize) : kPass;
}

// Where the game starts: the first "(" followed by its first node (";"), or by a property when the root
// node's ";" is missing, as in some older files.
std::size_t GameStart(const std::string& t) {
    for (std::size_t open = t.find('('); open != std::string::npos; open = t.find('(', open + 1)) {
        std::size_t k = open + 1;
        while (k < t.size() && (t[k] == ' ' || t[k] == '\t')) ++k;
        if (k < t.size() && (t[k] == ';' || IsUpper(t[k]))) return open;
    }
    return std::string::npos;
}

int PreviewSize(const MainLineFacts& f) {
    if (!f.haveSize) return 19;
    for (int size : {13, 9, 7, 6}) {
        if (f.size == std::to_string(size)) return size;
    }
    return 19;
}

void AddSetup(RecordPreview& p, const std::vector<std::string>& values, int colour) {
    for (const std::string& v : values) {
        // A group that is not two letters ends the run, as a compressed list would.
        if (v.size() != 2) return;
        if (static_cast<int>(p.points.size()) >= kPreviewEntries) return;
        const PointCode point = PreviewPoint(v, p.boardSize);
        if (point == 0) continue;
        p.points.push_back(MakeStone(colour, point));
        p.setupCount += 1;
    }
}

void PlayPreview(RecordPreview& p) {
    p.board = EmptyBoardGrid(p.boardSize);
    for (int k = 0; k < p.setupCount; ++k) p.board[StonePoint(p.points[k])] = StoneColour(p.points[k]);
    for (int k = 1; k <= p.moveCount; ++k) {
        const PointCode point = p.points[p.setupCount + k - 1];
        if (point == 0) continue;
        p.board[point] = ((k % 2 == 1) == p.blackFirst) ? kBlack : kWhite;
        CaptureChainsAround(p.board, point);
    }
}

std::string Score(const std::string& s) {
    if (!s.empty() && s[0] == '0') return "半目";
    const std::size_t dot = s.find('.');
    if (dot != std::string::npos) return s.substr(0, dot) + " 目半";
    return s + " 目";
}

}  // namespace

RecordPreview PreviewOfFileBytes(const std::string& bytes) {
    DecodedRecord decoded = DecodeRecordBytes(bytes);
    // The program's text, whatever the CA names: scanned as Shift-JIS, as the reader reads it.
    RecordPreview preview = ScanPreviewAs(decoded.converted ? decoded.text : bytes, sgf::Charset::kShiftJis);
    preview.foreign = std::move(decoded.foreign);
    return preview;
}

std::string PreviewMemoUtf8(const RecordPreview& preview) {
    std::string lines;
    for (const std::string& line : preview.lines) lines += (lines.empty() ? "" : "\n") + line;
    return UnicodeToUtf8(Cp932ToUnicode(lines, &preview.foreign));
}

std::string PreviewResultText(const std::string& v) {
    if (v.empty()) return v;
    if (v[0] == '-') return "勝負不明";
    if (v[0] == '0') return "持碁";
    if (v[0] != 'B' && v[0] != 'W') return v;
    const bool black = v[0] == 'B';
    if (black && v.size() > 1 && v[1] == 'W') return "持碁";
    // "B+" alone names the winner and nothing more.
    if (v.size() < 3) return black ? "黒勝" : "白勝";
    if (v[2] == 'R') return black ? "黒中押勝" : "白中押勝";
    return std::string(black ? "黒 " : "白 ") + Score(v.substr(2)) + "勝";
}

RecordPreview ScanRecordPreview(const std::string& source) { return ScanPreviewAs(source, std::nullopt); }

RecordPreview ScanPreviewAs(const std::string& source, std::optional<sgf::Charset> charsetOfText) {
    RecordPreview p;
    if (source.size() < 5) return p;
    const std::string text = WithoutLineBreaks(source);
    const std::size_t start = GameStart(text);
    if (start == std::string::npos) return p;
    const sgf::CharsetScope charset(charsetOfText ? *charsetOfText : sgf::RecordCharset(text));
    const MainLineFacts f = ScanMainLine(text, start);

    p.boardSize = PreviewSize(f);
    AddSetup(p, f.blackSetup, kBlack);
    AddSetup(p, f.whiteSetup, kWhite);
    p.blackFirst = f.firstMoveColour != kWhite;
    for (const std::string& m : f.moves) {
        if (static_cast<int>(p.points.size()) >= kPreviewEntries) break;
        p.points.push_back(PreviewPoint(m, p.boardSize));
    }
    while (static_cast<int>(p.points.size()) > p.setupCount && p.points.back() == 0) p.points.pop_back();
    p.moveCount = static_cast<int>(p.points.size()) - p.setupCount;
    PlayPreview(p);

    if (f.haveBlack) p.lines.push_back("● " + f.black);
    if (f.haveWhite) p.lines.push_back("○ " + f.white);
    if (f.haveDate) p.lines.push_back("日付 ： " + f.date);
    if (f.haveResult) p.lines.push_back("結果 ： " + PreviewResultText(f.result));
    std::string count = "手数 ： " + std::to_string(p.moveCount);
    if (p.setupCount > 0) count += "  |  前配置 ： " + std::to_string(p.setupCount);
    p.lines.push_back(count);
    return p;
}

bool IsPreviewedName(const std::string& fileName) {
    const std::size_t slash = fileName.find_last_of('/');
    const std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    if (name.size() < 2) return false;
    return name.find(".sgf", 1) != std::string::npos || name.find(".SGF", 1) != std::string::npos;
}

bool ReadPreviewFile(const std::string& path, std::string& text) {
    text.clear();
    // Opening without blocking: a pipe with no writer would otherwise hold the dialog.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0 ||
        static_cast<std::size_t>(st.st_size) > kPreviewFileLimit) {
        ::close(fd);
        return false;
    }
    text.resize(static_cast<std::size_t>(st.st_size));
    std::size_t used = 0;
    while (used < text.size()) {
        const ssize_t n = ::read(fd, &text[used], text.size() - used);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        used += static_cast<std::size_t>(n);
    }
    ::close(fd);
    text.resize(used);
    return true;
}

}  // namespace quorvel
