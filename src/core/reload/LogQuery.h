#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace zeltra {

// An error reported by the database layer; its message is the database's own.
class DatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A read-only query on the host's log database: runs one query given as
// text and steps through its rows. A closed query stands at its end.
class LogQuery {
 public:
  virtual ~LogQuery() = default;

  // How the query text names the table called tableName, so that the
  // database reads that table and nothing else (see TableReference). The
  // name as it is, where the database has no rules to offer.
  virtual std::string TableReference(std::string_view tableName) const {
    return std::string(tableName);
  }
  // Runs sql and stands on its first row, or at the end when it has none.
  virtual void Open(const std::string& sql) = 0;
  // Ends the query; closing a closed query does nothing.
  virtual void Close() = 0;
  virtual bool Eof() const = 0;
  virtual void Next() = 0;
  // The current row's value of the column called name, matched without
  // regard to letter case: as text, NULL as empty text, at most 255 bytes.
  virtual std::string FieldAsText(std::string_view name) const = 0;
};

}  // namespace zeltra
