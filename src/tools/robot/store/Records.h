#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "tools/robot/store/KeptLog.h"

struct sqlite3;
struct sqlite3_stmt;

namespace zeltra::robot {

// The robot's records (DATA/robot.sqlite, WAL, synchronous=FULL): one
// connection, closed when it goes. Every failure throws StoreFailure.
class Records {
 public:
  enum class Access { kRead, kWrite };
  // kWrite makes the records, or brings older ones up to date; kRead
  // takes them as they are, and refuses records an older robot made.
  Records(const std::filesystem::path& folder, Access access);
  ~Records();
  Records(const Records&) = delete;
  Records& operator=(const Records&) = delete;

  sqlite3* get() const { return database_; }
  void Run(const char* sql) const;
  // Undoes the open transaction; with none, nothing.
  void Rollback() const noexcept;
  [[noreturn]] void Fail() const;

 private:
  void BringUpToDate() const;
  bool HasColumn(const char* table, const char* column) const;

  sqlite3* database_ = nullptr;
};

// A prepared statement, finalized when it goes.
class Statement {
 public:
  Statement(const Records& records, const char* sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int index, std::string_view text);
  Statement& Bind(int index, std::int64_t number);
  Statement& Bind(int index, const std::optional<std::int64_t>& number);
  // Another row: true; the end: false.
  bool Step();
  void Done();

  std::string Text(int column) const;
  std::optional<std::string> MaybeText(int column) const;
  std::int64_t Number(int column) const;
  std::optional<std::int64_t> MaybeNumber(int column) const;

 private:
  const Records& records_;
  sqlite3_stmt* statement_ = nullptr;
};

// The columns of a log's record, as LogColumns() lists them, read back.
const char* LogColumns();
KeptLog LogFrom(const Statement& row);

// The call's current log: its accepted version made current last; none
// when it has none.
std::optional<std::int64_t> CurrentLogOf(const Records& records, const std::string& call);

// A client's text as the records keep it: at most kLongestKeptText bytes.
std::string_view KeptText(std::string_view text);

const char* StateName(LogState state);
const char* OutcomeName(Outcome outcome);

}  // namespace zeltra::robot
