#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tools/robot/store/KeptLog.h"
#include "tools/robot/store/MailQueue.h"
#include "tools/robot/store/Records.h"

namespace zeltra::robot {

// The robot's records read, never changed: for its pages while it serves,
// and for the organiser's commands beside it. Each answer is one query,
// so one consistent moment of the records; a log a record names is always
// on disk whole.
class StoreReader {
 public:
  // Throws StoreFailure: no records there, or records of an older robot.
  explicit StoreReader(const std::filesystem::path& folder);

  // A number that changes whenever the records have changed since it was
  // last asked (SQLite's data_version).
  std::int64_t Version() const;
  // The current log of each call, by call.
  std::vector<KeptLog> Current() const;
  // The uploads held for the organiser, oldest first.
  std::vector<KeptLog> Held() const;
  // Every version of a call, oldest first.
  std::vector<KeptLog> Versions(const std::string& call) const;
  // The mails not sent, waiting or given up, oldest first.
  std::vector<UnsentMail> Unsent() const;
  // Every attempt, oldest first, each handed on as it is read.
  void EachAttempt(const std::function<void(const Attempt&)>& take) const;

  std::filesystem::path FileOf(std::int64_t id) const;

 private:
  std::vector<KeptLog> Logs(const std::string& where, const std::string* call) const;

  std::filesystem::path folder_;
  Records records_;
};

}  // namespace zeltra::robot
