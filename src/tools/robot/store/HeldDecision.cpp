#include "tools/robot/store/HeldDecision.h"

#include <string>

#include "tools/robot/store/Records.h"
#include "tools/robot/store/StoreFailure.h"

namespace zeltra::robot {

KeptLog DecideHeld(const std::filesystem::path& folder, std::int64_t id, LogState decision) {
  const Records records(folder, Records::Access::kWrite);
  records.Run("BEGIN IMMEDIATE");
  try {
    const std::string select = std::string("SELECT ") + LogColumns() + " FROM logs WHERE id = ?";
    Statement row(records, select.c_str());
    row.Bind(1, id);
    if (!row.Step()) throw StoreFailure("no upload " + std::to_string(id));
    KeptLog log = LogFrom(row);
    if (log.state != LogState::kHeld)
      throw StoreFailure("upload " + std::to_string(id) + " is not held: it is " +
                         StateName(log.state));
    if (decision == LogState::kAccepted) log.replaces = CurrentLogOf(records, log.facts.call);
    Statement update(records,
                     "UPDATE logs SET state = ?, replaces = ?, current_order = CASE WHEN ?1 = "
                     "'accepted' THEN (SELECT coalesce(max(current_order), 0) + 1 FROM logs) "
                     "END WHERE id = ?");
    log.state = decision;
    update.Bind(1, StateName(decision)).Bind(2, log.replaces).Bind(3, id).Done();
    records.Run("COMMIT");
    return log;
  } catch (...) {
    records.Rollback();
    throw;
  }
}

std::vector<KeptLog> RejectAllHeld(const std::filesystem::path& folder, const std::string& call,
                                   const std::string& address) {
  const Records records(folder, Records::Access::kWrite);
  records.Run("BEGIN IMMEDIATE");
  try {
    const std::string where = call.empty() ? "address = ?" : "call = ?";
    const std::string select = std::string("SELECT ") + LogColumns() +
                               " FROM logs WHERE state = 'held' AND " + where + " ORDER BY id";
    Statement rows(records, select.c_str());
    rows.Bind(1, call.empty() ? address : call);
    std::vector<KeptLog> rejected;
    while (rows.Step()) {
      rejected.push_back(LogFrom(rows));
      rejected.back().state = LogState::kRejected;
    }
    const std::string update =
        "UPDATE logs SET state = 'rejected' WHERE state = 'held' AND " + where;
    Statement reject(records, update.c_str());
    reject.Bind(1, call.empty() ? address : call).Done();
    records.Run("COMMIT");
    return rejected;
  } catch (...) {
    records.Rollback();
    throw;
  }
}

}  // namespace zeltra::robot
