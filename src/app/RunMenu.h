// The main window's "Run" menu: the practice text for the next runs, the Details window, the
// Live monitor and playing the shown run back.
#pragma once

#include <memory>

namespace forms {
class TApplication;
}

namespace app {

class TForm1;
class TPracticeForm;
class TDetailsForm;
class TMonitorForm;
class TPlayback;

// Adds the "Run" menu to the main window's menu bar, just before "Help", with "Practice text…"
// and "Details…"; a run analysed while the Details window is open refreshes it.
void AddRunMenu(TForm1& main, TPracticeForm& practice, TDetailsForm& details);

// Adds "Live monitor…" to the end of the main window's "Run" menu.
void AddMonitorMenuItem(TForm1& main, TMonitorForm& monitor);

// Adds "Play back" to the end of the main window's "Run" menu: it plays the shown run's keying
// as side-tone at the side-tone's pitch and reads "Stop playback" while it plays (choosing it
// then stops); disabled while a run is captured or before there is one. A run starting stops
// the playing.
void AddPlaybackMenuItem(TForm1& main, std::shared_ptr<TPlayback> playback);

// Creates the Practice text, Details and Live monitor windows (hidden) after the program's other
// windows and gives the main window its "Run" menu.
void CreateRunWindows(forms::TApplication& application);

}  // namespace app
