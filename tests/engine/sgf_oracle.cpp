#include "sgf_oracle.h"

#include <algorithm>
#include <functional>
#include <map>

namespace quorvel::oracle {
namespace {

bool IsLead(unsigned char b, Charset charset) {
    switch (charset) {
        case Charset::kShiftJis: return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        case Charset::kDoubleByte: return b >= 0x81 && b <= 0xFE;
        case Charset::kBytes: return false;
    }
    return false;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// A recursive-descent reader over the bytes.
class Parser {
public:
    Parser(std::string_view t, Charset charset) : t_(t), charset_(charset) {}

    std::optional<std::vector<Group>> Collection() {
        std::vector<Group> trees;
        SkipSpace();
        while (p_ < t_.size() && t_[p_] == '(') {
            Group g;
            if (!GameTree(g, 0)) return std::nullopt;
            trees.push_back(std::move(g));
            SkipSpace();
        }
        if (trees.empty() || p_ != t_.size()) return std::nullopt;
        return trees;
    }

    // The value starting after "[" at `from`: where its "]" is, or npos.
    std::size_t ValueEnd(std::size_t from) const {
        for (std::size_t i = from; i < t_.size(); ++i) {
            const unsigned char b = static_cast<unsigned char>(t_[i]);
            if (IsLead(b, charset_)) {
                ++i;
            } else if (b == '\\') {
                ++i;
            } else if (b == ']') {
                return i;
            }
        }
        return std::string_view::npos;
    }

private:
    void SkipSpace() {
        while (p_ < t_.size() && IsSpace(t_[p_])) ++p_;
    }

    bool GameTree(Group& g, int depth) {
        if (depth > 10000) return false;
        ++p_;  // "("
        SkipSpace();
        if (p_ >= t_.size() || t_[p_] != ';') return false;  // a tree starts with a node
        while (true) {
            SkipSpace();
            if (p_ >= t_.size()) return false;
            const char c = t_[p_];
            if (c == ')') {
                ++p_;
                return true;
            }
            if (c == ';') {
                ++p_;
                Node n;
                if (!NodeBody(n)) return false;
                g.items.push_back({static_cast<int>(g.nodes.size()), -1});
                g.nodes.push_back(std::move(n));
            } else if (c == '(') {
                Group child;
                if (!GameTree(child, depth + 1)) return false;
                g.items.push_back({-1, static_cast<int>(g.groups.size())});
                g.groups.push_back(std::move(child));
            } else {
                return false;
            }
        }
    }

    bool NodeBody(Node& n) {
        while (true) {
            SkipSpace();
            if (p_ >= t_.size()) return true;
            if (t_[p_] < 'A' || t_[p_] > 'Z') return true;
            Property prop;
            while (p_ < t_.size() && t_[p_] >= 'A' && t_[p_] <= 'Z') prop.name += t_[p_++];
            std::size_t gapStart = p_;
            if (p_ >= t_.size() || t_[p_] != '[') return false;  // no blank between a name and its value
            while (p_ < t_.size() && t_[p_] == '[') {
                if (!prop.values.empty()) prop.gaps.push_back(static_cast<int>(p_ - gapStart));
                const std::size_t end = ValueEnd(p_ + 1);
                if (end == std::string_view::npos) return false;
                prop.values.emplace_back(t_.substr(p_ + 1, end - p_ - 1));
                p_ = end + 1;
                gapStart = p_;
                SkipSpace();
            }
            n.properties.push_back(std::move(prop));
        }
    }

    std::string_view t_;
    Charset charset_;
    std::size_t p_ = 0;
};

std::string Upper(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c == '-' || c == '_' || c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return out;
}

bool IsValidUtf8WithMultibyte(std::string_view t) {
    bool multibyte = false;
    for (std::size_t i = 0; i < t.size();) {
        const unsigned char b = static_cast<unsigned char>(t[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        int more = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            more = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            more = 2;
        } else if (b >= 0xF0 && b <= 0xF4) {
            more = 3;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(more) >= t.size()) return false;
        for (int k = 1; k <= more; ++k) {
            const unsigned char c = static_cast<unsigned char>(t[i + static_cast<std::size_t>(k)]);
            if (c < 0x80 || c > 0xBF) return false;
        }
        multibyte = true;
        i += static_cast<std::size_t>(more) + 1;
    }
    return multibyte;
}

// Replaces every occurrence of `from` by `to`, left to right, never looking at its own output again.
std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        if (s.substr(i, from.size()) == from) {
            out += to;
            i += from.size();
        } else {
            out += s[i++];
        }
    }
    return out;
}

// The line-break codes and the line breaks the program takes away, on "NAME[" + value + "]".
std::string LineCodes(std::string_view name, std::string_view raw) {
    const std::string whole = std::string(name) + "[" + std::string(raw) + "]";
    std::string s;
    for (std::size_t i = 0; i < whole.size();) {
        if (whole.compare(i, 3, "___") == 0) {
            s += "\r\n";
            i += 3;
        } else if (whole.compare(i, 2, "//") == 0) {
            s += (i > 0 && whole[i - 1] == ':') ? "//" : "\r\n";
            i += 2;
        } else {
            s += whole[i++];
        }
    }
    s = ReplaceAll(s, "B\r\n[", "B[");
    s = ReplaceAll(s, "W\r\n[", "W[");
    s = ReplaceAll(s, "C[\r\n", "C[");
    s = ReplaceAll(s, "\r\n]", "]");
    return s.substr(name.size() + 1, s.size() - name.size() - 2);
}

std::string Protect(std::string_view text, Charset charset) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        if (IsLead(b, charset) && i + 1 < text.size()) {
            out += text.substr(i, 2);
            ++i;
            continue;
        }
        switch (b) {
            case '(': out += "\x81\x69"; break;
            case ')': out += "\x81\x6A"; break;
            case ';': out += "\x81\x47"; break;
            case '[': out += "\x81\x6D"; break;
            case ']': out += "\x81\x6E"; break;
            case '\\': out += "\x81\x8F"; break;
            default: out += static_cast<char>(b);
        }
    }
    return out;
}

