// Reading a record, writing it in either layout and reading it again gives the same record.
#include <dirent.h>

#include <fstream>
#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <random>
#include <sstream>

#include "core/marks.h"
#include "engine_fixture.h"
#include "formats/sgf_reader.h"
#include "sgf_oracle.h"
#include "formats/sgf_writer.h"

namespace quorvel::test {
namespace {

// The first line where two descriptions differ, both versions; empty when they are the same.
std::string FirstDifference(const std::string& a, const std::string& b) {
    std::istringstream ia(a), ib(b);
    std::string la, lb;
    while (true) {
        const bool ga = static_cast<bool>(std::getline(ia, la));
        const bool gb = static_cast<bool>(std::getline(ib, lb));
        if (!ga && !gb) return std::string();
        if (la != lb || ga != gb) return "read back: " + la.substr(0, 300) + "\nexpected:  " + lb.substr(0, 300);
    }
}

class RoundTripTest : public EngineTest {
protected:
    // Writes the loaded record in both layouts, reads each back, and compares.
    void ExpectRoundTrip(const std::string& label) {
        const std::string original = RealText(e, DescribeRecord(e, RecordParts::kSaved));
        for (bool inlineLayout : {false, true}) {
            e.settings.zarnStyle = inlineLayout;
            const std::string text = WholeRecordText(e);
            MemoryMessageArea m2;
            MemoryDialogs d2;
            Engine again(m2, d2);
            again.settings.zarnStyle = inlineLayout;
            // Through the bytes a save writes: the record's own encoding, its CA naming it.
            LoadRecordText(again, SavedBytes(e, text));
            ASSERT_EQ(CheckBranchTable(again), "") << label;
            EXPECT_EQ(again.recordEncoding, e.recordEncoding) << label;
            const std::string copy = RealText(again, DescribeRecord(again, RecordParts::kSaved));
            const std::string difference = FirstDifference(copy, original);
            EXPECT_TRUE(difference.empty()) << label << (inlineLayout ? " (inline)\n" : " (nested)\n") << difference;
        }
    }
};

// Every property of every node by where the node stands in the grammar's tree: the moves from the root to
// it (its own included) and, among the nodes at that place that hold more than comments, its number. The
// root and the nodes without a move right after it are one place: the program keeps them as one head.
// Moves, comments (C, GC) and the encoding's label are left out: the program keeps moves as points, joins
// comments and names its encoding anew.
using PlacedProperties = std::map<std::string, std::multiset<std::string>>;

// A move's point as the program reads it on a board of `size` lines: a pair of letters on the board, or a
// pass ("tt") for anything else.
std::string MovePoint(const std::string& v, int size) {
    const auto on = [size](char c) { return c >= 'a' && c < 'a' + size; };
    return v.size() == 2 && on(v[0]) && on(v[1]) ? v : "tt";
}

void CollectPlaced(const oracle::Group& g, std::string path, std::map<std::string, int>& seen, int size,
                   PlacedProperties& out) {
    for (const oracle::Group::Item& item : g.items) {
        if (item.group >= 0) {
            CollectPlaced(g.groups[static_cast<std::size_t>(item.group)], path, seen, size, out);
            continue;
        }
        const oracle::Node& node = g.nodes[static_cast<std::size_t>(item.node)];
        std::multiset<std::string> values;
        for (const oracle::Property& p : node.properties) {
            const bool move = p.name == "B" || p.name == "W";
            if (move) path += ";" + p.name + MovePoint(p.values[0], size);
            if (p.name == "C" || p.name == "GC" || p.name == "CA") continue;
            std::string text = p.name;
            for (const std::string& v : p.values) text += "[" + (move ? MovePoint(v, size) : v) + "]";
            values.insert(text);
        }
        if (values.empty()) continue;
        const bool head = path.empty();
        const std::string place = head ? std::string("root") : path + "#" + std::to_string(seen[path]++);
        out[place].insert(values.begin(), values.end());
    }
}

PlacedProperties Placed(const std::string& text) {
    PlacedProperties out;
    const auto trees = oracle::Parse(text, oracle::RecordCharset(text));
    if (!trees) return out;
    int size = 19;
    if (const oracle::Property* sz = trees->front().nodes.front().Find("SZ")) {
        for (int n : {13, 9, 7, 6}) size = sz->values[0] == std::to_string(n) ? n : size;
    }
    std::map<std::string, int> seen;
    for (const oracle::Group& g : *trees) CollectPlaced(g, "", seen, size, out);
    return out;
}

// The values of `original` that `saved` does not hold at the same place: "place: property".
std::vector<std::string> LostOrMoved(const std::string& original, const std::string& saved) {
    const PlacedProperties before = Placed(original);
    PlacedProperties after = Placed(saved);
    std::vector<std::string> missing;
    for (const auto& [place, values] : before) {
        std::multiset<std::string>& there = after[place];
        for (const std::string& v : values) {
            const auto it = there.find(v);
            if (it != there.end()) {
                there.erase(it);
                continue;
            }
            // Game information the program took from a later node is written with the head's.
            std::multiset<std::string>& head = after["root"];
            const auto inHead = head.find(v);
            const std::string name = v.substr(0, v.find('['));
            const bool info = std::string(" SZ PB PW BR WR KM DT GN PC HA ").find(" " + name + " ") != std::string::npos;
            if (info && inHead != head.end()) {
                head.erase(inHead);
            } else {
                missing.push_back(place.substr(0, 60) + ": " + v.substr(0, 60));
            }
        }
    }
    return missing;
}

// The records of a folder, sorted; none when the folder is absent.
std::vector<std::string> CorpusFiles(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(folder.c_str())) {
        while (dirent* entry = ::readdir(d)) {
            const std::string name = entry->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".sgf") == 0) names.push_back(folder + "/" + name);
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Each record of a folder (none when the folder is absent), loaded, with its bytes; how many there were.
int ForEachRecord(const std::string& folder, const std::function<void(const std::string&, const std::string&)>& check) {
    int loaded = 0;
    for (const std::string& path : CorpusFiles(folder)) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        if (text.str().find(';') == std::string::npos) continue;  // no record to write
        check(path, text.str());
        ++loaded;
    }
    return loaded;
}

// A record from another program keeps, through a save in either layout, every value of every node in its
// node: times, marks and labels of moves, names, annotations and properties of other programs. Left out:
// what the table cannot stand for (two moves of one colour in a row, a node with both, boards of other
// sizes), and a record saved in another encoding than it came in (HZ as GB2312), whose bytes differ.
void ExpectEveryPropertyKept(Engine& e, const std::string& path, const std::string& text) {
    const std::optional<oracle::Record> record = oracle::ReadRecord(text);
    if (!record || text.find("SZ[5") != std::string::npos) return;
    for (const std::string& reason : record->outside) {
        if (reason.find("colour") != std::string::npos) return;
    }
    for (bool inlineLayout : {false, true}) {
        e.settings.zarnStyle = inlineLayout;
        const std::string saved = SavedBytes(e, WholeRecordText(e));
        const std::size_t ca = text.find("CA[");
        if (ca != std::string::npos && saved.find(text.substr(ca, text.find(']', ca) - ca)) == std::string::npos) return;
        const std::vector<std::string> lost = LostOrMoved(text, saved);
        EXPECT_TRUE(lost.empty()) << path << (inlineLayout ? " (inline): " : ": ") << lost.size() << " lost, first "
                                  << lost.front();
    }
}

TEST_F(RoundTripTest, EveryCorpusRecordComesBackTheSame) {
    const int compared = ForEachRecord(std::string(QUORVEL_TEST_DATA) + "/corpus", [&](const std::string& path,
                                                                                      const std::string& text) {
        LoadRecordText(e, text);
        ExpectRoundTrip(path);
        ExpectEveryPropertyKept(e, path, text);
    });
    EXPECT_GT(compared, 20);
}

TEST_F(RoundTripTest, CopyleftRecordsComeBackTheSame) {
    const int compared = ForEachRecord(std::string(QUORVEL_SHARED_CORPUS) + "/copyleft", [&](const std::string& path,
                                                                                            const std::string& text) {
        LoadRecordText(e, text);
        ExpectRoundTrip(path);
        ExpectEveryPropertyKept(e, path, text);
    });
    if (compared == 0) GTEST_SKIP() << "no shared corpus";
}

// Records other programs write in ways the head of a record does not expect.
TEST_F(RoundTripTest, RootsWithoutTheirOwnShape) {
    // No ";" between "(" and the root's properties: the first move is still a move.
    LoadRecordText(e, "(\r\nPB[黒]\r\n;B[pd];W[dp])");
    EXPECT_EQ(e.info.blackPlayer, "黒");
    EXPECT_EQ(e.BranchLength(0), 2);
    EXPECT_TRUE(e.blackFirst);
    ExpectRoundTrip("root without ;");

    // A root whose only children are variations: the first is the game, the rest alternatives to it.
    LoadRecordText(e, "(;GM[1](;B[aa];W[bb](;B[cc])(;B[dd]))(;B[ee]))");
    EXPECT_EQ(e.BranchLength(0), 3);
    EXPECT_EQ(e.branchMoves[0][3], P("cc"));
    ASSERT_EQ(e.branchCount, 2);
    EXPECT_EQ(e.branchOrigin[1], MakeOrigin(2, 0, 2));  // dd, instead of cc
    EXPECT_EQ(e.branchOrigin[2], MakeOrigin(0, 0, 0));  // ee, instead of aa
    EXPECT_EQ(HeaderDepth(e.branchMoves[1][0]), 1);
    ExpectRoundTrip("root of variations");

    // A node holding only a comment, and setup stones and marks met only after the root.
    LoadRecordText(e, "(;GM[1];C[only words];AB[aa][bb]TR[cc])");
    EXPECT_EQ(e.CommentText(e.branchComments[0][0]), "only words");
    EXPECT_EQ(e.setupCount, 2);
    EXPECT_EQ(e.markGrid[P("cc")], 5);
    ExpectRoundTrip("comment node and late setup");

    // After the first move they are that node's: drawn (marks) or said (setup stones) with it, kept in it.
    LoadRecordText(e, "(;GM[1];B[aa]TR[aa];W[bb]AB[cc]AE[aa]N[x];B[dd])");
    EXPECT_EQ(e.setupCount, 0);
    EXPECT_EQ(e.markGrid[P("aa")], 0);
    const std::vector<std::pair<PointCode, int>> marks = {{P("aa"), 5}};
    EXPECT_EQ(NodeMarks(e, 0, 1, 19), marks);
    e.StepForward();
    e.StepForward();
    EXPECT_EQ(messages.Text(), std::string(kSetupNotShown) + "AB[cc]AE[aa]");
    ExpectRoundTrip("setup and marks of move nodes");
}

// The table holds 149 variations however they hang: many at one place, one at each move of a long line,
// or each inside the one before. Written in the nested layout, where a line that goes on past a variation
// takes a group of its own, all come back.
TEST_F(RoundTripTest, AFullBranchTableComesBackFromEitherLayout) {
    const auto point = [](int n) { return SgfPointText(MakePoint(1 + n % 19, 1 + n / 19)); };
    const auto line = [&](int from, int count) {
        std::string moves;
        for (int k = 0; k < count; ++k) moves += point(from + k) + " ";
        return moves;
    };
    struct Shape {
        const char* name;
        int mainMoves;
        std::function<void(int)> addBranch;  // adds branch b (1..149)
    };
    const Shape shapes[] = {
        {"all at one place", 3, [&](int b) { AddBranch(MakeOrigin(1, 0, 1), kWhite, line(3 + b, 1)); }},
        {"one at each move", 150,
         [&](int b) { AddBranch(MakeOrigin(b, 0, b), b % 2 ? kWhite : kBlack, line(150 + b, 1)); }},
        {"each inside the one before", 2,
         [&](int b) {
             // Two moves each; the next one replaces the second.
             AddBranch(MakeOrigin(b, b - 1, 1), b % 2 ? kWhite : kBlack, line(2 * b, 2), b);
         }},
    };
    for (const Shape& shape : shapes) {
        MakeMainLine(line(0, shape.mainMoves));
        for (int b = 1; b <= kLastBranch; ++b) shape.addBranch(b);
        ASSERT_EQ(CheckBranchTable(e), "") << shape.name;
        ExpectRoundTrip(shape.name);
    }
}

// Moves that AS hides stay hidden when variations are added to the first moves shown: an alternative to
// the first of them, and one to the second.
TEST_F(RoundTripTest, AnAsRecordKeepsItsStartWithVariationsAtItsFirstMoves) {
    LoadRecordText(e, "(;GM[1]FF[1]SZ[19]AS[3,1];B[pd];W[dp];B[pp]C[third];W[dd]C[fourth];B[jj](;W[kk])(;W[ll]))");
    ASSERT_EQ(e.mainLineOffset, 3);
    ASSERT_TRUE(e.PlayTrialMove(P("cc")));
    AddVariationCommand(e);
    ASSERT_EQ(e.branchCount, 2);  // beside ll (kk continues the main line)
    ExpectRoundTrip("alternative to the first move shown");
    e.ReturnToMainLine();
    e.StepForward();
    ASSERT_TRUE(e.PlayTrialMove(P("ee")));
    AddVariationCommand(e);
    ExpectRoundTrip("alternative to the second move shown");
    for (bool inlineLayout : {false, true}) {
        e.settings.zarnStyle = inlineLayout;
        LoadRecordText(e, WholeRecordText(e));
        EXPECT_EQ(e.mainLineOffset, 3) << inlineLayout;
        EXPECT_EQ(e.baseIndex, 3) << inlineLayout;
    }
}

// Records built the way a user builds them: trial moves added as variations at random places, comments
// stored on random positions.
TEST_F(RoundTripTest, RandomlyBuiltRecordsComeBackTheSame) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 random(seed);
        std::string moves;
        for (int i = 0; i < 60; ++i) {
            moves += std::string{static_cast<char>('a' + random() % 19), static_cast<char>('a' + random() % 19)};
            moves += ' ';
        }
        // A main line of distinct points (a repeated point would be a capture-free replay anyway).
        MakeMainLine("");
        int placed = 0;
        for (int i = 0; i < 60 && placed < 40; ++i) {
            const PointCode p = MakePoint(1 + random() % 19, 1 + random() % 19);
            bool used = false;
            for (int k = 1; k <= placed; ++k) used |= e.branchMoves[0][k] == p;
            if (!used) e.branchMoves[0][++placed] = p;
        }
        e.branchMoves[0][0] = MakeHeader(0, kBlack, placed);
        e.ReturnToMainLine();

