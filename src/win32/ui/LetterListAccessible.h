#pragma once

#include "win32/ui/AccessibleObject.h"

namespace zeltra::win32 {

// The voivodeship list as a screen reader reads it: a list named by the
// band shown, whose items are the letters, each described as "worked" or
// "not worked" on that band. It asks the voivodeship window through
// kVoivodeshipLetterState and kVoivodeshipBandShown.
class LetterListAccessible : public AccessibleObject {
 public:
  using AccessibleObject::AccessibleObject;

 protected:
  long ChildCount() const override;
  std::optional<std::string> Name(long child) const override;
  std::optional<std::string> Description(long child) const override;
  long Role(long child) const override;
  std::optional<RECT> ChildRect(long child) const override;
};

}  // namespace zeltra::win32
