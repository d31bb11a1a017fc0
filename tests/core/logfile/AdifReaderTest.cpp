#include "core/logfile/AdifReader.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "core/text/ReadChunk.h"
#include "support/AdifRecords.h"

namespace zeltra {
namespace {

std::vector<AdifRecord> ReadAll(const std::string& text) {
  return testing::RecordsOf<AdifReader>(text);
}

using testing::Field;

TEST(AdifReader, TidyAndUntidyFiles) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {"header and records",
       "made by hand <ADIF_VER:5>3.1.4 <PROGRAMID:4>TEST <EOH>\n"
       "<CALL:6>SP9ABC<BAND:3>20m<EOR>\n<CALL:4>W1AW<BAND:3>15m<EOR>\n",
       {"SP9ABC", "W1AW"}},
      {"no header, lower-case tags", "<call:4>W1AW <band:3>15M <eor>", {"W1AW"}},
      {"a byte-order mark", "\xEF\xBB\xBF<CALL:4>W1AW<EOR>", {"W1AW"}},
      {"types and blanks in tags", "<CALL:4:S>W1AW < eor >", {"W1AW"}},
      {"empty records skipped", "<EOR><EOR><CALL:4>W1AW<EOR><EOR>", {"W1AW"}},
      {"an empty tag passed over", "<><CALL:4>W1AW<EOR>", {"W1AW"}},
      {"lengths in bytes over line ends and '>'", "<NOTES:7>a>\r\n<b><CALL:4>W1AW<EOR>", {"W1AW"}},
      {"header fields are no record",
       "<ADIF_VER:5>3.1.4<CALL:4>XXXX<EOH><CALL:4>W1AW<EOR>",
       {"W1AW"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto records = ReadAll(c.text);
    ASSERT_EQ(records.size(), c.calls.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
      EXPECT_EQ(Field(records[i], AdifField::kCall), c.calls[i]);
      EXPECT_EQ(records[i].number, i + 1);
      EXPECT_EQ(records[i].error, "");
    }
  }
}

TEST(AdifReader, TagsOfEveryLengthEndWhereTheirCloseIs) {
  // Lengths written with leading zeros put the ">" at every distance from
  // the "<", across the bytes looked through at a time and past them.
  for (std::size_t zeros = 0; zeros <= 60; ++zeros) {
    const auto records = ReadAll("<CALL:" + std::string(zeros, '0') +
                                 "4>W1AW<band:" + std::string(zeros, '0') + "3>20m<EOR>");
    ASSERT_EQ(records.size(), 1u) << zeros;
    EXPECT_EQ(records[0].error, "") << zeros;
    EXPECT_EQ(Field(records[0], AdifField::kCall), "W1AW") << zeros;
    EXPECT_EQ(Field(records[0], AdifField::kBand), "20m") << zeros;
  }
}

TEST(AdifReader, EveryFieldReadIsKnownInAnyCaseAndNothingLikeIt) {
  const auto lower = [](std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
  };
  const auto isName = [](const std::string& text) {
    for (const std::string_view name : kAdifFieldNames)
      if (name == text) return true;
    return false;
  };
  for (std::size_t i = 0; i < kAdifFieldNames.size(); ++i) {
    const std::string name(kAdifFieldNames[i]);
    SCOPED_TRACE(name);
    std::string mixed = lower(name);
    mixed[0] = name[0];
    for (const std::string& spelt : {name, lower(name), mixed})
      EXPECT_EQ(AdifFieldNamed(spelt), static_cast<AdifField>(i)) << spelt;
    std::string changedLast = name;
    changedLast.back() = changedLast.back() == 'X' ? 'Y' : 'X';
    for (const std::string& other : {name + "X", name.substr(0, name.size() - 1), changedLast,
                                     name + std::string(1, '\0'), "APP_" + name})
      if (!isName(other)) {
        EXPECT_EQ(AdifFieldNamed(other), std::nullopt) << other;
      }
  }
  EXPECT_EQ(AdifFieldNamed(""), std::nullopt);
  EXPECT_EQ(AdifFieldNamed(std::string(70000, 'C')), std::nullopt);
}

TEST(AdifReader, FieldsTheScorerReads) {
  const auto records = ReadAll(
      "<CALL:6>SP9ABC<FREQ:6>14.080<MODE:4>RTTY<CONT:2>EU<COUNTRY:6>Poland"
      "<SRX_STRING:5>599 K<RST_RCVD:3>599<STATE:1>K<STATION_CALLSIGN:6>SP5XYZ"
      "<APP_N1MM_X:3>abc<COMMENT:5>hello<EOR>");
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(Field(records[0], AdifField::kFreq), "14.080");
  EXPECT_EQ(Field(records[0], AdifField::kCont), "EU");
  EXPECT_EQ(Field(records[0], AdifField::kCountry), "Poland");
  EXPECT_EQ(Field(records[0], AdifField::kSrxString), "599 K");
  EXPECT_EQ(Field(records[0], AdifField::kStationCallsign), "SP5XYZ");
  EXPECT_EQ(Field(records[0], AdifField::kBand), "<none>");
  EXPECT_TRUE(records[0].warnings.empty());
}

TEST(AdifReader, TheFirstOfADoubledFieldCountsWithAWarning) {
  const auto records = ReadAll("<CALL:4>W1AW<CALL:4>W2AW<EOR>");
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(Field(records[0], AdifField::kCall), "W1AW");
  EXPECT_EQ(records[0].warnings,
            std::vector<std::string>{"field CALL given twice; the first counts"});
}

TEST(AdifReader, MalformedRecords) {
  // A length that is not a number spoils its record only.
  auto records = ReadAll("<CALL:x4>W1AW<EOR><CALL:4>W2AW<EOR>");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].error, "field CALL: length \"x4\" is not a number");
  EXPECT_EQ(Field(records[1], AdifField::kCall), "W2AW");
  EXPECT_EQ(records[1].number, 2u);

