#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/prefill/PrefillList.h"
#include "core/reload/LogQuery.h"
#include "core/scoring/Contact.h"
#include "core/scoring/ContestRules.h"
#include "core/scoring/Scorer.h"
#include "core/scoring/Summary.h"

namespace zeltra {

// What a recalculation takes from the last record the host passed.
struct LogSource {
  std::string tableName;
  OwnStation station;
  // The band of the host's last contact: the band the voivodeship window
  // follows after a recalculation that records no contact.
  std::string band;
};

// What the session tells, and asks of, the window that owns it.
struct SessionEvents {
  // Lets the window messages already pending run once.
  std::function<void()> pumpMessages;
  // The table or the score line was rewritten.
  std::function<void()> summaryChanged;
  // The band, by number, that the voivodeship window follows: raised for
  // each recorded contact on one of the contest's bands, and once at the end
  // of a recalculation, for the last such band it saw.
  std::function<void(const Band& band)> bandToShow;
};

// The working state the statistics window owns: the scorer with its lists and
// sets, the summary it shows, the log query and the prefill list, and what
// the entry points and the window's handlers do with them. Contacts come in
// as values; nothing here holds the host's record.
//
// A recalculation lets pending window messages run at two points (before it
// starts, and once the log query is open), so an entry point or a click may
// run inside it: see "How a recalculation stays safe" in the README.
class ContestSession {
 public:
  // logSource: asked once per recalculation, after the first pump point.
  ContestSession(PrefillList prefill, std::unique_ptr<LogQuery> logQuery,
                 std::function<LogSource()> logSource, SessionEvents events);

  // The contact's points, or kDuplicate; records nothing.
  std::int32_t GetScore(const Contact& contact, const OwnStation& own) const;

  // Records the contact unless it is a duplicate, then rewrites the summary
  // (also for a duplicate); answers as GetScore.
  std::int32_t AddQSO(const Contact& contact, const OwnStation& own);

  // The exchange the prefill list holds for the call sign.
  std::string GrabNumber(std::string_view callSign) const;

  // The first showing: writes the headings, then recalculates.
  void ShowFirstTime();

  // "Recalc": recalculates unless a recalculation is under way, in which
  // case the action is disabled and does nothing.
  void RecalculateUnlessRunning();

  // Rebuilds everything from the log and rewrites the summary. A
  // DatabaseError propagates after the action is enabled again.
  void Recalculate();

  // A close request or an end of session asks whether the window may close:
  // the log query is closed. The lists stay until the window is destroyed,
  // so that a recalculation the request interrupted, or a session whose
  // log-off was cancelled, never meets a released list.
  void CloseLogQuery() { logQuery_->Close(); }

  bool RecalculateEnabled() const { return recalculateEnabled_; }
  // True while any recalculation, nested ones included, is running.
  bool Recalculating() const { return recalculationDepth_ > 0; }

  const Summary& summary() const { return summary_; }
  const Scorer& scorer() const { return scorer_; }

 private:
  void RebuildFromLog();
  void EndRecalculation();
  // The voivodeship window follows band; inside a recalculation, only the
  // last band counts, shown when the outermost one ends.
  void FollowBand(std::string_view band);

  SessionEvents events_;
  std::function<LogSource()> logSource_;
  Scorer scorer_;
  Summary summary_;
  std::unique_ptr<LogQuery> logQuery_;
  PrefillList prefill_;
  bool recalculateEnabled_ = true;
  int recalculationDepth_ = 0;
  std::optional<Band> bandAtEnd_;
};

}  // namespace zeltra
