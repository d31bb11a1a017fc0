#pragma once

#include <filesystem>

namespace zeltra::robot {

// The steps that put a log on disk for good, apart from writing its bytes:
// a store takes them from here, so that the order it takes them in can be
// seen. Each throws StoreFailure.
class Disk {
 public:
  virtual ~Disk() = default;
  // The file open as descriptor (at path) to the disk.
  virtual void Sync(int descriptor, const std::filesystem::path& path) = 0;
  virtual void Rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
  // A folder's names (a rename into it) to the disk.
  virtual void SyncFolder(const std::filesystem::path& folder) = 0;
};

// The system's own disk.
class SystemDisk : public Disk {
 public:
  void Sync(int descriptor, const std::filesystem::path& path) override;
  void Rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
  void SyncFolder(const std::filesystem::path& folder) override;
};

// One for every store that is given none.
Disk& TheSystemDisk();

}  // namespace zeltra::robot
