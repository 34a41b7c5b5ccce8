#include "formats/sgf_reader.h"

#include <algorithm>
#include <functional>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "formats/game_summary.h"
#include "formats/nested_variations.h"
#include "formats/record_encoding.h"
#include "formats/sgf_normalise.h"
#include "formats/sgf_scan.h"
#include "formats/sgf_writer.h"

namespace quorvel {
namespace {

using sgf::kNone;

// Where a slot of the branch table that could not be stored would have been.
constexpr int kDropped = -1;

// A decimal number: an optional sign and digits, nothing else.
std::optional<int> ParseDecimal(std::string_view s) {
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    if (i == s.size() || s.size() - i > 9) return std::nullopt;
    int value = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return std::nullopt;
        value = value * 10 + (s[i] - '0');
    }
    return negative ? -value : value;
}

// ---- First occurrences of the root properties ----

enum RootName {
    kSZ, kAB, kAW, kSQ, kST, kCR, kRT, kTR, kLO, kMA, kLB, kPB, kPW, kBR, kWR, kHA, kDT, kRE, kKM, kPC, kEV, kGN,
    kRO, kTM, kOP, kOM, kNE, kGO, kAS, kRootNameCount
};
constexpr const char* kRootNames[kRootNameCount] = {"SZ", "AB", "AW", "SQ", "ST", "CR", "RT", "TR", "LO", "MA",
                                                    "LB", "PB", "PW", "BR", "WR", "HA", "DT", "RE", "KM", "PC",
                                                    "EV", "GN", "RO", "TM", "OP", "OM", "NE", "GO", "AS"};

// The position of the first "XX[" of every root property name, found in one pass over the brackets of
// the text instead of one search of the whole text per name.
struct RootProperties {
    std::array<std::size_t, kRootNameCount> at;

    // From the first two-letter properties the normalisation found.
    explicit RootProperties(const std::array<std::size_t, sgf::kTwoLetterNames>& firstProperty) {
        for (int n = 0; n < kRootNameCount; ++n) {
            at[n] = firstProperty[sgf::TwoLetterIndex(kRootNames[n][0], kRootNames[n][1])];
        }
    }

    explicit RootProperties(std::string_view t) {
        at.fill(kNone);
        // Which name, if any, two letters make: uppercase letters only, 26 x 26 entries.
        static const std::array<signed char, sgf::kTwoLetterNames> kNameOf = [] {
            std::array<signed char, sgf::kTwoLetterNames> table;
            table.fill(-1);
            for (int n = 0; n < kRootNameCount; ++n) table[sgf::TwoLetterIndex(kRootNames[n][0], kRootNames[n][1])] = n;
            return table;
        }();
        int missing = kRootNameCount;
        for (std::size_t p = sgf::FindTwoLetterProperty(t, 2); p != kNone && missing > 0;
             p = sgf::FindTwoLetterProperty(t, p + 3)) {
            if (p > 0 && sgf::IsUpperLetter(t[p - 1])) continue;  // the tail of a longer name
            const int n = kNameOf[sgf::TwoLetterIndex(t[p], t[p + 1])];
            if (n >= 0 && at[n] == kNone) {
                at[n] = p;
                --missing;
            }
        }
    }

    // The properties of the root node are the first of their names, wherever the names stand as text
    // inside its values; a name found only inside a root value is looked for again after the root.
    void TakeRootNode(std::string_view t, const sgf::WalkedNode& rootNode) {
        std::array<bool, kRootNameCount> inRoot{};
        for (const sgf::ValueSpan& v : rootNode.values) {
            if (v.name.size() != 2) continue;
            for (int n = 0; n < kRootNameCount; ++n) {
                if (!inRoot[n] && v.name == kRootNames[n]) {
                    inRoot[n] = true;
                    at[n] = v.open - 2;
                }
            }
        }
        for (int n = 0; n < kRootNameCount; ++n) {
            if (!inRoot[n] && at[n] != kNone && at[n] < rootNode.end) {
                at[n] = sgf::FindProperty(t, kRootNames[n], rootNode.end);
            }
        }
    }

    // The value of the first occurrence of a name: from after "[" to the next "]"; nullopt when the
    // property is missing, has no end or is empty.
    std::optional<std::string_view> Value(std::string_view t, RootName n) const {
        if (at[n] == kNone) return std::nullopt;
        const std::size_t start = at[n] + 3;
        const std::size_t end = sgf::FindValueEnd(t, start);
        if (end == kNone || end == start) return std::nullopt;
        return t.substr(start, end - start);
    }
};

// ---- Root properties ----

int SizeFromValue(std::optional<std::string_view> v) {
    if (v == "13") return 13;
    if (v == "9") return 9;
    if (v == "7") return 7;
    if (v == "6") return 6;
    return 19;
}

void ReadSetupList(Engine& e, std::string_view t, std::size_t at, int colour) {
    if (at == kNone) return;
    std::size_t p = at + 2;
    while (p + 3 < t.size() && t[p] == '[' && t[p + 3] == ']') {
        const PointCode point = sgf::BoardPoint(t[p + 1], t[p + 2], e.boardSize);
        if (point != kPass && e.setupCount < kMaxLineEntries) {
            const int k = ++e.setupCount;
            e.lineMoves[k] = point;
            e.board[point] = colour;
            e.setupList[k] = MakeStone(colour, point);
        }
        p += 4;
        if (p >= t.size() || t[p] == ')') break;
        if (t[p] != '[') p += 1;  // one separator byte between items
    }
}

void ReadMarks(Engine& e, std::string_view t, std::size_t at, int kind) {
    if (at == kNone) return;
    for (std::size_t p = at + 2; p + 3 < t.size() && t[p] == '[' && t[p + 3] == ']'; p += 4) {
        const PointCode point = sgf::BoardPoint(t[p + 1], t[p + 2], e.boardSize);
        if (point != kPass) e.markGrid[point] = kind + 1000 * e.board[point];
    }
}

// Labels "[xy:L]": only the letters A to G have a mark kind (9 to 15).
void ReadLabels(Engine& e, std::string_view t, std::size_t at) {
    if (at == kNone) return;
    for (std::size_t p = at + 2; p + 5 < t.size() && t[p] == '[' && t[p + 5] == ']'; p += 6) {
        const PointCode point = sgf::BoardPoint(t[p + 1], t[p + 2], e.boardSize);
        const int kind = static_cast<unsigned char>(t[p + 4]) - 56;
        if (point != kPass && kind >= 9 && kind <= 15) e.markGrid[point] = kind + 1000 * e.board[point];
    }
}

std::string HandicapText(int n) {
    if (n == 1) return "定 先";
    if (n < 2 || n > 29) return "互 先";
    return std::to_string(n) + " 子局";
}

std::string ResultText(std::string_view v) {
    const auto at = [&v](std::size_t i) { return i < v.size() ? v[i] : '\0'; };
    if (at(0) == '-') return "勝負不明";
    if (at(0) == '0') return "持碁";
    if (at(0) == 'B' && at(1) == 'W') return "持碁";
    if (at(0) == 'B' && at(2) == 'R') return "黒中押勝";
    if (at(0) == 'W' && at(2) == 'R') return "白中押勝";
    if (at(0) != 'B' && at(0) != 'W') return std::string(v);
    std::string margin;
    const std::string_view rest = v.size() > 2 ? v.substr(2) : std::string_view();
    if (at(2) == '0') {
        margin = "半目";
    } else if (const std::size_t dot = rest.find('.'); dot != std::string_view::npos) {
        margin = std::string(rest.substr(0, dot)) + " 目半";
    } else {
        margin = std::string(rest) + " 目";
    }
    return (at(0) == 'B' ? "黒 " : "白 ") + margin + "勝";
}

std::string DateText(std::string_view v) {
    if (v.size() <= 10) return std::string(v);
    return std::string(v.substr(0, v[8] == ' ' ? 9 : 11));
}

// A game-information value as text, its escapes read.
void SetSlot(std::string& slot, std::optional<std::string_view> v) {
    if (!v) return;
    std::string text = sgf::UnescapeValue(*v);
    if (!text.empty()) slot = std::move(text);
}

// Where a text's first "C[" of the root comment stands and where its "]" is; nullopt when the root has
// no comment.
struct Span {
    std::size_t start = 0;  // "C["
    std::size_t end = 0;    // one past the closing "]"
};

// The root node's comment (the first "C" among its properties).
std::optional<Span> FindRootComment(const sgf::WalkedNode& rootNode) {
    const sgf::ValueSpan* c = rootNode.Find("C");
    if (!c || c->close == c->open + 1) return std::nullopt;
    return Span{c->open - 1, c->close + 1};
}

// The root node: from the first ";" of the text up to the next node or variation outside its values.
sgf::WalkedNode WalkRootNode(std::string_view t) {
    const std::size_t root = sgf::FindByte(t, ';', 0);
    if (root == kNone) return sgf::WalkedNode{{}, t.size()};
    return sgf::WalkNodeValues(t, root + 1);
}

// ---- The move tree ----

// Reads the move tree from recordText into the branch table. parseOffset is `pos_`: the rest of the
// text is never copied, and every search looks only as far as the point it is compared with.
class MoveTreeReader {
public:
    // `doubleClose`: sgf::HasDoubleClose of the text, whether a variation is closed right before its
    // parent (the mark of standard nesting).
    MoveTreeReader(Engine& e, std::string_view t, bool doubleClose, const std::vector<CommentSpan>* plainComments)
        : e_(e),
          t_(t),
          doubleClose_(doubleClose),
          plainComments_(plainComments),
          semicolon_(t, ';'),
          close_(t, ')'),
          black_(t, "B"),
          white_(t, "W") {
        setupStones_ = e.setupCount;
        mainMoveEnd_.assign(kLineSlots, 0);
        mainHeadComment_.assign(kLineSlots, CommentRef{});
    }

