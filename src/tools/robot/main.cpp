// zeltra-robot: the contest's log-submission robot.
//
//   zeltra-robot serve --data DIR --from T --to T [--listen ADDR:PORT]
//                      [--deadline "YYYY-MM-DD HH:MM"] [--max-bytes N]
//                      [--per-minute N] [--per-address N] [--contest NAME]...
//                      [--smtp URL --mail-from ADDRESS [--mail-retry S]
//                       [--mails-per-address N] [--mails-per-hour N]]
//                      [--trusted-proxy ADDR] [--cty FILE]
//   zeltra-robot export --data DIR --into FOLDER
//   zeltra-robot held --data DIR
//   zeltra-robot accept --data DIR ID
//   zeltra-robot reject --data DIR (ID | --all-held CALL | --all-held-from ADDRESS)
//   zeltra-robot attempts --data DIR [--format csv|json]
//   zeltra-robot versions --data DIR CALL
//   zeltra-robot mails --data DIR

#include <sys/resource.h>

#include <CLI/CLI.hpp>
#include <csignal>
#include <iostream>

#include "core/text/UtcMinute.h"
#include "core/text/Utf8.h"
#include "organiser/reading/CountryFiles.h"
#include "organiser/reading/Unscorable.h"
#include "tools/options/UtcTimeOption.h"
#include "tools/robot/ListenAddress.h"
#include "tools/robot/LogExport.h"
#include "tools/robot/RobotServer.h"
#include "tools/robot/StoreListings.h"
#include "tools/robot/store/HeldDecision.h"

#ifndef ZELTRA_VERSION
#define ZELTRA_VERSION "unknown"
#endif

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
  fs::path exportInto;
  fs::path exportTo;  // --to, the old name of --into
  std::int64_t upload = 0;
  std::string call;
  std::string heldCall;     // reject --all-held
  std::string heldAddress;  // reject --all-held-from
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

// What serve's command line holds beyond the settings themselves.
struct ServeAsked {
  RobotSettings settings;
  std::string listen = "127.0.0.1:8080";
  std::string deadline;
  std::optional<std::string> cty;
  std::string smtp;
  std::string mailFrom;
  int mailRetry = 60;
};

