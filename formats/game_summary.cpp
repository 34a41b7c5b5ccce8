#include "formats/game_summary.h"

#include <string>

namespace quorvel {
namespace {

bool Present(const std::string& slot) { return slot != kUnknown; }

// "持ち時間" of TM: whole minutes, minutes and seconds, or seconds.
std::string MainTimeText(int seconds) {
    if (seconds % 60 == 0) return std::to_string(seconds / 60) + "分";
    if (seconds > 59) return std::to_string(seconds / 60) + "分" + std::to_string(seconds % 60) + "秒";
    return std::to_string(seconds) + "秒";
}

std::string ByoyomiText(int seconds, int moves) {
    const std::string perMoves = "/" + std::to_string(moves) + "手";
    if (seconds % 60 == 0) return " | 秒読み：" + std::to_string(seconds / 60) + "分" + perMoves;
    if (seconds > 59) {
        return " | 秒読み ： " + std::to_string(seconds / 60) + "分" + std::to_string(seconds % 60) + "秒" + perMoves;
    }
    return " | 秒読み：" + std::to_string(seconds) + "秒" + perMoves;
}

}  // namespace

void ShowGameSummary(Engine& e) {
    const GameInfo& g = e.info;
    std::string text;
    std::string memo;
    const auto memoLine = [&memo](const std::string& line) {
        if (!memo.empty()) memo += "\r\n";
        memo += line;
    };

    if (Present(g.blackPlayer)) {
        text = "● " + g.blackPlayer;
        e.memos.blackName = g.blackPlayer;
    } else {
        e.memos.blackName.clear();
    }
    if (Present(g.whitePlayer)) {
        text += " | ○ " + g.whitePlayer;
        e.memos.whiteName = g.whitePlayer;
    } else {
        e.memos.whiteName.clear();
    }

    if (Present(g.date)) {
        text += " | " + g.date;
        memoLine(g.date);
    }
    if (Present(g.handicapText)) {
        text += " | " + g.handicapText;
        memoLine(g.handicapText);
    }
    if (e.setupCount > 0) memoLine("前配置：" + std::to_string(e.setupCount));
    memoLine("手順数：" + std::to_string(e.lineEnd - e.setupCount));
    if (Present(g.resultText)) {
        text += " | " + g.resultText;
        memoLine(g.resultText);
    }

    if (Present(g.place)) text += " | 場所：" + g.place;
    if (Present(g.event)) text += " | イベント名：" + g.event;
    if (Present(g.gameName)) text += " | 対局名：" + g.gameName;
    if (Present(g.round)) text += " | ラウンド：" + g.round;
    if (Present(g.komi)) {
        text += " | コミ：" + g.komi;
        memoLine("コミ：" + g.komi);
    }

    if (e.mainTimeSeconds > 0) text += " | 持ち時間：" + MainTimeText(e.mainTimeSeconds);
    if (e.byoyomiSeconds >= 1 && e.byoyomiMoves >= 1) text += ByoyomiText(e.byoyomiSeconds, e.byoyomiMoves);

    e.memos.info = memo;
    e.messages().SetText(text);
}

}  // namespace quorvel
