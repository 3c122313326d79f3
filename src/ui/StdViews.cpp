// Push button, label, edit box and memo box widgets and their views.
#include "ui/StdViews.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Multiline_Input.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <string>

#include "gfx/Bitmap.h"
#include "gfx/Brush.h"
#include "gfx/Canvas.h"
#include "gfx/TextEngine.h"
#include "ui/ExtViews.h"
#include "ui/FltkStyle.h"

namespace ui {

// FLTK button that ignores every mouse button but the left one, and draws the dark frame of
// its window's default button.
class TPushButtonWidget : public Fl_Button {
  public:
    TPushButtonWidget() : Fl_Button(0, 0, 0, 0) {}
    bool IsDefault = false;

    int handle(int event) override {
        if ((event == FL_PUSH || event == FL_DRAG || event == FL_RELEASE) &&
            Fl::event_button() != FL_LEFT_MOUSE) {
            return 0;
        }
        if (event == FL_SHORTCUT && IsDefault && active_r() && visible_r() &&
            (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter)) {
            do_callback();
            return 1;
        }
        return Fl_Button::handle(event);
    }

    void draw() override {
        Fl_Button::draw();
        if (IsDefault) {
            fl_color(FL_BLACK);
            fl_rect(x(), y(), w(), h());
        }
    }
};

// A label drawn through the program's own text engine (FreeType with the faces fontconfig
// finds), so that its text has exactly the size its auto-sizing measured. The rendering is kept
// until the caption, font, colour, size or enabled state changes.
class TLabelWidget : public Fl_Widget {
  public:
    explicit TLabelWidget(forms::TLabel& label) : Fl_Widget(0, 0, 0, 0), m_label(label) {}

    // The text's height on the screen, pixels (the display size's).
    int32_t TextSize = 0;

    void Changed() {
        m_stale = true;
        redraw();
    }

    void draw() override {
        const bool enabled = active_r();
        if (m_stale || enabled != m_renderedEnabled || m_text.Width() != w() ||
            m_text.Height() != h()) {
            Render(enabled);
        }
        if (m_label.Transparent()) {
            // Only the text's pixels; the rest shows what lies beneath.
            const gfx::TColorRef background = gfx::ColorToRGB(m_label.Color());
            for (int32_t row = 0; row < m_text.Height(); ++row) {
                const uint32_t* pixels = m_text.ScanLine(row);
                for (int32_t column = 0; column < m_text.Width(); ++column) {
                    if (pixels[column] != background) {
                        fl_color(FltkColor(pixels[column]));
                        fl_point(x() + column, y() + row);
                    }
                }
            }
            return;
        }
        DrawBitmap(m_text, x(), y());
    }

  private:
    void Render(bool enabled) {
        m_text.SetSize(std::max(w(), 0), std::max(h(), 0));
        gfx::TCanvas& canvas = m_text.Canvas();
        canvas.Brush().SetStyle(gfx::TBrushStyle::bsSolid);
        canvas.Brush().SetColor(m_label.Color());
        canvas.FillRect(gfx::TRect::FromSize(0, 0, m_text.Width(), m_text.Height()));
        canvas.SetBackMode(gfx::TBackMode::bmTransparent);
        canvas.Font().Assign(m_label.Font());
        canvas.Font().SetHeight(-TextSize);
        if (!enabled) {
            canvas.Font().SetColor(gfx::clGrayText);
        }
        canvas.TextOut(0, 0, m_label.Caption());
        m_renderedEnabled = enabled;
        m_stale = false;
    }