    void Read() {
        e_.branchOrigin[0] = MakeOrigin(setupStones_, 0, 0);
        // A reload reads into the tables of the last read: comments joined into the main line's are
        // made again.
        e_.branchComments[0].fill(CommentRef{});
        e_.hiddenCommentInHead = CommentRef{};
        e_.unshownMoves = e_.unshownVariations = 0;
        // The root node.
        const std::size_t root = sgf::FindByte(t_, ';', 0);
        if (root == kNone) return;
        // The root's own values may hold any byte: the search for the first move node starts after it.
        pos_ = std::max(rootEnd_, root + 1);
        standardNesting_ = doubleClose_;

        std::size_t first = semicolon_.From(pos_);
        if (first == kNone) {
            SetHeaderText(t_.size());
            return;
        }
        const std::size_t open = FindGroupOpen(pos_, first);
        if (open != kNone) first = open;
        pos_ = first;
        SetHeaderText(pos_);

        ReadBranch(0, 0);
        e_.blackFirst = HeaderBlackFirst(e_.branchMoves[0][0]) ? 1 : 0;

        // Further trees and top-level alternatives: each an alternative to the first move.
        for (std::size_t open2 = FindGroupOpen(pos_); open2 != kNone; open2 = FindGroupOpen(pos_)) {
            pos_ = SkipBlanks(open2 + 1) + 1;
            ReadBranch(NewBranch(MakeOrigin(setupStones_, 0, 0), 0), 1);
        }
        if (standardNesting_) MergeNestedVariations(e_, inlineVariation_);
        DropEmptyBranches();
        // A variation that starts after the last move of another can only continue it: the inline layout
        // can leave one, and so can an empty first variation in the nested layout. Each round merges at
        // least one branch away.
        while (HasVariationAfterTheEndOfAVariation()) {
            MergeContinuations(e_, kLastBranch, true);
            DropEmptyBranches();
        }
        PromoteFirstAlternative(e_);
        e_.blackFirst = HeaderBlackFirst(e_.branchMoves[0][0]) ? 1 : 0;
        for (int k = 1; k <= e_.BranchLength(0) && setupStones_ + k <= kMaxLineEntries; ++k) {
            e_.lineMoves[setupStones_ + k] = e_.branchMoves[0][k];
        }
    }

    void SetRootComment(std::optional<Span> span) { rootComment_ = span; }
    void SetRootEnd(std::size_t end) { rootEnd_ = end; }
    // Where the properties stand that the writer writes into the head from the game information.
    void SetWrittenByHead(std::vector<std::size_t> at) { writtenByHead_ = std::move(at); }
    // Where the root's comments other than the first stand (their "C"), in the order of the text.
    void SetOtherRootComments(std::vector<std::size_t> at) { otherRootComments_ = std::move(at); }

    // With an AS property the first main-line moves are background entries; they stay in headerText as
    // they were written, up to the end of the last hidden move's node.
    // Their comments are written there as the writer writes comments (line breaks as "___", one more
    // where a comment begins or ends with one), so that the next reading finds them as they are now.
    void ExtendHeaderTextOverHiddenMoves() {
        const int hidden = e_.mainLineOffset;
        if (hidden <= 0 || hidden > mainMovesKept_) return;
        const std::size_t from = headerEnd_;
        const std::size_t end = mainMoveEnd_[hidden];
        SetHeaderText(from);
        AppendNodesWithWrittenComments(e_.headerText, from, end);
        headerEnd_ = end;
        e_.hiddenCommentInHead = mainHeadComment_[static_cast<std::size_t>(hidden)];
    }

private:
    // A variation without a move (an empty node, or setup stones alone) has nothing to step through and
    // is not kept; it cannot have variations of its own, which start after a move.
    void DropEmptyBranches() {
        int kept = 0;
        std::vector<int> newIndex(e_.branchCount + 1, 0);
        for (int b = 1; b <= e_.branchCount; ++b) {
            if (e_.BranchLength(b) == 0) {
                // A variation of nothing but a comment: the comment is said after the move it leaves from.
                const int parent = OriginParent(e_.branchOrigin[b]);
                const int move = OriginMove(e_.branchOrigin[b]);
                CommentRef& at = e_.branchComments[newIndex[parent]][static_cast<std::size_t>(move)];
                const CommentRef& own = e_.branchComments[b][0];
                if (parent != 0 && newIndex[parent] == 0) continue;
                if (e_.KeepsGroups(own) && (move > 0 || (parent == 0 && e_.mainLineOffset == 0))) {
                    e_.SetKeptGroups(at, e_.KeptGroups(at) + e_.KeptGroups(own));
                } else {
                    at = e_.JoinComments({at, own});
                }
                continue;
            }
            newIndex[b] = ++kept;
            if (kept == b) continue;
            e_.branchOrigin[kept] = e_.branchOrigin[b];
            e_.branchMoves[kept] = e_.branchMoves[b];
            e_.branchComments[kept] = e_.branchComments[b];
        }
        for (int b = 1; b <= kept; ++b) {
            const int origin = e_.branchOrigin[b];
            const int parent = OriginParent(origin);
            if (parent != 0) e_.branchOrigin[b] = MakeOrigin(OriginBase(origin), newIndex[parent], OriginMove(origin));
        }
        e_.branchCount = kept;
    }

    bool HasVariationAfterTheEndOfAVariation() const {
        for (int b = 1; b <= e_.branchCount; ++b) {
            const int parent = OriginParent(e_.branchOrigin[b]);
            const int move = OriginMove(e_.branchOrigin[b]);
            // On the main line, move 0 is an alternative to its first move, not its end.
            if ((parent != 0 || move > 0) && move >= e_.BranchLength(parent)) return true;
        }
        return false;
    }

    // headerText: the text before the first move node, without the root comment.
    void SetHeaderText(std::size_t end) {
        headerEnd_ = end;
        std::string header(t_.substr(0, end));
        // A further comment of the root was its game comment (GC), renamed for the search: it stays GC.
        for (std::size_t k = otherRootComments_.size(); k-- > 0;) {
            if (otherRootComments_[k] < end) header.insert(otherRootComments_[k], 1, 'G');
        }
        if (rootComment_ && rootComment_->end <= end) {
            header.erase(rootComment_->start, rootComment_->end - rootComment_->start);
        }
        e_.headerText = std::move(header);
    }

    // The nodes in [from, end) walked value by value, each comment value in its written form.
    void AppendNodesWithWrittenComments(std::string& out, std::size_t from, std::size_t end) const {
        std::string_view name;
        std::size_t i = from;
        while (i < end) {
            const char c = t_[i];
            if (c != '[') {
                if (sgf::IsUpperLetter(c)) {
                    std::size_t j = i;
                    while (j < end && sgf::IsUpperLetter(t_[j])) ++j;
                    name = t_.substr(i, j - i);
                    out.append(t_, i, j - i);
                    i = j;
                    continue;
                }
                if (!IsBlank(c)) name = std::string_view();
                out += c;
                ++i;
                continue;
            }
            const bool comment = name == "C";
            std::size_t close = comment ? sgf::FindKeptCommentEnd(t_, i + 1) : sgf::FindValueEnd(t_, i + 1);
            if (close == kNone || close >= end) close = end - 1;
            if (comment && t_[close] == ']') {
                out += '[';
                out += CommentValue(std::string(t_.substr(i + 1, close - i - 1)), true);
                out += ']';
            } else {
                out.append(t_, i, close + 1 - i);
            }
            i = close + 1;
        }
    }

    // Where the group "(" .. ")" opened at `open` ends (one past its ")"), or kNone when it never closes.
    // Every group's end is found in one pass, its nodes walked value by value, the first time one is
    // asked for: a line nested in thousands of groups asks for each of them.
    std::size_t GroupEnd(std::size_t open) {
        if (!groupEndsKnown_) {
            groupEndsKnown_ = true;
            std::vector<std::size_t> opens;
            for (std::size_t i = 0; i < t_.size();) {
                const char c = t_[i];
                if (c == ';') {
                    i = sgf::WalkNodeValues(t_, i + 1).end;
                    continue;
                }
                if (c == '(') {
                    opens.push_back(i);
                } else if (c == ')' && !opens.empty()) {
                    groupEnds_.emplace_back(opens.back(), i + 1);
                    opens.pop_back();
                }
                ++i;
            }
            std::sort(groupEnds_.begin(), groupEnds_.end());
        }
        const auto it = std::lower_bound(groupEnds_.begin(), groupEnds_.end(), std::make_pair(open, std::size_t{0}));
        return it != groupEnds_.end() && it->first == open ? it->second : kNone;
    }

    std::size_t SkipBlanks(std::size_t i) const {
        while (i < t_.size() && IsBlank(t_[i])) ++i;
        return i;
    }

    // The next "(" in [from, limit) that opens a group: a ";" after it, blanks allowed between.
    std::size_t FindGroupOpen(std::size_t from, std::size_t limit = kNone) const {
        for (std::size_t p = sgf::FindByte(t_, '(', from, limit); p != kNone; p = sgf::FindByte(t_, '(', p + 1, limit)) {
            const std::size_t q = SkipBlanks(p + 1);
            if (q < t_.size() && t_[q] == ';') return p;
        }
        return kNone;
    }

