// A loaded record against the oracle's reading of the same text: the differences, as text.
#pragma once

#include <optional>
#include <string>

#include "core/engine.h"
#include "sgf_oracle.h"

namespace quorvel::oracle {

// The branch table of a loaded record as a line with its variations.
Line LoadedLine(const Engine& e);

// The first differences between the loaded record and the oracle's record; empty when they agree. Moves
// and comments are compared only for a record inside the limits (`expected.outside` empty).
std::string CompareWithOracle(const Engine& e, const Record& expected);

// The differences between a load of `text` and the oracle's reading of it, or an inconsistent branch
// table; empty when they agree or the text is no SGF.
std::string LoadDifferences(const std::string& text);

// The text a load reads for the bytes of a record file: converted to the program's Shift-JIS (or kept, when
// the load reads the bytes as they stand), with its CA naming Shift-JIS, so that the oracle reads it with
// the charset the program reads it with.
std::string ProgramText(const std::string& bytes);

// What the writer makes of the loaded record, in both layouts, read by the oracle: the same record as the
// one loaded. `original` is the oracle's reading of the loaded text: what the record took from move nodes
// (marks, game information), which the writer does not write there again, is not compared.
std::string WrittenDifferences(Engine& e, const std::optional<Record>& original);

}  // namespace quorvel::oracle
