// The window of a form: building its widgets, following the form, the menu, the close box.
#include "ui/FormView.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Menu_Bar.H>

#include <algorithm>
#include <functional>
#include <utility>

#include "chart/component/Chart.h"
#include "forms/ExtCtrls.h"
#include "forms/Menus.h"
#include "forms/StdCtrls.h"
#include "ui/ChartView.h"
#include "ui/ChoiceViews.h"
#include "ui/ExtViews.h"
#include "ui/FltkStyle.h"
#include "ui/FrontEnd.h"
#include "ui/ListViews.h"
#include "ui/StdViews.h"

namespace ui {

namespace {
// The function key that opens the menu bar's first menu, as in other desktop programs.
constexpr int kMenuBarKey = 10;

// A menu item's shortcut as the toolkit writes it; 0 for none.
int FltkShortcut(forms::TShortCut key) {
    const forms::TShortCut code = key & forms::kscKeyMask;
    if (code == 0) {
        return 0;
    }
    int shortcut = code >= forms::kscFunctionKey
                       ? FL_F + static_cast<int>(code - forms::kscFunctionKey)
                       : static_cast<int>(code);
    if ((key & forms::kscCtrl) != 0) {
        shortcut |= FL_CTRL;
    }
    if ((key & forms::kscAlt) != 0) {
        shortcut |= FL_ALT;
    }
    return shortcut;
}

// The menu bar: the toolkit's own, which also opens its first menu on F10.
class TMenuBar : public Fl_Menu_Bar {
  public:
    TMenuBar(int x, int y, int w, int h, std::function<void()> update)
        : Fl_Menu_Bar(x, y, w, h), m_update(std::move(update)) {}

    int handle(int event) override {
        if (event == FL_PUSH || event == FL_SHORTCUT) {
            m_update();
        }
        constexpr int kModifiers = FL_SHIFT | FL_CTRL | FL_ALT | FL_META;
        if (event == FL_SHORTCUT && Fl::event_key() == FL_F + kMenuBarKey &&
            (Fl::event_state() & kModifiers) == 0 && visible_r() && menu() != nullptr &&
            menu()->text != nullptr) {
            picked(menu()->pulldown(x(), y(), w(), h(), menu(), this, nullptr, 1));
            return 1;
        }
        return Fl_Menu_Bar::handle(event);
    }

  private:
    std::function<void()> m_update;
};
}  // namespace

// The FLTK window: reports resizes, paints and the close box to its view. Children are placed
// by their anchors, not by FLTK's resizing.
class TFormWindow : public Fl_Double_Window {
  public:
    TFormWindow(TFormView& view, int width, int height)
        : Fl_Double_Window(width, height), m_view(view) {}

    void resize(int x, int y, int width, int height) override {
        Fl_Double_Window::resize(x, y, width, height);
        m_view.WindowGeometryChanged();
    }

    void flush() override {
        Fl_Double_Window::flush();
        if (!m_view.Painted()) {
            m_view.WindowPainted();
        }
    }

    void hide() override {
        Fl_Double_Window::hide();
        m_view.WindowHidden();
    }

