#pragma once

// The key codes and mouse buttons that the windows' event handlers receive, under the names the
// runtime gives them.
namespace runtime {

inline constexpr int vbKeyDelete = 46;

inline constexpr int vbLeftButton = 1;
inline constexpr int vbRightButton = 2;
inline constexpr int vbMiddleButton = 4;

} // namespace runtime
