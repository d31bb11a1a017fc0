#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace zeltra::testing {

// A file's bytes; empty when it cannot be read.
inline std::string FileText(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace zeltra::testing
