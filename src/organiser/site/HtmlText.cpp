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

}  // namespace

std::string Html(std::string_view text) {
  std::string converted;
  if (!PlainAscii(text)) {
    converted = Printable(AsUtf8(text));
    text = converted;
  }
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

void WriteHtml(std::ostream& out, std::string_view text) {
  out << Html(text);
}

}  // namespace zeltra::organiser
