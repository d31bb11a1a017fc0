#include "odbc/OdbcLogQuery.h"

#include <algorithm>

#include "core/reload/TableName.h"

namespace zeltra {
namespace {

bool Succeeded(SQLRETURN result) {
  return result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO;
}

[[noreturn]] void Fail(SQLSMALLINT handleType, SQLHANDLE handle, const std::string& what) {
  const std::string diagnostics = OdbcDiagnostics(handleType, handle);
  throw DatabaseError(diagnostics.empty() ? what : diagnostics);
}

}  // namespace

std::string OdbcDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle) {
  std::string text;
  for (SQLSMALLINT record = 1;; ++record) {
    SQLCHAR state[6] = {};
    SQLINTEGER nativeError = 0;
    SQLCHAR message[1024] = {};
    SQLSMALLINT length = 0;
    const SQLRETURN result = SQLGetDiagRec(handleType, handle, record, state, &nativeError, message,
                                           static_cast<SQLSMALLINT>(sizeof message), &length);
    if (!Succeeded(result)) break;
    if (!text.empty()) text += '\n';
    text += '[';
    text += reinterpret_cast<const char*>(state);
    text += "] ";
    text += reinterpret_cast<const char*>(message);
  }
  return text;
}

OdbcStatement::OdbcStatement(SQLHDBC connection) {
  if (connection == SQL_NULL_HDBC) throw DatabaseError("The host gave no database connection");
  if (!Succeeded(SQLAllocHandle(SQL_HANDLE_STMT, connection, &handle_))) {
    handle_ = SQL_NULL_HSTMT;
    Fail(SQL_HANDLE_DBC, connection, "Cannot run a query on the host's database connection");
  }
}

OdbcStatement::~OdbcStatement() {
  SQLFreeHandle(SQL_HANDLE_STMT, handle_);
}

std::string OdbcLogQuery::TableReference(std::string_view tableName) const {
  if (connection_ == SQL_NULL_HDBC) return std::string(tableName);
  const auto info = [&](SQLUSMALLINT type, std::string fallback) {
    SQLCHAR text[4096] = {};
    SQLSMALLINT length = 0;
    const SQLRETURN result =
        SQLGetInfo(connection_, type, text, static_cast<SQLSMALLINT>(sizeof text), &length);
    return Succeeded(result) ? std::string(reinterpret_cast<const char*>(text)) : fallback;
  };
  // A driver that cannot say quotes as standard SQL does; one that answers
  // with a blank has no quoting.
  std::string quote = info(SQL_IDENTIFIER_QUOTE_CHAR, "\"");
  if (quote == " ") quote.clear();
  SqlKeywords keywords;
  keywords.Add(SQL_ODBC_KEYWORDS);
  // Some headers' list runs these two together.
  keywords.Add("ROWS,SCHEMA");
  keywords.Add(info(SQL_KEYWORDS, ""));
  return zeltra::TableReference(tableName, quote, keywords);
}

void OdbcLogQuery::Open(const std::string& sql) {
  Close();
  statement_.emplace(connection_);
  try {
    const SQLRETURN result =
        SQLExecDirect(statement_->get(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.data())),
                      static_cast<SQLINTEGER>(sql.size()));
    if (!Succeeded(result) && result != SQL_NO_DATA)
      Fail(SQL_HANDLE_STMT, statement_->get(), "The log query failed");
    BindColumns();
    Fetch();
  } catch (...) {
    Close();
    throw;
  }
}

void OdbcLogQuery::Close() {
  statement_.reset();
  eof_ = true;
  columnByName_.clear();
}

void OdbcLogQuery::BindColumns() {
  SQLSMALLINT count = 0;
  if (!Succeeded(SQLNumResultCols(statement_->get(), &count)))
    Fail(SQL_HANDLE_STMT, statement_->get(), "The log query has no columns");
  const auto columns = static_cast<std::size_t>(std::max<SQLSMALLINT>(count, 0));
  values_.assign(columns * static_cast<std::size_t>(kValueBytes), '\0');
  lengths_.assign(columns, SQL_NULL_DATA);
  for (std::size_t i = 0; i < columns; ++i) {
    const auto number = static_cast<SQLUSMALLINT>(i + 1);
    SQLCHAR name[256] = {};
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT type = 0;
    SQLULEN size = 0;
    SQLSMALLINT digits = 0;
    SQLSMALLINT nullable = 0;
    if (!Succeeded(SQLDescribeCol(statement_->get(), number, name,
                                  static_cast<SQLSMALLINT>(sizeof name), &nameLength, &type, &size,
                                  &digits, &nullable)))
      Fail(SQL_HANDLE_STMT, statement_->get(), "Cannot describe the log's columns");
    columnByName_.try_emplace(reinterpret_cast<const char*>(name), i);
    if (!Succeeded(SQLBindCol(statement_->get(), number, SQL_C_CHAR,
                              values_.data() + i * static_cast<std::size_t>(kValueBytes),
                              kValueBytes, &lengths_[i])))
      Fail(SQL_HANDLE_STMT, statement_->get(), "Cannot read the log's columns");
  }
}

void OdbcLogQuery::Fetch() {
  if (columnByName_.empty()) {
    eof_ = true;
    return;
  }
  const SQLRETURN result = SQLFetch(statement_->get());
  if (result == SQL_NO_DATA) {
    eof_ = true;
    return;
  }
  // SQL_SUCCESS_WITH_INFO carries the 01004 warning for values cut to the
  // buffer: the cut is intended.
  if (!Succeeded(result)) Fail(SQL_HANDLE_STMT, statement_->get(), "Cannot read the log");
  eof_ = false;
}

void OdbcLogQuery::Next() {
  if (!Eof()) Fetch();
}

std::string OdbcLogQuery::FieldAsText(std::string_view name) const {
  const auto column = columnByName_.find(name);
  if (column == columnByName_.end())
    throw DatabaseError("Field '" + std::string(name) + "' not found");
  const SQLLEN length = lengths_[column->second];
  if (Eof() || length == SQL_NULL_DATA) return {};
  const char* value = values_.data() + column->second * static_cast<std::size_t>(kValueBytes);
  const std::size_t maximum = static_cast<std::size_t>(kValueBytes) - 1;
  const std::size_t size = (length == SQL_NO_TOTAL || length < 0)
                               ? std::min(std::char_traits<char>::length(value), maximum)
                               : std::min(static_cast<std::size_t>(length), maximum);
  return std::string(value, size);
}

}  // namespace zeltra
