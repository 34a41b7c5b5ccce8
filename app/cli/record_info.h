// What the command-line tool reports about a record: the text window's text after loading and the counts
// of the record.
#pragma once

#include <string>

#include "core/engine.h"

namespace quorvel::cli {

struct RecordCounts {
    int setupStones = 0;    // AB and AW stones
    int mainLineMoves = 0;  // every move of the main line, those an AS property shows as background too
    int variations = 0;     // branches besides the main line
};

RecordCounts CountRecord(const Engine& e);

// The report of the "info" command in UTF-8 with LF line ends: the text window's text, then the counts
// and the encoding the record was read in, with `why` it was decided so.
std::string InfoReport(Engine& e, const std::string& why);

}  // namespace quorvel::cli
