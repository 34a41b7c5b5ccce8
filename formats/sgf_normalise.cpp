#include "formats/sgf_normalise.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "formats/sgf_scan.h"
#include "formats/sgf_simd.h"

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quorvel {
namespace {

using sgf::kNone;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }

// A byte at which the line-break pass has work: "_", "/", a line feed, a ")" (whose neighbours tell
// whether variations are nested), the bracket of a two-letter property when they are looked for, and
// while the first "GC[", "TB[" or "TW[" is still to come, the bracket of one of them. Brackets of moves
// and comments need no stop: the forms with a line break before them are met at the line feed.
bool IsLineBreakStop(std::string_view t, std::size_t p, bool namesPending, bool properties) {
    const char c = t[p];
    if (c == '_' || c == '/' || c == '\n' || c == ')') return true;
    if (c != '[' || p < 2) return false;
    if (properties && IsUpper(t[p - 2]) && IsUpper(t[p - 1])) return true;
    if (!namesPending) return false;
    return (t[p - 2] == 'G' && t[p - 1] == 'C') || (t[p - 2] == 'T' && (t[p - 1] == 'B' || t[p - 1] == 'W'));
}

#if defined(__x86_64__) && defined(__GNUC__)
// Copies the input from `p` (>= 2) into `out` at `w`, thirty-two bytes a step, up to the first stop of the
// line-break pass. Whole blocks are stored before they are looked at, so `out` needs 32 bytes of room past
// what is kept; on return the input up to `p` has been copied up to `w`. Stops with fewer than 32 bytes
// of input left.
__attribute__((target("avx2"))) void CopyToStopAvx2(std::string_view in, std::size_t& from, char* out,
                                                    std::size_t& to, bool namesPending, bool properties) {
    const char* data = in.data();
    std::size_t p = from;
    std::size_t w = to;
    const __m256i underscore = _mm256_set1_epi8('_'), slash = _mm256_set1_epi8('/'), lf = _mm256_set1_epi8('\n');
    const __m256i close = _mm256_set1_epi8(')');
    const __m256i open = _mm256_set1_epi8('['), g = _mm256_set1_epi8('G'), c = _mm256_set1_epi8('C');
    const __m256i tee = _mm256_set1_epi8('T'), b = _mm256_set1_epi8('B'), wee = _mm256_set1_epi8('W');
    while (p + 32 <= in.size()) {
        const __m256i cur = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + p));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + w), cur);
        __m256i hit = _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(cur, underscore), _mm256_cmpeq_epi8(cur, slash)),
                                      _mm256_or_si256(_mm256_cmpeq_epi8(cur, lf), _mm256_cmpeq_epi8(cur, close)));
        const __m256i brackets = _mm256_cmpeq_epi8(cur, open);
        if ((namesPending || properties) && !_mm256_testz_si256(brackets, brackets)) {
            const __m256i prev1 = sgf::Load256(data, p - 1);
            const __m256i prev2 = sgf::Load256(data, p - 2);
            __m256i named = _mm256_setzero_si256();
            // "GC", "TB" and "TW" are two-letter names too: looking for those covers them.
            if (namesPending && !properties) {
                const __m256i gc = _mm256_and_si256(_mm256_cmpeq_epi8(prev2, g), _mm256_cmpeq_epi8(prev1, c));
                const __m256i tbw = _mm256_and_si256(_mm256_cmpeq_epi8(prev2, tee),
                                                     _mm256_or_si256(_mm256_cmpeq_epi8(prev1, b), _mm256_cmpeq_epi8(prev1, wee)));
                named = _mm256_or_si256(gc, tbw);
            }
            if (properties) {
                named = _mm256_or_si256(named, _mm256_and_si256(sgf::UpperLetters256(prev1), sgf::UpperLetters256(prev2)));
            }
            hit = _mm256_or_si256(hit, _mm256_and_si256(brackets, named));
        }
        const unsigned mask = static_cast<unsigned>(_mm256_movemask_epi8(hit));
        if (mask != 0) {
            const std::size_t k = static_cast<std::size_t>(__builtin_ctz(mask));
            p += k;
            w += k;
            break;
        }
        p += 32;
        w += 32;
    }
    from = p;
    to = w;
}

