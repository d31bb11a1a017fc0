#include "core/reload/TableName.h"

#include <optional>
#include <vector>

namespace zeltra {
namespace {

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

struct Part {
  std::string_view text;
  bool quoted;
};

// The length of a quoted part at the start of text: quote, any text with
// each quote inside it doubled, quote; or "[", text without "]", "]".
// Zero when text does not start with one.
std::size_t QuotedLength(std::string_view text, std::string_view quote) {
  if (!text.empty() && text.front() == '[') {
    const std::size_t close = text.find(']');
    return close == std::string_view::npos || close == 1 ? 0 : close + 1;
  }
  if (quote.empty() || text.substr(0, quote.size()) != quote) return 0;
  std::size_t at = quote.size();
  while (true) {
    const std::size_t next = text.find(quote, at);
    if (next == std::string_view::npos) return 0;
    if (text.substr(next + quote.size(), quote.size()) != quote)
      return next == quote.size() ? 0 : next + quote.size();
    at = next + 2 * quote.size();
  }
}

std::size_t PlainLength(std::string_view text) {
  if (text.empty() || !IsLetter(text.front())) return 0;
  std::size_t length = 1;
  while (length < text.size() && (IsLetter(text[length]) || IsDigit(text[length]))) ++length;
  return length;
}

// The name's dot-separated parts, each plain or quoted; none when the name
// is not made of such parts.
std::optional<std::vector<Part>> PartsOf(std::string_view name, std::string_view quote) {
  std::vector<Part> parts;
  while (true) {
    if (const std::size_t quoted = QuotedLength(name, quote)) {
      parts.push_back({name.substr(0, quoted), true});
      name.remove_prefix(quoted);
    } else if (const std::size_t plain = PlainLength(name)) {
      parts.push_back({name.substr(0, plain), false});
      name.remove_prefix(plain);
    } else {
      return std::nullopt;
    }
    if (name.empty()) return parts;
    if (name.front() != '.') return std::nullopt;
    name.remove_prefix(1);
  }
}

std::string Quoted(std::string_view text, std::string_view quote) {
  std::string result(quote);
  for (std::size_t at = 0; at < text.size();) {
    if (text.substr(at, quote.size()) == quote) {
      result.append(quote).append(quote);
      at += quote.size();
    } else {
      result += text[at++];
    }
  }
  return result.append(quote);
}

}  // namespace

void SqlKeywords::Add(std::string_view commaSeparated) {
  while (!commaSeparated.empty()) {
    const std::size_t comma = commaSeparated.find(',');
    const std::string_view word = TrimControlAndBlank(commaSeparated.substr(0, comma));
    if (!word.empty()) words_.emplace(word);
    if (comma == std::string_view::npos) break;
    commaSeparated.remove_prefix(comma + 1);
  }
}

bool SqlKeywords::Contains(std::string_view word) const {
  return words_.find(word) != words_.end();
}

std::string TableReference(std::string_view name, std::string_view quote,
                           const SqlKeywords& keywords) {
  name = TrimControlAndBlank(name);
  if (quote.empty() || name.empty()) return std::string(name);
  const auto parts = PartsOf(name, quote);
  if (!parts) return Quoted(name, quote);
  std::string reference;
  for (const Part& part : *parts) {
    if (!reference.empty()) reference += '.';
    if (!part.quoted && keywords.Contains(part.text))
      reference += Quoted(part.text, quote);
    else
      reference += part.text;
  }
  return reference;
}

}  // namespace zeltra
