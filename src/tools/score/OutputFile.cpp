#include "tools/score/OutputFile.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "tools/score/FileNames.h"

namespace zeltra::score {

void WriteWholeFile(const std::string& path, const std::string& text) {
  const std::string partial = path + ".part";
  {
    std::ofstream out(PathOf(partial), std::ios::binary | std::ios::trunc);
    if (!out.is_open())
      throw OutputFailure("cannot write " + path + ": " + std::generic_category().message(errno));
    out << text;
    out.flush();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(PathOf(partial), ignored);
      throw OutputFailure("cannot write " + path);
    }
  }
  std::error_code error;
  std::filesystem::rename(PathOf(partial), PathOf(path), error);
  if (error) {
    std::filesystem::remove(PathOf(partial), error);
    throw OutputFailure("cannot write " + path + ": " + error.message());
  }
}

}  // namespace zeltra::score