const bool kLineBreakAvx2 = __builtin_cpu_supports("avx2");
#endif

const sgf::ByteSet kCommentEndBytes("]\\");
const sgf::ByteSet kProtectedBytes("()[];\\");

// Steps 1 to 4 of the normalisation in one pass. The steps are defined as whole-text replacements done
// one after the other; each later replacement sees the text the earlier ones produced. Here the earlier
// ones run on the input as it streams past and the later ones on the tail of the output, which gives the
// same text at the cost of one pass:
// - "___" and "//" become CR LF (they are disjoint, so one left-to-right pass does both), except the "//"
//   of an address ("http://"), which would otherwise break every link in a place name or comment;
// - "B" CR LF "[", "W" CR LF "[", "C[" CR LF and CR LF "]" lose their line break; none of these can make
//   or break a match of another, and "C[" CR LF CR LF loses only one line break, as a single pass would;
// - the first "GC[" becomes "C[", then the first "TB[" and the first "TW[" lose their names; a "C[" that
//   this leaves ("CTB[") keeps the line break after it, which was gone before the names were.
// sgf_reader_test checks the pass against the replacements done one after the other on random texts.
class LineBreakPass {
public:
    // Writes into `out`, whose storage is reused. The text never grows here, so room for the whole input
    // (and a vector block past it) is made once; a resize clears only storage not written before.
    // `firstProperty`, when given, receives where the first property of each two-letter name starts.
    LineBreakPass(std::string_view in, std::string& out, std::array<std::size_t, sgf::kTwoLetterNames>* firstProperty = nullptr)
        : in_(in), out_(out), firstProperty_(firstProperty) {
        const std::size_t room = in.size() + 64;
        if (out_.size() < room) out_.resize(room);
        buf_ = &out_[0];
    }

    // Leaves the text in `out` and returns whether in it a ")" is followed, after blanks only, by another
    // ")" (sgf::HasDoubleClose), which every ")" passing through the pass tells.
    bool Run() {
        std::size_t i = 0;
        while (i < in_.size()) {
            i = CopyToStop(i);
            if (i >= in_.size()) break;
            bool lineBreak = true;
            if (in_[i] == ')') {
                std::size_t q = w_;
                while (q > 0 && IsBlank(buf_[q - 1])) --q;
                if (q > 0 && buf_[q - 1] == ')') doubleClose_ = true;
                buf_[w_++] = ')';
                i += 1;
                lineBreak = false;
            } else if (in_[i] == '_' && in_.compare(i, 3, "___") == 0) {
                Push('\r');
                Push('\n');
                i += 3;
            } else if (in_[i] == '/' && i + 1 < in_.size() && in_[i + 1] == '/') {
                if (i > 0 && in_[i - 1] == ':') {
                    buf_[w_++] = '/';
                    buf_[w_++] = '/';
                    lineBreak = false;
                } else {
                    Push('\r');
                    Push('\n');
                }
                i += 2;
            } else {
                lineBreak = in_[i] == '\n';
                Push(in_[i]);
                i += 1;
            }
            // A bracket right after a line break may take the line break away.
            if (lineBreak && i < in_.size() && (in_[i] == '[' || in_[i] == ']')) Push(in_[i++]);
        }
        out_.resize(w_);
        return doubleClose_;
    }

private:
    // Copies the input from `i` up to the next stop; returns the stop (or the input's end).
    std::size_t CopyToStop(std::size_t i) {
        const bool namesPending = !(gcDone_ && tbDone_ && twDone_);
        const bool properties = firstProperty_ != nullptr;
        for (; i < in_.size() && i < 2; ++i) {
            if (IsLineBreakStop(in_, i, namesPending, properties)) return i;
            buf_[w_++] = in_[i];
        }
#if defined(__x86_64__) && defined(__GNUC__)
        if (kLineBreakAvx2) {
            CopyToStopAvx2(in_, i, buf_, w_, namesPending, properties);
            if (i + 32 <= in_.size()) return i;  // a stop inside a block
        }
#endif
        for (; i < in_.size(); ++i) {
            if (IsLineBreakStop(in_, i, namesPending, properties)) return i;
            buf_[w_++] = in_[i];
        }
        return i;
    }

