// The board window on the offscreen platform with in-memory message area and message boxes, and helpers
// that build records through the engine and click the window's pixel areas.
#pragma once

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QTest>
#include <sstream>
#include <string>
#include <vector>

#include "core/gui/board_window.h"
#include "formats/sgf_port.h"

namespace quorvel::test {

class BoardWindowTest : public ::testing::Test {
protected:
    MemoryMessageArea messages;
    MemoryDialogs dialogs;
    TForm2 w{messages, dialogs, QStringLiteral(QUORVEL_PROGRAM_DIR)};
    Engine& e = w.engine();
    SgfRecordFormats formats;

    BoardWindowTest() { e.SetFormats(formats); }

    PointCode P(const char* letters) const { return SgfLettersToPoint(letters[0], letters[1], e.boardSize); }

    static std::vector<std::string> Split(const std::string& moves) {
        std::istringstream in(moves);
        std::vector<std::string> out;
        for (std::string m; in >> m;) out.push_back(m);
        return out;
    }

    // A record whose main line is `moves` ("--" a pass), shown at its start in replay mode.
    void MakeMainLine(const std::string& moves, int size = 19) {
        if (size != e.boardSize) e.ChangeBoardSize(size);
        e.NewRecord();
        const std::vector<std::string> list = Split(moves);
        for (size_t i = 0; i < list.size(); ++i) {
            e.branchMoves[0][i + 1] = list[i] == "--" ? kPass : P(list[i].c_str());
        }
        e.branchMoves[0][0] = MakeHeader(0, kBlack, static_cast<int>(list.size()));
        e.branchOrigin[0] = 0;
        e.ReturnToMainLine();
        w.Redraw();
    }

    int AddBranch(int origin, const std::string& moves, int depth, int firstColour = kBlack) {
        const int b = ++e.branchCount;
        const std::vector<std::string> list = Split(moves);
        e.branchOrigin[b] = origin;
        e.branchMoves[b][0] = MakeHeader(depth, firstColour, static_cast<int>(list.size()));
        for (size_t i = 0; i < list.size(); ++i) {
            e.branchMoves[b][i + 1] = list[i] == "--" ? kPass : P(list[i].c_str());
        }
        return b;
    }

    // Recounts the hints after branches were added to a shown record.
    void Refresh() {
        e.RecountHints();
        w.Redraw();
    }

    void Click(int x, int y, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseClick(&w, button, modifiers, QPoint(x, y));
    }
    void ClickPoint(const char* letters, Qt::MouseButton button = Qt::LeftButton,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const PointCode p = P(letters);
        Click(e.geometry->CentreX(p), e.geometry->CentreY(p), button, modifiers);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&w, key, modifiers);
    }

    // What the window shows, as it paints itself.
    QImage Shown() { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QColor Centre(const QImage& img, const char* letters) const {
        const PointCode p = P(letters);
        return img.pixelColor(e.geometry->CentreX(p), e.geometry->CentreY(p));
    }
};

// Navigation strip buttons, by their order in the strip.
inline QPoint NavigationButton(int i) { return QPoint(243 + 28 * i, 407); }

}  // namespace quorvel::test