int PointOf(std::string_view v, int size) {
    if (v.size() < 2) return 0;
    const int col = v[0] - 'a' + 1;
    const int row = v[1] - 'a' + 1;
    if (col < 1 || col > size || row < 1 || row > size) return 0;
    return col * 21 + row;
}

// Every node of the text in the order of the text.
void CollectNodes(const Group& g, std::vector<const Node*>& out) {
    for (const Group::Item& item : g.items) {
        if (item.node >= 0) {
            out.push_back(&g.nodes[static_cast<std::size_t>(item.node)]);
        } else {
            CollectNodes(g.groups[static_cast<std::size_t>(item.group)], out);
        }
    }
}

struct Builder {
    Charset charset;
    int size;
    std::vector<std::string>& outside;

    // Reads the items of `g` from `start` into `line`, a line whose first colour is still open when
    // `line.moves` is empty. Groups followed by nodes are variations of the next move; groups at the end
    // continue the line with the first of them, the others are variations of its first move.
    void ReadGroup(const Group& g, std::size_t start, Line& line) {
        std::size_t i = start;
        while (i < g.items.size()) {
            const Group::Item& item = g.items[i];
            if (item.node >= 0) {
                AddNode(g.nodes[static_cast<std::size_t>(item.node)], line);
                ++i;
                continue;
            }
            // A run of groups.
            std::size_t j = i;
            while (j < g.items.size() && g.items[j].group >= 0) ++j;
            const bool atEnd = j == g.items.size();
            const int after = static_cast<int>(line.moves.size());
            for (std::size_t k = atEnd ? i + 1 : i; k < j; ++k) {
                Line v;
                ReadGroup(g.groups[static_cast<std::size_t>(g.items[k].group)], 0, v);
                line.variations.push_back(Line::Variation{after, std::move(v)});
            }
            if (atEnd) {
                ReadGroup(g.groups[static_cast<std::size_t>(g.items[i].group)], 0, line);
                return;
            }
            i = j;
        }
    }

