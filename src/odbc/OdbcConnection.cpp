#include "odbc/OdbcConnection.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "core/reload/LogQuery.h"
#include "core/text/Ascii.h"
#include "odbc/OdbcLogQuery.h"

namespace zeltra {
namespace {

bool Succeeded(SQLRETURN result) {
  return result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO;
}

// How long a read-only connection waits for a locked SQLite database.
constexpr const char* kBusyTimeoutMilliseconds = "2000";

struct Attribute {
  std::string key;
  std::string value;
};

// A connection string's KEY=VALUE pairs; a value in braces may hold ";".
std::vector<Attribute> AttributesOf(const std::string& text) {
  std::vector<Attribute> attributes;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t equals = text.find('=', at);
    if (equals == std::string::npos) break;
    Attribute attribute{text.substr(at, equals - at), {}};
    std::size_t end = equals + 1;
    if (end < text.size() && text[end] == '{') {
      const std::size_t close = text.find('}', end);
      end = close == std::string::npos ? text.size() : close + 1;
    }
    end = std::min(text.find(';', end), text.size());
    attribute.value = text.substr(equals + 1, end - equals - 1);
    attributes.push_back(std::move(attribute));
    at = end + 1;
  }
  return attributes;
}

// The database file as an SQLite URI that opens it read-only: the driver
// then neither creates a missing file nor checkpoints a write-ahead log
// into it.
std::string ReadOnlyUri(std::string path) {
  if (path.size() >= 2 && path.front() == '{' && path.back() == '}')
    path = path.substr(1, path.size() - 2);
  if (path.rfind("file:", 0) == 0)
    return path.find("mode=") == std::string::npos
               ? path + (path.find('?') == std::string::npos ? "?" : "&") + "mode=ro"
               : path;
  if (!std::filesystem::exists(path))
    throw DatabaseError("the database file " + path + " does not exist");
  std::string uri = "file:";
  if (path.size() > 1 && path[1] == ':') uri += "///";  // a Windows drive
  for (const char c : path) {
    if (c == '\\')
      uri += '/';
    else if (c == '?' || c == '#' || c == '%' || c == ';') {
      static constexpr char kHex[] = "0123456789ABCDEF";
      uri += '%';
      uri += kHex[static_cast<unsigned char>(c) >> 4];
      uri += kHex[static_cast<unsigned char>(c) & 0xF];
    } else {
      uri += c;
    }
  }
  return uri + "?mode=ro";
}

// The connection string with SQLite's driver told to read only what is
// there, and to give up on a lock within seconds.
std::string ReadOnlyConnectionString(const std::string& text) {
  auto attributes = AttributesOf(text);
  const auto named = [&](const char* key) {
    return std::find_if(attributes.begin(), attributes.end(), [&](const Attribute& attribute) {
      return EqualsIgnoringAsciiCase(TrimControlAndBlank(attribute.key), key);
    });
  };
  const auto driver = named("DRIVER");
  if (driver == attributes.end() || AsciiUpper(driver->value).find("SQLITE") == std::string::npos)
    return text;
  if (const auto database = named("DATABASE"); database != attributes.end())
    database->value = ReadOnlyUri(database->value);
  if (named("NOCREAT") == attributes.end()) attributes.push_back({"NoCreat", "1"});
  if (named("TIMEOUT") == attributes.end())
    attributes.push_back({"Timeout", kBusyTimeoutMilliseconds});
  std::string adjusted;
  for (const Attribute& attribute : attributes)
    adjusted += attribute.key + "=" + attribute.value + ";";
  return adjusted;
}

}  // namespace

OdbcConnection::OdbcConnection(const std::string& connectionString, Access access) {
  // Worked out before any handle exists: it may throw.
  std::string text =
      access == Access::kReadOnly ? ReadOnlyConnectionString(connectionString) : connectionString;
  if (!Succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment_)))
    throw DatabaseError("Cannot start ODBC");
  SQLSetEnvAttr(environment_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  if (!Succeeded(SQLAllocHandle(SQL_HANDLE_DBC, environment_, &connection_))) {
    SQLFreeHandle(SQL_HANDLE_ENV, environment_);
    throw DatabaseError("Cannot start an ODBC connection");
  }
  if (access == Access::kReadOnly)
    SQLSetConnectAttr(connection_, SQL_ATTR_ACCESS_MODE,
                      reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(SQL_MODE_READ_ONLY)), 0);
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
