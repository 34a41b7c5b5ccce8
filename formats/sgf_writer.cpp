#include "formats/sgf_writer.h"

#include <algorithm>
#include <array>

#include "core/marks.h"
#include "formats/sgf_scan.h"
#include "platform/text_codec.h"

namespace quorvel {
namespace {

const char* const kCrLf = "\r\n";

// A text as it stands inside a value: "\\" and "]" escaped as standard SGF needs them, the second byte of
// a two-byte character left alone. Brackets of stored comments are already full-width. The reader turns
// "//" (not after ":") and "___" into line breaks wherever they stand: a "/" or "_" that would make one
// is escaped, and reads back as itself.
std::string EscapedValue(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 8);
    const auto endsWith = [&out](const char* tail, std::size_t n) {
        return out.size() >= n && out.compare(out.size() - n, n, tail, n) == 0;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (sgf::IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < text.size()) {
            out += c;
            out += text[++i];
        } else {
            const bool code = (c == '/' && endsWith("/", 1) && !endsWith(":/", 2)) || (c == '_' && endsWith("__", 2));
            if (c == '\\' || c == ']' || code) out += '\\';
            out += c;
        }
    }
    return out;
}

std::string MoveItem(bool black, PointCode p) { return std::string(black ? ";B[" : ";W[") + SgfPointText(p) + "]"; }

// The game-information properties both writers add, in their order.
struct InfoProperty {
    const char* name;
    const std::string GameInfo::*slot;
};
const InfoProperty kInfoProperties[] = {
    {"PB", &GameInfo::blackPlayer}, {"PW", &GameInfo::whitePlayer}, {"BR", &GameInfo::blackRank},
    {"WR", &GameInfo::whiteRank},   {"KM", &GameInfo::komi},        {"DT", &GameInfo::date},
    {"GN", &GameInfo::gameName},    {"PC", &GameInfo::place},       {"HA", &GameInfo::handicap},
};

bool Present(const std::string& value) { return value != kUnknown && !value.empty(); }

class RecordWriter {
public:
    explicit RecordWriter(const Engine& e) : e_(e) {}

    std::string Write() {
        const bool nested = !e_.settings.zarnStyle && e_.branchCount > 0;
        const auto writeBranch = [&](int b) { nested ? WriteNested(b) : WriteInline(b); };
        const int topLevel = e_.mainLineOffset;  // place of an alternative to the first move
        bool alternative = false;
        for (int j = 1; j <= e_.branchCount; ++j) alternative |= OriginPlace(e_.branchOrigin[j]) == topLevel;
        // Nested, the main line and its alternatives are sibling groups under the root; inline, the
        // alternatives follow the record as further trees.
        // Variations of the root without a move (diagrams of a collection) are kept as read, after them.
        const std::string rootGroups = topLevel == 0 ? KeptGroups(0, 0) : std::string();
        const bool group = nested && (alternative || !rootGroups.empty());
        // A main line without moves (only alternatives to its first move) writes no group of its own:
        // "()" is no SGF.
        const bool emptyMain = e_.BranchLength(0) == 0 && !e_.branchComments[0][Offset(0)].IsSet();
        if (group && !emptyMain) out_ += "(";
        writeBranch(0);
        if (!group || !emptyMain) out_ += ")";
        // Inline, the alternatives to the first move shown behind moves that AS hides leave after the last
        // hidden move, which the head holds: they are written right after it, as every inline variation
        // is written after the move it leaves from. (A further tree would be an alternative to the first
        // move of the record.)
        const bool afterHead = !nested && topLevel > 0;
        std::string beforeMoves;
        for (int k = lastWritten_ + 1; k <= e_.branchCount && OriginPlace(e_.branchOrigin[k]) == topLevel;
             k = lastWritten_ + 1) {
            std::string rest;
            if (afterHead) rest.swap(out_);
            out_ += afterHead ? "(" : "\r\n\r\n(";
            writeBranch(k);
            out_ += afterHead ? ")\r\n" : ")";
            if (afterHead) {
                beforeMoves += out_;
                out_.swap(rest);
            }
        }
        if (!rootGroups.empty()) out_ += "\r\n\r\n" + rootGroups;
        if (group) out_ += ")";
        return beforeMoves + out_;
    }

private:
    int Offset(int b) const { return b == 0 ? e_.mainLineOffset : 0; }
    int LastMove(int b) const { return Offset(b) + e_.BranchLength(b); }
    bool HasChildAt(int b, int i) const {
        if (e_.KeepsGroups(e_.branchComments[b][i])) return true;
        for (int j = 1; j <= e_.branchCount; ++j) {
            if (OriginPlace(e_.branchOrigin[j]) == MakePlace(b, i)) return true;
        }
        return false;
    }