    // Every comment of the node, joined by line breaks: SGF allows one, but none is lost.
    std::optional<std::string> Comment(const Node& n) const {
        std::optional<std::string> joined;
        for (const Property& p : n.properties) {
            if (p.name != "C") continue;
            const std::string text = DisplayComment("C", p.values[0], charset);
            joined = joined ? *joined + "\r\n" + text : text;
        }
        return joined;
    }

    void AddNode(const Node& n, Line& line) {
        const Property* b = n.Find("B");
        const Property* w = n.Find("W");
        const std::optional<std::string> c = Comment(n);
        if (b && w) outside.push_back("a node with moves of both colours");
        if (!b && !w) {
            // A node without a move: its comment stands before the line when no move came yet, and after
            // the last move otherwise, joined to what is said there already.
            std::optional<std::string>& to = line.moves.empty() ? line.commentBefore : line.moves.back().comment;
            if (c) to = to ? *to + "\r\n" + *c : *c;
            return;
        }
        Move m;
        m.black = b != nullptr;
        const Property* move = b ? b : w;
        // "\" escapes the next byte in every value, a point's too.
        m.point = PointOf(Unescape(move->values[0], charset), size);
        m.comment = c;
        if (!line.moves.empty() && line.moves.back().black == m.black) outside.push_back("two moves of one colour in a row");
        line.moves.push_back(std::move(m));
    }
};

// A variation of a variation's first move replaces the same move of the parent line as that variation
// does: it stands beside it, right after it, in the parent line.
void HoistFirstMoveVariations(Line& line) {
    for (std::size_t k = 0; k < line.variations.size(); ++k) {
        Line& v = line.variations[k].line;
        HoistFirstMoveVariations(v);
        std::vector<Line::Variation> beside;
        for (auto it = v.variations.begin(); it != v.variations.end();) {
            if (it->after == 0) {
                beside.push_back({line.variations[k].after, std::move(it->line)});
                it = v.variations.erase(it);
            } else {
                ++it;
            }
        }
        line.variations.insert(line.variations.begin() + static_cast<std::ptrdiff_t>(k) + 1,
                               std::make_move_iterator(beside.begin()), std::make_move_iterator(beside.end()));
        k += beside.size();
    }
}

int CountBranches(const Line& line) {
    int n = 0;
    for (const Line::Variation& v : line.variations) n += 1 + CountBranches(v.line);
    return n;
}

int LongestEntries(const Line& line, int base) {
    int most = base + static_cast<int>(line.moves.size());
    for (const Line::Variation& v : line.variations) most = std::max(most, LongestEntries(v.line, base + v.after));
    return most;
}

bool HasVariationAfterEnd(const Line& line, bool main) {
    for (const Line::Variation& v : line.variations) {
        if (v.after >= static_cast<int>(line.moves.size()) && !(main && v.after == 0)) return true;
        if (v.line.moves.empty() || HasVariationAfterEnd(v.line, false)) return true;
    }
    return false;
}

}  // namespace

const Property* Node::Find(std::string_view name) const {
    for (const Property& p : properties) {
        if (p.name == name) return &p;
    }
    return nullptr;
}

