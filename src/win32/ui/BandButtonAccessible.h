#pragma once

#include "win32/ui/AccessibleObject.h"

namespace zeltra::win32 {

// A band button as a screen reader reads it: a push button named by its
// band, pressed and checked while it is down. Windows' own object for a
// push-like check box says so too; Wine's does not tell the checked state,
// so the band buttons answer with this one on both.
class BandButtonAccessible : public AccessibleObject {
 public:
  using AccessibleObject::AccessibleObject;

 protected:
  long ChildCount() const override { return 0; }
  std::optional<std::string> Name(long child) const override;
  std::optional<std::string> Description(long) const override { return std::nullopt; }
  long Role(long) const override { return ROLE_SYSTEM_PUSHBUTTON; }
  long State(long child) const override;
  std::optional<RECT> ChildRect(long) const override { return std::nullopt; }
};

}  // namespace zeltra::win32
