#include "core/settings/IniFileReader.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>

namespace zeltra {

IniDocument ReadIniFile(const std::filesystem::path& path) {
  const auto cannotRead = [&] {
    return std::runtime_error("Cannot read the settings file " + path.string());
  };
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return IniDocument{};
  if (!std::filesystem::is_regular_file(path, error)) throw cannotRead();
  const auto size = std::filesystem::file_size(path, error);
  if (!error && size > IniDocument::kMaxTextSize) return IniDocument{};
  std::string text;
  try {
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) throw cannotRead();
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad()) throw cannotRead();
  } catch (const std::ios_base::failure&) {
    throw cannotRead();
  }
  return IniDocument::Parse(text);
}

}  // namespace zeltra
