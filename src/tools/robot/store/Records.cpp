#include "tools/robot/store/Records.h"

#include <sqlite3.h>

#include "tools/robot/store/StoreFailure.h"

namespace zeltra::robot {
namespace {

constexpr int kBusyMilliseconds = 5000;

// The records as the first robot made them.
constexpr const char* kFirstSchema =
    "CREATE TABLE IF NOT EXISTS logs ("
    " id INTEGER PRIMARY KEY,"
    " call TEXT NOT NULL,"
    " categories TEXT NOT NULL,"
    " qsos INTEGER NOT NULL,"
    " claimed TEXT,"
    " score INTEGER NOT NULL,"
    " sha256 TEXT NOT NULL,"
    " received TEXT NOT NULL,"
    " replaces INTEGER);";

// What each log's record has gained since, and the uploads' own record.
// A log kept before keys were given is accepted, current in its order.
constexpr const char* kAddedColumns[][2] = {
    {"state", "TEXT NOT NULL DEFAULT 'accepted'"},
    {"current_order", "INTEGER"},
    {"key_hash", "TEXT"},
    {"bytes", "INTEGER NOT NULL DEFAULT 0"},
    {"address", "TEXT NOT NULL DEFAULT ''"},
    {"email", "TEXT"},
};

constexpr const char* kLaterSchema =
    "UPDATE logs SET current_order = id WHERE current_order IS NULL AND state = 'accepted';"
    "CREATE INDEX IF NOT EXISTS logs_by_call ON logs(call, id);"
    "CREATE INDEX IF NOT EXISTS logs_current ON logs(call, current_order);"
    "CREATE TABLE IF NOT EXISTS attempts ("
    " id INTEGER PRIMARY KEY,"
    " time TEXT NOT NULL,"
    " address TEXT NOT NULL,"
    " bytes INTEGER NOT NULL,"
    " sha256 TEXT NOT NULL,"
    " call TEXT NOT NULL,"
    " outcome TEXT NOT NULL,"
    " status INTEGER NOT NULL,"
    " reason TEXT NOT NULL,"
    " log INTEGER);"
    "CREATE TABLE IF NOT EXISTS mails ("
    " id INTEGER PRIMARY KEY,"
    " log INTEGER NOT NULL,"
    " recipient TEXT NOT NULL,"
    " subject TEXT NOT NULL,"
    " body TEXT NOT NULL,"
    " queued TEXT NOT NULL,"
    " next_try INTEGER NOT NULL,"
    " tries INTEGER NOT NULL DEFAULT 0,"
    " sent TEXT,"
    " failure TEXT);"
    "CREATE INDEX IF NOT EXISTS mails_due ON mails(sent, next_try);";

// What each mail's record has gained since: when it was queued (UTC
// seconds), what it tells of which call, and the address as the caps count
// it; when it first failed, and when it was given up.
constexpr const char* kAddedMailColumns[][2] = {
    {"queued_at", "INTEGER NOT NULL DEFAULT 0"},
    {"kind", "TEXT NOT NULL DEFAULT 'receipt'"},
    {"call", "TEXT NOT NULL DEFAULT ''"},
    {"recipient_key", "TEXT NOT NULL DEFAULT ''"},
    {"first_failure", "INTEGER"},
    {"gave_up", "TEXT"},
};

// What each attempt's record has gained since.
constexpr const char* kAddedAttemptColumns[][2] = {
    {"count", "INTEGER NOT NULL DEFAULT 1"},
};

constexpr const char* kMailIndexes =
    "CREATE INDEX IF NOT EXISTS mails_by_time ON mails(queued_at);"
    "CREATE INDEX IF NOT EXISTS mails_by_recipient ON mails(recipient_key, queued_at);";

}  // namespace

Records::Records(const std::filesystem::path& folder, Access access) {
  const std::filesystem::path file = folder / "robot.sqlite";
  const int flags =
      access == Access::kWrite ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READONLY;
  if (access == Access::kRead && !std::filesystem::exists(file))
    throw StoreFailure(folder.string() + " holds no robot's records (robot.sqlite)");
  if (sqlite3_open_v2(file.c_str(), &database_, flags | SQLITE_OPEN_FULLMUTEX, nullptr) !=
      SQLITE_OK) {
    const std::string message = database_ != nullptr ? sqlite3_errmsg(database_) : "no memory";
    sqlite3_close(database_);
    throw StoreFailure("cannot open the log records " + file.string() + ": " + message);
  }
  sqlite3_busy_timeout(database_, kBusyMilliseconds);
  try {
    if (access == Access::kWrite) {
      Run("PRAGMA journal_mode=WAL");
      BringUpToDate();
    } else if (!HasColumn("logs", "email") || !HasColumn("mails", "next_try")) {
      throw StoreFailure(file.string() +
                         " was made by an older robot: start zeltra-robot serve on it once");
    }
    Run("PRAGMA synchronous=FULL");
  } catch (...) {
    sqlite3_close(database_);
    throw;
  }
}

Records::~Records() {
  sqlite3_close(database_);
}

void Records::Run(const char* sql) const {
  char* message = nullptr;
  if (sqlite3_exec(database_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string text = message != nullptr ? message : sqlite3_errmsg(database_);
    sqlite3_free(message);
    throw StoreFailure("the log records: " + text);
  }
}

void Records::Rollback() const noexcept {
  sqlite3_exec(database_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Records::Fail() const {
  throw StoreFailure(std::string("the log records: ") + sqlite3_errmsg(database_));
}

bool Records::HasColumn(const char* table, const char* column) const {
  Statement columns(*this, "SELECT 1 FROM pragma_table_info(?) WHERE name = ?");
  columns.Bind(1, table).Bind(2, column);
  return columns.Step();
}

void Records::BringUpToDate() const {
  Run("BEGIN IMMEDIATE");
  try {
    Run(kFirstSchema);
    for (const auto& [column, type] : kAddedColumns)
      if (!HasColumn("logs", column))
        Run(("ALTER TABLE logs ADD COLUMN " + std::string(column) + " " + type).c_str());
    Run(kLaterSchema);
    for (const auto& [column, type] : kAddedMailColumns)
      if (!HasColumn("mails", column))
        Run(("ALTER TABLE mails ADD COLUMN " + std::string(column) + " " + type).c_str());
    for (const auto& [column, type] : kAddedAttemptColumns)
      if (!HasColumn("attempts", column))
        Run(("ALTER TABLE attempts ADD COLUMN " + std::string(column) + " " + type).c_str());
    Run(kMailIndexes);
    Run("COMMIT");
  } catch (...) {
    Rollback();
    throw;
  }
}

Statement::Statement(const Records& records, const char* sql) : records_(records) {
  if (sqlite3_prepare_v2(records.get(), sql, -1, &statement_, nullptr) != SQLITE_OK) records.Fail();
}

Statement::~Statement() {
  sqlite3_finalize(statement_);
}

Statement& Statement::Bind(int index, std::string_view text) {
  sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                    SQLITE_TRANSIENT);
  return *this;
}

Statement& Statement::Bind(int index, std::int64_t number) {
  sqlite3_bind_int64(statement_, index, number);
  return *this;
}

Statement& Statement::Bind(int index, const std::optional<std::int64_t>& number) {
  if (number)
    sqlite3_bind_int64(statement_, index, *number);
  else
    sqlite3_bind_null(statement_, index);
  return *this;
}

bool Statement::Step() {
  const int result = sqlite3_step(statement_);
  if (result == SQLITE_ROW) return true;
  if (result == SQLITE_DONE) return false;
  records_.Fail();
}

void Statement::Done() {
  if (Step()) throw StoreFailure("the log records: a row where none was expected");
}

std::string Statement::Text(int column) const {
  const auto* text = sqlite3_column_text(statement_, column);
  // A text is kept with its length: a NUL inside it stays.
  return text == nullptr
             ? std::string()
             : std::string(reinterpret_cast<const char*>(text),
                           static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
}

std::optional<std::string> Statement::MaybeText(int column) const {
  if (sqlite3_column_type(statement_, column) == SQLITE_NULL) return std::nullopt;
  return Text(column);
}

std::int64_t Statement::Number(int column) const {
  return sqlite3_column_int64(statement_, column);
}

std::optional<std::int64_t> Statement::MaybeNumber(int column) const {
  if (sqlite3_column_type(statement_, column) == SQLITE_NULL) return std::nullopt;
  return Number(column);
}

const char* LogColumns() {
  return "id, call, categories, qsos, claimed, score, sha256, received, replaces, state, bytes, "
         "address";
}

KeptLog LogFrom(const Statement& row) {
  KeptLog log;
  log.id = row.Number(0);
  log.facts.call = row.Text(1);
  log.facts.categories = row.Text(2);
  log.facts.qsos = row.Number(3);
  log.facts.claimed = row.MaybeText(4);
  log.facts.score = row.Number(5);
  log.facts.sha256 = row.Text(6);
  log.received = row.Text(7);
  log.replaces = row.MaybeNumber(8);
  const std::string state = row.Text(9);
  log.state = state == "held"       ? LogState::kHeld
              : state == "rejected" ? LogState::kRejected
                                    : LogState::kAccepted;
  log.bytes = row.Number(10);
  log.address = row.Text(11);
  return log;
}

std::optional<std::int64_t> CurrentLogOf(const Records& records, const std::string& call) {
  Statement current(records,
                    "SELECT id FROM logs WHERE call = ? AND state = 'accepted' "
                    "ORDER BY current_order DESC LIMIT 1");
  current.Bind(1, call);
  return current.Step() ? std::optional(current.Number(0)) : std::nullopt;
}

std::string_view KeptText(std::string_view text) {
  if (text.size() <= kLongestKeptText) return text;
  std::size_t end = kLongestKeptText;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

const char* StateName(LogState state) {
  switch (state) {
    case LogState::kAccepted:
      return "accepted";
    case LogState::kHeld:
      return "held";
    case LogState::kRejected:
      return "rejected";
  }
  return "accepted";
}

const char* OutcomeName(Outcome outcome) {
  switch (outcome) {
    case Outcome::kAccepted:
      return "accepted";
    case Outcome::kHeld:
      return "held";
    case Outcome::kRefused:
      return "refused";
  }
  return "refused";
}

}  // namespace zeltra::robot
