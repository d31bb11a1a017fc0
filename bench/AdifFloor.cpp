// The least any ADIF reader must do, as the floor zeltra-score's speed is
// measured against: one pass over the file in large reads, every tag
// found, CALL, BAND and FREQ copied out, records counted. No scoring, no
// checks beyond what finding the tags needs.
//
//   adif_floor FILE
//
// Run: scripts/bench-score.sh

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool NameIs(const char* name, std::size_t length, const char* wanted) {
  if (std::strlen(wanted) != length) return false;
  for (std::size_t i = 0; i < length; ++i)
    if (std::toupper(static_cast<unsigned char>(name[i])) != wanted[i]) return false;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: adif_floor FILE\n");
    return 2;
  }
  std::FILE* file = std::fopen(argv[1], "rb");
  if (file == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  std::fseek(file, 0, SEEK_END);
  const long size = std::ftell(file);
  std::fseek(file, 0, SEEK_SET);
  std::vector<char> text(size > 0 ? static_cast<std::size_t>(size) : 0);
  text.resize(std::fread(text.data(), 1, text.size(), file));
  std::fclose(file);
  std::size_t records = 0;
  std::size_t checksum = 0;
  std::string call, band, freq;
  const char* at = text.data();
  const char* end = text.data() + text.size();
  while (
      (at = static_cast<const char*>(std::memchr(at, '<', static_cast<std::size_t>(end - at))))) {
    const char* name = ++at;
    while (at < end && *at != ':' && *at != '>') ++at;
    const std::size_t nameLength = static_cast<std::size_t>(at - name);
    std::size_t length = 0;
    if (at < end && *at == ':')
      for (++at; at < end && *at >= '0' && *at <= '9'; ++at)
        length = length * 10 + static_cast<std::size_t>(*at - '0');
    while (at < end && *at != '>') ++at;
    if (at == end) break;
    ++at;
    if (length > static_cast<std::size_t>(end - at)) length = static_cast<std::size_t>(end - at);
    if (NameIs(name, nameLength, "EOR")) {
      ++records;
      checksum += call.size() + band.size() + freq.size();
    } else if (NameIs(name, nameLength, "CALL")) {
      call.assign(at, length);
    } else if (NameIs(name, nameLength, "BAND")) {
      band.assign(at, length);
    } else if (NameIs(name, nameLength, "FREQ")) {
      freq.assign(at, length);
    }
    at += length;
  }
  std::printf("%zu records (%zu)\n", records, checksum);
  return 0;
}
