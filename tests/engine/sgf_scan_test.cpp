// The reader's byte searches take shortcuts (vector loops, short look-aheads, a one-pass comment scan).
// Each is checked here against the plain rule, written out byte by byte, on random texts made of the
// bytes the rules look at, Shift-JIS characters whose second byte is a bracket or a backslash included.
#include "formats/sgf_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/consistency.h"
#include "core/engine.h"
#include "formats/sgf_normalise.h"
#include "formats/sgf_reader.h"

namespace quorvel::test {
namespace {

using sgf::kNone;

std::string RandomText(std::mt19937& random, const std::vector<std::string>& pieces, std::size_t count) {
    std::string text;
    for (std::size_t k = 0; k < count; ++k) text += pieces[random() % pieces.size()];
    return text;
}

const std::vector<std::string> kPieces = {"[",  "]",  "\\", "(",  ")",  ";",    "B",     "W",   "C",
                                          "T",  "L",  "P",  "a",  " ",  "\r\n", "B[aa]", "C[",  "TL[",
                                          "ゼ", "ゾ", "ソ", "表", "能", "碁",   "\x81",  "\xE0"};

std::size_t PlainFindProperty(std::string_view t, std::string_view name, std::size_t from,
                              std::size_t limit) {
    for (std::size_t start = from; start < limit && start + name.size() < t.size(); ++start) {
        if (t.compare(start, name.size(), name) != 0 || t[start + name.size()] != '[') continue;
        if (start > 0 && sgf::IsUpperLetter(t[start - 1])) continue;  // the tail of a longer name
        return start;
    }
    return kNone;
}

std::size_t PlainFindTwoLetterProperty(std::string_view t, std::size_t from) {
    for (std::size_t p = std::max<std::size_t>(from, 2); p < t.size(); ++p) {
        if (t[p] == '[' && sgf::IsUpperLetter(t[p - 1]) && sgf::IsUpperLetter(t[p - 2])) return p - 2;
    }
    return kNone;
}

// Byte by byte: the first "]" that is not the second byte of a two-byte character (a kept comment's end).
std::size_t PlainFirstOwnBracket(std::string_view t, std::size_t from) {
    for (std::size_t p = from; p < t.size(); ++p) {
        if (IsCp932LeadByte(static_cast<unsigned char>(t[p]))) {
            ++p;
        } else if (t[p] == ']') {
            return p;
        }
    }
    return kNone;
}

// Byte by byte: a two-byte character and an escape pass as a whole; without an unescaped "]", the first
// "]" of its own.
std::size_t PlainFindValueEnd(std::string_view t, std::size_t from) {
    for (std::size_t p = from; p < t.size(); ++p) {
        if (IsCp932LeadByte(static_cast<unsigned char>(t[p])) || t[p] == '\\') {
            ++p;
        } else if (t[p] == ']') {
            return p;
        }
    }
    return PlainFirstOwnBracket(t, from);
}

// A comment's protection as its rule states it: the text its escapes stand for, then each "(", ")", ";",
// "[", "]" and backslash that is a character of its own in that text in full-width form.
std::string PlainProtection(std::string_view comment) {
    std::string text;
    for (std::size_t i = 0; i < comment.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(comment[i]);
        if (IsCp932LeadByte(b) && i + 1 < comment.size()) {
            text += comment.substr(i++, 2);
        } else if (b == '\\' && i + 1 < comment.size()) {
            const char next = comment[++i];
            if (next == '\r' || next == '\n') {
                if (i + 1 < comment.size() && comment[i + 1] == (next == '\r' ? '\n' : '\r')) ++i;
            } else {
                text += next;
            }
        } else {
            text += static_cast<char>(b);
        }
    }
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        if (IsCp932LeadByte(b)) {
            // A first byte left alone at the end would take the closing bracket.
            out += i + 1 < text.size() ? text.substr(i++, 2) : "?";
            continue;
        }
        switch (b) {
            case '(': out += "（"; break;
            case ')': out += "）"; break;
            case ';': out += "；"; break;
            case '[': out += "［"; break;
            case ']': out += "］"; break;
            case '\\': out += "￥"; break;
            default: out += static_cast<char>(b);
        }
    }
    return out;
}

// Step 7 of the normalisation as the rule states it: every value after the root's node walked one by
// one, each comment up to its end as FindCommentEnd finds it and every other value up to its "]", copied
// through AppendProtectedComment (which leaves a value without anything to protect as it is). The root
// node here holds one plain value.
std::string ProtectEveryValue(const std::string& t) {
    const std::size_t root = t.find(';');
    if (root == std::string::npos) return t;
    std::string out = t.substr(0, root + 1);
    std::size_t p = root + 1;
    while (p < t.size()) {
        const std::size_t open = t.find('[', p);
        if (open == std::string::npos) break;
        const bool comment = open >= 1 && t[open - 1] == 'C' && (open < 2 || !sgf::IsUpperLetter(t[open - 2]));
        const std::size_t end = comment ? sgf::FindCommentEnd(t, open + 1) : PlainFindValueEnd(t, open + 1);
        if (end == kNone) break;
        out += t.substr(p, open + 1 - p);
        sgf::AppendProtectedComment(out, std::string_view(t).substr(open + 1, end - (open + 1)));
        out += ']';
        p = end + 1;
    }
    return out + t.substr(std::min(p, t.size()));
}

TEST(SgfScanTest, SearchesFindWhatTheByteByByteRuleFinds) {
    std::mt19937 random(20261207);
    const sgf::ByteSet set("()[];\\]");
    for (int round = 0; round < 4000; ++round) {
        // Long enough for the vector loops, some long enough for the 32-byte loop of long stretches.
        const std::string text = RandomText(random, kPieces, random() % (round % 10 == 0 ? 200 : 40));
        const std::string_view t = text;
        for (std::size_t from = 0; from <= t.size(); from += 1 + random() % 5) {
            const std::size_t limit = from + random() % (t.size() + 1);
            for (std::string_view name : {"C", "B", "TL", "PB"}) {
                ASSERT_EQ(sgf::FindProperty(t, name, from, limit),
                          PlainFindProperty(t, name, from, std::min(limit, t.size())))
                    << text << " " << name << " from " << from << " to " << limit;
            }
            ASSERT_EQ(sgf::FindTwoLetterProperty(t, from), PlainFindTwoLetterProperty(t, from))
                << text << " " << from;
            ASSERT_EQ(sgf::FindValueEnd(t, from), PlainFindValueEnd(t, from)) << text << " " << from;
            ASSERT_EQ(sgf::FindKeptCommentEnd(t, from), PlainFirstOwnBracket(t, from)) << text << " " << from;
            std::size_t plainHit = kNone;
            for (std::size_t p = from; p < std::min(limit, t.size()) && plainHit == kNone; ++p) {
                if (std::string_view("()[];\\]").find(t[p]) != kNone) plainHit = p;
            }
            ASSERT_EQ(set.Find(t, from, limit), plainHit) << text << " " << from << " " << limit;
        }
    }
}

TEST(SgfScanTest, ProtectionInOnePassGivesTheRuleText) {
    // Long texts run through the sixty-four-byte blocks, escapes and two-byte characters across their
    // edges included; an escape before the first byte of a character takes the slower way.
    std::mt19937 random(31);
    const std::vector<std::string> pieces = {"a", "  ", "(", ")", ";", "[", "]", "\\", "\\\\", "\\]", "\\\r\n",
                                             "\r\n", "ゼ", "ゾ", "ソ", "表", "碁", "\x81", "\xE0", "xyz"};
    for (int round = 0; round < 3000; ++round) {
        const std::string text = RandomText(random, pieces, random() % (round % 4 == 0 ? 300 : 60));
        std::string out = "C[";
        sgf::AppendProtectedComment(out, text);
        ASSERT_EQ(out, "C[" + PlainProtection(text)) << text;
    }
}

TEST(SgfScanTest, CommentsAndOtherValuesAreProtectedAsTheRuleStates) {
    // Records with comments of every kind: plain ones (read in one pass, not copied) and ones with
    // brackets, escapes and characters ending in a bracket byte (copied through the full rule).
    std::mt19937 random(7);
    const std::vector<std::string> commentPieces = {"a",  " ",  "(",  ")",  ";",  "[",    "]",  "\\]", "\\\\",
                                                    "\\", "ゼ", "ゾ", "ソ", "碁", "\r\n", "]]", "]C["};
    // No variations and no setup stones: the other steps of the normalisation leave such a text alone. The
    // root holds no comment: its values are walked one by one (the oracle tests cover it).
    const std::vector<std::string> nodes = {";B[aa]", ";W[bb]", ";", "\r\n", "N[x]"};
    for (int round = 0; round < 5000; ++round) {
        std::string text = "(;GM[1];B[cc]";
        const int count = 1 + static_cast<int>(random() % 6);
        for (int k = 0; k < count; ++k) {
            text += nodes[random() % nodes.size()];
            if (random() % 2 == 0) text += "C[" + RandomText(random, commentPieces, random() % 12) + "]";
        }
        text += ")";
        std::string normalised;
        NormaliseRecordTextInto(normalised, text);
        ASSERT_EQ(normalised, ProtectEveryValue(sgf::ReplaceLineBreakCodes(text))) << text;
    }
}

TEST(SgfScanTest, TheNormalisationTellsWhatItFoundOnTheWay) {
    // Whether a variation closes right before its parent, from the ")" passing through the line-break
    // pass, and the first two-letter properties, from the brackets passing through: each must be that of
    // the finished text, whatever the replacements, the comment protection and the setup merge did.
    std::mt19937 random(5);
    const std::vector<std::string> pieces = {")",      "(",
                                             ";",      " ",
                                             "\r\n",   "___",
                                             "//",     "_",
                                             "/",      "C[",
                                             "]",      "\\)",
                                             "B[aa]",  "AB[bb]",
                                             "ゾ",     "x",
                                             "A",      "G",
                                             "T",      "B",
                                             "W",      "[",
                                             "PB[x]",  ";W[cc]C[碁盤の上]",
                                             "C[ゼ];", "C[a long comment of plain letters];"};
    for (int round = 0; round < 20000; ++round) {
        const std::string text = "(;" + RandomText(random, pieces, random() % 48);
        std::string normalised;
        NormaliseFacts facts;
        NormaliseRecordTextInto(normalised, text, &facts);
        ASSERT_EQ(facts.doubleClose, sgf::HasDoubleClose(normalised)) << text;
        // Each comment noted as plain ends where the reader would find its end, in the order of the text.
        std::size_t previous = 0;
        for (const CommentSpan& span : facts.plainComments) {
            ASSERT_TRUE(span.start >= previous && normalised.compare(span.start, 2, "C[") == 0) << text;
            ASSERT_EQ(span.end, sgf::FindKeptCommentEnd(normalised, span.start + 2)) << text;
            previous = span.end;
        }
        // The first two-letter properties, where the pass could keep track of them.
        if (!facts.propertiesKnown) continue;
        std::array<std::size_t, sgf::kTwoLetterNames> first;
        first.fill(kNone);
        for (std::size_t p = sgf::FindTwoLetterProperty(normalised, 2); p != kNone;
             p = sgf::FindTwoLetterProperty(normalised, p + 3)) {
            if (p > 0 && sgf::IsUpperLetter(normalised[p - 1])) continue;  // the tail of a longer name
            std::size_t& slot =
                first[sgf::TwoLetterIndex(normalised[p], normalised[p + 1])];
            if (slot == kNone) slot = p;
        }
        ASSERT_EQ(facts.firstProperty, first) << text;
    }
}

TEST(SgfScanTest, ALoadReadsTheTreeAsReadingTheKeptTextAgainDoes) {
    // A load hands the reader what the normalisation found out (the ends of plain comments, whether a
    // variation closes right before its parent); reading the kept text again finds everything itself.
    std::mt19937 random(99);
    const std::vector<std::string> pieces = {
        ";B[aa]", ";W[bb]",   ";B[cc]",  ";W[dd]", "(",    ")", "C[x]",   "C[碁ゾ]",  "C[a(b)]", "C[\\]]",
        "C[ソ]",  "TL[30,1]", "BL[600]", "N[a;b]", "\r\n", ";", "AB[ee]", "LB[ff:A]", "C[]"};
    MemoryMessageArea messages;
    MemoryDialogs dialogs;
    Engine e(messages, dialogs);
    for (int round = 0; round < 3000; ++round) {
        const std::string text = "(;GM[1]OM[5]" + RandomText(random, pieces, 1 + random() % 30) + ")";
        LoadRecordText(e, text);
        const std::string loaded = DescribeRecord(e);
        ResetRecord(e);
        TidyHeaderText(e);  // as the load did
        ASSERT_EQ(DescribeRecord(e), loaded) << text;
        ASSERT_EQ(CheckBranchTable(e), "") << text;
    }
}

}  // namespace
}  // namespace quorvel::test