    // A new slot of the branch table, or kDropped when the table is full: further branches are read but
    // not kept, so that no slot ever holds the moves of two branches.
    int NewBranch(int origin, int depth) {
        if (e_.branchCount >= kLastBranch) return kDropped;
        const int b = ++e_.branchCount;
        e_.branchOrigin[b] = origin;
        e_.branchMoves[b].fill(0);
        e_.branchMoves[b][0] = MakeHeader(depth, kBlack, 0);
        e_.branchComments[b].fill(CommentRef{});
        return b;
    }

    // The reference to a comment text in the record text.
    CommentRef StoreCommentAt(std::size_t valueStart, std::size_t end) {
        // The text stays where it is: references below commentPoolBase point into recordText.
        return CommentRef{valueStart, end - valueStart};
    }

    // A comment "C[" before `limit`: its text goes to the pool and the rest is cut after its "]". Further
    // comments of the same node are joined to it, and the rest is cut after the last.
    CommentRef ReadComment(std::size_t limit) {
        const std::size_t c = sgf::FindProperty(t_, "C", pos_, limit);
        if (c == kNone) return CommentRef{};
        std::size_t end = sgf::FindKeptCommentEnd(t_, c + 2);
        if (end == kNone) end = t_.size();
        std::vector<CommentRef> parts{StoreCommentAt(c + 2, end)};
        if (end < t_.size()) end = CollectComments(end + 1, std::min(limit, t_.size()), parts);
        pos_ = std::min(end + 1, t_.size());
        return JoinComments(parts);
    }

    // The comments (the first values of properties "C") of the rest of a node from `from`, a property's
    // start, up to `limit`, appended to `parts`; the last one's "]", or the bracket before `from`.
    std::size_t CollectComments(std::size_t from, std::size_t limit, std::vector<CommentRef>& parts) {
        return CollectComments(sgf::WalkNodeValues(t_, from), limit, from - 1, parts);
    }

    // The same for the values of a walked node; `last` when it holds none.
    std::size_t CollectComments(const sgf::WalkedNode& node, std::size_t limit, std::size_t last,
                                std::vector<CommentRef>& parts) {
        for (const sgf::ValueSpan& v : node.values) {
            if (v.close >= limit) break;
            // The first value of a property "C" (a further value has no name of its own), closed.
            if (v.name == "C" && t_[v.open - 1] == 'C' && t_[v.close] == ']') {
                parts.push_back(StoreCommentAt(v.open + 1, v.close));
                last = v.close;
            }
        }
        return last;
    }

    CommentRef JoinComments(const std::vector<CommentRef>& parts) { return e_.JoinComments(parts); }

    std::size_t NodeEnd() {
        const std::size_t semi = semicolon_.From(pos_);
        const std::size_t close = close_.From(pos_);
        return std::min(semi, close);
    }

    struct Frame {
        int branch = kDropped;  // kDropped for a branch that is read but not kept
        int depth = 0;
        int base = 0;      // entries before the branch's first move
        int capacity = 0;  // moves the branch can keep
        // Where the line goes on past what the branch can keep: the node of its first move not kept.
        std::size_t tailStart = kNone;
        // A variation the table has no room for: its "(" and the slot (branch, move) whose variations it
        // is kept with as read; no slot when it lies inside another such variation.
        std::size_t open = kNone;
        int keptWithBranch = kDropped;
        int keptWithMove = 0;
        bool blackFirst = true;
        int moves = 0;   // moves read
        int stored = 0;  // moves kept
        bool afterMove = false;
        // Groups the line's first move stands in, whose ")" are still to come after the line's own.
        int owedCloses = 0;
        // Variations of the line's first move (read after the line, beside it); with `besideOnly` the frame
        // reads only these, the next at `nextBeside`, and then goes on at `resume`.
        std::vector<std::size_t> beside;
        bool besideOnly = false;
        std::size_t nextBeside = 0;
        std::size_t resume = 0;
        // The variations read since the line's last node: a node after them makes them variations of
        // that node's move, as the inline layout writes them, rather than the line's continuation.
        std::vector<int> run;
    };

    Frame StartBranch(int b, int depth) {
        Frame f;
        f.branch = b;
        f.depth = depth;
        f.base = b == 0 ? setupStones_ : (b == kDropped ? kMaxLineEntries : OriginBase(e_.branchOrigin[b]));
        f.capacity = std::max(kMaxLineEntries - f.base, 0);
        FindLineStart(f);
        const std::size_t end = close_.From(pos_);
        std::size_t black = black_.From(pos_);
        if (black != kNone && end != kNone && black > end) black = kNone;
        const std::size_t white = sgf::FindProperty(t_, "W", pos_, black != kNone ? black : end);
        f.blackFirst = !(white != kNone && (black == kNone || white < black));
        if (b != kDropped) e_.branchMoves[b][0] = MakeHeader(depth, f.blackFirst ? kBlack : kWhite, 0);
        return f;
    }

    // A variation whose first nodes hold no move may go on in a group nested in it, and groups before its
    // first move node, or beside the one it goes on in, are variations of its first move: they replace the
    // same move of the parent line and are read after the line, beside it. Moves the rest of the text to
    // the line's first move node; the comment of a node before it is the comment before the line.
    void FindLineStart(Frame& f) {
        std::size_t i = pos_ > 0 && t_[pos_ - 1] == ';' ? pos_ - 1 : pos_;
        // Most variations start with their move.
        if (i + 2 < t_.size() && t_[i] == ';' && (t_[i + 1] == 'B' || t_[i + 1] == 'W') && t_[i + 2] == '[') return;
        std::vector<CommentRef> beforeParts;
        std::string keptBefore;  // the nodes before the first move, ";" between them
        for (;;) {
            i = SkipBlanks(i);
            if (i >= t_.size()) break;
            if (t_[i] == ';') {
                const sgf::WalkedNode node = sgf::WalkNodeValues(t_, i + 1);
                if (node.Find("B") || node.Find("W")) break;
                CollectComments(node, kNone, 0, beforeParts);
                std::string nodeKeeps;
                AppendKept(nodeKeeps, node);
                if (!nodeKeeps.empty()) keptBefore += (keptBefore.empty() ? "" : ";") + nodeKeeps;
                i = node.end;
                continue;
            }
            if (t_[i] != '(') break;
            std::vector<std::size_t> groups;
            std::size_t after = i;
            while (after < t_.size() && t_[after] == '(') {
                const std::size_t end = GroupEnd(after);
                if (end == kNone) break;
                groups.push_back(after);
                after = SkipBlanks(end);
            }
            if (groups.empty()) break;
            if (after < t_.size() && t_[after] == ';') {
                // Before the line's next node, as the inline layout writes them.
                f.beside.insert(f.beside.end(), groups.begin(), groups.end());
                i = after;
            } else {
                // At the end: the line goes on in the first. (The others are passed over again when its
                // ")" is taken.)
                f.beside.insert(f.beside.end(), groups.begin() + 1, groups.end());
                f.owedCloses += 1;
                i = groups.front() + 1;
            }
        }
        if (i == pos_ || (i + 1 == pos_ && t_[i] == ';')) return;
        const std::size_t lineOpen = pos_ > 0 ? t_.rfind('(', pos_ - 1) : kNone;
        pos_ = i;
        if (f.branch == kDropped) return;
        CommentRef& before = e_.branchComments[f.branch][0];
        if (!beforeParts.empty()) before = JoinComments(beforeParts);
        e_.SetKeptText(before, keptBefore);
        // A variation without a move that holds more than words (setup stones of a review, marks) has no
        // line of its own to keep it: its group goes, as read, with the move it leaves from.
        if (i < t_.size() && t_[i] == ')' && !keptBefore.empty() && lineOpen != kNone && f.branch > 0) {
            const std::size_t end = GroupEnd(lineOpen);
            if (end == i + 1) e_.SetKeptGroups(before, std::string(t_.substr(lineOpen, end - lineOpen)));
        }
    }

    // Nodes without a move right after a move's node: the variations after them are variations after
    // that move, and their comments are said after it too, joined to its own.
    void SkipNodesWithoutMove(const Frame& f, bool afterVariations) {
        const std::size_t next = SkipBlanks(pos_);
        if (next < t_.size() && t_[next] == ';') pos_ = next;
        const bool kept = f.branch != kDropped && f.stored == f.moves && f.stored > 0;
        // The nodes right after the move's node, and those after variations of it.
        std::vector<CommentRef> adjacentParts;
        std::vector<CommentRef> laterParts;
        std::size_t& moveEnd = mainMoveEnd_[static_cast<std::size_t>(std::max(f.stored, 0))];
        while (pos_ + 2 < t_.size() && t_[pos_] == ';' && !((t_[pos_ + 1] == 'B' || t_[pos_ + 1] == 'W') && t_[pos_ + 2] == '[')) {
            const sgf::WalkedNode node = sgf::WalkNodeValues(t_, pos_ + 1);
            if (node.Find("B") || node.Find("W")) break;
            CollectComments(node, kNone, 0, afterVariations ? laterParts : adjacentParts);
            if (!afterVariations) {
                std::string nodeKeeps;
                AppendKept(nodeKeeps, node);
                if (!nodeKeeps.empty()) {
                    TakeKeptSpan();
                    keptOfMove_ += ";" + nodeKeeps;
                }
            }
            // A main-line move's node ends, for a head that keeps hidden moves, after the last value of
            // the nodes that follow it right away.
            if (kept && f.branch == 0 && !afterVariations && !node.values.empty() &&
                node.values.back().close < t_.size() && t_[node.values.back().close] == ']') {
                moveEnd = node.values.back().close + 1;
            }
            pos_ = SkipBlanks(node.end);
        }
        std::string keptText;
        keptText.swap(keptOfMove_);
        const CommentRef keptSpan = keptSpanOfMove_;
        keptSpanOfMove_ = CommentRef{};
        if (!kept) return;
        CommentRef& said = e_.branchComments[f.branch][f.stored];
        if (!afterVariations && !keptText.empty()) e_.SetKeptText(said, keptText);
        if (!afterVariations && keptSpan.IsSet()) e_.SetKeptSpan(said, keptSpan);
        if (!adjacentParts.empty()) {
            adjacentParts.insert(adjacentParts.begin(), said);
            said = JoinComments(adjacentParts);
            if (f.branch == 0) mainHeadComment_[static_cast<std::size_t>(f.stored)] = said;
        }
        if (!laterParts.empty()) {
            laterParts.insert(laterParts.begin(), said);
            said = JoinComments(laterParts);
        }
    }

