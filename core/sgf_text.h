// Byte-level helpers for texts inside SGF values, aware of Shift-JIS: the second byte of a two-byte
// character may be "[", "]" or "\" (as in "ゼ", "ゾ", "ソ", "表") and is never taken for one.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace quorvel {

// Replaces each "(", ")", ";", "[" and "]" of a comment by its full-width form ("（", "）", "；", "［",
// "］"), so that the text can stand inside an SGF value and never be mistaken for record structure.
std::string ProtectSgfText(const std::string& text);

// Position of the first byte `c` at or after `from` that is a character of its own (not the second byte of
// a two-byte character), or std::string::npos. `from` must be at a character boundary.
std::size_t FindSgfChar(const std::string& s, char c, std::size_t from = 0);

// The end of the value that starts at `start`: its closing "]", which is neither escaped nor the second
// byte of a two-byte character; the text's size when it is not closed.
std::size_t SgfValueEnd(const std::string& text, std::size_t start);

// Calls `visit` with each property name and raw value of a node text as a node keeps it ("LB[aa:A]TR[bb]",
// further nodes after ";"), in order.
void VisitNodeValues(const std::string& text, const std::function<void(const std::string&, const std::string&)>& visit);

}  // namespace quorvel
