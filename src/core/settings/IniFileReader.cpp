#include "settings/IniFileReader.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>

namespace zeltra {

IniDocument ReadIniFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return IniDocument{};
  const auto size = std::filesystem::file_size(path, error);
  if (!error && size > IniDocument::kMaxTextSize) return IniDocument{};
  std::ifstream file(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (!file.is_open() || file.bad())
    throw std::runtime_error("Cannot read the settings file " + path.string());
  return IniDocument::Parse(text);
}

}  // namespace zeltra
