#include "gtp/analysis.h"

#include <algorithm>
#include <cstdlib>

#include "formats/board_diagram.h"

namespace quorvel::gtp {

double RecordKomi(const Engine& e) {
    const std::string& text = e.info.komi;
    char* end = nullptr;
    const double komi = std::strtod(text.c_str(), &end);
    if (end != text.c_str() && komi > -1000 && komi < 1000) return komi;
    const int handicap = std::atoi(e.info.handicap.c_str());
    return handicap >= 2 ? 0.5 : 6.5;
}

int SetupEntries(const Engine& e) {
    return CountBase(e);
}

GamePosition LinePosition(const Engine& e, int entries) {
    GamePosition p;
    p.boardSize = e.boardSize;
    p.komi = RecordKomi(e);
    entries = std::clamp(entries, 0, std::min(e.lineEnd, kMaxLineEntries));
    const int setup = CountBase(e);
    for (int k = 1; k <= entries; ++k) {
        const PointCode point = e.lineMoves[static_cast<std::size_t>(k)];
        // A setup entry off the board places nothing; a move there is the record's way of writing a pass.
        if (point != kPass && !e.IsOnBoard(point)) {
            if (k <= setup) continue;
            p.moves.push_back({LineEntryColour(e, k), kPass});
            continue;
        }
        if (k <= setup && point == kPass) continue;
        p.moves.push_back({LineEntryColour(e, k), point});
        if (k <= setup) ++p.setupStones;
    }
    p.toMove = LineEntryColour(e, std::max(entries, setup) + 1);
    return p;
}

namespace {

bool Play(GtpClient& engine, const GtpMove& m, int boardSize, std::size_t number, std::string& error) {
    const std::string vertex = VertexText(m.point, boardSize);
    const GtpReply reply = engine.Send(std::string("play ") + ColourText(m.colour) + " " + vertex);
    if (reply.ok) return true;
    error = reply.failed
                ? reply.text
                : std::to_string(number) + " 手目 (" + vertex + ") をエンジンが受け付けません: " + reply.text;
    return false;
}

bool Setting(GtpClient& engine, const std::string& command, std::string& error) {
    const GtpReply reply = engine.Send(command);
    if (reply.ok) return true;
    error = reply.failed ? reply.text : "エンジンが「" + command + "」を受け付けません: " + reply.text;
    return false;
}

// Streams one analysis for `time` and keeps the last complete line's candidates.
bool StreamAnalysis(GtpClient& engine, AnalyzeDialect dialect, int toMove, int boardSize,
                    std::chrono::milliseconds time, std::vector<Candidate>& out, std::string& error) {
    const std::string command =
        std::string(dialect == AnalyzeDialect::Kata ? "kata-analyze " : "lz-analyze ") + ColourText(toMove) +
        " 20";
    if (!engine.BeginStream(command, error)) return false;
    const auto deadline = std::chrono::steady_clock::now() + time;
    for (;;) {
        std::string line;
        const auto read = engine.ReadStreamLine(line, deadline);
        if (read == GtpClient::StreamRead::Failed) {
            error = "エンジン「" + engine.Name() + "」が解析の途中で終了しました。";
            return false;
        }
        if (read == GtpClient::StreamRead::Quiet) break;
        if (auto found = ReadAnalyzeLine(line, boardSize, dialect)) out = std::move(*found);
    }
    if (!engine.EndStream(error)) return false;
    if (out.empty()) {
        error = "エンジン「" + engine.Name() + "」の解析が候補手を出しませんでした。";
        return false;
    }
    return true;
}

}  // namespace

bool SendPosition(GtpClient& engine, const GamePosition& position, std::string& error) {
    if (!Setting(engine, "boardsize " + std::to_string(position.boardSize), error)) return false;
    if (!Setting(engine, "clear_board", error)) return false;
    char komi[32];
    std::snprintf(komi, sizeof komi, "komi %.1f", position.komi);
    if (!Setting(engine, komi, error)) return false;
    for (std::size_t i = 0; i < position.moves.size(); ++i) {
        if (!Play(engine, position.moves[i], position.boardSize, i + 1, error)) return false;
    }
    return true;
}

bool AnalyseSentPosition(GtpClient& engine, int toMove, int boardSize, Analysis& out, std::string& error,
                         std::chrono::milliseconds streamTime) {
    out = Analysis();
    out.toMove = toMove;
    const std::string top = toMove == kWhite ? "top_moves_white" : "top_moves_black";
    if (engine.Knows(top)) {
        const GtpReply reply = engine.Send(top, kThinkLimit);
        if (!reply.ok) {
            error = reply.failed ? reply.text : "エンジンが候補手を答えません: " + reply.text;
            return false;
        }
        const auto candidates = ReadTopMoves(reply.text, boardSize);
        if (!candidates) {
            error = "エンジンの候補手が読めません: " + reply.text.substr(0, 60);
            return false;
        }
        out.candidates = *candidates;
        if (engine.Knows("estimate_score")) {
            const GtpReply score = engine.Send("estimate_score", kThinkLimit);
            if (score.failed) {
                error = score.text;
                return false;
            }
            if (score.ok) out.blackLead = ReadScore(score.text);
        }
        return true;
    }
    const bool kata = engine.Knows("kata-analyze");
    if (!kata && !engine.Knows("lz-analyze")) {
        error = "エンジン「" + engine.Name() +
                "」は候補手を出すコマンド (top_moves_black, kata-analyze, "
                "lz-analyze) を持っていません。";
        return false;
    }
    if (!StreamAnalysis(engine, kata ? AnalyzeDialect::Kata : AnalyzeDialect::Lz, toMove, boardSize,
                        streamTime, out.candidates, error)) {
        return false;
    }
    const Candidate& best = out.candidates.front();
    out.winrate = best.winrate;
    if (best.hasScoreLead) out.blackLead = toMove == kBlack ? best.scoreLead : -best.scoreLead;
    return true;
}

std::optional<double> SentPositionScore(GtpClient& engine, int toMove, int boardSize, std::string& error,
                                        std::chrono::milliseconds streamTime) {
    if (engine.Knows("estimate_score")) {
        const GtpReply reply = engine.Send("estimate_score", kThinkLimit);
        if (!reply.ok) {
            error = reply.failed ? reply.text : "エンジンが形勢を答えません: " + reply.text;
            return std::nullopt;
        }
        const auto lead = ReadScore(reply.text);
        if (!lead) error = "エンジンの形勢が読めません: " + reply.text.substr(0, 60);
        return lead;
    }
    if (!engine.Knows("kata-analyze")) {
        error = "エンジン「" + engine.Name() +
                "」は形勢を答えるコマンド (estimate_score, kata-analyze) を持って"
                "いません。";
        return std::nullopt;
    }
    std::vector<Candidate> candidates;
    if (!StreamAnalysis(engine, AnalyzeDialect::Kata, toMove, boardSize, streamTime, candidates, error)) {
        return std::nullopt;
    }
    if (!candidates.front().hasScoreLead) {
        error = "エンジンの解析に目数がありません。";
        return std::nullopt;
    }
    return toMove == kBlack ? candidates.front().scoreLead : -candidates.front().scoreLead;
}

bool ReviewLine(GtpClient& engine, const GamePosition& line, const std::function<bool(int, int)>& progress,
                Review& out, std::string& error) {
    out = Review();
    GamePosition start = line;
    const int setupStones = std::clamp(line.setupStones, 0, static_cast<int>(line.moves.size()));
    start.moves.resize(static_cast<std::size_t>(setupStones));
    if (!SendPosition(engine, start, error)) return false;
    const int moves = static_cast<int>(line.moves.size()) - setupStones;
    out.colours.push_back(0);
    out.points.push_back(kPass);
    out.scoresIgnoreTurn = engine.Knows("estimate_score");
    int toMove = moves > 0 ? line.moves[static_cast<std::size_t>(setupStones)].colour : line.toMove;
    for (int k = 0; k <= moves; ++k) {
        if (k > 0) {
            const GtpMove& m = line.moves[static_cast<std::size_t>(setupStones + k - 1)];
            if (!Play(engine, m, line.boardSize, static_cast<std::size_t>(k), error)) return false;
            out.colours.push_back(m.colour);
            out.points.push_back(m.point);
            toMove = Opponent(m.colour);
        }
        const auto lead = SentPositionScore(engine, toMove, line.boardSize, error);
        if (!lead) return false;
        out.blackLead.push_back(*lead);
        if (progress && !progress(k + 1, moves + 1)) return false;
    }
    out.complete = true;
    return true;
}

std::vector<std::optional<double>> MoveLosses(const Review& review) {
    const std::size_t moves = std::min(review.blackLead.size(), review.colours.size());
    std::vector<std::optional<double>> out(moves);
    const std::size_t back = review.scoresIgnoreTurn ? 2 : 1;
    for (std::size_t k = back; k < moves; ++k) {
        const double change = review.blackLead[k] - review.blackLead[k - back];
        out[k] = review.colours[k] == kBlack ? -change : change;
    }
    return out;
}

std::vector<Loss> LargestLosses(const Review& review, int count) {
    std::vector<Loss> losses;
    const std::vector<std::optional<double>> lost = MoveLosses(review);
    for (std::size_t k = 1; k < lost.size(); ++k) {
        if (lost[k] && *lost[k] > 0) losses.push_back({static_cast<int>(k), *lost[k]});
    }
    std::stable_sort(losses.begin(), losses.end(),
                     [](const Loss& a, const Loss& b) { return a.points > b.points; });
    if (static_cast<int>(losses.size()) > count) losses.resize(static_cast<std::size_t>(std::max(count, 0)));
    return losses;
}

}  // namespace quorvel::gtp
