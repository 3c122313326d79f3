// The main window's Options menu: "Key input…" opens the Key input window.
#pragma once

#include <cstdint>
#include <functional>

#include "forms/Application.h"
#include "platform/SideToneSettings.h"

namespace app {

class TForm1;
class TKeyInputForm;

// Creates the Key input window and puts the Options menu on the main window's menu bar, just
// before Help. Returns the window.
TKeyInputForm& AddOptionsMenu(forms::TApplication& application, TForm1& mainForm);

// Adds "Display size" to the Options menu: 100, 125, 150 and 200 % and automatic (0), each
// handed to `choose` when picked, the one in force (as `current` tells) checked.
void AddDisplaySizeMenu(TForm1& mainForm, std::function<int32_t()> current,
                        std::function<void(int32_t percent)> choose);

// Adds "Side-tone pitch" and "Side-tone volume" to the Options menu, each a list of choices with
// the one in force (as `current` tells) checked; a choice is handed to `choose` with the other
// setting as it is.
void AddSideToneMenu(TForm1& mainForm, std::function<platform::TSideToneSettings()> current,
                     std::function<void(const platform::TSideToneSettings&)> choose);

}  // namespace app
