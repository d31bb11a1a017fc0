#include "organiser/reading/LogInput.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <streambuf>
#include <system_error>
#include <vector>

#include "organiser/files/FileNames.h"

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zeltra::organiser {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kChunk = 1 << 16;
// The most one read asks zlib for, which counts in int.
constexpr std::size_t kLargestRead = std::size_t{1} << 30;
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

#ifdef _WIN32
using FileInfo = struct _stat64;
int OpenToRead(const std::string& name) {
  return _wopen(PathOf(name).c_str(), _O_RDONLY | _O_BINARY);
}
int InfoOf(int descriptor, FileInfo& info) {
  return _fstat64(descriptor, &info);
}
bool IsFolder(const FileInfo& info) {
  return (info.st_mode & _S_IFMT) == _S_IFDIR;
}
bool IsRegular(const FileInfo& info) {
  return (info.st_mode & _S_IFMT) == _S_IFREG;
}
// Windows opens no folder as a file, and has no FIFO that blocks an open.
bool ReadyToRead(int) {
  return true;
}
void CloseFile(int descriptor) {
  _close(descriptor);
}
#else
using FileInfo = struct stat;
// Not blocking: a FIFO would wait here for a writer before it could be
// refused.
int OpenToRead(const std::string& name) {
  return open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}
int InfoOf(int descriptor, FileInfo& info) {
  return fstat(descriptor, &info);
}
bool IsFolder(const FileInfo& info) {
  return S_ISDIR(info.st_mode);
}
bool IsRegular(const FileInfo& info) {
  return S_ISREG(info.st_mode);
}
bool ReadyToRead(int descriptor) {
  const int flags = fcntl(descriptor, F_GETFL);
  return flags != -1 && fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != -1;
}
void CloseFile(int descriptor) {
  close(descriptor);
}
#endif

// The file is opened first and then looked at through what was opened, so
// that what is read is what was looked at, even if the name is given to
// another file between the two.
gzFile OpenFile(const std::string& name, int& opened) {
  const int descriptor = OpenToRead(name);
  if (descriptor < 0) {
    const int cause = errno;
    std::error_code error;
    if (cause == ENOENT) throw InputError("cannot read the file: it does not exist");
    if (fs::is_directory(PathOf(name), error)) throw InputError("a folder, not a log file");
    throw InputError("cannot read the file: " + std::generic_category().message(cause));
  }
  FileInfo info{};
  const char* refusal = nullptr;
  if (InfoOf(descriptor, info) != 0 || !ReadyToRead(descriptor))
    refusal = "cannot read the file";
  else if (IsFolder(info))
    refusal = "a folder, not a log file";
  else if (!IsRegular(info))
    refusal = "not a regular file (a device or a FIFO)";
  if (refusal != nullptr) {
    CloseFile(descriptor);
    throw InputError(refusal);
  }
  const gzFile file = gzdopen(descriptor, "rb");
  if (file == nullptr)
    CloseFile(descriptor);
  else
    opened = descriptor;
  return file;
}

// A stream's buffer over bytes read a chunk at a time. A large read with
// nothing buffered goes straight to where it is wanted, not through the
// buffer: one copy of a large log fewer.
class ChunkBuffer : public std::streambuf {
 protected:
  ChunkBuffer() : bytes_(kChunk) {}
  // Reads up to count bytes into to; 0 at the end, or once reading failed.
  virtual std::size_t Read(char* to, std::size_t count) = 0;

  std::streamsize xsgetn(char* to, std::streamsize count) override {
    std::streamsize given = 0;
    if (gptr() < egptr()) {
      given = std::min<std::streamsize>(count, egptr() - gptr());
      std::memcpy(to, gptr(), static_cast<std::size_t>(given));
      gbump(static_cast<int>(given));
    }
    while (count - given >= static_cast<std::streamsize>(bytes_.size())) {
      const std::size_t got =
          Read(to + given, std::min(static_cast<std::size_t>(count - given), kLargestRead));
      if (got == 0) return given;
      given += static_cast<std::streamsize>(got);
    }
    if (given < count) given += std::streambuf::xsgetn(to + given, count - given);
    return given;
  }

  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    const std::size_t got = Read(bytes_.data(), bytes_.size());
    if (got == 0) return traits_type::eof();
    setg(bytes_.data(), bytes_.data(), bytes_.data() + got);
    return traits_type::to_int_type(*gptr());
  }

  std::vector<char> bytes_;
};

