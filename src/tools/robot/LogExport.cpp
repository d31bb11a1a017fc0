#include "tools/robot/LogExport.h"

#include "tools/score/ReportNames.h"

namespace zeltra::robot {

std::size_t ExportLatest(const UploadStore& store, const std::filesystem::path& folder) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) throw StoreFailure("cannot make " + folder.string() + ": " + error.message());
  score::ReportNames names;
  std::size_t count = 0;
  for (const KeptLog& log : store.Latest()) {
    fs::copy_file(store.FileOf(log.id), folder / names.For(log.facts.call, ".log"),
                  fs::copy_options::overwrite_existing, error);
    if (error)
      throw StoreFailure("cannot export the log of " + log.facts.call + ": " + error.message());
    ++count;
  }
  return count;
}

}  // namespace zeltra::robot
