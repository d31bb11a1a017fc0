#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "core/logscore/LogReading.h"

namespace zeltra {

// Collects a log's contacts, what is left out of them and what is wrong,
// as its lines or records are read.
class LogBuilder {
 public:
  explicit LogBuilder(const ReadOptions& options) : options_(options) {}

  void Warn(std::size_t position, std::string message, ProblemKind kind);
  // Lines skipped beyond those told one by one: counted only.
  void CountSkipped(std::size_t count) { log_.skippedCount += count; }
  // false: strict reading stops here.
  bool Skip(std::size_t position, std::string message,
            std::optional<PartOfLine> part = std::nullopt);
  // The contact is placed in its country on the way (countryName: the
  // log's name for it, if any); its caller may fill it again for the next.
  void Add(std::size_t position, Contact& contact, std::string_view countryName,
           QsoDetails details);

  // Takes in what later collected from the lines or records that follow
  // this one's, each renumbered by renumberBy: as if this one had read them.
  void Join(LogBuilder&& later, std::size_t renumberBy);

  LogContents Finish();
  LogContents& log() { return log_; }
  const ReadOptions& options() const { return options_; }

 private:
  std::optional<LeftOutReason> LeftOutBecause(const Contact& contact,
                                              const std::string& when) const;
  // The continent and DXCC prefix of a contact: given ones first, then the
  // country file's; a warning where neither says.
  void PlaceContact(Contact& contact, std::string_view countryName, std::size_t position);
  void WarnOfLongTexts(const Contact& contact, std::size_t position);

  const ReadOptions& options_;
  LogContents log_;
  std::map<LeftOutReason, std::size_t> reasonPlace_;  // its place in log_.leftOutReasons
  std::size_t noCountry_ = 0;
};

}  // namespace zeltra