    // The variations of move i of branch b that the table had no room for, as they were read.
    std::string KeptGroups(int b, int i) const { return e_.KeptGroups(e_.branchComments[b][i]); }

    void WriteMove(int b, int i) {
        const int a = Offset(b);
        const bool blackFirst = HeaderBlackFirst(e_.branchMoves[b][0]);
        const bool odd = (i - a) % 2 == 1;
        out_ += MoveItem(odd == blackFirst, e_.branchMoves[b][i]);
        const CommentRef& r = e_.branchComments[b][i];
        if (r.IsSet()) out_ += "C[" + CommentValue(e_.CommentText(r), e_.FlattensLines(r)) + "]";
        out_ += e_.KeptText(r);
    }

    // A comment before a branch's first move stands in a node of its own, where the reader finds it again.
    // Behind moves the head hides (AS), the comment there is the last hidden move's: the head holds its
    // start, and what was said of it after its variations follows in a node of its own, where a reading
    // joins it again.
    void WriteCommentBefore(int b) {
        if (Offset(b) > 0) {
            const std::string said = e_.CommentText(e_.branchComments[b][Offset(b)]);
            const std::string held = e_.CommentText(e_.hiddenCommentInHead);
            std::string rest = said;
            if (!held.empty() && said.compare(0, held.size() + 2, held + "\r\n") == 0) rest = said.substr(held.size() + 2);
            if (said != held && !rest.empty()) out_ += ";C[" + CommentValue(rest, true) + "]";
            return;
        }
        // The nodes before the first move keep what they held (the setup stones of a variation, say).
        const CommentRef& r = e_.branchComments[b][0];
        if (!r.IsSet() && !e_.KeepsText(r)) return;
        out_ += ";";
        if (r.IsSet()) out_ += "C[" + CommentValue(e_.CommentText(r), e_.FlattensLines(r)) + "]";
        out_ += e_.KeptText(r);
    }

    void WriteInline(int b) {
        lastWritten_ = std::max(lastWritten_, b);
        WriteCommentBefore(b);
        const int last = LastMove(b);
        int counter = 0;
        for (int i = Offset(b) + 1; i <= last; ++i) {
            WriteMove(b, i);
            ++counter;
            bool first = true;
            for (int j = lastWritten_ + 1; j <= e_.branchCount; ++j) {
                if (OriginPlace(e_.branchOrigin[j]) != MakePlace(b, i)) continue;
                if (first) out_ += kCrLf;
                first = false;
                out_ += "(";
                WriteInline(j);
                out_ += ")";
                out_ += kCrLf;
                counter = 0;
            }
            if (const std::string groups = KeptGroups(b, i); !groups.empty()) {
                out_ += (first ? "\r\n" : "") + groups + kCrLf;
                counter = 0;
            }
            if (counter == 10 && i != last) {
                out_ += kCrLf;
                counter = 0;
            }
        }
    }

