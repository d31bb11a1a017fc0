#include "tools/robot/store/UploadStore.h"

#include <sqlite3.h>

#include <ctime>
#include <set>

#include "tools/robot/store/MailQueue.h"
#include "tools/robot/store/UploadKey.h"
#include "tools/robot/store/UtcNow.h"

namespace zeltra::robot {
namespace {

namespace fs = std::filesystem;

constexpr int kAcceptedStatus = 200;
constexpr int kHeldStatus = 202;
constexpr std::size_t kLongestEmail = 254;

// Makes DATA and its two folders before the lock is taken in it.
const fs::path& MadeFolder(const fs::path& folder) {
  std::error_code error;
  fs::create_directories(folder / "logs", error);
  if (!error) fs::create_directories(folder / "incoming", error);
  if (error) throw StoreFailure("cannot make " + folder.string() + ": " + error.message());
  return folder;
}

std::int64_t InsertAttempt(const Records& records, const Attempt& attempt) {
  Statement insert(records,
                   "INSERT INTO attempts (time, address, bytes, sha256, call, outcome, status, "
                   "reason, log, count) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  insert.Bind(1, attempt.time)
      .Bind(2, KeptText(attempt.address))
      .Bind(3, attempt.bytes)
      .Bind(4, attempt.sha256)
      .Bind(5, KeptText(attempt.call))
      .Bind(6, OutcomeName(attempt.outcome))
      .Bind(7, static_cast<std::int64_t>(attempt.status))
      .Bind(8, KeptText(attempt.reason))
      .Bind(9, attempt.log)
      .Bind(10, attempt.count)
      .Done();
  return sqlite3_last_insert_rowid(records.get());
}

// The key was given to one of the call's accepted versions.
bool KeyOpens(const Records& records, const std::string& call,
              const std::optional<std::string>& key) {
  if (!key || key->empty()) return false;
  Statement match(records,
                  "SELECT 1 FROM logs WHERE call = ? AND state = 'accepted' AND key_hash = ?");
  match.Bind(1, call).Bind(2, KeyHash(*key));
  return match.Step();
}

// The address a log named for its receipt.
std::optional<std::string> EmailOf(const Records& records, const std::optional<std::int64_t>& log) {
  if (!log) return std::nullopt;
  Statement email(records, "SELECT email FROM logs WHERE id = ?");
  email.Bind(1, *log);
  return email.Step() ? email.MaybeText(0) : std::nullopt;
}

std::int64_t CountOf(const Records& records, const char* sql, const std::string& value) {
  Statement count(records, sql);
  if (!value.empty()) count.Bind(1, value);
  return count.Step() ? count.Number(0) : 0;
}

// A held upload within the quotas of its call and its address; any log
// within the bytes of the logs not rejected.
void CheckQuotas(const Records& records, const StoreQuotas& quotas, const KeptLog& kept) {
  const std::string& call = kept.facts.call;
  if (kept.state == LogState::kHeld) {
    if (CountOf(records, "SELECT count(*) FROM logs WHERE state = 'held' AND call = ?", call) >=
        static_cast<std::int64_t>(quotas.heldPerCall))
      throw QuotaReached("uploads held for " + call + " are at their quota (" +
                             std::to_string(quotas.heldPerCall) +
                             "): see zeltra-robot held, and reject --all-held " + call,
                         "the robot holds as many uploads for " + call +
                             " as it may until the organiser decides on them: send the log "
                             "with its key, or write to the organiser");
    if (CountOf(records, "SELECT count(*) FROM logs WHERE state = 'held' AND address = ?",
                kept.address) >= static_cast<std::int64_t>(quotas.heldPerAddress))
      throw QuotaReached("uploads held from " + kept.address + " are at their quota (" +
                             std::to_string(quotas.heldPerAddress) +
                             "): see zeltra-robot held, and reject --all-held-from " + kept.address,
                         "the robot holds as many uploads from your address as it may until "
                         "the organiser decides on them: write to the organiser");
  }
  const std::int64_t bytes =
      CountOf(records, "SELECT coalesce(sum(bytes), 0) FROM logs WHERE state != 'rejected'", "");
  if (static_cast<std::uint64_t>(bytes + kept.bytes) > quotas.dataBytes)
    throw QuotaReached("the logs kept are at the data folder's quota (" +
                           std::to_string(quotas.dataBytes) +
                           " bytes, --max-data): no upload is kept until it is raised or held "
                           "uploads are rejected",
                       "the robot cannot keep more logs just now; write to the organiser");
}

}  // namespace

fs::path LogFileIn(const fs::path& folder, std::int64_t id) {
  return folder / "logs" / std::to_string(id);
}

UploadStore::UploadStore(const fs::path& folder, Disk& disk, const MailCaps& caps,
                         const StoreQuotas& quotas)
    : folder_(MadeFolder(folder)),
      disk_(disk),
      caps_(caps),
      quotas_(quotas),
      lock_(folder_),
      records_(folder_, Records::Access::kWrite) {
  RemoveLeftovers();
  ForgetKeysInMails(records_);
}

// Pieces of uploads a killed run left half made, and logs whose record was
// never committed.
void UploadStore::RemoveLeftovers() const {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder_ / "incoming", error))
    fs::remove(entry.path(), error);
  std::set<std::string> recorded;
  Statement ids(records_, "SELECT id FROM logs");
  while (ids.Step()) recorded.insert(std::to_string(ids.Number(0)));
  for (const auto& entry : fs::directory_iterator(folder_ / "logs", error))
    if (recorded.count(entry.path().filename().string()) == 0) fs::remove(entry.path(), error);
}

