#pragma once

#include <optional>
#include <string_view>

#include "core/scoring/Scorer.h"

namespace zeltra::win32 {

class VoivodeshipWindow;

// What the voivodeship window needs of the statistics window that owns it,
// and nothing more: the marks, the stored band, and word of its going.
class VoivodeshipWindowOwner {
 public:
  // Whether letter is worked on the band with this text.
  virtual LetterState StateOfLetter(std::string_view band, char letter) const = 0;
  // CurrentBand as stored; none when it is not a decimal integer.
  virtual std::optional<int> StoredBand() const = 0;
  virtual void StoreBand(int band) = 0;
  // The window closed or was destroyed: the owner forgets it.
  virtual void VoivodeshipWindowGone(const VoivodeshipWindow& window) = 0;

 protected:
  ~VoivodeshipWindowOwner() = default;
};

}  // namespace zeltra::win32
