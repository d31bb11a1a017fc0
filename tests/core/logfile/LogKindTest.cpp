#include "core/logfile/LogKind.h"

#include <gtest/gtest.h>

#include <string>

namespace zeltra {
namespace {

TEST(LogKind, KnownByContentNotByName) {
  struct Case {
    const char* name;
    std::string start;
    LogKind kind;
    std::size_t logStart = 0;
    bool textBefore = false;
    std::size_t linesBefore = 0;
  };
  const Case cases[] = {
      {"ADIF with a header", "Exported by X <ADIF_VER:5>3.1.4 <EOH>\n<CALL:4>W1AW<EOR>",
       LogKind::kAdif},
      {"ADIF, lower case, no header", "<call:4>W1AW <band:3>20m <eor>", LogKind::kAdif},
      {"ADIF, a typed field only", "<call:4:s>W1AW", LogKind::kAdif},
      {"ADIF after a byte-order mark", "\xEF\xBB\xBF<CALL:4>W1AW<EOR>", LogKind::kAdif},
      {"Cabrillo", "START-OF-LOG: 3.0\nCALLSIGN: SP5XYZ\n", LogKind::kCabrillo},
      {"Cabrillo in lower case, indented", "  start-of-log: 2.0\r\n", LogKind::kCabrillo},
      {"Cabrillo after a byte-order mark", "\xEF\xBB\xBFSTART-OF-LOG: 3.0\n", LogKind::kCabrillo,
       3},
      {"Cabrillo after a web form's text", "Paste your log:\r\n\r\nSTART-OF-LOG: 3.0\r\n",
       LogKind::kCabrillo, 19, true, 2},
      {"Cabrillo after a web form's text with CR line ends",
       "Paste your log:\r\rSTART-OF-LOG: 3.0\r", LogKind::kCabrillo, 17, true, 2},
      {"START-OF-LOG: inside a line is no start", "see START-OF-LOG: below", LogKind::kNotALog},
      {"ADX", "<?xml version=\"1.0\"?>\n<ADX><HEADER/></ADX>", LogKind::kAdx},
      {"ADX without a declaration", "\n<adx><records/></adx>", LogKind::kAdx},
      {"other XML", "<?xml version=\"1.0\"?><html><body>log</body></html>", LogKind::kNotALog},
      {"UTF-16 little-endian", std::string("\xFF\xFE<\0C\0", 6), LogKind::kUtf16},
      {"UTF-16 big-endian", std::string("\xFE\xFF\0<\0C", 6), LogKind::kUtf16},
      {"a README", "My log is attached. 73!\n", LogKind::kNotALog},
      {"HTML", "<html><head><title>Log</title></head></html>", LogKind::kNotALog},
      {"a tag without a length", "<b>bold</b> <CALL:x>", LogKind::kNotALog},
      {"empty", "", LogKind::kNotALog},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const KnownLog known = KnowLog(c.start);
    EXPECT_EQ(known.kind, c.kind);
    EXPECT_EQ(known.start, c.logStart);
    EXPECT_EQ(known.textBefore, c.textBefore);
    EXPECT_EQ(known.linesBefore, c.linesBefore);
  }
}

TEST(LogKind, OnlyTheWindowCounts) {
  const std::string tag = "<EOR>";
  const std::string inside = std::string(kLogKindWindow - tag.size(), ' ') + tag;
  EXPECT_EQ(KnowLog(inside).kind, LogKind::kAdif);
  EXPECT_EQ(KnowLog(" " + inside).kind, LogKind::kNotALog);
}

}  // namespace
}  // namespace zeltra
