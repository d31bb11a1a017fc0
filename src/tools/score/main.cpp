// zeltra-score: the Zeltra RTTY Contest's scorer outside the host.

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#define ZELTRA_ISATTY _isatty
#define ZELTRA_FILENO _fileno
#else
#include <unistd.h>
#define ZELTRA_ISATTY isatty
#define ZELTRA_FILENO fileno
#endif

#include "tools/score/ScoreOptions.h"
#include "tools/score/ScoreRun.h"

int main(int argc, char** argv) {
  using namespace zeltra::score;
  std::ios::sync_with_stdio(false);
  ScoreOptions options;
  try {
    options = ParseScoreOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::invalid_argument& error) {
    std::cerr << "zeltra-score: " << error.what()
              << "\nRun zeltra-score --help for every option.\n";
    return kExitUsage;
  }
  options.programFolder = std::filesystem::path(argv[0]).parent_path().string();
  if (options.help || options.version) {
    std::cout << (options.help ? ScoreUsage() : ScoreVersion()) << std::flush;
    if (!std::cout) {
      std::cerr << "zeltra-score: cannot write the output\n";
      return kExitOutputFailed;
    }
    return kExitScored;
  }
  const bool progress = ZELTRA_ISATTY(ZELTRA_FILENO(stderr)) != 0;
  return RunScore(options, std::cout, std::cerr, progress);
}
