#include "organiser/site/PageFrame.h"

#include "organiser/site/HtmlText.h"

namespace zeltra::organiser {
namespace {

// Dark text on white, links and headings in blue darker than WCAG's AA
// asks; wide tables and charts scroll on a phone within their own region
// (charts at full size there, so that their text stays readable), long
// words wrap; navigation and the charts' numbers stay off paper, the
// tables print whole.
constexpr std::string_view kStyle = R"(
body{font-family:system-ui,-apple-system,"Segoe UI",Roboto,sans-serif;color:#1a1a1a;background:#fff;margin:0 auto;max-width:72rem;padding:0 1rem 2rem;line-height:1.45}
a{color:#0b4ea2}a:focus{outline:3px solid #e07000;outline-offset:1px}
h1{font-size:1.7rem;margin:1rem 0 .3rem}h2{font-size:1.3rem;margin:1.8rem 0 .5rem;border-bottom:2px solid #c9d6e8}h3{font-size:1.08rem;margin:1.2rem 0 .4rem}
nav ul{list-style:none;padding:0;display:flex;flex-wrap:wrap;gap:.3rem 1rem}
.wide{overflow-x:auto}.wide:focus{outline:3px solid #e07000}
h1,dd,p,li,blockquote{overflow-wrap:anywhere}td.n,th.n{white-space:nowrap}
table{border-collapse:collapse;margin:.4rem 0 1rem;font-variant-numeric:tabular-nums}
caption{text-align:left;font-weight:600;padding:.2rem 0}
th,td{border:1px solid #c4ccd6;padding:.2rem .5rem;text-align:left;vertical-align:top}
thead th{background:#e8eef6}td.n,th.n{text-align:right}
dl{display:grid;grid-template-columns:minmax(0,max-content) minmax(0,1fr);gap:.2rem 1rem}dt{font-weight:600}dd{margin:0}
figure{margin:1rem 0}figcaption{font-weight:600}
svg{max-width:100%;height:auto}@media (max-width:44rem){.chart svg{max-width:none}}svg .scale line{stroke:#d5dbe3}svg text{font-size:12px;fill:#333}
.legend{list-style:none;padding:0;display:flex;flex-wrap:wrap;gap:.2rem 1rem;margin:.3rem 0}
.swatch{display:inline-block;width:.9em;height:.9em;margin-right:.3em;vertical-align:-.1em;border:1px solid #555}
blockquote{border-left:4px solid #c9d6e8;margin:.5rem 0;padding:.2rem .8rem;white-space:pre-wrap}
footer{margin-top:2rem;font-size:.9rem;color:#444}
.status{font-weight:600}
@media print{nav,.skip,details{display:none}body{max-width:none}a{color:#000;text-decoration:none}h2{break-after:avoid}table,figure{break-inside:avoid}}
.skip{position:absolute;left:-999px}.skip:focus{left:1rem;top:.5rem;background:#fff;padding:.3rem}
)";

}  // namespace

void WritePageStart(std::ostream& out, std::string_view title, const PageMenu& menu) {
  out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
         "style-src 'unsafe-inline'; img-src data:\">\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>"
      << Html(title) << "</title>\n<style>" << kStyle
      << "</style>\n</head>\n<body>\n<a class=\"skip\" href=\"#main\">Skip to the results</a>\n"
         "<header>\n";
  if (!menu.links.empty()) {
    out << "<nav aria-label=\"" << Html(menu.label) << "\"><ul>";
    for (const PageLink& link : menu.links)
      out << "<li><a href=\"" << Html(link.href) << "\">" << Html(link.text) << "</a></li>";
    out << "</ul></nav>\n";
  }
  out << "<h1>" << Html(title) << "</h1>\n</header>\n<main id=\"main\">\n";
}

void WritePublication(std::ostream& out, const Publication& publication) {
  std::string text = publication.status == ResultsStatus::kPreliminary ? "Preliminary results"
                     : publication.status == ResultsStatus::kFinal     ? "Final results"
                                                                       : "";
  if (!publication.made.empty()) text += (text.empty() ? "Made " : ", made ") + publication.made;
  if (!text.empty()) out << "<p class=\"status\">" << Html(text) << ".</p>\n";
}

void WritePageLinks(std::ostream& out, std::size_t page, std::size_t pages,
                    const std::function<std::string(std::size_t)>& fileOf) {
  if (pages <= 1) return;
  out << "<nav aria-label=\"Pages\"><p>Page " << page + 1 << " of " << pages;
  if (page > 0) out << " · <a href=\"" << Html(fileOf(page - 1)) << "\">the page before</a>";
  if (page + 1 < pages) out << " · <a href=\"" << Html(fileOf(page + 1)) << "\">the page after</a>";
  out << "</p></nav>\n";
}

void WriteWideStart(std::ostream& out, std::string_view name) {
  out << "<div class=\"wide\" tabindex=\"0\" role=\"region\" aria-label=\"" << Html(name) << "\">";
}

void WritePageEnd(std::ostream& out) {
  out << "</main>\n<footer><p>Made by zeltra-score from the logs received.</p></footer>\n"
         "</body>\n</html>\n";
}

}  // namespace zeltra::organiser
