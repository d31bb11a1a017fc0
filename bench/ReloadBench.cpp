// The log reload against its floor: a bare scan of the same query that
// reads the same seven columns as text through the same ODBC calls and does
// nothing else. Both run side by side on SQLite logs of 1,000, 10,000 and
// 100,000 rows through the SQLite3 ODBC driver.
//
// Run: scripts/bench.sh --benchmark_filter=Reload|BareScan

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

#include "ContactMix.h"
#include "core/reload/LogReload.h"
#include "odbc/OdbcLogQuery.h"
#include "support/SqliteLog.h"

namespace zeltra::bench {
namespace {

constexpr const char* kColumns[] = {"QSOReportRecived", "DXCCPrefix", "MainPrefix", "CallSign",
                                    "DigiBand",         "QSOMode",    "Continent"};
const std::string kQuery = "Select * from QSO order by CallSign";

// One log per size, made on first use and kept for every run.
testing::SqliteLog& LogOf(std::size_t rows) {
  static std::map<std::size_t, std::unique_ptr<testing::SqliteLog>> logs;
  auto& log = logs[rows];
  if (!log) {
    log = std::make_unique<testing::SqliteLog>();
    log->CreateLogTable();
    std::vector<testing::LogRow> logRows;
    for (const Contact& contact : MakeContactMix(rows, 3)) {
      logRows.push_back({.callSign = contact.callSign,
                         .band = contact.band,
                         .mode = contact.mode,
                         .continent = contact.continent,
                         .report = contact.reportReceived,
                         .dxccPrefix = contact.dxccPrefix,
                         .mainPrefix = contact.dxccPrefix});
    }
    log->Insert(logRows);
  }
  return *log;
}

void BM_BareScan(benchmark::State& state) {
  OdbcLogQuery query(LogOf(static_cast<std::size_t>(state.range(0))).connection());
  for (auto _ : state) {
    query.Open(kQuery);
    while (!query.Eof()) {
      for (const char* column : kColumns) benchmark::DoNotOptimize(query.FieldAsText(column));
      query.Next();
    }
    query.Close();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ReloadLog(benchmark::State& state) {
  OdbcLogQuery query(LogOf(static_cast<std::size_t>(state.range(0))).connection());
  const OwnStation own{.continent = "EU", .dxccPrefix = "SP"};
  Scorer scorer;
  StatisticTable table;
  for (auto _ : state) {
    ReloadLog(query, "QSO", own, scorer, table, {});
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_BareScan)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReloadLog)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zeltra::bench

BENCHMARK_MAIN();