  private:
    TFormView& m_view;
};

namespace {
// Smallest client area of a sizeable window, pixels.
constexpr int kMinClientWidth = 120;
constexpr int kMinClientHeight = 60;

bool IsSizeable(forms::TFormBorderStyle style) {
    switch (style) {
        case forms::TFormBorderStyle::bsSizeable:
        case forms::TFormBorderStyle::bsSizeToolWin:
            return true;
        case forms::TFormBorderStyle::bsNone:
        case forms::TFormBorderStyle::bsSingle:
        case forms::TFormBorderStyle::bsDialog:
        case forms::TFormBorderStyle::bsToolWindow:
            return false;
    }
    return false;
}

bool IsCentred(forms::TPosition position) {
    switch (position) {
        case forms::TPosition::poScreenCenter:
        case forms::TPosition::poDesktopCenter:
        case forms::TPosition::poMainFormCenter:
        case forms::TPosition::poOwnerFormCenter:
            return true;
        case forms::TPosition::poDesigned:
        case forms::TPosition::poDefault:
        case forms::TPosition::poDefaultPosOnly:
        case forms::TPosition::poDefaultSizeOnly:
            return false;
    }
    return false;
}

void CloseBoxPressed(Fl_Widget* /*window*/, void* view) {
    static_cast<TFormView*>(view)->CloseRequested();
}
}  // namespace

TFormView::TFormView(TFrontEnd& frontEnd, forms::TForm& form)
    : m_frontEnd(frontEnd), m_form(&form) {
    Fl_Group* const outerGroup = Fl_Group::current();
    Fl_Group::current(nullptr);
    m_designMenu = form.Menu() != nullptr ? forms::kFrameMenu : 0;
    m_clientTop = frontEnd.Scaled(m_designMenu);
    m_window = new TFormWindow(*this, std::max(frontEnd.Scaled(form.ClientWidth()), 1),
                               std::max(frontEnd.Scaled(form.ClientHeight()) + m_clientTop, 1));
    m_window->end();
    m_window->copy_label(form.Caption().c_str());
    m_window->color(FltkColor(form.Color()));
    m_window->callback(&CloseBoxPressed, this);
    LimitSize();
    if (form.Menu() != nullptr) {
        BuildMenu();
    }
    BuildControls(form, nullptr, *m_window);
    Fl_Group::current(outerGroup);

    form.SetView(this);
    ApplyBounds();
    for (const std::unique_ptr<TControlView>& view : m_views) {
        view->Attach();
    }
    if (form.Visible()) {
        ShowWindow();
    }
}

TFormView::~TFormView() {
    if (m_form != nullptr && m_form->View() == this) {
        m_form->SetView(nullptr);
    }
    // The widgets go with the window, before the views that their callbacks name.
    delete m_window;
    m_window = nullptr;
    m_views.clear();
}

Fl_Window& TFormView::Window() const {
    return *m_window;
}

TControlView* TFormView::ViewOf(const std::string& name) const {
    for (const std::unique_ptr<TControlView>& view : m_views) {
        if (view->Control() != nullptr && view->Control()->Name() == name) {
            return view.get();
        }
    }
    return nullptr;
}

void TFormView::BuildControls(forms::TWinControl& container, TControlView* containerView,
                              Fl_Group& group) {
    // Drawn first and so beneath: the controls without a window of their own (labels,
    // pictures); then the windowed controls in tab order, which is also FLTK's focus order.
    std::vector<forms::TControl*> controls;
    for (int32_t i = 0; i < container.ControlCount(); ++i) {
        controls.push_back(container.Controls(i));
    }
    std::stable_sort(
        controls.begin(), controls.end(), [](const forms::TControl* a, const forms::TControl* b) {
            const bool aWindowed = dynamic_cast<const forms::TWinControl*>(a) != nullptr;
            const bool bWindowed = dynamic_cast<const forms::TWinControl*>(b) != nullptr;
            if (aWindowed != bWindowed) {
                return !aWindowed;
            }
            return aWindowed && a->TabOrder() < b->TabOrder();
        });
    for (forms::TControl* control : controls) {
        std::unique_ptr<TControlView> view = CreateView(*control);
        TControlView* const raw = view.get();
        group.add(raw->Widget());
        m_views.push_back(std::move(view));
        if (containerView != nullptr) {
            containerView->AddChild(raw);
        } else {
            m_topViews.push_back(raw);
        }
        if (auto* panelView = dynamic_cast<TPanelView*>(raw)) {
            BuildControls(static_cast<forms::TWinControl&>(*control), panelView,
                          panelView->Group());
        }
    }
}

std::unique_ptr<TControlView> TFormView::CreateView(forms::TControl& control) {
    if (auto* chart = dynamic_cast<chart::TChart*>(&control)) {
        return std::make_unique<TChartView>(*this, *chart);
    }
    if (auto* panel = dynamic_cast<forms::TPanel*>(&control)) {
        return std::make_unique<TPanelView>(*this, *panel);
    }
    if (auto* button = dynamic_cast<forms::TButton*>(&control)) {
        return std::make_unique<TButtonView>(*this, *button);
    }
    if (auto* label = dynamic_cast<forms::TLabel*>(&control)) {
        return std::make_unique<TLabelView>(*this, *label);
    }
    if (auto* edit = dynamic_cast<forms::TEdit*>(&control)) {
        return std::make_unique<TEditView>(*this, *edit);
    }
    if (auto* memo = dynamic_cast<forms::TMemo*>(&control)) {
        return std::make_unique<TMemoView>(*this, *memo);
    }
    if (auto* comboBox = dynamic_cast<forms::TComboBox*>(&control)) {
        return std::make_unique<TComboBoxView>(*this, *comboBox);
    }
    if (auto* checkBox = dynamic_cast<forms::TCheckBox*>(&control)) {
        return std::make_unique<TCheckBoxView>(*this, *checkBox);
    }
    if (auto* listBox = dynamic_cast<forms::TListBox*>(&control)) {
        return std::make_unique<TListBoxView>(*this, *listBox);
    }
    if (auto* image = dynamic_cast<forms::TImage*>(&control)) {
        return std::make_unique<TImageView>(*this, *image);
    }
    throw std::logic_error("the front end has no widget for " + control.ClassName() + " " +
                           control.Name());
}

void TFormView::BuildMenu() {
    m_menuBar = new TMenuBar(0, 0, m_window->w(), m_clientTop, [this] { UpdateMenu(); });
    m_menuBar->box(FL_FLAT_BOX);
    m_menuBar->color(FltkColor(m_form->Color()));
    m_menuBar->textfont(FltkFace(m_form->Font()));
    m_menuBar->textsize(m_frontEnd.Scaled(CharacterHeight(m_form->Font())));
    m_menuBar->down_box(FL_FLAT_BOX);
    m_menuBar->selection_color(FL_SELECTION_COLOR);
    AddMenuItems(m_form->Menu()->Items());
    m_menuItems.push_back(Fl_Menu_Item{});
    m_menuSources.emplace_back(nullptr, nullptr);
    UpdateMenu();
    m_menuBar->menu(m_menuItems.data());
    m_window->add(m_menuBar);
}

void TFormView::AddMenuItems(const forms::TMenuItem& parent) {
    for (int32_t i = 0; i < parent.Count(); ++i) {
        forms::TMenuItem* item = parent.Items(i);
        m_menuLabels.push_back(std::make_unique<std::string>(LabelText(item->Caption())));
        Fl_Menu_Item entry{};
        entry.text = m_menuLabels.back()->c_str();
        // A menu of the bar opens on its key; a command is chosen by its key (and shows it).
        entry.shortcut_ = FltkShortcut(item->ShortCut());
        m_menuSources.emplace_back(item, m_menuLabels.back().get());
        if (item->Count() > 0) {
            entry.flags = FL_SUBMENU;
            m_menuItems.push_back(entry);
            AddMenuItems(*item);
            m_menuItems.push_back(Fl_Menu_Item{});
            m_menuSources.emplace_back(nullptr, nullptr);
        } else {
            m_menuLinks.push_back(std::make_unique<TMenuLink>(TMenuLink{this, item}));
            entry.callback_ = &TFormView::MenuChosen;
            entry.user_data_ = m_menuLinks.back().get();
            m_menuItems.push_back(entry);
        }
    }
}

void TFormView::UpdateMenu() {
    for (size_t i = 0; i < m_menuSources.size() && i < m_menuItems.size(); ++i) {
        auto [item, label] = m_menuSources[i];
        if (item == nullptr) {
            continue;
        }
        item->Update();
        const std::string text = LabelText(item->Caption());
        if (text != *label) {
            *label = text;
            m_menuItems[i].text = label->c_str();
        }
        int flags = m_menuItems[i].flags & FL_SUBMENU;
        flags |= item->Enabled() ? 0 : FL_MENU_INACTIVE;
        flags |= item->RadioItem() ? FL_MENU_RADIO : 0;
        flags |= item->RadioItem() && item->Checked() ? FL_MENU_VALUE : 0;
        m_menuItems[i].flags = flags;
    }
}

void TFormView::MenuChosen(Fl_Widget* /*widget*/, void* link) {
    auto* menuLink = static_cast<TMenuLink*>(link);
    forms::TMenuItem* item = menuLink->Item;
    menuLink->View->FrontEnd().RunHandler([item] { item->Click(); });
}

void TFormView::ControlChanged(forms::TControl& control, forms::TControlChange change) {
    if (&control != m_form) {
        return;
    }
    switch (change) {
        case forms::TControlChange::ccBounds:
            if (!m_readingWindow) {
                ApplyBounds();
            }
            break;
        case forms::TControlChange::ccVisible:
            if (m_form->Visible()) {
                ShowWindow();
            } else {
                m_window->hide();
            }
            break;
        case forms::TControlChange::ccEnabled:
            if (m_form->Enabled()) {
                m_window->activate();
            } else {
                m_window->deactivate();
            }
            break;
        case forms::TControlChange::ccCaption:
            m_window->copy_label(m_form->Caption().c_str());
            break;
        case forms::TControlChange::ccFont:
            // The controls that show the form's font hear of it themselves.
            break;
        case forms::TControlChange::ccColor:
            m_window->color(FltkColor(m_form->Color()));
            m_window->redraw();
            break;
        case forms::TControlChange::ccLines:
        case forms::TControlChange::ccPicture:
            break;
        case forms::TControlChange::ccRepaint:
            m_window->redraw();
            break;
        case forms::TControlChange::ccPaintNow:
            m_window->redraw();
            Fl::flush();
            break;
        case forms::TControlChange::ccBringToFront:
            if (m_form->Visible()) {
                m_window->show();  // raises a window that is open already
            }
            break;
    }
}

void TFormView::ControlDestroyed(forms::TControl& control) {
    if (&control == m_form) {
        m_form = nullptr;
        m_window->hide();
    }
}

void TFormView::LimitSize() {
    if (IsSizeable(m_form->BorderStyle())) {
        m_window->size_range(m_frontEnd.Scaled(kMinClientWidth),
                             m_frontEnd.Scaled(kMinClientHeight) + m_clientTop);
    } else {
        const int width = std::max(m_frontEnd.Scaled(m_form->ClientWidth()), 1);
        const int height = std::max(m_frontEnd.Scaled(m_form->ClientHeight()) + m_clientTop, 1);
        m_window->size_range(width, height, width, height);
    }
}

void TFormView::ApplyBounds() {
    // The window's place on the screen is as designed; its size is the display size's.
    m_applyingBounds = true;
    const int32_t frame = m_form->FrameWidth();
    m_window->resize(m_form->Left() + frame,
                     m_form->Top() + m_form->FrameTopHeight() - m_designMenu,
                     std::max(m_frontEnd.Scaled(m_form->ClientWidth()), 1),
                     std::max(m_frontEnd.Scaled(m_form->ClientHeight()) + m_clientTop, 1));
    m_applyingBounds = false;
}

void TFormView::Rescale() {
    if (m_form == nullptr) {
        return;
    }
    m_clientTop = m_frontEnd.Scaled(m_designMenu);
    if (m_menuBar != nullptr) {
        m_menuBar->textsize(m_frontEnd.Scaled(CharacterHeight(m_form->Font())));
    }
    ApplyBounds();
    LimitSize();
    for (const std::unique_ptr<TControlView>& view : m_views) {
        view->Rescale();
    }
    WindowGeometryChanged();
    m_window->redraw();
}

void TFormView::WindowGeometryChanged() {
    if (m_menuBar != nullptr) {
        m_menuBar->resize(0, 0, m_window->w(), m_clientTop);
    }
    if (m_form == nullptr) {
        return;
    }
    if (!m_applyingBounds) {
        const int32_t frame = m_form->FrameWidth();
        const int32_t above = m_form->FrameTopHeight() - m_designMenu;
        m_readingWindow = true;
        m_form->SetBounds(m_window->x() - frame, m_window->y() - above,
                          m_frontEnd.Unscaled(m_window->w()) + 2 * frame,
                          m_frontEnd.Unscaled(m_window->h() - m_clientTop) +
                              m_form->FrameTopHeight() + m_form->FrameBottomHeight());
        m_readingWindow = false;
    }
    Reanchor();
}

void TFormView::Reanchor() {
    for (TControlView* view : m_topViews) {
        view->ParentResized(m_form->ClientWidth(), m_form->ClientHeight());
    }
}

void TFormView::ShowWindow() {
    if (!m_shownBefore && IsCentred(m_form->Position())) {
        CenterOnScreen();
    }
    if (!m_shownBefore && m_argc > 0) {
        m_shownBefore = true;
        m_window->show(m_argc, m_argv);  // applies -geometry, -title, -scheme, colours, ...
        return;
    }
    m_shownBefore = true;
    m_window->show();
}

void TFormView::CenterOnScreen() {
    int screenX = 0;
    int screenY = 0;
    int screenWidth = 0;
    int screenHeight = 0;
    Fl::screen_xywh(screenX, screenY, screenWidth, screenHeight, 0);
    // Centred at the display size: the frame as it is, the client area scaled.
    const int32_t width =
        m_form->Width() - m_form->ClientWidth() + m_frontEnd.Scaled(m_form->ClientWidth());
    const int32_t height = m_form->Height() - m_form->ClientHeight() - m_designMenu +
                           m_frontEnd.Scaled(m_form->ClientHeight()) + m_clientTop;
    m_form->SetBounds(screenX + (screenWidth - width) / 2, screenY + (screenHeight - height) / 2,
                      m_form->Width(), m_form->Height());
}

void TFormView::CloseRequested() {
    if (m_form == nullptr) {
        m_window->hide();
        return;
    }
    // FLTK closes a window on Escape; the main window closes only through its close box.
    const bool escape = Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape;
    m_frontEnd.CloseRequested(*this, escape);
}

void TFormView::WindowPainted() {
    m_painted = true;
    m_frontEnd.WindowPainted(*this);
}

void TFormView::WindowHidden() {
    m_painted = false;
    // A window closed by the window system without asking (or hidden by FLTK) hides its form.
    if (m_form != nullptr && m_form->Visible()) {
        m_form->Hide();
    }
}

}  // namespace ui
