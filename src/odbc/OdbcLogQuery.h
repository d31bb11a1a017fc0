#pragma once

#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/reload/LogQuery.h"
#include "core/text/Ascii.h"

namespace zeltra {

// A statement handle on a connection, freed with its owner.
class OdbcStatement {
 public:
  // Throws DatabaseError with the connection's diagnostics when no
  // statement can be had (for instance, the connection is closed).
  explicit OdbcStatement(SQLHDBC connection);
  ~OdbcStatement();
  OdbcStatement(const OdbcStatement&) = delete;
  OdbcStatement& operator=(const OdbcStatement&) = delete;

  SQLHSTMT get() const { return handle_; }

 private:
  SQLHSTMT handle_ = SQL_NULL_HSTMT;
};

// LogQuery over an ODBC connection that belongs to someone else: each Open
// allocates a statement on it and Close frees that statement again; the
// connection itself is never changed, disconnected or freed. Every column
// is bound as text in a 256-byte buffer, so a row costs one SQLFetch and
// values longer than 255 bytes arrive cut, with a truncation warning that
// is no error here.
class OdbcLogQuery : public LogQuery {
 public:
  explicit OdbcLogQuery(SQLHDBC connection) : connection_(connection) {}

  // The table's name quoted as the driver quotes identifiers, where it is
  // not a plain name; the name as it is without a connection.
  std::string TableReference(std::string_view tableName) const override;
  void Open(const std::string& sql) override;
  void Close() override;
  bool Eof() const override { return !statement_ || eof_; }
  void Next() override;
  std::string FieldAsText(std::string_view name) const override;

 private:
  static constexpr SQLLEN kValueBytes = 256;  // 255 bytes and the terminating NUL

  void BindColumns();
  void Fetch();

  SQLHDBC connection_;
  std::optional<OdbcStatement> statement_;
  bool eof_ = true;
  std::unordered_map<std::string, std::size_t, AsciiCaseInsensitiveHash, AsciiCaseInsensitiveEqual>
      columnByName_;
  std::vector<char> values_;  // kValueBytes per column
  std::vector<SQLLEN> lengths_;
};

// The diagnostics of a handle as one text: "[SQLSTATE] message" per record.
std::string OdbcDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle);

}  // namespace zeltra