Charset RecordCharset(std::string_view text) {
    // The CA of the root node, the text read as Shift-JIS up to the end of that node.
    std::size_t p = text.find('(');
    if (p != std::string_view::npos) p = text.find_first_not_of(" \t\r\n", p + 1);
    if (p != std::string_view::npos && text[p] == ';') {
        Parser reader(text, Charset::kShiftJis);
        ++p;
        std::string name;
        while (p < text.size()) {
            const char c = text[p];
            if (c == ';' || c == '(' || c == ')') break;
            if (c >= 'A' && c <= 'Z') {
                name += c;
                ++p;
            } else if (c == '[') {
                const std::size_t end = reader.ValueEnd(p + 1);
                if (end == std::string_view::npos) break;
                if (name == "CA") {
                    const std::string ca = Upper(text.substr(p + 1, end - p - 1));
                    if (ca.empty()) break;
                    for (const char* sjis : {"SHIFTJIS", "SJIS", "CP932", "WINDOWS31J", "MSKANJI", "XSJIS", "MS932"}) {
                        if (ca == sjis) return Charset::kShiftJis;
                    }
                    for (const char* dbcs : {"GBK", "GB2312", "GB18030", "CP936", "BIG5", "BIG5HKSCS", "CP950"}) {
                        if (ca == dbcs) return Charset::kDoubleByte;
                    }
                    return Charset::kBytes;
                }
                p = end + 1;
                // Further values of the same property keep the name.
                std::size_t q = p;
                while (q < text.size() && IsSpace(text[q])) ++q;
                if (q >= text.size() || text[q] != '[') name.clear();
            } else {
                if (!IsSpace(c)) name.clear();
                ++p;
            }
        }
    }
    if (IsValidUtf8WithMultibyte(text)) return Charset::kBytes;
    // Bytes beyond ASCII without one from 0x80 to 0xA0 (the first bytes of kana and punctuation in
    // Shift-JIS): EUC.
    bool beyond = false;
    for (char c : text) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b >= 0x80 && b <= 0xA0) return Charset::kShiftJis;
        beyond |= b > 0xA0;
    }
    return beyond ? Charset::kBytes : Charset::kShiftJis;
}

std::optional<std::vector<Group>> Parse(std::string_view text, Charset charset) {
    return Parser(text, charset).Collection();
}

std::string Unescape(std::string_view raw, Charset charset) {
    std::string out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(raw[i]);
        if (IsLead(b, charset) && i + 1 < raw.size()) {
            out += raw.substr(i, 2);
            ++i;
        } else if (b == '\\' && i + 1 < raw.size()) {
            const char next = raw[i + 1];
            if (next == '\r' || next == '\n') {
                // A soft line break: the escape and the line break go.
                i += 1;
                if (i + 1 < raw.size() && raw[i + 1] == (next == '\r' ? '\n' : '\r')) i += 1;
            } else {
                out += next;
                i += 1;
            }
        } else {
            out += static_cast<char>(b);
        }
    }
    return out;
}

namespace {

// A text whose last character is only the first byte of a two-byte one (its second byte was a line break
// taken away before the bracket, or the byte an escape stood for) shows "?" there: written before a "]",
// that byte would take the bracket for its second.
std::string WithoutDanglingLead(std::string text, Charset charset) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsLead(static_cast<unsigned char>(text[i]), charset)) continue;
        if (i + 1 == text.size()) text[i] = '?';
        ++i;
    }
    return text;
}

}  // namespace

std::string DisplayComment(std::string_view name, std::string_view raw, Charset charset) {
    return Protect(WithoutDanglingLead(Unescape(LineCodes(name, raw), charset), charset), charset);
}

std::string DisplayText(std::string_view name, std::string_view raw, Charset charset) {
    return WithoutDanglingLead(Unescape(LineCodes(name, raw), charset), charset);
}

