#include "tools/robot/store/StoreReader.h"

#include "tools/robot/store/UploadStore.h"

namespace zeltra::robot {

StoreReader::StoreReader(const std::filesystem::path& folder)
    : folder_(folder), records_(folder, Records::Access::kRead) {}

std::vector<KeptLog> StoreReader::Logs(const std::string& where, const std::string* call) const {
  const std::string sql = std::string("SELECT ") + LogColumns() + " FROM logs WHERE " + where;
  Statement rows(records_, sql.c_str());
  if (call != nullptr) rows.Bind(1, *call);
  std::vector<KeptLog> logs;
  while (rows.Step()) logs.push_back(LogFrom(rows));
  return logs;
}

std::int64_t StoreReader::Version() const {
  Statement version(records_, "PRAGMA data_version");
  return version.Step() ? version.Number(0) : 0;
}

std::vector<KeptLog> StoreReader::Current() const {
  return Logs(
      "current_order IN (SELECT max(current_order) FROM logs WHERE state = 'accepted' GROUP BY "
      "call) ORDER BY call",
      nullptr);
}

std::vector<UnsentMail> StoreReader::Unsent() const {
  return UnsentMails(records_);
}

std::vector<KeptLog> StoreReader::Held() const {
  return Logs("state = 'held' ORDER BY id", nullptr);
}

std::vector<KeptLog> StoreReader::Versions(const std::string& call) const {
  return Logs("call = ? ORDER BY id", &call);
}

void StoreReader::EachAttempt(const std::function<void(const Attempt&)>& take) const {
  Statement rows(records_,
                 "SELECT id, time, address, bytes, sha256, call, outcome, status, reason, log, "
                 "count FROM attempts ORDER BY id");
  while (rows.Step()) {
    const std::string outcome = rows.Text(6);
    Attempt attempt;
    attempt.id = rows.Number(0);
    attempt.time = rows.Text(1);
    attempt.address = rows.Text(2);
    attempt.bytes = rows.Number(3);
    attempt.sha256 = rows.Text(4);
    attempt.call = rows.Text(5);
    attempt.outcome = outcome == "accepted" ? Outcome::kAccepted
                      : outcome == "held"   ? Outcome::kHeld
                                            : Outcome::kRefused;
    attempt.status = static_cast<int>(rows.Number(7));
    attempt.reason = rows.Text(8);
    attempt.log = rows.MaybeNumber(9);
    attempt.count = rows.Number(10);
    take(attempt);
  }
}

std::filesystem::path StoreReader::FileOf(std::int64_t id) const {
  return LogFileIn(folder_, id);
}

}  // namespace zeltra::robot