    forms::TLabel& m_label;
    gfx::TBitmap m_text;
    bool m_stale = true;
    bool m_renderedEnabled = true;
};

class TEditWidget : public Fl_Input {
  public:
    TEditWidget() : Fl_Input(0, 0, 0, 0) {}
    int handle(int event) override {
        // The right button is the Morse key; the middle button keeps its paste.
        if ((event == FL_PUSH || event == FL_RELEASE) && Fl::event_button() == FL_RIGHT_MOUSE) {
            return 0;
        }
        return Fl_Input::handle(event);
    }
};

class TMemoWidget : public Fl_Multiline_Input {
  public:
    TMemoWidget() : Fl_Multiline_Input(0, 0, 0, 0) {}
};

namespace {
Fl_Color FontColor(const gfx::TFont& font) {
    return FltkColor(font.Color());
}
}  // namespace

TButtonView::TButtonView(TFormView& formView, forms::TButton& button)
    : TControlView(formView, button, new TPushButtonWidget()),
      m_button(button),
      m_widget(static_cast<TPushButtonWidget*>(Widget())) {
    m_widget->IsDefault = button.Default();
    m_widget->box(FL_UP_BOX);
    m_widget->down_box(FL_DOWN_BOX);
    m_widget->callback(&TButtonView::Clicked, this);
}

void TButtonView::Clicked(Fl_Widget* /*widget*/, void* view) {
    auto* self = static_cast<TButtonView*>(view);
    if (forms::TControl* control = self->Control()) {
        self->RunHandler([control] { control->Click(); });
    }
}

void TButtonView::CaptionChanged() {
    m_widget->copy_label(LabelText(m_button.Caption()).c_str());
    m_widget->redraw();
}

void TButtonView::FontChanged() {
    m_widget->labelfont(FltkFace(m_button.Font()));
    m_widget->labelsize(FontSize(m_button.Font()));
    m_widget->labelcolor(FontColor(m_button.Font()));
    m_widget->redraw();
}

TLabelView::TLabelView(TFormView& formView, forms::TLabel& label)
    : TControlView(formView, label, new TLabelWidget(label)),
      m_label(label),
      m_widget(static_cast<TLabelWidget*>(Widget())) {}

void TLabelView::CaptionChanged() {
    AutoSize();
    m_widget->Changed();
}

void TLabelView::FontChanged() {
    m_widget->TextSize = FontSize(m_label.Font());
    AutoSize();
    m_widget->Changed();
}

void TLabelView::ColorChanged() {
    TControlView::ColorChanged();
    m_widget->Changed();
}

void TLabelView::AutoSize() {
    if (!m_label.AutoSize()) {
        return;
    }
    // Measured with the same faces fontconfig gives the window's text.
    gfx::TFont font;
    font.Assign(m_label.Font());
    font.SetHeight(-FontSize(m_label.Font()));
    gfx::TFontInstance* instance = gfx::TTextEngine::Instance().InstanceFor(font);
    if (instance == nullptr) {
        return;
    }
    // Measured on the screen, kept in design pixels: rounded up, so that the text, measured at
    // the display size, always fits.
    const int32_t percent = DisplayPercent();
    const auto design = [percent](int32_t pixels) {
        return (pixels * kDesignPercent + percent - 1) / percent;
    };
    const int32_t width = instance->TextWidth(gfx::DecodeText(m_label.Caption()));
    const int32_t height = instance->Ascent() + instance->Descent();
    m_label.SetBounds(m_label.Left(), m_label.Top(), design(width), design(height));
}

TEditView::TEditView(TFormView& formView, forms::TEdit& edit)
    : TControlView(formView, edit, new TEditWidget()),
      m_edit(edit),
      m_widget(static_cast<TEditWidget*>(Widget())) {
    m_widget->box(FL_DOWN_BOX);
    m_widget->readonly(edit.ReadOnly() ? 1 : 0);
    m_widget->when(FL_WHEN_CHANGED);
    m_widget->callback(&TEditView::Edited, this);
}

void TEditView::Edited(Fl_Widget* /*widget*/, void* view) {
    auto* self = static_cast<TEditView*>(view);
    if (self->Control() == nullptr) {
        return;
    }
    self->m_fromWidget = true;
    self->m_edit.SetText(self->m_widget->value());
    self->m_fromWidget = false;
}

void TEditView::CaptionChanged() {
    if (m_fromWidget) {
        return;
    }
    m_widget->value(m_edit.Text().c_str());
    // Like a classic edit box, show the text's beginning, not its end.
    m_widget->position(0);
}

void TEditView::FontChanged() {
    m_widget->textfont(FltkFace(m_edit.Font()));
    m_widget->textsize(FontSize(m_edit.Font()));
    m_widget->textcolor(FontColor(m_edit.Font()));
    m_widget->redraw();
}

TMemoView::TMemoView(TFormView& formView, forms::TMemo& memo)
    : TControlView(formView, memo, new TMemoWidget()),
      m_memo(memo),
      m_widget(static_cast<TMemoWidget*>(Widget())) {
    m_widget->box(FL_DOWN_BOX);
}

void TMemoView::FontChanged() {
    m_widget->textfont(FltkFace(m_memo.Font()));
    m_widget->textsize(FontSize(m_memo.Font()));
    m_widget->textcolor(FontColor(m_memo.Font()));
    m_widget->redraw();
}

std::string MemoShownText(const forms::TMemo& memo) {
    std::string text;
    const int32_t count = memo.Lines().Count();
    for (int32_t i = 0; i < count; ++i) {
        if (i > 0) {
            text += '\n';
        }
        text += memo.Lines().Strings(i);
    }
    return text;
}

void TMemoView::LinesChanged() {
    if (m_memo.Visible()) {
        m_widget->value(MemoShownText(m_memo).c_str());
        // Setting the text puts the cursor after it, which scrolls a long text to its end: a
        // memo is read from its first line.
        m_widget->position(0, 0);
    }
}

void TMemoView::VisibleChanged() {
    TControlView::VisibleChanged();
    LinesChanged();
}

}  // namespace ui
