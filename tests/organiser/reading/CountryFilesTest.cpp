#include "organiser/reading/CountryFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "organiser/files/ProgramFolder.h"
#include "organiser/reading/Unscorable.h"
#include "support/SqliteLog.h"

namespace zeltra::organiser {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryFolder;

const char kOneCountry[] =
    "Poland:                   15:  28:  EU:   52.28:   -18.67:    -1.0:  SP:\n"
    "    SN,SP;\n";
const char kTwoCountries[] =
    "Poland:                   15:  28:  EU:   52.28:   -18.67:    -1.0:  SP:\n"
    "    SN,SP;\n"
    "United States of America: 05:  08:  NA:   37.60:    91.87:     5.0:  K:\n"
    "    K,W;\n";

// The country file named wins over one beside the program; without a name,
// the one beside the program serves; a name that is no country file is
// told, naming it, before any log is read.
TEST(CountryFiles, TheOneNamedThenTheOneBesideTheProgram) {
  TemporaryFolder folder;
  const fs::path program = folder.path() / "program";
  fs::create_directories(program);
  std::ofstream(program / "cty.dat") << kOneCountry;
  const fs::path named = folder.path() / "named.dat";
  std::ofstream(named) << kTwoCountries;
  const std::optional<CountryFile> byName = LoadCountries(named.string(), program.string());
  ASSERT_TRUE(byName);
  EXPECT_EQ(byName->size(), 2u);
  const std::optional<CountryFile> beside = LoadCountries(std::nullopt, program.string());
  ASSERT_TRUE(beside);
  EXPECT_EQ(beside->size(), 1u);
  const fs::path missing = folder.path() / "missing.dat";
  try {
    LoadCountries(missing.string(), program.string());
    ADD_FAILURE() << "a missing country file was taken";
  } catch (const Unscorable& problem) {
    EXPECT_NE(problem.message.find("missing.dat: the country file does not exist"),
              std::string::npos)
        << problem.message;
  }
}

// The program's own folder is the one the system runs it from: this test
// program's.
TEST(ProgramFolder, IsTheRunningProgramsFolder) {
  const fs::path folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(fs::exists(folder / "organiser_tests"));
}

}  // namespace
}  // namespace zeltra::organiser
