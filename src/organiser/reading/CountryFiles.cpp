#include "organiser/reading/CountryFiles.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "organiser/files/FileNames.h"
#include "organiser/reading/Unscorable.h"

namespace zeltra::organiser {
namespace {

namespace fs = std::filesystem;

// A country file is a few hundred kilobytes; far past that it is none.
constexpr std::uintmax_t kLargestCountryFile = 64ull << 20;

CountryFile ReadCountryFile(const fs::path& path) {
  const std::string name = NameOf(path);
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error || !fs::exists(status))
    throw Unscorable{name + ": the country file does not exist (--cty names another)"};
  if (!fs::is_regular_file(status))
    throw Unscorable{name + ": the country file is not a regular file"};
  const std::uintmax_t size = fs::file_size(path, error);
  if (error || size > kLargestCountryFile)
    throw Unscorable{name + ": the country file is too large to be one"};
  std::ifstream file(path, std::ios::binary);
  std::string text(static_cast<std::size_t>(size), '\0');
  if (!file.read(text.data(), static_cast<std::streamsize>(text.size())))
    throw Unscorable{name + ": cannot read the country file"};
  try {
    return CountryFile::Parse(text);
  } catch (const std::exception& problem) {
    throw Unscorable{name + ": not a country file: " + problem.what()};
  }
}

}  // namespace

std::optional<CountryFile> LoadCountries(const std::optional<std::string>& named,
                                         const std::string& programFolder) {
  if (named) return ReadCountryFile(PathOf(*named));
  std::vector<fs::path> candidates;
  if (!programFolder.empty()) candidates.push_back(PathOf(programFolder) / "cty.dat");
#ifndef _WIN32
  // Debian's, where a Debian machine keeps it (hamradio-files).
  candidates.emplace_back("/usr/share/hamradio-files/cty.dat");
#endif
  for (const fs::path& path : candidates) {
    std::error_code missing;
    if (fs::exists(path, missing)) return ReadCountryFile(path);
  }
  return std::nullopt;
}

}  // namespace zeltra::organiser
