// The settings panel and the game-information panel of the dialog TForm5 as plain fields: how each is
// filled from the settings and the record, and what confirming it applies. Empty fields never clear a
// value; numbers out of range are ignored.
#pragma once

#include <string>

#include "app/settings_file.h"

namespace quorvel {

struct SettingsPanelFields {
    bool allShow = false;
    bool sameMark = false;  // Salala
    bool asOption = false;
    bool textAddPre = false;
    bool textUseColor = false;
    bool advanceMoves = false;
    bool noZarnNoHint = false;
    bool endingAsk = false;
    bool textUseNew = false;
    bool macMouse = false;
    std::string codeBase;   // Edit1
    std::string bgColor;    // Edit2
    std::string width;      // Edit3
    std::string height;     // Edit4
    std::string textMoves;  // Edit5
    std::string goBanXY;
    std::string sendPath;  // the send-URL list itself is the box's item list (ShellSettings::sendPaths)
};

SettingsPanelFields FillSettingsPanel(const SettingsOwners& owners);
// Applies confirmed fields. True when the send-URL list changed (its box is then filled again).
bool ApplySettingsPanel(const SettingsOwners& owners, const SettingsPanelFields& fields);

struct GameInfoFields {
    std::string black;        // Edit6, PB
    std::string blackRank;    // Edit13, BR
    std::string white;        // Edit7, PW
    std::string whiteRank;    // Edit14, WR
    std::string date;         // Edit8, DT
    std::string gameName;     // Edit11, GN
    std::string handicap;     // Edit9, HA
    std::string place;        // Edit12, PC
    std::string komi;         // Edit10, KM
    std::string startNumber;  // Edit15
    int boardSize = 19;       // the radio buttons: 19, 13, 9, 7 or 6
};

// The record's slots, "不明" shown as an empty field.
GameInfoFields FillGameInfo(const Engine& e);
// Sets the slots of the non-empty fields, in the record and in its SGF head, the board window's name and
// information memos, the start number and the board size. A change marks the record modified.
void ApplyGameInfo(Engine& e, const GameInfoFields& fields);

// A new record after its game information was confirmed: a handicap field starting with "F" (free
// placement) starts setup input with White to move; a whole number 2..29 places that many handicap stones,
// White to move. An empty field, or anything else, leaves the empty board.
void StartWithHandicap(Engine& e, const std::string& handicapField);

}  // namespace quorvel
