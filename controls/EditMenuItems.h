#pragma once
// Names of the Edit menu items that the text fields enable, disable or carry
// out themselves.

namespace ostrel::EditMenuItems {

inline constexpr const char* SelectAll = "EditSelectAll";
inline constexpr const char* Paste = "EditPaste";

}  // namespace ostrel::EditMenuItems
