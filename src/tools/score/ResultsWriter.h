#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/score/LogResult.h"
#include "tools/score/ResultsOutput.h"
#include "tools/score/ScoreOptions.h"

namespace zeltra::score {

// How the results of a run are written, one writer per output format,
// chosen once from the options: every run over logs, from files or from a
// database, writes through it.
class ResultsWriter {
 public:
  virtual ~ResultsWriter() = default;
  // single: one log was asked for (not a folder or several logs), so text
  // shows its table and score line rather than a ranking.
  virtual std::string Write(const std::vector<LogResult>& logs,
                            const std::vector<NotScored>& notScored, bool single) const = 0;
};

// The writer of the format the options name; with --contacts, the one that
// lists each contact.
std::unique_ptr<ResultsWriter> ResultsWriterFor(const ScoreOptions& options);

}  // namespace zeltra::score
