#include "core/program_files.h"

#include <algorithm>

namespace quorvel {

std::string ProgramFilePath(const std::string& programDir, const std::string& programPath) {
    std::string relative = programPath;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    if (programDir.empty()) return relative;
    if (programDir.back() == '/') return programDir + relative;
    return programDir + "/" + relative;
}

}  // namespace quorvel
