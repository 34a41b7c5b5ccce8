#include "gtp/gui/engine_game.h"

#include "core/gui/board_window.h"
#include "platform/gui/qt_text.h"

namespace quorvel::gtp {

namespace {

std::string ColourName(int colour) {
    return colour == kBlack ? "黒" : "白";
}

}  // namespace

EngineGame::EngineGame(TForm2& board, EngineWorker& worker, QObject* parent)
    : QObject(parent), board_(board), worker_(worker) {
    connect(&board_, &TForm2::redrawn, this, &EngineGame::Follow);
}

void EngineGame::Start(int engineColour) {
    engineColour_ = engineColour;
    playing_ = true;
    thinking_ = false;
    SetStatus(ToQString("対局中: エンジンは" + ColourName(engineColour)));
    Follow();
}

void EngineGame::Stop() {
    if (!playing_) return;
    playing_ = false;
    thinking_ = false;
    worker_.Cancel();
    SetStatus(ToQString("対局を終えました"));
}

void EngineGame::SetStatus(const QString& text) {
    status_ = text;
    emit statusChanged(text);
}

bool EngineGame::TwoPasses() const {
    const Engine& e = board_.engine();
    return e.currentIndex >= e.baseIndex + 2 &&
           e.lineMoves[static_cast<std::size_t>(e.currentIndex)] == kPass &&
           e.lineMoves[static_cast<std::size_t>(e.currentIndex - 1)] == kPass;
}

void EngineGame::Follow() {
    if (!playing_ || thinking_) return;
    const Engine& e = board_.engine();
    // The game lives in creation mode at the end of its line; elsewhere the player is looking around.
    if (e.replayMode || e.currentIndex != e.lineEnd) return;
    if (TwoPasses()) {
        playing_ = false;
        SetStatus(ToQString("二人が続けてパスしました: 終局です"));
        return;
    }
    if (e.ColourToMove() != engineColour_) return;
    thinking_ = true;
    const GamePosition position = LinePosition(e, e.currentIndex);
    worker_.Submit(
        [this, position](EngineSession& s) {
            std::string error;
            std::string reply;
            GtpClient* engine = s.Engine(error);
            if (engine && SendPosition(*engine, position, error)) {
                const GtpReply answer =
                    engine->Send(std::string("genmove ") + ColourText(position.toMove), kThinkLimit);
                if (answer.ok) {
                    reply = answer.text;
                } else {
                    error = answer.failed ? answer.text : "エンジンが着手を答えません: " + answer.text;
                }
            }
            s.Post([this, position, reply, error] { Answered(position, reply, error); });
        },
        kGameJob);
    SetStatus(ToQString("エンジンが考えています..."));
}

void EngineGame::Answered(const GamePosition& asked, const std::string& reply, const std::string& error) {
    thinking_ = false;
    if (!playing_) return;
    Engine& e = board_.engine();
    const GamePosition now = LinePosition(e, e.currentIndex);
    if (now.moves.size() != asked.moves.size() || e.replayMode) {
        // The record changed while the engine thought (a take-back, another record): ask again.
        Follow();
        return;
    }
    if (!error.empty()) {
        playing_ = false;
        SetStatus(ToQString("エンジン: " + error));
        return;
    }
    std::string word = reply.substr(0, reply.find_first_of(" \n"));
    if (word == "resign" || word == "RESIGN") {
        playing_ = false;
        SetStatus(ToQString(ColourName(engineColour_) + " (エンジン) が投了しました"));
        emit engineMoved();
        return;
    }
    const std::optional<PointCode> point = VertexPoint(word, e.boardSize);
    bool placed = false;
    if (point && *point == kPass) {
        placed = e.PassCommand();
    } else if (point) {
        placed = e.PutStone(*point);
    }
    if (!placed) {
        playing_ = false;
        SetStatus(ToQString("エンジンの着手「" + word + "」は打てません: 対局を終えます"));
        return;
    }
    SetStatus(ToQString(point && *point == kPass
                            ? ColourName(engineColour_) + " (エンジン) はパスしました"
                            : "あなたの番です (" + ColourName(Opponent(engineColour_)) + ")"));
    board_.Redraw();
    emit engineMoved();
}

}  // namespace quorvel::gtp
