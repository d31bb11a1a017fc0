#include "organiser/results/ReportFiles.h"

#include <filesystem>
#include <string>

#include "core/parallel/RunInOrder.h"
#include "organiser/files/FileNames.h"
#include "organiser/files/ReportNames.h"
#include "organiser/results/CheckReport.h"

namespace zeltra::organiser {

namespace fs = std::filesystem;

bool WriteReports(const ReportSettings& settings, const std::vector<CheckedLog>& logs,
                  const LogCheck& check, const InputFiles& reads, Diagnostics& diagnostics) {
  std::error_code error;
  fs::create_directories(PathOf(settings.folder), error);
  if (error)
    throw OutputFailure("cannot make the folder " + settings.folder + ": " + error.message());
  ReportNames names;
  std::vector<std::string> fileNames(logs.size());
  // A log joined to another of its station is reported in that one's report.
  const auto reported = [&](std::size_t i) {
    return logs[i].IsChecked() && logs[i].joinedTo == nullptr;
  };
  for (std::size_t i = 0; i < logs.size(); ++i)
    if (reported(i)) fileNames[i] = names.For(logs[i].log.callSign, ".txt");
  bool allWritten = true;
  const std::vector<CopiesOfEntrant> copies = CopiesByOthers(logs, check);
  const LogsHolding holding = check.LogsHoldingEachCall();
  const PositionWords words = PositionWordsOf(logs, check);
  // The reports are made on every core and written in the logs' order.
  RunInOrder<std::string>(
      logs.size(), settings.jobs,
      [&](std::size_t i) {
        return reported(i) ? CheckReportText(CheckReportOf(logs[i], check, copies, holding, words,
                                                           settings.scores),
                                             *logs[i].checked)
                           : std::string();
      },
      [&](std::size_t i, std::string&& report) {
        if (!reported(i)) return;
        try {
          WriteWholeFile(NameOf(PathOf(settings.folder) / PathOf(fileNames[i])), report, reads);
        } catch (const OutputFailure& failure) {
          diagnostics.Failure("the report of " + logs[i].log.callSign +
                              " is not written: " + failure.what());
          allWritten = false;
        }
      });
  return allWritten;
}

}  // namespace zeltra::organiser
