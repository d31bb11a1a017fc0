#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/host/HostRecords.h"
#include "core/prefill/PrefillList.h"
#include "core/reload/LogQuery.h"
#include "core/scoring/Scorer.h"
#include "core/scoring/Summary.h"

namespace zeltra {

// What the working state asks of the window that owns it.
struct SessionHooks {
  std::function<void()> showDXList;      // the band sync after each recorded contact
  std::function<void()> pumpMessages;    // let the window messages already pending run once
  std::function<void()> summaryChanged;  // the table or the score line was rewritten
};

// The working state the statistics window owns: the scorer with its lists and
// sets, the summary it shows, the log query and the prefill list, and what
// the entry points and the window's handlers do with them. Every operation
// reads the contact from the current-contact record, which the entry point
// has already overwritten with the host's.
class ContestSession {
 public:
  ContestSession(TQSOData& current, PrefillList prefill, std::unique_ptr<LogQuery> logQuery,
                 SessionHooks hooks);

  // The contact's points, or kDuplicate; records nothing.
  std::int32_t GetScore();

  // Records the contact unless it is a duplicate, then rewrites the summary
  // (also for a duplicate); answers as GetScore.
  std::int32_t AddQSO();

  // The exchange the prefill list holds for the current call sign.
  std::string GrabNumber() const;

  // The first showing: writes the headings and executes the recalculation.
  void FormShow();

  // The action RecalcStatistic: runs the recalculation unless one is under
  // way, in which case the action is disabled and does nothing.
  void ExecuteRecalcStatistic();

  // Rebuilds everything from the log and rewrites the summary. A
  // DatabaseError propagates after the action is enabled again.
  void RecalcStatisticExecute();

  // A close request or an end of session asks whether the window may close:
  // the log query is closed. The lists stay until the window is destroyed,
  // so that a recalculation the request interrupted, or a session whose
  // log-off was cancelled, never meets a released list.
  void FormCloseQuery() { logQuery_->Close(); }

  bool RecalcStatisticEnabled() const { return recalcEnabled_; }
  // True while any recalculation, nested ones included, is running.
  bool Recalculating() const { return recalcDepth_ > 0; }

  const Summary& summary() const { return summary_; }
  const Scorer& scorer() const { return scorer_; }

 private:
  TQSOData& current_;
  SessionHooks hooks_;
  Scorer scorer_;
  Summary summary_;
  std::unique_ptr<LogQuery> logQuery_;
  PrefillList prefill_;
  bool recalcEnabled_ = true;
  int recalcDepth_ = 0;
};

}  // namespace zeltra
