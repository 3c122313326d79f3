// The keys of the main window's menu bar.
#include "app/MenuKeys.h"

#include <cctype>

#include "app/MainForm.h"
#include "forms/Menus.h"

namespace app {

namespace {
// The function key Fn of the help command.
constexpr forms::TShortCut kHelpKey = forms::kscFunctionKey + 1;

void SetKey(TForm1& form, const char* name, forms::TShortCut key) {
    if (auto* item = dynamic_cast<forms::TMenuItem*>(form.FindComponent(name))) {
        item->SetShortCut(key);
    }
}
}  // namespace

void SetMenuKeys(TForm1& form) {
    // Each menu of the bar opens with Alt and its first letter (File, Run, Options, Help: no
    // two share one).
    const forms::TMenuItem& bar = form.Menu()->Items();
    for (int32_t i = 0; i < bar.Count(); ++i) {
        forms::TMenuItem* menu = bar.Items(i);
        if (!menu->Caption().empty()) {
            const auto first = static_cast<unsigned char>(menu->Caption().front());
            menu->SetShortCut(forms::kscAlt | static_cast<forms::TShortCut>(std::tolower(first)));
        }
    }
    SetKey(form, "Help2", kHelpKey);
    SetKey(form, "Quit1", forms::kscCtrl | 'q');
}

}  // namespace app
