// The main window's "Run" menu: the practice text for the next runs and the Details window.
#pragma once

namespace forms {
class TApplication;
}

namespace app {

class TForm1;
class TPracticeForm;
class TDetailsForm;

// Adds the "Run" menu to the main window's menu bar, just before "Help", with "Practice text…"
// and "Details…"; a run analysed while the Details window is open refreshes it.
void AddRunMenu(TForm1& main, TPracticeForm& practice, TDetailsForm& details);

// Creates the Practice text and Details windows (hidden) after the program's other windows and
// gives the main window its "Run" menu.
void CreateRunWindows(forms::TApplication& application);

}  // namespace app