    void WriteNested(int b) {
        lastWritten_ = std::max(lastWritten_, b);
        WriteCommentBefore(b);
        const int a = Offset(b);
        const int last = LastMove(b);
        int counter = 0;
        for (int i = a + 1; i <= last; ++i) {
            WriteMove(b, i);
            ++counter;
            // A continuation group opens where variations leave the line; none after the last move, where
            // it would stay empty ("()" is no valid SGF).
            if (i != last && HasChildAt(b, i)) {
                out_ += "\r\n(";
                counter = 0;
            }
            if (counter == 10 && i != last) {
                out_ += kCrLf;
                counter = 0;
            }
        }
        for (int j = last; j >= a + 1; --j) {
            bool first = true;
            for (int k = 1; k <= e_.branchCount; ++k) {
                if (OriginPlace(e_.branchOrigin[k]) != MakePlace(b, j)) continue;
                out_ += (first && j != last) ? ")\r\n(" : "\r\n(";
                first = false;
                WriteNested(k);
                out_ += ")\r\n";
            }
            if (const std::string groups = KeptGroups(b, j); !groups.empty()) {
                out_ += ((first && j != last) ? ")\r\n" : "\r\n") + groups + kCrLf;
            }
        }
    }

    const Engine& e_;
    std::string out_;
    int lastWritten_ = 0;
};

// The start-position marks as property lists ("SQ[aa][bb]" ...), in the order SQ, ST, CR, RT, TR, LO, MA,
// LB; an empty text for a kind without marks.
std::array<std::string, 8> MarkLists(const Engine& e) { return MarkPropertyLists(e.markGrid); }

// True when a node of the head holds the property `name` (its name as a whole, not the tail of a longer one
// or text inside a value).
bool HeadHolds(std::string_view head, std::string_view name) {
    std::size_t i = head.find(';');
    while (i != std::string_view::npos && i < head.size()) {
        const sgf::WalkedNode node = sgf::WalkNodeValues(head, i + 1);
        if (node.Find(name)) return true;
        i = node.end;
        while (i < head.size() && head[i] != ';' &&
               (head[i] == '(' || head[i] == ')' || head[i] == ' ' || head[i] == '\t' || head[i] == '\r' || head[i] == '\n')) {
            ++i;
        }
        if (i >= head.size() || head[i] != ';') break;
    }
    return false;
}

}  // namespace

// A comment as it stands inside "C[...]". With `flattenLines`, line breaks become "___", which the
// reader turns back into CR LF. The reader takes away one line break right after "C[" and one right
// before the closing bracket, so a comment that begins or ends with one gets one more there.
std::string CommentValue(const std::string& text, bool flattenLines) {
    const std::string lineBreak = flattenLines ? "___" : "\r\n";
    std::string out;
    if (text.compare(0, 2, "\r\n") == 0) out += lineBreak;
    const std::string escaped = EscapedValue(text);
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        const char c = escaped[i];
        // Next to an underscore, "___" would read otherwise ("_" "___" is "___" "_"): the line break stays.
        const bool nextToUnderscore = (i >= 2 && escaped[i - 2] == '_') || (i + 1 < escaped.size() && escaped[i + 1] == '_');
        if (flattenLines && c == '\n' && !out.empty() && out.back() == '\r' && !nextToUnderscore) {
            out.back() = '_';
            out += "__";
        } else {
            out += c;
        }
    }
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) out += lineBreak;
    return out;
}

