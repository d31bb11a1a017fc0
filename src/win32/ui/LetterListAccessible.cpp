#include "win32/ui/LetterListAccessible.h"

#include <commctrl.h>

#include "core/ui/Speech.h"
#include "win32/ui/VoivodeshipWindowIds.h"

namespace zeltra::win32 {
namespace {

constexpr char kListName[] = "Voivodeships";

std::string ItemText(HWND list, long child) {
  char text[16] = {};
  LVITEMA item{};
  item.iSubItem = 0;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(child - 1),
               reinterpret_cast<LPARAM>(&item));
  return text;
}

}  // namespace

long LetterListAccessible::ChildCount() const {
  return static_cast<long>(SendMessageW(Window(), LVM_GETITEMCOUNT, 0, 0));
}

std::optional<std::string> LetterListAccessible::Name(long child) const {
  if (child == CHILDID_SELF) return kListName;
  return ItemText(Window(), child);
}

std::optional<std::string> LetterListAccessible::Description(long child) const {
  HWND window = GetParent(Window());
  if (child == CHILDID_SELF)
    return SpeechOfBand(static_cast<int>(SendMessageW(window, kVoivodeshipBandShown, 0, 0)));
  const std::string letter = ItemText(Window(), child);
  if (letter.empty()) return std::nullopt;
  const auto state = static_cast<LetterState>(
      SendMessageW(window, kVoivodeshipLetterState,
                   static_cast<WPARAM>(static_cast<unsigned char>(letter[0])), 0));
  return SpeechOfLetter(state);
}

long LetterListAccessible::Role(long child) const {
  return child == CHILDID_SELF ? ROLE_SYSTEM_LIST : ROLE_SYSTEM_LISTITEM;
}

std::optional<RECT> LetterListAccessible::ChildRect(long child) const {
  RECT item{};
  item.left = LVIR_BOUNDS;
  if (!SendMessageW(Window(), LVM_GETITEMRECT, static_cast<WPARAM>(child - 1),
                    reinterpret_cast<LPARAM>(&item)))
    return std::nullopt;
  return item;
}

}  // namespace zeltra::win32
