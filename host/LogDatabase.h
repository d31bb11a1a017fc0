#pragma once

// A host's log database: a SQLite file opened through the SQLite3 ODBC
// driver, with the log table the plug-in reads.

#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

#include <string>
#include <vector>

namespace zeltra::host {

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

class LogDatabase {
 public:
  // driverPath: the file as the driver sees it (under Wine the driver is the
  // Linux one behind Wine's odbc32, so a Linux path); options: more of the
  // driver's connection options, such as "StepAPI=1;".
  explicit LogDatabase(const std::string& driverPath, const std::string& options = "");
  ~LogDatabase();
  LogDatabase(const LogDatabase&) = delete;
  LogDatabase& operator=(const LogDatabase&) = delete;

  SQLHDBC connection() const { return connection_; }

  // Runs one statement; throws std::runtime_error with the driver's message.
  void Execute(const std::string& sql);
  // Creates the log table with the seven columns the plug-in reads.
  void CreateLogTable(const std::string& table = "QSO", const std::string& callSignType = "TEXT");
  // Inserts rows in one transaction.
  void Insert(const std::vector<LogRow>& rows, const std::string& table = "QSO");
  // The number of rows of table.
  long Count(const std::string& table = "QSO");
  void Disconnect();

 private:
  SQLHENV environment_ = SQL_NULL_HENV;
  SQLHDBC connection_ = SQL_NULL_HDBC;
};

// The path the Linux SQLite driver needs for a file of this Windows process:
// under Wine, its Unix name; elsewhere the path as it is.
std::string DriverPathOf(const std::wstring& windowsPath);

}  // namespace zeltra::host
