#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace zeltra::organiser {

// The rows each log lists (with --contacts), kept out of memory until they
// are written: each log's rows are worded as they are made, on any thread,
// and held by the log's number in a temporary file (in memory when no file
// can be made), to be written once the logs are ranked. A run of a million
// contacts holds a few buffers of them at a time, not the million.
class RowSpool {
 public:
  RowSpool();
  RowSpool(const RowSpool&) = delete;
  RowSpool& operator=(const RowSpool&) = delete;

  // The rows of one log, added on one thread, stored as they fill a buffer
  // and when Finish is called.
  class Rows {
   public:
    Rows(RowSpool& spool, std::size_t log) : spool_(spool), log_(log) {}
    Rows(const Rows&) = delete;
    Rows& operator=(const Rows&) = delete;
    // separator: what goes between this row and the one before it.
    void Add(std::string_view row, std::string_view separator = {});
    void Finish();

   private:
    RowSpool& spool_;
    std::size_t log_;
    std::string buffer_;
    bool any_ = false;
  };

  bool HasRows(std::size_t log) const;
  // The log's rows, in the order they were added. Throws std::runtime_error
  // when the temporary file cannot be read back.
  void CopyRows(std::size_t log, std::ostream& out) const;

 private:
  struct Piece {
    std::uint64_t offset = 0;
    std::size_t length = 0;
    std::string text;  // the piece itself, when there is no file
  };
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  void Store(std::size_t log, std::string&& text);

  mutable std::mutex mutex_;
  std::unique_ptr<std::FILE, FileCloser> file_;  // none: the pieces are kept in memory
  std::uint64_t end_ = 0;
  std::map<std::size_t, std::vector<Piece>> pieces_;
};

}  // namespace zeltra::organiser
