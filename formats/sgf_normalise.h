// The rewriting of a record text before it is read: line-break codes become CR LF, names that would
// mislead the searches for moves and comments are changed, and every comment after the root's ";" is made
// safe (its brackets, parentheses and semicolons in full-width form), so that the byte searches of the
// reader cannot be misled by the texts inside comments. A node before the setup stones is merged into the
// root.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "formats/sgf_scan.h"

namespace quorvel {

// The whole normalised text of a record.
std::string NormaliseRecordText(std::string_view text);

// Where a comment stands in a text: its "C" and its closing "]".
struct CommentSpan {
    std::size_t start;
    std::size_t end;
};

// What the normalisation finds out about the text it leaves, on the way, so that the reader need not
// pass over the text again for it.
struct NormaliseFacts {
    // sgf::HasDoubleClose of the text: a ")" followed, after blanks only, by another ")".
    bool doubleClose = false;
    // Whether a line-break code ("___", or "//" not after ":") was turned into a line break.
    bool lineBreakCodes = false;
    // Where the first property of each two-letter name starts, at sgf::TwoLetterIndex of the name, or
    // std::string_view::npos; only when `propertiesKnown`.
    bool propertiesKnown = false;
    std::array<std::size_t, sgf::kTwoLetterNames> firstProperty{};
    // The comments that needed no protecting, in the order of the text.
    std::vector<CommentSpan> plainComments;
};

// The same into `out`, whose storage is reused: a record loaded again needs no new memory.
void NormaliseRecordTextInto(std::string& out, std::string_view text, NormaliseFacts* facts = nullptr);

namespace sgf {

// Steps 1 to 4 of the normalisation: the line-break codes "___" and "//" (not the "//" after ":" of an
// address) become CR LF, line breaks inside "B[", "W[", after "C[" and before "]" go, and the first "GC[",
// "TB[" and "TW[" are renamed so that the searches for moves and comments do not take them.
std::string ReplaceLineBreakCodes(std::string_view text);

// Where a comment's text ends: the "]" that closes the value starting at `valueStart` (right after
// "C["), or std::string_view::npos when there is none. The search steps over the second bytes of
// Shift-JIS characters; "\]" is an escaped bracket unless only blanks stand between it and ";", "(",
// ")" or the end of the text (a comment that ends in a backslash); and the end is extended to each
// further "]" before the next "[" (brackets left unescaped by other programs).
std::size_t FindCommentEnd(std::string_view t, std::size_t valueStart);


}  // namespace sgf
}  // namespace quorvel
