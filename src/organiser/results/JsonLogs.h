#pragma once

#include <cstddef>
#include <functional>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "organiser/scoring/LogResult.h"

namespace zeltra::organiser {

// Keys in the order they are written, as the README shows them.
using Json = nlohmann::ordered_json;

// A text as JSON: UTF-8, a text that is not read as AsUtf8 reads it.
Json JsonText(std::string_view text);

// A value laid out as nlohmann's dump with an indent of two, every line
// after the first moved right by depth levels: the way it reads inside a
// document written whole.
std::string JsonAt(const Json& value, std::size_t depth);

// The JSON document of a run, written as each log comes rather than built
// whole: {"logs": [entry, ...], "notScored": [{file, reason}]}, laid out as
// nlohmann's dump with an indent of two. Both the batch and the check write
// through it.
class JsonLogs {
 public:
  // A log's rows, each written by JsonAt at kRowDepth, with "," and a new
  // line between them.
  using CopyRows = std::function<void(std::ostream&)>;
  static constexpr std::size_t kRowDepth = 4;
  // What goes between two rows.
  static std::string RowSeparator();

  explicit JsonLogs(std::ostream& out);
  JsonLogs(const JsonLogs&) = delete;
  JsonLogs& operator=(const JsonLogs&) = delete;

  void Log(const Json& entry);
  // An entry whose last key, rowsKey, is an array of rows copied in place.
  void Log(const Json& entry, std::string_view rowsKey, bool hasRows, const CopyRows& copy);
  // more: keys written after "notScored", in their order.
  void Finish(const std::vector<NotScored>& notScored, const Json& more = Json::object());

 private:
  void Begin();

  std::ostream& out_;
  bool any_ = false;
};

}  // namespace zeltra::organiser