    bool EndsWith(std::string_view tail) const {
        return w_ >= tail.size() && std::string_view(buf_ + w_ - tail.size(), tail.size()) == tail;
    }

    // Takes `count` bytes out of the text at `at`, near its end.
    void Erase(std::size_t at, std::size_t count) {
        std::copy(buf_ + at + count, buf_ + w_, buf_ + at);
        w_ -= count;
    }

    void Push(char c) {
        buf_[w_++] = c;
        if (c == '[') {
            PushBracket();
            // A two-letter property as the text now stands; every "[" that can end one passes here.
            if (firstProperty_ && w_ >= 3 && IsUpper(buf_[w_ - 3]) && IsUpper(buf_[w_ - 2])) {
                std::size_t& first = (*firstProperty_)[sgf::TwoLetterIndex(buf_[w_ - 3], buf_[w_ - 2])];
                if (first == kNone) first = w_ - 3;
            }
        } else if (c == '\n') {
            if (EndsWith("C[\r\n") && w_ - 4 >= commentBarrier_) {
                Erase(w_ - 2, 2);
                commentBarrier_ = w_;
            }
        } else if (c == ']') {
            if (EndsWith("\r\n]")) Erase(w_ - 3, 2);
        }
    }

    void PushBracket() {
        {
            // Most brackets follow a letter; the line-break forms are rare.
            if (w_ >= 4 && buf_[w_ - 2] == '\n' && (EndsWith("B\r\n[") || EndsWith("W\r\n["))) Erase(w_ - 3, 2);
            if (gcDone_ && tbDone_ && twDone_) return;
            if (!gcDone_ && EndsWith("GC[")) {
                Erase(w_ - 3, 1);
                gcDone_ = true;
            }
            // A "C[" that comes out of these two did not exist when the line breaks after "C[" went.
            if (!tbDone_ && EndsWith("TB[")) {
                Erase(w_ - 3, 2);
                tbDone_ = true;
                commentBarrier_ = w_;
            }
            // Also right after "TB" went: the later replacement sees the text the earlier one left.
            if (!twDone_ && EndsWith("TW[")) {
                Erase(w_ - 3, 2);
                twDone_ = true;
                commentBarrier_ = w_;
            }
        }
    }

    std::string_view in_;
    std::string& out_;
    std::array<std::size_t, sgf::kTwoLetterNames>* firstProperty_;
    char* buf_;
    std::size_t w_ = 0;  // bytes of the text written so far
    bool doubleClose_ = false;
    bool gcDone_ = false;
    bool tbDone_ = false;
    bool twDone_ = false;
    // A "C[" CR LF match may not start before here: the replacement does not look at its own output again.
    std::size_t commentBarrier_ = 0;
};

// Only blanks, then the next node, the end of a variation or the text's end.
bool NodeFollows(std::string_view t, std::size_t p) {
    while (p < t.size() && (t[p] == ' ' || t[p] == '\t' || t[p] == '\r' || t[p] == '\n')) ++p;
    return p == t.size() || t[p] == ';' || t[p] == '(' || t[p] == ')';
}

// The next "]" at or after `from` (a character boundary) that can close a comment, before `limit`.
std::size_t NextCommentBracket(std::string_view t, std::size_t from, std::size_t limit) {
    std::size_t boundary = from;
    for (std::size_t p = kCommentEndBytes.Find(t, boundary, limit); p != kNone;
         p = kCommentEndBytes.Find(t, boundary, limit)) {
        if (sgf::IsSecondByte(t, boundary, p)) {
            // The second byte of a character, unless the record is in another encoding and the text
            // goes on as SGF after the bracket.
            if (t[p] == ']' && sgf::StructureFollows(t, p + 1)) return p;
            boundary = p + 1;
            continue;
        }
        if (t[p] == ']') return p;
        // A backslash escapes a bracket or a backslash after it.
        const char next = p + 1 < t.size() ? t[p + 1] : '\0';
        if (next == ']' && NodeFollows(t, p + 2)) return p + 1 < limit ? p + 1 : kNone;
        boundary = (next == ']' || next == '\\') ? p + 2 : p + 1;
    }
    return kNone;
}

