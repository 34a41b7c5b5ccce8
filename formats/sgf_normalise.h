// The rewriting of a record text before it is read: line-break codes become CR LF, names that would
// mislead the searches for moves and comments are changed, and every comment after the root's ";" is made
// safe (its brackets, parentheses and semicolons in full-width form), so that the byte searches of the
// reader cannot be misled by the texts inside comments. A node before the setup stones is merged into the
// root.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The whole normalised text of a record.
std::string NormaliseRecordText(std::string_view text);
// The same into `out`, whose storage is reused: a record loaded again needs no new memory. Returns
// sgf::HasDoubleClose of the normalised text (a ")" followed, after blanks only, by another ")"), which the
// normalisation finds out on the way, so that the reader need not look again.
//
// `plainComments`, when given, receives where the comments that needed no protecting stand in the
// normalised text, in order: the reader then need not search for their ends again.
struct CommentSpan {
    std::size_t start;  // the "C" of "C["
    std::size_t end;    // the closing "]"
};
bool NormaliseRecordTextInto(std::string& out, std::string_view text, std::vector<CommentSpan>* plainComments = nullptr);

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

// Appends a comment text with "(", ")", ";", "[" and "]" in their full-width forms. The SGF escapes
// "\]", "\[", "\(", "\)", "\;" and "\\" become the character they stand for. Second bytes of
// Shift-JIS characters are copied as they are.
void AppendProtectedComment(std::string& out, std::string_view comment);

}  // namespace sgf
}  // namespace quorvel
