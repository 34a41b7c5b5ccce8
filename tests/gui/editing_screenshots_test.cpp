// Screenshots of record editing: creation mode with setup stones and marks, and the mark palette. Written
// only when QUORVEL_SCREENSHOTS names a folder (scripts/screenshots.sh sets it); otherwise skipped.
#include <QDir>

#include "board_window_fixture.h"
#include "core/gui/mark_palette.h"

namespace quorvel::test {
namespace {

class EditingScreenshots : public BoardWindowTest {
  protected:
    void SetUp() override {
        dir_ = qEnvironmentVariable("QUORVEL_SCREENSHOTS");
        if (dir_.isEmpty()) GTEST_SKIP() << "QUORVEL_SCREENSHOTS names no folder";
        QDir().mkpath(dir_);
    }
    QString dir_;
};

TEST_F(EditingScreenshots, CreationModeMarksAndThePalette) {
    TForm15 palette(e, QStringLiteral(QUORVEL_PROGRAM_DIR), &w, nullptr);
    w.SetPalette(&palette);
    MakeMainLine("");
    w.SwitchMode(false);
    e.SetInputMode(3);
    const struct {
        const char* point;
        int colour;
        int mark;
    } stones[] = {{"dd", kBlack, 5}, {"pd", kWhite, 3}, {"dp", kBlack, 9}, {"pp", kWhite, 10},
                  {"jj", kBlack, 1}, {"cc", kWhite, 0}, {"qq", kBlack, 7}, {"jd", kWhite, 2}};
    for (const auto& s : stones) {
        e.SelectMark(s.mark);
        e.SetupStoneClick(P(s.point), s.colour);
    }
    for (const auto& [point, kind] : {std::pair{"gg", 4}, {"mm", 6}, {"gm", 11}, {"mg", 15}, {"jg", 13}}) {
        e.SelectMark(kind);
        e.SpaceBarDown();
        e.ToggleMark(P(point));
        e.MarkKeyReleased();
    }
    palette.ToolButton(5)->click();
    w.Redraw();
    EXPECT_TRUE(w.grab().save(dir_ + QStringLiteral("/creation_marks.png")));
    EXPECT_TRUE(palette.grab().save(dir_ + QStringLiteral("/mark_palette.png")));
    e.SetInputMode(1);
    for (const char* p : {"qc", "cq", "qd"}) ASSERT_TRUE(e.PutStone(P(p)));
    w.Redraw();
    EXPECT_TRUE(w.grab().save(dir_ + QStringLiteral("/creation_moves.png")));
}

}  // namespace
}  // namespace quorvel::test