// The next "[" at or after `from` (a character boundary) that is a character of its own.
std::size_t NextOpenBracket(std::string_view t, std::size_t from) {
    std::size_t boundary = from;
    for (std::size_t p = sgf::FindByte(t, '[', boundary); p != kNone; p = sgf::FindByte(t, '[', boundary)) {
        if (!sgf::IsSecondByte(t, boundary, p)) return p;
        boundary = p + 1;
    }
    return kNone;
}

}  // namespace

namespace sgf {

std::string ReplaceLineBreakCodes(std::string_view text) {
    std::string out;
    LineBreakPass(text, out).Run();
    return out;
}

std::size_t FindCommentEnd(std::string_view t, std::size_t valueStart) {
    std::size_t end = NextCommentBracket(t, valueStart, kNone);
    if (end == kNone) return kNone;
    const std::size_t open = NextOpenBracket(t, end + 1);
    for (std::size_t more = NextCommentBracket(t, end + 1, open); more != kNone;
         more = NextCommentBracket(t, end + 1, open)) {
        end = more;
    }
    return end;
}

void AppendProtectedComment(std::string& out, std::string_view c) {
    std::size_t boundary = 0;
    while (boundary < c.size()) {
        const std::size_t p = kProtectedBytes.Find(c, boundary);
        if (p == kNone) {
            out.append(c.substr(boundary));
            return;
        }
        if (IsSecondByte(c, boundary, p)) {
            out.append(c.substr(boundary, p + 1 - boundary));
            boundary = p + 1;
            continue;
        }
        out.append(c.substr(boundary, p - boundary));
        char ch = c[p];
        boundary = p + 1;
        if (ch == '\\' && p + 1 < c.size() && std::string_view("()[];\\").find(c[p + 1]) != kNone) {
            ch = c[p + 1];
            boundary = p + 2;
            if (ch == '\\') {
                out += '\\';
                continue;
            }
        }
        switch (ch) {
            case '(': out += "（"; break;
            case ')': out += "）"; break;
            case ';': out += "；"; break;
            case '[': out += "［"; break;
            case ']': out += "］"; break;
            default: out += ch;
        }
    }
}

}  // namespace sgf

namespace {

// Some servers write the root without its ";": "(" and at once the properties. The ";" is put back, so
// that the first move node is not read as part of the root. Returns where it went, or kNone.
std::size_t RestoreRootSemicolon(std::string& text) {
    const std::size_t open = text.find('(');
    if (open == std::string::npos) return kNone;
    std::size_t p = open + 1;
    while (p < text.size() && IsBlank(text[p])) ++p;
    if (p >= text.size() || !IsUpper(text[p])) return kNone;
    std::size_t q = p;
    while (q < text.size() && (IsUpper(text[q]) || (text[q] >= 'a' && text[q] <= 'z'))) ++q;
    while (q < text.size() && IsBlank(text[q])) ++q;
    if (q >= text.size() || text[q] != '[') return kNone;
    text.insert(open + 1, 1, ';');
    return open + 1;
}

// Positions after a byte put in at `at` (+1) or taken out there (-1).
void ShiftFacts(NormaliseFacts& facts, std::size_t at, int by) {
    const auto shift = [at, by](std::size_t& position) {
        if (position != kNone && position >= at) position = by > 0 ? position + 1 : position - 1;
    };
    for (std::size_t& position : facts.firstProperty) shift(position);
    for (CommentSpan& span : facts.plainComments) {
        shift(span.start);
        shift(span.end);
    }
}

// The variation groups of a record in standard SGF form: every "(" .. ")" with where its own nodes end
// and the groups nested in it.
struct VariationGroup {
    std::size_t open;      // "("
    std::size_t nodesEnd;  // where its own nodes end: its first child's "(" or its ")"
    std::size_t close;     // ")"
    std::vector<int> children;
    int nodes = 0;  // its own nodes (the ";" before its first child)
};

struct VariationGroups {
    std::vector<VariationGroup> groups;
    std::vector<int> roots;  // the game trees of the collection

