// The engine's analysis on the board window: toggled with F8, it asks the engine about every position the
// window shows and draws the candidates over the board (coloured circles with their rank, the best one
// marked with a ring), the score (and win rate where the engine gives one) in the information panel, and
// the principal variation of the candidate under the pointer. The asking runs on the engine's worker, so
// stepping through the record never waits for it: a step only queues the new position, replacing one that
// still waits, and a result drawn is always the one of the position shown.
#pragma once

#include <QObject>
#include <QString>
#include <optional>
#include <string>

#include "gtp/analysis.h"
#include "gtp/engine_worker.h"

class QPainter;

namespace quorvel {

class TForm2;

namespace gtp {

// The worker's kind of an analysis job: a newer position replaces one that still waits.
constexpr int kAnalysisJob = 1;

bool SamePosition(const GamePosition& a, const GamePosition& b);

class BoardAnalysis : public QObject {
    Q_OBJECT

  public:
    // Draws on `board` and asks through `worker`; both must outlive this object.
    BoardAnalysis(TForm2& board, EngineWorker& worker, QObject* parent = nullptr);
    // The board no longer draws the candidates.
    ~BoardAnalysis() override;

    bool active() const { return active_; }
    void SetActive(bool active);
    void Toggle() { SetActive(!active_); }
    // How long a streaming engine thinks on each position.
    void SetStreamTime(std::chrono::milliseconds time) { streamTime_ = time; }

    // The analysis of the position shown, once the engine has answered; null before.
    const Analysis* shownAnalysis() const;
    // The last message of the engine's failure (the analysis is then off); empty when none.
    const std::string& lastError() const { return error_; }
    // The text of the score line in the information panel.
    QString ScoreLine() const;
    // What the line shows while the analysis is off (a game's state); empty for nothing.
    void SetIdleLine(const QString& text);

  signals:
    void activeChanged(bool active);
    // An answer for the position shown arrived and is drawn.
    void analysisShown();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Follow();
    void Paint(QPainter& p);
    void Arrived(const GamePosition& position, const Analysis& analysis, const std::string& error);

    TForm2& board_;
    EngineWorker& worker_;
    bool active_ = false;
    std::optional<GamePosition> requested_;  // the position last sent to the worker
    std::optional<GamePosition> answered_;   // the position `analysis_` is of
    Analysis analysis_;
    std::string error_;
    PointCode pointed_ = -1;  // the candidate under the pointer, whose variation is drawn
    std::chrono::milliseconds streamTime_ = kStreamTime;
    QString idleLine_;
};

}  // namespace gtp
}  // namespace quorvel
