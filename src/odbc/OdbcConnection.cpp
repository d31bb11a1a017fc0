#include "odbc/OdbcConnection.h"

#include "core/reload/LogQuery.h"
#include "odbc/OdbcLogQuery.h"

namespace zeltra {
namespace {

bool Succeeded(SQLRETURN result) {
  return result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO;
}

}  // namespace

OdbcConnection::OdbcConnection(const std::string& connectionString) {
  if (!Succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment_)))
    throw DatabaseError("Cannot start ODBC");
  SQLSetEnvAttr(environment_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  if (!Succeeded(SQLAllocHandle(SQL_HANDLE_DBC, environment_, &connection_))) {
    SQLFreeHandle(SQL_HANDLE_ENV, environment_);
    throw DatabaseError("Cannot start an ODBC connection");
  }
  std::string text = connectionString;
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
