#include "organiser/results/RowSpool.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#ifdef _WIN32
#include <filesystem>
#include <random>
#endif

namespace zeltra::organiser {
namespace {

// A log's rows are stored in pieces of about this size.
constexpr std::size_t kPieceBytes = 1 << 18;
constexpr std::size_t kCopyBytes = 1 << 16;

#ifdef _WIN32
// Windows deletes the file when it is closed ("D"), and keeps it in its
// cache while it can ("T").
std::FILE* OpenTemporaryFile() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  if (error) return nullptr;
  std::random_device random;
  const std::filesystem::path path =
      folder / ("zeltra-rows-" + std::to_string(random()) + std::to_string(random()) + ".tmp");
  return _wfopen(path.c_str(), L"w+bTD");
}

bool SeekTo(std::FILE* file, std::uint64_t offset) {
  return _fseeki64(file, static_cast<long long>(offset), SEEK_SET) == 0;
}
#else
// Unnamed, and gone when it is closed or the program ends, however it ends.
std::FILE* OpenTemporaryFile() {
  return std::tmpfile();
}

bool SeekTo(std::FILE* file, std::uint64_t offset) {
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
}
#endif

}  // namespace

RowSpool::RowSpool() : file_(OpenTemporaryFile()) {}

void RowSpool::Rows::Add(std::string_view row, std::string_view separator) {
  if (any_) buffer_ += separator;
  any_ = true;
  buffer_ += row;
  if (buffer_.size() >= kPieceBytes) {
    spool_.Store(log_, std::move(buffer_));
    buffer_.clear();
  }
}

void RowSpool::Rows::Finish() {
  if (!buffer_.empty()) spool_.Store(log_, std::move(buffer_));
  buffer_.clear();
}

void RowSpool::Store(std::size_t log, std::string&& text) {
  std::lock_guard lock(mutex_);
  Piece piece{.offset = end_, .length = text.size(), .text = {}};
  const bool written = file_ && SeekTo(file_.get(), end_) &&
                       std::fwrite(text.data(), 1, text.size(), file_.get()) == text.size();
  if (written) {
    end_ += text.size();
  } else {
    // A full disk: what was stored stays in the file, the rest is kept here.
    piece.text = std::move(text);
  }
  pieces_[log].push_back(std::move(piece));
}

bool RowSpool::HasRows(std::size_t log) const {
  std::lock_guard lock(mutex_);
  return pieces_.count(log) > 0;
}

void RowSpool::CopyRows(std::size_t log, std::ostream& out) const {
  std::lock_guard lock(mutex_);
  const auto found = pieces_.find(log);
  if (found == pieces_.end()) return;
  std::array<char, kCopyBytes> buffer{};
  for (const Piece& piece : found->second) {
    if (!piece.text.empty()) {
      out << piece.text;
      continue;
    }
    if (std::fflush(file_.get()) != 0 || !SeekTo(file_.get(), piece.offset))
      throw std::runtime_error("cannot read back the contacts kept in a temporary file");
    for (std::size_t left = piece.length; left > 0;) {
      const std::size_t read =
          std::fread(buffer.data(), 1, std::min(left, buffer.size()), file_.get());
      if (read == 0)
        throw std::runtime_error("cannot read back the contacts kept in a temporary file");
      out.write(buffer.data(), static_cast<std::streamsize>(read));
      left -= read;
    }
  }
}

}  // namespace zeltra::organiser
