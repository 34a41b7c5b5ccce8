// Walks the whole variation tree of real records by keys (into every branch, back to its parent, back to
// the diagram and the main line) and checks the position against a fresh replay after every step.
#include <fstream>
#include <sstream>

#include "core/keys.h"
#include "engine_fixture.h"
#include "formats/sgf_reader.h"

namespace quorvel::test {
namespace {

std::string ReadFixture(const std::string& name) {
    std::ifstream in(std::string(QUORVEL_TEST_DATA) + "/corpus/" + name, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class TreeWalkTest : public EngineTest, public ::testing::WithParamInterface<const char*> {
protected:
    void Check(const char* where) {
        ++steps;
        ASSERT_EQ(CheckPosition(e), "") << where << " at entry " << e.currentIndex << " of branch " << e.currentBranch;
    }

    // Walks the line from the shown position to its end, entering every branch met on the way.
    void WalkLine(int level) {
        ASSERT_LT(level, 200);
        for (;;) {
            const int index = e.currentIndex;
            const int branch = e.currentBranch;
            const int depth = e.variationDepth;
            const int diagram = e.diagramBranch;
            const PointGrid before = e.board;
            const int branches = e.hintCount;
            for (int nth = 1; nth <= branches; ++nth) {
                const int number = nth + 1 < 9 ? nth + 1 : nth + 2;  // running numbers skip 9
                if (number > 26) break;                               // no key reaches further branches
                ASSERT_TRUE(e.KeyDown(kKeyA + number - 1, false));
                Check("entering a branch");
                ++entered;
                WalkLine(level + 1);
                if (::testing::Test::HasFatalFailure()) return;
                // Back to where the branch began.
                if (depth == 0 && branch == 0 && index == e.setupCount && diagram == 0 && e.variationDepth == 0) {
                    e.ReturnToMainLine();  // the branch was the diagram
                    Check("back to the main line");
                } else {
                    while (e.variationDepth > depth + 1) {
                        ASSERT_TRUE(e.KeyDown(kKeyPageUp, false));
                        Check("back to the parent");
                    }
                    ASSERT_TRUE(e.KeyDown(kKeyPageUp, false));  // leaves to the parent, or back to the diagram
                    Check("leaving the branch");
                }
                ASSERT_EQ(e.currentBranch, branch);
                ASSERT_EQ(e.currentIndex, index);
                ASSERT_EQ(e.board, before);
            }
            if (e.currentIndex >= e.lineEnd) return;
            ASSERT_TRUE(e.KeyDown(kKeyRight, false));
            Check("stepping forward");
            if (e.currentIndex == index) return;  // the line cannot go on
        }
    }

    int steps = 0;
    int entered = 0;
};

TEST_P(TreeWalkTest, EveryPositionOfTheTreeMatchesAFreshReplay) {
    LoadRecordText(e, ReadFixture(GetParam()));
    ASSERT_EQ(CheckBranchTable(e), "");
    e.ReturnToMainLine();
    Check("the start");
    WalkLine(0);
    // Every branch was entered once (none of these records has more than 24 branches at one point).
    EXPECT_EQ(entered, e.branchCount);
    EXPECT_GT(e.branchCount, 0);
    // Back at the start, everything is as it was.
    ASSERT_TRUE(e.KeyDown(kKeyHome, false));
    Check("home");
    EXPECT_EQ(e.currentIndex, e.baseIndex);
    EXPECT_EQ(e.blackCaptured + e.whiteCaptured, 0);
}

INSTANTIATE_TEST_SUITE_P(Corpus, TreeWalkTest,
                         ::testing::Values("sente-joseki-teaching-labels-comments.sgf",
                                           "kaya-kgs-cgoban3-review-chat-escapes.sgf",
                                           "sabakizhcn-multigo-commentary-gb2312-noca.sgf",
                                           "littlego-setup-variations-9x9-ha3.sgf",
                                           "sabaki-multigo-problem-gb2312-noca.sgf"));

}  // namespace
}  // namespace quorvel::test
