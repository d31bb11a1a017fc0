#pragma once

#include <stdexcept>
#include <string>

namespace zeltra::score {

// A file zeltra-score writes could not be written.
struct OutputFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Writes text as the whole of a file: first beside it under another name,
// then put in its place, so that a full disk leaves the old file or none,
// never half of the new one. Throws OutputFailure naming the file.
void WriteWholeFile(const std::string& path, const std::string& text);

}  // namespace zeltra::score
