#include "gtp/gui/review_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/gui/board_window.h"
#include "formats/board_diagram.h"
#include "gtp/review_comments.h"
#include "platform/gui/qt_text.h"

namespace quorvel::gtp {

namespace {

constexpr int kMargin = 8;

}  // namespace

ScoreGraph::ScoreGraph(QWidget* parent) : QWidget(parent) {
    setMinimumSize(420, 160);
}

void ScoreGraph::SetScores(const std::vector<double>& blackLead, int moves) {
    lead_ = blackLead;
    moves_ = moves;
    update();
}

void ScoreGraph::SetMarked(int move) {
    marked_ = move;
    update();
}

double ScoreGraph::Range() const {
    double range = 10;
    for (double v : lead_) range = std::max(range, std::fabs(v));
    return range;
}

int ScoreGraph::XOfMove(int k) const {
    const int span = std::max(moves_, 1);
    return kMargin + static_cast<int>(std::lround(static_cast<double>(k) * (width() - 2 * kMargin) / span));
}

int ScoreGraph::YOfLead(double lead) const {
    const double half = (height() - 2 * kMargin) / 2.0;
    return static_cast<int>(std::lround(height() / 2.0 - lead / Range() * half));
}

void ScoreGraph::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(250, 246, 235));
    p.setRenderHint(QPainter::Antialiasing);
    const int zero = YOfLead(0);
    p.setPen(QPen(QColor(150, 150, 150), 1, Qt::DashLine));
    p.drawLine(kMargin, zero, width() - kMargin, zero);
    if (lead_.empty()) return;
    // Black's lead filled dark above the line, White's light below it.
    QPainterPath area;
    area.moveTo(XOfMove(0), zero);
    for (std::size_t k = 0; k < lead_.size(); ++k)
        area.lineTo(XOfMove(static_cast<int>(k)), YOfLead(lead_[k]));
    area.lineTo(XOfMove(static_cast<int>(lead_.size()) - 1), zero);
    area.closeSubpath();
    p.save();
    p.setClipRect(0, 0, width(), zero);
    p.fillPath(area, QColor(40, 40, 40, 150));
    p.setClipRect(0, zero, width(), height() - zero);
    p.fillPath(area, QColor(255, 255, 255, 230));
    p.restore();
    p.setPen(QPen(QColor(200, 60, 30), 2));
    for (std::size_t k = 1; k < lead_.size(); ++k) {
        p.drawLine(XOfMove(static_cast<int>(k) - 1), YOfLead(lead_[k - 1]), XOfMove(static_cast<int>(k)),
                   YOfLead(lead_[k]));
    }
    if (marked_ >= 0 && marked_ <= moves_) {
        p.setPen(QPen(QColor(30, 90, 220), 1));
        p.drawLine(XOfMove(marked_), kMargin, XOfMove(marked_), height() - kMargin);
    }
    p.setPen(Qt::black);
    p.drawText(kMargin + 2, kMargin + 12, ToQString("黒"));
    p.drawText(kMargin + 2, height() - kMargin - 2, ToQString("白"));
}

void ScoreGraph::mousePressEvent(QMouseEvent* event) {
    if (moves_ <= 0) return;
    const double span = std::max(width() - 2 * kMargin, 1);
    const int k = static_cast<int>(std::lround((event->position().x() - kMargin) * moves_ / span));
    const int last = std::max(0, static_cast<int>(lead_.size()) - 1);
    emit moveClicked(std::clamp(k, 0, last));
}

ReviewDialog::ReviewDialog(TForm2& board, EngineWorker& worker, QWidget* parent)
    : QDialog(parent), board_(board), worker_(worker) {
    setWindowTitle(ToQString("棋譜の評価"));
    graph_ = new ScoreGraph(this);
    losses_ = new QListWidget(this);
    losses_->setMinimumHeight(120);
    progress_ = new QProgressBar(this);
    cancel_ = new QPushButton(ToQString("中止"), this);
    keep_ = new QPushButton(ToQString("棋譜のコメントに残す"), this);
    keep_->setEnabled(false);
    status_ = new QLabel(this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(progress_, 1);
    bottom->addWidget(cancel_);
    bottom->addWidget(keep_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(graph_, 2);
    layout->addWidget(new QLabel(ToQString("損の大きかった手"), this));
    layout->addWidget(losses_, 1);
    layout->addWidget(status_);
    layout->addLayout(bottom);
    resize(460, 420);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        if (!running_) return;
        worker_.Cancel();
        Done(review_, std::string(), true);
    });
    connect(graph_, &ScoreGraph::moveClicked, this, &ReviewDialog::GoToMove);
    connect(keep_, &QPushButton::clicked, this, &ReviewDialog::KeepInRecord);
    connect(losses_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { GoToMove(item->data(Qt::UserRole).toInt()); });
}

