#include "core/scoring/Scorer.h"

#include <string>

namespace zeltra {
namespace {

ContactKey KeyOf(const Contact& contact) {
  return {contact.callSign, contact.band, contact.mode};
}

}  // namespace

bool Scorer::IsDuplicate(const Contact& contact) const {
  return contacts_.Contains(KeyOf(contact));
}

std::int32_t Scorer::Preview(const Contact& contact, const OwnStation& own) const {
  if (IsDuplicate(contact)) return kDuplicate;
  return PointsFor(contact.dxccPrefix, contact.continent, own.dxccPrefix, own.continent);
}

std::int32_t Scorer::Record(const Contact& contact, const OwnStation& own) {
  // The index tells a duplicate as it adds: one look-up, not two.
  if (!contacts_.Add(KeyOf(contact))) return kDuplicate;
  return RecordKnownNew(contact, own);
}

std::int32_t Scorer::RecordKnownNew(const Contact& contact, const OwnStation& own) {
  const std::int32_t points =
      PointsFor(contact.dxccPrefix, contact.continent, own.dxccPrefix, own.continent);
  BandStatistic& statistic = statistics_.FindOrAdd(contact.band);
  statistic.qsos += 1;
  statistic.points += points;
  CountMultipliers(contact, statistic);
  return points;
}

void Scorer::CountMultipliers(const Contact& contact, BandStatistic& statistic) {
  if (const auto letter = VoivodeshipLetterOf(contact.reportReceived)) {
    if (voivodeships_.Add(BandKey(contact.band, std::string_view(&*letter, 1))))
      ++statistic.voivodeships;
  }
  if (dxccs_.Add(BandKey(contact.band, contact.dxccPrefix))) ++statistic.dxccs;
  if (continents_.Add(contact.continent)) ++statistic.continents;
}

LetterState Scorer::StateOfLetter(std::string_view band, char letter) const {
  const std::string search = BandKey(band, std::string_view(&letter, 1));
  LetterState state = LetterState::kNothingRecorded;
  for (const std::string& key : voivodeships_.items()) {
    if (key.find(search) != std::string::npos) return LetterState::kWorked;
    state = LetterState::kNotWorked;
  }
  return state;
}

void Scorer::Clear() {
  contacts_.Clear();
  statistics_.Clear();
  voivodeships_.Clear();
  dxccs_.Clear();
  continents_.Clear();
}

}  // namespace zeltra
