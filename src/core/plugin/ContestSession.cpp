#include "plugin/ContestSession.h"

namespace zeltra {

ContestSession::ContestSession(const TQSOData& current, PrefillList prefill,
                               std::function<void()> bandSync)
    : current_(current), scorer_(current, std::move(bandSync)), prefill_(std::move(prefill)) {}

std::int32_t ContestSession::GetScore() {
  return scorer_.ScoreQSO(false);
}

std::int32_t ContestSession::AddQSO() {
  const std::int32_t result = scorer_.ScoreQSO(true);
  summary_.FillStatistic(scorer_.Statistics());
  return result;
}

std::string ContestSession::GrabNumber() const {
  return prefill_.LookupExchange(current_.CallSign.str());
}

}  // namespace zeltra
