// zeltra-robot: the contest's log-submission robot.
//
//   zeltra-robot serve --data DIR [--listen ADDR:PORT] [--deadline "YYYY-MM-DD HH:MM"]
//                      [--max-bytes N] [--per-minute N] [--from T --to T] [--cty FILE]
//   zeltra-robot export --data DIR --to FOLDER

#include <CLI/CLI.hpp>
#include <csignal>
#include <iostream>

#include "core/text/UtcMinute.h"
#include "tools/robot/LogExport.h"
#include "tools/robot/RobotServer.h"
#include "tools/score/CountryFiles.h"
#include "tools/score/Unscorable.h"
#include "tools/score/UtcTimeOption.h"

namespace {

using zeltra::robot::RobotServer;
using zeltra::robot::RobotSettings;

RobotServer* running = nullptr;

extern "C" void StopServing(int) {
  if (running != nullptr) running->Stop();
}

constexpr int kHighestPort = 65535;
constexpr int kLongestRequestSeconds = 24 * 60 * 60;
constexpr int kUsageError = 2;  // as zeltra-score

// "ADDR:PORT", the port a number the system can listen on.
const CLI::Validator kListenAddress(
    [](std::string& text) -> std::string {
      const std::size_t colon = text.rfind(':');
      const std::string port = colon == std::string::npos ? "" : text.substr(colon + 1);
      const bool digits = !port.empty() && port.size() <= 5 &&
                          port.find_first_not_of("0123456789") == std::string::npos;
      if (colon == 0 || !digits || std::stoi(port) > kHighestPort)
        return "an address and port such as 127.0.0.1:8080, not \"" + text + "\"";
      return {};
    },
    "ADDR:PORT");

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
      ->check(kListenAddress);
  serve->add_option("--deadline", deadline, "UTC, \"YYYY-MM-DD HH:MM\": later uploads are refused")
      ->transform(zeltra::score::UtcTimeOption());
  serve->add_option("--max-bytes", settings.maxBytes, "the largest log taken (default 5 MB)");
  serve->add_option("--per-minute", settings.perMinute,
                    "uploads one address may make in a minute (default 30; 0: no limit)");
  serve->add_option("--from", settings.scoring.from, "leave out contacts before this UTC time")
      ->transform(zeltra::score::UtcTimeOption());
  serve->add_option("--to", settings.scoring.to, "leave out contacts at or after this UTC time")
      ->transform(zeltra::score::UtcTimeOption());
  int requestSeconds = zeltra::robot::kDefaultRequestSeconds;
  serve
      ->add_option("--request-seconds", requestSeconds,
                   "the longest one request may take, the log's bytes included (default 120)")
      ->check(CLI::Range(1, kLongestRequestSeconds));
  serve->add_option("--cty", cty, "the country file (as zeltra-score's --cty)");
  std::string dataToExport;
  std::string exportTo;
  CLI::App* exporting = app.add_subcommand("export", "the latest log of each call, to a folder");
  exporting->add_option("--data", dataToExport, "the robot's data folder")->required();
  exporting->add_option("--to", exportTo, "the folder to fill")->required();
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error) == 0 ? 0 : kUsageError;
  }
  try {
    if (*exporting) {
      const zeltra::robot::UploadStore store(dataToExport);
      std::cout << zeltra::robot::ExportLatest(store, exportTo) << " logs exported to " << exportTo
                << "\n";
      return 0;
    }
    const std::size_t colon = listen.rfind(':');
    settings.host = listen.substr(0, colon);
    settings.port = std::stoi(listen.substr(colon + 1));
    // The option's text is "YYYYMMDDHHMM" by now.
    if (!deadline.empty()) settings.deadline = zeltra::UtcMinuteOf(deadline);
    settings.requestLimit = std::chrono::seconds(requestSeconds);
    if (!cty.empty()) settings.scoring.countryFile = cty;
    const auto countries = zeltra::score::LoadCountries(settings.scoring);
    RobotServer server(settings, countries ? &*countries : nullptr);
    const auto port = server.Bind();
    if (!port) {
      std::cerr << "zeltra-robot: cannot listen on " << listen << "\n";
      return 1;
    }
    std::cout << "zeltra-robot: listening on " << settings.host << ":" << *port << std::endl;
    running = &server;
    std::signal(SIGTERM, StopServing);
    std::signal(SIGINT, StopServing);
    server.Serve();
    running = nullptr;
  } catch (const zeltra::score::Unscorable& problem) {
    std::cerr << "zeltra-robot: " << problem.message << "\n";
    return 1;
  } catch (const std::exception& problem) {
    std::cerr << "zeltra-robot: " << problem.what() << "\n";
    return 1;
  }
  return 0;
}
