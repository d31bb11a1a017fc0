// Cost of restoring a window's placement from a settings file as the file
// grows: the file read, the document parsed and the section's values looked
// up. Files of blank lines and of foreign values up to the size a settings
// file may have, and 5 MB files, which are read no further than their size.
//
// Run: scripts/bench.sh

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/settings/IniFileReader.h"
#include "core/settings/WindowSettings.h"

namespace zeltra::bench {
namespace {

enum class Filler { kBlankLines, kForeignValues };

std::filesystem::path WriteSettingsFile(std::size_t bytes, Filler filler) {
  std::string text =
      "[TfmMainForm]\r\nFormVersion=0\r\nPixelsPerInch=96\r\nNormPos=10,20,410,239\r\n";
  std::size_t n = 0;
  while (text.size() < bytes) {
    if (filler == Filler::kBlankLines)
      text += "\r\n";
    else
      text += "Value" + std::to_string(n++) + "=1,2,3,4\r\n";
  }
  text.resize(bytes);
  const auto path = std::filesystem::temp_directory_path() /
                    ("zeltra-settings-bench-" + std::to_string(getpid()) + ".ini");
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

void BM_RestoreFromFile(benchmark::State& state, Filler filler) {
  const auto path = WriteSettingsFile(static_cast<std::size_t>(state.range(0)), filler);
  const Screen screen{1600, 1200, 96, {{0, 0, 1600, 1170}}};
  for (auto _ : state) {
    WindowSettings storage("TfmMainForm",
                           {.sizeable = false, .showState = true, .currentBand = true});
    const IniDocument settings = ReadIniFile(path);
    benchmark::DoNotOptimize(storage.Restore(settings, Rect{943, 201, 1343, 420}, screen));
  }
  std::filesystem::remove(path);
}

BENCHMARK_CAPTURE(BM_RestoreFromFile, BlankLines, Filler::kBlankLines)
    ->Arg(1024)
    ->Arg(IniDocument::kMaxTextSize)
    ->Arg(5 * 1024 * 1024)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RestoreFromFile, ForeignValues, Filler::kForeignValues)
    ->Arg(1024)
    ->Arg(IniDocument::kMaxTextSize)
    ->Arg(5 * 1024 * 1024)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zeltra::bench

BENCHMARK_MAIN();
