#include "tools/robot/mail/MailText.h"

namespace zeltra::robot {
namespace {

constexpr std::string_view kCut = "...";
// A UTF-8 character is at most this many bytes.
constexpr std::size_t kLongestCharacter = 4;

bool Continues(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The first most characters of text (UTF-8), and kCut when there were more.
std::string Cut(std::string_view text, std::size_t most) {
  std::size_t characters = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (Continues(text[at])) continue;
    if (characters++ == most) return std::string(text.substr(0, at)) + std::string(kCut);
  }
  return std::string(text);
}

// Each blank-separated word cut.
std::string WordsCut(std::string_view text) {
  std::string kept;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t blank = text.find(' ', at);
    const std::size_t end = blank == std::string_view::npos ? text.size() : blank;
    kept += Cut(text.substr(at, end - at), kLongestQuote);
    if (blank == std::string_view::npos) break;
    kept += ' ';
    at = blank + 1;
  }
  return kept;
}

}  // namespace

std::string Briefly(std::string_view note) {
  std::string brief;
  std::size_t at = 0;
  while (at < note.size()) {
    const std::size_t open = note.find('"', at);
    const std::size_t close = open == std::string_view::npos ? open : note.find('"', open + 1);
    if (close == std::string_view::npos) {
      brief += WordsCut(note.substr(at));
      break;
    }
    brief += WordsCut(note.substr(at, open - at));
    brief += '"' + Cut(note.substr(open + 1, close - open - 1), kLongestQuote) + '"';
    at = close + 1;
  }
  return brief;
}

std::string Wrapped(std::string_view paragraph, std::string_view first, std::string_view indent,
                    std::size_t width) {
  std::string text;
  std::string line(first);
  bool empty = true;  // no word on the line yet
  std::size_t at = 0;
  while (at < paragraph.size()) {
    const std::size_t blank = paragraph.find(' ', at);
    const std::size_t end = blank == std::string_view::npos ? paragraph.size() : blank;
    const std::string_view word = paragraph.substr(at, end - at);
    at = end + 1;
    if (word.empty()) continue;
    if (!empty && line.size() + 1 + word.size() > width) {
      text += line + '\n';
      line = std::string(indent);
      empty = true;
    }
    if (!empty) line += ' ';
    line += word;
    empty = false;
  }
  return WithinLineLimit(text + line + '\n');
}

std::string WithinLineLimit(std::string_view text) {
  std::string kept;
  std::size_t lineBytes = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '\n') {
      lineBytes = 0;
    } else if (lineBytes + kLongestCharacter > kLongestMailLine && !Continues(c)) {
      kept += '\n';
      lineBytes = 0;
    }
    kept += c;
    if (c != '\n') ++lineBytes;
  }
  return kept;
}

}  // namespace zeltra::robot