  // A length running past the end ends the reading.
  records = ReadAll("<CALL:4>W1AW<EOR><CALL:40>W2AW<EOR>");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1].error, "field CALL: length 40 runs past the end of the file");

  records = ReadAll("<CALL:4>W1AW");
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].error, "the last record has no <EOR>");

  records = ReadAll("<CALL:4>W1AW<EOR><CALL:4");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1].error, "a tag is not closed by \">\" before the end of the file");
}

// A length is never trusted before its bytes are there: a claim of
// gigabytes spoils its record (or, for a field not kept, reads on to the
// end of the file), and costs no memory.
TEST(AdifReader, LengthsThatClaimTooMuch) {
  auto records = ReadAll("<CALL:4294967296>W1AW<BAND:3>20m<EOR><CALL:4>W2AW<EOR>");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].error,
            "field CALL: length 4294967296 is longer than a field may be (1048576 bytes)");
  EXPECT_EQ(Field(records[1], AdifField::kCall), "W2AW");

  records = ReadAll("<CALL:4>W1AW<NOTES:1000000000000>x<EOR><CALL:4>W2AW<EOR>");
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].error, "field NOTES: length 1000000000000 runs past the end of the file");

  // A kept value at the bound reads; one byte more does not.
  const std::string longest(kLongestAdifValue, 'x');
  records =
      ReadAll("<SRX_STRING:" + std::to_string(longest.size()) + ">" + longest +
              "<EOR><SRX_STRING:" + std::to_string(longest.size() + 1) + ">" + longest + "x<EOR>");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].error, "");
  EXPECT_EQ(Field(records[0], AdifField::kSrxString).size(), kLongestAdifValue);
  EXPECT_NE(records[1].error, "");

  // A megabyte without a tag is no header text: it spoils its record, or
  // ends the file with an error.
  const std::string run(kLongestAdifValue + 1, ' ');
  records = ReadAll("<CALL:4>W1AW<EOR><CALL:4>W2AW" + run + "<BAND:3>20m<EOR><CALL:4>W3AW<EOR>");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[1].error, "1048577 bytes without a tag");
  EXPECT_EQ(Field(records[2], AdifField::kCall), "W3AW");
  records = ReadAll("<CALL:4>W1AW<EOR>" + run);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1].error, "1048577 bytes without a tag at the end of the file");
  EXPECT_EQ(ReadAll("<CALL:4>W1AW<EOR>" + run.substr(1)).size(), 1u);

  // A "<" that opens no tag spoils its record, not the file.
  records = ReadAll("<CALL:4>W1AW<" + std::string(5000, 'x') + "<EOR><CALL:4>W2AW<EOR>");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].error, "a \"<\" is not closed by \">\" within 1024 bytes");
  EXPECT_EQ(Field(records[1], AdifField::kCall), "W2AW");
}

