#include "tools/score/LogInput.h"

#include <zlib.h>

#include <cerrno>
#include <filesystem>
#include <streambuf>
#include <system_error>
#include <vector>

#include "tools/score/FileNames.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zeltra::score {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kChunk = 1 << 16;
constexpr std::size_t kUtf16MarkSize = 2;
// A compressed log may grow this much, and this many times its compressed
// size, before it is taken for a bomb: text logs compress five to ten times.
constexpr std::uint64_t kFreeDecompressedBytes = 64ull << 20;
constexpr std::uint64_t kLargestCompressionRatio = 200;

gzFile OpenStandardInput() {
#ifdef _WIN32
  _setmode(_fileno(stdin), _O_BINARY);
  return gzdopen(_dup(_fileno(stdin)), "rb");
#else
  return gzdopen(dup(STDIN_FILENO), "rb");
#endif
}

gzFile OpenFile(const std::string& name) {
  std::error_code error;
  const fs::path path = PathOf(name);
  const fs::file_status status = fs::status(path, error);
  if (status.type() == fs::file_type::not_found)
    throw InputError("cannot read the file: it does not exist");
  if (error) throw InputError("cannot read the file: " + error.message());
  if (!fs::is_regular_file(status))
    throw InputError(fs::is_directory(status) ? "a folder, not a log file"
                                              : "not a regular file (a device or a FIFO)");
#ifdef _WIN32
  return gzopen_w(path.c_str(), "rb");
#else
  return gzopen(name.c_str(), "rb");
#endif
}

}  // namespace

// Reads through zlib, which passes uncompressed files through unchanged.
class LogInput::Buffer : public std::streambuf {
 public:
  explicit Buffer(gzFile file) : file_(file), bytes_(kChunk) {}
  ~Buffer() override { gzclose(file_); }
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;

  // Reads the first bytes, up to count, without consuming them.
  std::string_view Start(std::size_t count) {
    std::size_t have = 0;
    while (have < count && !failed()) {
      const std::size_t got = Read(bytes_.data() + have, count - have);
      if (got == 0) break;
      have += got;
    }
    setg(bytes_.data(), bytes_.data(), bytes_.data() + have);
    return {bytes_.data(), have};
  }

  bool failed() const { return !error_.empty(); }
  const std::string& error() const { return error_; }

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    const std::size_t got = Read(bytes_.data(), bytes_.size());
    if (got == 0) return traits_type::eof();
    setg(bytes_.data(), bytes_.data(), bytes_.data() + got);
    return traits_type::to_int_type(*gptr());
  }

 private:
  std::size_t Read(char* to, std::size_t count) {
    if (failed()) return 0;
    const int got = gzread(file_, to, static_cast<unsigned>(count));
    if (got < 0) {
      int code = 0;
      const char* message = gzerror(file_, &code);
      error_ = code == Z_ERRNO ? std::generic_category().message(errno)
                               : "not a whole gzip file (" + std::string(message) + ")";
      return 0;
    }
    if (got == 0) {
      // zlib answers the end of a cut stream as an end, and tells it apart
      // only when asked.
      int code = Z_OK;
      gzerror(file_, &code);
      if (code != Z_OK && code != Z_STREAM_END) error_ = "not a whole gzip file (it ends too soon)";
      return 0;
    }
    produced_ += static_cast<std::uint64_t>(got);
    if (!gzdirect(file_) && produced_ > kFreeDecompressedBytes &&
        produced_ > kLargestCompressionRatio * static_cast<std::uint64_t>(gzoffset(file_))) {
      error_ = "decompresses to more than " + std::to_string(kLargestCompressionRatio) +
               " times its size; no log does";
      return 0;
    }
    return static_cast<std::size_t>(got);
  }

  gzFile file_;
  std::vector<char> bytes_;
  std::uint64_t produced_ = 0;
  std::string error_;
};

LogInput::LogInput(const std::string& name) : stream_(nullptr) {
  const gzFile file = name == kStandardInput ? OpenStandardInput() : OpenFile(name);
  if (file == nullptr)
    throw InputError(std::string("cannot read the file: ") +
                     std::generic_category().message(errno));
  buffer_ = std::make_unique<Buffer>(file);
  const std::string_view start = buffer_->Start(kLogKindWindow);
  known_ = KnowLog(start);
  CheckRead();
  std::streambuf* text = buffer_.get();
  if (known_.kind == LogKind::kUtf16) {
    // Read as UTF-8 from past the byte-order mark, and known again.
    const bool bigEndian = start[0] == '\xFE';
    for (std::size_t i = 0; i < kUtf16MarkSize; ++i) buffer_->sbumpc();
    utf16_ = std::make_unique<Utf16Text>(*buffer_, bigEndian);
    known_ = KnowLog(utf16_->Start(kLogKindWindow));
    CheckRead();
    if (known_.kind == LogKind::kUtf16) known_.kind = LogKind::kNotALog;
    text = utf16_.get();
  }
  stream_.rdbuf(text);
  stream_.ignore(static_cast<std::streamsize>(known_.start));
}

LogInput::~LogInput() = default;

void LogInput::CheckRead() const {
  if (buffer_->failed()) throw InputError("cannot read the file: " + buffer_->error());
}

}  // namespace zeltra::score
