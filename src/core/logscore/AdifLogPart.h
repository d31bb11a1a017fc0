#pragma once

#include <cstddef>
#include <string>

#include "core/logfile/AdifRecord.h"
#include "core/logscore/LogBuilder.h"
#include "core/logscore/LogReading.h"
#include "core/logscore/OwnCalls.h"

namespace zeltra {

// An ADIF log's records read into contacts, one record at a time: the
// whole log, or one of two parts of it read apart and joined.
class AdifLogPart {
 public:
  explicit AdifLogPart(const ReadOptions& options) : builder_(options) {}

  // false: the reading stops at this record (strict reading, or a file
  // whose reading ended).
  bool Take(const AdifRecord& record);

  // Takes in what later read of the records that follow this part's, each
  // renumbered by renumberBy; false, with nothing taken, when it cannot be.
  bool Join(AdifLogPart&& later, std::size_t renumberBy);

  LogContents Finish();

 private:
  LogBuilder builder_;
  OwnCalls ownCalls_;
  Contact contact_;  // its strings keep their room from one record to the next
  std::string problem_;
};

}  // namespace zeltra