void CompleteHeaderText(Engine& e) {
    std::string& head = e.headerText;
    if (!HeadHolds(head, "SZ")) {
        // Anything before the record's "(;" is dropped; other programs put blanks between "(" and ";". A
        // head without that start keeps what follows its first ";", where the root was read from.
        const std::size_t firstSemicolon = head.find(';');
        std::size_t rest = firstSemicolon == std::string::npos ? 0 : firstSemicolon + 1;
        for (std::size_t open = head.find('('); open != std::string::npos; open = head.find('(', open + 1)) {
            const std::size_t semicolon = head.find_first_not_of(" \t\r\n", open + 1);
            if (semicolon != std::string::npos && head[semicolon] == ';') {
                rest = semicolon + 1;
                break;
            }
        }
        head = "(;SZ[" + std::to_string(e.boardSize) + "]" + head.substr(rest);
    }
    for (const InfoProperty& p : kInfoProperties) {
        const std::string& value = e.info.*p.slot;
        if (Present(value) && !HeadHolds(head, p.name)) {
            head += std::string(kCrLf) + p.name + "[" + EscapedValue(value) + "]";
        }
    }
    // The setup stones and the marks of the start position may have been read from anywhere in the text,
    // and the move nodes are written without them: a list the head does not hold yet goes into it, so that
    // the start position shown comes back with the record.
    std::string setup[2];  // AB, AW
    for (int k = 1; k <= e.setupCount - e.mainLineOffset; ++k) {
        const int colour = StoneColour(e.setupList[k]);
        if (colour == kBlack || colour == kWhite) {
            setup[colour == kBlack ? 0 : 1] += "[" + SgfPointText(StonePoint(e.setupList[k])) + "]";
        }
    }
    const char* const setupNames[] = {"AB", "AW"};
    for (int c = 0; c < 2; ++c) {
        if (!setup[c].empty() && !HeadHolds(head, setupNames[c])) {
            head += std::string(kCrLf) + setupNames[c] + setup[c];
        }
    }
    for (const std::string& list : MarkLists(e)) {
        if (!list.empty() && !HeadHolds(head, std::string_view(list).substr(0, 2))) head += std::string(kCrLf) + list;
    }
}

std::string WholeRecordText(Engine& e) {
    const sgf::CharsetScope charset(sgf::Charset::kShiftJis);
    CompleteHeaderText(e);
    std::string text = e.headerText + kCrLf;
    if (e.gameComment != kNoComment) {
        const std::string comment = "GC[" + CommentValue(e.gameComment, !e.commentLineBreaksAsRead) + "]";
        // The reader takes the first GC for the root comment: when the head keeps a game comment of its
        // own, or moves that AS hides, the root comment goes right after the root's ";".
        const std::size_t root = e.headerText.find(';');
        if ((HeadHolds(e.headerText, "GC") || e.mainLineOffset > 0) && root != std::string::npos) {
            text.insert(root + 1, comment);
        } else {
            text += comment + kCrLf;
        }
    }
    return text + RecordWriter(e).Write();
}


std::string StartMarksText(const Engine& e) {
    std::string out;
    for (const std::string& list : MarkLists(e)) {
        if (!list.empty()) out += kCrLf + list;
    }
    return out;
}

