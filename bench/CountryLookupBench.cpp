// The country look-up alone: a call sign to its DXCC prefix and continent
// through Debian's cty.dat, over a contest's mix of calls (plain ones,
// portable suffixes, prefixes before a "/", calls in lower case).
//
// Run: scripts/bench-score.sh

#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ContactMix.h"
#include "core/logfile/CountryFile.h"

namespace zeltra::bench {
namespace {

constexpr const char* kCountryFile = "/usr/share/hamradio-files/cty.dat";

const CountryFile& Countries() {
  static const CountryFile countries = [] {
    std::ifstream in(kCountryFile, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return CountryFile::Parse(text.str());
  }();
  return countries;
}

std::vector<std::string> Calls() {
  std::vector<std::string> calls;
  std::size_t n = 0;
  for (const Contact& contact : MakeContactMix(4096, 3)) {
    std::string call = contact.callSign;
    call = call.substr(0, call.find('/'));
    switch (n++ % 8) {
      case 0:
        call += "/P";
        break;
      case 1:
        call = "DL/" + call;
        break;
      case 2:
        for (char& c : call) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        break;
      default:
        break;
    }
    calls.push_back(call);
  }
  return calls;
}

void BM_CountryLookup(benchmark::State& state) {
  const CountryFile& countries = Countries();
  const std::vector<std::string> calls = Calls();
  std::size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(countries.Lookup(calls[next]));
    next = (next + 1) % calls.size();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CountryLookup);

}  // namespace
}  // namespace zeltra::bench

BENCHMARK_MAIN();
