#include "tools/score/ResultsWriter.h"

namespace zeltra::score {
namespace {

class TextResults : public ResultsWriter {
 public:
  explicit TextResults(bool contacts) : contacts_(contacts) {}
  std::string Write(const std::vector<LogResult>& logs, const std::vector<NotScored>&,
                    bool single) const override {
    if (!single) return ResultsText(logs);
    // A log that could not be scored has no table, nor a file that is no
    // log at all: the reason was told.
    if (logs.empty() || logs.front().failed()) return {};
    return SingleLogText(logs.front(), contacts_);
  }

 private:
  bool contacts_;
};

class CsvResults : public ResultsWriter {
 public:
  explicit CsvResults(bool contacts) : contacts_(contacts) {}
  std::string Write(const std::vector<LogResult>& logs, const std::vector<NotScored>&,
                    bool) const override {
    return contacts_ ? ContactsCsv(logs) : ResultsCsv(logs);
  }

 private:
  bool contacts_;
};

class JsonResults : public ResultsWriter {
 public:
  explicit JsonResults(bool contacts) : contacts_(contacts) {}
  std::string Write(const std::vector<LogResult>& logs, const std::vector<NotScored>& notScored,
                    bool) const override {
    return ResultsJson(logs, notScored, contacts_);
  }

 private:
  bool contacts_;
};

}  // namespace

std::unique_ptr<ResultsWriter> ResultsWriterFor(const ScoreOptions& options) {
  switch (options.format) {
    case Format::kCsv:
      return std::make_unique<CsvResults>(options.contacts);
    case Format::kJson:
      return std::make_unique<JsonResults>(options.contacts);
    case Format::kText:
      break;
  }
  return std::make_unique<TextResults>(options.contacts);
}

}  // namespace zeltra::score
