// The main window: built from its design data, its controls bound by name, the menu handlers.
#include "app/MainForm.h"

#include "app/AboutBox.h"
#include "app/DesignTexts.h"
#include "app/FormClass.h"
#include "chart/component/Chart.h"
#include "chart/engine/Axis.h"
#include "chart/engine/Series.h"
#include "classes/ClassBuilder.h"
#include "classes/DesignData.h"
#include "platform/Services.h"
#include "port/PortIO.h"

namespace app {

namespace {
constexpr int kEditCount = 13;
constexpr int kMemoCount = 6;
}  // namespace

const classes::TClassInfo& TForm1::StaticClass() {
    return FormClass<TForm1>("TForm1");
}

const classes::TClassInfo& TForm1::ClassInfo() const {
    return StaticClass();
}

template <class T>
T* TForm1::Field(std::string_view name) const {
    T* field = dynamic_cast<T*>(FindComponent(name));
    if (field == nullptr) {
        throw std::logic_error("the main window's design data lacks " + std::string(name));
    }
    return field;
}

TForm1::TForm1(classes::TComponent* owner) : forms::TForm(owner) {
    classes::ReadComponent(DesignText("TForm1"), *this);
    m_start = Field<forms::TButton>("Start");
    m_button1 = Field<forms::TButton>("Button1");
    m_button2 = Field<forms::TButton>("Button2");
    for (int i = 1; i <= kEditCount; ++i) {
        m_edits.push_back(Field<forms::TEdit>("Edit" + std::to_string(i)));
    }
    for (int i = 1; i <= kMemoCount; ++i) {
        m_memos.push_back(Field<forms::TMemo>("Memo" + std::to_string(i)));
    }
    m_label1 = Field<forms::TLabel>("Label1");
    m_label21 = Field<forms::TLabel>("Label21");
    m_chart1 = Field<chart::TChart>("Chart1");
    m_series1 = Field<chart::TChartSeries>("Series1");
    m_portIO1 = Field<port::TPortIO>("PortIO1");
}

classes::TNotifyEvent TForm1::FindMethod(std::string_view name) {
    static const std::pair<std::string_view, TFormHandler<TForm1>> kMethods[] = {
        {"StartClick", &TForm1::StartClick},     {"Button1Click", &TForm1::Button1Click},
        {"Button2Click", &TForm1::Button2Click}, {"About1Click", &TForm1::About1Click},
        {"Help2Click", &TForm1::Help2Click},
    };
    return FormMethod<TForm1>(*this, kMethods, name);
}

void TForm1::ShowChartUnzoomed() {
    m_chart1->CancelMouseDrag();
    m_chart1->UndoZoom();
    // The wheel scrolls without saving the ranges; the chart's axes all follow the run.
    for (chart::TCustomChartAxis* axis : m_chart1->AxesList()) {
        if (!axis->IsZAxis()) {
            axis->SetAutomatic(true);
        }
    }
}

void TForm1::About1Click(classes::TPersistent* /*sender*/) {
    forms::TApplication& application = forms::TApplication::Instance();
    for (int32_t i = 0; i < application.FormCount(); ++i) {
        if (auto* about = dynamic_cast<TAboutBox*>(application.Forms(i))) {
            about->Show();
            return;
        }
    }
}

void TForm1::Help2Click(classes::TPersistent* /*sender*/) {
    platform::IShell& shell = *platform::Services().Shell;
    std::string directory = shell.CurrentDirectory();
    if (!directory.empty() && !directory.ends_with('/')) {
        directory += '/';
    }
    // The page in the current folder, as designed; where it is not there (a program started from
    // the desktop's menu runs in the home folder) the installed copy; never a missing page.
    std::string page = directory + kHelpPage;
    if (directory.empty() || !shell.FileExists(page)) {
        page = shell.InstalledDocument(kHelpPage);
        if (page.empty()) {
            platform::Services().Dialogs->ShowMessage("The help page " + std::string(kHelpPage) +
                                                      " is neither in " + directory +
                                                      " nor installed.");
            return;
        }
    }
    // A Linux path starts with "/", which takes the place of the address's third slash.
    shell.Open(page.starts_with('/') ? "file://" + page : "file:///" + page);
}

}  // namespace app