    // After the line's own ")": the ")" of the groups it went on in, past the variations beside them.
    void TakeOwedCloses(Frame& f) {
        for (; f.owedCloses > 0; --f.owedCloses) {
            pos_ = SkipBlanks(pos_);
            while (pos_ < t_.size() && t_[pos_] == '(') {
                const std::size_t end = GroupEnd(pos_);
                if (end == kNone) break;
                pos_ = SkipBlanks(end);
            }
            if (pos_ < t_.size() && t_[pos_] == ')') ++pos_;
        }
    }

    // The frame of a line whose moves are read: it becomes the reader of the variations beside the line,
    // or goes.
    void EndLine(std::vector<Frame>& stack) {
        Frame& f = stack.back();
        FinishBranch(f);
        TakeOwedCloses(f);
        if (f.beside.empty()) {
            stack.pop_back();
            return;
        }
        f.besideOnly = true;
        f.resume = pos_;
    }

    // Reads branch b and, without recursion, every branch nested in it.
    void ReadBranch(int b, int depth) {
        std::vector<Frame> stack;
        stack.push_back(StartBranch(b, depth));
        while (!stack.empty()) {
            Frame& f = stack.back();
            if (f.besideOnly) {
                if (f.nextBeside == f.beside.size()) {
                    pos_ = std::max(pos_, f.resume);
                    stack.pop_back();
                    continue;
                }
                const std::size_t besideOpen = f.beside[f.nextBeside++];
                pos_ = besideOpen + 1;
                // Beside the main line: alternatives to its first move.
                const int depthBeside = f.branch == 0 ? 1 : f.depth;
                const int sibling = f.branch == kDropped ? kDropped : NewBranch(e_.branchOrigin[f.branch], depthBeside);
                // A variation of a variation's first move that the table cannot hold is kept with the move
                // the variation leaves from.
                const int origin = f.branch > 0 ? e_.branchOrigin[f.branch] : 0;
                const bool keptAsRead = sibling == kDropped && f.branch > 0 && OriginMove(origin) > 0;
                // (`f` goes with the push.)
                stack.push_back(StartBranch(sibling, depthBeside));
                if (keptAsRead) {
                    KeepWith(stack.back(), besideOpen, OriginParent(origin), OriginMove(origin));
                }
                continue;
            }
            if (!f.afterMove) {
                if (f.moves > 0) {
                    const int read = f.moves;
                    ReadPlainRun(f);
                    // After the run's last move, as after any other: nodes without a move, variations.
                    if (f.moves > read) {
                        f.afterMove = true;
                        continue;
                    }
                }
                if (!ReadMove(f)) {
                    EndLine(stack);
                    continue;
                }
                f.afterMove = true;
            }
            const bool afterVariations = !f.run.empty();
            if (!f.run.empty()) {
                const std::size_t next = SkipBlanks(pos_);
                if (next < t_.size() && t_[next] == ';') {
                    for (const int v : f.run) inlineVariation_[static_cast<std::size_t>(v)] = true;
                }
                if (next >= t_.size() || t_[next] != '(') f.run.clear();
            }
            SkipNodesWithoutMove(f, afterVariations);
            // Sub-branches after this move: each "(" before the next ";" and ")". Standing on a ";", "(" or
            // ")" (as after a walked node) the answer is that byte.
            const char here = pos_ < t_.size() ? t_[pos_] : '\0';
            const bool atStructure = here == ';' || here == '(' || here == ')';
            const std::size_t open =
                atStructure ? (here == '(' ? pos_ : kNone) : sgf::FindByte(t_, '(', pos_, NodeEnd());
            if (open != kNone) {
                int child = kDropped;
                if (f.branch != kDropped && f.stored == f.moves && f.base + f.stored < kMaxLineEntries) {
                    child = NewBranch(MakeOrigin(f.base + f.stored, f.branch, f.stored), f.depth + 1);
                }
                const int childDepth = f.depth + 1;
                if (child != kDropped) f.run.push_back(child);
                const bool keptAsRead = child == kDropped && f.branch != kDropped && f.stored == f.moves && f.stored > 0;
                const int parent = f.branch;
                const int parentMove = f.stored;
                // Cut after the "(": a variation without a move must not be found again.
                pos_ = open + 1;
                stack.push_back(StartBranch(child, childDepth));
                if (keptAsRead) KeepWith(stack.back(), open, parent, parentMove);
                continue;
            }
            f.afterMove = false;
            if (here == ';') continue;  // the next node, before any ")"
            const std::size_t semi = semicolon_.From(pos_);
            const std::size_t close = close_.From(pos_);
            if (semi == kNone || (close != kNone && close < semi)) {
                if (semi != kNone) pos_ = close + 1;
                EndLine(stack);
            }
        }
    }

    static void KeepWith(Frame& f, std::size_t open, int branch, int move) {
        f.open = open;
        f.keptWithBranch = branch;
        f.keptWithMove = move;
    }

    // A variation the table cannot hold goes with the move it leaves from, as read.
    void KeepDroppedGroup(const Frame& f) {
        if (f.keptWithBranch == kDropped || f.open == kNone) return;
        const std::size_t end = GroupEnd(f.open);
        if (end == kNone) return;
        CommentRef& slot = e_.branchComments[f.keptWithBranch][f.keptWithMove];
        e_.SetKeptGroups(slot, e_.KeptGroups(slot) + std::string(t_.substr(f.open, end - f.open)));
    }

    // The moves of a line past what its branch can keep go, as read, with its last kept move.
    void KeepTail(const Frame& f) {
        if (f.tailStart == kNone || f.stored == 0) return;
        std::size_t end = pos_ > 0 && t_[pos_ - 1] == ')' ? pos_ - 1 : close_.From(pos_);
        if (end == kNone) end = t_.size();
        if (end <= f.tailStart) return;
        CommentRef& slot = e_.branchComments[f.branch][f.stored];
        e_.SetKeptText(slot, e_.KeptText(slot) + std::string(t_.substr(f.tailStart, end - f.tailStart)));
    }

    void FinishBranch(const Frame& f) {
        // What the table cannot hold is counted, so that the load can say what the windows do not show.
        if (f.branch == kDropped) {
            if (f.moves > 0) e_.unshownVariations += 1;
            KeepDroppedGroup(f);
            return;
        }
        e_.unshownMoves += f.moves - f.stored;
        KeepTail(f);
        int& header = e_.branchMoves[f.branch][0];
        header = MakeHeader(f.depth, f.blackFirst ? kBlack : kWhite, f.stored);
    }

    // Moves one after another in their plainest form, as most of a record is written: ";B[xy]" right here,
    // then at most a comment whose end the normalisation found, then the next ";". They are read in a
    // tight loop, each exactly as the general steps below would read it; the run stops before anything
    // else (a variation, the line's end, times, another property), which the general steps then read.
    void ReadPlainRun(Frame& f) {
        const char* t = t_.data();
        const std::size_t n = t_.size();
        // The frame's fields in locals: the stores into the tables below could otherwise be taken to
        // change them.
        int moves = f.moves;
        int stored = f.stored;
        const int branch = f.branch;
        const int capacity = f.capacity;
        const bool blackFirst = f.blackFirst;
        const int boardSize = e_.boardSize;
        LineArray* movesRow = branch != kDropped ? &e_.branchMoves[branch] : nullptr;
        CommentArray* commentsRow = branch != kDropped ? &e_.branchComments[branch] : nullptr;
        std::size_t p = pos_;
        for (;;) {
            const bool blackToPlay = ((moves & 1) == 0) == blackFirst;
            if (p + 6 >= n || t[p] != ';' || t[p + 1] != (blackToPlay ? 'B' : 'W') || t[p + 2] != '[') break;
            const char x = t[p + 3];
            const char y = t[p + 4];
            if (x == ']' || y == ']' || static_cast<unsigned char>(x) >= 0x80 || static_cast<unsigned char>(y) >= 0x80 ||
                t[p + 5] != ']') {
                break;
            }
            std::size_t q = p + 6;
            std::size_t lastBracket = p + 5;
            CommentRef comment;
            if (t[q] == 'C' && t[q + 1] == '[') {
                const std::size_t end = KnownCommentEnd(q);
                if (end == kNone) break;
                comment = StoreCommentAt(q + 2, end);
                lastBracket = end;
                q = end + 1;
            }
            if (q >= n || t[q] != ';') break;
            moves += 1;
            if (branch != kDropped && stored == capacity && f.tailStart == kNone) f.tailStart = p;
            if (branch != kDropped && stored < capacity && stored + 1 == moves) {
                stored += 1;
                (*movesRow)[static_cast<std::size_t>(stored)] = sgf::BoardPoint(x, y, boardSize);
                (*commentsRow)[static_cast<std::size_t>(stored)] = comment;
                if (branch == 0) {
                    mainHeadComment_[static_cast<std::size_t>(stored)] = comment;
                    mainMoveEnd_[static_cast<std::size_t>(stored)] = lastBracket + 1;
                    mainMovesKept_ = stored;
                }
            }
            p = q;
        }
        f.moves = moves;
        f.stored = stored;
        pos_ = p;
    }

