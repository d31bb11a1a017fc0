#pragma once

#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

#include <string>

namespace zeltra {

// An ODBC connection of our own, opened from a connection string and
// closed with the object. Throws DatabaseError with the driver manager's
// message when it cannot connect.
class OdbcConnection {
 public:
  // kReadOnly: the connection never changes or creates a database. It asks
  // the driver for read-only access; SQLite's driver is also told not to
  // create a missing file and to give up on a locked one within seconds.
  enum class Access { kReadWrite, kReadOnly };

  explicit OdbcConnection(const std::string& connectionString, Access access = Access::kReadWrite);
  ~OdbcConnection();
  OdbcConnection(const OdbcConnection&) = delete;
  OdbcConnection& operator=(const OdbcConnection&) = delete;

  SQLHDBC get() const { return connection_; }

 private:
  SQLHENV environment_ = SQL_NULL_HENV;
  SQLHDBC connection_ = SQL_NULL_HDBC;
};

}  // namespace zeltra
