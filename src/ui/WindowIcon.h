// The icon every window of the program shows to the desktop (task bar, window list, title bar).
#pragma once

#include <string>

namespace ui {

// Makes the picture at path (PNG) the icon of every window opened from now on. An empty path or
// a picture that cannot be read leaves the desktop's default icon and returns false.
bool SetWindowIcon(const std::string& path);

}  // namespace ui