    // Steps 1 to 5 of one move: false when the line has no further move of the expected colour.
    bool ReadMove(Frame& f) {
        commentsBeforeMove_.clear();
        moveNodeStart_ = kNone;
        const bool blackToPlay = (f.moves % 2 == 0) == f.blackFirst;
        std::size_t move;
        if (f.moves > 0 && pos_ + 2 < t_.size() && t_[pos_] == ';' && t_[pos_ + 1] == (blackToPlay ? 'B' : 'W') &&
            t_[pos_ + 2] == '[') {
            // The next node starts with the move looked for: the search would find it right here.
            move = pos_ + 1;
        } else if (!FindNextMove(f, blackToPlay, move)) {
            return false;
        }
        return ReadMoveAt(f, blackToPlay, move);
    }

    // The next move of the expected colour by searching for it, with the comment before a line's first
    // move: false when the line has no further move.
    bool FindNextMove(Frame& f, bool blackToPlay, std::size_t& move) {
        sgf::NextProperty& finder = blackToPlay ? black_ : white_;
        const std::size_t entry = pos_;  // where a node starts
        // The line ends at its ")": a move found beyond it would belong to another variation or game, and
        // taking it would swallow the variations in between.
        const std::size_t end = close_.From(pos_);
        const auto endsHere = [&](std::size_t found) {
            if (found != kNone && (end == kNone || found < end)) return false;
            if (end != kNone) pos_ = end + 1;  // the line's ")" is read with it
            return true;
        };
        move = finder.From(pos_);
        if (f.moves == 0 && (move == kNone || (end != kNone && end < move))) {
            // A line without a move may still hold a comment node: it stays the comment before the line.
            const CommentRef before = ReadComment(end);
            if (f.branch != kDropped && before.IsSet()) e_.branchComments[f.branch][0] = before;
        }
        if (endsHere(move)) return false;
        if (f.moves == 0) {
            // A comment in a node before the move's own node stands before the line.
            const std::size_t node = NodeStartBefore(entry, move);
            const CommentRef before = ReadComment(node != kNone ? node : move);
            if (f.branch != kDropped && before.IsSet()) e_.branchComments[f.branch][0] = before;
            if (before.IsSet()) {
                move = finder.From(pos_);
                if (endsHere(move)) return false;
            }
        }
        // The move's own node may hold its comment before the move.
        const std::size_t node = NodeStartBefore(entry, move);
        moveNodeStart_ = node;
        if (node != kNone) {
            const std::size_t c = sgf::FindProperty(t_, "C", std::max(pos_, node + 1), move);
            if (c != kNone) {
                const std::size_t cEnd = sgf::FindKeptCommentEnd(t_, c + 2);
                if (cEnd != kNone && cEnd < move) {
                    commentsBeforeMove_.assign(1, StoreCommentAt(c + 2, cEnd));
                    CollectComments(cEnd + 1, move, commentsBeforeMove_);
                }
            }
        }
        return true;
    }

    // The ";" that opens the node of a move found at `move`, walking the nodes from `from` value by value (a ";" or bracket inside a value is text); kNone when a bracket of the layout comes
    // first.
    std::size_t NodeStartBefore(std::size_t from, std::size_t move) const {
        // (The rest may start right after the ";" of a variation's first node, or at the "(" of the main
        // line.)
        std::size_t i = from > 0 && t_[from - 1] == ';' ? from - 1 : from;
        if (i < move && t_[i] == '(') ++i;
        while (i < move) {
            while (i < move && IsBlank(t_[i])) ++i;
            if (i >= move || t_[i] != ';') return kNone;
            const std::size_t end = sgf::WalkNodeValues(t_, i + 1).end;
            if (end > move) return i;
            i = end;
        }
        return kNone;
    }

    // Whether a node keeps the property `name` at `at` as read: moves and comments are the record's own, and
    // the game information the writer writes into the head.
    bool Keeps(std::string_view name, std::size_t at) const {
        if (name == "C" || name == "B" || name == "W") return false;
        return std::find(writtenByHead_.begin(), writtenByHead_.end(), at) == writtenByHead_.end();
    }

    // The properties other than comments that the move's node holds before the move (at `move`).
    std::string KeptBefore(std::size_t move) const {
        std::string kept;
        if (moveNodeStart_ != kNone) AppendKept(kept, sgf::WalkNodeValues(t_, moveNodeStart_ + 1), move);
        return kept;
    }

    // The values of a walked node before `limit`, each property with its name, but for comments and moves.
    void AppendKept(std::string& out, const sgf::WalkedNode& node, std::size_t limit = kNone) const {
        bool keep = false;
        for (const sgf::ValueSpan& v : node.values) {
            if (v.close >= limit || v.close >= t_.size() || t_[v.close] != ']') break;
            const bool first = sgf::IsUpperLetter(t_[v.open - 1]);
            if (first) {
                keep = Keeps(v.name, v.open - v.name.size());
                if (keep) out.append(v.name.data(), v.name.size());
            }
            if (keep) out.append(t_, v.open, v.close + 1 - v.open);
        }
    }

    // Steps 2 to 5 of one move, found at `move`: its point, its times, its comment.
    bool ReadMoveAt(Frame& f, bool blackToPlay, std::size_t move) {
        f.moves += 1;
        const bool keep = f.branch != kDropped && f.stored < f.capacity && f.stored + 1 == f.moves;
        if (f.branch != kDropped && f.stored == f.capacity && f.tailStart == kNone) {
            f.tailStart = moveNodeStart_ != kNone ? moveNodeStart_ : t_.rfind(';', move);
        }
        const std::size_t value = move + 2;
        PointCode point = kPass;
        std::size_t close = kNone;
        if (value + 1 < t_.size() && t_[value] != ']' && t_[value + 1] != ']') {
            point = sgf::BoardPoint(t_[value], t_[value + 1], e_.boardSize);
            // Two ASCII letters and the bracket: the usual move needs no search for its end.
            if (value + 2 < t_.size() && t_[value + 2] == ']' && static_cast<unsigned char>(t_[value]) < 0x80 &&
                static_cast<unsigned char>(t_[value + 1]) < 0x80) {
                close = value + 2;
            }
        }
        if (close == kNone) close = sgf::FindValueEnd(t_, value);
        pos_ = close == kNone ? t_.size() : close;
        Node node;
        const bool walked = close != kNone && WalkNode(close + 1, node);
        if (keep) {
            f.stored += 1;
            e_.branchMoves[f.branch][f.stored] = point;
            if (f.branch == 0) {
                if (walked) {
                    // A node without times leaves them at zero, and the byo-yomi count looks only at moves
                    // with a time left.
                    const std::size_t left = blackToPlay ? node.bl : node.wl;
                    if (node.tl != kNone || left != kNone) ReadTimes(setupStones_ + f.stored, blackToPlay, node.tl, left);
                } else {
                    const std::size_t nodeEnd = NodeEnd();
                    ReadTimes(setupStones_ + f.stored, blackToPlay, sgf::FindProperty(t_, "TL", pos_, nodeEnd),
                              sgf::FindProperty(t_, blackToPlay ? "BL" : "WL", pos_, nodeEnd));
                }
            }
        }
        CommentRef comment;
        std::size_t lastBracket = pos_;
        if (walked) {
            if (node.comment != kNone) {
                comment = StoreCommentAt(node.comment + 2, node.commentEnd);
                lastBracket = node.commentEnd;
                if (node.moreComments) {
                    std::vector<CommentRef> parts{comment};
                    lastBracket = CollectComments(node.commentEnd + 1, node.end, parts);
                    comment = JoinComments(parts);
                }
            }
            pos_ = node.end;
        } else {
            comment = ReadComment(NodeEnd());
            if (comment.IsSet()) lastBracket = pos_ - 1;
        }
        if (!commentsBeforeMove_.empty()) {
            if (comment.IsSet()) commentsBeforeMove_.push_back(comment);
            comment = JoinComments(commentsBeforeMove_);
        }
        keptOfMove_ = KeptBefore(move);
        keptSpanOfMove_ = CommentRef{};
        if (walked && node.keptFrom != kNone) {
            // Most often what a node keeps stands together in the text: the record points at it there.
            if (keptOfMove_.empty() && node.kept.empty()) {
                keptSpanOfMove_ = CommentRef{node.keptFrom, node.keptTo - node.keptFrom};
            } else {
                keptOfMove_ += node.kept.empty() ? std::string(t_.substr(node.keptFrom, node.keptTo - node.keptFrom)) : node.kept;
            }
        }
        if (keep) {
            e_.branchComments[f.branch][f.stored] = comment;
            if (f.branch == 0) {
                mainHeadComment_[f.stored] = comment;
                mainMoveEnd_[f.stored] = lastBracket + 1;
                mainMovesKept_ = f.stored;
            }
        }
        return true;
    }