    VariationGroup& operator[](int g) { return groups[static_cast<std::size_t>(g)]; }
    const VariationGroup& operator[](int g) const { return groups[static_cast<std::size_t>(g)]; }
};

// The groups of `text`, or nullopt when the text is not in the standard form (nodes or properties after a
// child group: the inline form itself, or a broken record) or its brackets do not balance.
std::optional<VariationGroups> FindStandardGroups(const std::string& text) {
    VariationGroups tree;
    std::vector<int> stack;
    bool childSeen = false;  // in the group on top of the stack, a child group has closed
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '[') {
            if (childSeen) return std::nullopt;  // a property after a child group
            // A comment ends as the reader ends it, past brackets other programs leave unescaped.
            const bool comment = i >= 1 && text[i - 1] == 'C' && (i < 2 || !IsUpper(text[i - 2]));
            const std::size_t end = comment ? sgf::FindCommentEnd(text, i + 1) : sgf::FindValueEnd(text, i + 1);
            if (end == kNone) return std::nullopt;
            i = end;
            continue;
        }
        if (c == '(') {
            if (!stack.empty() && tree[stack.back()].children.empty()) tree[stack.back()].nodesEnd = i;
            const int g = static_cast<int>(tree.groups.size());
            tree.groups.push_back({i, kNone, kNone, {}, 0});
            if (stack.empty()) {
                tree.roots.push_back(g);
            } else {
                tree[stack.back()].children.push_back(g);
            }
            stack.push_back(g);
            childSeen = false;
        } else if (c == ')') {
            if (stack.empty()) continue;  // a stray bracket after the record
            VariationGroup& g = tree[stack.back()];
            if (g.children.empty()) g.nodesEnd = i;
            g.close = i;
            stack.pop_back();
            childSeen = !stack.empty();
        } else if (childSeen && !IsBlank(c)) {
            return std::nullopt;  // nodes after a child group: not the standard form
        } else if (c == ';' && !stack.empty()) {
            tree[stack.back()].nodes += 1;
        }
    }
    if (!stack.empty() || tree.roots.empty()) return std::nullopt;  // unbalanced: read as it stands
    return tree;
}

// True when some line goes on inside a group nested in its continuation: only then does the nesting
// run deeper than the reader's merge can follow.
bool NestsContinuations(const VariationGroups& tree) {
    for (const VariationGroup& g : tree.groups) {
        if (!g.children.empty() && !tree[g.children[0]].children.empty()) return true;
    }
    return false;
}

// Appends one game tree in the inline form, without recursion: a group's nodes, its variations in
// brackets, then its first child's content in line. With `withAlternatives`, the children of a root that
// holds only the root node are alternatives to the first move: they are returned, to follow as trees of
// their own.
std::vector<int> AppendTreeInline(std::string& out, const std::string& text, const VariationGroups& tree, int root,
                                  bool withAlternatives) {
    struct Item {
        int group;  // >= 0: a group in line; -1: a literal byte
        char literal;
    };
    std::vector<Item> work;
    std::vector<int> alternatives;
    bool top = withAlternatives && tree[root].nodes <= 1;
    out += '(';
    work.push_back({root, 0});
    while (!work.empty()) {
        const Item item = work.back();
        work.pop_back();
        if (item.group < 0) {
            out += item.literal;
            continue;
        }
        const VariationGroup& g = tree[item.group];
        out.append(text, g.open + 1, g.nodesEnd - g.open - 1);
        if (g.children.empty()) continue;
        // The first child goes on in line after the variations (pushed first, so taken last).
        work.push_back({g.children[0], 0});
        const std::size_t first = top ? g.children.size() : 1;
        if (top) alternatives.assign(g.children.begin() + 1, g.children.end());
        for (std::size_t k = g.children.size(); k-- > first;) {
            work.push_back({-1, ')'});
            work.push_back({g.children[k], 0});
            work.push_back({-1, '('});
        }
        top = false;
    }
    out += ')';
    return alternatives;
}