std::optional<Record> ReadRecord(std::string_view text) {
    const Charset charset = RecordCharset(text);
    std::optional<std::vector<Group>> trees = Parse(text, charset);
    if (!trees) return std::nullopt;
    Record r;
    std::vector<const Node*> nodes;
    for (const Group& g : *trees) CollectNodes(g, nodes);
    const auto first = [&nodes](std::string_view name) -> const Property* {
        for (const Node* n : nodes) {
            if (const Property* p = n->Find(name)) return p;
        }
        return nullptr;
    };

    if (const Property* sz = first("SZ")) {
        const std::string& v = sz->values[0];
        r.boardSize = v == "13" ? 13 : v == "9" ? 9 : v == "7" ? 7 : v == "6" ? 6 : 19;
    }
    // The start position is that of the root and the nodes before the first move: setup stones and marks
    // of a later node are that node's.
    std::size_t firstMoveNode = nodes.size();
    for (std::size_t k = 1; k < nodes.size(); ++k) {
        if (nodes[k]->Find("B") || nodes[k]->Find("W")) {
            firstMoveNode = k;
            break;
        }
    }
    const auto atStart = [&nodes, firstMoveNode](std::string_view name) -> const Property* {
        for (std::size_t k = 0; k < firstMoveNode; ++k) {
            if (const Property* p = nodes[k]->Find(name)) return p;
        }
        return nullptr;
    };
    std::map<int, int> board;
    const auto setupList = [&](const char* name, int colour) {
        const Property* p = atStart(name);
        if (!p) return;
        for (std::size_t k = 0; k < p->values.size(); ++k) {
            if (k > 0 && p->gaps[k - 1] > 1) break;
            if (p->values[k].size() != 2) break;
            const int point = PointOf(p->values[k], r.boardSize);
            if (point == 0) continue;
            if (r.setup.size() >= 499) break;
            r.setup.push_back(colour * 1000 + point);
            board[point] = colour;
        }
    };
    setupList("AB", 1);
    setupList("AW", 5);

    std::map<int, int> marks;
    const char* const kMarkNames[] = {"SQ", "ST", "CR", "RT", "TR", "LO", "MA"};
    for (int kind = 1; kind <= 7; ++kind) {
        const Property* p = atStart(kMarkNames[kind - 1]);
        if (!p) continue;
        for (std::size_t k = 0; k < p->values.size(); ++k) {
            if ((k > 0 && p->gaps[k - 1] > 0) || p->values[k].size() != 2) break;
            const int point = PointOf(p->values[k], r.boardSize);
            if (point != 0) marks[point] = kind + 1000 * board[point];
        }
    }
    if (const Property* p = atStart("LB")) {
        for (std::size_t k = 0; k < p->values.size(); ++k) {
            if ((k > 0 && p->gaps[k - 1] > 0) || p->values[k].size() != 4) break;
            const int point = PointOf(p->values[k], r.boardSize);
            const int kind = static_cast<unsigned char>(p->values[k][3]) - 56;
            if (point != 0 && kind >= 9 && kind <= 15) marks[point] = kind + 1000 * board[point];
        }
    }
    r.marks.assign(marks.begin(), marks.end());
    // The program takes these from their first occurrence in its own layout of the text, which puts
    // variations in another order: they are compared where the root node holds them.
    const Group& tree = trees->front();
    if (tree.items.empty() || tree.items[0].node != 0) return std::nullopt;
    const Node& root = tree.nodes[0];
    // A node right after the root that holds the setup stones (AB, or AW when there is no AB) and no move
    // is read as part of the root: the setup of a record written in two nodes.
    const Node* setupNode = nullptr;
    if (tree.items.size() > 1 && tree.items[1].node >= 0) {
        const Node& next = tree.nodes[static_cast<std::size_t>(tree.items[1].node)];
        const bool holdsSetup = root.Find("AB") || next.Find("AB") ? !root.Find("AB") && next.Find("AB")
                                                                   : !root.Find("AW") && next.Find("AW");
        if (holdsSetup && !next.Find("B") && !next.Find("W")) setupNode = &next;
    }
    const auto inRoot = [&root, setupNode](std::string_view name) -> const Property* {
        if (const Property* p = root.Find(name)) return p;
        return setupNode ? setupNode->Find(name) : nullptr;
    };
    for (const char* name : {"PB", "PW", "BR", "WR", "KM", "PC", "EV", "GN", "RO"}) {
        if (first(name) && !inRoot(name)) r.infoNotInRoot.push_back(name);
        if (const Property* p = first(name)) {
            const std::string value = DisplayText(name, p->values[0], charset);
            if (!value.empty()) r.info.emplace_back(name, value);
        }
    }

    if (root.Find("B") || root.Find("W")) r.outside.push_back("a move in the root node");
    // The writer keeps the root comment as GC, which the reader takes for it.
    // An empty one is none.
    const Property* comment = inRoot("C") ? inRoot("C") : inRoot("GC");
    if (comment) {
        // Empty once its line breaks are taken away, it is none.
        std::string shown = DisplayComment("C", comment->values[0], charset);
        if (!LineCodes("C", comment->values[0]).empty()) r.rootComment = std::move(shown);
    }
    int asEntries = 0;  // AS: the first entries of the line that are background
    if (const Property* as = first("AS")) {
        const std::string& v = as->values[0];
        const std::size_t comma = v.find(',');
        const auto number = [](std::string_view s) -> std::optional<int> {
            std::size_t i = 0;
            bool negative = false;
            if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
            if (i == s.size() || s.size() - i > 9) return std::nullopt;
            int n = 0;
            for (; i < s.size(); ++i) {
                if (s[i] < '0' || s[i] > '9') return std::nullopt;
                n = n * 10 + (s[i] - '0');
            }
            return negative ? -n : n;
        };
        if (comma != std::string::npos && comma > 0) {
            const std::optional<int> n = number(std::string_view(v).substr(0, comma));
            const std::optional<int> m = number(std::string_view(v).substr(comma + 1));
            if (n && m && *n >= 0 && *m >= 0 && *n <= 500 && *m <= 500) asEntries = *n;
        }
    }

    Builder builder{charset, r.boardSize, r.outside};
    builder.ReadGroup(tree, setupNode ? 2 : 1, r.main);
    // Further game trees are alternatives to the first move, each with the comment of its root.
    for (std::size_t t = 1; t < trees->size(); ++t) {
        Line v;
        builder.ReadGroup((*trees)[t], 0, v);
        r.main.variations.push_back(Line::Variation{0, std::move(v)});
    }
    HoistFirstMoveVariations(r.main);
    // The alternatives to the first move follow the main line's own variations.
    std::stable_partition(r.main.variations.begin(), r.main.variations.end(),
                          [](const Line::Variation& v) { return v.after != 0; });
    if (r.main.moves.empty()) r.outside.push_back("no main line");
    if (HasVariationAfterEnd(r.main, true)) r.outside.push_back("a variation without moves or after the end of a line");
    if (CountBranches(r.main) > 149) r.outside.push_back("more than 149 variations");
    if (LongestEntries(r.main, static_cast<int>(r.setup.size())) > 499) r.outside.push_back("more than 499 entries");

    // AS hides moves of the main line, never more than it has, and none after which a variation leaves
    // (variations may leave after the last hidden one).
    int firstBranch = 500;
    int lastBranch = 0;
    for (const Line::Variation& v : r.main.variations) {
        lastBranch = std::max(lastBranch, v.after);
        firstBranch = std::min(firstBranch, v.after);
    }
    const int setupStones = static_cast<int>(r.setup.size());
    if (asEntries > setupStones) {
        r.asHidden = std::max(std::min({asEntries - setupStones, static_cast<int>(r.main.moves.size()), firstBranch}), 0);
    }
    // Passes at the end of the main line are no entries, unless they carry a comment or a variation
    // replaces them.
    const int kept = r.main.variations.empty() ? 0 : lastBranch + 1;
    while (static_cast<int>(r.main.moves.size()) > std::max(kept, r.asHidden) && r.main.moves.back().point == 0 &&
           !r.main.moves.back().comment) {
        r.main.moves.pop_back();
    }
    return r;
}

std::string Describe(const Line& line) {
    std::string out = "(";
    if (line.commentBefore) out += "{" + *line.commentBefore + "}";
    for (std::size_t i = 0; i <= line.moves.size(); ++i) {
        for (const Line::Variation& v : line.variations) {
            if (v.after == static_cast<int>(i)) out += Describe(v.line);
        }
        if (i == line.moves.size()) break;
        const Move& m = line.moves[i];
        out += (m.black ? ";B" : ";W") + std::to_string(m.point);
        if (m.comment) out += "{" + *m.comment + "}";
    }
    return out + ")";
}

}  // namespace quorvel::oracle
