#pragma once

#include <filesystem>
#include <string>

#include "LogDatabase.h"

namespace zeltra::testing {

using host::kNull;
using host::LogRow;

// Makes a fresh temporary folder and removes it again with the object.
class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A SQLite log file in a fresh temporary folder, opened through the SQLite3
// ODBC driver as a host opens its log; removed again with the object.
class SqliteLog : private TemporaryFolder, public host::LogDatabase {
 public:
  explicit SqliteLog(const std::string& options = "");
};

}  // namespace zeltra::testing
