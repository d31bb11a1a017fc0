#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "tools/robot/store/Descriptor.h"
#include "tools/robot/store/Sha256.h"

namespace zeltra::robot {

// An upload's bytes as they arrive, in a file of the robot's naming in
// DATA/incoming, hashed on the way. Removed when it goes unless a store
// took it.
class IncomingFile {
 public:
  // Throws StoreFailure.
  explicit IncomingFile(const std::filesystem::path& incoming);
  ~IncomingFile();
  IncomingFile(const IncomingFile&) = delete;
  IncomingFile& operator=(const IncomingFile&) = delete;

  // Throws StoreFailure (a full disk, a file size limit).
  void Append(std::string_view bytes);
  // The hash of all appended; no more may be.
  const std::string& Sha256();

  const std::filesystem::path& path() const { return path_; }
  int descriptor() const { return file_.get(); }
  std::int64_t size() const { return size_; }
  // The store has renamed it: it is no longer this one's to remove.
  void Taken() { taken_ = true; }

 private:
  std::filesystem::path path_;
  Descriptor file_;
  Sha256Hasher hasher_;
  std::string sha256_;
  std::int64_t size_ = 0;
  bool taken_ = false;
};

}  // namespace zeltra::robot
