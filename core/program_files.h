// Files of the program folder. The program names them as it always has, "bmp\GoBan19.bmp"; on Linux the
// backslashes are the folder separators of the program folder.
#pragma once

#include <string>

namespace quorvel {

// The path of `programPath` (relative, with backslashes) inside the program folder `programDir`.
std::string ProgramFilePath(const std::string& programDir, const std::string& programPath);

}  // namespace quorvel