// Standard SGF nests every continuation: a node's first child group is the rest of its line, the others
// are variations. Deep games nest as deep as they are long, and only 74 nested variations can be merged
// back into lines. A record in that form is rewritten, in one pass, into the program's own inline form,
// in which a line goes on after its variations: each node's variations are written right after it and
// its first child's nodes follow them without brackets; the alternatives to the first move become
// further trees after the record. Nothing is lost or reordered within a line. A text that is not in the
// standard form stays as it is. True when the text was rewritten.
bool UnnestStandardVariations(std::string& text) {
    const std::optional<VariationGroups> tree = FindStandardGroups(text);
    if (!tree || !NestsContinuations(*tree)) return false;
    std::string out;
    out.reserve(text.size());
    out.append(text, 0, (*tree)[tree->roots.front()].open);
    for (int root : tree->roots) {
        for (int alternative : AppendTreeInline(out, text, *tree, root, true)) {
            AppendTreeInline(out, text, *tree, alternative, false);
        }
    }
    out.append(text, (*tree)[tree->roots.back()].close + 1, std::string::npos);
    text = std::move(out);
    return true;
}

// After a comment's first "]": only plain ASCII without brackets up to the next "[", so that the end is not
// extended to a further "]". Decides only within 64 bytes; false otherwise.
bool NothingExtendsTheEnd(std::string_view t, std::size_t end) {
    for (std::size_t q = end + 1; q < t.size() && q < end + 64; ++q) {
        const unsigned char b = static_cast<unsigned char>(t[q]);
        if (b == '[') return true;
        if (b == ']' || b == '\\' || b >= 0x80) return false;
    }
    return false;
}

// The "]" that ends a comment starting at `valueStart`, found in one pass, when nothing in the comment
// needs protecting or unescaping and its end needs none of the further rules: no backslash, no bracket
// that may be the end of a character, and only plain ASCII without brackets up to the next "[". Most
// comments are of that kind. kNone sends the comment to the full rules.
std::size_t PlainCommentEnd(std::string_view t, std::size_t valueStart) {
    std::size_t boundary = valueStart;
    std::size_t end = kNone;
    for (std::size_t p = kProtectedBytes.Find(t, boundary); p != kNone; p = kProtectedBytes.Find(t, boundary)) {
        if (sgf::IsSecondByte(t, boundary, p)) {
            if (t[p] == ']' && sgf::StructureFollows(t, p + 1)) return kNone;
            boundary = p + 1;
            continue;
        }
        if (t[p] != ']') return kNone;
        end = p;
        break;
    }
    return end != kNone && NothingExtendsTheEnd(t, end) ? end : kNone;
}