void ReviewDialog::Start() {
    const Engine& e = board_.engine();
    line_ = LinePosition(e, e.lineEnd);
    firstEntry_ = CountBase(e);
    review_ = Review();
    error_.clear();
    running_ = true;
    const int moves = static_cast<int>(line_.moves.size()) - line_.setupStones;
    progress_->setRange(0, moves + 1);
    progress_->setValue(0);
    cancel_->setEnabled(true);
    keep_->setEnabled(false);
    losses_->clear();
    graph_->SetScores({}, moves);
    status_->setText(ToQString("評価中..."));
    worker_.Submit(
        [this, line = line_](EngineSession& s) {
            std::string error;
            Review review;
            GtpClient* engine = s.Engine(error);
            bool stopped = false;
            if (engine) {
                ReviewLine(
                    *engine, line,
                    [&](int done, int total) {
                        const Review partial = review;
                        s.Post([this, done, total, partial] { Progress(done, total, partial); });
                        stopped = s.Cancelled();
                        return !stopped;
                    },
                    review, error);
            }
            s.Post([this, review, error, stopped] { Done(review, error, stopped); });
        },
        kReviewJob);
}

void ReviewDialog::Progress(int done, int total, const Review& partial) {
    progress_->setMaximum(total);
    progress_->setValue(done);
    review_ = partial;
    graph_->SetScores(partial.blackLead, total - 1);
}

void ReviewDialog::Done(const Review& review, const std::string& error, bool cancelled) {
    running_ = false;
    cancel_->setEnabled(false);
    if (review.blackLead.size() >= review_.blackLead.size()) review_ = review;
    error_ = error;
    graph_->SetScores(review_.blackLead, static_cast<int>(line_.moves.size()) - line_.setupStones);
    FillLosses();
    if (!error.empty()) {
        status_->setText(ToQString("エンジン: " + error));
    } else if (cancelled) {
        status_->setText(ToQString(
            "中止しました (" +
            std::to_string(std::max<int>(0, static_cast<int>(review_.blackLead.size()) - 1)) + " 手まで)"));
    } else {
        progress_->setValue(progress_->maximum());
        status_->setText(ToQString("評価しました: " + std::to_string(review_.blackLead.size() - 1) + " 手"));
    }
    keep_->setEnabled(review_.complete);
    emit finished(review_.complete);
}

void ReviewDialog::KeepInRecord() {
    if (!review_.complete) return;
    Engine& e = board_.engine();
    if (!WriteReviewComments(e, review_, firstEntry_)) {
        status_->setText(ToQString("再生モードの棋譜にだけ残せます"));
        return;
    }
    status_->setText(ToQString("評価を各手のコメントに残しました"));
    board_.Redraw();
}

void ReviewDialog::FillLosses() {
    losses_->clear();
    for (const Loss& l : LargestLosses(review_, 10)) {
        const auto k = static_cast<std::size_t>(l.move);
        char text[96];
        std::snprintf(text, sizeof text, "%3d 手目  %s %-4s  %.1f 目の損", l.move,
                      review_.colours[k] == kBlack ? "黒" : "白",
                      VertexText(review_.points[k], line_.boardSize).c_str(), l.points);
        auto* item = new QListWidgetItem(ToQString(text), losses_);
        item->setData(Qt::UserRole, l.move);
    }
}

void ReviewDialog::GoToMove(int k) {
    Engine& e = board_.engine();
    const int target = std::min(firstEntry_ + k, e.lineEnd);
    if (e.currentIndex > target) e.GoToStart();
    while (e.currentIndex < target) {
        const int before = e.currentIndex;
        e.StepForward();
        if (e.currentIndex == before) break;
    }
    graph_->SetMarked(e.currentIndex - firstEntry_);
    board_.Redraw();
}

}  // namespace quorvel::gtp
