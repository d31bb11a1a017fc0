#include "tools/score/site/HtmlText.h"

#include "core/text/Utf8.h"

namespace zeltra::score {

std::string Html(std::string_view text) {
  const std::string printable = Printable(AsUtf8(text));
  std::string html;
  html.reserve(printable.size());
  for (const char c : printable) {
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

}  // namespace zeltra::score
