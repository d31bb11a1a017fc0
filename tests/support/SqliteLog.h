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

  // The log's file.
  std::filesystem::path file() const { return path() / "log.db"; }

  // A log QSO (a view) whose row of failingCall raises an error while it is
  // read: SQLite's abs() of the smallest integer. Reading stops there only
  // when the driver steps row by row (the connection option StepAPI=1);
  // otherwise the query fails as it opens.
  void CreateLogFailingAt(const std::vector<LogRow>& rows, const std::string& failingCall);
};

}  // namespace zeltra::testing
