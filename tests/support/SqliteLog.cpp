#include "support/SqliteLog.h"

#include <atomic>
#include <chrono>

namespace zeltra::testing {
namespace {

std::filesystem::path FreshFolder() {
  static std::atomic<int> counter{0};
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  const auto folder = std::filesystem::temp_directory_path() /
                      ("zeltra-log-" + std::to_string(now) + "-" + std::to_string(++counter));
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace

TemporaryFolder::TemporaryFolder() : path_(FreshFolder()) {}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

SqliteLog::SqliteLog(const std::string& options)
    : host::LogDatabase(host::DriverPathOf((path() / "log.db").wstring()), options) {}

}  // namespace zeltra::testing

namespace zeltra::testing {

void SqliteLog::CreateLogFailingAt(const std::vector<LogRow>& rows,
                                   const std::string& failingCall) {
  CreateLogTable("Rows");
  Execute("CREATE INDEX ByCall ON Rows (CallSign)");  // rows read in index order, one by one
  Insert(rows, "Rows");
  Execute(
      "CREATE VIEW QSO AS SELECT CallSign, DigiBand, Continent, QSOReportRecived, DXCCPrefix, "
      "MainPrefix, CASE WHEN CallSign = '" +
      failingCall + "' THEN abs(-9223372036854775807 - 1) ELSE QSOMode END AS QSOMode FROM Rows");
}

}  // namespace zeltra::testing
