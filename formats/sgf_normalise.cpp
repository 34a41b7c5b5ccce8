#include "formats/sgf_normalise.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/record.h"
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
// Copies the input from `p` (>= 3) into `out` at `w`, thirty-two bytes a step, up to the first stop of the
// line-break pass. Whole blocks are stored before they are looked at, so `out` needs 32 bytes of room past
// what is kept; on return the input up to `p` has been copied up to `w`. Stops with fewer than 34 bytes
// of input left. Only the bytes that can change something stop here: "___", "//", a line feed before a
// bracket or after "C[" CR, and ")" while `closes`; the line feeds of the first three bytes stop in any
// case, since what was written before them may differ from the input.
__attribute__((target("avx2"))) void CopyToStopAvx2(std::string_view in, std::size_t& from, char* out,
                                                    std::size_t& to, bool namesPending, bool properties,
                                                    bool closes) {
    const char* data = in.data();
    std::size_t p = from;
    std::size_t w = to;
    const std::size_t fresh = from + 3;
    const __m256i underscore = _mm256_set1_epi8('_'), slash = _mm256_set1_epi8('/'), lf = _mm256_set1_epi8('\n');
    const __m256i cr = _mm256_set1_epi8('\r'), shut = _mm256_set1_epi8(']');
    const __m256i close = _mm256_set1_epi8(')');
    const __m256i open = _mm256_set1_epi8('['), g = _mm256_set1_epi8('G'), c = _mm256_set1_epi8('C');
    const __m256i tee = _mm256_set1_epi8('T'), b = _mm256_set1_epi8('B'), wee = _mm256_set1_epi8('W');
    while (p + 34 <= in.size()) {
        const __m256i cur = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + p));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + w), cur);
        const __m256i feeds = _mm256_cmpeq_epi8(cur, lf);
        const __m256i unders = _mm256_cmpeq_epi8(cur, underscore);
        const __m256i slashes = _mm256_cmpeq_epi8(cur, slash);
        __m256i hit = closes ? _mm256_cmpeq_epi8(cur, close) : _mm256_setzero_si256();
        if (!_mm256_testz_si256(feeds, feeds) || !_mm256_testz_si256(unders, unders) ||
            !_mm256_testz_si256(slashes, slashes)) {
            const __m256i next1 = sgf::Load256(data, p + 1);
            const __m256i next2 = sgf::Load256(data, p + 2);
            const __m256i prev1 = sgf::Load256(data, p - 1);
            const __m256i prev2 = sgf::Load256(data, p - 2);
            const __m256i prev3 = sgf::Load256(data, p - 3);
            const __m256i codes = _mm256_or_si256(
                _mm256_and_si256(unders, _mm256_and_si256(_mm256_cmpeq_epi8(next1, underscore), _mm256_cmpeq_epi8(next2, underscore))),
                _mm256_and_si256(slashes, _mm256_cmpeq_epi8(next1, slash)));
            const __m256i afterComment = _mm256_and_si256(
                _mm256_cmpeq_epi8(prev1, cr), _mm256_and_si256(_mm256_cmpeq_epi8(prev2, open), _mm256_cmpeq_epi8(prev3, c)));
            const __m256i beforeBracket = _mm256_or_si256(_mm256_cmpeq_epi8(next1, open), _mm256_cmpeq_epi8(next1, shut));
            hit = _mm256_or_si256(hit, _mm256_or_si256(codes, _mm256_and_si256(feeds, _mm256_or_si256(afterComment, beforeBracket))));
        }
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
        unsigned mask = static_cast<unsigned>(_mm256_movemask_epi8(hit));
        if (p < fresh) mask |= static_cast<unsigned>(_mm256_movemask_epi8(feeds)) & ((1u << (fresh - p)) - 1);
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
                codes_ = true;
                i += 3;
            } else if (in_[i] == '/' && i + 1 < in_.size() && in_[i + 1] == '/') {
                if (i > 0 && in_[i - 1] == ':') {
                    buf_[w_++] = '/';
                    buf_[w_++] = '/';
                    lineBreak = false;
                } else {
                    Push('\r');
                    Push('\n');
                    codes_ = true;
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
        for (; i < in_.size() && i < 3; ++i) {
            if (IsLineBreakStop(in_, i, namesPending, properties)) return i;
            buf_[w_++] = in_[i];
        }
#if defined(__x86_64__) && defined(__GNUC__)
        if (kLineBreakAvx2) {
            CopyToStopAvx2(in_, i, buf_, w_, namesPending, properties, !doubleClose_);
            if (i + 34 <= in_.size()) return i;  // a stop inside a block
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
        for (Rename& r : renames_) {
            if (r.at > at) r.at = r.at >= at + count ? r.at - count : at;
        }
    }

    void Push(char c) {
        buf_[w_++] = c;
        if (c == '[') {
            PushBracket();
            // A two-letter property as the text now stands; every "[" that can end one passes here.
            // (Not the tail of a longer name.)
            if (firstProperty_ && w_ >= 3 && IsUpper(buf_[w_ - 3]) && IsUpper(buf_[w_ - 2]) && (w_ < 4 || !IsUpper(buf_[w_ - 4]))) {
                std::size_t& first = (*firstProperty_)[sgf::TwoLetterIndex(buf_[w_ - 3], buf_[w_ - 2])];
                if (first == kNone) first = w_ - 3;
            }
        } else if (c == '\n') {
            if (EndsWith("C[\r\n") && w_ - 4 >= commentBarrier_) {
                Erase(w_ - 2, 2);
                commentBarrier_ = w_;
            }
        } else if (c == ']') {
            if (EndsWith("\r\n]")) {
                // A first byte whose second was the line break would take the bracket instead, and so would
                // an escape: the escape stands for a backslash of the text then.
                if (w_ >= 4 && sgf::IsDanglingLead(std::string_view(buf_, w_ - 3), w_ - 4)) buf_[w_ - 4] = '?';
                if (w_ >= 4 && buf_[w_ - 4] == '\\' && sgf::IsEscape(std::string_view(buf_, w_ - 3), w_ - 4)) {
                    buf_[w_ - 3] = '\\';
                    Erase(w_ - 2, 1);
                } else {
                    Erase(w_ - 3, 2);
                }
            }
        }
    }

    void PushBracket() {
        {
            // Most brackets follow a letter; the line-break forms are rare.
            if (w_ >= 4 && buf_[w_ - 2] == '\n' && (EndsWith("B\r\n[") || EndsWith("W\r\n["))) Erase(w_ - 3, 2);
            if (gcDone_ && tbDone_ && twDone_) return;
            // Only a property of that name: not the tail of a longer one ("CTB[").
            if (w_ >= 4 && IsUpper(buf_[w_ - 4])) return;
            if (!gcDone_ && EndsWith("GC[")) {
                Erase(w_ - 3, 1);
                gcDone_ = true;
                renames_.push_back({w_ - 2, "G"});
            }
            // A "C[" that comes out of these two did not exist when the line breaks after "C[" went.
            if (!tbDone_ && EndsWith("TB[")) {
                Erase(w_ - 3, 2);
                tbDone_ = true;
                commentBarrier_ = w_;
                renames_.push_back({w_ - 1, "TB"});
            }
            // Also right after "TB" went: the later replacement sees the text the earlier one left.
            if (!twDone_ && EndsWith("TW[")) {
                Erase(w_ - 3, 2);
                twDone_ = true;
                commentBarrier_ = w_;
                renames_.push_back({w_ - 1, "TW"});
            }
        }
    }

public:
    // Where the first "GC[", "TB[" and "TW[" were renamed, and the bytes taken out there.
    struct Rename {
        std::size_t at;
        const char* name;
    };
    const std::vector<Rename>& Renames() const { return renames_; }
    // Whether a line-break code was turned into a line break.
    bool Codes() const { return codes_; }

private:
    std::vector<Rename> renames_;
    bool codes_ = false;
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
    std::size_t end = FindValueEnd(t, valueStart);
    if (end == kNone) return kNone;
    const std::size_t open = NextOpenBracket(t, end + 1);
    for (std::size_t more = FindEscapedValueEnd(t, end + 1, open); more != kNone;
         more = FindEscapedValueEnd(t, end + 1, open)) {
        end = more;
    }
    return end;
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

// True when some line goes on inside a group nested in its continuation, or when the groups are more than
// the branch table can hold while they are read (every continuation takes a slot until it is merged into
// its line): only then does the nesting run deeper or wider than the reader's merge can follow.
bool NestsContinuations(const VariationGroups& tree) {
    if (tree.groups.size() > static_cast<std::size_t>(kLastBranch) + 1) return true;
    for (const VariationGroup& g : tree.groups) {
        if (!g.children.empty() && !tree[g.children[0]].children.empty()) return true;
    }
    return false;
}

// True when the first node of a group holds a move: a game tree of a collection may start without a root
// of its own.
bool FirstNodeHoldsMove(const std::string& text, const VariationGroup& g) {
    const std::size_t semi = text.find(';', g.open);
    if (semi == std::string::npos || semi > g.nodesEnd) return false;
    for (std::size_t i = semi + 1; i < g.nodesEnd; ++i) {
        const char c = text[i];
        if (c == ';') return false;
        if (c == '[') {
            if (i >= 1 && (text[i - 1] == 'B' || text[i - 1] == 'W') && (i < 2 || !IsUpper(text[i - 2]))) return true;
            const std::size_t end = sgf::FindValueEnd(text, i + 1);
            if (end == kNone) return false;
            i = end;
        }
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
    bool top = withAlternatives && tree[root].nodes <= 1 && !FirstNodeHoldsMove(text, tree[root]);
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
// are variations. Deep games nest as deep as they are long, and the table that reads them must hold every
// continuation until it is merged back into its line. A record in that form is rewritten, in one pass, into the program's own inline form,
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

// The values of the root node starting at `from` (right after its ";"), comments aside, as their "[" and
// "]": the protection of comments passes over them.
std::vector<std::pair<std::size_t, std::size_t>> RootValuesOtherThanComments(std::string_view t, std::size_t from,
                                                                           std::size_t* rootEnd = nullptr) {
    std::vector<std::pair<std::size_t, std::size_t>> values;
    if (rootEnd) *rootEnd = t.size();
    for (std::size_t i = from; i < t.size(); ++i) {
        const char c = t[i];
        if (c == ';' || c == '(' || c == ')') {
            if (rootEnd) *rootEnd = i;
            break;
        }
        if (c != '[') continue;
        const bool comment = i >= 1 && t[i - 1] == 'C' && (i < 2 || !IsUpper(t[i - 2]));
        const std::size_t end = comment ? sgf::FindCommentEnd(t, i + 1) : sgf::FindValueEnd(t, i + 1);
        if (end == kNone) break;
        if (!comment) values.emplace_back(i, end);
        i = end;
    }
    return values;
}

// The names a node holds that decide whether it joins the root, and where it ends (its values walked as
// the root's are, so that a ";" or a name inside one is text).
struct NodeNames {
    bool ab = false, aw = false, move = false;
    std::size_t end = 0;
};

NodeNames WalkNodeNames(std::string_view t, std::size_t from) {
    NodeNames node;
    node.end = t.size();
    std::size_t nameStart = kNone;
    for (std::size_t i = from; i < t.size(); ++i) {
        const char c = t[i];
        if (c == ';' || c == '(' || c == ')') {
            node.end = i;
            break;
        }
        if (IsUpper(c)) {
            if (nameStart == kNone) nameStart = i;
            continue;
        }
        if (c != '[') {
            if (!IsBlank(c)) nameStart = kNone;
            continue;
        }
        if (nameStart != kNone) {
            const std::string_view name = t.substr(nameStart, i - nameStart);
            node.ab |= name == "AB";
            node.aw |= name == "AW";
            node.move |= name == "B" || name == "W";
        }
        const bool comment = i >= 1 && t[i - 1] == 'C' && (i < 2 || !IsUpper(t[i - 2]));
        const std::size_t end = comment ? sgf::FindCommentEnd(t, i + 1) : sgf::FindValueEnd(t, i + 1);
        nameStart = kNone;
        if (end == kNone) break;
        i = end;
    }
    return node;
}

// Steps 5-6: the node after the root, when it holds the setup stones (the first AB, or AW without one) and
// no move, is merged into the root, before anything tells root values from the others. Returns where its
// ";" stood, or kNone.
std::size_t MergeSetupNodeIntoRoot(std::string& out) {
    const std::size_t root = sgf::FindByte(out, ';', 0);
    if (root == kNone) return kNone;
    const NodeNames rootNode = WalkNodeNames(out, root + 1);
    const std::size_t second = rootNode.end;
    if (second >= out.size() || out[second] != ';') return kNone;
    const NodeNames next = WalkNodeNames(out, second + 1);
    const bool setupNext = rootNode.ab || next.ab ? !rootNode.ab && next.ab : !rootNode.aw && next.aw;
    if (!setupNext || next.move) return kNone;
    out.erase(second, 1);
    return second;
}

// True when the "[" at `open` opens a comment: "C" right before it, as a name of its own.
bool IsCommentBracket(std::string_view t, std::size_t open) {
    return open >= 1 && t[open - 1] == 'C' && (open < 2 || !IsUpper(t[open - 2]));
}

// True when the value opened at `open` closes within eight bytes of plain ASCII that nothing in the
// normalisation changes (a move, a number, a point list item).
bool IsShortPlainValue(std::string_view t, std::size_t open) {
    for (std::size_t q = open + 1; q < t.size() && q <= open + 8; ++q) {
        const unsigned char b = static_cast<unsigned char>(t[q]);
        if (b == ']') return true;
        if (b >= 0x80 || b == '(' || b == ')' || b == ';' || b == '[' || b == '\\') return false;
    }
    return false;
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
// The bytes of `v` that are the small letters "a" to "z".
__attribute__((target("avx2"))) inline __m256i SmallLetters256(__m256i v) {
    return _mm256_and_si256(_mm256_cmpgt_epi8(v, _mm256_set1_epi8('a' - 1)), _mm256_cmpgt_epi8(_mm256_set1_epi8('z' + 1), v));
}

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
        // The next "C[" that is a property of its own: its bracket at q + k, q >= p. The values before
        // it are passed over when they are short and plain (a move, a number); at any other the general
        // steps take over.
        std::size_t c = kNone;
        std::size_t q = p;
        for (; q + 32 <= n && c == kNone; q += 32) {
            const __m256i brackets = _mm256_cmpeq_epi8(sgf::Load256(data, q), open);
            if (_mm256_testz_si256(brackets, brackets)) continue;
            const sgf::Window256 w = sgf::LoadWindow256(data, q);
            const __m256i hit =
                _mm256_andnot_si256(sgf::UpperLetters256(w.prev2), _mm256_and_si256(brackets, _mm256_cmpeq_epi8(w.prev1, cee)));
            const unsigned comments = static_cast<unsigned>(_mm256_movemask_epi8(hit));
            unsigned all = static_cast<unsigned>(_mm256_movemask_epi8(brackets));
            if (q + 35 <= n) {
                // Moves ("[xy]" with two small letters, "[]") need no closer look.
                const __m256i next1 = sgf::Load256(data, q + 1);
                const __m256i next3 = sgf::Load256(data, q + 3);
                const __m256i letters = _mm256_and_si256(SmallLetters256(next1), SmallLetters256(sgf::Load256(data, q + 2)));
                const __m256i moves = _mm256_or_si256(_mm256_cmpeq_epi8(next1, close),
                                                      _mm256_and_si256(letters, _mm256_cmpeq_epi8(next3, close)));
                all &= ~static_cast<unsigned>(_mm256_movemask_epi8(moves)) | comments;
            }
            for (; all != 0; all &= all - 1) {
                const std::size_t at = q + static_cast<std::size_t>(__builtin_ctz(all));
                if ((comments >> (at - q)) & 1u) {
                    c = at - 1;
                    break;
                }
                if (!IsShortPlainValue(t, at)) {
                    p = at;
                    return;
                }
            }
        }
        if (c == kNone) {
            // Every value up to the last block was passed over; the general steps read the rest.
            p = std::max(p, q);
            return;
        }
        // The general steps read this comment when it is not plain: they start at it.
        p = std::max(p, c);
        // Its text up to the first byte protection would change: only a "]" of its own may come first.
        std::size_t boundary = c + 2;
        std::size_t end = kNone;
        for (std::size_t at = c + 2; at + 32 <= n;) {
            const __m256i cur = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + at));
            const __m256i low = _mm256_shuffle_epi8(lowBits, _mm256_and_si256(cur, lowHalf));
            const __m256i high = _mm256_shuffle_epi8(highBits, _mm256_and_si256(_mm256_srli_epi16(cur, 4), lowHalf));
            const __m256i none = _mm256_cmpeq_epi8(_mm256_and_si256(low, high), _mm256_setzero_si256());
            const unsigned mask = ~static_cast<unsigned>(_mm256_movemask_epi8(none));
            if (mask == 0) {
                at += 32;
                continue;
            }
            const std::size_t h = at + static_cast<std::size_t>(__builtin_ctz(mask));
            if (sgf::IsSecondByte(t, boundary, h)) {
                boundary = h + 1;
                at = h + 1;
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
        return true;  // a bracket, a separator or a backslash
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
    LineBreakPass lineBreaks(text, out, given ? &facts.firstProperty : nullptr);
    facts.doubleClose = lineBreaks.Run();
    facts.lineBreakCodes = lineBreaks.Codes();
    std::vector<LineBreakPass::Rename> renames = lineBreaks.Renames();
    if (const std::size_t inserted = RestoreRootSemicolon(out); inserted != kNone) {
        ShiftFacts(facts, inserted, +1);
        for (LineBreakPass::Rename& r : renames) {
            if (r.at >= inserted) r.at += 1;
        }
    }
    if (const std::size_t merged = MergeSetupNodeIntoRoot(out); merged != kNone) {
        ShiftFacts(facts, merged, -1);
        for (LineBreakPass::Rename& r : renames) {
            if (r.at > merged) r.at -= 1;
        }
        // The ";" taken out may have stood between two ")", or between a name and its bracket.
        facts.doubleClose = sgf::HasDoubleClose(out);
        facts.propertiesKnown = false;
    }
    // The names are renamed for the root's sake: one after the root node (inside a comment, or a
    // property of a move) gets its name back.
    if (!renames.empty()) {
        const std::size_t root = sgf::FindByte(out, ';', 0);
        std::size_t rootEnd = out.size();
        std::vector<std::pair<std::size_t, std::size_t>> rootValues;
        if (root != kNone) rootValues = RootValuesOtherThanComments(out, root + 1, &rootEnd);
        // So does one that was text inside a root value.
        const auto insideRootValue = [&rootValues](std::size_t at) {
            for (const auto& [open, close] : rootValues) {
                if (open < at && at < close) return true;
            }
            return false;
        };
        for (std::size_t k = renames.size(); k-- > 0;) {
            if (root == kNone || (renames[k].at < rootEnd && !insideRootValue(renames[k].at))) continue;
            const std::size_t n = std::string_view(renames[k].name).size();
            out.insert(renames[k].at, renames[k].name);
            for (std::size_t m = 0; m < n; ++m) ShiftFacts(facts, renames[k].at, +1);
            facts.propertiesKnown = false;
        }
    }
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
    // The root's other values are kept as they are, whatever they hold ("C[" among it).
    const std::vector<std::pair<std::size_t, std::size_t>> rootValues = RootValuesOtherThanComments(out, root + 1);
    std::size_t nextRootValue = 0;
    std::string copy;
    bool copying = false;
    std::size_t p = root + 1;
    std::size_t notPlainAt = kNone;  // where the vector pass stopped
    while (p < out.size()) {
        const std::string_view t = out;
#if defined(__x86_64__) && defined(__GNUC__)
        if (kCommentsAvx2 && nextRootValue == rootValues.size()) {
            const std::size_t from = p;
            const std::size_t known = facts.plainComments.size();
            PassPlainCommentsAvx2(t, p, given ? &facts.plainComments : nullptr);
            notPlainAt = p;
            if (copying) {
                // The comments passed over stand further on in the copy.
                const std::size_t shift = copy.size() - from;
                for (std::size_t k = known; k < facts.plainComments.size(); ++k) {
                    facts.plainComments[k].start += shift;
                    facts.plainComments[k].end += shift;
                }
                copy.append(t.substr(from, p - from));
            }
        }
#endif
        // The next value: every value after the root is walked, so that a bracket, a ";" or a name
        // inside one is never taken for the text's own.
        const std::size_t open = sgf::FindByte(t, '[', p);
        if (open == kNone) break;
        while (nextRootValue < rootValues.size() && rootValues[nextRootValue].second < open) ++nextRootValue;
        if (nextRootValue < rootValues.size() && rootValues[nextRootValue].first <= open) {
            const std::size_t valueEnd = rootValues[nextRootValue].second;
            if (copying) copy.append(t.substr(p, valueEnd + 1 - p));
            p = valueEnd + 1;
            continue;
        }
        if (!IsCommentBracket(t, open)) {
            // Another value (a move, a name, a time): one that holds a byte the searches of the reader
            // could take for the text's own is protected as comments are. A value that never closes is
            // left as it stands.
            const std::size_t valueEnd = sgf::FindValueEnd(t, open + 1);
            if (valueEnd == kNone) break;
            const std::string_view value = t.substr(open + 1, valueEnd - open - 1);
            if (NeedsProtection(value)) {
                if (!copying) {
                    copying = true;
                    copy.reserve(out.size() + out.size() / 16 + 16);
                    copy.append(t.substr(0, open + 1));
                } else {
                    copy.append(t.substr(p, open + 1 - p));
                }
                sgf::AppendProtectedComment(copy, value);
                copy += ']';
            } else if (copying) {
                copy.append(t.substr(p, valueEnd + 1 - p));
            }
            p = valueEnd + 1;
            continue;
        }
        const std::size_t c = open - 1;
        // (A comment the vector pass stopped at is known not to be plain.)
        if (const std::size_t plain = c == notPlainAt ? kNone : PlainCommentEnd(t, c + 2); plain != kNone) {
            // Where the comment will stand in the normalised text.
            const std::size_t shift = copying ? copy.size() - p : 0;
            if (given) facts.plainComments.push_back({c + shift, plain + shift});
            if (copying) copy.append(t.substr(p, plain + 1 - p));
            p = plain + 1;
            continue;
        }
        // A comment that never closes runs to the end of the text, as the reader reads it, and is
        // protected all the same.
        const std::size_t found = sgf::FindCommentEnd(t, c + 2);
        const std::size_t end = found == kNone ? t.size() : found;
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
        const std::size_t valueStart = copy.size();
        sgf::AppendProtectedComment(copy, comment);
        if (found == kNone) {
            p = end;
            break;
        }
        // Its end in the copy is known, unless a two-byte character would take the "]" there.
        if (given && !sgf::IsSecondByte(copy, valueStart, copy.size())) {
            facts.plainComments.push_back({valueStart - 2, copy.size()});
        }
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
}

std::string NormaliseRecordText(std::string_view text) {
    std::string out;
    NormaliseRecordTextInto(out, text);
    return out;
}

}  // namespace quorvel
