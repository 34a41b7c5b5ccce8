// The record tree of the published page's replay board, read from the texts the program writes. The page
// in a real browser is tested by tests/cli/replay_page_test.py.
#include <gtest/gtest.h>

#include <string>

#include "formats/replay_board.h"

namespace quorvel {
namespace {

// The tree as nested SGF of moves alone, the first child being the line that goes on.
std::string Shape(const std::vector<ReplayNode>& nodes, int at, int size) {
    const ReplayNode& n = nodes[static_cast<std::size_t>(at)];
    std::string out;
    if (n.colour) {
        out += n.colour == 1 ? ";B[" : ";W[";
        if (n.point >= 0) out += {static_cast<char>('a' + n.point % size), static_cast<char>('a' + n.point / size)};
        out += "]";
    }
    if (n.children.size() == 1) return out + Shape(nodes, n.children[0], size);
    for (int c : n.children) out += "(" + Shape(nodes, c, size) + ")";
    return out;
}

TEST(ReplayBoardTest, NestedAndInlineLayoutsGiveTheSameTree) {
    const std::string head = "(;GM[1]FF[1]SZ[19]\r\nPB[黒]\r\n";
    const std::string nested = head +
                               "(;B[pd]\r\n(;W[dp];B[pp];W[dd])\r\n(;W[pp])\r\n\r\n(;W[dq]\r\n(;B[qp])\r\n(;B[cc])\r\n)\r\n"
                               ")\r\n\r\n(;B[qd];W[dd]))";
    const std::string inlined = head +
                                ";B[pd]\r\n(;W[pp])\r\n(;W[dq]\r\n(;B[cc])\r\n;B[qp])\r\n;W[dp];B[pp];W[dd])\r\n\r\n"
                                "(;B[qd];W[dd])";
    const std::string expected = "(;B[pd](;W[dp];B[pp];W[dd])(;W[pp])(;W[dq](;B[qp])(;B[cc])))(;B[qd];W[dd])";
    EXPECT_EQ(Shape(ReplayTreeOf(nested, 19), 0, 19), expected);
    EXPECT_EQ(Shape(ReplayTreeOf(inlined, 19), 0, 19), expected);
    // One variation after move two, inline: before the move it is an alternative to.
    EXPECT_EQ(Shape(ReplayTreeOf(head + ";B[pd];W[dp]\r\n(;B[dc])\r\n;B[pp];W[dd])", 19), 0, 19),
              ";B[pd];W[dp](;B[pp];W[dd])(;B[dc])");
}

TEST(ReplayBoardTest, CommentsSetupAndPassesAreReadAsTheProgramReadsThem) {
    const auto nodes = ReplayTreeOf(
        "(;GM[1]SZ[9]GC[game___notes]AB[aa:bb][ii]AW[cc]\r\n"
        ";B[ee]C[a\\]b___c//d http://x.jp 囲碁\\\\]"   // an escaped "]", a Shift-JIS text, an escaped backslash
        ";W[tt];B[]AE[aa];W\r\n[ff]C[\x83\x5D])",        // "ゾ": its second byte is "]"
        9);
    ASSERT_EQ(nodes.size(), 5u);
    EXPECT_EQ(nodes[0].comment, "game\r\nnotes");
    EXPECT_EQ(nodes[0].black, (std::vector<int>{0, 1, 9, 10, 80}));
    EXPECT_EQ(nodes[0].white, std::vector<int>{20});
    EXPECT_EQ(nodes[1].colour, 1);
    EXPECT_EQ(nodes[1].point, 4 * 9 + 4);
    EXPECT_EQ(nodes[1].comment, "a]b\r\nc\r\nd http://x.jp 囲碁\\");
    EXPECT_EQ(nodes[2].colour, 2);
    EXPECT_EQ(nodes[2].point, -1);
    EXPECT_EQ(nodes[3].point, -1);
    EXPECT_EQ(nodes[3].empty, std::vector<int>{0});
    EXPECT_EQ(nodes[4].point, 5 * 9 + 5);
    EXPECT_EQ(nodes[4].comment, "\x83\x5D");
    // No record at all still gives the empty board's one node.
    EXPECT_EQ(ReplayTreeOf("no record", 19).size(), 1u);
}

TEST(ReplayBoardTest, TheRecordsTextsReachTheScriptAsAsciiEscapes) {
    const std::string html = ReplayBoardHtml("(;SZ[13]PB[秀策];B[dd]C[</script><b>\"x\"&'];W[jj])", 19);
    for (const char c : html) ASSERT_LT(static_cast<unsigned char>(c), 0x80u);
    EXPECT_EQ(html.find("</script><b>"), std::string::npos);
    EXPECT_NE(html.find("\\u003c/script\\u003e\\u003cb\\u003e\\u0022x\\u0022\\u0026\\u0027"), std::string::npos);
    EXPECT_NE(html.find("\\u79c0\\u7b56"), std::string::npos);  // 秀策
    EXPECT_NE(html.find("size:13,"), std::string::npos);       // the record's own size
    EXPECT_EQ(html.find("</script>"), html.rfind("</script>"));
}

}  // namespace
}  // namespace quorvel
