#include "tools/robot/StoreListings.h"

#include <nlohmann/json.hpp>

#include "core/text/Utf8.h"
#include "organiser/results/TextColumns.h"
#include "tools/robot/store/Records.h"

namespace zeltra::robot {
namespace {

using Json = nlohmann::json;

std::string NumberOrNone(const std::optional<std::int64_t>& number) {
  return number ? std::to_string(*number) : "";
}

}  // namespace

void WriteLogList(std::ostream& out, const std::vector<KeptLog>& logs) {
  out << "upload\tstate\tcall\treceived (UTC)\tqsos\tbytes\taddress\treplaces\tsha256\n";
  for (const KeptLog& log : logs)
    out << log.id << "\t" << StateName(log.state) << "\t" << Printable(log.facts.call) << "\t"
        << log.received << "\t" << log.facts.qsos << "\t" << log.bytes << "\t"
        << Printable(log.address) << "\t" << NumberOrNone(log.replaces) << "\t" << log.facts.sha256
        << "\n";
}

void WriteMailList(std::ostream& out, const std::vector<UnsentMail>& mails) {
  out << "mail\tstate\tto\tupload\tqueued (UTC)\ttries\tsubject\tlast failure\n";
  for (const UnsentMail& mail : mails)
    out << mail.id << "\t" << (mail.givenUp ? "given up" : "waiting") << "\t"
        << Printable(mail.recipient) << "\t" << mail.log << "\t" << mail.queued << "\t"
        << mail.tries << "\t" << Printable(mail.subject) << "\t" << Printable(mail.why) << "\n";
}

void WriteAttemptsCsv(std::ostream& out, const StoreReader& store) {
  out << organiser::CsvLine({"id", "time", "address", "outcome", "status", "call", "bytes",
                             "sha256", "upload", "reason", "count"});
  store.EachAttempt([&](const Attempt& attempt) {
    out << organiser::CsvLine(
        {std::to_string(attempt.id), attempt.time, attempt.address, OutcomeName(attempt.outcome),
         std::to_string(attempt.status), attempt.call, std::to_string(attempt.bytes),
         attempt.sha256, NumberOrNone(attempt.log), attempt.reason, std::to_string(attempt.count)});
  });
}

void WriteAttemptsJson(std::ostream& out, const StoreReader& store) {
  out << "{\n  \"attempts\": [";
  const char* separator = "\n    ";
  bool any = false;
  store.EachAttempt([&](const Attempt& attempt) {
    const Json row = {{"id", attempt.id},
                      {"time", attempt.time},
                      {"address", attempt.address},
                      {"outcome", OutcomeName(attempt.outcome)},
                      {"status", attempt.status},
                      {"call", attempt.call},
                      {"bytes", attempt.bytes},
                      {"sha256", attempt.sha256},
                      {"upload", attempt.log ? Json(*attempt.log) : Json(nullptr)},
                      {"reason", attempt.reason},
                      {"count", attempt.count}};
    out << separator << row.dump(-1, ' ', false, Json::error_handler_t::replace);
    separator = ",\n    ";
    any = true;
  });
  out << (any ? "\n  ]\n}\n" : "]\n}\n");
}

}  // namespace zeltra::robot
