#pragma once

#include <string>

namespace zeltra::organiser {

// The folder of the running program itself, found through the system
// rather than the command line (which names no folder when the program
// runs from PATH), as FileNames' NameOf gives it; empty when the system
// does not say.
std::string ProgramFolder();

}  // namespace zeltra::organiser
