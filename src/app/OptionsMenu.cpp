// The Options menu and the window behind it.
#include "app/OptionsMenu.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

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

namespace {
forms::TMenuItem& OptionsItem(TForm1& mainForm, const char* what) {
    forms::TMainMenu* menu = mainForm.Menu();
    for (int32_t i = 0; menu != nullptr && i < menu->Items().Count(); ++i) {
        if (menu->Items().Items(i)->Name() == "Options1") {
            return *menu->Items().Items(i);
        }
    }
    throw std::logic_error(std::string(what) + " needs the Options menu first");
}
}  // namespace

void AddDisplaySizeMenu(TForm1& mainForm, std::function<int32_t()> current,
                        std::function<void(int32_t percent)> choose) {
    forms::TMenuItem* options = &OptionsItem(mainForm, "the Display size menu");
    auto* sizes = new forms::TMenuItem(&mainForm);  // owned and freed by the main window
    sizes->SetName("DisplaySize1");
    sizes->SetCaption("Display size");
    sizes->SetParentComponent(options);
    const auto shared = std::make_shared<std::function<void(int32_t)>>(std::move(choose));
    const auto chosen = std::make_shared<std::function<int32_t()>>(std::move(current));
    const auto add = [&](const std::string& name, const std::string& caption, int32_t percent) {
        auto* item = new forms::TMenuItem(&mainForm);
        item->SetName(name);
        item->SetCaption(caption);
        item->SetParentComponent(sizes);
        item->SetRadioItem(true);
        item->SetOnUpdate(
            [chosen, percent](forms::TMenuItem& self) { self.SetChecked((*chosen)() == percent); });
        item->SetOnClick(
            {name + "Click", [shared, percent](classes::TPersistent*) { (*shared)(percent); }});
    };
    for (int32_t percent : platform::TWindowSettings::kSizes) {
        add("DisplaySize" + std::to_string(percent), std::to_string(percent) + " %", percent);
    }
    add("DisplaySizeAutomatic", "Automatic (from the screen's resolution)",
        platform::TWindowSettings::kAutomaticSize);
}

void AddSideToneMenu(TForm1& mainForm, std::function<platform::TSideToneSettings()> current,
                     std::function<void(const platform::TSideToneSettings&)> choose) {
    using platform::TSideToneSettings;
    forms::TMenuItem& options = OptionsItem(mainForm, "the Side-tone menus");
    const auto shared = std::make_shared<std::pair<std::function<TSideToneSettings()>,
                                                   std::function<void(const TSideToneSettings&)>>>(
        std::move(current), std::move(choose));
    const auto submenu = [&](const char* name, const char* caption) {
        auto* item = new forms::TMenuItem(&mainForm);  // owned and freed by the main window
        item->SetName(name);
        item->SetCaption(caption);
        item->SetParentComponent(&options);
        return item;
    };
    // One radio item of a list: `field` is the setting it chooses.
    const auto add = [&](forms::TMenuItem* list, const std::string& name,
                         const std::string& caption, int32_t TSideToneSettings::*field,
                         int32_t value) {
        auto* item = new forms::TMenuItem(&mainForm);
        item->SetName(name);
        item->SetCaption(caption);
        item->SetParentComponent(list);
        item->SetRadioItem(true);
        item->SetOnUpdate([shared, field, value](forms::TMenuItem& self) {
            self.SetChecked(shared->first().*field == value);
        });
        item->SetOnClick({name + "Click", [shared, field, value](classes::TPersistent*) {
                              TSideToneSettings settings = shared->first();
                              settings.*field = value;
                              shared->second(settings);
                          }});
    };
    forms::TMenuItem* pitch = submenu("SideTonePitch1", "Side-tone pitch");
    for (int32_t hz : TSideToneSettings::kPitches) {
        add(pitch, "SideTonePitch" + std::to_string(hz),
            std::to_string(hz) + " Hz" +
                (hz == TSideToneSettings::kDesignedPitchHz ? " (as designed)" : ""),
            &TSideToneSettings::PitchHz, hz);
    }
    forms::TMenuItem* volume = submenu("SideToneVolume1", "Side-tone volume");
    for (int32_t percent : TSideToneSettings::kVolumes) {
        add(volume, "SideToneVolume" + std::to_string(percent),
            percent == 0
                ? std::string("Silent")
                : std::to_string(percent) + " %" +
                      (percent == TSideToneSettings::kDesignedVolume ? " (as designed)" : ""),
            &TSideToneSettings::VolumePercent, percent);
    }
}

}  // namespace app
