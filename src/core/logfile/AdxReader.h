#pragma once

#include <cstddef>
#include <deque>
#include <istream>
#include <memory>
#include <string>

#include "core/logfile/AdifRecord.h"

namespace zeltra {

// Reads ADX, the XML form of ADIF 3.1, a record at a time in chunks:
// <ADX><HEADER>...</HEADER><RECORDS><RECORD><CALL>W1AW</CALL>...</RECORD>
// </RECORDS></ADX>. Element names in any letter case; APP and USERDEF
// fields and unknown fields are skipped. A document type declaration is
// refused (no entity can grow the text), and so is a kept value longer
// than kLongestAdifValue. XML that is not well formed ends the reading
// with an error in the record it was found in, marked as ending it.
class AdxReader : public AdifRecordSource {
 public:
  explicit AdxReader(std::istream& in);
  ~AdxReader() override;
  AdxReader(const AdxReader&) = delete;
  AdxReader& operator=(const AdxReader&) = delete;

  bool Next(AdifRecord& record) override;

 private:
  struct Parser;
  std::istream& in_;
  std::unique_ptr<Parser> parser_;
  std::deque<AdifRecord> ready_;
  bool finished_ = false;
};

}  // namespace zeltra
