#include "organiser/files/OutputFile.h"

#include <cerrno>
#include <fstream>
#include <system_error>

#include "organiser/files/FileNames.h"

namespace zeltra::organiser {
namespace {

namespace fs = std::filesystem;

// The path as the system finds it: links followed, ".." resolved; as given
// when even that cannot be told.
fs::path Resolved(const fs::path& path) {
  std::error_code error;
  fs::path resolved = fs::weakly_canonical(path, error);
  return error ? path : resolved;
}

void Write(const fs::path& path, const std::string& name, std::ios::openmode mode,
           const std::function<void(std::ostream&)>& write) {
  std::ofstream out(path, std::ios::binary | mode);
  if (!out.is_open())
    throw OutputFailure("cannot write " + name + ": " + std::generic_category().message(errno));
  write(out);
  out.flush();
  if (!out) throw OutputFailure("cannot write " + name);
}

// WriteFile of a path already resolved.
void WriteResolved(const fs::path& target, const std::string& path, const InputFiles& reads,
                   const std::function<void(std::ostream&)>& write) {
  if (reads.Holds(target))
    throw OutputFailure("will not write " + path + ": it is a file this run reads");
  std::error_code error;
  const fs::file_status status = fs::status(target, error);
  if (fs::is_directory(status)) throw OutputFailure("cannot write " + path + ": it is a folder");
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    // A FIFO, a terminal or /dev/null takes the text as it comes.
    Write(target, path, std::ios::out, write);
    return;
  }
  const fs::path partial = PathOf(NameOf(target) + ".part");
  try {
    Write(partial, path, std::ios::trunc, write);
  } catch (...) {
    fs::remove(partial, error);
    throw;
  }
  fs::rename(partial, target, error);
  if (error) {
    std::error_code ignored;
    fs::remove(partial, ignored);
    throw OutputFailure("cannot write " + path + ": " + error.message());
  }
}

}  // namespace

void InputFiles::Add(const std::string& name) {
  files_.insert(Resolved(PathOf(name)));
}

bool InputFiles::Holds(const fs::path& resolved) const {
  return files_.count(resolved) > 0;
}

void WriteWholeFile(const std::string& path, const std::string& text, const InputFiles& reads) {
  WriteFile(path, reads, [&](std::ostream& out) { out << text; });
}

void WriteOutput(const std::string& name, std::ostream& out, const InputFiles& reads,
                 const std::function<void(std::ostream&)>& write) {
  if (name == kStandardOutput)
    write(out);
  else
    WriteFile(name, reads, write);
}

fs::path ResolvedFolder(const std::string& name) {
  return Resolved(PathOf(name));
}

void WriteFile(const std::string& path, const InputFiles& reads,
               const std::function<void(std::ostream&)>& write) {
  WriteResolved(Resolved(PathOf(path)), path, reads, write);
}

}  // namespace zeltra::organiser
