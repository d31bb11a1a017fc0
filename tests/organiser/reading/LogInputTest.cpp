#include "organiser/reading/LogInput.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/SqliteLog.h"

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

// Writes text gzipped to file; false when it could not be written whole.
bool WriteGzipped(const fs::path& file, const std::string& text) {
  const gzFile out = gzopen(file.string().c_str(), "wb");
  if (out == nullptr) return false;
  const bool whole = gzwrite(out, text.data(), static_cast<unsigned>(text.size())) ==
                     static_cast<int>(text.size());
  return gzclose(out) == Z_OK && whole;
}

// A large ADIF log, as it is and gzipped, in a folder of its own.
class LogInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(plain, std::ios::binary) << text;
    ASSERT_TRUE(WriteGzipped(packed, text));
  }

  const testing::TemporaryFolder temporary;
  const fs::path& folder = temporary.path();
  const std::string text = LargeLog();
  const fs::path plain = folder / "plain.adi";
  const fs::path packed = folder / "packed.adi.gz";
};

// A log is read whole whether it is gzipped or not, and whatever the
// size of the reads: a byte at a time, less than the buffer, as large as
// it and larger.
TEST_F(LogInputTest, ReadsALargeLogWholeInReadsOfAnySize) {
  for (const fs::path& file : {plain, packed})
    for (const std::size_t piece : {std::size_t{1}, std::size_t{1000}, std::size_t{1} << 16,
                                    (std::size_t{1} << 16) + 1, std::size_t{1} << 20}) {
      SCOPED_TRACE(file.filename().string() + " in reads of " + std::to_string(piece));
      LogInput input(file.string());
      EXPECT_EQ(input.known().kind, LogKind::kAdif);
      EXPECT_EQ(ReadInPieces(input.stream(), piece), text.substr(input.known().start));
      EXPECT_NO_THROW(input.CheckRead());
    }
}

// A log read as it is from a file can be read again from any place, apart
// from its stream, which goes on where it was; one that is unpacked or
// recoded as it is read, or larger than its bound, cannot.
TEST_F(LogInputTest, ALogReadAsItIsIsReadAgainFromAnyPlace) {
  const std::string form = "From a web form\nSTART-OF-LOG: 3.0\nCALLSIGN: SP5XYZ\nEND-OF-LOG:\n";
  const fs::path cabrillo = folder / "form.log";
  std::ofstream(cabrillo, std::ios::binary) << form;
  for (const fs::path& file : {plain, cabrillo}) {
    LogInput input(file.string());
    const std::string all = file == plain ? text : form;
    const std::string own = all.substr(input.known().start);
    ASSERT_EQ(input.TextSize(), own.size()) << file;
    for (const std::size_t offset :
         {std::size_t{0}, std::size_t{1}, own.size() / 2, own.size() - 1, own.size()})
      for (const std::size_t piece : {std::size_t{1}, (std::size_t{1} << 16) + 1}) {
        const auto again = input.TextFrom(offset);
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(ReadInPieces(*again, piece), own.substr(offset)) << file << " " << offset;
      }
    EXPECT_EQ(ReadInPieces(input.stream(), 1000), own) << file;
  }
  EXPECT_EQ(LogInput(plain.string(), text.size()).TextSize(), text.size());
  EXPECT_EQ(LogInput(plain.string(), text.size() - 1).TextSize(), std::nullopt);

  const fs::path wide = folder / "wide.adi";
  std::ofstream(wide, std::ios::binary) << std::string("\xFF\xFE<\0E\0O\0R\0>\0", 12);
  for (const fs::path& file : {packed, wide}) {
    LogInput input(file.string());
    EXPECT_EQ(input.TextSize(), std::nullopt) << file;
    EXPECT_EQ(input.TextFrom(0), nullptr) << file;
  }
}

}  // namespace
}  // namespace zeltra::organiser
