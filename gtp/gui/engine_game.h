// A game against the engine on the board window: the record is built in creation mode as any new record,
// the player's moves are the window's own clicks (and "P" for a pass), and whenever the engine's colour is
// to play it is asked for its move with genmove on its worker; its answer goes on the board as the next
// entry, a pass as a pass. A resignation or two passes in a row end the game; the record is saved like
// any other.
#pragma once

#include <QObject>
#include <QString>
#include <optional>
#include <string>

#include "gtp/analysis.h"
#include "gtp/engine_worker.h"

namespace quorvel {

class TForm2;

namespace gtp {

constexpr int kGameJob = 3;

class EngineGame : public QObject {
    Q_OBJECT

  public:
    EngineGame(TForm2& board, EngineWorker& worker, QObject* parent = nullptr);

    // Starts with the record the board holds now (a new record in creation mode, handicap stones and komi
    // already set): the engine plays `engineColour`.
    void Start(int engineColour);
    void Stop();
    bool playing() const { return playing_; }
    bool thinking() const { return thinking_; }
    int engineColour() const { return engineColour_; }
    // What the game has to say: whose turn, the engine's pass or resignation, its end, a failure.
    const QString& statusText() const { return status_; }

  signals:
    void statusChanged(const QString& text);
    // The engine put its move (or pass) on the board.
    void engineMoved();

  private:
    void Follow();
    void Answered(const GamePosition& asked, const std::string& reply, const std::string& error);
    void SetStatus(const QString& text);
    bool TwoPasses() const;

    TForm2& board_;
    EngineWorker& worker_;
    bool playing_ = false;
    bool thinking_ = false;
    int engineColour_ = kWhite;
    QString status_;
};

}  // namespace gtp
}  // namespace quorvel
