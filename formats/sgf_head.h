// Editing game information inside a record's SGF head (headerText), which the writer keeps as it was read:
// a value edited in the game-information dialog must replace the one the head already holds, or the save
// would write the old one again.
#pragma once

#include <string>

namespace quorvel {

// A text as it stands inside an SGF value: "]" and "\" escaped with "\". The second byte of a two-byte
// Shift-JIS character ("ゾ" ends in "]", "ソ" in "\") is part of its character and left alone.
std::string EscapeSgfValue(const std::string& text);

// Replaces the value of the first property `name` (for example "PB") of the head with `value`, escaped.
// Property names are matched whole and values are stepped over, so "PB" inside another property's name or
// value is never taken. False (the head unchanged) when the head holds no such property.
bool SetHeadProperty(std::string& head, const std::string& name, const std::string& value);

}  // namespace quorvel
