#include "tools/robot/RobotPages.h"

#include <nlohmann/json.hpp>
#include <sstream>

#include "tools/robot/store/Records.h"
#include "tools/score/site/HtmlText.h"
#include "tools/score/site/PageFrame.h"

namespace zeltra::robot {
namespace {

using score::Html;
using Json = nlohmann::json;

constexpr std::size_t kBytesPerKilobyte = 1024;

template <typename Body>
std::string Page(const std::string& title, Body body) {
  std::ostringstream out;
  score::WritePageStart(out, title, "");
  body(out);
  score::WritePageEnd(out);
  return out.str();
}

void Warnings(std::ostream& out, const std::vector<std::string>& lines, const char* caption) {
  if (lines.empty()) return;
  out << "<section aria-labelledby=\"notes\"><h2 id=\"notes\">" << caption << "</h2>\n<ul>\n";
  for (const std::string& line : lines) out << "<li>" << Html(line) << "</li>\n";
  out << "</ul>\n</section>\n";
}

}  // namespace

std::string FormPage(std::size_t maxBytes) {
  return Page("Zeltra RTTY Contest: send your log", [&](std::ostream& out) {
    out << "<p>Send the log your logging program exports, as ADIF or Cabrillo (gzip is fine), "
           "at most "
        << maxBytes / kBytesPerKilobyte
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
    out << "<dl>\n<dt>Receipt</dt><dd>" << kept.id << "</dd>\n<dt>Key</dt><dd><code>"
        << receipt.key
        << "</code> (keep it: only with it can this call's log be replaced)</dd>\n<dt>Call</dt><dd>"
        << Html(kept.facts.call) << "</dd>\n<dt>Categories</dt><dd>"
        << Html(kept.facts.categories) << "</dd>\n<dt>QSOs</dt><dd>" << kept.facts.qsos
        << "</dd>\n<dt>Claimed score</dt><dd>" << Html(kept.facts.claimed.value_or("none"))
        << "</dd>\n<dt>Score before the check</dt><dd>" << kept.facts.score
        << "</dd>\n<dt>Received (UTC)</dt><dd>" << kept.received << "</dd>\n<dt>SHA-256</dt><dd>"
        << kept.facts.sha256 << "</dd>\n";
    if (kept.replaces) out << "<dt>Replaces</dt><dd>receipt " << *kept.replaces << "</dd>\n";
    out << "</dl>\n";
    Warnings(out, warnings, "What you may want to mend");
    out << "<p><a href=\"/\">Send another log</a></p>\n";
  });
}

std::string RefusalPage(int status, const std::vector<std::string>& errors) {
  return Page("Log not received", [&](std::ostream& out) {
    out << "<p role=\"alert\">The log was not received (" << status << "). Mend it and send it "
        << "again:</p>\n<ul>\n";
    for (const std::string& error : errors) out << "<li>" << Html(error) << "</li>\n";
    out << "</ul>\n<p><a href=\"/\">Send the log again</a></p>\n";
  });
}

void WriteReceivedPage(std::ostream& out, const std::vector<KeptLog>& logs) {
  score::WritePageStart(out, "Logs received", "");
  {
    out << "<div class=\"wide\"><table><caption>" << logs.size()
        << " logs received, the latest of each call</caption>\n<thead><tr><th "
           "scope=\"col\">Call</th><th scope=\"col\">Categories</th><th scope=\"col\" "
           "class=\"n\">QSOs</th><th scope=\"col\">Received (UTC)</th></tr></thead>\n"
           "<tbody>\n";
    for (const KeptLog& log : logs)
      out << "<tr><th scope=\"row\">" << Html(log.facts.call) << "</th><td>"
          << Html(log.facts.categories) << "</td><td class=\"n\">" << log.facts.qsos << "</td><td>"
          << log.received << "</td></tr>\n";
    out << "</tbody></table></div>\n<p><a href=\"/\">Send a log</a></p>\n";
  }
  score::WritePageEnd(out);
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

void WriteReceivedJson(std::ostream& out, const std::vector<KeptLog>& logs) {
  out << "{\n  \"logs\": [";
  const char* separator = "\n    ";
  for (const KeptLog& log : logs) {
    const Json row = {{"call", log.facts.call},
                      {"categories", log.facts.categories},
                      {"qsos", log.facts.qsos},
                      {"received", log.received}};
    out << separator << row.dump(-1, ' ', false, Json::error_handler_t::replace);
    separator = ",\n    ";
  }
  out << (logs.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

}  // namespace zeltra::robot
