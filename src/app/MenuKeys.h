// The keys of the main window's menu bar: Alt with a menu's first letter opens it, and the
// usual shortcuts choose a command (F1 the help page, Ctrl+Q quits). Captions stay as they are.
#pragma once

namespace app {

class TForm1;

// Gives the menus and commands of the main window their keys; call once every menu is in
// place (after the File menu is added), before the front end binds the window.
void SetMenuKeys(TForm1& form);

}  // namespace app
