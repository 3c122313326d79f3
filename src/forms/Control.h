// Toolkit-neutral controls: a control holds its state (bounds, visibility, font, colour, anchors)
// and tells an optional view, the front end's widget, when something changed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "classes/Component.h"
#include "gfx/Colors.h"
#include "gfx/Font.h"

namespace forms {

class TControl;
class TWinControl;

// What changed in a control, for its view.
enum class TControlChange {
    ccBounds,
    ccVisible,
    ccEnabled,
    ccCaption,
    ccFont,
    ccColor,
    ccLines,
    ccPicture,
    ccRepaint,
    ccBringToFront,
    ccPaintNow  // the control must be painted on screen before the change returns
};

// The front end's side of a control.
class IControlView {
  public:
    virtual ~IControlView() = default;
    virtual void ControlChanged(TControl& control, TControlChange change) = 0;
    // Called once when the control is freed; the view must forget it.
    virtual void ControlDestroyed(TControl& control) = 0;
};

enum class TAnchorKind { akLeft, akTop, akRight, akBottom };
// Anchors as a bit mask, bit i = TAnchorKind i.
using TAnchors = uint32_t;
constexpr TAnchors AnchorBit(TAnchorKind kind) {
    return 1u << static_cast<uint32_t>(kind);
}
constexpr TAnchors kDefaultAnchors = AnchorBit(TAnchorKind::akLeft) | AnchorBit(TAnchorKind::akTop);

class TControl : public classes::TComponent {
  public:
    explicit TControl(classes::TComponent* owner);
    ~TControl() override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    // Position in the parent's client area and size, pixels.
    int32_t Left() const { return m_left; }
    int32_t Top() const { return m_top; }
    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }
    void SetLeft(int32_t value) { SetBounds(value, m_top, m_width, m_height); }
    void SetTop(int32_t value) { SetBounds(m_left, value, m_width, m_height); }
    void SetWidth(int32_t value) { SetBounds(m_left, m_top, value, m_height); }
    void SetHeight(int32_t value) { SetBounds(m_left, m_top, m_width, value); }
    virtual void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);

    bool Visible() const { return m_visible; }
    void SetVisible(bool value);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool value);

    // The text a button, label, panel or form shows; an edit box's text.
    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& value);

    gfx::TFont& Font() { return m_font; }
    const gfx::TFont& Font() const { return m_font; }
    // True while the control shows its parent's font; setting a font property clears it.
    bool ParentFont() const { return m_parentFont; }
    void SetParentFont(bool value);

    gfx::TColor Color() const { return m_color; }
    void SetColor(gfx::TColor value);

    TAnchors Anchors() const { return m_anchors; }
    void SetAnchors(TAnchors value) { m_anchors = value; }
    int32_t TabOrder() const { return m_tabOrder; }
    void SetTabOrder(int32_t value) { m_tabOrder = value; }

    TWinControl* Parent() const { return m_parent; }
    void SetParent(TWinControl* parent);

    // Runs the click handler, whatever the control's visible and enabled state.
    virtual void Click();
    const classes::TNotifyEvent& OnClick() const { return m_onClick; }
    void SetOnClick(classes::TNotifyEvent handler) { m_onClick = std::move(handler); }

    // Asks the view to repaint the control.
    void Invalidate() { Changed(TControlChange::ccRepaint); }
    // Repaints at once, on screen, before returning (an animation step).
    void PaintNow() { Changed(TControlChange::ccPaintNow); }

    IControlView* View() const { return m_view; }
    void SetView(IControlView* view) { m_view = view; }

    bool HasParent() const override { return true; }
    classes::TComponent* ParentComponent() const override;
    void SetParentComponent(classes::TComponent* parent) override;

  protected:
    // Tells the view; a control that keeps its own picture (a chart's buffer) also learns here
    // that it must paint afresh.
    virtual void Changed(TControlChange change);
    // Takes the parent's font when ParentFont is set.
    void ParentFontChanged();
    friend class TWinControl;

  private:
    int32_t m_left = 0;
    int32_t m_top = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
    bool m_visible = true;
    bool m_enabled = true;
    std::string m_caption;
    gfx::TFont m_font;
    bool m_parentFont = true;
    bool m_copyingParentFont = false;
    gfx::TColor m_color = gfx::clBtnFace;
    TAnchors m_anchors = kDefaultAnchors;
    int32_t m_tabOrder = -1;
    TWinControl* m_parent = nullptr;
    classes::TNotifyEvent m_onClick;
    IControlView* m_view = nullptr;
};

// A control that holds child controls.
class TWinControl : public TControl {
  public:
    using TControl::TControl;
    ~TWinControl() override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    int32_t ControlCount() const { return static_cast<int32_t>(m_controls.size()); }
    TControl* Controls(int32_t index) const { return m_controls.at(static_cast<size_t>(index)); }

    void GetChildren(const std::function<void(classes::TComponent*)>& proc,
                     classes::TComponent* root) const override;

  private:
    friend class TControl;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    std::vector<TControl*> m_controls;  // not owned: the owner frees them
};

}  // namespace forms
