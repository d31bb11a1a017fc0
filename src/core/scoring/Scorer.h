#pragma once

#include <cstdint>
#include <functional>

#include "core/host/HostRecords.h"
#include "core/scoring/QsoList.h"
#include "core/scoring/Statistic.h"
#include "core/scoring/StringSet.h"

namespace zeltra {

// Result of ScoreQSO for a contact already recorded on the same band and mode.
inline constexpr std::int32_t kDuplicate = -1;

// Points of a contact with the operator's own country, with another station on
// the operator's own continent, and with another continent.
inline constexpr std::int32_t kOwnCountryPoints = 2;
inline constexpr std::int32_t kOwnContinentPoints = 5;
inline constexpr std::int32_t kOtherContinentPoints = 10;

// Scores contacts and keeps what recording them builds: the contact list, the
// per-band statistics and the three multiplier sets. It reads each contact
// from the plug-in's current-contact record.
class Scorer {
 public:
  // bandSync runs after every recorded contact (the band sync of the
  // voivodeship window); it may be empty.
  Scorer(const TQSOData& current, std::function<void()> bandSync);

  // kDuplicate for a duplicate of a recorded contact, otherwise the points.
  // With record on, a new contact is added to the list, the statistics and
  // the multiplier sets; with record off nothing changes.
  std::int32_t ScoreQSO(bool record);

  bool CheckDupe() const;

  // Empties the contact list, the statistics and the multiplier sets.
  void Clear();

  const QSOList& Contacts() const { return qsoList_; }
  const StatList& Statistics() const { return statList_; }
  const StringSet& VoivList() const { return voivList_; }
  const StringSet& DXCCList() const { return dxccList_; }
  const StringSet& ContinentList() const { return continentList_; }

 private:
  TQSO CurrentContact() const;
  std::int32_t Points() const;
  void AddToQSOList();
  void CountMultipliers(TStatistic& statistic);

  const TQSOData& current_;
  std::function<void()> bandSync_;
  QSOList qsoList_;
  StatList statList_;
  StringSet voivList_;
  StringSet dxccList_;
  StringSet continentList_;
};

}  // namespace zeltra
