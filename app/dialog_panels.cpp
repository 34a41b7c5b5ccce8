#include "app/dialog_panels.h"

#include <cstdlib>

#include "formats/sgf_head.h"

namespace quorvel {
namespace {

// A whole decimal number, or `otherwise`.
int DecimalOr(const std::string& text, int otherwise) {
    if (text.empty() || text.size() > 9) return otherwise;
    for (char c : text) {
        if (c < '0' || c > '9') return otherwise;
    }
    return std::atoi(text.c_str());
}

std::string Shown(const std::string& slot) { return slot == kUnknown ? std::string() : slot; }

}  // namespace

SettingsPanelFields FillSettingsPanel(const SettingsOwners& o) {
    const Settings& s = o.board.settings;
    SettingsPanelFields f;
    f.allShow = s.allShow;
    f.sameMark = s.salala;
    f.asOption = s.asOption;
    f.textAddPre = s.textAddPre;
    f.textUseColor = s.textUseColor;
    f.advanceMoves = o.shell.advanceMoves;
    f.noZarnNoHint = s.noZarnNoHint;
    f.endingAsk = o.files.endingAsk;
    f.textUseNew = s.textUseNew;
    f.macMouse = s.macMouse;
    f.codeBase = o.shell.html.appCodeBase;
    f.bgColor = o.shell.html.htmlColor;
    f.width = o.shell.html.appWidth;
    f.height = o.shell.html.appHeight;
    f.textMoves = std::to_string(s.textBMoves);
    f.goBanXY = s.goBanXY;
    f.sendPath = o.shell.sendPath;
    return f;
}

bool ApplySettingsPanel(const SettingsOwners& o, const SettingsPanelFields& f) {
    Settings& s = o.board.settings;
    s.allShow = f.allShow;
    s.salala = f.sameMark;
    s.asOption = f.asOption;
    s.textAddPre = f.textAddPre;
    s.textUseColor = f.textUseColor;
    s.advanceMoves = f.advanceMoves;
    o.shell.advanceMoves = f.advanceMoves;
    s.noZarnNoHint = f.noZarnNoHint;
    o.files.endingAsk = f.endingAsk;
    s.textUseNew = f.textUseNew;
    s.macMouse = f.macMouse;
    HtmlSettings& html = o.shell.html;
    if (!f.codeBase.empty()) html.appCodeBase = f.codeBase;
    // These go into the page's markup: a colour and plain numbers only.
    if (IsHtmlColour(f.bgColor)) html.htmlColor = f.bgColor;
    if (IsPlainNumber(f.width)) html.appWidth = f.width;
    if (IsPlainNumber(f.height)) html.appHeight = f.height;
    if (!f.textMoves.empty()) {
        const int n = DecimalOr(f.textMoves, 100);
        if (n >= 1 && n <= 99) s.textBMoves = n;
    }
    if (!f.goBanXY.empty()) SetCoordinateSystem(s, f.goBanXY);
    // A line break would end the setting's line in the file.
    if (f.sendPath.empty() || f.sendPath.find_first_of("\r\n") != std::string::npos) return false;
    o.shell.sendPath = f.sendPath;
    return o.shell.sendPaths.MoveToFront(f.sendPath);
}

GameInfoFields FillGameInfo(const Engine& e) {
    const GameInfo& g = e.info;
    GameInfoFields f;
    f.black = Shown(g.blackPlayer);
    f.blackRank = Shown(g.blackRank);
    f.white = Shown(g.whitePlayer);
    f.whiteRank = Shown(g.whiteRank);
    f.date = Shown(g.date);
    f.gameName = Shown(g.gameName);
    f.handicap = Shown(g.handicap);
    f.place = Shown(g.place);
    f.komi = Shown(g.komi);
    f.startNumber = std::to_string(e.firstMoveNumber);
    const int size = e.boardSize;
    f.boardSize = (size == 13 || size == 9 || size == 7 || size == 6) ? size : 19;
    return f;
}

void ApplyGameInfo(Engine& e, const GameInfoFields& f) {
    GameInfo& g = e.info;
    bool changed = false;
    // A new size empties the record and its head, so it comes first and the fields then fill the new head.
    // Only a record being created changes its size: a loaded one would lose its moves and comments.
    if (!e.replayMode && f.boardSize != e.boardSize) {
        e.ChangeBoardSize(f.boardSize);
        changed = true;
    }
    const auto set = [&](const std::string& field, std::string GameInfo::*slot, const char* property) {
        if (field.empty() || g.*slot == field) return;
        g.*slot = field;
        SetHeadProperty(e.headerText, property, field);
        changed = true;
    };
    set(f.black, &GameInfo::blackPlayer, "PB");
    if (!f.black.empty()) e.memos.blackName = f.black;
    set(f.white, &GameInfo::whitePlayer, "PW");
    if (!f.white.empty()) e.memos.whiteName = f.white;
    if (!f.date.empty() || !f.handicap.empty() || !f.komi.empty()) {
        set(f.date, &GameInfo::date, "DT");
        set(f.handicap, &GameInfo::handicap, "HA");
        set(f.komi, &GameInfo::komi, "KM");
        // The list shows what the record holds, so a field left empty does not hide its line.
        std::string list;
        const auto line = [&list](const std::string& text) { list += (list.empty() ? "" : "\r\n") + text; };
        if (g.date != kUnknown) line(g.date);
        if (g.handicap != kUnknown) line("置石：" + g.handicap);
        if (g.komi != kUnknown) line("コミ：" + g.komi);
        e.memos.info = list;
    }
    set(f.gameName, &GameInfo::gameName, "GN");
    set(f.place, &GameInfo::place, "PC");
    set(f.blackRank, &GameInfo::blackRank, "BR");
    set(f.whiteRank, &GameInfo::whiteRank, "WR");
    if (!f.startNumber.empty()) {
        const int n = DecimalOr(f.startNumber, 0);
        if (n > 0 && n < 500 && n != e.firstMoveNumber) {
            e.firstMoveNumber = n;
            changed = true;
        }
    }
    if (changed) e.recordModified = true;
}

void StartWithHandicap(Engine& e, const std::string& handicap) {
    if (handicap.empty()) return;
    if (handicap[0] == 'F' || handicap[0] == 'f') {
        e.SetInputMode(3);
        e.blackFirst = 0;
        return;
    }
    const int h = DecimalOr(handicap, 0);
    if (h >= 2 && h <= 29) e.PlaceHandicapStones(h);
}

}  // namespace quorvel
