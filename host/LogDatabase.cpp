#include "LogDatabase.h"

#include <stdexcept>

#include "odbc/OdbcLogQuery.h"

namespace zeltra::host {
namespace {

bool Succeeded(SQLRETURN result) {
  return result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO;
}

void Check(SQLRETURN result, SQLSMALLINT type, SQLHANDLE handle, const std::string& what) {
  if (!Succeeded(result) && result != SQL_NO_DATA)
    throw std::runtime_error(what + ": " + OdbcDiagnostics(type, handle));
}

SQLCHAR* Text(const std::string& text) {
  return reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str()));
}

}  // namespace

LogDatabase::LogDatabase(const std::string& driverPath, const std::string& options) {
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment_);
  SQLSetEnvAttr(environment_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  SQLAllocHandle(SQL_HANDLE_DBC, environment_, &connection_);
  const std::string text = "DRIVER=SQLite3;" + options + "Database=" + driverPath;
  const SQLRETURN result = SQLDriverConnect(connection_, nullptr, Text(text), SQL_NTS, nullptr, 0,
                                            nullptr, SQL_DRIVER_NOPROMPT);
  if (!Succeeded(result)) {
    const std::string message =
        "Cannot open " + driverPath + ": " + OdbcDiagnostics(SQL_HANDLE_DBC, connection_);
    SQLFreeHandle(SQL_HANDLE_DBC, connection_);
    SQLFreeHandle(SQL_HANDLE_ENV, environment_);
    throw std::runtime_error(message);
  }
}

LogDatabase::~LogDatabase() {
  Disconnect();
  SQLFreeHandle(SQL_HANDLE_DBC, connection_);
  SQLFreeHandle(SQL_HANDLE_ENV, environment_);
}

void LogDatabase::Disconnect() {
  SQLDisconnect(connection_);
}

void LogDatabase::Execute(const std::string& sql) {
  OdbcStatement statement(connection_);
  Check(SQLExecDirect(statement.get(), Text(sql), SQL_NTS), SQL_HANDLE_STMT, statement.get(), sql);
}

void LogDatabase::CreateLogTable(const std::string& table, const std::string& callSignType) {
  Execute("CREATE TABLE " + table + " (Id INTEGER PRIMARY KEY, CallSign " + callSignType +
          ", DigiBand TEXT, QSOMode TEXT, Continent TEXT, QSOReportRecived TEXT, "
          "DXCCPrefix TEXT, MainPrefix TEXT)");
}

void LogDatabase::Insert(const std::vector<LogRow>& rows, const std::string& table) {
  Execute("BEGIN");
  OdbcStatement statement(connection_);
  const std::string sql = "INSERT INTO " + table +
                          " (CallSign, DigiBand, QSOMode, Continent, QSOReportRecived, "
                          "DXCCPrefix, MainPrefix) VALUES (?, ?, ?, ?, ?, ?, ?)";
  Check(SQLPrepare(statement.get(), Text(sql), SQL_NTS), SQL_HANDLE_STMT, statement.get(), sql);
  for (const LogRow& row : rows) {
    const std::string* fields[] = {&row.callSign, &row.band,       &row.mode,      &row.continent,
                                   &row.report,   &row.dxccPrefix, &row.mainPrefix};
    SQLLEN lengths[std::size(fields)];
    for (std::size_t i = 0; i < std::size(fields); ++i) {
      const bool isNull = *fields[i] == kNull;
      lengths[i] = isNull ? SQL_NULL_DATA : static_cast<SQLLEN>(fields[i]->size());
      Check(SQLBindParameter(statement.get(), static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT,
                             SQL_C_CHAR, SQL_VARCHAR, 1000, 0, const_cast<char*>(fields[i]->data()),
                             static_cast<SQLLEN>(fields[i]->size()), &lengths[i]),
            SQL_HANDLE_STMT, statement.get(), "bind");
    }
    Check(SQLExecute(statement.get()), SQL_HANDLE_STMT, statement.get(), "insert");
  }
  Execute("COMMIT");
}

long LogDatabase::Count(const std::string& table) {
  OdbcStatement statement(connection_);
  const std::string sql = "SELECT COUNT(*) FROM " + table;
  Check(SQLExecDirect(statement.get(), Text(sql), SQL_NTS), SQL_HANDLE_STMT, statement.get(), sql);
  SQLINTEGER count = 0;
  SQLLEN length = 0;
  Check(SQLFetch(statement.get()), SQL_HANDLE_STMT, statement.get(), sql);
  Check(SQLGetData(statement.get(), 1, SQL_C_LONG, &count, 0, &length), SQL_HANDLE_STMT,
        statement.get(), sql);
  return count;
}

std::string DriverPathOf(const std::wstring& windowsPath) {
#ifdef _WIN32
  using UnixName = char*(CDECL*)(const wchar_t*);
  const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (unixName != nullptr) {
    if (char* name = unixName(windowsPath.c_str())) {
      std::string path(name);
      HeapFree(GetProcessHeap(), 0, name);
      return path;
    }
  }
  const int size =
      WideCharToMultiByte(CP_ACP, 0, windowsPath.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string path(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
  WideCharToMultiByte(CP_ACP, 0, windowsPath.c_str(), -1, path.data(), size, nullptr, nullptr);
  return path;
#else
  return std::string(windowsPath.begin(), windowsPath.end());
#endif
}

}  // namespace zeltra::host
