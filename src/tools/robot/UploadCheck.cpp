#include "tools/robot/UploadCheck.h"

#include <openssl/evp.h>

#include <fstream>
#include <random>
#include <sstream>

#include "tools/score/FileNames.h"
#include "tools/score/LogScorer.h"

namespace zeltra::robot {
namespace {

namespace fs = std::filesystem;

// The file a scratch copy is told by is no name of the entrant's: its
// messages speak of "the log".
std::vector<std::string> Told(const std::string& told, const std::string& file) {
  std::vector<std::string> lines;
  std::istringstream in(told);
  std::string line;
  const std::string prefix = file + ": ";
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    if (line.rfind(prefix, 0) == 0) line = line.substr(prefix.size());
    lines.push_back(std::move(line));
  }
  return lines;
}

// A scratch file, gone when it goes.
class ScratchFile {
 public:
  ScratchFile(const fs::path& folder, std::string_view bytes) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    path_ = folder / (std::to_string(random()) + ".check");
    std::ofstream out(path_, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw StoreFailure("cannot read the upload: the robot's disk is full");
  }
  ~ScratchFile() {
    std::error_code ignored;
    fs::remove(path_, ignored);
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

}  // namespace

std::string Sha256(std::string_view bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < length; ++i) {
    hex += kHex[digest[i] >> 4];
    hex += kHex[digest[i] & 0xF];
  }
  return hex;
}

std::variant<Acceptable, Refused> CheckUpload(std::string_view bytes, const fs::path& scratch,
                                              const score::ScoreOptions& options,
                                              const CountryFile* countries) {
  const ScratchFile file(scratch, bytes);
  const std::string name = score::NameOf(file.path());
  score::ScoredFile scored =
      score::ScoreApart(options, countries, {.name = name, .fromFolder = false}, false);
  const score::LogResult& result = *scored.result;
  const std::vector<std::string> told = Told(scored.told, result.file);
  if (result.notALog)
    return Refused{kUnprocessable,
                   {"not a log: no ADIF tags, no ADX, no START-OF-LOG: line; send the log "
                    "your logging program exports as ADIF or Cabrillo"}};
  if (result.tooLarge)
    return Refused{kTooLarge,
                   {"the log, unpacked, is larger than the robot takes: at most " +
                    std::to_string(options.largestText) + " bytes"}};
  if (result.failed() && !result.noOwnStation) return Refused{kUnprocessable, {result.failure}};
  if (result.callSign.empty())
    return Refused{kUnprocessable,
                   {"the log names no own call: add CALLSIGN: to the Cabrillo header, or "
                    "STATION_CALLSIGN to each ADIF record"}};
  if (result.score->qsos == 0) {
    Refused refused{kUnprocessable, {"the log holds no contact the contest scores"}};
    refused.errors.insert(refused.errors.end(), told.begin(), told.end());
    return refused;
  }
  return Acceptable{{.call = result.callSign,
                     .categories = result.categories,
                     .qsos = result.score->qsos,
                     .claimed = result.claimed,
                     .score = result.score->score(),
                     .sha256 = Sha256(bytes)},
                    told};
}

}  // namespace zeltra::robot
