#include "ContactFile.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace zeltra::host {

std::vector<LogRow> ReadContactFile(const std::filesystem::path& path) {
  std::ifstream file(path);
  if (!file) throw std::runtime_error("cannot read " + path.string());
  std::vector<LogRow> rows;
  std::string line;
  std::getline(file, line);  // the heading
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    std::vector<std::string> fields;
    std::stringstream stream(line);
    for (std::string field; std::getline(stream, field, ',');) fields.push_back(field);
    fields.resize(7);
    rows.push_back({fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6]});
  }
  return rows;
}

}  // namespace zeltra::host
