#include "tools/robot/RobotPages.h"

#include <nlohmann/json.hpp>
#include <sstream>

#include "organiser/site/HtmlText.h"
#include "organiser/site/PageFrame.h"
#include "tools/robot/UploadCheck.h"
#include "tools/robot/store/Records.h"

namespace zeltra::robot {
namespace {

using organiser::Html;
using Json = nlohmann::json;

constexpr std::size_t kBytesPerKilobyte = 1024;
constexpr int kBadRequest = 400;
constexpr int kUnsupportedType = 415;

template <typename Body>
std::string Page(const std::string& title, Body body) {
  std::ostringstream out;
  organiser::WritePageStart(out, title);
  body(out);
  organiser::WritePageEnd(out);
  return out.str();
}

void Warnings(std::ostream& out, const std::vector<std::string>& lines, const char* caption) {
  if (lines.empty()) return;
  out << "<section aria-labelledby=\"notes\"><h2 id=\"notes\">" << caption << "</h2>\n<ul>\n";
  for (const std::string& line : lines) out << "<li>" << Html(line) << "</li>\n";
  out << "</ul>\n</section>\n";
}

}  // namespace

std::string FormPage(const FormFacts& facts) {
  return Page("Zeltra RTTY Contest: send your log", [&](std::ostream& out) {
    out << "<p>The contest: " << Html(facts.from) << " to " << Html(facts.to) << " UTC.";
    if (facts.deadline) out << " Logs are taken until " << Html(*facts.deadline) << " UTC.";
    out << "</p>\n";
    if (facts.closed) {
      out << "<p role=\"status\">The robot is closed: the deadline for logs has passed. Write "
             "to the organiser if your log is late.</p>\n<p><a href=\"/received\">The logs "
             "received</a></p>\n";
      return;
    }
    out << "<p>Send the log your logging program exports, as ADIF or Cabrillo (gzip is fine), "
           "at most "
        << facts.maxBytes / kBytesPerKilobyte
        << " KB. It is read at once: you see what it holds, or what to mend.</p>\n"
           "<form method=\"post\" action=\"/upload\" enctype=\"multipart/form-data\">\n"
           "<p><label for=\"log\">Your log</label> <input type=\"file\" id=\"log\" name=\"log\" "
           "required></p>\n"
           "<p><label for=\"key\">Key from your receipt</label> <input type=\"text\" "
           "id=\"key\" name=\"key\" autocomplete=\"off\" spellcheck=\"false\" "
           "aria-describedby=\"key-note\"></p>\n<p id=\"key-note\">Only to replace a log "
           "you sent before: each receipt gives a key. A new log for a call without its key "
           "is held until the organiser decides.</p>\n"
           "<p><button type=\"submit\">Send the log</button></p>\n</form>\n"
           "<p><a href=\"/received\">The logs received so far</a></p>\n";
  });
}

std::string ReceiptPage(const Receipt& receipt, const std::vector<std::string>& warnings) {
  const KeptLog& kept = receipt.log;
  const bool held = kept.state == LogState::kHeld;
  return Page((held ? "Log held: " : "Log received: ") + kept.facts.call, [&](std::ostream& out) {
    if (held)
      out << "<p role=\"status\">A log of " << Html(kept.facts.call)
          << " was received before, and this one came without its key. It is kept, but held: "
             "the log received before stays the one checked until the organiser decides. If "
             "it is yours, send it again with the key from your first receipt, or write to "
             "the organiser.</p>\n";
    else
      out << "<p role=\"status\">Thank you: the log of " << Html(kept.facts.call)
          << " is received and kept.</p>\n";
    out << "<dl>\n<dt>Receipt</dt><dd>" << kept.id << "</dd>\n<dt>Key</dt><dd><code>" << receipt.key
        << "</code> (keep it: only with it can this call's log be replaced)</dd>\n<dt>Call</dt><dd>"
        << Html(kept.facts.call) << "</dd>\n<dt>Categories</dt><dd>" << Html(kept.facts.categories)
        << "</dd>\n<dt>QSOs</dt><dd>" << kept.facts.qsos << "</dd>\n<dt>Claimed score</dt><dd>"
        << Html(kept.facts.claimed.value_or("none")) << "</dd>\n<dt>Score before the check</dt><dd>"
        << kept.facts.score << "</dd>\n<dt>Received (UTC)</dt><dd>" << kept.received
        << "</dd>\n<dt>SHA-256</dt><dd>" << kept.facts.sha256 << "</dd>\n";
    if (kept.replaces) out << "<dt>Replaces</dt><dd>receipt " << *kept.replaces << "</dd>\n";
    out << "</dl>\n";
    Warnings(out, warnings, "What you may want to mend");
    out << "<p><a href=\"/\">Send another log</a></p>\n";
  });
}

std::string RefusalPage(int status, const std::vector<std::string>& errors) {
  return Page("Log not received", [&](std::ostream& out) {
    // What the entrant can mend, and what only time or the organiser can.
    const bool mendable = status == kBadRequest || status == kTooLarge ||
                          status == kUnsupportedType || status == kUnprocessable;
    out << "<p role=\"alert\">The log was not received (" << status << ")"
        << (mendable ? ". Mend it and send it again:" : ":") << "</p>\n<ul>\n";
    for (const std::string& error : errors) out << "<li>" << Html(error) << "</li>\n";
    out << "</ul>\n<p><a href=\"/\">Send the log again</a></p>\n";
  });
}

std::string ReceivedPageHead(std::size_t count) {
  std::ostringstream out;
  organiser::WritePageStart(out, "Logs received");
  organiser::WriteWideStart(out, std::to_string(count) + " logs received");
  out << "<table><caption>" << count
      << " logs received, the latest of each call</caption>\n<thead><tr><th "
         "scope=\"col\">Call</th><th scope=\"col\">Categories</th><th scope=\"col\" "
         "class=\"n\">QSOs</th><th scope=\"col\">Received (UTC)</th></tr></thead>\n"
         "<tbody>\n";
  return out.str();
}

std::string ReceivedPageRow(const KeptLog& log) {
  std::ostringstream out;
  out << "<tr><th scope=\"row\">" << Html(log.facts.call) << "</th><td>"
      << Html(log.facts.categories) << "</td><td class=\"n\">" << log.facts.qsos << "</td><td>"
      << log.received << "</td></tr>\n";
  return out.str();
}

std::string ReceivedPageTail() {
  std::ostringstream out;
  out << "</tbody></table></div>\n<p><a href=\"/\">Send a log</a></p>\n";
  organiser::WritePageEnd(out);
  return out.str();
}

void WriteReceivedPage(std::ostream& out, const std::vector<KeptLog>& logs) {
  out << ReceivedPageHead(logs.size());
  for (const KeptLog& log : logs) out << ReceivedPageRow(log);
  out << ReceivedPageTail();
}

std::string NotFoundPage() {
  return Page("Not here", [](std::ostream& out) {
    out << "<p role=\"alert\">The robot has no page here.</p>\n<p><a href=\"/\">Send a "
           "log</a></p>\n";
  });
}

std::string ReceiptJson(const Receipt& given, const std::vector<std::string>& warnings) {
  const KeptLog& kept = given.log;
  Json receipt = {{"status", StateName(kept.state)},
                  {"key", given.key},
                  {"id", kept.id},
                  {"call", kept.facts.call},
                  {"categories", kept.facts.categories},
                  {"qsos", kept.facts.qsos},
                  {"claimed", kept.facts.claimed ? Json(*kept.facts.claimed) : Json(nullptr)},
                  {"score", kept.facts.score},
                  {"sha256", kept.facts.sha256},
                  {"received", kept.received},
                  {"replaces", kept.replaces ? Json(*kept.replaces) : Json(nullptr)},
                  {"warnings", warnings}};
  return receipt.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string RefusalJson(const std::vector<std::string>& errors) {
  return Json{{"status", "refused"}, {"errors", errors}}.dump(2, ' ', false,
                                                              Json::error_handler_t::replace) +
         "\n";
}

std::string ReceivedJsonHead() {
  return "{\n  \"logs\": [";
}

std::string ReceivedJsonRow(const KeptLog& log, bool first) {
  const Json row = {{"call", log.facts.call},
                    {"categories", log.facts.categories},
                    {"qsos", log.facts.qsos},
                    {"received", log.received}};
  return (first ? "\n    " : ",\n    ") + row.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string ReceivedJsonTail(bool empty) {
  return empty ? "]\n}\n" : "\n  ]\n}\n";
}

void WriteReceivedJson(std::ostream& out, const std::vector<KeptLog>& logs) {
  out << ReceivedJsonHead();
  for (std::size_t row = 0; row < logs.size(); ++row) out << ReceivedJsonRow(logs[row], row == 0);
  out << ReceivedJsonTail(logs.empty());
}

}  // namespace zeltra::robot
