#pragma once

#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

#include <filesystem>
#include <string>
#include <vector>

namespace zeltra::testing {

// A field holding this text is stored as SQL NULL.
inline const std::string kNull = std::string("\0NULL\0", 6);

// One row of a log table.
struct LogRow {
  std::string callSign;
  std::string band = "14";
  std::string mode = "RTTY";
  std::string continent = "EU";
  std::string report = "599";
  std::string dxccPrefix = "DL";
  std::string mainPrefix = "DL";
};

// A SQLite log file in a fresh temporary folder, opened through the SQLite3
// ODBC driver as a host opens its log; removed again with the object. Under
// Wine the driver is the Linux one behind Wine's odbc32, so the file lies
// under /tmp, which Wine shows as Z:\tmp, and the driver is given the Linux
// path.
class SqliteLog {
 public:
  // options: more of the driver's connection options, such as "StepAPI=1;"
  explicit SqliteLog(const std::string& options = "");
  ~SqliteLog();
  SqliteLog(const SqliteLog&) = delete;
  SqliteLog& operator=(const SqliteLog&) = delete;

  SQLHDBC connection() const { return connection_; }

  // Runs statements; throws std::runtime_error with the driver's message.
  void Execute(const std::string& sql);
  // Creates the table QSO with the seven columns the plug-in reads.
  void CreateLogTable(const std::string& table = "QSO", const std::string& callSignType = "TEXT");
  // Inserts rows in one transaction.
  void Insert(const std::vector<LogRow>& rows, const std::string& table = "QSO");
  void Disconnect();

 private:
  std::filesystem::path folder_;
  std::string driverPath_;
  SQLHENV environment_ = SQL_NULL_HENV;
  SQLHDBC connection_ = SQL_NULL_HDBC;
};

}  // namespace zeltra::testing
