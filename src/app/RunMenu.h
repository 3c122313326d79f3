// The main window's "Run" menu: the practice text for the next runs, the Details window and the
// Live monitor.
#pragma once

namespace forms {
class TApplication;
}

namespace app {

class TForm1;
class TPracticeForm;
class TDetailsForm;
class TMonitorForm;

// Adds the "Run" menu to the main window's menu bar, just before "Help", with "Practice text…"
// and "Details…"; a run analysed while the Details window is open refreshes it.
void AddRunMenu(TForm1& main, TPracticeForm& practice, TDetailsForm& details);

// Adds "Live monitor…" to the end of the main window's "Run" menu.
void AddMonitorMenuItem(TForm1& main, TMonitorForm& monitor);

// Creates the Practice text, Details and Live monitor windows (hidden) after the program's other
// windows and gives the main window its "Run" menu.
void CreateRunWindows(forms::TApplication& application);

}  // namespace app
