#pragma once

#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

#include <string>

namespace zeltra {

// The connection string made to read only: SQLite's driver, given by
// DRIVER= or by a data source (DSN=) whose driver and database the ODBC
// configuration names, is given the database as a read-only URI (a
// missing file is an error, never created), told to make no file, and to
// give up on a lock. Throws DatabaseError for another driver, a data
// source that is not configured, or a file data source: none of them can
// be made read-only before it connects.
std::string ReadOnlyConnectionString(const std::string& text);

// An ODBC connection of our own, opened from a connection string and
// closed with the object. Throws DatabaseError with the driver manager's
// message when it cannot connect.
class OdbcConnection {
 public:
  // kReadOnly: the connection never changes or creates a database, made so
  // by ReadOnlyConnectionString; the driver is asked for read-only access
  // as well.
  enum class Access { kReadWrite, kReadOnly };

  explicit OdbcConnection(const std::string& connectionString, Access access = Access::kReadWrite);
  ~OdbcConnection();
  OdbcConnection(const OdbcConnection&) = delete;
  OdbcConnection& operator=(const OdbcConnection&) = delete;

  SQLHDBC get() const { return connection_; }

 private:
  void Close();

  SQLHENV environment_ = SQL_NULL_HENV;
  SQLHDBC connection_ = SQL_NULL_HDBC;
};

}  // namespace zeltra
