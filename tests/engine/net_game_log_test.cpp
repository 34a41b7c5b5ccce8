// The net game log's engine: the entry under the caret, moving and deleting comments, the diagram board
// with its navigation, and the SGF text of the diagram shown.
#include <gtest/gtest.h>

#include "auxiliary/net_game_log.h"

namespace quorvel {
namespace {

const std::string kSep = "               ";  // a separator line: 15 blanks

// A log of a plain chat line and two board comments, the second of two lines and the last without a
// separator after it.
const std::string kLog = "{棋譜ログ}\r\n" + kSep + "\r\n[ 12 ]：よろしくお願いします\r\n" + kSep +
                         "\r\n[ 30 ]：この手は？\r\n{ 碁盤 1 }\r\n" + kSep + "\r\n[ 45 ]：ここは厳しい\r\n右上が大事\r\n{ 碁盤 2 }";

std::size_t At(const std::string& text, const std::string& what, std::size_t plus = 0) {
    const std::size_t at = text.find(what);
    EXPECT_NE(at, std::string::npos) << what;
    return at + plus;
}

TEST(NetGameLog, SelectingFindsTheEntryHeaderAndDiagram) {
    // The head line selects nothing.
    EXPECT_FALSE(SelectLogEntry(kLog, 3).any());

    const LogSelection plain = SelectLogEntry(kLog, At(kLog, "よろしく", 4));
    ASSERT_TRUE(plain.comment());
    EXPECT_EQ(plain.start, At(kLog, "[ 12 ]"));
    EXPECT_EQ(kLog.substr(plain.start, plain.highlight), "[ 12 ]");
    EXPECT_EQ(plain.diagram, 0);
    EXPECT_EQ(kLog.substr(plain.start, plain.end - plain.start), "[ 12 ]：よろしくお願いします\r\n" + kSep + "\r\n");

    // The second line of an entry and its diagram line belong to it.
    for (const char* inside : {"右上", "{ 碁盤 2", "[ 45"}) {
        const LogSelection s = SelectLogEntry(kLog, At(kLog, inside, 1));
        ASSERT_TRUE(s.comment()) << inside;
        EXPECT_EQ(s.start, At(kLog, "[ 45 ]")) << inside;
        EXPECT_EQ(s.diagram, 2) << inside;
        // The last entry has no separator after it: it runs to the end of the text.
        EXPECT_EQ(s.end, kLog.size()) << inside;
    }
    EXPECT_EQ(SelectLogEntry(kLog, kLog.size() + 100).start, At(kLog, "[ 45 ]"));

    // A separator line is selected itself, 15 blanks.
    const LogSelection sep = SelectLogEntry(kLog, At(kLog, "[ 30 ]") - 5);
    EXPECT_TRUE(sep.separator);
    EXPECT_EQ(sep.highlight, 15u);
    EXPECT_EQ(sep.start, At(kLog, "[ 30 ]") - 17);
}

TEST(NetGameLog, AKanjiEndingInABraceNamesNoDiagram) {
    // 本 ends in the byte of "{": "日本 碁盤 2 }" in a comment is text, and the entry's diagram is its own.
    const std::string log = "{棋譜ログ}\r\n" + kSep + "\r\n[ 3 ]：日本 碁盤 2 } の話\r\n{ 碁盤 1 }\r\n" + kSep + "\r\n[ 4 ]：b";
    EXPECT_EQ(SelectLogEntry(log, At(log, "の話")).diagram, 1);
}

TEST(NetGameLog, TheCommentOfAnEntryLeavesOutItsDiagramLineAndSeparator) {
    EXPECT_EQ(LogEntryComment(kLog, SelectLogEntry(kLog, At(kLog, "右上"))), "[ 45 ]：ここは厳しい\r\n右上が大事");
    EXPECT_EQ(LogEntryComment(kLog, SelectLogEntry(kLog, At(kLog, "よろしく"))), "[ 12 ]：よろしくお願いします");
    EXPECT_EQ(LogEntryComment(kLog, SelectLogEntry(kLog, At(kLog, "[ 30 ]") - 5)), "");
}

TEST(NetGameLog, RunsOfEmptyLinesReadOnceAsSeparators) {
    // Found by the chat file's fuzz target: a run of empty lines read again after a save grew each time.
    const std::string file = "Oskelt\r\n\r\n[ 1 ]：a\r\n\r\n\r\n\r\n[ 2 ]：b\r\n";
    const ChatLog first = ChatLogFromFileText(file);
    EXPECT_EQ(first.logText, "{棋譜ログ}\r\n" + kSep + "\r\n[ 1 ]：a\r\n" + kSep + "\r\n" + kSep + "\r\n" + kSep +
                                 "\r\n[ 2 ]：b\r\n");
    const std::string written = ChatFileText(first);
    EXPECT_EQ(ChatFileText(ChatLogFromFileText(written)), written);
    // The same for the diagram store, and for a marker that stands before the first entry.
    const std::string store = "Oskelt ---碁盤データ---\r\n\r\n{1}<<DiaData=SZ[9]>>\r\n\r\n\r\n[ 1 ]：a";
    const std::string once = ChatFileText(ChatLogFromFileText(store));
    EXPECT_EQ(ChatFileText(ChatLogFromFileText(once)), once);
}

TEST(NetGameLog, DiagramNumbersAreReadWithCare) {
    const std::string log = "{棋譜ログ}\r\n" + kSep + "\r\n[ 1 ]：a\r\n{ 碁盤 99999999999999999999 }\r\n" + kSep +
                            "\r\n[ 2 ]：b\r\n{ 碁盤 x }\r\n" + kSep + "\r\n[ 3 ]：c\r\n{ 碁盤 7 }\r\n" + kSep + "\r\n";
    EXPECT_EQ(SelectLogEntry(log, At(log, "[ 1 ]")).diagram, 0);
    EXPECT_EQ(SelectLogEntry(log, At(log, "[ 2 ]")).diagram, 0);
    EXPECT_EQ(SelectLogEntry(log, At(log, "[ 3 ]")).diagram, 7);
}

TEST(NetGameLog, CtrlClickSwapsTwoEntriesWhole) {
    std::string log = kLog;
    const LogSelection first = SelectLogEntry(log, At(log, "[ 12 ]"));
    const LogSelection last = SelectLogEntry(log, At(log, "[ 45 ]"));
    ASSERT_TRUE(SwapLogEntries(log, first, last));
    // The last entry had no separator after it: moved up, it takes one.
    EXPECT_EQ(log, "{棋譜ログ}\r\n" + kSep + "\r\n[ 45 ]：ここは厳しい\r\n右上が大事\r\n{ 碁盤 2 }\r\n" + kSep +
                       "\r\n[ 30 ]：この手は？\r\n{ 碁盤 1 }\r\n" + kSep + "\r\n[ 12 ]：よろしくお願いします\r\n" + kSep + "\r\n");
    EXPECT_EQ(SelectLogEntry(log, At(log, "この手")).diagram, 1);
    // Each entry still reads with its own header and diagram.
    EXPECT_EQ(SelectLogEntry(log, At(log, "右上")).diagram, 2);
    EXPECT_EQ(SelectLogEntry(log, At(log, "よろしく")).diagram, 0);
    // The same entry, or a separator, changes nothing.
    EXPECT_FALSE(SwapLogEntries(log, first, first));
    EXPECT_FALSE(SwapLogEntries(log, first, SelectLogEntry(kLog, At(kLog, "[ 30 ]") - 5)));
}

TEST(NetGameLog, DeleteCutsTheEntryAndItsDiagramOnly) {
    ChatLog log;
    log.logText = kLog;
    log.diagramStore = "{1}<<DiaData=SZ[19];B[pd]>>\r\n{2}<<DiaData=SZ[19];B[dd]>>\r\n{12}<<DiaData=SZ[9];B[ee]>>\r\n";
    log.diagramCounter = 12;
    DeleteLogEntry(log, SelectLogEntry(log.logText, At(log.logText, "この手")));
    EXPECT_EQ(log.logText, "{棋譜ログ}\r\n" + kSep + "\r\n[ 12 ]：よろしくお願いします\r\n" + kSep +
                               "\r\n[ 45 ]：ここは厳しい\r\n右上が大事\r\n{ 碁盤 2 }");
    EXPECT_EQ(log.diagramStore, "{2}<<DiaData=SZ[19];B[dd]>>\r\n{12}<<DiaData=SZ[9];B[ee]>>\r\n");
    // The last entry, with no separator after it, goes up to the end and no further.
    DeleteLogEntry(log, SelectLogEntry(log.logText, At(log.logText, "右上")));
    EXPECT_EQ(log.logText, "{棋譜ログ}\r\n" + kSep + "\r\n[ 12 ]：よろしくお願いします\r\n" + kSep + "\r\n");
    EXPECT_EQ(log.diagramStore, "{12}<<DiaData=SZ[9];B[ee]>>\r\n");
    // Numbers are never given again.
    EXPECT_EQ(AddBoardComment(log, 5, "次", "<<DiaData=SZ[19];B[aa]>>\r\n"), 13);
}

ChatLog StoreOf(const std::string& diagramText) {
    ChatLog log;
    log.diagramStore = "{4}" + diagramText + "\r\n";
    log.diagramCounter = 4;
    return log;
}

TEST(NetGameLog, NavigationTakesBackCapturesAndShowsPasses) {
    // The colour letters are not read: Black plays first. Black's a2 takes the white stone on a1, then
    // White passes.
    const ChatLog log = StoreOf("<<DiaData=SZ[9]AB[ba]AW[aa];B[ee];W[ff];B[ab];W[tt];B[gg]>>");
    LogBoard b;
    ClearLogBoard(b);
    EXPECT_FALSE(ShowLogDiagram(b, log, 3));  // no such diagram: nothing shown
    EXPECT_EQ(b.entryCount, 0);
    ASSERT_TRUE(ShowLogDiagram(b, log, 4));
    EXPECT_EQ(b.board.boardSize, 9);
    EXPECT_EQ(b.entryCount, 7);
    EXPECT_EQ(LogBoardCaption(b), " [碁盤4]   5手");
    const PointCode a1 = MakePoint(1, 1);
    EXPECT_EQ(b.board.subBoard[a1], kEmpty);
    // The zones of Image3, 28 pixels each.
    const struct {
        int x;
        LogStep step;
    } zones[] = {{0, LogStep::ToSetup}, {27, LogStep::ToSetup},     {28, LogStep::BackTen}, {83, LogStep::Back},
                 {84, LogStep::Forward}, {139, LogStep::ForwardTen}, {140, LogStep::ToEnd},  {400, LogStep::ToEnd}};
    for (const auto& z : zones) EXPECT_EQ(LogStepAt(z.x), z.step) << z.x;

    EXPECT_TRUE(StepLogBoard(b, LogStep::Back));  // the pass is now the move shown
    EXPECT_EQ(b.board.shownEntry, 6);
    EXPECT_FALSE(StepLogBoard(b, LogStep::ToEnd));
    EXPECT_FALSE(StepLogBoard(b, LogStep::BackTen));
    EXPECT_EQ(b.board.shownEntry, b.board.setupCount);
    EXPECT_EQ(b.board.subBoard[a1], kWhite);  // the capture is taken back
    EXPECT_FALSE(StepLogBoard(b, LogStep::Back));  // no further than the setup
    EXPECT_EQ(b.board.shownEntry, 2);
    StepLogBoard(b, LogStep::Forward);
    StepLogBoard(b, LogStep::Forward);
    EXPECT_TRUE(StepLogBoard(b, LogStep::Forward) == false && b.board.subBoard[a1] == kEmpty);
    EXPECT_TRUE(StepLogBoard(b, LogStep::Forward));  // a pass played forward
    StepLogBoard(b, LogStep::ForwardTen);
    EXPECT_EQ(b.board.shownEntry, 7);
}

TEST(NetGameLog, SgfOfTheDiagramShown) {
    LogBoard b;
    ClearLogBoard(b);
    EXPECT_EQ(LogDiagramSgf(b), "(;GM[1]FF[1]SZ[19])");

    const ChatLog log = StoreOf("<<DiaData=SZ[13]/<SiroSaki>/AB[cc][dd]AW[jj]\r\nTR[cc];W[kk];B[tt];W[ll]>>");
    ASSERT_TRUE(ShowLogDiagram(b, log, 4));
    EXPECT_EQ(LogDiagramSgf(b),
              "(;GM[1]FF[1]SZ[13]\r\nAB[dd][cc]\r\nAW[jj]\r\nTR[cc]\r\n;W[kk]\r\n;B[tt]\r\n;W[ll]\r\n)/<SiroSaki>/");
    StepLogBoard(b, LogStep::ToSetup);
    EXPECT_EQ(LogDiagramSgf(b), "(;GM[1]FF[1]SZ[13]NE[W]\r\nAB[dd][cc]\r\nAW[jj]\r\nTR[cc])/<SiroSaki>/");

    const ChatLog moves = StoreOf("<<DiaData=SZ[19];B[pd];W[dd]>>");
    ASSERT_TRUE(ShowLogDiagram(b, moves, 4));
    EXPECT_EQ(b.board.boardSize, 19);  // "SZ[19]" takes the board of 13 lines back to 19
    EXPECT_EQ(LogDiagramSgf(b), "(;GM[1]FF[1]SZ[19]\r\n;B[pd]\r\n;W[dd]\r\n)");
}

}  // namespace
}  // namespace quorvel