    // The end of a comment starting at `c` when the normalisation found it already, or kNone. The reader
    // meets comments in the order of the text, so one cursor goes through the list once.
    std::size_t KnownCommentEnd(std::size_t c) {
        if (!plainComments_) return kNone;
        const std::vector<CommentSpan>& spans = *plainComments_;
        while (commentCursor_ < spans.size() && spans[commentCursor_].start < c) ++commentCursor_;
        // A comment is asked for once: the cursor goes on past it. A comment asked for out of order is
        // not found here and is searched for.
        return commentCursor_ < spans.size() && spans[commentCursor_].start == c ? spans[commentCursor_++].end : kNone;
    }

    // The properties of a node after its move, found by walking them one by one from `from`: a node
    // holds few, and each value is passed over by one search for its "]". False when the node is not
    // plain SGF (a name of small letters, a value without its end); the searches then read it.
    struct Node {
        std::size_t comment = kNone;  // "C["
        std::size_t commentEnd = 0;   // its "]"
        bool moreComments = false;    // a further "C[" after it
        std::size_t tl = kNone, bl = kNone, wl = kNone;
        std::size_t end = 0;  // the ";", "(" or ")" after the node, or the text's end
        // Every other property but a move, as it stands: [keptFrom, keptTo) of the text while they stand
        // together, else copied into `kept`.
        std::size_t keptFrom = kNone;
        std::size_t keptTo = 0;
        std::string kept;
    };

    bool WalkNode(std::size_t from, Node& node) {
        const std::size_t n = t_.size();
        std::size_t i = from;
        for (;;) {
            while (i < n && IsBlank(t_[i])) ++i;
            if (i == n || t_[i] == ';' || t_[i] == '(' || t_[i] == ')') {
                node.end = i;
                return true;
            }
            std::size_t j = i;
            while (j < n && j - i < 8 && sgf::IsUpperLetter(t_[j])) ++j;
            if (j == i || j == n || t_[j] != '[') return false;
            const std::string_view name = t_.substr(i, j - i);
            // Every value of the property: "[..]" after "[..]", blanks allowed between.
            std::size_t end = j == i + 1 && t_[i] == 'C' ? KnownCommentEnd(i) : kNone;
            if (end == kNone) end = name == "C" ? sgf::FindKeptCommentEnd(t_, j + 1) : sgf::FindValueEnd(t_, j + 1);
            if (end == kNone) return false;
            if (name == "C") {
                if (node.comment == kNone) {
                    node.comment = i;
                    node.commentEnd = end;
                } else {
                    node.moreComments = true;
                }
            } else if (name == "TL") {
                if (node.tl == kNone) node.tl = i;
            } else if (name == "BL") {
                if (node.bl == kNone) node.bl = i;
            } else if (name == "WL") {
                if (node.wl == kNone) node.wl = i;
            }
            for (;;) {
                std::size_t k = end + 1;
                while (k < n && IsBlank(t_[k])) ++k;
                if (k == n || t_[k] != '[') break;
                end = sgf::FindValueEnd(t_, k + 1);
                if (end == kNone) return false;
            }
            if (Keeps(name, i)) {
                if (node.keptFrom == kNone) {
                    node.keptFrom = i;
                } else if (node.keptTo != i && node.kept.empty()) {
                    // Something not kept stands between: from here on the kept values are copied.
                    node.kept.assign(t_, node.keptFrom, node.keptTo - node.keptFrom);
                }
                if (!node.kept.empty()) node.kept.append(t_, i, end + 1 - i);
                node.keptTo = end + 1;
            }
            i = end + 1;
        }
    }

    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    // TL and the mover's BL or WL of a main-line node (where they start, or kNone), and the byo-yomi count
    // of the mover.
    void ReadTimes(int entry, bool black, std::size_t tl, std::size_t left) {
        if (tl != kNone) {
            // The value runs to the first "," or " :"; one that ran past the "]" would not be a number.
            const std::size_t valueEnd = sgf::FindByte(t_, ']', tl + 3);
            std::size_t end = sgf::FindByte(t_, ',', tl + 3, valueEnd);
            if (end == kNone) end = sgf::FindText(t_, " :", tl + 3, valueEnd);
            if (end != kNone) e_.timeUsed[entry] = ParseDecimal(t_.substr(tl + 3, end - tl - 3)).value_or(0);
        }
        if (left != kNone) {
            const std::size_t end = sgf::FindByte(t_, ']', left + 3);
            const int seconds = end == kNone ? 0 : ParseDecimal(t_.substr(left + 3, end - left - 3)).value_or(0);
            e_.timeLeft[entry] = seconds >= 0 && seconds < 20000000 ? seconds * 100 : 0;
        }
        TrackByoyomi(entry, black ? byoyomiBlack_ : byoyomiWhite_);
    }

    struct Byoyomi {
        int start = 0;  // entry at which the colour entered byo-yomi, 0 = not yet
        int counter = 0;
    };

    // A new period shows as more time left than at the mover's previous move; the moves left in the
    // period are added to the last two digits of timeLeft for display. The count is kept only for a
    // period of 1 to 99 moves (more would spill into the seconds) and for moves that record a time.
    void TrackByoyomi(int entry, Byoyomi& by) {
        const int periodMoves = e_.byoyomiMoves;
        if (entry <= setupStones_ + 2 || periodMoves < 1 || periodMoves > 99 || e_.timeLeft[entry] == 0) return;
        if (e_.timeLeft[entry] > e_.timeLeft[entry - 2]) {
            if (by.start == 0) by.start = entry;
            by.counter = 1;
        } else if (by.start != 0 && by.counter < periodMoves - 1) {
            by.counter += 1;
        }
        if (by.start != 0) e_.timeLeft[entry] += std::max(periodMoves - by.counter, 0);
    }

    Engine& e_;
    std::string_view t_;
    bool doubleClose_;
    const std::vector<CommentSpan>* plainComments_;  // comments whose ends are known, or nullptr
    std::size_t commentCursor_ = 0;
    std::size_t pos_ = 0;  // parseOffset: the rest of the text still to read starts here
    sgf::NextByte semicolon_;
    sgf::NextByte close_;
    sgf::NextProperty black_;
    sgf::NextProperty white_;
    int setupStones_ = 0;
    bool standardNesting_ = false;
    std::size_t headerEnd_ = 0;
    std::vector<std::pair<std::size_t, std::size_t>> groupEnds_;  // "(" and one past its ")", by "("
    bool groupEndsKnown_ = false;
    std::vector<bool> inlineVariation_ = std::vector<bool>(static_cast<std::size_t>(kLastBranch) + 1, false);
    std::optional<Span> rootComment_;
    std::size_t rootEnd_ = 0;  // where the root node ends
    std::vector<CommentRef> commentsBeforeMove_;  // the comments of the move's node that stand before the move
    std::size_t moveNodeStart_ = kNone;           // the ";" of the move's node when it was walked to
    std::vector<std::size_t> writtenByHead_;
    // What the last move's node and the nodes right after it keep, until stored: a span of the text, or
    // a copy when it does not stand together.
    std::string keptOfMove_;
    CommentRef keptSpanOfMove_;

