// The view of one control: its FLTK widget, kept in step with the control through the control's
// change notifications, and the anchoring that places it when its parent is resized.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "forms/Control.h"
#include "ui/Anchors.h"

class Fl_Widget;

namespace ui {

class TFormView;

class TControlView : public forms::IControlView {
  public:
    // Takes the widget (created by the subclass, not yet in any group); the form view adds it to
    // its group and calls Attach once the view is complete.
    TControlView(TFormView& formView, forms::TControl& control, Fl_Widget* widget);
    ~TControlView() override;
    TControlView(const TControlView&) = delete;
    TControlView& operator=(const TControlView&) = delete;

    // Becomes the control's view and brings the widget in step with every property.
    void Attach();

    void ControlChanged(forms::TControl& control, forms::TControlChange change) override;
    void ControlDestroyed(forms::TControl& control) override;

    // Null once the control was freed.
    forms::TControl* Control() const { return m_control; }
    Fl_Widget* Widget() const { return m_widget; }
    TFormView& FormView() const { return m_formView; }

    // Views of the controls inside this one (a panel's), placed again when this one moves.
    void AddChild(TControlView* child) { m_children.push_back(child); }
    const std::vector<TControlView*>& Children() const { return m_children; }

    // The parent's client area now measures width x height pixels: move or stretch the control
    // by its anchors, relative to where it was last placed by the program or the design.
    void ParentResized(int32_t width, int32_t height);

    // The control's rectangle in its window's coordinates (screen pixels at the display size;
    // below the menu bar).
    TBounds WindowBounds() const;
    // Places the widget and sets its fonts again at the front end's display size.
    void Rescale();

  protected:
    // A font's character height in screen pixels at the display size.
    int32_t FontSize(const gfx::TFont& font) const;
    // The display size, percent.
    int32_t DisplayPercent() const;
    // Runs an event handler of the program as the event loop does.
    void RunHandler(const std::function<void()>& handler);

    virtual void CaptionChanged() {}
    virtual void FontChanged() {}
    virtual void ColorChanged();
    virtual void LinesChanged() {}
    virtual void PictureChanged() {}
    virtual void RepaintRequested();
    // Redraws the widget on screen before returning.
    virtual void PaintNow();
    virtual void VisibleChanged();
    // After the widget was placed at the control's bounds.
    virtual void BoundsChanged() {}

  private:
    void Place();
    void RememberPlacement();

    TFormView& m_formView;
    forms::TControl* m_control;
    Fl_Widget* m_widget;  // owned by the window's widget tree
    std::vector<TControlView*> m_children;
    // Where the program or the design last placed the control, and its parent's client size
    // then (pixels): the reference of anchoring.
    TBounds m_placed;
    int32_t m_placedParentWidth = 0;
    int32_t m_placedParentHeight = 0;
    bool m_anchoring = false;
    bool m_attached = false;
};

// The client area of a control's parent: a window's client size, or a container's size.
void ParentClientSize(const forms::TControl& control, int32_t& width, int32_t& height);

}  // namespace ui