// A message names the field whose tag it read, wherever the tag falls
// against the reader's chunks: the buffer the name was read from is
// refilled before the message is worded.
TEST(AdifReader, MessagesNameTheirFieldAcrossChunks) {
  struct Case {
    const char* name;
    std::string tag;
    std::string after;  // what follows the tag
    std::string error;
  };
  const std::string beyond(kLongestAdifValue + 10, 'v');
  const Case cases[] = {
      {"a kept value past the end", "<SRX_STRING:5000>", std::string(4000, 'v'),
       "field SRX_STRING: length 5000 runs past the end of the file"},
      {"a passed-over value past the end", "<NOTES:500000>", std::string(300000, 'v'),
       "field NOTES: length 500000 runs past the end of the file"},
      {"a kept value longer than allowed", "<SRX_STRING:1048586>", beyond + "<EOR>",
       "field SRX_STRING: length 1048586 is longer than a field may be (1048576 bytes)"},
  };
  for (const Case& c : cases) {
    for (std::size_t tagAt : {kReadChunk - c.tag.size() - 1, kReadChunk - c.tag.size(),
                              kReadChunk - c.tag.size() + 1, kReadChunk - 3, kReadChunk + 5}) {
      SCOPED_TRACE(std::string(c.name) + ", tag at " + std::to_string(tagAt));
      // A field passed over puts the tag where it is wanted.
      const std::string first = "<CALL:4>W1AW<EOR><APP_X:";
      const std::size_t fill = tagAt - first.size() - 6;  // "00000>" before the fill
      const std::string fillLength = std::to_string(fill);
      const std::string text = first + std::string(5 - fillLength.size(), '0') + fillLength + ">" +
                               std::string(fill, 'f') + c.tag + c.after;
      ASSERT_EQ(text.find(c.tag), tagAt);
      const auto records = ReadAll(text);
      ASSERT_EQ(records.size(), 2u);
      EXPECT_EQ(records[1].error, c.error);
    }
  }
}

// Records and fields that straddle the reader's chunks read whole.
TEST(AdifReader, RecordsAcrossChunks) {
  std::string text;
  const std::string longNote(100000, 'n');
  for (int i = 0; i < 3000; ++i) {
    const std::string call = "C" + std::to_string(i);
    text += "<CALL:" + std::to_string(call.size()) + ">" + call;
    if (i % 1000 == 7) text += "<NOTES:" + std::to_string(longNote.size()) + ">" + longNote;
    text += "<BAND:3>20m<EOR>\n";
  }
  const auto records = ReadAll(text);
  ASSERT_EQ(records.size(), 3000u);
  for (int i = 0; i < 3000; ++i)
    EXPECT_EQ(Field(records[static_cast<std::size_t>(i)], AdifField::kCall),
              "C" + std::to_string(i));
}

}  // namespace
}  // namespace zeltra