    void TakeKeptSpan() {
        if (!keptSpanOfMove_.IsSet()) return;
        keptOfMove_.insert(0, t_.substr(keptSpanOfMove_.offset, keptSpanOfMove_.length));
        keptSpanOfMove_ = CommentRef{};
    }
    std::vector<std::size_t> otherRootComments_;
    // What the text says of each kept main-line move in its node and the nodes right after it: what a head
    // that keeps the move hidden (AS) holds of its comment.
    std::vector<CommentRef> mainHeadComment_;
    std::vector<std::size_t> mainMoveEnd_;  // one past the last bracket of each kept main-line move's node
    int mainMovesKept_ = 0;
    Byoyomi byoyomiBlack_;
    Byoyomi byoyomiWhite_;
};

// The AS property: the first n entries of the line are background; m is the number of the first
// numbered move.
void ReadAsProperty(Engine& e, const RootProperties& root) {
    const std::optional<std::string_view> v = root.Value(e.recordText, kAS);
    if (!v) return;
    const std::size_t comma = v->find(',');
    if (comma == std::string_view::npos || comma == 0) return;
    const std::optional<int> n = ParseDecimal(v->substr(0, comma));
    const std::optional<int> m = ParseDecimal(v->substr(comma + 1));
    if (!n || !m || *n < 0 || *m < 0 || *n > 500 || *m > 500) return;
    if (e.setupCount < *n) e.mainLineOffset = *n - e.setupCount;
    e.firstMoveNumber = *m;
}

// The earliest main-line move after which a branch starts (0 for an alternative to the first move).
int FirstMainBranchPoint(const Engine& e) {
    int first = kMaxLineEntries + 1;
    for (int b = 1; b <= e.branchCount; ++b) {
        const int origin = e.branchOrigin[b];
        if (OriginParent(origin) == 0) first = std::min(first, OriginMove(origin));
    }
    return first;
}

// With moves hidden by AS, the branches that leave after the last hidden move are alternatives to the
// first move shown. The table keeps them, with their subtrees, after the main line's own subtree, as it
// keeps the alternatives to the first move of a record without AS (and as "ADD" appends them).
void PutFirstShownAlternativesLast(Engine& e) {
    const int place = MakePlace(0, e.mainLineOffset);
    std::vector<int> order{0};
    std::vector<int> later;
    std::vector<int> topOf(static_cast<std::size_t>(e.branchCount) + 1, 0);
    for (int b = 1; b <= e.branchCount; ++b) {
        const int parent = OriginParent(e.branchOrigin[b]);
        const int top = parent == 0 ? b : topOf[static_cast<std::size_t>(parent)];
        topOf[static_cast<std::size_t>(b)] = top;
        (OriginPlace(e.branchOrigin[top]) == place ? later : order).push_back(b);
    }
    if (later.empty()) return;
    order.insert(order.end(), later.begin(), later.end());
    std::vector<int> newIndex(order.size(), 0);
    for (std::size_t n = 0; n < order.size(); ++n) newIndex[static_cast<std::size_t>(order[n])] = static_cast<int>(n);
    const std::vector<LineArray> moves(e.branchMoves.begin(), e.branchMoves.begin() + static_cast<long>(order.size()));
    const std::vector<CommentArray> comments(e.branchComments.begin(),
                                             e.branchComments.begin() + static_cast<long>(order.size()));
    const std::array<int, kMaxBranches> origins = e.branchOrigin;
    for (std::size_t n = 1; n < order.size(); ++n) {
        const int old = order[n];
        const int origin = origins[static_cast<std::size_t>(old)];
        e.branchMoves[n] = moves[static_cast<std::size_t>(old)];
        e.branchComments[n] = comments[static_cast<std::size_t>(old)];
        e.branchOrigin[n] = MakeOrigin(OriginBase(origin), newIndex[static_cast<std::size_t>(OriginParent(origin))],
                                       OriginMove(origin));
    }
}

void FinishRecord(Engine& e) {
    const int moves = e.BranchLength(0);
    // Step 1: AS hides the first moves of the main line. It never hides more moves than there are, nor a
    // move after which a branch leaves: branches may leave after the last hidden move, as alternatives to
    // the first move shown.
    e.mainLineOffset = std::max(std::min({e.mainLineOffset, moves, FirstMainBranchPoint(e)}), 0);
    if (e.mainLineOffset > 0) {
        e.setupCount += e.mainLineOffset;
        if (e.mainLineOffset % 2 == 1) e.blackFirst = e.blackFirst ? 0 : 1;
        PutFirstShownAlternativesLast(e);
    }
}

void ResetReadState(Engine& e) {
    e.mainLineOffset = 0;
    e.firstMoveNumber = 1;
    e.setupCount = 0;
    e.branchCount = 0;
    e.branchMoves[0][0] = MakeHeader(0, kBlack, 0);
    e.commentPool.clear();
    e.ClearKeptNodes();
    e.gameComment = kNoComment;
    e.summaryText = kNoComment;
    e.summaryPrefix.clear();
    e.rootCommentSpan = 0;
    e.info = GameInfo{};
    e.mainTimeSeconds = e.byoyomiSeconds = e.byoyomiMoves = 0;
    e.nextIsBlack = true;
    e.lineMoves.fill(0);
    e.timeUsed.fill(0);
    e.timeLeft.fill(0);
    e.markGrid.fill(0);
}

// The first position of the record (its setup stones), or the end of the main line with AdvanceMoves; the
// empty start position when the record has no entries.
void ShowLoadedRecord(Engine& e) {
    if (e.lineEnd == 0) {
        e.ResetBoard();
        e.messages().SetText(" MainMoves：0");
        return;
    }
    e.ReturnToMainLine();
    if (e.settings.advanceMoves) {
        while (e.currentIndex < e.lineEnd && e.currentIndex < e.moveLimit - 1) e.StepForward();
    }
}

// Where the first move after the root stands: marks from there on belong to moves, not to the start.
std::size_t FirstMoveAfter(std::string_view t, const sgf::WalkedNode& rootNode) {
    return std::min(sgf::FindProperty(t, "B", rootNode.end), sgf::FindProperty(t, "W", rootNode.end));
}

void ReadRootPropertiesFrom(Engine& e, const RootProperties& root, const std::optional<Span>& rootComment,
                            std::size_t firstMove) {
    const std::string_view t = e.recordText;

    const int size = SizeFromValue(root.Value(t, kSZ));
    if (size != e.boardSize) e.ChangeBoardSize(size);

    // Setup stones and marks met first in a move's node (or after it) are that node's: it keeps them. The
    // start position holds those of the nodes before the first move.
    const auto atStart = [&root, firstMove](RootName n) { return root.at[n] < firstMove ? root.at[n] : kNone; };
    e.setupCount = 0;
    ReadSetupList(e, t, atStart(kAB), kBlack);
    ReadSetupList(e, t, atStart(kAW), kWhite);

    const RootName marks[] = {kSQ, kST, kCR, kRT, kTR, kLO, kMA};
    for (int kind = 1; kind <= 7; ++kind) ReadMarks(e, t, atStart(marks[kind - 1]), kind);
    ReadLabels(e, t, atStart(kLB));

    GameInfo& g = e.info;
    SetSlot(g.blackPlayer, root.Value(t, kPB));
    SetSlot(g.whitePlayer, root.Value(t, kPW));
    SetSlot(g.blackRank, root.Value(t, kBR));
    SetSlot(g.whiteRank, root.Value(t, kWR));
    if (const auto ha = root.Value(t, kHA)) {
        if (const std::optional<int> n = ParseDecimal(*ha)) {
            g.handicap = std::string(*ha);
            g.handicapText = HandicapText(*n);
        }
    }
    if (const auto dt = root.Value(t, kDT)) g.date = DateText(*dt);
    if (const auto re = root.Value(t, kRE)) g.resultText = ResultText(*re);
    SetSlot(g.komi, root.Value(t, kKM));
    SetSlot(g.place, root.Value(t, kPC));
    SetSlot(g.event, root.Value(t, kEV));
    SetSlot(g.gameName, root.Value(t, kGN));
    SetSlot(g.round, root.Value(t, kRO));

    if (const auto tm = root.Value(t, kTM)) {
        const int seconds = ParseDecimal(*tm).value_or(0);
        if (seconds > 0) e.mainTimeSeconds = seconds;
    }
    if (const auto op = root.Value(t, kOP)) e.byoyomiSeconds = std::max(ParseDecimal(*op).value_or(0), 0);
    if (const auto om = root.Value(t, kOM)) e.byoyomiMoves = std::max(ParseDecimal(*om).value_or(0), 0);
    if (const auto ne = root.Value(t, kNE)) e.nextIsBlack = (*ne)[0] == 'B';
    if (const auto go = root.Value(t, kGO)) {
        const char c = (*go)[0];
        e.settings.number = c == '0' || c == '1';
        e.settings.advanceMoves = e.settings.number ? c == '1' : c == '3';
    }

    if (const std::optional<Span>& comment = rootComment) {
        const std::string text(t.substr(comment->start + 2, comment->end - 1 - (comment->start + 2)));
        e.gameComment = text;
        e.summaryText = text;
        // The packed span holds only what fits its four decimal places.
        if (comment->end < 10000) e.rootCommentSpan = static_cast<int>(comment->start * 10000 + comment->end);
    }
}

}  // namespace

void ReadRootProperties(Engine& e) {
    RootProperties root(e.recordText);
    const sgf::WalkedNode rootNode = WalkRootNode(e.recordText);
    root.TakeRootNode(e.recordText, rootNode);
    ReadRootPropertiesFrom(e, root, FindRootComment(rootNode), FirstMoveAfter(e.recordText, rootNode));
}