Receipt UploadStore::Keep(std::string_view bytes, const LogFacts& facts, const Sender& sender,
                          const ReceiptMails& mails) {
  IncomingFile piece(IncomingFolder());
  piece.Append(bytes);
  return Keep(piece, facts, sender, mails);
}

Receipt UploadStore::Keep(IncomingFile& piece, const LogFacts& facts, const Sender& sender,
                          const ReceiptMails& mails) {
  std::lock_guard lock(mutex_);
  Receipt receipt;
  KeptLog& kept = receipt.log;
  kept.facts = facts;
  kept.received = UtcNow();
  kept.bytes = piece.size();
  kept.address = sender.address;
  try {
    disk_.Sync(piece.descriptor(), piece.path());
    records_.Run("BEGIN IMMEDIATE");
    receipt.current = CurrentLogOf(records_, facts.call);
    const bool accepted = !receipt.current || KeyOpens(records_, facts.call, sender.key);
    kept.state = accepted ? LogState::kAccepted : LogState::kHeld;
    CheckQuotas(records_, quotas_, kept);
    if (accepted) std::swap(kept.replaces, receipt.current);
    receipt.key = NewKey();
    Statement insert(records_,
                     "INSERT INTO logs (call, categories, qsos, claimed, score, sha256, received, "
                     "replaces, state, current_order, key_hash, bytes, address, email) VALUES (?, "
                     "?, ?, ?, ?, ?, ?, ?, ?, CASE WHEN ?9 = 'accepted' THEN (SELECT "
                     "coalesce(max(current_order), 0) + 1 FROM logs) END, ?, ?, ?, ?)");
    insert.Bind(1, facts.call).Bind(2, KeptText(facts.categories)).Bind(3, facts.qsos);
    if (facts.claimed) insert.Bind(4, KeptText(*facts.claimed));
    insert.Bind(5, facts.score).Bind(6, facts.sha256).Bind(7, kept.received).Bind(8, kept.replaces);
    insert.Bind(9, StateName(kept.state)).Bind(10, KeyHash(receipt.key)).Bind(11, kept.bytes);
    insert.Bind(12, kept.address);
    // An address longer than any is none: the records keep no more.
    if (sender.email && sender.email->size() <= kLongestEmail) insert.Bind(13, *sender.email);
    insert.Done();
    kept.id = sqlite3_last_insert_rowid(records_.get());
    if (mails) {
      const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
      for (const Mail& mail : mails(receipt, EmailOf(records_, receipt.current))) {
        const bool queued = QueueMail(records_, mail, kept.id, now, caps_);
        if (queued && mail.kind == MailKind::kReceipt) receipt.keyMailed = true;
        if (!queued) receipt.mailsCapped.push_back(mail.recipient);
      }
    }
    Attempt attempt;
    attempt.time = kept.received;
    attempt.address = sender.address;
    attempt.bytes = kept.bytes;
    attempt.sha256 = facts.sha256;
    attempt.call = facts.call;
    attempt.outcome = accepted ? Outcome::kAccepted : Outcome::kHeld;
    attempt.status = accepted ? kAcceptedStatus : kHeldStatus;
    attempt.log = kept.id;
    InsertAttempt(records_, attempt);
    // The bytes under their name before the record that names them.
    disk_.Rename(piece.path(), LogFileIn(folder_, kept.id));
    piece.Taken();
    disk_.SyncFolder(folder_ / "logs");
    records_.Run("COMMIT");
  } catch (...) {
    // Nothing of the log stays: not its record (a ROLLBACK with none
    // begun is refused, harmlessly), nor its piece (the piece's own), nor
    // its file.
    records_.Rollback();
    std::error_code ignored;
    if (kept.id != 0) fs::remove(LogFileIn(folder_, kept.id), ignored);
    throw;
  }
  return receipt;
}

std::int64_t UploadStore::Record(const Attempt& refused) {
  std::lock_guard lock(mutex_);
  return InsertAttempt(records_, refused);
}

void UploadStore::CountAgain(std::int64_t attempt, std::int64_t more) {
  std::lock_guard lock(mutex_);
  Statement again(records_, "UPDATE attempts SET count = count + ? WHERE id = ?");
  again.Bind(1, more).Bind(2, attempt).Done();
}

}  // namespace zeltra::robot
