#include "sgf_oracle_compare.h"

#include <algorithm>
#include <map>

#include "core/consistency.h"
#include "formats/record_encoding.h"
#include "formats/sgf_reader.h"
#include "formats/sgf_writer.h"

namespace quorvel::oracle {
namespace {

std::optional<std::string> Comment(const Engine& e, const CommentRef& r) {
    if (!r.IsSet()) return std::nullopt;
    return e.CommentText(r);
}

std::string Slot(const Engine& e, const std::string& name) {
    const GameInfo& g = e.info;
    const std::map<std::string, const std::string*> slots = {
        {"PB", &g.blackPlayer}, {"PW", &g.whitePlayer}, {"BR", &g.blackRank}, {"WR", &g.whiteRank}, {"KM", &g.komi},
        {"PC", &g.place},       {"EV", &g.event},       {"GN", &g.gameName},  {"RO", &g.round}};
    return *slots.at(name);
}

}  // namespace

Line LoadedLine(const Engine& e) {
    std::vector<Line> lines(static_cast<std::size_t>(e.branchCount) + 1);
    for (int b = 0; b <= e.branchCount; ++b) {
        Line& line = lines[static_cast<std::size_t>(b)];
        const int header = e.branchMoves[b][0];
        const int offset = b == 0 ? e.mainLineOffset : 0;
        line.commentBefore = Comment(e, e.branchComments[b][0]);
        for (int k = 1; k <= offset + HeaderLength(header) && k < kLineSlots; ++k) {
            Move m;
            m.point = e.branchMoves[b][k];
            m.black = ((k - offset) % 2 != 0) == HeaderBlackFirst(header);
            m.comment = Comment(e, e.branchComments[b][k]);
            line.moves.push_back(m);
        }
    }
    // Children have higher indices than their parents: attached from the last, each in front, they keep
    // the order of the table.
    for (int b = e.branchCount; b >= 1; --b) {
        Line& parent = lines[static_cast<std::size_t>(OriginParent(e.branchOrigin[b]))];
        parent.variations.insert(parent.variations.begin(),
                                 Line::Variation{OriginMove(e.branchOrigin[b]), std::move(lines[static_cast<std::size_t>(b)])});
    }
    return std::move(lines[0]);
}

std::string CompareWithOracle(const Engine& e, const Record& r) {
    std::string out;
    if (e.boardSize != r.boardSize) out += "board size " + std::to_string(e.boardSize) + " != " + std::to_string(r.boardSize) + "\n";
    std::vector<int> setup;
    for (int k = 1; k <= e.setupCount - e.mainLineOffset; ++k) setup.push_back(e.setupList[k]);
    if (setup != r.setup) out += "setup stones differ\n";
    std::vector<std::pair<int, int>> marks;
    for (int p = 0; p < kGridCells; ++p) {
        if (e.markGrid[p] != 0) marks.emplace_back(p, e.markGrid[p]);
    }
    if (marks != r.marks) out += "start marks differ\n";
    for (const char* name : {"PB", "PW", "BR", "WR", "KM", "PC", "EV", "GN", "RO"}) {
        if (std::find(r.infoNotInRoot.begin(), r.infoNotInRoot.end(), name) != r.infoNotInRoot.end()) continue;
        std::string expected = kUnknown;
        for (const auto& [n, v] : r.info) {
            if (n == name) expected = v;
        }
        if (Slot(e, name) != expected) out += std::string(name) + " [" + Slot(e, name) + "] != [" + expected + "]\n";
    }
    const std::string rootComment = r.rootComment ? *r.rootComment : std::string(kNoComment);
    if (e.gameComment != rootComment) out += "root comment [" + e.gameComment + "] != [" + rootComment + "]\n";
    if (r.outside.empty()) {
        const std::string loaded = Describe(LoadedLine(e));
        const std::string expected = Describe(r.main);
        if (loaded != expected) {
            // Around the first difference.
            std::size_t at = 0;
            while (at < loaded.size() && at < expected.size() && loaded[at] == expected[at]) ++at;
            const std::size_t from = at > 120 ? at - 120 : 0;
            out += "lines, from byte " + std::to_string(from) + ":\n  loaded   " + loaded.substr(from, 300) +
                   "\n  expected " + expected.substr(from, 300) + "\n";
        }
    }
    return out;
}

// The differences between a load of `text` and the oracle's reading of it; empty when they agree or the
// text is no SGF.
std::string ProgramText(const std::string& bytes) {
    const DecodedRecord d = DecodeRecordBytes(bytes);
    if (d.converted) return WithRootCharset(d.text, "Shift_JIS");
    // Bytes the load does not convert it reads as Shift-JIS, whatever CA the root names; unless that name
    // would make the load convert them (valid UTF-8 that is no Shift-JIS), the oracle is told so too.
    std::string named = WithRootCharset(bytes, "Shift_JIS");
    return DecodeRecordBytes(named).converted ? bytes : named;
}

std::string LoadDifferences(const std::string& text) {
    const std::optional<Record> expected = ReadRecord(text);
    if (!expected) return std::string();
    MemoryMessageArea messages;
    MemoryDialogs dialogs;
    Engine e(messages, dialogs);
    LoadRecordText(e, text);
    const std::string fault = CheckBranchTable(e);
    if (!fault.empty()) return "inconsistent: " + fault;
    return CompareWithOracle(e, *expected);
}

// What the writer makes of the loaded record, in both layouts and as the current line, read by the
// oracle: the same record as the one loaded.
std::string WrittenDifferences(Engine& e, const std::optional<Record>& original) {
    std::string out;
    for (bool inlineLayout : {false, true}) {
        e.settings.zarnStyle = inlineLayout;
        const std::string written = WholeRecordText(e);
        std::optional<Record> read = ReadRecord(written);
        // What the loaded record took from move nodes as game information the writer writes into the head.
        if (read && original) {
            read->infoNotInRoot.insert(read->infoNotInRoot.end(), original->infoNotInRoot.begin(),
                                       original->infoNotInRoot.end());
        }
        if (!read) {
            out += std::string(inlineLayout ? "inline" : "nested") + " layout is no SGF:\n" + written.substr(0, 400) + "\n";
            continue;
        }
        const std::string d = CompareWithOracle(e, *read);
        if (!d.empty()) out += std::string(inlineLayout ? "inline" : "nested") + " layout:\n" + d.substr(0, 600) + "\n";
    }
    return out;
}

}  // namespace quorvel::oracle
