// The review of a whole line: the engine scores every position of the line the board window shows, with a
// progress bar and Cancel; the result is a graph of the score over the moves (a click goes to that move on
// the board) and the list of the moves that lost the most (a click goes there too). The work runs on the
// engine's worker; the window stays live and the board can be stepped meanwhile.
#pragma once

#include <QDialog>
#include <QWidget>
#include <string>
#include <vector>

#include "gtp/analysis.h"
#include "gtp/engine_worker.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace quorvel {

class TForm2;

namespace gtp {

constexpr int kReviewJob = 2;

// The score over the moves: Black's lead up, White's down, the move shown marked. A click picks the move
// nearest to it.
class ScoreGraph : public QWidget {
    Q_OBJECT

  public:
    explicit ScoreGraph(QWidget* parent = nullptr);
    void SetScores(const std::vector<double>& blackLead, int moves);
    void SetMarked(int move);
    // The x of move k's point, for tests and clicks alike.
    int XOfMove(int k) const;
    int YOfLead(double lead) const;

  signals:
    void moveClicked(int move);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    double Range() const;

    std::vector<double> lead_;
    int moves_ = 0;
    int marked_ = -1;
};

class ReviewDialog : public QDialog {
    Q_OBJECT

  public:
    ReviewDialog(TForm2& board, EngineWorker& worker, QWidget* parent = nullptr);

    // Reviews the line the board shows, from its start to its end.
    void Start();
    bool Running() const { return running_; }
    const Review& result() const { return review_; }
    const std::string& lastError() const { return error_; }

    ScoreGraph* graph() const { return graph_; }
    QListWidget* losses() const { return losses_; }
    QProgressBar* progress() const { return progress_; }
    QPushButton* cancelButton() const { return cancel_; }
    QLabel* status() const { return status_; }
    QPushButton* keepButton() const { return keep_; }

    // Writes the finished review into the record's comments, a line per move.
    void KeepInRecord();

    // Shows move k of the reviewed line on the board.
    void GoToMove(int k);

  signals:
    void finished(bool complete);

  private:
    void Progress(int done, int total, const Review& partial);
    void Done(const Review& review, const std::string& error, bool cancelled);
    void FillLosses();

    TForm2& board_;
    EngineWorker& worker_;
    ScoreGraph* graph_;
    QListWidget* losses_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    QPushButton* keep_;
    QLabel* status_;
    GamePosition line_;
    int firstEntry_ = 0;  // the line entry before the first reviewed move
    Review review_;
    std::string error_;
    bool running_ = false;
};

}  // namespace gtp
}  // namespace quorvel
