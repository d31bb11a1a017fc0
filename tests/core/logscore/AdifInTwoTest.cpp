#include "core/logscore/AdifInTwo.h"

#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "core/logfile/AdifReader.h"
#include "core/text/ReadChunk.h"

namespace zeltra {
namespace {

const CountryFile& Countries() {
  static const CountryFile countries = CountryFile::Parse(
      "Poland:  15:  28:  EU:  52.28:  -18.67:  -1.0:  SP:\n    SP,SQ;\n"
      "Germany:  14:  28:  EU:  51.0:  -10.0:  -1.0:  DL:\n    DL;\n");
  return countries;
}

// All a log's reading tells, one line each, to be compared whole.
std::string Told(const LogContents& log) {
  std::ostringstream out;
  for (std::size_t i = 0; i < log.contacts.size(); ++i) {
    const Contact contact = log.contacts.At(i);
    out << "contact " << log.contacts.PositionAt(i) << ' ' << contact.callSign << ' '
        << contact.band << ' ' << contact.mode << ' ' << contact.continent << ' '
        << contact.dxccPrefix << ' ' << contact.reportReceived << '\n';
  }
  for (const QsoDetails& details : log.details)
    out << "details " << details.when << ' ' << details.sent << ' ' << details.received << '\n';
  for (const auto& [reason, count] : log.leftOutReasons)
    out << "left out " << static_cast<int>(reason.kind) << ' ' << reason.detail << ' ' << count
        << '\n';
  for (const LeftOutContact& contact : log.leftOut)
    out << "left out at " << contact.position << ' ' << contact.contact.callSign << '\n';
  const auto problems = [&](const char* what, const std::vector<LogProblem>& list) {
    for (const LogProblem& problem : list)
      out << what << ' ' << problem.position << ' ' << problem.message << ' '
          << static_cast<int>(problem.kind) << (problem.part ? " " + problem.part->call : "")
          << '\n';
  };
  problems("skipped", log.skipped);
  problems("warning", log.warnings);
  for (const auto& [kind, count] : log.warningsByKind)
    out << "warnings of kind " << static_cast<int>(kind) << ": " << count << '\n';
  out << "counts " << log.leftOutCount << ' ' << log.skippedCount << ' ' << log.stopped << '\n';
  if (log.readingEnded) out << "ended " << log.readingEnded->position << '\n';
  out << "own " << log.ownCall.value_or("-") << ' ' << log.ownCountry.value_or("-") << '\n';
  return out.str();
}

ReadOptions Options(bool strict) {
  return {.countries = &Countries(),
          .strict = strict,
          .listLeftOut = true,
          .keepDetails = true,
          .from = "202612061200",
          .to = "202612071200"};
}

std::string ReadWhole(const std::string& text, const ReadOptions& options) {
  std::istringstream in(text);
  AdifReader reader(in);
  return Told(ReadAdifLog(reader, options));
}

std::string ReadInTwo(const std::string& text, std::size_t middle, const ReadOptions& options) {
  std::istringstream whole(text);
  std::istringstream fromMiddle(text.substr(middle));
  return Told(ReadAdifLogInTwo(whole, fromMiddle, middle, options));
}

// A record as loggers write them; own: STATION_CALLSIGN, when any.
std::string Record(const std::string& call, int minute, const std::string& own = "SP5XYZ",
                   const std::string& mode = "RTTY") {
  const std::string time = (minute < 10 ? "120" : "12") + std::to_string(minute);
  std::string record = "<CALL:" + std::to_string(call.size()) + ">" + call +
                       "<BAND:3>20m<MODE:" + std::to_string(mode.size()) + ">" + mode +
                       "<QSO_DATE:8>20261206<TIME_ON:4>" + time +
                       "<RST_RCVD:3>599<STATE:1>A<STX:3>001";
  if (!own.empty()) record += "<STATION_CALLSIGN:" + std::to_string(own.size()) + ">" + own;
  return record + "<EOR>\n";
}

std::string Records(int count, const std::string& own = "SP5XYZ") {
  std::string text;
  for (int i = 0; i < count; ++i) text += Record(i % 3 == 0 ? "DL1AB" : "SP9KR", i % 60, own);
  return text;
}

TEST(AdifInTwo, WhereverTheSecondPartStartsTheLogIsReadAsWhole) {
  struct Case {
    const char* name;
    std::string text;
    bool strict = false;
  };
  const std::string header = "\xEF\xBB\xBFmade by a logger <ADIF_VER:5>3.1.4<EOH>\n";
  const Case cases[] = {
      {"a header, a byte-order mark, every record counted", header + Records(12)},
      {"a value holding what looks like a record's end",
       Records(4) + "<CALL:5>SP1AA<NOTES:20>say <EOR> <CALL:5>DL9ZZ<BAND:3>20m<MODE:4>RTTY<EOR>\n" +
           Records(4)},
      {"spoilt records, fields given twice, contacts left out and skipped",
       Records(3) + "<CALL:x>SP2BB<EOR>\n<CALL:5>SP3CC<CALL:5>SP3DD<BAND:3>20m<EOR>\n" +
           Record("DL2XX", 5, "SP5XYZ", "CW") + "<BAND:3>20m<EOR>\n" + Records(3) +
           "<CALL:5>SP4EE<BAND:3>99m<EOR>\n" + Records(2)},
      {"strict: the first record not scored stops the reading in either part",
       Records(5) + "<CALL:5>SP3CC<BAND:3>99m<EOR>\n" + Records(5), true},
      {"own calls: another one in each half, one only in the second",
       Record("SP9KR", 1, "") + Records(3, "sp5xyz") + Record("DL1AB", 2, "SP5ABC") +
           Records(3, "SP5XYZ") + Record("DL1AB", 3, "SP6ABC") + Records(2, "SP5ABC")},
      {"the second half names more own calls than are kept, among them the log's",
       Records(6, "SP5XYZ") + Record("SP9KR", 4, "SP1A") + Record("SP9KR", 5, "SP2A") +
           Record("SP9KR", 6, "SP3A") + Record("SP9KR", 7, "SP4A") + Record("SP9KR", 8, "SP5A") +
           Records(2, "SP5XYZ")},
      {"the own station's country, calls of no country, only in the second half",
       Records(6) + "<CALL:5>JA1AA<BAND:3>20m<MY_COUNTRY:6>Poland<EOR>\n" +
           "<CALL:5>JA2AA<BAND:3>20m<EOR>\n<CALL:5>JA3AA<BAND:3>20m<EOR>\n"},
      {"the last record without its end", Records(5) + "<CALL:5>SP1AA<BAND:3>20m"},
      {"a field running past the end of the file", Records(5) + "<CALL:50>SP1AA"},
  };
  for (const Case& test : cases) {
    const ReadOptions options = Options(test.strict);
    const std::string whole = ReadWhole(test.text, options);
    // Every fifth byte: each place in a record, tag and value is met.
    constexpr std::size_t kStep = 5;
    for (std::size_t middle = 1; middle < test.text.size(); middle += kStep)
      ASSERT_EQ(ReadInTwo(test.text, middle, options), whole)
          << test.name << ", the second part from byte " << middle;
  }
}

TEST(AdifInTwo, ProblemsKeptAreTheFirstOfTheWholeLog) {
  // More records without a country than are kept, in both halves.
  std::string text;
  for (int i = 0; i < 1500; ++i) text += "<CALL:5>JA1AA<BAND:3>20m<MODE:4>RTTY<EOR>\n";
  const ReadOptions options = Options(false);
  const std::string whole = ReadWhole(text, options);
  for (const std::size_t middle : {text.size() / 3, text.size() / 2, text.size() - 20})
    EXPECT_EQ(ReadInTwo(text, middle, options), whole) << middle;
}

TEST(AdifInTwo, TheSecondPartIsReadFromTheSecondStream) {
  // The second stream's records differ from the first's by a call of the
  // same length: the log read in two holds them, renumbered in order.
  const std::string text = Records(10);
  const std::size_t middle = text.size() / 2;
  std::string second = text.substr(middle);
  for (std::size_t at = second.find("SP9KR"); at != std::string::npos;
       at = second.find("SP9KR", at + 1))
    second.replace(at, 5, "SQ9KR");
  std::istringstream whole(text);
  std::istringstream fromMiddle(second);
  const LogContents log = ReadAdifLogInTwo(whole, fromMiddle, middle, Options(false));
  ASSERT_EQ(log.contacts.size(), 10u);
  EXPECT_EQ(log.contacts.At(2).callSign, "SP9KR");
  EXPECT_EQ(log.contacts.At(8).callSign, "SQ9KR");
  for (std::size_t i = 0; i < log.contacts.size(); ++i)
    EXPECT_EQ(log.contacts.PositionAt(i), i + 1);
}

// A stream whose reading fails after its first bytes.
class FailingBuffer : public std::streambuf {
 public:
  explicit FailingBuffer(std::string start) : start_(std::move(start)) {
    setg(start_.data(), start_.data(), start_.data() + start_.size());
  }

 protected:
  int_type underflow() override { throw std::ios_base::failure("the disk is gone"); }

 private:
  std::string start_;
};

TEST(AdifInTwo, ASecondStreamThatFailsLeavesTheReadingToTheFirst) {
  // Its failure told as the stream's state, or thrown through the reader,
  // once the part's first records are read.
  const std::string text = Records(3000);
  const std::size_t middle = text.size() / 2;
  ASSERT_GT(text.size() - middle, kReadChunk + 1000);
  const ReadOptions options = Options(false);
  for (const bool thrown : {false, true}) {
    FailingBuffer failing(text.substr(middle, kReadChunk + 1000));
    std::istream fromMiddle(&failing);
    if (thrown) fromMiddle.exceptions(std::ios::badbit);
    std::istringstream whole(text);
    EXPECT_EQ(Told(ReadAdifLogInTwo(whole, fromMiddle, middle, options)), ReadWhole(text, options))
        << thrown;
  }
}

}  // namespace
}  // namespace zeltra