std::string CurrentLineText(const Engine& e) {
    if (e.currentIndex == 0) return std::string();
    const sgf::CharsetScope charset(sgf::Charset::kShiftJis);
    const bool asOption = e.replayMode && e.settings.asOption;
    const int n = asOption ? e.loadedBaseCount : e.baseIndex;

    std::string text = "(;GM[1]FF[1]SZ[" + std::to_string(e.boardSize) + "]";
    if (e.currentIndex == e.baseIndex && !e.blackFirst) text += "NE[W]";
    if (asOption && e.loadedBaseCount < e.baseIndex) text += "AS[" + std::to_string(e.baseIndex) + ",1]";
    for (const InfoProperty& p : kInfoProperties) {
        const std::string& value = e.info.*p.slot;
        if (Present(value)) text += std::string(kCrLf) + p.name + "[" + EscapedValue(value) + "]";
    }
    // The comment written at the start of a record being built is its root comment.
    const std::string& startComment = e.editing.createdComments[0];
    if (!e.replayMode && !startComment.empty()) text += std::string(kCrLf) + "GC[" + CommentValue(startComment, false) + "]";

    if (e.baseIndex > 0) {
        std::string black;
        std::string white;
        for (int k = n; k >= 1; --k) {
            const PointCode p = e.lineMoves[k];
            if (e.replayMode && !e.settings.asOption) {
                bool capturedLater = false;
                for (int c : e.captureLog) {
                    capturedLater |= CapturePoint(c) == p && CaptureEntryIndex(c) > k;
                }
                if (p == kPass || capturedLater) continue;
            }
            int colour;
            if (e.replayMode && (e.mainLineOffset > 0 || k > e.setupCount)) {
                // Moves in the background (hidden by AS, or played before a variation) have the colour they
                // were played with, which the board shows; the setup list only holds the AB/AW stones.
                colour = e.board[p];
            } else {
                const int stone = e.replayMode ? e.setupList[k] : e.editSetupList[k];
                colour = StoneColour(stone) == kBlack ? kBlack : kWhite;
            }
            if (p == kPass || (colour != kBlack && colour != kWhite)) continue;
            (colour == kBlack ? black : white) += "[" + SgfPointText(p) + "]";
        }
        if (!black.empty()) text += std::string(kCrLf) + "AB" + black;
        if (!white.empty()) text += std::string(kCrLf) + "AW" + white;
    }
    // Marks stand on empty points too, so a position without setup stones keeps them as well.
    text += StartMarksText(e);

    if (e.baseIndex < e.currentIndex) {
        const bool firstBlack = asOption ? HeaderBlackFirst(e.branchMoves[0][0]) : e.blackFirst != 0;
        const int c = e.replayMode ? e.LineOffset() : 0;
        std::string moves;
        for (int k = n + 1; k <= e.currentIndex; ++k) {
            const bool odd = (k - n) % 2 == 1;
            moves += MoveItem(odd == firstBlack, e.lineMoves[k]);
            if (k > e.baseIndex) {
                const int slot = c + k - e.baseIndex;
                // A record being built keeps its comments beside the line until "Show" stores them.
                std::string comment;
                std::string kept;
                if (slot < kLineSlots) {
                    const CommentRef& r = e.branchComments[e.currentBranch][slot];
                    comment = e.replayMode ? e.CommentText(r) : e.editing.createdComments[static_cast<std::size_t>(slot)];
                    if (e.replayMode) kept = e.KeptText(r);
                }
                if (!comment.empty()) moves += "C[" + CommentValue(comment, false) + "]";
                moves += kept;
            }
            if ((k - n) % 10 == 0) moves += kCrLf;
        }
        text += kCrLf + moves;
    }
    return text + ")";
}

namespace {

// A text for the user goes into the text window; a copied one also onto the clipboard, and then into the
// HTML page of the save name.
void Publish(Engine& e, const std::string& text, bool toClipboard, bool whole) {
    e.messages().SetText(text);
    e.writtenRecord = {WrittenRecord::Digest(text), text.size(), whole};
    if (!toClipboard) return;
    if (e.clipboard()) e.clipboard()->SetText(text);
    if (e.htmlExport()) e.htmlExport()->ExportHtmlPage(e);
}

}  // namespace

void WriteWholeRecord(Engine& e, bool toClipboard) { Publish(e, WholeRecordText(e), toClipboard, true); }

void WriteCurrentLine(Engine& e, bool toClipboard) {
    const std::string text = CurrentLineText(e);
    if (!text.empty()) Publish(e, text, toClipboard, false);
}

void AddVariationCommand(Engine& e) {
    // A record being built is its one line, the branch table still holds the record shown before "Make":
    // the whole record of creation mode is the line a save writes.
    if (!e.replayMode) {
        WriteCurrentLine(e, true);
        return;
    }
    if (e.AddTrialMovesAsVariation()) WriteWholeRecord(e, true);
}

bool HoldsWrittenRecord(const Engine& e, const std::string& text) {
    return e.writtenRecord.size == text.size() && e.writtenRecord.size > 0 &&
           e.writtenRecord.digest == WrittenRecord::Digest(text);
}

}  // namespace quorvel
