#include "gtp/gui/board_analysis.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "core/gui/board_window.h"
#include "platform/gui/qt_text.h"

namespace quorvel::gtp {

namespace {

// Candidates by rank: the best in blue, the next two in green, the rest in yellow, half see-through so
// that the grid shows.
QColor RankColour(int rank) {
    if (rank == 1) return QColor(40, 120, 255, 210);
    if (rank <= 3) return QColor(60, 190, 80, 200);
    return QColor(240, 200, 40, 190);
}

// The information panel's line under the move count, clear of the memos below it.
const QRect kScoreLine(410, 186, 152, 20);

}  // namespace

bool SamePosition(const GamePosition& a, const GamePosition& b) {
    if (a.boardSize != b.boardSize || a.komi != b.komi || a.toMove != b.toMove ||
        a.moves.size() != b.moves.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.moves.size(); ++i) {
        if (a.moves[i].colour != b.moves[i].colour || a.moves[i].point != b.moves[i].point) return false;
    }
    return true;
}

BoardAnalysis::BoardAnalysis(TForm2& board, EngineWorker& worker, QObject* parent)
    : QObject(parent), board_(board), worker_(worker) {
    board_.overlay = [this](QPainter& p) { Paint(p); };
    connect(&board_, &TForm2::redrawn, this, &BoardAnalysis::Follow);
    board_.installEventFilter(this);
}

BoardAnalysis::~BoardAnalysis() {
    board_.overlay = nullptr;
}

void BoardAnalysis::SetIdleLine(const QString& text) {
    if (idleLine_ == text) return;
    idleLine_ = text;
    if (!active_) board_.Redraw();
}

void BoardAnalysis::SetActive(bool active) {
    if (active_ == active) return;
    active_ = active;
    requested_.reset();
    answered_.reset();
    pointed_ = -1;
    if (active) {
        error_.clear();
    } else {
        worker_.Cancel();
    }
    board_.Redraw();
    emit activeChanged(active_);
}

const Analysis* BoardAnalysis::shownAnalysis() const {
    if (!active_ || !answered_ || !requested_ || !SamePosition(*answered_, *requested_)) return nullptr;
    return &analysis_;
}

void BoardAnalysis::Follow() {
    if (!active_) return;
    const Engine& e = board_.engine();
    GamePosition position = LinePosition(e, e.currentIndex);
    if (requested_ && SamePosition(position, *requested_)) return;
    requested_ = position;
    pointed_ = -1;
    worker_.Submit(
        [this, position, time = streamTime_](EngineSession& s) {
            std::string error;
            Analysis analysis;
            GtpClient* engine = s.Engine(error);
            if (engine && SendPosition(*engine, position, error)) {
                AnalyseSentPosition(*engine, position.toMove, position.boardSize, analysis, error, time);
            }
            s.Post([this, position, analysis, error] { Arrived(position, analysis, error); });
        },
        kAnalysisJob);
}

void BoardAnalysis::Arrived(const GamePosition& position, const Analysis& analysis,
                            const std::string& error) {
    if (!active_ || !requested_ || !SamePosition(position, *requested_)) return;
    if (!error.empty()) {
        // The engine cannot help: the analysis goes off and says why; the record is as it was.
        error_ = error;
        active_ = false;
        requested_.reset();
        answered_.reset();
        board_.Redraw();
        emit activeChanged(false);
        return;
    }
    answered_ = position;
    analysis_ = analysis;
    board_.Redraw();
    emit analysisShown();
}

QString BoardAnalysis::ScoreLine() const {
    if (!error_.empty() && !active_) return ToQString("エンジン: " + error_);
    if (!active_) return idleLine_;
    const Analysis* a = shownAnalysis();
    if (!a) return ToQString("検討中...");
    std::string line = "形勢 " + (a->blackLead ? ScoreText(*a->blackLead) : std::string("?"));
    if (a->winrate >= 0) {
        char rate[48];
        std::snprintf(rate, sizeof rate, "  %s勝率 %.1f%%", a->toMove == kBlack ? "黒" : "白",
                      a->winrate * 100);
        line += rate;
    }
    return ToQString(line);
}

void BoardAnalysis::Paint(QPainter& p) {
    const QString score = ScoreLine();
    if (!score.isEmpty()) {
        p.fillRect(kScoreLine, QColor(255, 255, 240));
        p.setPen(QColor(90, 90, 90));
        p.drawRect(kScoreLine.adjusted(0, 0, -1, -1));
        QFont font(ToQString("ＭＳ Ｐゴシック"));
        font.setPixelSize(12);
        p.setFont(font);
        p.setPen(error_.empty() ? Qt::black : QColor(180, 0, 0));
        p.drawText(kScoreLine.adjusted(4, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                   p.fontMetrics().elidedText(score, Qt::ElideRight, kScoreLine.width() - 6));
    }
    const Analysis* a = shownAnalysis();
    if (!a) return;
    const Engine& e = board_.engine();
    const BoardGeometry& g = *e.geometry;
    p.setRenderHint(QPainter::Antialiasing);
    // As large as a stone, so that a candidate is not taken for the number on a stone beside it.
    const int radius = std::max(4, g.gridPitch / 2 - 1);
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(std::max(8, g.gridPitch * 11 / 20));
    font.setBold(true);
    p.setFont(font);
    const Candidate* pointed = nullptr;
    int rank = 0;
    for (const Candidate& c : a->candidates) {
        ++rank;
        if (c.point == kPass || !e.IsOnBoard(c.point)) continue;
        if (c.point == pointed_) pointed = &c;
        const QPoint centre(g.CentreX(c.point), g.CentreY(c.point));
        p.setPen(rank == 1 ? QPen(QColor(200, 0, 0), 2) : QPen(QColor(90, 70, 20), 1));
        p.setBrush(RankColour(rank));
        p.drawEllipse(centre, radius, radius);
        p.setPen(rank == 1 ? Qt::white : Qt::black);
        p.drawText(QRect(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), Qt::AlignCenter,
                   QString::number(rank));
    }
    if (!pointed) return;
    // The variation of the candidate under the pointer: its moves numbered in the colours that play them.
    int colour = a->toMove;
    int number = 0;
    for (PointCode v : pointed->pv) {
        ++number;
        if (v != kPass && e.IsOnBoard(v) && number > 1) {
            const QPoint centre(g.CentreX(v), g.CentreY(v));
            p.setPen(QPen(Qt::darkGray, 1));
            p.setBrush(colour == kBlack ? QColor(20, 20, 20, 200) : QColor(250, 250, 250, 220));
            p.drawEllipse(centre, radius, radius);
            p.setPen(colour == kBlack ? Qt::white : Qt::black);
            p.drawText(QRect(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius),
                       Qt::AlignCenter, QString::number(number));
        }
        colour = Opponent(colour);
    }
}

bool BoardAnalysis::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &board_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F8) {
        Toggle();
        return true;
    }
    if (watched == &board_ && event->type() == QEvent::MouseMove && shownAnalysis()) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        const BoardGeometry& g = *board_.engine().geometry;
        PointCode under = -1;
        for (const Candidate& c : analysis_.candidates) {
            if (c.point == kPass) continue;
            const int dx = at.x() - g.CentreX(c.point);
            const int dy = at.y() - g.CentreY(c.point);
            if (dx * dx + dy * dy <= g.gridPitch * g.gridPitch / 4) under = c.point;
        }
        if (under != pointed_) {
            pointed_ = under;
            board_.Redraw();
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace quorvel::gtp
