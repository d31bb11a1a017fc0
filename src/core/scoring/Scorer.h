#pragma once

#include <cstdint>
#include <string_view>

#include "core/scoring/BandStatistics.h"
#include "core/scoring/Contact.h"
#include "core/scoring/ContactIndex.h"
#include "core/scoring/ContestRules.h"
#include "core/scoring/StringSet.h"

namespace zeltra {

// The answer for a contact already recorded on the same band and mode.
inline constexpr std::int32_t kDuplicate = -1;

// How a voivodeship letter stands on a band, as the recorded contacts say.
enum class LetterState {
  kNothingRecorded,  // no voivodeship recorded yet on any band
  kNotWorked,
  kWorked,
};

// Scores the contacts it is given and keeps what recording them builds: the
// contact index, the per-band statistics and the three multiplier sets.
class Scorer {
 public:
  // kDuplicate for a duplicate of a recorded contact, otherwise the
  // contact's points for the own station. Records nothing.
  std::int32_t Preview(const Contact& contact, const OwnStation& own) const;

  // As Preview; a contact that is no duplicate is recorded: added to the
  // index, its band's statistic and the multiplier sets.
  std::int32_t Record(const Contact& contact, const OwnStation& own);

  // Records a contact its caller has found to be no duplicate: its band's
  // statistic and the multiplier sets, as Record would. The index is left
  // alone, so IsDuplicate and contacts() do not know the contact; for a
  // replay that tells duplicates itself.
  std::int32_t RecordKnownNew(const Contact& contact, const OwnStation& own);

  bool IsDuplicate(const Contact& contact) const;

  // Whether letter is worked on the band with this text (see BandKey for the
  // rule): the voivodeship keys in the order they were recorded, the first
  // that holds band|letter| deciding.
  LetterState StateOfLetter(std::string_view band, char letter) const;

  // Empties the index, the statistics and the multiplier sets.
  void Clear();
  // Makes room for this many contacts.
  void Reserve(std::size_t contacts) { contacts_.Reserve(contacts); }

  const ContactIndex& contacts() const { return contacts_; }
  const BandStatistics& statistics() const { return statistics_; }
  const StringSet& voivodeships() const { return voivodeships_; }
  const StringSet& dxccs() const { return dxccs_; }
  const StringSet& continents() const { return continents_; }

 private:
  void CountMultipliers(const Contact& contact, BandStatistic& statistic);

  ContactIndex contacts_;
  BandStatistics statistics_;
  StringSet voivodeships_;
  StringSet dxccs_;
  StringSet continents_;
};

}  // namespace zeltra
