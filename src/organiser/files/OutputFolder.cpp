#include "organiser/files/OutputFolder.h"

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <utility>

#include "organiser/files/FileNames.h"

#ifdef _WIN32
#include <fstream>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#endif

namespace zeltra::organiser {
namespace {

namespace fs = std::filesystem;

// A file is written under this name beside its place, then renamed.
constexpr std::string_view kPieceSuffix = ".part";

std::string Cause(int error) {
  return std::generic_category().message(error);
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// Whether a name in the folder is one RemoveOthers takes away.
bool Obsolete(const std::string& leaf, std::string_view suffix, const std::set<std::string>& kept) {
  if (EndsWith(leaf, kPieceSuffix))
    return EndsWith(std::string_view(leaf).substr(0, leaf.size() - kPieceSuffix.size()), suffix);
  return EndsWith(leaf, suffix) && kept.count(leaf) == 0;
}

#ifndef _WIN32

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr mode_t kFileMode = 0666;    // less what the user's umask takes away
constexpr mode_t kFolderMode = 0777;  // likewise

// Closes a descriptor it was given.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// A stream's buffer over a descriptor; the cause of a failed write is kept.
class DescriptorBuffer : public std::streambuf {
 public:
  explicit DescriptorBuffer(int fd)
      : fd_(fd), buffer_(std::make_unique_for_overwrite<char[]>(kBufferSize)) {
    setp(buffer_.get(), buffer_.get() + kBufferSize);
  }
  int error() const { return error_; }

 protected:
  int_type overflow(int_type c) override {
    if (!Drain()) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  // A text at least as large as the buffer goes to the file as it is,
  // not through the buffer.
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    if (count < static_cast<std::streamsize>(kBufferSize))
      return std::streambuf::xsputn(text, count);
    if (!Drain() || !WriteAll(text, static_cast<std::size_t>(count))) return 0;
    return count;
  }
  int sync() override { return Drain() ? 0 : -1; }

 private:
  bool Drain() {
    if (!WriteAll(pbase(), static_cast<std::size_t>(pptr() - pbase()))) return false;
    setp(buffer_.get(), buffer_.get() + kBufferSize);
    return true;
  }
  bool WriteAll(const char* from, std::size_t size) {
    const char* const end = from + size;
    while (from < end) {
      const ssize_t written = ::write(fd_, from, static_cast<std::size_t>(end - from));
      if (written < 0) {
        if (errno == EINTR) continue;
        error_ = errno;
        return false;
      }
      from += written;
    }
    return true;
  }

  int fd_;
  std::unique_ptr<char[]> buffer_;
  int error_ = 0;
};

struct DirectoryCloser {
  void operator()(DIR* directory) const { ::closedir(directory); }
};

#endif

}  // namespace

OutputFolder::OutputFolder(std::string name, fs::path resolved, int handle)
    : name_(std::move(name)), resolved_(std::move(resolved)), handle_(handle) {}

OutputFolder::OutputFolder(OutputFolder&& other) noexcept
    : name_(std::move(other.name_)),
      resolved_(std::move(other.resolved_)),
      handle_(std::exchange(other.handle_, -1)),
      staged_(std::move(other.staged_)) {}

void OutputFolder::Write(const std::string& leaf, const InputFiles& reads,
                         const std::function<void(std::ostream&)>& write) const {
  WritePiece(leaf, reads, write, true);
  PutInPlace(leaf);
}

void OutputFolder::Stage(const std::string& leaf, const InputFiles& reads,
                         const std::function<void(std::ostream&)>& write) {
  WritePiece(leaf, reads, write, false);
  const std::lock_guard<std::mutex> lock(stagedMutex_);
  staged_.push_back(leaf);
}

void OutputFolder::Commit() {
  std::vector<std::string> staged;
  {
    const std::lock_guard<std::mutex> lock(stagedMutex_);
    staged.swap(staged_);
  }
  std::size_t placed = 0;
  try {
    SyncFiles();
    for (; placed < staged.size(); ++placed) PutInPlace(staged[placed]);
  } catch (...) {
    for (std::size_t i = placed; i < staged.size(); ++i) RemovePiece(staged[i]);
    throw;
  }
}

#ifndef _WIN32

OutputFolder::OutputFolder(const std::string& name) : name_(name) {
  std::error_code error;
  fs::create_directories(PathOf(name), error);
  if (error) throw OutputFailure("cannot make the folder " + name + ": " + error.message());
  handle_ = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (handle_ < 0) throw OutputFailure("cannot open the folder " + name + ": " + Cause(errno));
  resolved_ = ResolvedFolder(name);
}

OutputFolder::~OutputFolder() {
  for (const std::string& leaf : staged_) RemovePiece(leaf);
  if (handle_ >= 0) ::close(handle_);
}

OutputFolder OutputFolder::Within(const std::string& leaf) const {
  const std::string name = NameOf(PathOf(name_) / PathOf(leaf));
  if (::mkdirat(handle_, leaf.c_str(), kFolderMode) != 0 && errno != EEXIST)
    throw OutputFailure("cannot make the folder " + name + ": " + Cause(errno));
  const int handle =
      ::openat(handle_, leaf.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (handle < 0) {
    const int error = errno;
    struct stat status {};
    const bool link = ::fstatat(handle_, leaf.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
                      S_ISLNK(status.st_mode);
    throw OutputFailure("cannot write into " + name + ": " +
                        (link ? std::string("it is a symbolic link") : Cause(error)));
  }
  return OutputFolder(name, resolved_ / PathOf(leaf), handle);
}

void OutputFolder::WritePiece(const std::string& leaf, const InputFiles& reads,
                              const std::function<void(std::ostream&)>& write, bool sync) const {
  const std::string name = NameOf(PathOf(name_) / PathOf(leaf));
  if (reads.Holds(resolved_ / PathOf(leaf)))
    throw OutputFailure("will not write " + name + ": it is a file this run reads");
  const std::string piece = leaf + std::string(kPieceSuffix);
  // What a failed run left there goes, a link planted there too.
  ::unlinkat(handle_, piece.c_str(), 0);
  Descriptor file(::openat(handle_, piece.c_str(),
                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kFileMode));
  if (file.get() < 0) throw OutputFailure("cannot write " + name + ": " + Cause(errno));
  try {
    DescriptorBuffer buffer(file.get());
    std::ostream out(&buffer);
    write(out);
    out.flush();
    if (!out)
      throw OutputFailure("cannot write " + name +
                          (buffer.error() != 0 ? ": " + Cause(buffer.error()) : std::string()));
    if (sync && ::fsync(file.get()) != 0)
      throw OutputFailure("cannot write " + name + ": " + Cause(errno));
  } catch (...) {
    ::unlinkat(handle_, piece.c_str(), 0);
    throw;
  }
}

void OutputFolder::PutInPlace(const std::string& leaf) const {
  const std::string piece = leaf + std::string(kPieceSuffix);
  if (::renameat(handle_, piece.c_str(), handle_, leaf.c_str()) != 0) {
    const int error = errno;
    ::unlinkat(handle_, piece.c_str(), 0);
    throw OutputFailure("cannot write " + NameOf(PathOf(name_) / PathOf(leaf)) + ": " +
                        Cause(error));
  }
}

void OutputFolder::RemovePiece(const std::string& leaf) const {
  ::unlinkat(handle_, (leaf + std::string(kPieceSuffix)).c_str(), 0);
}

// Every file written on the folder's file system reaches the disk: one
// request for thousands of files.
void OutputFolder::SyncFiles() const {
  if (::syncfs(handle_) != 0)
    throw OutputFailure("cannot write into the folder " + name_ + ": " + Cause(errno));
}

bool OutputFolder::Holds(const std::string& leaf) const {
  struct stat status {};
  return ::fstatat(handle_, leaf.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0;
}

std::vector<std::string> OutputFolder::RemoveOthers(std::string_view suffix,
                                                    const std::set<std::string>& kept) const {
  Descriptor listing(::openat(handle_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  std::unique_ptr<DIR, DirectoryCloser> directory(listing.get() < 0 ? nullptr
                                                                    : ::fdopendir(listing.get()));
  if (!directory) throw OutputFailure("cannot list the folder " + name_ + ": " + Cause(errno));
  listing.release();  // the listing closes it now
  std::vector<std::string> removed;
  while (const dirent* entry = ::readdir(directory.get())) {
    const std::string leaf = entry->d_name;
    if (!Obsolete(leaf, suffix, kept)) continue;
    if (::unlinkat(handle_, leaf.c_str(), 0) != 0)
      throw OutputFailure("cannot remove " + NameOf(PathOf(name_) / PathOf(leaf)) + ": " +
                          Cause(errno));
    removed.push_back(leaf);
  }
  std::sort(removed.begin(), removed.end());
  return removed;
}

void OutputFolder::Sync() const {
  if (::fsync(handle_) != 0)
    throw OutputFailure("cannot write the folder " + name_ + ": " + Cause(errno));
}

#else

// Windows: the same rules on paths. A rename replaces a link rather than
// writing through it; the folder itself needs no sync there.

OutputFolder::OutputFolder(const std::string& name) : name_(name) {
  std::error_code error;
  fs::create_directories(PathOf(name), error);
  if (error) throw OutputFailure("cannot make the folder " + name + ": " + error.message());
  resolved_ = ResolvedFolder(name);
}

OutputFolder::~OutputFolder() {
  for (const std::string& leaf : staged_) RemovePiece(leaf);
}

OutputFolder OutputFolder::Within(const std::string& leaf) const {
  const std::string name = NameOf(PathOf(name_) / PathOf(leaf));
  const fs::path path = PathOf(name);
  std::error_code error;
  fs::create_directory(path, error);
  if (error) throw OutputFailure("cannot make the folder " + name + ": " + error.message());
  const fs::file_status status = fs::symlink_status(path, error);
  if (fs::is_symlink(status))
    throw OutputFailure("cannot write into " + name + ": it is a symbolic link");
  if (!fs::is_directory(status))
    throw OutputFailure("cannot write into " + name + ": it is not a folder");
  return OutputFolder(name, resolved_ / PathOf(leaf), -1);
}

void OutputFolder::WritePiece(const std::string& leaf, const InputFiles& reads,
                              const std::function<void(std::ostream&)>& write, bool) const {
  const std::string name = NameOf(PathOf(name_) / PathOf(leaf));
  if (reads.Holds(resolved_ / PathOf(leaf)))
    throw OutputFailure("will not write " + name + ": it is a file this run reads");
  const fs::path piece = PathOf(name + std::string(kPieceSuffix));
  std::error_code error;
  fs::remove(piece, error);
  try {
    std::ofstream out(piece, std::ios::binary | std::ios::trunc);
    if (!out.is_open()) throw OutputFailure("cannot write " + name + ": " + Cause(errno));
    write(out);
    out.flush();
    if (!out) throw OutputFailure("cannot write " + name);
  } catch (...) {
    fs::remove(piece, error);
    throw;
  }
}

void OutputFolder::PutInPlace(const std::string& leaf) const {
  const std::string name = NameOf(PathOf(name_) / PathOf(leaf));
  const fs::path piece = PathOf(name + std::string(kPieceSuffix));
  std::error_code error;
  fs::rename(piece, PathOf(name), error);
  if (error) {
    std::error_code ignored;
    fs::remove(piece, ignored);
    throw OutputFailure("cannot write " + name + ": " + error.message());
  }
}

void OutputFolder::RemovePiece(const std::string& leaf) const {
  std::error_code ignored;
  fs::remove(PathOf(NameOf(PathOf(name_) / PathOf(leaf)) + std::string(kPieceSuffix)), ignored);
}

// Windows: files are not synced, as Write does not sync them there.
void OutputFolder::SyncFiles() const {}

bool OutputFolder::Holds(const std::string& leaf) const {
  std::error_code error;
  return fs::exists(fs::symlink_status(PathOf(name_) / PathOf(leaf), error));
}

std::vector<std::string> OutputFolder::RemoveOthers(std::string_view suffix,
                                                    const std::set<std::string>& kept) const {
  std::error_code error;
  std::vector<std::string> removed;
  for (const auto& entry : fs::directory_iterator(PathOf(name_), error)) {
    const std::string leaf = NameOf(entry.path().filename());
    if (!Obsolete(leaf, suffix, kept)) continue;
    if (!fs::remove(entry.path(), error) || error)
      throw OutputFailure("cannot remove " + NameOf(entry.path()) + ": " + error.message());
    removed.push_back(leaf);
  }
  if (error) throw OutputFailure("cannot list the folder " + name_ + ": " + error.message());
  std::sort(removed.begin(), removed.end());
  return removed;
}

void OutputFolder::Sync() const {}

#endif

}  // namespace zeltra::organiser
