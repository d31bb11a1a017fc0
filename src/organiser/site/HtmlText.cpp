#include "organiser/site/HtmlText.h"

#include "core/text/Utf8.h"

namespace zeltra::organiser {

namespace {

// Printable ASCII, which Printable and AsUtf8 leave as it is: most of what
// a page shows (calls, numbers, times).
bool PlainAscii(std::string_view text) {
  for (const char c : text)
    if (c < ' ' || c > '~') return false;
  return true;
}

// Printable text with the characters markup gives meaning to as entities.
std::string Escaped(std::string_view text) {
  std::string html;
  html.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        html += "&amp;";
        break;
      case '<':
        html += "&lt;";
        break;
      case '>':
        html += "&gt;";
        break;
      case '"':
        html += "&quot;";
        break;
      case '\'':
        html += "&#39;";
        break;
      default:
        html += c;
    }
  }
  return html;
}

}  // namespace

std::string Html(std::string_view text) {
  if (PlainAscii(text)) return Escaped(text);
  return Escaped(Printable(AsUtf8(text)));
}

std::string HtmlShort(std::string_view text, std::size_t characters) {
  const std::string shown = PlainAscii(text) ? std::string(text) : Printable(AsUtf8(text));
  std::size_t count = 0;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    // A byte that starts a character, not one that continues it.
    if ((static_cast<unsigned char>(shown[i]) & 0xC0) == 0x80) continue;
    if (count++ == characters) return Escaped(std::string_view(shown).substr(0, i)) + "…";
  }
  return Escaped(shown);
}

void WriteHtml(std::ostream& out, std::string_view text) {
  out << Html(text);
}

}  // namespace zeltra::organiser
