#include "core/logfile/AdxReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text/ReadChunk.h"
#include "support/AdifRecords.h"

namespace zeltra {
namespace {

std::vector<AdifRecord> ReadAll(const std::string& text) {
  return testing::RecordsOf<AdxReader>(text);
}

using testing::Field;

TEST(AdxReader, RecordsAndTheirFields) {
  const auto records = ReadAll(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ADX><HEADER><ADIF_VER>3.1.4</ADIF_VER>"
      "<CALL>HEADER</CALL></HEADER><RECORDS>\n"
      "<RECORD><CALL>SP9ABC</CALL><band>20m</band><SRX_STRING>599 &amp; K</SRX_STRING>"
      "<APP PROGRAMID=\"X\" FIELDNAME=\"CALL\" TYPE=\"S\">APP</APP><COMMENT>c</COMMENT></RECORD>\n"
      "<RECORD><CALL>W1AW</CALL><CALL>W2AW</CALL><FREQ><![CDATA[21.080]]></FREQ></RECORD>\n"
      "</RECORDS></ADX>");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].number, 1u);
  EXPECT_EQ(Field(records[0], AdifField::kCall), "SP9ABC");
  EXPECT_EQ(Field(records[0], AdifField::kBand), "20m");
  EXPECT_EQ(Field(records[0], AdifField::kSrxString), "599 & K");
  EXPECT_EQ(records[1].number, 2u);
  EXPECT_EQ(Field(records[1], AdifField::kCall), "W1AW");
  EXPECT_EQ(records[1].warnings,
            std::vector<std::string>{"field CALL given twice; the first counts"});
  EXPECT_EQ(Field(records[1], AdifField::kFreq), "21.080");
}

// An element inside a field is no part of its value; the field and the
// ones after it read as they are.
TEST(AdxReader, AnElementNestedInAField) {
  const auto records = ReadAll(
      "<ADX><RECORDS><RECORD><CALL>W1<B>ZZ<I>Q</I></B>AW</CALL><BAND>20m</BAND></RECORD>"
      "<RECORD><CALL>DL1ABC</CALL></RECORD></RECORDS></ADX>");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].error, "");
  EXPECT_EQ(Field(records[0], AdifField::kCall), "W1AW");
  EXPECT_EQ(Field(records[0], AdifField::kBand), "20m");
  EXPECT_EQ(Field(records[1], AdifField::kCall), "DL1ABC");
}

TEST(AdxReader, WhatIsRefused) {
  struct Case {
    const char* name;
    std::string text;
    std::size_t records;  // the last of them holds the error
    std::string error;
    bool endsReading = true;  // the error stops the file's reading
  };
  const std::string head = "<?xml version=\"1.0\"?>";
  std::string manyRecords;
  while (manyRecords.size() < 3 * kReadChunk) manyRecords += "<RECORD><CALL>W2AW</CALL></RECORD>";
  const Case cases[] = {
      {"an entity that would grow the text",
       head + "<!DOCTYPE ADX [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;\">]>"
              "<ADX><RECORDS><RECORD><CALL>&b;</CALL></RECORD></RECORDS></ADX>",
       1, "a document type declaration has no place in an ADX log"},
      {"not well formed", head + "<ADX><RECORDS><RECORD><CALL>W1AW</RECORD>", 1,
       "XML error at line 1: mismatched tag"},
      {"cut short", head + "<ADX><RECORDS><RECORD><CALL>W1AW</CALL></RECORD>", 2,
       "XML error at line 1: no element found"},
      {"not well formed, with chunks of records after it",
       head + "<ADX><RECORDS><RECORD><CALL>W1&AW</CALL></RECORD>" + manyRecords +
           "</RECORDS></ADX>",
       1, "XML error at line 1: not well-formed (invalid token)"},
      {"a value too long",
       head + "<ADX><RECORDS><RECORD><CALL>" + std::string(kLongestAdifValue + 1, 'W') +
           "</CALL></RECORD></RECORDS></ADX>",
       1, "field CALL is longer than a field may be (1048576 bytes)", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto records = ReadAll(c.text);
    ASSERT_EQ(records.size(), c.records);
    EXPECT_EQ(records.back().error, c.error);
    EXPECT_EQ(records.back().endsReading, c.endsReading);
  }
  // A value at the bound reads.
  const std::string longest(kLongestAdifValue, 'W');
  const auto records =
      ReadAll(head + "<ADX><RECORDS><RECORD><CALL>" + longest + "</CALL></RECORD></RECORDS></ADX>");
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].error, "");
  EXPECT_EQ(Field(records[0], AdifField::kCall), longest);
}

}  // namespace
}  // namespace zeltra
