#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zeltra {

// The own station's calls as a log's records name them: the first named
// is the log's; the records naming another are counted, and the first of
// them told. Calls are told apart ignoring letter case. The first few
// distinct calls are kept with their counts, so that what two parts of a
// log read apart name can be joined.
class OwnCalls {
 public:
  // record: the number of the record naming call.
  void Named(std::string_view call, std::size_t record);

  // Takes in the calls named by the records that follow this part's, as
  // later counted them, their numbers moved on by renumberBy. false, with
  // nothing taken, when later's calls cannot be told against this part's
  // (it met more distinct calls than it keeps, and not this log's call).
  bool Join(const OwnCalls& later, std::size_t renumberBy);

  struct Call {
    std::string call;  // upper case
    std::size_t record = 0;
  };
  // The log's call, from the record that first names it.
  std::optional<Call> LogsCall() const;
  // The first record naming another, and how many records do.
  std::optional<Call> FirstOther() const;
  std::size_t Others() const;

 private:
  struct Seen {
    std::string call;  // upper case
    std::size_t first;
    std::size_t count;
  };
  void Count(std::string_view call, std::size_t first, std::size_t count);

  std::vector<Seen> seen_;  // in the order first named
  std::size_t unkept_ = 0;  // records naming a call not among seen_
  Call firstUnkept_;
};

}  // namespace zeltra
