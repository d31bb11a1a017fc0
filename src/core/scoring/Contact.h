#pragma once

#include <string>

namespace zeltra {

// One contact as the scorer takes it: the host's record of it, or a row of
// the host's log. Texts are single-byte, as the host wrote them.
struct Contact {
  std::string callSign;
  std::string band;  // in megahertz: "1.8", "3.5", "7", ... "28"
  std::string mode;
  std::string continent;
  std::string dxccPrefix;
  std::string reportReceived;
};

// The operator's own station, against which a contact's points are counted.
struct OwnStation {
  std::string continent;
  std::string dxccPrefix;
};

}  // namespace zeltra
