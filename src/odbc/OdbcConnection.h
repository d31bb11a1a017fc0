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
  explicit OdbcConnection(const std::string& connectionString);
  ~OdbcConnection();
  OdbcConnection(const OdbcConnection&) = delete;
  OdbcConnection& operator=(const OdbcConnection&) = delete;

  SQLHDBC get() const { return connection_; }

 private:
  SQLHENV environment_ = SQL_NULL_HENV;
  SQLHDBC connection_ = SQL_NULL_HDBC;
};

}  // namespace zeltra
