// Printing the record (KFP): the full-record diagram ("総譜") of the line up to the position shown, with
// the header, every numbered stone on its point and the moves that have no place there (passes, moves on
// points already played) listed below the board and on continuation pages; or, when the text window holds
// a text board, the numbered diagram pages split like it.
#pragma once

#include <string>

#include "core/engine.h"
#include "formats/print_sheet.h"

namespace quorvel {

extern const char* const kNothingToPrint;  // "盤上に着手が有る時に印刷できます"
extern const char* const kPrintJobTitle;   // "Quorvel  棋譜印刷"

// Today as the header writes it when the record has no date: "2026年12月8日".
std::string PrintedDate(int year, int month, int day);

// The full-record pages of the line up to currentIndex.
PrintJob FullRecordPrint(const Engine& e, const std::string& today);

// What KFP prints for this text window: the diagram pages for a text board, else the full record.
PrintJob RecordPrint(const Engine& e, const std::string& textWindow, const std::string& today);

}  // namespace quorvel
