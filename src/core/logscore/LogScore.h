#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/logscore/ContactList.h"
#include "core/scoring/BandStatistics.h"
#include "core/scoring/Contact.h"
#include "core/scoring/Summary.h"

namespace zeltra {

// What one contact brought when it was replayed.
struct ContactOutcome {
  std::size_t position;  // its line or record number
  const Contact& contact;
  std::int32_t points;  // or kDuplicate
  bool voivodeship = false;
  bool dxcc = false;
  bool continent = false;
};

class Scorer;

// Tells what each contact a scorer records brings: watches the sizes of its
// three multiplier sets from one contact to the next.
class MultiplierWatch {
 public:
  explicit MultiplierWatch(const Scorer& scorer);
  // The contact the scorer answered points for since the last call.
  ContactOutcome Outcome(std::size_t position, const Contact& contact, std::int32_t points);

 private:
  const Scorer& scorer_;
  std::size_t voivodeships_;
  std::size_t dxccs_;
  std::size_t continents_;
};

// A log's result: the table and score line as the statistics window shows
// them after "Recalc", and the totals behind them.
struct LogScore {
  Summary summary;
  std::int64_t qsos = 0;
  std::int64_t points = 0;
  std::int64_t voivodeships = 0;
  std::int64_t dxccs = 0;
  std::int64_t continents = 0;
  std::int64_t Multipliers() const { return voivodeships + dxccs + continents; }
  std::int64_t Score() const { return points * Multipliers(); }
};

// The result of the statistics a scorer built.
LogScore ScoreOf(const BandStatistics& statistics);

// Replays the contacts in order through the plug-in's scorer for the own
// station; each tells what it brought.
LogScore ReplayContacts(const ContactList& contacts, const std::vector<std::uint32_t>& order,
                        const OwnStation& own,
                        const std::function<void(const ContactOutcome&)>& each = {});
// The same for a replay by call sign, told duplicates call sign by call
// sign rather than through an index of the whole log.
LogScore ReplayContacts(const ContactList& contacts, const CallSignOrder& order,
                        const OwnStation& own,
                        const std::function<void(const ContactOutcome&)>& each = {});

}  // namespace zeltra
