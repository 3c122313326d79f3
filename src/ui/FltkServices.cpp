// The event pump and the message dialog through FLTK.
#include "ui/FltkServices.h"

#include <cstdlib>

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Help_View.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "ui/FltkStyle.h"

namespace ui {

namespace {
// The dialog's layout, pixels.
constexpr int kMargin = 16;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kMinTextWidth = 160;
constexpr int kTextSize = 12;
// The most a message dialog shows: lines, and bytes of one line.
constexpr size_t kMaxDialogLines = 30;
constexpr size_t kMaxDialogLineBytes = 160;
// The program's own page window, pixels.
constexpr int kPageWidth = 720;
constexpr int kPageHeight = 560;
constexpr int kPageTextSize = 14;
constexpr const char* kFileScheme = "file://";
}  // namespace

void TFltkEventPump::ProcessMessages() {
    Fl::check();
    if (m_closing) {
        throw TProgramClosing{};
    }
}

void TFltkDialogs::ShowMessage(const std::string& text) {
    // However long the message, the dialog fits on the screen and its OK can be reached.
    const std::string shown =
        FitDialogText(NormaliseLineBreaks(text), kMaxDialogLines, kMaxDialogLineBytes);
    const std::string label = LabelText(shown);

    // At the display size: every length of the layout scaled.
    const auto scaled = [this](int pixels) { return pixels * m_percent / kDesignPercent; };
    const int margin = scaled(kMargin);
    const int buttonWidth = scaled(kButtonWidth);
    const int buttonHeight = scaled(kButtonHeight);
    fl_font(FL_HELVETICA, scaled(kTextSize));
    int textWidth = 0;
    int textHeight = 0;
    fl_measure(label.c_str(), textWidth, textHeight);
    textWidth = std::max(textWidth, scaled(kMinTextWidth));
    const int width = textWidth + 2 * margin;
    const int height = margin + textHeight + margin + buttonHeight + margin;

    Fl_Window window(width, height, kTitle);
    Fl_Box message(margin, margin, textWidth, textHeight);
    message.copy_label(label.c_str());
    message.labelfont(FL_HELVETICA);
    message.labelsize(scaled(kTextSize));
    message.align(FL_ALIGN_INSIDE | FL_ALIGN_LEFT | FL_ALIGN_TOP);
    Fl_Return_Button ok((width - buttonWidth) / 2, height - margin - buttonHeight, buttonWidth,
                        buttonHeight, "OK");
    ok.labelsize(scaled(ok.labelsize()));
    ok.callback([](Fl_Widget* button, void*) { button->window()->hide(); });
    window.end();
    window.set_modal();
    window.position((Fl::w() - width) / 2, (Fl::h() - height) / 2);
    window.show();

    m_openMessage = shown;
    m_open = true;
    while (window.shown()) {
        Fl::wait();
    }
    m_open = false;
    m_openMessage.clear();
}

void TFltkDialogs::Beep() {
    fl_beep(FL_BEEP_DEFAULT);
}

std::string TFltkFileDialogs::ChooseSaveFile(const std::string& title, const std::string& filter,
                                             const std::string& suggested) {
    Fl_Native_File_Chooser chooser(Fl_Native_File_Chooser::BROWSE_SAVE_FILE);
    chooser.title(title.c_str());
    chooser.filter(filter.c_str());
    chooser.preset_file(suggested.c_str());
    // The program asks before replacing a file itself, the same way whichever chooser is shown.
    chooser.options(Fl_Native_File_Chooser::NEW_FOLDER);
    if (chooser.show() != 0 || chooser.filename() == nullptr) {
        return std::string();  // cancelled, or the chooser failed (it says why itself)
    }
    return chooser.filename();
}

std::string TFltkFileDialogs::ChooseOpenFile(const std::string& title, const std::string& filter) {
#ifdef KEYVET_TEST_HOOKS
    // End-to-end scenarios answer through the environment: the desktop's chooser completes and
    // navigates as a path is typed, which no scripted typing follows reliably.
    if (const char* answer = std::getenv("KEYVET_OPEN_FILE")) {
        return answer;
    }
#endif
    Fl_Native_File_Chooser chooser(Fl_Native_File_Chooser::BROWSE_FILE);
    chooser.title(title.c_str());
    chooser.filter(filter.c_str());
    if (chooser.show() != 0 || chooser.filename() == nullptr) {
        return std::string();  // cancelled, or the chooser failed (it says why itself)
    }
    return chooser.filename();
}

bool TFltkFileDialogs::Confirm(const std::string& question) {
    fl_message_title(TFltkDialogs::kTitle);
    fl_message_font(FL_HELVETICA, FL_NORMAL_SIZE * m_percent / kDesignPercent);
    // fl_choice puts its first button on the right: "No" there, "Yes" beside it.
    return fl_choice("%s", "No", "Yes", nullptr, question.c_str()) == 1;
}

TFltkShell::TFltkShell(platform::IShell& desktop) : m_desktop(desktop) {}

TFltkShell::~TFltkShell() = default;

bool TFltkShell::Open(const std::string& address) {
    if (m_desktop.Open(address)) {
        return true;
    }
    if (!address.starts_with(kFileScheme)) {
        return false;
    }
    ShowPage(address.substr(std::string(kFileScheme).size()));
    return true;
}

bool TFltkShell::PageShown() const {
    return m_window != nullptr && m_window->shown() != 0;
}

void TFltkShell::ShowPage(const std::string& path) {
    if (m_window == nullptr) {
        m_window = std::make_unique<Fl_Double_Window>(kPageWidth, kPageHeight, kPageTitle);
        m_view = new Fl_Help_View(0, 0, kPageWidth, kPageHeight);
        m_view->textsize(kPageTextSize);
        m_window->resizable(m_view);
        m_window->end();
    }
    m_view->load(path.c_str());
    m_window->show();  // raises it when it is open already
}

}  // namespace ui
