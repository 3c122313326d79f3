// Start-up: registers the classes design data names and creates the program's six windows.
#pragma once

namespace app {

// Registers the control, chart and port classes with the class registry (idempotent).
void RegisterClasses();

// Loads the separators of the user's locale into the number formats, then creates the six
// windows in order, the main window first, each from its design data, and hands them to the
// application object. The main window is not shown yet.
void CreateWindows();

}  // namespace app
