// Golden cases: each folder under cases/ holds a log (or several), the
// arguments zeltra-score is given ("args", one a line), and what it must
// answer: "expected.out", "expected.err" and the exit "status". A case is
// added without code. The arguments run in the case's folder, with
// "--cty ../cty.dat" before them unless they name a country file.
//
// What a run writes into files (--verdicts, --reports) goes under
// "written/" in the case's folder; "expected-files/" holds what it must
// write there, file for file.
//
// A case whose logs must have been sent in an order (the log check keeps
// the later of two logs of one station that overlap) lists them in
// "sent-order", one a line, first sent first: each is written an hour
// after the one before.
//
// A site made says it was made at SOURCE_DATE_EPOCH, set for every case.
//
// ZELTRA_UPDATE_CASES=1 writes what the program answers over the expected
// files, for a new case whose answers are then checked by hand.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/FileText.h"
#include "tools/score/ExitStatus.h"
#include "tools/score/ScoreOptions.h"
#include "tools/score/ScoreRun.h"

namespace zeltra::score {
namespace {

namespace fs = std::filesystem;

const fs::path kCases = ZELTRA_SCORE_CASES;
// 2026-12-09 12:00 UTC, seconds since 1970.
constexpr const char* kMadeAt = "1796817600";

using testing::FileText;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) lines.push_back(line);
  return lines;
}

std::vector<std::string> CaseNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kCases))
    if (entry.is_directory()) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Runs in the case's folder, and goes back where it was.
class InFolder {
 public:
  explicit InFolder(const fs::path& folder) : previous_(fs::current_path()) {
    fs::current_path(folder);
  }
  ~InFolder() { fs::current_path(previous_); }
  InFolder(const InFolder&) = delete;
  InFolder& operator=(const InFolder&) = delete;

 private:
  fs::path previous_;
};

// Every file under a folder, by its path inside it, with its text.
std::vector<std::pair<std::string, std::string>> FilesUnder(const fs::path& folder) {
  std::vector<std::pair<std::string, std::string>> files;
  if (!fs::exists(folder)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file())
      files.emplace_back(fs::relative(entry.path(), folder).generic_string(),
                         FileText(entry.path()));
  std::sort(files.begin(), files.end());
  return files;
}

class ScoreCase : public ::testing::TestWithParam<std::string> {};

TEST_P(ScoreCase, AnswersAsExpected) {
  const fs::path folder = kCases / GetParam();
  std::vector<std::string> arguments = Lines(FileText(folder / "args"));
  if (std::find(arguments.begin(), arguments.end(), "--cty") == arguments.end())
    arguments.insert(arguments.begin(), {"--cty", "../cty.dat"});
  std::ostringstream out;
  std::ostringstream errors;
  int status = kExitUsage;
  const fs::path written = folder / "written";
  const fs::path expectedFiles = folder / "expected-files";
  fs::remove_all(written);
  if (fs::exists(expectedFiles)) fs::create_directories(written);
  if (fs::exists(folder / "sent-order")) {
    const std::vector<std::string> order = Lines(FileText(folder / "sent-order"));
    const auto now = fs::file_time_type::clock::now();
    for (std::size_t i = 0; i < order.size(); ++i)
      fs::last_write_time(folder / order[i], now - std::chrono::hours(order.size() - i));
  }
  // A site says when it was made: always this moment, in every case.
  setenv("SOURCE_DATE_EPOCH", kMadeAt, 1);
  {
    InFolder in(folder);
    try {
      status = RunScore(ParseScoreOptions(arguments), out, errors, false);
    } catch (const std::invalid_argument& error) {
      errors << "zeltra-score: " << error.what() << "\n";
    }
  }
  if (std::getenv("ZELTRA_UPDATE_CASES") != nullptr) {
    std::ofstream(folder / "expected.out", std::ios::binary) << out.str();
    std::ofstream(folder / "expected.err", std::ios::binary) << errors.str();
    std::ofstream(folder / "status") << status << "\n";
    if (fs::exists(written)) {
      fs::remove_all(expectedFiles);
      fs::copy(written, expectedFiles, fs::copy_options::recursive);
      fs::remove_all(written);
    }
    return;
  }
  const auto writtenFiles = FilesUnder(written);
  fs::remove_all(written);
  EXPECT_EQ(writtenFiles, FilesUnder(expectedFiles));
  EXPECT_EQ(out.str(), FileText(folder / "expected.out"));
  EXPECT_EQ(errors.str(), FileText(folder / "expected.err"));
  EXPECT_EQ(status, std::stoi(FileText(folder / "status")));
}

INSTANTIATE_TEST_SUITE_P(Cases, ScoreCase, ::testing::ValuesIn(CaseNames()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                           std::string name = param.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
}  // namespace zeltra::score