#if defined(__x86_64__) && defined(__GNUC__)
// PlainCommentEnd and the search for each "C[" for a run of comments, thirty-two bytes a step, with the
// vectors kept from one comment to the next. From `p` (at least 2) every comment up to the first that is
// not plain is recorded in `spans` (if given) and passed over; `p` is left where the search for that
// comment starts, so that the general steps find it again.
__attribute__((target("avx2"))) void PassPlainCommentsAvx2(std::string_view t, std::size_t& p,
                                                           std::vector<CommentSpan>* spans) {
    const char* data = t.data();
    const std::size_t n = t.size();
    const __m256i open = _mm256_set1_epi8('['), cee = _mm256_set1_epi8('C');
    // "(" 0x28, ")" 0x29, ";" 0x3B, "[" 0x5B, "\\" 0x5C and "]" 0x5D, told by their two halves: a byte is one
    // of them when the bits its low half picks and the bits its high half picks meet.
    const __m256i lowBits = _mm256_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 6, 4, 4, 0, 0,  //
                                             0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 6, 4, 4, 0, 0);
    const __m256i highBits = _mm256_setr_epi8(0, 0, 1, 2, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  //
                                              0, 0, 1, 2, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    const __m256i lowHalf = _mm256_set1_epi8(0x0F);
    const __m256i close = _mm256_set1_epi8(']'), backslash = _mm256_set1_epi8('\\');
    while (p >= 2) {
        // The next "C[" that is a property of its own: its bracket at q + k, q >= p + 1.
        std::size_t c = kNone;
        for (std::size_t q = p + 1; q + 32 <= n && c == kNone; q += 32) {
            const __m256i brackets = _mm256_cmpeq_epi8(sgf::Load256(data, q), open);
            if (_mm256_testz_si256(brackets, brackets)) continue;
            const sgf::Window256 w = sgf::LoadWindow256(data, q);
            const __m256i hit =
                _mm256_andnot_si256(sgf::UpperLetters256(w.prev2), _mm256_and_si256(brackets, _mm256_cmpeq_epi8(w.prev1, cee)));
            const unsigned mask = static_cast<unsigned>(_mm256_movemask_epi8(hit));
            if (mask != 0) c = q + static_cast<std::size_t>(__builtin_ctz(mask)) - 1;
        }
        if (c == kNone) return;
        // Its text up to the first byte protection would change: only a "]" of its own may come first.
        std::size_t boundary = c + 2;
        std::size_t end = kNone;
        for (std::size_t q = c + 2; q + 32 <= n;) {
            const __m256i cur = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + q));
            const __m256i low = _mm256_shuffle_epi8(lowBits, _mm256_and_si256(cur, lowHalf));
            const __m256i high = _mm256_shuffle_epi8(highBits, _mm256_and_si256(_mm256_srli_epi16(cur, 4), lowHalf));
            const __m256i none = _mm256_cmpeq_epi8(_mm256_and_si256(low, high), _mm256_setzero_si256());
            const unsigned mask = ~static_cast<unsigned>(_mm256_movemask_epi8(none));
            if (mask == 0) {
                q += 32;
                continue;
            }
            const std::size_t h = q + static_cast<std::size_t>(__builtin_ctz(mask));
            if (sgf::IsSecondByte(t, boundary, h)) {
                if (data[h] == ']' && sgf::StructureFollows(t, h + 1)) return;
                boundary = h + 1;
                q = h + 1;
                continue;
            }
            if (data[h] != ']') return;
            end = h;
            break;
        }
        if (end == kNone) return;
        // Nothing may extend the end: up to the next "[", plain ASCII without "]" or "\\", looked at in the
        // thirty-two bytes after it where they hold that "[".
        if (end + 33 <= n) {
            const __m256i after = sgf::Load256(data, end + 1);
            const unsigned opens = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(after, open)));
            const unsigned bad = static_cast<unsigned>(_mm256_movemask_epi8(after)) |
                                 static_cast<unsigned>(_mm256_movemask_epi8(
                                     _mm256_or_si256(_mm256_cmpeq_epi8(after, close), _mm256_cmpeq_epi8(after, backslash))));
            if (opens == 0) {
                if (!NothingExtendsTheEnd(t, end)) return;
            } else if ((bad & ((opens & (0u - opens)) - 1)) != 0) {
                return;
            }
        } else if (!NothingExtendsTheEnd(t, end)) {
            return;
        }
        if (spans) spans->push_back({c, end});
        p = end + 1;
    }
}

const bool kCommentsAvx2 = __builtin_cpu_supports("avx2");
#endif

// True when a comment text holds a byte that its protection changes.
bool NeedsProtection(std::string_view c) {
    std::size_t boundary = 0;
    for (std::size_t p = kProtectedBytes.Find(c, boundary); p != kNone; p = kProtectedBytes.Find(c, boundary)) {
        if (sgf::IsSecondByte(c, boundary, p)) {
            boundary = p + 1;
            continue;
        }
        // A backslash before any other byte stays as it is.
        if (c[p] != '\\' || (p + 1 < c.size() && std::string_view("()[];\\").find(c[p + 1]) != kNone)) return true;
        boundary = p + 1;
    }
    return false;
}

}  // namespace

