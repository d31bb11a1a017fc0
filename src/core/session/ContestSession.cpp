#include "core/session/ContestSession.h"

#include "core/reload/LogReload.h"

namespace zeltra {
namespace {

void Run(const std::function<void()>& hook) {
  if (hook) hook();
}

}  // namespace

ContestSession::ContestSession(TQSOData& current, PrefillList prefill,
                               std::unique_ptr<LogQuery> logQuery, SessionHooks hooks)
    : current_(current),
      hooks_(std::move(hooks)),
      scorer_(current, hooks_.showDXList),
      logQuery_(std::move(logQuery)),
      prefill_(std::move(prefill)) {}

std::int32_t ContestSession::GetScore() {
  return scorer_.ScoreQSO(false);
}

std::int32_t ContestSession::AddQSO() {
  const std::int32_t result = scorer_.ScoreQSO(true);
  summary_.FillStatistic(scorer_.Statistics());
  Run(hooks_.summaryChanged);
  return result;
}

std::string ContestSession::GrabNumber() const {
  return prefill_.LookupExchange(current_.CallSign.str());
}

void ContestSession::FormShow() {
  summary_.WriteHeadings();
  Run(hooks_.summaryChanged);
  ExecuteRecalcStatistic();
}

void ContestSession::ExecuteRecalcStatistic() {
  if (recalcEnabled_) RecalcStatisticExecute();
}

void ContestSession::RecalcStatisticExecute() {
  ++recalcDepth_;
  struct Finally {
    ContestSession& session;
    ~Finally() {
      session.recalcEnabled_ = true;
      --session.recalcDepth_;
      Run(session.hooks_.summaryChanged);
    }
  } finally{*this};

  Run(hooks_.pumpMessages);
  recalcEnabled_ = false;
  ReloadLog(current_, *logQuery_, scorer_, summary_.table,
            ReloadHooks{hooks_.showDXList, hooks_.pumpMessages});
  summary_.FillStatistic(scorer_.Statistics());
}

}  // namespace zeltra
