#include "organiser/results/JsonLogs.h"

#include "core/text/Utf8.h"

namespace zeltra::organiser {
namespace {

constexpr int kIndent = 2;
// The depth of an entry in "logs".
constexpr std::size_t kEntryDepth = 2;

}  // namespace

Json JsonText(std::string_view text) {
  return AsUtf8(text);
}

std::string JsonAt(const Json& value, std::size_t depth) {
  const std::string dumped = value.dump(kIndent, ' ', false);
  const std::string margin(depth * kIndent, ' ');
  std::string text;
  text.reserve(dumped.size());
  // A dumped string holds no line end of its own: "\n" is written "\\n".
  for (const char c : dumped) {
    text += c;
    if (c == '\n') text += margin;
  }
  return text;
}

std::string JsonLogs::RowSeparator() {
  return ",\n" + std::string(kRowDepth * kIndent, ' ');
}

JsonLogs::JsonLogs(std::ostream& out) : out_(out) {
  out_ << "{\n  \"logs\": [";
}

void JsonLogs::Begin() {
  out_ << (any_ ? ",\n" : "\n") << std::string(kEntryDepth * kIndent, ' ');
  any_ = true;
}

void JsonLogs::Log(const Json& entry) {
  Begin();
  out_ << JsonAt(entry, kEntryDepth);
}

void JsonLogs::Log(const Json& entry, std::string_view rowsKey, bool hasRows,
                   const CopyRows& copy) {
  Begin();
  std::string text = JsonAt(entry, kEntryDepth);
  const std::string keyMargin((kEntryDepth + 1) * kIndent, ' ');
  const std::string entryMargin(kEntryDepth * kIndent, ' ');
  // The entry without its closing brace: "{\n ... \n    }".
  text.erase(text.size() - entryMargin.size() - 2);
  out_ << text << ",\n" << keyMargin << Json(rowsKey).dump() << ": [";
  if (hasRows) {
    out_ << "\n" << std::string(kRowDepth * kIndent, ' ');
    copy(out_);
    out_ << "\n" << keyMargin;
  }
  out_ << "]\n" << entryMargin << "}";
}

void JsonLogs::Finish(const std::vector<NotScored>& notScored, const Json& more) {
  if (any_) out_ << "\n  ";
  Json files = Json::array();
  for (const NotScored& file : notScored)
    files.push_back({{"file", JsonText(file.file)}, {"reason", JsonText(file.reason)}});
  out_ << "],\n  \"notScored\": " << JsonAt(files, 1);
  for (const auto& [key, value] : more.items())
    out_ << ",\n  " << Json(key).dump() << ": " << JsonAt(value, 1);
  out_ << "\n}\n";
}

}  // namespace zeltra::organiser
