#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "core/logfile/AdifRecord.h"

namespace zeltra::testing {

// Every record a reader (AdifReader, AdxReader) makes of a text.
template <class Reader>
std::vector<AdifRecord> RecordsOf(const std::string& text) {
  std::istringstream in(text);
  Reader reader(in);
  std::vector<AdifRecord> records;
  AdifRecord record;
  while (reader.Next(record)) records.push_back(record);
  return records;
}

// A field's value, or "<none>" when the record has none.
inline std::string Field(const AdifRecord& record, AdifField field) {
  return std::string(record[field].value_or("<none>"));
}

}  // namespace zeltra::testing
