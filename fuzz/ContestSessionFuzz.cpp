// libFuzzer: the contest session driven by the bytes as a run of previews,
// recorded contacts and prefill look-ups over a few calls, bands, modes,
// countries and reports (blanks and letter case among them), each answer
// and the score line checked against a plain model of the contest's rules:
// a duplicate is the same call, band and mode byte for byte; points 2 for
// the own country, 5 for the own continent, 10 otherwise, letter case
// aside; voivodeships and countries count per band text, continents once.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <tuple>

#include "core/session/ContestSession.h"
#include "core/text/Ascii.h"
#include "odbc/OdbcLogQuery.h"

namespace {

constexpr std::string_view kCalls[] = {"SP9ABC", "sp9abc", "W1AW", "DL1AAA", "SP9ABC ", "JA1XYZ"};
constexpr std::string_view kBands[] = {"14", " 14", "14 ", "7", "28", "50", "", "1.8"};
constexpr std::string_view kModes[] = {"RTTY", "rtty", "CW", ""};
constexpr std::string_view kContinents[] = {"EU", "eu", "NA", "AS", ""};
constexpr std::string_view kCountries[] = {"SP", "sp", "DL", "K", "JA", ""};
constexpr std::string_view kReports[] = {"599K", "599 k", "599 K ", "599X", "", "599B", "W"};

struct Model {
  std::set<std::tuple<std::string, std::string, std::string>> recorded;
  std::set<std::string> voivodeships, countries, continents;
  long long points = 0;
};

// The voivodeship letter a report carries: its last character once blanks
// and control characters are gone from both ends, upper-cased, when it is
// one of the sixteen.
std::string LetterOf(std::string_view report) {
  report = zeltra::TrimControlAndBlank(report);
  if (report.empty()) return {};
  const char letter = zeltra::AsciiUpper(report.back());
  return std::string_view("BCDFGJKLMOPRSUWZ").find(letter) == std::string_view::npos
             ? std::string()
             : std::string(1, letter);
}

class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  std::size_t Next(std::size_t choices) { return empty() ? 0 : data_[at_++] % choices; }
  template <std::size_t N>
  std::string_view Pick(const std::string_view (&table)[N]) {
    return table[Next(N)];
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bytes bytes(data, size);
  const zeltra::OwnStation own{std::string(bytes.Pick(kContinents)),
                               std::string(bytes.Pick(kCountries))};
  zeltra::ContestSession session(zeltra::PrefillList::FromText("SP9ABC=K\nw1aw=599 001\n"),
                                 std::make_unique<zeltra::OdbcLogQuery>(nullptr), {}, {});
  Model model;
  while (!bytes.empty()) {
    const std::size_t operation = bytes.Next(3);
    zeltra::Contact contact{.callSign = std::string(bytes.Pick(kCalls)),
                            .band = std::string(bytes.Pick(kBands)),
                            .mode = std::string(bytes.Pick(kModes)),
                            .continent = std::string(bytes.Pick(kContinents)),
                            .dxccPrefix = std::string(bytes.Pick(kCountries)),
                            .reportReceived = std::string(bytes.Pick(kReports))};
    if (operation == 2) {
      // Blanks around the call asked for are no part of it.
      const std::string_view asked = zeltra::TrimControlAndBlank(contact.callSign);
      const std::string expected = zeltra::EqualsIgnoringAsciiCase(asked, "SP9ABC") ? "K"
                                   : zeltra::EqualsIgnoringAsciiCase(asked, "W1AW") ? "599 001"
                                                                                    : "";
      if (session.GrabNumber(contact.callSign) != expected) std::abort();
      continue;
    }
    const bool duplicate =
        model.recorded.count({contact.callSign, contact.band, contact.mode}) != 0;
    const std::int32_t points =
        zeltra::EqualsIgnoringAsciiCase(contact.dxccPrefix, own.dxccPrefix) ? 2
        : zeltra::EqualsIgnoringAsciiCase(contact.continent, own.continent) ? 5
                                                                            : 10;
    const std::int32_t expected = duplicate ? zeltra::kDuplicate : points;
    if (operation == 0) {
      if (session.GetScore(contact, own) != expected) std::abort();
      continue;
    }
    if (session.AddQSO(contact, own) != expected) std::abort();
    if (!duplicate) {
      model.recorded.insert({contact.callSign, contact.band, contact.mode});
      model.points += points;
      if (const std::string letter = LetterOf(contact.reportReceived); !letter.empty())
        model.voivodeships.insert(zeltra::AsciiUpper(contact.band + "|" + letter + "|"));
      model.countries.insert(zeltra::AsciiUpper(contact.band + "|" + contact.dxccPrefix + "|"));
      model.continents.insert(zeltra::AsciiUpper(contact.continent));
    }
    const long long multipliers = static_cast<long long>(
        model.voivodeships.size() + model.countries.size() + model.continents.size());
    char line[128];
    std::snprintf(line, sizeof line, "Score: %lld*(%zu+%zu+%zu)=%lld", model.points,
                  model.voivodeships.size(), model.countries.size(), model.continents.size(),
                  model.points * multipliers);
    if (session.summary().scoreLine != line) std::abort();
  }
  return 0;
}
