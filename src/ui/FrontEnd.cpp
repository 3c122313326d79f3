// The front end: services, window views, the event loop and the program's end.
#include "ui/FrontEnd.h"

#include <FL/Fl.H>

#include "app/MainForm.h"
#include "port/PortIO.h"
#include "ui/AssetFiles.h"
#include "ui/ChartView.h"
#include "ui/FormView.h"
#include "ui/TestChannel.h"

namespace ui {

TFrontEnd::TFrontEnd(forms::TApplication& application)
    : m_application(application),
      m_services(platform::TServices{&m_keys, nullptr, &m_pump, &m_dialogs, nullptr}),
      m_programFolder(ui::ProgramFolder()) {
    m_keys.InstallEventFilter();
    m_testChannel = TTestChannel::FromEnvironment(*this);
}

TFrontEnd::~TFrontEnd() {
    m_testChannel.reset();
    m_formViews.clear();
    m_keys.RemoveEventFilter();
}

void TFrontEnd::BindForms() {
    for (int32_t i = 0; i < m_application.FormCount(); ++i) {
        m_formViews.push_back(std::make_unique<TFormView>(*this, *m_application.Forms(i)));
    }
    // The main window's chart takes no mouse while a keying run is being captured: the right
    // button is then only the Morse key.
    for (const std::unique_ptr<TFormView>& formView : m_formViews) {
        auto* main = dynamic_cast<app::TForm1*>(formView->Form());
        for (const std::unique_ptr<TControlView>& view : formView->Views()) {
            if (auto* chart = dynamic_cast<TChartView*>(view.get()); chart != nullptr && main) {
                chart->SetMouseGate([main] { return !main->Capturing(); });
            }
        }
    }
    m_keys.SetPassThrough([this](int event, const Fl_Window* window) {
        for (const std::unique_ptr<TFormView>& formView : m_formViews) {
            for (const std::unique_ptr<TControlView>& view : formView->Views()) {
                auto* chart = dynamic_cast<TChartView*>(view.get());
                if (chart != nullptr && chart->WantsRightButton(event, window)) {
                    return true;
                }
            }
        }
        return false;
    });
}

TFormView* TFrontEnd::ViewOf(const forms::TForm& form) const {
    for (const std::unique_ptr<TFormView>& view : m_formViews) {
        if (view->Form() == &form) {
            return view.get();
        }
    }
    return nullptr;
}

int TFrontEnd::Run() {
    forms::TForm* mainForm = m_application.MainForm();
    if (mainForm == nullptr) {
        return 1;
    }
    if (TFormView* view = ViewOf(*mainForm); view != nullptr && m_argc > 0) {
        view->SetToolkitArguments(m_argc, m_argv);
    }
    RunHandler([mainForm] { mainForm->Show(); });
    while (!m_application.Terminated()) {
        if (Fl::wait() == 0) {
            break;  // no window open any more
        }
    }
    return 0;
}

void TFrontEnd::RunHandler(const std::function<void()>& handler) {
    try {
        m_application.Dispatch(handler);
    } catch (const TProgramClosing&) {
        // The handler pumped events and the main window was closed meanwhile: it is left here
        // and the event loop ends.
    }
}

void TFrontEnd::CloseRequested(TFormView& view, bool byEscape) {
    forms::TForm* form = view.Form();
    if (form == nullptr) {
        return;
    }
    if (form != m_application.MainForm()) {
        form->Close();
        return;
    }
    if (!byEscape) {
        EndProgram();
    }
}

void TFrontEnd::EndProgram() {
    if (auto* mainForm = dynamic_cast<app::TForm1*>(m_application.MainForm())) {
        if (mainForm->RunFlag() != 0) {
            // A keying run is in progress: no tone may outlive the window.
            mainForm->PortIO1().SpeakerOff();
            mainForm->PortIO1().SetOpened(false);
        }
    }
    m_pump.Close();
    for (int32_t i = 0; i < m_application.FormCount(); ++i) {
        m_application.Forms(i)->Hide();
    }
    m_application.MainForm()->Close();
}

void TFrontEnd::WindowPainted(TFormView& view) {
    if (m_testChannel != nullptr) {
        m_testChannel->WindowPainted(view);
    }
}

}  // namespace ui
