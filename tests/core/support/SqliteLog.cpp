#include "support/SqliteLog.h"

#include <atomic>
#include <chrono>
#include <stdexcept>

#include "reload/OdbcLogQuery.h"

namespace zeltra::testing {
namespace {

bool Succeeded(SQLRETURN result) { return result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO; }

void Check(SQLRETURN result, SQLSMALLINT type, SQLHANDLE handle, const std::string& what) {
  if (!Succeeded(result) && result != SQL_NO_DATA)
    throw std::runtime_error(what + ": " + OdbcDiagnostics(type, handle));
}

std::string FreshFolderName() {
  static std::atomic<int> counter{0};
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  return "zeltra-log-" + std::to_string(now) + "-" + std::to_string(++counter);
}

#ifdef _WIN32
const std::filesystem::path kTempFolder = "Z:\\tmp";
#else
const std::filesystem::path kTempFolder = std::filesystem::temp_directory_path();
#endif

}  // namespace

SqliteLog::SqliteLog(const std::string& options) {
  const std::string name = FreshFolderName();
  folder_ = kTempFolder / name;
  std::filesystem::create_directories(folder_);
#ifdef _WIN32
  driverPath_ = "/tmp/" + name + "/log.db";
#else
  driverPath_ = (folder_ / "log.db").string();
#endif
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment_);
  SQLSetEnvAttr(environment_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  SQLAllocHandle(SQL_HANDLE_DBC, environment_, &connection_);
  const std::string text = "DRIVER=SQLite3;" + options + "Database=" + driverPath_;
  Check(SQLDriverConnect(connection_, nullptr,
                         reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str())), SQL_NTS,
                         nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT),
        SQL_HANDLE_DBC, connection_, "Cannot open " + driverPath_);
}

SqliteLog::~SqliteLog() {
  Disconnect();
  SQLFreeHandle(SQL_HANDLE_DBC, connection_);
  SQLFreeHandle(SQL_HANDLE_ENV, environment_);
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

void SqliteLog::Disconnect() { SQLDisconnect(connection_); }

void SqliteLog::Execute(const std::string& sql) {
  OdbcStatement statement(connection_);
  Check(SQLExecDirect(statement.get(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())),
                      SQL_NTS),
        SQL_HANDLE_STMT, statement.get(), sql);
}

void SqliteLog::CreateLogTable(const std::string& table, const std::string& callSignType) {
  Execute("CREATE TABLE " + table + " (Id INTEGER PRIMARY KEY, CallSign " + callSignType +
          ", DigiBand TEXT, QSOMode TEXT, Continent TEXT, QSOReportRecived TEXT, "
          "DXCCPrefix TEXT, MainPrefix TEXT)");
}

void SqliteLog::Insert(const std::vector<LogRow>& rows, const std::string& table) {
  Execute("BEGIN");
  OdbcStatement statement(connection_);
  const std::string sql = "INSERT INTO " + table +
                          " (CallSign, DigiBand, QSOMode, Continent, QSOReportRecived, "
                          "DXCCPrefix, MainPrefix) VALUES (?, ?, ?, ?, ?, ?, ?)";
  Check(SQLPrepare(statement.get(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())),
                   SQL_NTS),
        SQL_HANDLE_STMT, statement.get(), sql);
  for (const LogRow& row : rows) {
    const std::string* fields[] = {&row.callSign,   &row.band,       &row.mode,
                                   &row.continent,  &row.report,     &row.dxccPrefix,
                                   &row.mainPrefix};
    SQLLEN lengths[7];
    for (SQLUSMALLINT i = 0; i < 7; ++i) {
      const bool isNull = *fields[i] == kNull;
      lengths[i] = isNull ? SQL_NULL_DATA : static_cast<SQLLEN>(fields[i]->size());
      Check(SQLBindParameter(statement.get(), static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT,
                             SQL_C_CHAR, SQL_VARCHAR, 1000, 0,
                             const_cast<char*>(fields[i]->data()),
                             static_cast<SQLLEN>(fields[i]->size()), &lengths[i]),
            SQL_HANDLE_STMT, statement.get(), "bind");
    }
    Check(SQLExecute(statement.get()), SQL_HANDLE_STMT, statement.get(), "insert");
  }
  Execute("COMMIT");
}

}  // namespace zeltra::testing
