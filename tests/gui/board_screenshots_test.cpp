// Screenshots of the board window for looking at it as a user does. Written only when QUORVEL_SCREENSHOTS
// names a folder (scripts/screenshots.sh sets it); otherwise the test is skipped.
#include <QDir>

#include "board_window_fixture.h"
#include "formats/sgf_reader.h"

namespace quorvel::test {
namespace {

// An opening of 79 moves on 19 lines.
constexpr char kGame19[] =
    "pd dp pp dd fq qf nc cn jj qn nq dj jd cf fc qj jq nd dn oq qo pq qp cq dq cp eq do ep co bn bo bm bp "
    "em fp qe re rf rg qg rh qc rc rb sb qb pc ob nb oc od pe oe ne of og nf mg mf lf le kf ke jf je if md "
    "lc ld mc kd kc jc ic jb ib id hc";

// A game with its information, comments and variations: two alternatives to move 7 and one inside.
constexpr char kVariations[] =
    "(;GM[1]FF[4]CA[Shift_JIS]SZ[19]PB[黒番 太郎]BR[五段]PW[白番 花子]WR[六段]KM[6.5]RE[B+R]"
    "DT[2026-12-07]EV[第一期 Quorvel 杯]PC[東京]C[互先の一局]"
    ";B[pd];W[dp];B[pp];W[dd];B[fq];W[cn]C[定石]"
    "(;B[qf];W[nc](;B[rd];W[qc];B[qi])(;B[qc];W[rd]))"
    "(;B[dj];W[jd])"
    "(;B[cq];W[dq];B[cp];W[do]))";

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
    MakeMainLine("kc cj jk dc kj cd ei ff hh", 13);
    e.GoToEnd();
    Save("13_lines.png");
    MakeMainLine("dd ff fd df ce eg", 9);
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
    LoadRecordText(e, kVariations);
    for (int i = 0; i < 6; ++i) e.StepForward();
    w.Redraw();
    Save("19_hint_letters.png");
    Key(Qt::Key_A);
    Key(Qt::Key_Right);
    Key(Qt::Key_B);  // into the variation at move 9
    Save("19_in_variation.png");
    e.ToggleHints();
    Key(Qt::Key_PageDown);
    Key(Qt::Key_Home);
    for (int i = 0; i < 6; ++i) Key(Qt::Key_Right);
    Save("19_hints_off_count.png");
    e.ToggleHints();
    e.ReturnToMainLine();
    LoadRecordText(e, kVariations);
    e.GoToEnd();
    // A right click on the prisoner box switches the numbers off and marks the moves where branches start.
    Click(20, 410, Qt::RightButton);
    Save("19_numbers_off_branch_signs.png");
    Click(20, 410, Qt::RightButton);
    Save("19_numbers_on_branch_highlight.png");
}

TEST_F(BoardScreenshots, InformationPanelPassAndCoordinates) {
    LoadRecordText(e, kVariations);
    e.GoToEnd();
    w.SetToolPanelShown(false);
    Save("19_information_panel.png");
    w.SetToolPanelShown(true);
    MakeMainLine("pd dp pp dd --");
    e.GoToEnd();
    e.settings.showXY = true;
    e.hover = {e.geometry->CentreX(P("pd")), e.geometry->CentreY(P("pd"))};
    Save("19_pass_sign_and_coordinates.png");
    e.settings.showXY = false;
    MakeMainLine("pd dp pp");
    e.StepForward();
    AddBranch(MakeOrigin(0, 0, 1), kWhite, "-- qq");
    Refresh();
    Save("19_pass_continuation.png");
    LoadRecordText(e,
                   "(;GM[1]FF[4]SZ[19]AB[dc][ec][fc][gc][hc][ic][jc]AW[de][ee][fe][ge][he][ie][je]"
                   "SQ[dc][de][dg]ST[ec][ee][eg]CR[fc][fe][fg]TR[gc][ge][gg]LO[hc][he][hg]MA[ic][ie][ig]"
                   "LB[jc:A][je:B][jg:C][kg:D][lg:E][mg:F][ng:G];B[pp])");
    Save("19_marks.png");
    e.replayMode = false;
    Save("19_creation_mode.png");
}

}  // namespace
}  // namespace quorvel::test
