#include "tools/robot/LogExport.h"

#include <chrono>

#include "organiser/files/ReportNames.h"
#include "tools/robot/store/StoreFailure.h"
#include "tools/robot/store/UtcNow.h"

namespace zeltra::robot {
namespace {

namespace fs = std::filesystem;

// A file's time as the file system keeps it, from seconds since 1970.
fs::file_time_type FileTimeOf(std::int64_t seconds) {
  const std::chrono::sys_seconds system{std::chrono::seconds(seconds)};
  return std::chrono::time_point_cast<fs::file_time_type::duration>(
      fs::file_time_type::clock::from_sys(system));
}

}  // namespace

std::size_t ExportCurrent(const StoreReader& store, const fs::path& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) throw StoreFailure("cannot make " + folder.string() + ": " + error.message());
  organiser::ReportNames names;
  std::size_t count = 0;
  for (const KeptLog& log : store.Current()) {
    const fs::path named = folder / names.For(log.facts.call, ".log");
    const fs::path passing = folder / (".export-" + std::to_string(log.id) + ".part");
    fs::copy_file(store.FileOf(log.id), passing, fs::copy_options::overwrite_existing, error);
    if (const auto uploaded = SecondsOfUtcText(log.received); !error && uploaded)
      fs::last_write_time(passing, FileTimeOf(*uploaded), error);
    if (!error) fs::rename(passing, named, error);
    if (error) {
      std::error_code ignored;
      fs::remove(passing, ignored);
      throw StoreFailure("cannot export the log of " + log.facts.call + " to " + named.string() +
                         ": " + error.message());
    }
    ++count;
  }
  return count;
}

}  // namespace zeltra::robot