        for (int round = 0; round < 25; ++round) {
            // Go somewhere in the tree: a few steps, maybe into a branch.
            e.ReturnToMainLine();
            const int steps = static_cast<int>(random() % 30);
            for (int s = 0; s < steps; ++s) {
                if (e.hintCount > 0 && random() % 3 == 0) {
                    e.FollowHint(2 + static_cast<int>(random() % e.hintCount));
                } else {
                    e.StepForward();
                }
            }
            if (random() % 3 == 0) {
                std::string comment = "手" + std::to_string(round) + " (ゼ) [ソ]\r\nline";
                e.StoreComment(comment);
            }
            // A few trial moves on empty points, then ADD.
            const int trials = 1 + static_cast<int>(random() % 4);
            for (int t = 0; t < trials; ++t) {
                const PointCode p = MakePoint(1 + random() % 19, 1 + random() % 19);
                if (e.board[p] != kEmpty || !e.IsPlayable(p)) continue;
                if (e.FollowPoint(p)) continue;
                e.PlayColour(e.ColourToMove());
                if (e.moveLimit == kNormalMoveLimit) {
                    e.moveLimit = e.currentIndex;
                    e.hintPosition = e.currentIndex - 1;
                }
            }
            AddVariationCommand(e);
            ASSERT_EQ(CheckBranchTable(e), "") << "seed " << seed << " round " << round;
        }
        ASSERT_GT(e.branchCount, 3);
        ExpectRoundTrip("seed " + std::to_string(seed));
    }
}

}  // namespace
}  // namespace quorvel::test
