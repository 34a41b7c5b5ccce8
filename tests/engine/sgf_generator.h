// Seeded random SGF records for comparing the reader with the oracle, for the fuzz target's seeds and for
// the benchmark: legal SGF (FF[4], Shift-JIS) whose comments and root values hold every byte SGF text
// allows, above all the ones that mislead a reader that searches: "\]", "\\", "[", "(", ")", ";", "B[",
// "C[", line breaks, "//", and Shift-JIS characters whose second byte is "[", "\" or "]". Both layouts
// of variations, collections, passes, setup stones, marks, AS, long and empty comments.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace quorvel::generator {

struct GenMove {
    std::string point;  // two letters, "" or "tt" for a pass
    std::optional<std::string> comment;  // the text, unescaped
    std::vector<std::pair<std::string, std::string>> extra;  // further properties: name, value text
    std::optional<std::string> nodeAfter;  // the comment of a node without a move after the move's node
};

struct GenLine {
    std::vector<GenMove> moves;
    struct Variation;
    std::vector<Variation> variations;
};

struct GenLine::Variation {
    int after = 0;  // replaces move after + 1
    GenLine line;
};

struct GenRecord {
    bool blackFirst = true;
    bool inlineLayout = false;
    std::vector<std::pair<std::string, std::vector<std::string>>> root;  // name, value texts (unescaped)
    GenLine main;
    std::vector<GenLine> furtherTrees;  // a collection: each a tree of its own after the record
};

// What a record may hold; the defaults hold everything.
struct Options {
    int maxMainMoves = 120;
    int maxVariations = 12;
    double commentChance = 0.35;
    int longComment = 3000;  // bytes of the occasional long comment
    bool adversarialText = true;  // the misleading bytes and characters above
};

// A record made from `seed` alone.
GenRecord Generate(std::uint64_t seed, const Options& options = {});

// Comments only, of the given shape: `text` makes each comment (from the generator's pieces when empty).
std::string CommentText(std::mt19937_64& rng, int minBytes, int maxBytes, bool adversarial);

// A text as it stands inside an SGF value: "\" and "]" escaped, Shift-JIS characters kept whole.
std::string EscapeText(const std::string& text);

// The record as SGF text, values escaped as standard SGF needs ("\" and "]"), Shift-JIS characters kept
// whole.
std::string Write(const GenRecord& r);

// The smallest record the shrinking steps reach from `r` for which `fails` still holds (removing
// variations, moves, comments and properties, shortening texts).
GenRecord Shrink(GenRecord r, const std::function<bool(const std::string&)>& fails);

}  // namespace quorvel::generator
