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

#include "organiser/files/FileNames.h"
#include "tools/score/ConsoleOutput.h"
#include "tools/score/ExitStatus.h"
#include "tools/score/ScoreOptions.h"
#include "tools/score/ScoreRun.h"

namespace {

int Run(const std::vector<std::string>& arguments) {
  using namespace zeltra::score;
  std::ios::sync_with_stdio(false);
  const ConsoleOutput console;
  ScoreOptions options;
  try {
    options = ParseScoreOptions(arguments);
  } catch (const std::invalid_argument& error) {
    std::cerr << "zeltra-score: " << error.what()
              << "\nRun zeltra-score --help for every option.\n";
    return kExitUsage;
  }
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

}  // namespace

#ifdef _WIN32
// The command line in UTF-16, as Windows holds it, taken to UTF-8: a file
// named with a Polish letter reaches the program whole, whatever the ANSI
// code page would have made of it.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(zeltra::organiser::Utf8Of(argv[i]));
  return Run(arguments);
}
#else
int main(int argc, char** argv) {
  return Run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
