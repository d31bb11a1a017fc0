#include "core/session/ContestSession.h"

#include <utility>

#include "core/reload/LogReload.h"
#include "core/scoring/ContestRules.h"

namespace zeltra {
namespace {

template <class... Parameters, class... Arguments>
void Raise(const std::function<void(Parameters...)>& event, Arguments&&... arguments) {
  if (event) event(std::forward<Arguments>(arguments)...);
}

}  // namespace

ContestSession::ContestSession(PrefillList prefill, std::unique_ptr<LogQuery> logQuery,
                               std::function<LogSource()> logSource, SessionEvents events)
    : events_(std::move(events)),
      logSource_(std::move(logSource)),
      logQuery_(std::move(logQuery)),
      prefill_(std::move(prefill)) {}

std::int32_t ContestSession::GetScore(const Contact& contact, const OwnStation& own) const {
  return scorer_.Preview(contact, own);
}

std::int32_t ContestSession::AddQSO(const Contact& contact, const OwnStation& own) {
  const std::int32_t result = scorer_.Record(contact, own);
  if (result != kDuplicate) FollowBand(contact.band);
  summary_.Fill(scorer_.statistics());
  Raise(events_.summaryChanged);
  return result;
}

std::string ContestSession::GrabNumber(std::string_view callSign) const {
  return prefill_.LookupExchange(callSign);
}

void ContestSession::ShowFirstTime() {
  summary_.WriteHeadings();
  Raise(events_.summaryChanged);
  RecalculateUnlessRunning();
}

void ContestSession::RecalculateUnlessRunning() {
  if (recalculateEnabled_) Recalculate();
}

void ContestSession::Recalculate() {
  ++recalculationDepth_;
  try {
    RebuildFromLog();
  } catch (...) {
    EndRecalculation();
    throw;
  }
  EndRecalculation();
}

void ContestSession::RebuildFromLog() {
  Raise(events_.pumpMessages);
  recalculateEnabled_ = false;
  const LogSource source = logSource_ ? logSource_() : LogSource{};
  FollowBand(source.band);
  ReloadLog(*logQuery_, source.tableName, source.station, scorer_, summary_.table,
            ReloadHooks{.pumpMessages = events_.pumpMessages,
                        .replayed = [this](const Contact& contact, std::int32_t result) {
                          if (result != kDuplicate) FollowBand(contact.band);
                        }});
  summary_.Fill(scorer_.statistics());
}

void ContestSession::EndRecalculation() {
  recalculateEnabled_ = true;
  if (--recalculationDepth_ == 0 && bandAtEnd_)
    Raise(events_.bandToShow, *std::exchange(bandAtEnd_, {}));
  Raise(events_.summaryChanged);
}

void ContestSession::FollowBand(std::string_view band) {
  const auto shown = BandToShow(band);
  if (!shown) return;
  if (Recalculating())
    bandAtEnd_ = *shown;
  else
    Raise(events_.bandToShow, *shown);
}

}  // namespace zeltra