int Serve(ServeAsked asked) {
  RobotSettings& settings = asked.settings;
  const std::string& listen = asked.listen;
  if (!asked.smtp.empty()) settings.smtp = zeltra::robot::SmtpSettings{asked.smtp, asked.mailFrom};
  settings.mailRetry = std::chrono::seconds(asked.mailRetry);
  RaiseDescriptorLimit();
  const zeltra::robot::ListenAddress address = *zeltra::robot::ParseListenAddress(listen);
  settings.host = address.host;
  settings.port = address.port;
  // The option's text is "YYYYMMDDHHMM" by now.
  if (!asked.deadline.empty()) settings.deadline = zeltra::UtcMinuteOf(asked.deadline);
  // The robot is no program an operator runs from its folder: no cty.dat
  // beside it is looked for.
  const auto countries = zeltra::organiser::LoadCountries(asked.cty, "");
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

// serve's options, each into its setting.
CLI::App* DeclareServe(CLI::App& app, ServeAsked& asked) {
  RobotSettings& settings = asked.settings;
  CLI::App* serve = app.add_subcommand("serve", "take logs over HTTP");
  serve->add_option("--data", settings.data, "the robot's data folder")->required();
  serve->add_option("--listen", asked.listen, "the address and port (default 127.0.0.1:8080)")
      ->check(zeltra::robot::kListenAddress);
  serve
      ->add_option("--deadline", asked.deadline,
                   "UTC, \"YYYY-MM-DD HH:MM\": later uploads are refused")
      ->transform(zeltra::tools::UtcTimeOption());
  serve->add_option("--max-bytes", settings.maxBytes, "the largest log taken (default 5 MB)");
  serve->add_option("--per-minute", settings.perMinute,
                    "uploads one address may make in a minute (default 30; 0: no limit)");
  serve
      ->add_option("--per-address", settings.http.perAddress,
                   "connections one address may hold open at once (default 16)")
      ->check(CLI::PositiveNumber);
  serve->add_option("--from", settings.reading.from, "the contest's start, UTC")
      ->transform(zeltra::tools::UtcTimeOption())
      ->required();
  serve->add_option("--to", settings.reading.to, "the contest's end, UTC")
      ->transform(zeltra::tools::UtcTimeOption())
      ->required();
  serve->add_option("--contest", settings.contests,
                    "a name the logs' CONTEST: may give (again for each other name); a log "
                    "naming another contest is refused");
  serve->add_option("--trusted-proxy", settings.trustedProxy,
                    "the address of a reverse proxy in front of the robot (127.0.0.1): its "
                    "requests are the client's its X-Forwarded-For names");
  serve->add_option("--cty", asked.cty, "the country file (as zeltra-score's --cty)");
  zeltra::robot::StoreQuotas& quotas = settings.quotas;
  serve->add_option("--held-per-call", quotas.heldPerCall,
                    "uploads held for one call before more are answered 503 (default 10)");
  serve->add_option("--held-per-address", quotas.heldPerAddress,
                    "uploads held from one address before more are answered 503 (default 20)");
  serve
      ->add_option("--max-data", quotas.dataBytes,
                   "the bytes of the logs kept (not rejected) past which uploads are answered "
                   "503: 2GB by default (a number, or with kB, MB, GB)")
      ->transform(CLI::AsSizeValue(false));
  return serve;
}

// serve's mail options: a server and a sender, each needing the other.
void DeclareMail(CLI::App& serve, ServeAsked& asked) {
  CLI::Option* smtp = serve
                          .add_option("--smtp", asked.smtp,
                                      "mail each receipt through this server: smtp://HOST[:PORT] "
                                      "(STARTTLS when offered) or smtps://HOST[:PORT]")
                          ->check([](const std::string& url) -> std::string {
                            if (url.rfind("smtp://", 0) == 0 || url.rfind("smtps://", 0) == 0)
                              return {};
                            return "an smtp:// or smtps:// URL, not \"" + url + "\"";
                          });
  CLI::Option* from =
      serve.add_option("--mail-from", asked.mailFrom, "the address receipts are mailed from")
          ->check([](const std::string& address) -> std::string {
            if (zeltra::robot::IsMailAddress(address)) return {};
            return "a mail address, not \"" + address + "\"";
          });
  smtp->needs(from);
  from->needs(smtp);
  serve
      .add_option("--mail-retry", asked.mailRetry,
                  "seconds before a mail that failed is tried again, doubled each time "
                  "(default 60)")
      ->check(CLI::Range(1, 3600));
  zeltra::robot::MailCaps& caps = asked.settings.mailCaps;
  serve
      .add_option("--mails-per-address", caps.perRecipient,
                  "mails queued to one address in an hour (default 3)")
      ->check(CLI::Range(1, 1000));
  serve
      .add_option("--mails-per-hour", caps.perHour, "mails queued in all in an hour (default 120)")
      ->check(CLI::Range(1, 100000));
}

// The organiser's commands beside the serving robot.
struct Commands {
  CLI::App* exporting;
  CLI::App* held;
  CLI::App* accept;
  CLI::App* reject;
  CLI::App* attempts;
  CLI::App* versions;
  CLI::App* mails;
};

Commands DeclareCommands(CLI::App& app, Asked& asked) {
  const Commands commands{app.add_subcommand("export", "the current log of each call, to a folder"),
                          app.add_subcommand("held", "the uploads held for the organiser"),
                          app.add_subcommand("accept", "a held upload becomes its call's log"),
                          app.add_subcommand("reject", "a held upload stays out of the check"),
                          app.add_subcommand("attempts", "every upload, accepted, held or refused"),
                          app.add_subcommand("versions", "every upload of one call"),
                          app.add_subcommand("mails", "the mails not sent: waiting or given up")};
  for (CLI::App* command : {commands.exporting, commands.held, commands.accept, commands.reject,
                            commands.attempts, commands.versions, commands.mails})
    command->add_option("--data", asked.data, "the robot's data folder")->required();
  // The folder to fill, by its name or the name it had before.
  CLI::Option_group* folder = commands.exporting->add_option_group("folder");
  folder->add_option("--into", asked.exportInto, "the folder to fill");
  folder->add_option("--to", asked.exportTo, "the old name of --into");
  folder->require_option(1);
  commands.accept->add_option("ID", asked.upload, "the upload's number")->required();
  // One upload, or every one held for a call or from an address.
  CLI::Option_group* which = commands.reject->add_option_group("which");
  which->add_option("ID", asked.upload, "the upload's number");
  which->add_option("--all-held", asked.heldCall, "every upload held for this call");
  which->add_option("--all-held-from", asked.heldAddress,
                    "every upload held from this client address");
  which->require_option(1);
  commands.attempts->add_option("--format", asked.format, "csv (the default) or json")
      ->check(CLI::IsMember({"csv", "json"}));
  commands.versions->add_option("CALL", asked.call, "the call")->required();
  return commands;
}

void Export(const Asked& asked) {
  fs::path into = asked.exportInto;
  if (into.empty()) {
    std::cerr << "zeltra-robot: export --to is now --into; --to goes in the next release\n";
    into = asked.exportTo;
  }
  const zeltra::robot::StoreReader store(asked.data);
  std::cout << zeltra::robot::ExportCurrent(store, into) << " logs exported to " << into.string()
            << "\n";
}

// Runs the organiser's command that was asked for.
void RunCommand(const Commands& commands, const Asked& asked) {
  if (*commands.exporting) {
    Export(asked);
  } else if (*commands.held) {
    zeltra::robot::WriteLogList(std::cout, zeltra::robot::StoreReader(asked.data).Held());
  } else if (*commands.versions) {
    zeltra::robot::WriteLogList(std::cout,
                                zeltra::robot::StoreReader(asked.data).Versions(asked.call));
  } else if (*commands.mails) {
    zeltra::robot::WriteMailList(std::cout, zeltra::robot::StoreReader(asked.data).Unsent());
  } else if (*commands.attempts) {
    const zeltra::robot::StoreReader store(asked.data);
    if (asked.format == "json")
      zeltra::robot::WriteAttemptsJson(std::cout, store);
    else
      zeltra::robot::WriteAttemptsCsv(std::cout, store);
  } else if (*commands.reject && (!asked.heldCall.empty() || !asked.heldAddress.empty())) {
    const auto rejected =
        zeltra::robot::RejectAllHeld(asked.data, asked.heldCall, asked.heldAddress);
    zeltra::robot::WriteLogList(std::cout, rejected);
    std::cout << rejected.size() << " held uploads rejected\n";
  } else {
    Decide(asked, *commands.accept ? zeltra::robot::LogState::kAccepted
                                   : zeltra::robot::LogState::kRejected);
  }
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"The Zeltra RTTY Contest's log-submission robot"};
  app.set_version_flag("--version", std::string("zeltra-robot ") + ZELTRA_VERSION,
                       "the program's version");
  app.require_subcommand(1);
  ServeAsked serving;
  CLI::App* serve = DeclareServe(app, serving);
  DeclareMail(*serve, serving);
  Asked asked;
  const Commands commands = DeclareCommands(app, asked);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error) == 0 ? 0 : kUsageError;
  }
  try {
    if (*serve) return Serve(serving);
    RunCommand(commands, asked);
  } catch (const zeltra::organiser::Unscorable& problem) {
    std::cerr << "zeltra-robot: " << problem.message << "\n";
    return 1;
  } catch (const std::exception& problem) {
    std::cerr << "zeltra-robot: " << problem.what() << "\n";
    return 1;
  }
  return 0;
}