void NormaliseRecordTextInto(std::string& out, std::string_view text, NormaliseFacts* given) {
    NormaliseFacts unused;
    NormaliseFacts& facts = given ? *given : unused;
    facts.plainComments.clear();
    facts.firstProperty.fill(kNone);
    facts.propertiesKnown = given != nullptr;

    // Steps 1-4. The pass finds out whether a variation closes right before its parent (the mark of
    // nesting) and where the first two-letter properties stand. The answers hold for the normalised text
    // while nothing below changes the text around them; where something may, they are asked again or
    // dropped.
    facts.doubleClose = LineBreakPass(text, out, given ? &facts.firstProperty : nullptr).Run();
    if (const std::size_t inserted = RestoreRootSemicolon(out); inserted != kNone) ShiftFacts(facts, inserted, +1);
    if (facts.doubleClose && UnnestStandardVariations(out)) {
        facts.doubleClose = sgf::HasDoubleClose(out);
        facts.propertiesKnown = false;
    }

    // Step 5: the first ";" opens the root node.
    const std::size_t root = sgf::FindByte(out, ';', 0);
    if (root == kNone) return;

    // Step 7: every comment is protected, the root's too: a ";" or "(" in a root comment from another
    // program would otherwise be taken for the first move node. Most comments have nothing to change; the
    // text is copied only from the first one that has.
    std::string copy;
    bool copying = false;
    std::size_t p = root + 1;
    while (p < out.size()) {
        const std::string_view t = out;
#if defined(__x86_64__) && defined(__GNUC__)
        if (kCommentsAvx2 && !copying) PassPlainCommentsAvx2(t, p, given ? &facts.plainComments : nullptr);
#endif
        const std::size_t c = sgf::FindProperty(t, "C", p);
        if (c == kNone) break;
        if (const std::size_t plain = PlainCommentEnd(t, c + 2); plain != kNone) {
            // Where the comment will stand in the normalised text.
            const std::size_t shift = copying ? copy.size() - p : 0;
            if (given) facts.plainComments.push_back({c + shift, plain + shift});
            if (copying) copy.append(t.substr(p, plain + 1 - p));
            p = plain + 1;
            continue;
        }
        const std::size_t end = sgf::FindCommentEnd(t, c + 2);
        if (end == kNone) break;
        const std::string_view comment = t.substr(c + 2, end - (c + 2));
        if (!copying) {
            if (!NeedsProtection(comment)) {
                p = end + 1;
                continue;
            }
            copying = true;
            copy.reserve(out.size() + out.size() / 16 + 16);
            copy.append(t.substr(0, c + 2));
        } else {
            copy.append(t.substr(p, c + 2 - p));
        }
        sgf::AppendProtectedComment(copy, comment);
        copy += ']';
        p = end + 1;
    }
    if (copying) {
        if (p < out.size()) copy.append(out, p, std::string::npos);
        out.swap(copy);
        // Protecting only ever takes a ")" away; the brackets of a comment go, and places move.
        facts.doubleClose = facts.doubleClose && sgf::HasDoubleClose(out);
        facts.propertiesKnown = false;
    }

    // Steps 5-6: the next ";" opens the first node after the root. When that node holds the setup stones
    // (the first "AB[", or "AW[" without one), it is merged into the root. Setup stones further on do not
    // merge it: that would turn the first move into a root property and lose it.
    const std::size_t second = sgf::FindByte(out, ';', root + 1);
    if (second == kNone) return;
    const std::size_t third = sgf::FindByte(out, ';', second + 1);
    std::size_t setup = sgf::FindText(out, "AB[", 0, third);
    if (setup == kNone) setup = sgf::FindText(out, "AW[", 0, third);
    if (setup != kNone && setup > second) {
        out.erase(second, 1);
        ShiftFacts(facts, second, -1);
        // The ";" taken out may have stood between two ")", or between a name and its bracket.
        facts.doubleClose = sgf::HasDoubleClose(out);
        facts.propertiesKnown = false;
    }
}

std::string NormaliseRecordText(std::string_view text) {
    std::string out;
    NormaliseRecordTextInto(out, text);
    return out;
}

}  // namespace quorvel
