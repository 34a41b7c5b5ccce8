// The SGF reader and writer behind the board engine's "ADD" and "ReSet".
#pragma once

#include "core/engine.h"
#include "formats/sgf_reader.h"
#include "formats/sgf_writer.h"

namespace quorvel {

class SgfRecordFormats : public RecordFormats {
public:
    void AddVariation(Engine& e) override { AddVariationCommand(e); }
    void ResetRecord(Engine& e) override { quorvel::ResetRecord(e); }
};

}  // namespace quorvel
