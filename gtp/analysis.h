// What the engine is asked about a record: the position after some entries of the shown line sent in GTP,
// the candidates and the score of that position, and the review of a whole line (the score after every
// move and the moves that lost the most). Scores are Black's lead in points, whatever the engine's side.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/engine.h"
#include "gtp/gtp_client.h"
#include "gtp/gtp_text.h"

namespace quorvel::gtp {

struct GtpMove {
    int colour = kBlack;
    PointCode point = kPass;
};

// A position as the engine is told it: the board, the komi and every stone in order (setup stones first,
// then the moves, passes included), and the colour to play.
struct GamePosition {
    int boardSize = 19;
    double komi = 6.5;
    std::vector<GtpMove> moves;
    int setupStones = 0;  // the first moves that are setup stones rather than moves of the game
    int toMove = kBlack;
};

// The record's komi (KM) as a number; 6.5 when it has none the engine could read, 0.5 then in a handicap
// game.
double RecordKomi(const Engine& e);

// The position after the first `entries` entries of the current line.
GamePosition LinePosition(const Engine& e, int entries);

// The setup stones that come before the line's numbered moves (entries a review never scores).
int SetupEntries(const Engine& e);

// Sends the position: boardsize, clear_board, komi, then every stone. False with the user's message when
// the engine refuses the board or a move.
bool SendPosition(GtpClient& engine, const GamePosition& position, std::string& error);

struct Analysis {
    int toMove = kBlack;
    std::vector<Candidate> candidates;  // best first
    std::optional<double> blackLead;    // the score estimate
    double winrate = -1;                // of the side to move, 0..1; -1 when the engine gives none
};

// How long a streaming engine (kata-analyze, lz-analyze) is let think on one position.
constexpr std::chrono::milliseconds kStreamTime{1500};

// Candidates and score of the position already sent: top_moves_black/white and estimate_score where the
// engine has them (GNU Go), else kata-analyze or lz-analyze for `streamTime`. False with the user's
// message when the engine can do none of them or fails.
bool AnalyseSentPosition(GtpClient& engine, int toMove, int boardSize, Analysis& out, std::string& error,
                         std::chrono::milliseconds streamTime = kStreamTime);

// Black's lead in the position already sent: estimate_score, else the best candidate's score lead of
// kata-analyze. Nullopt with the message when the engine gives no score.
std::optional<double> SentPositionScore(GtpClient& engine, int toMove, int boardSize, std::string& error,
                                        std::chrono::milliseconds streamTime = kStreamTime);

struct Review {
    std::vector<double> blackLead;  // [k]: after the k-th move of the line; [0] the start
    std::vector<int> colours;       // [k]: the colour of move k ([0] unused)
    std::vector<PointCode> points;  // [k]: its point (kPass for a pass)
    bool complete = false;          // every position scored (not cancelled, no failure)
    // The scores ignore whose turn it is (GNU Go's estimate_score counts the board as it stands), so every
    // move seems to gain about a move's worth: a move is then judged against its player's previous move,
    // between two positions with the same side to play.
    bool scoresIgnoreTurn = false;
};

// Scores every position of `line` from its start (setup stones only) to its end: the setup stones and
// moves of `line` are played one at a time. `progress(done, total)` is called after each position and
// stops the review when it returns false (then false with an empty `error`). False with the user's message
// on a failure. What was scored until then stays in `out`.
bool ReviewLine(GtpClient& engine, const GamePosition& line, const std::function<bool(int, int)>& progress,
                Review& out, std::string& error);

struct Loss {
    int move = 0;       // 1-based number of the move in the review
    double points = 0;  // what the mover lost, in points (positive: worse than before the move)
};

// What each move lost ([k] for move k, [0] unused): its player's lead before it less the lead after it;
// with scoresIgnoreTurn, "before" is before the opponent's move that came first, so the first move has
// none (nullopt).
std::vector<std::optional<double>> MoveLosses(const Review& review);

// The `count` moves that lost the most, largest first; moves that lost nothing are left out.
std::vector<Loss> LargestLosses(const Review& review, int count);

}  // namespace quorvel::gtp
