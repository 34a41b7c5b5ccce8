#include "app/dialog_panels.h"
#include "engine_fixture.h"
#include "formats/sgf_writer.h"

namespace quorvel::test {
namespace {

class GameInfoPanelTest : public EngineTest {};

TEST_F(GameInfoPanelTest, TheBoardSizeChangesOnlyInARecordBeingCreated) {
    MakeMainLine("pd dp");
    e.StoreComment("kept");
    GameInfoFields f = FillGameInfo(e);
    EXPECT_EQ(f.boardSize, 19);
    f.boardSize = 9;
    f.black = "B";
    ApplyGameInfo(e, f);
    EXPECT_EQ(e.boardSize, 19);
    EXPECT_EQ(e.lineEnd, 2);
    EXPECT_EQ(e.gameComment, "kept");

    e.replayMode = false;
    f.black = "Creator";
    ApplyGameInfo(e, f);
    EXPECT_EQ(e.boardSize, 9);
    EXPECT_EQ(e.info.blackPlayer, "Creator");
    EXPECT_TRUE(e.recordModified);
    // The new head has no name yet: the writer adds it from the slot.
    CompleteHeaderText(e);
    EXPECT_NE(e.headerText.find("SZ[9]"), std::string::npos) << e.headerText;
    EXPECT_NE(e.headerText.find("PB[Creator]"), std::string::npos) << e.headerText;
}

TEST_F(GameInfoPanelTest, OnlyKomiEditedKeepsDateAndHandicapListed) {
    e.info.date = "2001-02-03";
    e.info.handicap = "3";
    GameInfoFields f;  // every field empty but the komi
    f.komi = "0.5";
    f.boardSize = e.boardSize;
    ApplyGameInfo(e, f);
    EXPECT_EQ(e.memos.info, "2001-02-03\r\n置石：3\r\nコミ：0.5");
    EXPECT_EQ(e.info.date, "2001-02-03");
}

}  // namespace
}  // namespace quorvel::test
