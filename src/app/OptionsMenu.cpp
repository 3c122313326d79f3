// The Options menu and the window behind it.
#include "app/OptionsMenu.h"

#include <memory>
#include <stdexcept>
#include <string>

#include "app/KeyInputForm.h"
#include "app/MainForm.h"
#include "platform/WindowSettings.h"

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

void AddDisplaySizeMenu(TForm1& mainForm, std::function<void(int32_t percent)> choose) {
    forms::TMainMenu* menu = mainForm.Menu();
    forms::TMenuItem* options = nullptr;
    for (int32_t i = 0; menu != nullptr && i < menu->Items().Count(); ++i) {
        if (menu->Items().Items(i)->Name() == "Options1") {
            options = menu->Items().Items(i);
        }
    }
    if (options == nullptr) {
        throw std::logic_error("the Display size menu needs the Options menu first");
    }
    auto* sizes = new forms::TMenuItem(&mainForm);  // owned and freed by the main window
    sizes->SetName("DisplaySize1");
    sizes->SetCaption("Display size");
    sizes->SetParentComponent(options);
    const auto shared = std::make_shared<std::function<void(int32_t)>>(std::move(choose));
    const auto add = [&](const std::string& name, const std::string& caption, int32_t percent) {
        auto* item = new forms::TMenuItem(&mainForm);
        item->SetName(name);
        item->SetCaption(caption);
        item->SetParentComponent(sizes);
        item->SetOnClick(
            {name + "Click", [shared, percent](classes::TPersistent*) { (*shared)(percent); }});
    };
    for (int32_t percent : platform::TWindowSettings::kSizes) {
        add("DisplaySize" + std::to_string(percent), std::to_string(percent) + " %", percent);
    }
    add("DisplaySizeAutomatic", "Automatic (from the screen's resolution)",
        platform::TWindowSettings::kAutomaticSize);
}

}  // namespace app
