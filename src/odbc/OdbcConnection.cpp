#include "odbc/OdbcConnection.h"

#include "core/reload/LogQuery.h"
#include "core/text/Ascii.h"
#include "odbc/OdbcLogQuery.h"

namespace zeltra {
namespace {

bool Succeeded(SQLRETURN result) {
  return result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO;
}

// How long a read-only connection waits for a locked SQLite database.
constexpr const char* kBusyTimeoutMilliseconds = "3000";

bool HasKey(const std::string& upperText, const std::string& key) {
  const std::size_t at = upperText.find(key + "=");
  return at != std::string::npos && (at == 0 || upperText[at - 1] == ';');
}

// The connection string with SQLite's driver told to read only what is
// there: no new file for a missing one, and a bounded wait on a lock.
std::string ReadOnlyConnectionString(const std::string& text) {
  const std::string upper = AsciiUpper(text);
  if (upper.find("SQLITE") == std::string::npos) return text;
  std::string adjusted = text;
  if (!adjusted.empty() && adjusted.back() != ';') adjusted += ';';
  if (!HasKey(upper, "NOCREAT")) adjusted += "NoCreat=1;";
  if (!HasKey(upper, "TIMEOUT"))
    adjusted += std::string("Timeout=") + kBusyTimeoutMilliseconds + ";";
  return adjusted;
}

}  // namespace

OdbcConnection::OdbcConnection(const std::string& connectionString, Access access) {
  if (!Succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment_)))
    throw DatabaseError("Cannot start ODBC");
  SQLSetEnvAttr(environment_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  if (!Succeeded(SQLAllocHandle(SQL_HANDLE_DBC, environment_, &connection_))) {
    SQLFreeHandle(SQL_HANDLE_ENV, environment_);
    throw DatabaseError("Cannot start an ODBC connection");
  }
  std::string text = connectionString;
  if (access == Access::kReadOnly) {
    SQLSetConnectAttr(connection_, SQL_ATTR_ACCESS_MODE,
                      reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(SQL_MODE_READ_ONLY)), 0);
    text = ReadOnlyConnectionString(connectionString);
  }
  const SQLRETURN result = SQLDriverConnect(
      connection_, nullptr, reinterpret_cast<SQLCHAR*>(text.data()),
      static_cast<SQLSMALLINT>(text.size()), nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
  if (!Succeeded(result)) {
    const std::string diagnostics = OdbcDiagnostics(SQL_HANDLE_DBC, connection_);
    SQLFreeHandle(SQL_HANDLE_DBC, connection_);
    SQLFreeHandle(SQL_HANDLE_ENV, environment_);
    throw DatabaseError(diagnostics.empty() ? "Cannot connect to " + connectionString
                                            : diagnostics);
  }
}

OdbcConnection::~OdbcConnection() {
  SQLDisconnect(connection_);
  SQLFreeHandle(SQL_HANDLE_DBC, connection_);
  SQLFreeHandle(SQL_HANDLE_ENV, environment_);
}

}  // namespace zeltra