#ifndef _WIN32
// A stretch of a file from a place on, read with reads that name where
// they read: another reading of the same open file, which moves the
// file's own place, is not disturbed. A read that fails throws, which its
// stream tells as bad.
class FilePartBuffer : public ChunkBuffer {
 public:
  FilePartBuffer(int descriptor, std::uint64_t from) : descriptor_(descriptor), next_(from) {}

 private:
  std::size_t Read(char* to, std::size_t count) override {
    ssize_t got = 0;
    do {
      got = pread(descriptor_, to, count, static_cast<off_t>(next_));
    } while (got < 0 && errno == EINTR);
    if (got < 0)
      throw InputError("cannot read the file: " + std::generic_category().message(errno));
    next_ += static_cast<std::uint64_t>(got);
    return static_cast<std::size_t>(got);
  }

  int descriptor_;
  std::uint64_t next_;
};

// A stream over its own FilePartBuffer, made before the stream is.
class FilePart : private FilePartBuffer, public std::istream {
 public:
  FilePart(int descriptor, std::uint64_t from)
      : FilePartBuffer(descriptor, from), std::istream(this) {}
};
#endif

}  // namespace

// Reads through zlib, which passes uncompressed files through unchanged.
class LogInput::Buffer : public ChunkBuffer {
 public:
  Buffer(gzFile file, std::uint64_t largestText) : file_(file), largestText_(largestText) {}
  ~Buffer() override { gzclose(file_); }
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;

  // Reads the first bytes, up to count, without consuming them.
  std::string_view Start(std::size_t count) {
    std::size_t have = 0;
    while (have < count && !Failed()) {
      const std::size_t got = Read(bytes_.data() + have, count - have);
      if (got == 0) break;
      have += got;
    }
    setg(bytes_.data(), bytes_.data(), bytes_.data() + have);
    return {bytes_.data(), have};
  }

  bool Failed() const { return !error_.empty(); }
  // Whether the file is read as it is, not decompressed.
  bool Direct() const { return gzdirect(file_) != 0; }
  std::uint64_t largestText() const { return largestText_; }
  bool tooLarge() const { return tooLarge_; }
  const std::string& error() const { return error_; }

 private:
  std::size_t Read(char* to, std::size_t count) override {
    if (Failed()) return 0;
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
    if (largestText_ != 0 && produced_ > largestText_) {
      error_ = "its text is larger than " + std::to_string(largestText_) + " bytes";
      tooLarge_ = true;
      return 0;
    }
    if (!gzdirect(file_) && produced_ > kFreeDecompressedBytes &&
        produced_ > kLargestCompressionRatio * static_cast<std::uint64_t>(gzoffset(file_))) {
      error_ = "decompresses to more than " + std::to_string(kLargestCompressionRatio) +
               " times its size; no log does";
      return 0;
    }
    return static_cast<std::size_t>(got);
  }

  gzFile file_;
  std::uint64_t largestText_;
  std::uint64_t produced_ = 0;
  std::string error_;
  bool tooLarge_ = false;
};

LogInput::LogInput(const std::string& name, std::uint64_t largestText) : stream_(nullptr) {
  const gzFile file = name == kStandardInput ? OpenStandardInput() : OpenFile(name, descriptor_);
  if (file == nullptr)
    throw InputError(std::string("cannot read the file: ") +
                     std::generic_category().message(errno));
  buffer_ = std::make_unique<Buffer>(file, largestText);
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

std::optional<std::uint64_t> LogInput::TextSize() const {
#ifdef _WIN32
  return std::nullopt;
#else
  FileInfo info{};
  if (descriptor_ < 0 || utf16_ || !buffer_->Direct() || buffer_->Failed() ||
      InfoOf(descriptor_, info) != 0 || !IsRegular(info))
    return std::nullopt;
  const auto size = static_cast<std::uint64_t>(info.st_size);
  const std::uint64_t largest = buffer_->largestText();
  if (size < known_.start || (largest != 0 && size > largest)) return std::nullopt;
  return size - known_.start;
#endif
}

std::unique_ptr<std::istream> LogInput::TextFrom(std::uint64_t offset) const {
#ifdef _WIN32
  (void)offset;
  return nullptr;
#else
  if (!TextSize()) return nullptr;
  return std::make_unique<FilePart>(descriptor_, known_.start + offset);
#endif
}

void LogInput::CheckRead() const {
  if (buffer_->tooLarge()) throw InputTooLarge("cannot read the file: " + buffer_->error());
  if (buffer_->Failed()) throw InputError("cannot read the file: " + buffer_->error());
}

}  // namespace zeltra::organiser
