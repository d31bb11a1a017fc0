// Cost of one contact as the log grows: recording it (duplicate check, list
// and index upkeep, statistics, multiplier sets, summary) and the duplicate
// check alone, with 1,000, 10,000 and 100,000 contacts already recorded.
//
// Run: scripts/bench.sh

#include <benchmark/benchmark.h>

#include <cstddef>

#include "ContactMix.h"
#include "core/session/ContestSession.h"
#include "core/session/HostContact.h"
#include "odbc/OdbcLogQuery.h"

namespace zeltra::bench {
namespace {

// Recorded on top of the prefilled log in each timed run.
constexpr std::int64_t kNewContacts = 1000;

const OwnStation kOwnStation{.continent = "EU", .dxccPrefix = "SP"};

// As _AddQSO does it: the host's record, taken as a contact, recorded.
void BM_RecordContact(benchmark::State& state) {
  const auto logged = static_cast<std::size_t>(state.range(0));
  const auto contacts = MakeContactMix(logged + static_cast<std::size_t>(kNewContacts), 7);
  TQSOData record{};
  ContestSession session(PrefillList{}, std::make_unique<OdbcLogQuery>(nullptr), {}, {});
  for (std::size_t i = 0; i < logged; ++i) session.AddQSO(contacts[i], kOwnStation);
  std::size_t next = logged;
  for (auto _ : state) {
    LoadInto(contacts[next++], record);
    benchmark::DoNotOptimize(session.AddQSO(ContactOf(record), OwnStationOf(record)));
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
  Scorer scorer;
  for (std::size_t i = 0; i < logged; ++i) scorer.Record(contacts[i], kOwnStation);
  // Half the look-ups find a logged contact, half a new one; the input is
  // read in order so that only the look-up itself meets the cache.
  std::size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(scorer.IsDuplicate(contacts[next]));
    if (++next == contacts.size()) next = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CheckDupe)->Arg(1000)->Arg(10000)->Arg(100000);

}  // namespace
}  // namespace zeltra::bench

BENCHMARK_MAIN();
