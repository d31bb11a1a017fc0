// Cost of one contact as the log grows: recording it (duplicate check, list
// and index upkeep, statistics, multiplier sets, summary) and the duplicate
// check alone, with 1,000, 10,000 and 100,000 contacts already recorded.
//
// Run: scripts/bench.sh

#include <benchmark/benchmark.h>

#include <cstddef>

#include "ContactMix.h"
#include "core/session/ContestSession.h"
#include "odbc/OdbcLogQuery.h"

namespace zeltra::bench {
namespace {

// Recorded on top of the prefilled log in each timed run.
constexpr std::int64_t kNewContacts = 1000;

void OwnStation(TQSOData& record) {
  record.MyContinent.assign("EU");
  record.MyDXCCPrefix.assign("SP");
}

void BM_RecordContact(benchmark::State& state) {
  const auto logged = static_cast<std::size_t>(state.range(0));
  const auto contacts = MakeContactMix(logged + static_cast<std::size_t>(kNewContacts), 7);
  TQSOData current{};
  OwnStation(current);
  ContestSession session(current, PrefillList{}, std::make_unique<OdbcLogQuery>(nullptr), {});
  for (std::size_t i = 0; i < logged; ++i) {
    contacts[i].LoadInto(current);
    session.AddQSO();
  }
  std::size_t next = logged;
  for (auto _ : state) {
    contacts[next++].LoadInto(current);
    benchmark::DoNotOptimize(session.AddQSO());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RecordContact)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(kNewContacts)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

void BM_CheckDupe(benchmark::State& state) {
  const auto logged = static_cast<std::size_t>(state.range(0));
  const auto contacts = MakeContactMix(logged * 2, 11);
  TQSOData current{};
  OwnStation(current);
  Scorer scorer(current, {});
  for (std::size_t i = 0; i < logged; ++i) {
    contacts[i].LoadInto(current);
    scorer.ScoreQSO(true);
  }
  // Half the look-ups find a logged contact, half a new one; the input is
  // read in order so that only the look-up itself meets the cache.
  std::size_t next = 0;
  for (auto _ : state) {
    contacts[next].LoadInto(current);
    benchmark::DoNotOptimize(scorer.CheckDupe());
    if (++next == contacts.size()) next = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CheckDupe)->Arg(1000)->Arg(10000)->Arg(100000);

}  // namespace
}  // namespace zeltra::bench

BENCHMARK_MAIN();
