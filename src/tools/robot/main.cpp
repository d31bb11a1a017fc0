// zeltra-robot: the contest's log-submission robot.
//
//   zeltra-robot serve --data DIR --from T --to T [--listen ADDR:PORT]
//                      [--deadline "YYYY-MM-DD HH:MM"] [--max-bytes N]
//                      [--per-minute N] [--per-address N] [--contest NAME]...
//                      [--smtp URL --mail-from ADDRESS [--mail-retry S]]
//                      [--trusted-proxy ADDR] [--cty FILE]
//   zeltra-robot export --data DIR --to FOLDER
//   zeltra-robot held --data DIR
//   zeltra-robot accept --data DIR ID      zeltra-robot reject --data DIR ID
//   zeltra-robot attempts --data DIR [--format csv|json]
//   zeltra-robot versions --data DIR CALL

#include <sys/resource.h>

#include <CLI/CLI.hpp>
#include <csignal>
#include <iostream>

#include "core/text/UtcMinute.h"
#include "core/text/Utf8.h"
#include "tools/robot/ListenAddress.h"
#include "tools/robot/LogExport.h"
#include "tools/robot/RobotServer.h"
#include "tools/robot/StoreListings.h"
#include "tools/robot/store/HeldDecision.h"
#include "tools/score/CountryFiles.h"
#include "tools/score/Unscorable.h"
#include "tools/score/UtcTimeOption.h"

namespace {

namespace fs = std::filesystem;
using zeltra::robot::RobotServer;
using zeltra::robot::RobotSettings;

RobotServer* running = nullptr;

extern "C" void StopServing(int) {
  if (running != nullptr) running->Stop();
}

constexpr int kUsageError = 2;  // as zeltra-score

// What the organiser asked of the data folder, beside the serving robot.
struct Asked {
  fs::path data;
  fs::path exportTo;
  std::int64_t upload = 0;
  std::string call;
  std::string format = "csv";
};

// Every connection is a descriptor: as many as the system lets the robot
// have, so that its own connection limit is the one reached.
void RaiseDescriptorLimit() {
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) != 0) return;
  files.rlim_cur = files.rlim_max;
  setrlimit(RLIMIT_NOFILE, &files);
}

int Serve(RobotSettings settings, const std::string& listen, const std::string& deadline,
          const std::string& cty) {
  RaiseDescriptorLimit();
  const zeltra::robot::ListenAddress address = *zeltra::robot::ParseListenAddress(listen);
  settings.host = address.host;
  settings.port = address.port;
  // The option's text is "YYYYMMDDHHMM" by now.
  if (!deadline.empty()) settings.deadline = zeltra::UtcMinuteOf(deadline);
  if (!cty.empty()) settings.scoring.countryFile = cty;
  const auto countries = zeltra::score::LoadCountries(settings.scoring);
  RobotServer server(settings, countries ? &*countries : nullptr);
  const auto port = server.Bind();
  if (!port) {
    std::cerr << "zeltra-robot: cannot listen on " << listen
              << " (in use, or not an address of this machine)\n";
    return 1;
  }
  std::cout << "zeltra-robot: listening on " << listen.substr(0, listen.rfind(':')) << ":" << *port
            << std::endl;
  running = &server;
  std::signal(SIGTERM, StopServing);
  std::signal(SIGINT, StopServing);
  server.Serve();
  running = nullptr;
  return 0;
}

