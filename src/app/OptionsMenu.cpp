// The Options menu and the window behind it.
#include "app/OptionsMenu.h"

#include <memory>

#include "app/KeyInputForm.h"
#include "app/MainForm.h"

namespace app {

TKeyInputForm& AddOptionsMenu(forms::TApplication& application, TForm1& mainForm) {
    auto window = std::make_unique<TKeyInputForm>(nullptr);
    TKeyInputForm& keyInput = *window;
    application.AddForm(std::move(window));

    forms::TMainMenu* menu = mainForm.Menu();
    if (menu == nullptr) {
        return keyInput;
    }
    auto* options = new forms::TMenuItem(&mainForm);  // owned and freed by the main window
    options->SetName("Options1");
    options->SetCaption("Options");
    options->SetParentComponent(menu);
    auto* item = new forms::TMenuItem(&mainForm);
    item->SetName("KeyInput1");
    item->SetCaption("Key input\u2026");
    item->SetParentComponent(options);
    item->SetOnClick({"KeyInput1Click", [&keyInput](classes::TPersistent*) { keyInput.Open(); }});
    // Before Help, which stays last.
    forms::TMenuItem& bar = menu->Items();
    int32_t help = bar.Count() - 1;
    for (int32_t i = 0; i < bar.Count(); ++i) {
        if (bar.Items(i)->Name() == "Help1") {
            help = i;
        }
    }
    bar.Insert(help, options);
    return keyInput;
}

}  // namespace app
