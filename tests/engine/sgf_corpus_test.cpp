// Real records from many servers and programs, in many encodings, some malformed on purpose: each loads
// into a consistent record, can be stepped through, and reads back the same from the SGF the writer makes
// of it.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine_fixture.h"
#include "formats/sgf_reader.h"
#include "formats/sgf_writer.h"

namespace quorvel::test {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<fs::path> SgfFiles(const fs::path& dir) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() == ".sgf") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

class SgfCorpusTest : public EngineTest {
protected:
    // Loads a file and walks its main line and every branch, checking the record and the position.
    void LoadAndWalk(const fs::path& path) {
        SCOPED_TRACE(path.filename().string());
        LoadRecordText(e, ReadFile(path));
        ASSERT_EQ(CheckBranchTable(e), "");
        ASSERT_EQ(CheckPosition(e), "");
        while (e.currentIndex < e.lineEnd) e.StepForward();
        ASSERT_EQ(CheckPosition(e), "");
        for (int b = 1; b <= e.branchCount; ++b) {
            e.ReturnToMainLine();
            EnterFromMainLine(b);
            ASSERT_EQ(CheckPosition(e), "") << "branch " << b;
        }
        ResetRecord(e);
        ASSERT_EQ(CheckBranchTable(e), "");
        ASSERT_EQ(CheckPosition(e), "");
    }

    // Collections load as alternatives to the first move; the writer does not write those yet.
    bool HasAlternativesToTheFirstMove() const {
        for (int b = 1; b <= e.branchCount; ++b) {
            if (OriginParent(e.branchOrigin[b]) == 0 && OriginMove(e.branchOrigin[b]) == e.mainLineOffset) return true;
        }
        return false;
    }

    // Steps along the main line to where branch b (or its top-level ancestor) starts and enters it.
    void EnterFromMainLine(int b) {
        int top = b;
        while (OriginParent(e.branchOrigin[top]) != 0) top = OriginParent(e.branchOrigin[top]);
        const int startEntry = OriginBase(e.branchOrigin[top]);
        while (e.currentIndex < startEntry && e.currentIndex < e.lineEnd) e.StepForward();
        if (e.currentIndex == startEntry) e.EnterBranch(top);
        while (e.currentIndex < e.lineEnd) e.StepForward();
    }
};

TEST_F(SgfCorpusTest, EveryRecordLoadsConsistently) {
    const std::vector<fs::path> files = SgfFiles(fs::path(QUORVEL_TEST_DATA) / "corpus");
    ASSERT_GE(files.size(), 30u);
    for (const fs::path& path : files) LoadAndWalk(path);
}

TEST_F(SgfCorpusTest, CopyleftRecordsLoadConsistently) {
    const fs::path dir = fs::path(QUORVEL_SHARED_CORPUS) / "copyleft";
    if (!fs::is_directory(dir)) GTEST_SKIP() << "no shared corpus at " << dir;
    for (const fs::path& path : SgfFiles(dir)) LoadAndWalk(path);
}

TEST_F(SgfCorpusTest, RecordsReadBackFromTheWriterUnchanged) {
    // Whatever the reader made of a record, the writer's text of it reads back to the same table.
    for (const fs::path& path : SgfFiles(fs::path(QUORVEL_TEST_DATA) / "corpus")) {
        SCOPED_TRACE(path.filename().string());
        LoadRecordText(e, ReadFile(path));
        // A head without "(;" (a malformed root) is repaired by the writer, so it reads back differently.
        if (e.lineEnd == 0 || HasAlternativesToTheFirstMove() || e.headerText.find("(;") == std::string::npos) continue;
        const std::string written = WholeRecordText(e);
        MemoryMessageArea messages2;
        MemoryDialogs dialogs2;
        Engine again(messages2, dialogs2);
        LoadRecordText(again, SavedBytes(e, written));
        ASSERT_EQ(CheckBranchTable(again), "");
        EXPECT_EQ(again.setupCount, e.setupCount);
        EXPECT_EQ(again.lineEnd, e.lineEnd);
        ASSERT_EQ(again.branchCount, e.branchCount);
        for (int b = 0; b <= e.branchCount; ++b) {
            EXPECT_EQ(again.branchOrigin[b], e.branchOrigin[b]) << "branch " << b;
            ASSERT_EQ(again.BranchLength(b), e.BranchLength(b)) << "branch " << b;
            for (int k = 1; k <= e.BranchLength(b); ++k) {
                EXPECT_EQ(again.branchMoves[b][k], e.branchMoves[b][k]) << "branch " << b << " move " << k;
                EXPECT_EQ(RealText(again, again.CommentText(again.branchComments[b][k])),
                          RealText(e, e.CommentText(e.branchComments[b][k])))
                    << "branch " << b << " move " << k;
            }
        }
        EXPECT_EQ(RealText(again, again.info.blackPlayer), RealText(e, e.info.blackPlayer));
        EXPECT_EQ(RealText(again, again.gameComment), RealText(e, e.gameComment));
    }
}

TEST_F(SgfCorpusTest, ShiftJisRecordsKeepTheirNamesAndComments) {
    const fs::path dir = fs::path(QUORVEL_TEST_DATA) / "corpus";
    LoadRecordText(e, ReadFile(dir / "sabaki-japanese-shiftjis-ca-late.sgf"));
    EXPECT_EQ(e.info.blackPlayer, "井山 裕太");
    EXPECT_EQ(e.info.whitePlayer, "山下 敬吾");
    EXPECT_EQ(e.CommentText(e.branchComments[0][2]), "囲碁 is fun");

    // "ソ" ends in the byte of "\".
    LoadRecordText(e, ReadFile(dir / "sabaki-nihon-kiin-shiftjis-noca.sgf"));
    EXPECT_EQ(e.info.blackPlayer, "申眞ソ");
    EXPECT_EQ(e.info.whitePlayer, "党毅飛");
    EXPECT_EQ(e.info.place, "韓国棋院");

    // Comments in nodes without moves: the text keeps them byte for byte ("ー" ends in the byte of "[").
    const std::string text = ReadFile(dir / "sgfcpp-japanese-shiftjis-ca.sgf");
    LoadRecordText(e, text);
    const std::string comment = "Goは古代のゲームであり、中国での起源を忘れてから、最初に東アジアの他の地域に広がり、"
                                "次に全世界に広がりました。";
    ASSERT_NE(text.find(comment), std::string::npos);
    EXPECT_NE(e.recordText.find("C[" + comment + "]"), std::string::npos);
}

TEST_F(SgfCorpusTest, ServerChatCommentsLoseTheirEscapes) {
    LoadRecordText(e, ReadFile(fs::path(QUORVEL_TEST_DATA) / "corpus" / "kaya-kgs-cgoban3-review-chat-escapes.sgf"));
    EXPECT_EQ(e.info.blackPlayer, "atticus");
    EXPECT_EQ(e.setupCount, 3);
    EXPECT_EQ(e.gameComment, "holynec ［?］: have a good one\natticus ［7k］: u 2\n");
    // The sixth move's comment, with two chat lines.
    EXPECT_EQ(e.CommentText(e.branchComments[0][6]),
              "atticus ［7k］: this was to keep you separated\natticus ［7k］: i feel it was the right choice\n");
}

}  // namespace
}  // namespace quorvel::test