void Decide(const Asked& asked, zeltra::robot::LogState decision) {
  const zeltra::robot::KeptLog log = zeltra::robot::DecideHeld(asked.data, asked.upload, decision);
  std::cout << "upload " << log.id << " of " << zeltra::Printable(log.facts.call) << ": "
            << zeltra::robot::StateName(log.state);
  if (log.replaces) std::cout << ", in place of upload " << *log.replaces;
  std::cout << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"The Zeltra RTTY Contest's log-submission robot"};
  app.require_subcommand(1);
  RobotSettings settings;
  std::string listen = "127.0.0.1:8080";
  std::string deadline;
  std::string cty;
  CLI::App* serve = app.add_subcommand("serve", "take logs over HTTP");
  serve->add_option("--data", settings.data, "the robot's data folder")->required();
  serve->add_option("--listen", listen, "the address and port (default 127.0.0.1:8080)")
      ->check(zeltra::robot::kListenAddress);
  serve->add_option("--deadline", deadline, "UTC, \"YYYY-MM-DD HH:MM\": later uploads are refused")
      ->transform(zeltra::score::UtcTimeOption());
  serve->add_option("--max-bytes", settings.maxBytes, "the largest log taken (default 5 MB)");
  serve->add_option("--per-minute", settings.perMinute,
                    "uploads one address may make in a minute (default 30; 0: no limit)");
  serve
      ->add_option("--per-address", settings.http.perAddress,
                   "connections one address may hold open at once (default 16)")
      ->check(CLI::PositiveNumber);
  serve->add_option("--from", settings.scoring.from, "the contest's start, UTC")
      ->transform(zeltra::score::UtcTimeOption())
      ->required();
  serve->add_option("--to", settings.scoring.to, "the contest's end, UTC")
      ->transform(zeltra::score::UtcTimeOption())
      ->required();
  serve->add_option("--contest", settings.contests,
                    "a name the logs' CONTEST: may give (again for each other name); a log "
                    "naming another contest is refused");
  std::string smtp;
  std::string mailFrom;
  int mailRetry = 60;
  CLI::Option* smtpOption =
      serve
          ->add_option("--smtp", smtp,
                       "mail each receipt through this server: smtp://HOST[:PORT] "
                       "(STARTTLS when offered) or smtps://HOST[:PORT]")
          ->check([](const std::string& url) -> std::string {
            if (url.rfind("smtp://", 0) == 0 || url.rfind("smtps://", 0) == 0) return {};
            return "an smtp:// or smtps:// URL, not \"" + url + "\"";
          });
  CLI::Option* fromOption =
      serve->add_option("--mail-from", mailFrom, "the address receipts are mailed from")
          ->check([](const std::string& address) -> std::string {
            if (zeltra::robot::IsMailAddress(address)) return {};
            return "a mail address, not \"" + address + "\"";
          });
  smtpOption->needs(fromOption);
  fromOption->needs(smtpOption);
  serve
      ->add_option("--mail-retry", mailRetry,
                   "seconds before a mail that failed is tried again, doubled each time "
                   "(default 60)")
      ->check(CLI::Range(1, 3600));
  serve->add_option("--trusted-proxy", settings.trustedProxy,
                    "the address of a reverse proxy in front of the robot (127.0.0.1): its "
                    "requests are the client's its X-Forwarded-For names");
  serve->add_option("--cty", cty, "the country file (as zeltra-score's --cty)");

  Asked asked;
  CLI::App* exporting = app.add_subcommand("export", "the current log of each call, to a folder");
  CLI::App* held = app.add_subcommand("held", "the uploads held for the organiser");
  CLI::App* accept = app.add_subcommand("accept", "a held upload becomes its call's log");
  CLI::App* reject = app.add_subcommand("reject", "a held upload stays out of the check");
  CLI::App* attempts = app.add_subcommand("attempts", "every upload, accepted, held or refused");
  CLI::App* versions = app.add_subcommand("versions", "every upload of one call");
  for (CLI::App* command : {exporting, held, accept, reject, attempts, versions})
    command->add_option("--data", asked.data, "the robot's data folder")->required();
  exporting->add_option("--to", asked.exportTo, "the folder to fill")->required();
  for (CLI::App* command : {accept, reject})
    command->add_option("ID", asked.upload, "the upload's number")->required();
  attempts->add_option("--format", asked.format, "csv (the default) or json")
      ->check(CLI::IsMember({"csv", "json"}));
  versions->add_option("CALL", asked.call, "the call")->required();
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error) == 0 ? 0 : kUsageError;
  }
  try {
    if (*serve) {
      if (!smtp.empty()) settings.smtp = zeltra::robot::SmtpSettings{smtp, mailFrom};
      settings.mailRetry = std::chrono::seconds(mailRetry);
      return Serve(settings, listen, deadline, cty);
    }
    if (*exporting) {
      const zeltra::robot::StoreReader store(asked.data);
      std::cout << zeltra::robot::ExportCurrent(store, asked.exportTo) << " logs exported to "
                << asked.exportTo.string() << "\n";
    } else if (*held) {
      zeltra::robot::WriteLogList(std::cout, zeltra::robot::StoreReader(asked.data).Held());
    } else if (*versions) {
      zeltra::robot::WriteLogList(std::cout,
                                  zeltra::robot::StoreReader(asked.data).Versions(asked.call));
    } else if (*attempts) {
      const zeltra::robot::StoreReader store(asked.data);
      if (asked.format == "json")
        zeltra::robot::WriteAttemptsJson(std::cout, store);
      else
        zeltra::robot::WriteAttemptsCsv(std::cout, store);
    } else {
      Decide(asked,
             *accept ? zeltra::robot::LogState::kAccepted : zeltra::robot::LogState::kRejected);
    }
  } catch (const zeltra::score::Unscorable& problem) {
    std::cerr << "zeltra-robot: " << problem.message << "\n";
    return 1;
  } catch (const std::exception& problem) {
    std::cerr << "zeltra-robot: " << problem.what() << "\n";
    return 1;
  }
  return 0;
}
