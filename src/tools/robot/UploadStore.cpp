#include "tools/robot/UploadStore.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <random>
#include <set>

#include "tools/robot/Descriptor.h"

namespace zeltra::robot {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSchema =
    "PRAGMA journal_mode=WAL;"
    "PRAGMA synchronous=FULL;"
    "CREATE TABLE IF NOT EXISTS logs ("
    " id INTEGER PRIMARY KEY,"
    " call TEXT NOT NULL,"
    " categories TEXT NOT NULL,"
    " qsos INTEGER NOT NULL,"
    " claimed TEXT,"
    " score INTEGER NOT NULL,"
    " sha256 TEXT NOT NULL,"
    " received TEXT NOT NULL,"
    " replaces INTEGER);"
    "CREATE INDEX IF NOT EXISTS logs_by_call ON logs(call, id);";

// A prepared statement, finalized when it goes.
class Statement {
 public:
  Statement(sqlite3* database, const char* sql) {
    if (sqlite3_prepare_v2(database, sql, -1, &statement_, nullptr) != SQLITE_OK)
      throw StoreFailure(std::string("the log records: ") + sqlite3_errmsg(database));
  }
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt* get() const { return statement_; }

 private:
  sqlite3_stmt* statement_ = nullptr;
};

void Run(sqlite3* database, const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(database, sql, nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string text = message != nullptr ? message : "unknown error";
    sqlite3_free(message);
    throw StoreFailure("the log records: " + text);
  }
}

void BindText(sqlite3_stmt* statement, int index, std::string_view text) {
  sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

std::string Column(sqlite3_stmt* statement, int index) {
  const unsigned char* text = sqlite3_column_text(statement, index);
  return text == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(text));
}

// Writes bytes to a new file and to the disk; throws StoreFailure.
void WriteSynced(const fs::path& path, std::string_view bytes) {
  const Descriptor file(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0640));
  if (file.get() < 0)
    throw StoreFailure("cannot keep a log: " + path.string() + ": " + std::strerror(errno));
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t now = write(file.get(), bytes.data() + written, bytes.size() - written);
    if (now < 0 && errno == EINTR) continue;
    if (now <= 0) throw StoreFailure("cannot keep a log: " + std::string(std::strerror(errno)));
    written += static_cast<std::size_t>(now);
  }
  if (fsync(file.get()) != 0)
    throw StoreFailure("cannot keep a log: " + std::string(std::strerror(errno)));
}

void SyncFolder(const fs::path& folder) {
  const Descriptor handle(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (handle.get() < 0 || fsync(handle.get()) != 0)
    throw StoreFailure("cannot keep a log: " + folder.string() + ": " + std::strerror(errno));
}

std::string UtcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &utc);
  return text;
}

}  // namespace

UploadStore::UploadStore(const fs::path& folder) : folder_(folder) {
  std::error_code error;
  fs::create_directories(folder_ / "logs", error);
  if (!error) fs::create_directories(folder_ / "incoming", error);
  if (error) throw StoreFailure("cannot make " + folder_.string() + ": " + error.message());
  if (sqlite3_open_v2((folder_ / "robot.sqlite").c_str(), &database_,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                      nullptr) != SQLITE_OK) {
    const std::string message = database_ != nullptr ? sqlite3_errmsg(database_) : "no memory";
    sqlite3_close(database_);
    throw StoreFailure("cannot open the log records: " + message);
  }
  sqlite3_busy_timeout(database_, 5000);
  try {
    Run(database_, kSchema);
    RemoveLeftovers();
  } catch (...) {
    sqlite3_close(database_);
    throw;
  }
}

UploadStore::~UploadStore() {
  sqlite3_close(database_);
}

fs::path UploadStore::FileOf(std::int64_t id) const {
  return folder_ / "logs" / std::to_string(id);
}

// Pieces of uploads a killed run left half made, and logs whose record was
// never committed.
void UploadStore::RemoveLeftovers() {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder_ / "incoming", error))
    fs::remove(entry.path(), error);
  std::set<std::string> recorded;
  const Statement ids(database_, "SELECT id FROM logs");
  while (sqlite3_step(ids.get()) == SQLITE_ROW)
    recorded.insert(std::to_string(sqlite3_column_int64(ids.get(), 0)));
  for (const auto& entry : fs::directory_iterator(folder_ / "logs", error))
    if (recorded.count(entry.path().filename().string()) == 0) fs::remove(entry.path(), error);
}

