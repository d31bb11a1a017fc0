#include "organiser/reading/LogInput.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zeltra::organiser {
namespace {

namespace fs = std::filesystem;

// An ADIF log of records enough to span several of the reader's buffers.
std::string LargeLog() {
  std::string text = "made for a test <EOH>\n";
  for (int i = 0; text.size() < 300000; ++i)
    text += "<CALL:6>SP" + std::to_string(1000 + i % 9000).substr(0, 1) +
            "ABC<BAND:3>20m<QSO:" + std::to_string(i) + "><EOR>\n";
  return text;
}

// The stream's text read in pieces of one size, as a reader asks for it.
std::string ReadInPieces(std::istream& in, std::size_t piece) {
  std::string text;
  std::vector<char> buffer(piece);
  while (in.read(buffer.data(), static_cast<std::streamsize>(piece)) || in.gcount() > 0)
    text.append(buffer.data(), static_cast<std::size_t>(in.gcount()));
  return text;
}

// A log is read whole whether it is gzipped or not, and whatever the
// size of the reads: a byte at a time, less than the buffer, as large as
// it and larger.
TEST(LogInput, ReadsALargeLogWholeInReadsOfAnySize) {
  const fs::path folder = fs::temp_directory_path() / ("log-input-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const std::string text = LargeLog();
  const fs::path plain = folder / "plain.adi";
  std::ofstream(plain, std::ios::binary) << text;
  const fs::path packed = folder / "packed.adi.gz";
  const gzFile out = gzopen(packed.string().c_str(), "wb");
  ASSERT_NE(out, nullptr);
  ASSERT_EQ(gzwrite(out, text.data(), static_cast<unsigned>(text.size())),
            static_cast<int>(text.size()));
  gzclose(out);
  for (const fs::path& file : {plain, packed})
    for (const std::size_t piece : {std::size_t{1}, std::size_t{1000}, std::size_t{1} << 16,
                                    (std::size_t{1} << 16) + 1, std::size_t{1} << 20}) {
      SCOPED_TRACE(file.filename().string() + " in reads of " + std::to_string(piece));
      LogInput input(file.string());
      EXPECT_EQ(input.known().kind, LogKind::kAdif);
      EXPECT_EQ(ReadInPieces(input.stream(), piece), text.substr(input.known().start));
      EXPECT_NO_THROW(input.CheckRead());
    }
  fs::remove_all(folder);
}

}  // namespace
}  // namespace zeltra::organiser
