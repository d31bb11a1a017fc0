#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "tools/robot/store/DataLock.h"
#include "tools/robot/store/Disk.h"
#include "tools/robot/store/IncomingFile.h"
#include "tools/robot/store/KeptLog.h"
#include "tools/robot/store/Mail.h"
#include "tools/robot/store/MailQueue.h"
#include "tools/robot/store/QuotaReached.h"
#include "tools/robot/store/Records.h"
#include "tools/robot/store/StoreFailure.h"

namespace zeltra::robot {

// Who sent an upload: the client's address, the key it gave, if any, and
// the address the log names for its receipt, if any.
struct Sender {
  std::string address;
  std::optional<std::string> key;
  std::optional<std::string> email;
};

// The mails a kept log sends (its receipt; for a held one, a word to the
// call's current sender too), made from its receipt and the current log's
// address. Called inside the transaction that keeps the log, so the mails
// are queued with it or not at all (or not past the store's MailCaps).
using ReceiptMails =
    std::function<std::vector<Mail>(const Receipt& receipt, const std::optional<std::string>&)>;

// The robot's data folder as the serving robot keeps it: every version of
// every log taken, byte for byte, named by the robot (logs/ID), and their
// records (robot.sqlite); and every attempt, refused ones too.
//
// A log is kept whole or not at all: its bytes are synced before its
// record commits, and named logs/ID (that folder synced) inside the
// transaction that records it. Only one store at a time holds a folder
// (DataLock): it alone removes what a killed run left half made, when it
// opens.
//
// A call's first log is accepted. A later one replaces it only when sent
// with the key of one of the call's accepted versions; without it, it is
// held for the organiser and the call's current log stays.
class UploadStore {
 public:
  // Throws StoreFailure: another robot holds the folder, or it cannot be
  // made, written or read.
  explicit UploadStore(const std::filesystem::path& folder, Disk& disk = TheSystemDisk(),
                       const MailCaps& caps = {}, const StoreQuotas& quotas = {});

  // Where pieces of uploads arrive (IncomingFile).
  std::filesystem::path IncomingFolder() const { return folder_ / "incoming"; }

  // Keeps a piece, its bytes complete, as a version of facts.call; answers
  // only once its bytes and its record are on disk. Throws StoreFailure;
  // QuotaReached when it would be held past a quota, or the logs' bytes
  // would pass theirs.
  Receipt Keep(IncomingFile& piece, const LogFacts& facts, const Sender& sender,
               const ReceiptMails& mails = {});
  // The same for bytes at hand.
  Receipt Keep(std::string_view bytes, const LogFacts& facts, const Sender& sender = {},
               const ReceiptMails& mails = {});

  // Records an upload refused; answers its record's number. Throws
  // StoreFailure.
  std::int64_t Record(const Attempt& refused);
  // The record stands for more refusals than it did.
  void CountAgain(std::int64_t attempt, std::int64_t more);

  const std::filesystem::path& folder() const { return folder_; }

 private:
  void RemoveLeftovers() const;

  std::filesystem::path folder_;
  Disk& disk_;
  MailCaps caps_;
  StoreQuotas quotas_;
  DataLock lock_;
  Records records_;
  std::mutex mutex_;
};

// Where a version's bytes are.
std::filesystem::path LogFileIn(const std::filesystem::path& folder, std::int64_t id);

}  // namespace zeltra::robot
