#pragma once

#include <memory>
#include <ostream>
#include <vector>

#include "organiser/results/OutputSettings.h"
#include "organiser/results/RowSpool.h"
#include "organiser/scoring/LogResult.h"

namespace zeltra::organiser {

// How the results of a run are written, one writer per output format,
// chosen once from the settings: every run over logs, from files or from a
// database, writes through it.
class ResultsWriter {
 public:
  virtual ~ResultsWriter() = default;
  // One contact of a log as this format lists it (--contacts), added to the
  // log's rows as it is scored.
  virtual void AddContact(const LogResult& log, const ContactRow& row,
                          RowSpool::Rows& rows) const = 0;
  // single: one log was asked for (not a folder or several logs), so text
  // shows its table and score line rather than a ranking.
  virtual void Write(std::ostream& out, const std::vector<LogResult>& logs,
                     const std::vector<NotScored>& notScored, bool single,
                     const RowSpool& rows) const = 0;
};

// The writer of the format the settings name; with contacts, the one that
// lists each contact.
std::unique_ptr<ResultsWriter> ResultsWriterFor(const OutputSettings& settings);

}  // namespace zeltra::organiser
