#include "odbc/OdbcConnection.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include <odbcinst.h>

#include "core/reload/LogQuery.h"
#include "core/text/Ascii.h"
#include "odbc/OdbcLogQuery.h"

namespace zeltra {
namespace {

bool Succeeded(SQLRETURN result) {
  return result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO;
}

// How long a read-only connection waits for a locked SQLite database, 2 s
// in all: SQLite's driver waits this long twice, preparing the query and
// then stepping it.
constexpr const char* kBusyTimeoutMilliseconds = "1000";
// The longest value read from the ODBC configuration.
constexpr std::size_t kLongestProfileValue = 4096;

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

// A data source's setting in the ODBC configuration (the user's and the
// system's odbc.ini, or the registry); empty when it has none.
std::string DataSourceSetting(const std::string& section, const std::string& key) {
  std::vector<char> value(kLongestProfileValue);
  const int length = SQLGetPrivateProfileString(section.c_str(), key.c_str(), "", value.data(),
                                                static_cast<int>(value.size()), "odbc.ini");
  if (length <= 0) return {};
  return std::string(value.data(), std::min(static_cast<std::size_t>(length), value.size() - 1));
}

std::string Unbraced(std::string text) {
  text = TrimControlAndBlank(text);
  if (text.size() >= 2 && text.front() == '{' && text.back() == '}')
    text = text.substr(1, text.size() - 2);
  return text;
}

bool IsSqlite(const std::string& driver) {
  return AsciiUpper(driver).find("SQLITE") != std::string::npos;
}

}  // namespace

std::string ReadOnlyConnectionString(const std::string& text) {
  auto attributes = AttributesOf(text);
  const auto named = [&](const char* key) {
    return std::find_if(attributes.begin(), attributes.end(), [&](const Attribute& attribute) {
      return EqualsIgnoringAsciiCase(TrimControlAndBlank(attribute.key), key);
    });
  };
  if (named("FILEDSN") != attributes.end() || named("SAVEFILE") != attributes.end())
    throw DatabaseError(
        "a file data source (FILEDSN, SAVEFILE) cannot be opened read-only: "
        "give DRIVER= and the database instead");
  std::string driver;
  std::string databaseOfSource;
  if (const auto given = named("DRIVER"); given != attributes.end()) {
    driver = Unbraced(given->value);
  } else if (const auto source = named("DSN"); source != attributes.end()) {
    const std::string name = Unbraced(source->value);
    // Windows keeps the driver's name apart from its library; unixODBC
    // keeps either under Driver.
    driver = DataSourceSetting("ODBC Data Sources", name);
    if (driver.empty()) driver = DataSourceSetting(name, "Driver");
    if (driver.empty()) throw DatabaseError("there is no ODBC data source named " + name);
    databaseOfSource = DataSourceSetting(name, "Database");
  }
  // Another driver may create or change a file while it connects, before
  // anything could be asked of it: only SQLite's is known to read only.
  if (!IsSqlite(driver))
    throw DatabaseError(
        "the log database is read only through SQLite's ODBC driver, which can "
        "be told not to change it; " +
        (driver.empty() ? std::string("the connection string names no driver")
                        : "not through " + driver));
  if (const auto database = named("DATABASE"); database != attributes.end())
    database->value = ReadOnlyUri(database->value);
  else if (!databaseOfSource.empty())
    attributes.push_back({"Database", ReadOnlyUri(databaseOfSource)});
  if (named("NOCREAT") == attributes.end()) attributes.push_back({"NoCreat", "1"});
  if (named("TIMEOUT") == attributes.end())
    attributes.push_back({"Timeout", kBusyTimeoutMilliseconds});
  std::string adjusted;
  for (const Attribute& attribute : attributes)
    adjusted += attribute.key + "=" + attribute.value + ";";
  return adjusted;
}

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

void OdbcConnection::Close() {
  SQLDisconnect(connection_);
  SQLFreeHandle(SQL_HANDLE_DBC, connection_);
  SQLFreeHandle(SQL_HANDLE_ENV, environment_);
}

OdbcConnection::~OdbcConnection() {
  Close();
}

}  // namespace zeltra
