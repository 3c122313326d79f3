// The test-only state channel (compiled in with KEYVET_TEST_HOOKS).
#include "ui/TestChannel.h"

#ifdef KEYVET_TEST_HOOKS

#include <FL/Fl.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Window.H>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "chart/component/Chart.h"
#include "chart/engine/Axis.h"
#include "forms/ChoiceCtrls.h"
#include "forms/ExtCtrls.h"
#include "forms/StdCtrls.h"
#include "ui/ChartView.h"
#include "ui/FormView.h"
#include "ui/FrontEnd.h"
#include "ui/StdViews.h"

namespace ui {

namespace {
// How often the program looks for a state request, seconds.
constexpr double kPollInterval = 0.02;
// Left padding of an FLTK menu bar's first title, and the extra width of each title, pixels.
constexpr int kMenuBarLeft = 6;
constexpr int kMenuTitlePadding = 16;

volatile std::sig_atomic_t g_stateRequested = 0;

void RequestState(int /*signal*/) {
    g_stateRequested = 1;
}

std::string Rect(int x, int y, int w, int h) {
    return std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(w) + "," +
           std::to_string(h);
}

void DescribeControls(std::ostringstream& out, const TFormView& view, const std::string& prefix) {
    Fl_Window& window = view.Window();
    for (const std::unique_ptr<TControlView>& controlView : view.Views()) {
        const forms::TControl* control = controlView->Control();
        if (control == nullptr) {
            continue;
        }
        const std::string key = prefix + control->Name() + ".";
        const TBounds screen = controlView->WindowBounds();
        out << key << "Class=" << control->ClassName() << '\n'
            << key << "Caption=" << EscapeValue(control->Caption()) << '\n'
            << key << "Enabled=" << (control->Enabled() ? 1 : 0) << '\n'
            << key << "Visible=" << (control->Visible() ? 1 : 0) << '\n'
            << key << "Bounds="
            << Rect(control->Left(), control->Top(), control->Width(), control->Height()) << '\n'
            << key << "Screen="
            << Rect(window.x() + screen.Left, window.y() + screen.Top, screen.Width, screen.Height)
            << '\n';
        if (const auto* memo = dynamic_cast<const forms::TMemo*>(control)) {
            out << key << "Lines=" << memo->Lines().Count() << '\n';
            // What a person reads in a shown box (the main window's data boxes stay hidden).
            if (memo->Visible()) {
                out << key << "Text=" << EscapeValue(MemoShownText(*memo)) << '\n';
            }
            // The data boxes' lines on one line, hidden or not (a run's record).
            std::string words;
            for (int32_t i = 0; i < memo->Lines().Count(); ++i) {
                if (i > 0) {
                    words += ' ';
                }
                words += memo->Lines().Strings(i);
            }
            out << key << "Words=" << EscapeValue(words) << '\n';
        }
        if (dynamic_cast<const forms::TPanel*>(control) != nullptr) {
            // A panel's colour: a lamp's state.
            out << key << "Color=" << control->Color() << '\n';
        }
        if (const auto* checkBox = dynamic_cast<const forms::TCheckBox*>(control)) {
            out << key << "Checked=" << (checkBox->Checked() ? 1 : 0) << '\n';
        }
        if (const auto* listBox = dynamic_cast<const forms::TListBox*>(control)) {
            const classes::TStringList& items = listBox->Items();
            out << key << "Items=" << items.Count() << '\n'
                << key << "ItemIndex=" << listBox->ItemIndex() << '\n';
            for (int32_t i = 0; i < items.Count(); ++i) {
                out << key << "Item" << i << '=' << EscapeValue(items.Strings(i)) << '\n';
            }
        }
        if (const auto* chartView = dynamic_cast<const TChartView*>(controlView.get())) {
            out << key << "Paints=" << chartView->PaintCount() << '\n';
            const auto& chart = static_cast<const chart::TChart&>(*control);
            // Each side axis: minimum, maximum and whether it follows its series; a minimum
            // and maximum as the last paint drew them.
            const std::pair<const char*, const chart::TCustomChartAxis*> axes[] = {
                {"LeftAxis", &chart.LeftAxis()}, {"BottomAxis", &chart.BottomAxis()}};
            for (const auto& [name, axis] : axes) {
                out << key << name << '=' << axis->Minimum() << ',' << axis->Maximum() << ','
                    << (axis->Automatic() ? 1 : 0) << '\n'
                    << key << name << "Pixels=" << axis->StartPixel() << ',' << axis->EndPixel()
                    << '\n';
            }
            out << key << "Plot=" << chart.PlotRect().Left << ',' << chart.PlotRect().Top << ','
                << chart.PlotRect().Right << ',' << chart.PlotRect().Bottom << '\n';
        }
    }
}

void DescribeMenu(std::ostringstream& out, TFormView& view, const std::string& prefix) {
    Fl_Menu_Bar* bar = view.MenuBar();
    forms::TMainMenu* menu = view.Form()->Menu();
    if (bar == nullptr || menu == nullptr) {
        return;
    }
    Fl_Window& window = view.Window();
    // The titles as FLTK's menu bar lays them out, left to right.
    int x = window.x() + bar->x() + kMenuBarLeft;
    const Fl_Menu_Item* title = bar->menu();
    for (int32_t i = 0; i < menu->Items().Count() && title != nullptr && title->label() != nullptr;
         ++i) {
        const int width = title->measure(nullptr, bar) + kMenuTitlePadding;
        out << prefix << menu->Items().Items(i)->Name()
            << ".Screen=" << Rect(x, window.y() + bar->y(), width, bar->h()) << '\n';
        x += width;
        title = title->next();
    }
}
}  // namespace

std::string EscapeValue(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string DescribeState(TFrontEnd& frontEnd) {
    std::ostringstream out;
    out << "KeyState=" << static_cast<int>(frontEnd.Keys().StateNow()) << '\n'
        << "KeyInput=" << platform::KindName(frontEnd.KeyInput().Settings().Kind) << '\n'
        << "KeyInput.Lost=" << (frontEnd.KeyInput().Lost() ? 1 : 0) << '\n'
        << "Dialog.Open=" << (frontEnd.Dialogs().MessageOpen() ? 1 : 0) << '\n'
        << "Dialog.Text=" << EscapeValue(frontEnd.Dialogs().OpenMessage()) << '\n';
    for (const std::unique_ptr<TFormView>& view : frontEnd.FormViews()) {
        forms::TForm* form = view->Form();
        if (form == nullptr) {
            continue;
        }
        const std::string prefix = form->Name() + ".";
        Fl_Window& window = view->Window();
        out << prefix << "Class=" << form->ClassName() << '\n'
            << prefix << "Caption=" << EscapeValue(form->Caption()) << '\n'
            << prefix << "Visible=" << (form->Visible() ? 1 : 0) << '\n'
            << prefix << "Shown=" << (window.shown() && window.visible() ? 1 : 0) << '\n'
            << prefix << "Bounds=" << Rect(form->Left(), form->Top(), form->Width(), form->Height())
            << '\n'
            << prefix << "Screen=" << Rect(window.x(), window.y(), window.w(), window.h()) << '\n';
        DescribeControls(out, *view, prefix);
        DescribeMenu(out, *view, prefix);
    }
    return out.str();
}

std::unique_ptr<TTestChannel> TTestChannel::FromEnvironment(TFrontEnd& frontEnd) {
    const char* path = std::getenv("KEYVET_STATE_FILE");
    if (path == nullptr || *path == '\0') {
        return nullptr;
    }
    return std::make_unique<TTestChannel>(frontEnd, path);
}

TTestChannel::TTestChannel(TFrontEnd& frontEnd, std::string path)
    : m_frontEnd(frontEnd), m_path(std::move(path)) {
    std::signal(SIGUSR1, &RequestState);
    Fl::add_timeout(kPollInterval, &TTestChannel::Poll, this);
}

TTestChannel::~TTestChannel() {
    Fl::remove_timeout(&TTestChannel::Poll, this);
    std::signal(SIGUSR1, SIG_DFL);
}

void TTestChannel::Poll(void* channel) {
    auto* self = static_cast<TTestChannel*>(channel);
    if (g_stateRequested != 0) {
        g_stateRequested = 0;
        self->Write();
    }
    Fl::repeat_timeout(kPollInterval, &TTestChannel::Poll, channel);
}

void TTestChannel::WindowPainted(TFormView& view) {
    if (m_firstPaint == 0 && view.Form() == m_frontEnd.Application().MainForm()) {
        m_firstPaint = std::chrono::duration_cast<std::chrono::nanoseconds>(
                           std::chrono::system_clock::now().time_since_epoch())
                           .count();
        Write();
    }
}

void TTestChannel::Write() {
    const std::string temporary = m_path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << "FirstPaint=" << m_firstPaint << '\n' << DescribeState(m_frontEnd);
        if (!out) {
            std::fprintf(stderr, "keyvet: cannot write the state file %s\n", temporary.c_str());
            return;
        }
    }
    if (std::rename(temporary.c_str(), m_path.c_str()) != 0) {
        std::fprintf(stderr, "keyvet: cannot write the state file %s\n", m_path.c_str());
    }
}

}  // namespace ui

#else

namespace ui {

std::unique_ptr<TTestChannel> TTestChannel::FromEnvironment(TFrontEnd& /*frontEnd*/) {
    return nullptr;
}
TTestChannel::~TTestChannel() = default;
void TTestChannel::WindowPainted(TFormView& /*view*/) {}

}  // namespace ui

#endif
