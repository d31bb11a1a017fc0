#include "tools/score/ScoreOptions.h"

#include <stdexcept>

namespace zeltra::score {

ScoreOptions ParseScoreOptions(const std::vector<std::string>& arguments) {
  ScoreOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const auto value = [&]() -> std::string {
      if (i + 1 >= arguments.size()) throw std::invalid_argument(argument + " needs a value");
      return arguments[++i];
    };
    if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--odbc") {
      options.odbc = value();
    } else if (argument == "--table") {
      options.table = value();
    } else if (argument == "--my-call") {
      options.myCall = value();
    } else if (argument == "--my-continent") {
      options.myContinent = value();
    } else if (argument == "--my-dxcc") {
      options.myDxcc = value();
    } else if (argument == "--cty") {
      options.countryFile = value();
    } else if (argument == "--order") {
      const std::string order = value();
      if (order == "call")
        options.order = Order::kByCallSign;
      else if (order == "log")
        options.order = Order::kLog;
      else
        throw std::invalid_argument("--order takes call or log, not " + order);
    } else if (argument == "--format") {
      const std::string format = value();
      if (format == "text")
        options.format = Format::kText;
      else if (format == "csv")
        options.format = Format::kCsv;
      else if (format == "json")
        options.format = Format::kJson;
      else
        throw std::invalid_argument("--format takes text, csv or json, not " + format);
    } else if (argument == "--contacts") {
      options.contacts = true;
    } else if (argument == "--check-claimed") {
      options.checkClaimed = true;
    } else if (argument == "--strict") {
      options.strict = true;
    } else if (argument.size() > 1 && argument[0] == '-' && argument != "-") {
      throw std::invalid_argument("unknown option " + argument);
    } else {
      options.inputs.push_back(argument);
    }
  }
  if (options.help) return options;
  if (options.odbc.has_value() != options.table.has_value())
    throw std::invalid_argument("--odbc and --table go together");
  if (options.odbc && !options.inputs.empty())
    throw std::invalid_argument("give files or --odbc, not both");
  if (!options.odbc && options.inputs.empty()) throw std::invalid_argument("no log to score");
  return options;
}

std::string ScoreUsage() {
  return R"(Usage: zeltra-score [options] LOG...
       zeltra-score [options] --odbc "CONNECTION STRING" --table NAME

Scores logs of the Zeltra RTTY Contest by the rules of the Zeltra plug-in and
prints the table and score line its statistics window shows after "Recalc".

LOG is an ADIF file (.adi, .adif), a Cabrillo file (.log, .cbr, or any file
starting with START-OF-LOG), or a folder of them. One log gives its table;
several give one results table ranked by score.

Options:
  --odbc TEXT          score an ODBC log table (with --table), read with the
                       plug-in's own query, columns and rules
  --table NAME         the log table to read
  --my-call CALL       the own station's call (else the log's STATION_CALLSIGN,
                       OPERATOR or Cabrillo CALLSIGN)
  --my-continent CC    the own station's continent, overriding the country file
  --my-dxcc PREFIX     the own station's DXCC prefix, overriding the country file
  --cty FILE           the country file (cty.dat format) for contacts without
                       CONT or COUNTRY; default: cty.dat beside the program,
                       else hamradio-files' /usr/share/hamradio-files/cty.dat
  --order call|log     replay by call sign, byte for byte, as "Recalc" does
                       (call, the default), or in log order (log)
  --contacts           one line per contact: its line or record, call, band,
                       points or DUPE, and the multipliers it brought
  --format text|csv|json
                       the output's form (default text)
  --check-claimed      a claimed score that differs gives exit status 3
  --strict             stop at the first line or record that cannot be scored
  --help               this text

Problems go to standard error as FILE: record N (ADIF) or FILE: line N
(Cabrillo), the field, and what is wrong. A record that cannot be scored is
reported and skipped, unless --strict.

Exit status: 0 scored; 1 records were skipped; 2 usage error; 3 a claimed
score differs (with --check-claimed); 4 a log or the database could not be read.
)";
}

}  // namespace zeltra::score
