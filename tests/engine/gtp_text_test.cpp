// The GTP texts: vertices both ways, GNU Go's replies, and the info lines of kata-analyze and lz-analyze in
// the forms those engines document.
#include "gtp/gtp_text.h"

#include <gtest/gtest.h>

namespace quorvel::gtp {
namespace {

TEST(GtpText, VerticesSkipTheLetterIAndCountRowsFromTheBottom) {
    // SGF "aa" is the top left corner: A19 on 19 lines, A9 on 9.
    EXPECT_EQ(VertexText(MakePoint(1, 1), 19), "A19");
    EXPECT_EQ(VertexText(MakePoint(1, 1), 9), "A9");
    EXPECT_EQ(VertexText(MakePoint(9, 19), 19), "J1");  // the ninth column is J
    EXPECT_EQ(VertexText(MakePoint(19, 4), 19), "T16");
    EXPECT_EQ(VertexText(kPass, 19), "pass");
    for (int size : {5, 9, 13, 19}) {
        for (int col = 1; col <= size; ++col) {
            for (int row = 1; row <= size; ++row) {
                const PointCode p = MakePoint(col, row);
                ASSERT_EQ(VertexPoint(VertexText(p, size), size), p) << VertexText(p, size);
            }
        }
    }
    EXPECT_EQ(VertexPoint("q16", 19), MakePoint(16, 4));
    EXPECT_EQ(VertexPoint("PASS", 19), kPass);
    EXPECT_FALSE(VertexPoint("I5", 19));
    EXPECT_FALSE(VertexPoint("K10", 9));
    EXPECT_FALSE(VertexPoint("A0", 19));
    EXPECT_FALSE(VertexPoint("resign", 19));
    EXPECT_FALSE(VertexPoint("D4x", 19));
}

TEST(GtpText, TopMovesAreVertexValuePairs) {
    const auto moves = ReadTopMoves("G7 75.00 G3 74.01 E3 74.01 ", 9);
    ASSERT_TRUE(moves);
    ASSERT_EQ(moves->size(), 3u);
    EXPECT_EQ((*moves)[0].point, MakePoint(7, 3));
    EXPECT_DOUBLE_EQ((*moves)[0].value, 75.0);
    EXPECT_EQ((*moves)[2].point, MakePoint(5, 7));
    EXPECT_TRUE(ReadTopMoves("", 9)->empty());  // a finished game has no candidate
    EXPECT_FALSE(ReadTopMoves("G7 75.00 G3", 9));
    EXPECT_FALSE(ReadTopMoves("G7 much", 9));
    EXPECT_FALSE(ReadTopMoves("Z9 1.0", 9));
}

TEST(GtpText, ScoresAreBlacksLead) {
    EXPECT_DOUBLE_EQ(*ReadScore("W+10.3 (upper bound: 10.3, lower: 10.3)"), -10.3);
    EXPECT_DOUBLE_EQ(*ReadScore("B+0.5"), 0.5);
    EXPECT_DOUBLE_EQ(*ReadScore("0"), 0.0);
    EXPECT_FALSE(ReadScore(""));
    EXPECT_FALSE(ReadScore("X+3"));
    EXPECT_FALSE(ReadScore("B+lots"));
    EXPECT_EQ(ScoreText(-10.34), "W+10.3");
    EXPECT_EQ(ScoreText(2.5), "B+2.5");
    EXPECT_EQ(ScoreText(0.01), "0");
}

TEST(GtpText, KataAnalyzeLinesGiveWinrateScoreLeadAndVariation) {
    // Two candidates as kata-analyze prints them, the second with the lists newer versions add, and the
    // ownership list that closes a line asked for with "ownership true".
    const std::string line =
        "info move Q16 visits 41 edgeVisits 41 utility -0.02 winrate 0.482 scoreMean -0.4 scoreStdev 31.2 "
        "scoreLead -0.45 scoreSelfplay -0.6 prior 0.1 lcb 0.47 utilityLcb -0.05 order 0 pv Q16 D4 Q4 "
        "info move D4 visits 12 winrate 0.47 scoreLead -0.9 prior 0.09 lcb 0.44 order 1 pv D4 Q16 "
        "pvVisits 12 7 pvEdgeVisits 12 7 isSymmetryOf Q16 ownership 0.1 -0.2 0.3";
    const auto c = ReadAnalyzeLine(line, 19, AnalyzeDialect::Kata);
    ASSERT_TRUE(c);
    ASSERT_EQ(c->size(), 2u);
    EXPECT_EQ((*c)[0].point, MakePoint(16, 4));
    EXPECT_EQ((*c)[0].visits, 41);
    EXPECT_DOUBLE_EQ((*c)[0].winrate, 0.482);
    EXPECT_TRUE((*c)[0].hasScoreLead);
    EXPECT_DOUBLE_EQ((*c)[0].scoreLead, -0.45);
    EXPECT_EQ((*c)[0].pv, (std::vector<PointCode>{MakePoint(16, 4), MakePoint(4, 16), MakePoint(16, 16)}));
    EXPECT_EQ((*c)[1].pv, (std::vector<PointCode>{MakePoint(4, 16), MakePoint(16, 4)}));
    EXPECT_DOUBLE_EQ((*c)[1].scoreLead, -0.9);
}

TEST(GtpText, LzAnalyzeWinratesAreTenThousandths) {
    const std::string line =
        "info move D16 visits 6 winrate 4197 prior 1760 lcb 3838 order 0 pv D16 Q16 D4 Q4 "
        "info move pass visits 1 winrate 10 prior 5 lcb 0 order 1 pv pass";
    const auto c = ReadAnalyzeLine(line, 19, AnalyzeDialect::Lz);
    ASSERT_TRUE(c);
    ASSERT_EQ(c->size(), 2u);
    EXPECT_DOUBLE_EQ((*c)[0].winrate, 0.4197);
    EXPECT_FALSE((*c)[0].hasScoreLead);
    EXPECT_EQ((*c)[0].pv.size(), 4u);
    EXPECT_EQ((*c)[1].point, kPass);
    EXPECT_DOUBLE_EQ((*c)[1].winrate, 0.001);
}

TEST(GtpText, AnalyzeLinesWithoutCandidatesAreNotRead) {
    EXPECT_FALSE(ReadAnalyzeLine("", 19, AnalyzeDialect::Kata));
    EXPECT_FALSE(ReadAnalyzeLine("= ", 19, AnalyzeDialect::Kata));
    // A candidate whose move is off the board is dropped; the others stay.
    const auto c =
        ReadAnalyzeLine("info move Z99 visits 3 info move C3 visits 2 winrate 0.5", 9, AnalyzeDialect::Kata);
    ASSERT_TRUE(c);
    ASSERT_EQ(c->size(), 1u);
    EXPECT_EQ((*c)[0].point, MakePoint(3, 7));
    EXPECT_EQ((*c)[0].pv, std::vector<PointCode>{MakePoint(3, 7)});
    // A line cut short in the middle of a key keeps what came before.
    EXPECT_EQ(ReadAnalyzeLine("info move C3 visits", 9, AnalyzeDialect::Kata)->size(), 1u);
}

}  // namespace
}  // namespace quorvel::gtp