KeptLog UploadStore::Keep(std::string_view bytes, const LogFacts& facts) {
  std::lock_guard lock(mutex_);
  static thread_local std::mt19937_64 random{std::random_device{}()};
  const fs::path piece = folder_ / "incoming" / (std::to_string(random()) + ".part");
  KeptLog kept{.id = 0, .facts = facts, .received = UtcNow(), .replaces = std::nullopt};
  try {
    WriteSynced(piece, bytes);
    Run(database_, "BEGIN IMMEDIATE");
    {
      const Statement newest(database_, "SELECT max(id) FROM logs WHERE call = ?");
      BindText(newest.get(), 1, facts.call);
      if (sqlite3_step(newest.get()) == SQLITE_ROW &&
          sqlite3_column_type(newest.get(), 0) != SQLITE_NULL)
        kept.replaces = sqlite3_column_int64(newest.get(), 0);
      const Statement insert(database_,
                             "INSERT INTO logs (call, categories, qsos, claimed, score, sha256, "
                             "received, replaces) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
      BindText(insert.get(), 1, facts.call);
      BindText(insert.get(), 2, facts.categories);
      sqlite3_bind_int64(insert.get(), 3, facts.qsos);
      if (facts.claimed) BindText(insert.get(), 4, *facts.claimed);
      sqlite3_bind_int64(insert.get(), 5, facts.score);
      BindText(insert.get(), 6, facts.sha256);
      BindText(insert.get(), 7, kept.received);
      if (kept.replaces) sqlite3_bind_int64(insert.get(), 8, *kept.replaces);
      if (sqlite3_step(insert.get()) != SQLITE_DONE)
        throw StoreFailure(std::string("the log records: ") + sqlite3_errmsg(database_));
      kept.id = sqlite3_last_insert_rowid(database_);
    }
    // The bytes under their name before the record that names them.
    std::error_code error;
    fs::rename(piece, FileOf(kept.id), error);
    if (error) throw StoreFailure("cannot keep a log: " + error.message());
    SyncFolder(folder_ / "logs");
    Run(database_, "COMMIT");
  } catch (...) {
    // Nothing of the log stays: not its record (a ROLLBACK with none
    // begun is refused, harmlessly), nor its piece, nor its file.
    sqlite3_exec(database_, "ROLLBACK", nullptr, nullptr, nullptr);
    std::error_code ignored;
    fs::remove(piece, ignored);
    if (kept.id != 0) fs::remove(FileOf(kept.id), ignored);
    throw;
  }
  return kept;
}

std::vector<KeptLog> UploadStore::Latest() const {
  std::lock_guard lock(mutex_);
  const Statement latest(database_,
                         "SELECT id, call, categories, qsos, claimed, score, sha256, received, "
                         "replaces FROM logs WHERE id IN (SELECT max(id) FROM logs GROUP BY "
                         "call) ORDER BY call");
  std::vector<KeptLog> logs;
  while (sqlite3_step(latest.get()) == SQLITE_ROW) {
    KeptLog log;
    log.id = sqlite3_column_int64(latest.get(), 0);
    log.facts.call = Column(latest.get(), 1);
    log.facts.categories = Column(latest.get(), 2);
    log.facts.qsos = sqlite3_column_int64(latest.get(), 3);
    if (sqlite3_column_type(latest.get(), 4) != SQLITE_NULL)
      log.facts.claimed = Column(latest.get(), 4);
    log.facts.score = sqlite3_column_int64(latest.get(), 5);
    log.facts.sha256 = Column(latest.get(), 6);
    log.received = Column(latest.get(), 7);
    if (sqlite3_column_type(latest.get(), 8) != SQLITE_NULL)
      log.replaces = sqlite3_column_int64(latest.get(), 8);
    logs.push_back(std::move(log));
  }
  return logs;
}

}  // namespace zeltra::robot