namespace {

// The reading step on e.recordText; `facts` is what the normalisation found out about it, or nullptr.
bool ReadRecordText(Engine& e, const NormaliseFacts* facts) {
    const std::string_view t = e.recordText;
    ResetReadState(e);
    RootProperties root = facts && facts->propertiesKnown ? RootProperties(facts->firstProperty) : RootProperties(t);
    const sgf::WalkedNode rootNode = WalkRootNode(t);
    root.TakeRootNode(t, rootNode);
    const bool doubleClose = facts ? facts->doubleClose : sgf::HasDoubleClose(t);
    const std::vector<CommentSpan>* plainComments = facts ? &facts->plainComments : nullptr;
    const std::optional<Span> rootComment = FindRootComment(rootNode);
    ReadRootPropertiesFrom(e, root, rootComment, FirstMoveAfter(t, rootNode));
    ReadAsProperty(e, root);
    const int setupStones = e.setupCount;

    e.commentPool.clear();
    e.ClearKeptNodes();
    e.commentPoolBase = t.size();
    MoveTreeReader tree(e, t, doubleClose, plainComments);
    tree.SetRootComment(rootComment);
    tree.SetRootEnd(rootNode.end);
    // The game information the writer puts into the head is not kept again in the node it came from.
    tree.SetWrittenByHead({root.at[kSZ], root.at[kPB], root.at[kPW], root.at[kBR], root.at[kWR], root.at[kKM],
                           root.at[kDT], root.at[kGN], root.at[kPC], root.at[kHA]});
    std::vector<std::size_t> otherComments;
    for (const sgf::ValueSpan& v : rootNode.values) {
        // A root comment before its first: a comment whose "C" comes after the comment's start.
        // (A further value of the same "C" has no name of its own.)
        if (v.name == "C" && t[v.open - 1] == 'C' && rootComment && v.open - 1 > rootComment->start) {
            otherComments.push_back(v.open - 1);
        }
    }
    tree.SetOtherRootComments(std::move(otherComments));
    tree.Read();

    FinishRecord(e);
    tree.ExtendHeaderTextOverHiddenMoves();
    const int movesRead = e.BranchLength(0);
    const int entries = setupStones + movesRead;
    if (entries == 0) return false;

    // Passes at the end of the main line are not entries, unless a branch replaces one or they carry a
    // comment: dropping that one would lose its text at the next save.
    int lineEnd = std::min(entries, kMaxLineEntries);
    // A branch replaces the move after the one it leaves at: that move stays too.
    const int lastBranchPoint = [&e, setupStones] {
        int last = 0;
        for (int b = 1; b <= e.branchCount; ++b) {
            if (OriginParent(e.branchOrigin[b]) == 0) last = std::max(last, setupStones + OriginMove(e.branchOrigin[b]) + 1);
        }
        return last;
    }();
    while (lineEnd > std::max(e.setupCount, lastBranchPoint) && e.lineMoves[lineEnd] == kPass &&
           !e.branchComments[0][static_cast<std::size_t>(lineEnd - setupStones)].IsSet()) {
        --lineEnd;
    }
    // The passes left out stay in the record as read, after the last move kept: a save writes them again.
    if (const int lastKept = lineEnd - setupStones; lineEnd < entries && lastKept >= 0) {
        const bool blackFirst = HeaderBlackFirst(e.branchMoves[0][0]);
        std::string passes;
        for (int k = lastKept + 1; k <= movesRead && k < kLineSlots; ++k) {
            passes += (((k % 2) == 1) == blackFirst ? ";B[tt]" : ";W[tt]") + e.KeptText(e.branchComments[0][k]);
        }
        CommentRef& last = e.branchComments[0][static_cast<std::size_t>(lastKept)];
        // Before the first move, the kept nodes are written after a ";" of their own.
        if (lastKept == 0 && !last.IsSet() && !e.KeepsText(last)) passes.erase(0, 1);
        e.SetKeptText(last, e.KeptText(last) + passes);
    }
    e.lineEnd = lineEnd;
    e.loadedBaseCount = e.setupCount;
    e.baseIndex = e.setupCount;
    e.branchOrigin[0] = MakeOrigin(e.setupCount, 0, 0);
    const int mainMoves = e.lineEnd - e.setupCount;
    if (movesRead == 0) e.blackFirst = e.nextIsBlack ? 1 : 0;
    e.branchMoves[0][0] = MakeHeader(0, e.blackFirst ? kBlack : kWhite, mainMoves);

    ShowGameSummary(e);
    const std::string prefix = e.messages().Text();
    if (!prefix.empty()) e.summaryPrefix = prefix;
    std::string shown = e.summaryPrefix;
    if (e.summaryText != kNoComment) {
        if (!shown.empty()) shown += "\r\n";
        shown += e.summaryText;
    } else if (e.setupCount == 0) {
        if (!shown.empty()) shown += "\r\n";
        shown += " MainMoves : " + std::to_string(e.lineEnd);
    } else {
        shown += shown.empty() ? "++ " : "\r\n++ ";
        shown += std::string(e.blackFirst ? "●" : "○") + " ++ | AdvanceMoves：" + std::to_string(e.setupCount) +
                 " | MainMoves：" + std::to_string(e.lineEnd - e.setupCount);
    }
    e.messages().SetText(shown);
    e.summaryText = shown;
    return true;
}

}  // namespace

// TidyHeaderText in the charset of a load already chosen.
void TidyHeaderTextIn(Engine& e);

bool ReadRecord(Engine& e) {
    const sgf::CharsetScope charset(sgf::Charset::kShiftJis);
    return ReadRecordText(e, nullptr);
}

namespace {

// Reads a text in the program's Shift-JIS. `decoded` is what the decision on its bytes gave; without it
// (a reload of the record's own text) the record keeps its encoding and table.
bool LoadProgramText(Engine& e, const std::string& text, DecodedRecord* decoded) {
    if (text.find(';') == std::string::npos) {
        e.messages().SetText("No data to read");
        return false;
    }
    DecodedRecord kept;
    if (!decoded) {
        kept.encoding = e.recordEncoding;
        kept.foreign = *e.foreignCharacters;
        kept.lost = e.lostCharacters;
        decoded = &kept;
    }
    e.messages().Clear();
    // The record's own text has its line breaks already; how the file wrote them stays known.
    const bool ownText = text.data() == e.recordText.data();
    const bool ownLineBreaks = e.commentLineBreaksAsRead;
    e.NewRecord();
    // The table is filled before anything is shown: the windows read it when they convert the texts.
    e.recordEncoding = std::move(decoded->encoding);
    *e.foreignCharacters = std::move(decoded->foreign);
    e.lostCharacters = decoded->lost;
    const sgf::CharsetScope charset(sgf::Charset::kShiftJis);
    // Kept from one load to the next, so that its storage is reused.
    static thread_local NormaliseFacts facts;
    if (ownText) {
        const std::string own = text;  // a reload of the record's own text
        NormaliseRecordTextInto(e.recordText, own, &facts);
    } else {
        NormaliseRecordTextInto(e.recordText, text, &facts);
    }
    ReadRecordText(e, &facts);
    e.commentLineBreaksAsRead = ownText ? ownLineBreaks : !facts.lineBreakCodes;
    e.recordModified = false;
    ShowLoadedRecord(e);
    TidyHeaderTextIn(e);
    // Said once, after the summary: the text shown again at the start position does not repeat it.
    const auto sayOnce = [&e](const std::string& notice) {
        const std::string shown = e.messages().Text();
        e.messages().SetText(shown + (shown.empty() ? "" : "\r\n") + notice);
    };
    if (e.lostCharacters > 0) sayOnce(LostCharactersNotice(e.lostCharacters));
    if (e.unshownMoves > 0 || e.unshownVariations > 0) sayOnce(UnshownNotice(e.unshownMoves, e.unshownVariations));
    return true;
}

}  // namespace

std::string LostCharactersNotice(std::size_t lost) {
    return "※ この棋譜には外字の領域に入りきらない文字があり、" + std::to_string(lost) + " 字を「?」で表示しています。";
}

std::string UnshownNotice(int moves, int variations) {
    std::string notice = "この棋譜は表示できる範囲（1 本の手順に 499 手、分岐 149 本）を超えています。";
    if (moves > 0) notice += "表示していない手：" + std::to_string(moves) + "　";
    if (variations > 0) notice += "表示していない分岐：" + std::to_string(variations);
    return notice;
}

bool LoadRecordText(Engine& e, const std::string& text) {
    if (text.data() == e.recordText.data()) return LoadProgramText(e, text, nullptr);
    DecodedRecord decoded = DecodeRecordBytes(text);
    if (!decoded.converted) return LoadProgramText(e, text, &decoded);
    const std::string converted = std::move(decoded.text);
    return LoadProgramText(e, converted, &decoded);
}

bool LoadDecodedRecord(Engine& e, DecodedRecord decoded) {
    const std::string text = std::move(decoded.text);
    return LoadProgramText(e, text, &decoded);
}

void TidyHeaderText(Engine& e) {
    const sgf::CharsetScope charset(sgf::Charset::kShiftJis);
    TidyHeaderTextIn(e);
}

void TidyHeaderTextIn(Engine& e) {
    // One pass: line breaks between properties go, those inside values are text and stay; on the way the
    // "]" that closes each value and the first ")" outside values are noted.
    const std::string& h = e.headerText;
    std::string tidy;
    tidy.reserve(h.size());
    std::vector<std::size_t> closes;
    std::size_t paren = std::string::npos;
    bool inValue = false;
    for (std::size_t i = 0; i < h.size(); ++i) {
        const char c = h[i];
        if (inValue) {
            if ((sgf::IsLeadByte(static_cast<unsigned char>(c)) || c == '\\') && i + 1 < h.size()) {
                tidy += c;
                tidy += h[++i];
                continue;
            }
            if (c == ']') {
                inValue = false;
                closes.push_back(tidy.size());
            }
        } else if (c == '[') {
            inValue = true;
        } else if (c == '\r' && i + 1 < h.size() && h[i + 1] == '\n') {
            ++i;
            continue;
        } else if (c == ')' && paren == std::string::npos) {
            paren = tidy.size();
        }
        tidy += c;
    }
    // A line break before the first of each setup and mark list, and the brackets of the variation layout
    // go: the first "](" loses its "(" and the first ")" goes. Changes are made from the back, so that
    // none moves the place of another.
    static const char* const kListNames[] = {"AB", "AW", "SQ", "ST", "CR", "RT", "TR", "LO", "MA", "LB"};
    std::vector<std::pair<std::size_t, int>> edits;  // place, 0 line break, 1 erase
    for (const char* name : kListNames) {
        for (const std::size_t at : closes) {
            if (tidy.compare(at + 1, 2, name) == 0) {
                edits.emplace_back(at + 1, 0);
                break;
            }
        }
    }
    // Blanks other than CR LF (a lone line feed) may stand between the "]" and its "(".
    for (const std::size_t at : closes) {
        std::size_t q = at + 1;
        while (q < tidy.size() && (tidy[q] == ' ' || tidy[q] == '\t' || tidy[q] == '\n' || tidy[q] == '\r')) ++q;
        if (q < tidy.size() && tidy[q] == '(') {
            edits.emplace_back(q, 1);
            break;
        }
    }
    if (paren != std::string::npos) edits.emplace_back(paren, 1);
    std::sort(edits.begin(), edits.end(), std::greater<>());
    edits.erase(std::unique(edits.begin(), edits.end()), edits.end());
    for (const auto& [at, kind] : edits) {
        if (kind == 0) {
            tidy.insert(at, "\r\n");
        } else {
            tidy.erase(at, 1);
        }
    }
    e.headerText = std::move(tidy);
}

void ResetRecord(Engine& e) {
    e.ClearRecordForReload();
    if (e.recordText.empty()) return;
    ReadRecord(e);
    e.recordModified = false;
    ShowLoadedRecord(e);
}

}  // namespace quorvel
