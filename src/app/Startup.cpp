// Start-up: the locale's number separators, class registration and the creation of the windows
// in their order.
#include "app/Startup.h"

#include <memory>

#include "app/AboutBox.h"
#include "app/MainForm.h"
#include "app/OptionsMenu.h"
#include "app/RunMenu.h"
#include "base/Conversions.h"
#include "chart/component/Chart.h"
#include "classes/Properties.h"
#include "forms/Application.h"
#include "port/PortIO.h"

namespace app {

void RegisterClasses() {
    forms::RegisterControlClasses();
    chart::RegisterChartClasses();
    classes::RegisterClass(port::TPortIO::StaticClass());
}

void CreateWindows() {
    // The result boxes show fractions with the user's decimal separator.
    base::LoadFormatSettingsFromLocale();
    RegisterClasses();
    forms::TApplication& application = forms::TApplication::Instance();
    application.AddForm(std::make_unique<TForm1>(nullptr));
    application.AddForm(std::make_unique<TForm2>(nullptr));
    application.AddForm(std::make_unique<TAboutBox>(nullptr));
    application.AddForm(std::make_unique<TForm4>(nullptr));
    application.AddForm(std::make_unique<TForm5>(nullptr));
    application.AddForm(std::make_unique<TAboutBox1>(nullptr));
    CreateRunWindows(application);
    AddOptionsMenu(application, dynamic_cast<TForm1&>(*application.MainForm()));
}

}  // namespace app
