// The view of one window (form): an FLTK window with the form's caption, size, placement,
// frame style and main menu, holding the views of its controls.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "forms/Form.h"
#include "ui/ControlView.h"

class Fl_Group;
class Fl_Window;
class Fl_Menu_Bar;
struct Fl_Menu_Item;

namespace forms {
class TMenuItem;
}

namespace ui {

class TFrontEnd;
class TFormWindow;

class TFormView : public forms::IControlView {
  public:
    // Builds the window and a view for every control of the form, in step with them; the window
    // opens when the form is shown.
    TFormView(TFrontEnd& frontEnd, forms::TForm& form);
    ~TFormView() override;
    TFormView(const TFormView&) = delete;
    TFormView& operator=(const TFormView&) = delete;

    void ControlChanged(forms::TControl& control, forms::TControlChange change) override;
    void ControlDestroyed(forms::TControl& control) override;

    // Null once the form was freed.
    forms::TForm* Form() const { return m_form; }
    // The window toolkit's own command-line options, applied when the window first opens.
    void SetToolkitArguments(int argc, char** argv) {
        m_argc = argc;
        m_argv = argv;
    }
    TFrontEnd& FrontEnd() const { return m_frontEnd; }
    Fl_Window& Window() const;
    // Height of the menu bar above the client area, pixels (0 without a menu).
    int32_t ClientTop() const { return m_clientTop; }
    // Every control's view, containers before the controls inside them.
    const std::vector<std::unique_ptr<TControlView>>& Views() const { return m_views; }
    // The view of the named control; null when the form has none.
    TControlView* ViewOf(const std::string& name) const;

    // The window was painted at least once since it was last opened.
    bool Painted() const { return m_painted; }

    // Called by the window: its size or place changed (by the user, the window manager or the
    // program); the close box was pressed; it was painted.
    void WindowGeometryChanged();
    void CloseRequested();
    void WindowPainted();
    void WindowHidden();

    // Places and sizes the window and every control again at the front end's display size.
    void Rescale();

    // The menu bar; null without a menu.
    Fl_Menu_Bar* MenuBar() const { return m_menuBar; }
    // Brings every menu entry's label and states up to date with its item (after the item's own
    // update); the menu bar does it before it opens a menu or tries the items' keys.
    void UpdateMenu();

  private:
    struct TMenuLink {
        TFormView* View;
        forms::TMenuItem* Item;
    };

    void BuildControls(forms::TWinControl& container, TControlView* containerView, Fl_Group& group);
    std::unique_ptr<TControlView> CreateView(forms::TControl& control);
    void BuildMenu();
    void AddMenuItems(const forms::TMenuItem& parent);
    static void MenuChosen(Fl_Widget* widget, void* link);
    void ApplyBounds();
    // The window's size limits at the display size: fixed unless the frame is sizeable.
    void LimitSize();
    void ShowWindow();
    void CenterOnScreen();
    void Reanchor();

    TFrontEnd& m_frontEnd;
    forms::TForm* m_form;
    TFormWindow* m_window;  // owned; deleted before the views
    Fl_Menu_Bar* m_menuBar = nullptr;
    std::vector<Fl_Menu_Item> m_menuItems;
    std::vector<std::unique_ptr<std::string>> m_menuLabels;
    std::vector<std::unique_ptr<TMenuLink>> m_menuLinks;
    // For each entry of m_menuItems, its item and label (null for the ends of the menus).
    std::vector<std::pair<forms::TMenuItem*, std::string*>> m_menuSources;
    std::vector<std::unique_ptr<TControlView>> m_views;
    std::vector<TControlView*> m_topViews;  // views of the controls placed on the form itself
    int32_t m_clientTop = 0;                // screen pixels
    int32_t m_designMenu = 0;               // the menu bar's design height, pixels
    bool m_shownBefore = false;
    int m_argc = 0;  // toolkit arguments for the first show; none when 0
    char** m_argv = nullptr;
    bool m_painted = false;
    bool m_applyingBounds = false;  // the window follows the form: do not copy it back
    bool m_readingWindow = false;   // the form follows the window: do not move the window
};

}  // namespace ui
