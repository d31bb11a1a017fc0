#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "organiser/files/OutputFile.h"

namespace zeltra::organiser {

// A folder that a run fills with many files (a site's pages), held open
// while it writes. Each file is written whole beside its place, synced to
// the disk and renamed into place, so that a reader sees the old file or
// the new one and a crash leaves one of them. Nothing already in the
// folder is followed: a symbolic link planted where a file goes is
// replaced by the file, a link where a folder goes is refused, so no file
// outside the folder is ever written. Every failure throws OutputFailure
// naming the file. Files may be written from several threads at once.
class OutputFolder {
 public:
  // The folder as named (a link naming it is followed: the caller chose
  // it), made with its parents when missing.
  explicit OutputFolder(const std::string& name);
  ~OutputFolder();
  OutputFolder(OutputFolder&& other) noexcept;
  OutputFolder& operator=(OutputFolder&&) = delete;
  OutputFolder(const OutputFolder&) = delete;
  OutputFolder& operator=(const OutputFolder&) = delete;

  // A folder within this one ("entrants"), made when missing.
  OutputFolder Within(const std::string& leaf) const;

  // Writes the file leaf as write makes it; a file the run reads is not
  // written over.
  void Write(const std::string& leaf, const InputFiles& reads,
             const std::function<void(std::ostream&)>& write) const;

  // Writes the file leaf beside its place, to be put in place by Commit:
  // a run of thousands of files has them synced to the disk at once, not
  // one by one. A file the run reads is not written over.
  void Stage(const std::string& leaf, const InputFiles& reads,
             const std::function<void(std::ostream&)>& write);

  // Syncs every file staged and renames each into place, in the order
  // staged; on a failure the files not yet in place are removed and the
  // failure thrown.
  void Commit();

  // Whether the folder holds an entry of this name (of any kind).
  bool Holds(const std::string& leaf) const;

  // Removes the files whose names end in suffix and are not kept (pages a
  // run no longer makes), and pieces a failed run left ("NAME.part");
  // other files are left alone. The names removed, in name order.
  std::vector<std::string> RemoveOthers(std::string_view suffix,
                                        const std::set<std::string>& kept) const;

  // Makes the folder's own changes (files renamed into it, removed) as
  // lasting as the files.
  void Sync() const;

  // The folder's name, as the messages show it.
  const std::string& Name() const { return name_; }

 private:
  OutputFolder(std::string name, std::filesystem::path resolved, int handle);
  // Writes the file beside its place ("NAME.part"), synced when asked.
  void WritePiece(const std::string& leaf, const InputFiles& reads,
                  const std::function<void(std::ostream&)>& write, bool sync) const;
  // Renames the file written beside its place into it.
  void PutInPlace(const std::string& leaf) const;
  void RemovePiece(const std::string& leaf) const;
  void SyncFiles() const;

  std::string name_;
  std::filesystem::path resolved_;  // links followed, for comparing with the inputs
  int handle_ = -1;                 // the open folder, where the system has one
  std::mutex stagedMutex_;
  std::vector<std::string> staged_;  // written beside their places, in order
};

}  // namespace zeltra::organiser
