#include "core/scoring/Scorer.h"

#include <optional>
#include <string_view>

#include "core/scoring/VoivodeshipLetters.h"
#include "core/text/Ascii.h"

namespace zeltra {
namespace {

// The voivodeship letter a report carries: the last character of the
// upper-cased, trimmed report, when it is one of the sixteen letters.
std::optional<char> VoivodeshipLetter(std::string_view report) {
  const std::string_view trimmed = TrimControlAndBlank(report);
  if (trimmed.empty()) return std::nullopt;
  const char last = AsciiUpper(trimmed.back());
  if (!IsVoivodeshipLetter(last)) return std::nullopt;
  return last;
}

std::string BandKey(std::string_view band, std::string_view item) {
  std::string key(band);
  key += '|';
  key += item;
  key += '|';
  return key;
}

}  // namespace

Scorer::Scorer(const TQSOData& current, std::function<void()> bandSync)
    : current_(current), bandSync_(std::move(bandSync)) {}

TQSO Scorer::CurrentContact() const {
  return {current_.CallSign.view(), current_.Band.view(), current_.Mode.view()};
}

bool Scorer::CheckDupe() const {
  return qsoList_.Contains(CurrentContact());
}

void Scorer::AddToQSOList() {
  qsoList_.Add(CurrentContact());
}

std::int32_t Scorer::Points() const {
  if (EqualsIgnoringAsciiCase(current_.DXCCPrefix.view(), current_.MyDXCCPrefix.view()))
    return kOwnCountryPoints;
  if (EqualsIgnoringAsciiCase(current_.Continent.view(), current_.MyContinent.view()))
    return kOwnContinentPoints;
  return kOtherContinentPoints;
}

void Scorer::CountMultipliers(TStatistic& statistic) {
  const std::string_view band = current_.Band.view();
  if (const auto letter = VoivodeshipLetter(current_.ReportReceived.view())) {
    if (voivList_.Add(BandKey(band, std::string_view(&*letter, 1)))) ++statistic.Voivodeships;
  }
  if (dxccList_.Add(BandKey(band, current_.DXCCPrefix.view()))) ++statistic.DXCCs;
  if (continentList_.Add(current_.Continent.view())) ++statistic.Continents;
}

std::int32_t Scorer::ScoreQSO(bool record) {
  if (CheckDupe()) return kDuplicate;
  const std::int32_t points = Points();
  if (!record) return points;

  AddToQSOList();
  TStatistic& statistic = statList_.FindOrAdd(current_.Band.view());
  statistic.QSOs += 1;
  statistic.Points += points;
  CountMultipliers(statistic);
  if (bandSync_) bandSync_();
  return points;
}

void Scorer::Clear() {
  qsoList_.Clear();
  statList_.Clear();
  voivList_.Clear();
  dxccList_.Clear();
  continentList_.Clear();
}

}  // namespace zeltra
