#pragma once

#include "win32/ui/AccessibleObject.h"

namespace zeltra::win32 {

// The statistics grid as a screen reader reads it: a table of 48 cells,
// each named by its text and described by its row and column headings
// (SpeechOfCell), read from the grid through kGridGetCellText.
class GridAccessible : public AccessibleObject {
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
