#include "organiser/results/ResultsWriter.h"

#include "organiser/results/JsonLogs.h"
#include "organiser/results/ResultsOutput.h"

namespace zeltra::organiser {
namespace {

class TextResults : public ResultsWriter {
 public:
  void AddContact(const LogResult& log, const ContactRow& row,
                  RowSpool::Rows& rows) const override {
    rows.Add(ContactTextLine(log, row));
  }
  void Write(std::ostream& out, const std::vector<LogResult>& logs, const std::vector<NotScored>&,
             bool single, const RowSpool& rows) const override {
    if (!single) return WriteResultsText(out, logs);
    // A log that could not be scored has no table, nor a file that is no
    // log at all: the reason was told.
    if (logs.empty() || logs.front().Failed()) return;
    WriteSingleLogText(out, logs.front(), rows);
  }
};

class CsvResults : public ResultsWriter {
 public:
  explicit CsvResults(bool contacts) : contacts_(contacts) {}
  void AddContact(const LogResult& log, const ContactRow& row,
                  RowSpool::Rows& rows) const override {
    rows.Add(ContactCsvLine(log, row));
  }
  void Write(std::ostream& out, const std::vector<LogResult>& logs, const std::vector<NotScored>&,
             bool, const RowSpool& rows) const override {
    if (contacts_) return WriteContactsCsv(out, logs, rows);
    WriteResultsCsv(out, logs);
  }

 private:
  bool contacts_;
};

class JsonResults : public ResultsWriter {
 public:
  explicit JsonResults(bool contacts) : contacts_(contacts), separator_(JsonLogs::RowSeparator()) {}
  void AddContact(const LogResult&, const ContactRow& row, RowSpool::Rows& rows) const override {
    rows.Add(ContactJson(row), separator_);
  }
  void Write(std::ostream& out, const std::vector<LogResult>& logs,
             const std::vector<NotScored>& notScored, bool, const RowSpool& rows) const override {
    WriteResultsJson(out, logs, notScored, contacts_ ? &rows : nullptr);
  }

 private:
  bool contacts_;
  std::string separator_;  // between two contacts, made once
};

}  // namespace

std::unique_ptr<ResultsWriter> ResultsWriterFor(const OutputSettings& settings) {
  switch (settings.format) {
    case Format::kCsv:
      return std::make_unique<CsvResults>(settings.contacts);
    case Format::kJson:
      return std::make_unique<JsonResults>(settings.contacts);
    case Format::kText:
      break;
  }
  return std::make_unique<TextResults>();
}

}  // namespace zeltra::organiser
