// Whole files for tests: read as bytes, written with their folders made first.
#pragma once

#include <string>

namespace quorvel {

std::string ReadTestFile(const std::string& path);
void WriteTestFile(const std::string& path, const std::string& bytes);

}  // namespace quorvel
