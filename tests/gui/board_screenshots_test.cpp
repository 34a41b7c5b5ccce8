// Screenshots of the board window for looking at it as a user does. Written only when QUORVEL_SCREENSHOTS
// names a folder (scripts/screenshots.sh sets it); otherwise the test is skipped.
#include <QDir>

#include "board_window_fixture.h"

namespace quorvel::test {
namespace {

// An opening of 79 moves on 19 lines.
constexpr char kGame19[] =
    "pd dp pp dd fq qf nc cn jj qn nq dj jd cf fc qj jq nd dn oq qo pq qp cq dq cp eq do ep co bn bo bm bp "
    "em fp qe re rf rg qg rh qc rc rb sb qb pc ob nb oc od pe oe ne of og nf mg mf lf le kf ke jf je if md "
    "lc ld mc kd kc jc ic jb ib id hc";

class BoardScreenshots : public BoardWindowTest {
protected:
    void SetUp() override {
        dir_ = qEnvironmentVariable("QUORVEL_SCREENSHOTS");
        if (dir_.isEmpty()) GTEST_SKIP() << "QUORVEL_SCREENSHOTS names no folder";
        QDir().mkpath(dir_);
    }
    void Save(const char* name) {
        w.Redraw();
        EXPECT_TRUE(Shown().save(dir_ + QLatin1Char('/') + QLatin1String(name))) << name;
    }
    QString dir_;
};

TEST_F(BoardScreenshots, NineteenLines) {
    MakeMainLine(kGame19);
    e.GoToEnd();
    Save("19_numbers_on.png");
    e.settings.number = false;
    Save("19_numbers_off.png");
    e.settings.number = true;
    e.BackTen();
    e.BackTen();
    e.BackTen();
    Save("19_move_49.png");
}

TEST_F(BoardScreenshots, ThirteenNineSevenSixLines) {
    MakeMainLine("jd dj jj dd gg cg gc ic jf ge", 13);
    e.GoToEnd();
    Save("13_lines.png");
    MakeMainLine("ee cg gc cc gg dg fc eg", 9);
    e.GoToEnd();
    Save("9_lines.png");
    MakeMainLine("dd cc ee ce", 7);
    e.GoToEnd();
    Save("7_lines.png");
    MakeMainLine("cc dd cd", 6);
    e.GoToEnd();
    Save("6_lines.png");
}

TEST_F(BoardScreenshots, VariationWithHintLetters) {
    MakeMainLine(kGame19);
    // Three alternatives to move 12 of the main line, one of them with a variation of its own.
    const int b1 = AddBranch(MakeOrigin(0, 0, 11), "qk qm", 1, kWhite);
    AddBranch(MakeOrigin(11, b1, 1), "ql", 2, kBlack);
    AddBranch(MakeOrigin(0, 0, 11), "jq", 1, kWhite);
    AddBranch(MakeOrigin(0, 0, 11), "pj", 1, kWhite);
    for (int i = 0; i < 11; ++i) e.StepForward();
    w.Redraw();
    Save("19_hint_letters.png");
    e.EnterBranch(b1);
    e.EnterBranch(b1 + 1);
    e.StepBack();
    w.Redraw();
    Save("19_in_variation.png");
    e.ToggleHints();
    Save("19_hints_off.png");
    e.ToggleHints();
    e.ReturnToMainLine();
    for (int i = 0; i < 30; ++i) e.StepForward();
    // A right click on the prisoner box switches the numbers off and marks the moves where branches start.
    Click(20, 410, Qt::RightButton);
    Save("19_numbers_off_branch_signs.png");
    Click(20, 410, Qt::RightButton);
    Save("19_numbers_on_branch_highlight.png");
}

TEST_F(BoardScreenshots, InformationPanelPassAndCoordinates) {
    MakeMainLine("pd dp pp dd --");
    e.memos.blackName = "黒番 太郎 (五段)";
    e.memos.whiteName = "白番 花子 (六段)";
    e.memos.info = "棋戦 : 第一期 Quorvel 杯\r\n日付 : 2026-12-07\r\nコミ : 6目半\r\n結果 : 黒 中押し勝ち";
    e.GoToEnd();
    e.blackCaptured = 3;
    e.whiteCaptured = 12;
    w.SetToolPanelShown(false);
    Save("19_information_panel.png");
    w.SetToolPanelShown(true);
    e.settings.showXY = true;
    e.hover = {e.geometry->CentreX(P("pd")), e.geometry->CentreY(P("pd"))};
    Save("19_pass_sign_and_coordinates.png");
    e.settings.showXY = false;
    e.replayMode = false;
    Save("19_creation_mode.png");
}

}  // namespace
}  // namespace quorvel::test
