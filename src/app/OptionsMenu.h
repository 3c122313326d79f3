// The main window's Options menu: "Key input…" opens the Key input window.
#pragma once

#include "forms/Application.h"

namespace app {

class TForm1;
class TKeyInputForm;

// Creates the Key input window and puts the Options menu on the main window's menu bar, just
// before Help. Returns the window.
TKeyInputForm& AddOptionsMenu(forms::TApplication& application, TForm1& mainForm);

}  // namespace app
