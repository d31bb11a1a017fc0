#pragma once

#include <set>
#include <string>
#include <string_view>

namespace zeltra::organiser {

// File names for the entrants' reports, made from their calls: each call
// its own name, whatever it holds. Letters, digits and "-" stand as they
// are; every other byte (a lower-case letter, "/", ".", "_") is written
// "_XX" in hex, so SP1AAA/P, SP1AAA.P and SP1AAA_P never share a file. A
// long call is cut, a Windows device name (CON, NUL, COM1) gets a "_" after
// it, and a name already given gets "~2", "~3": the names are unique,
// bounded and safe on every system.
class ReportNames {
 public:
  // The name for call, ending with extension (".txt").
  std::string For(std::string_view call, std::string_view extension);

 private:
  std::set<std::string> given_;
};

}  // namespace zeltra::organiser
