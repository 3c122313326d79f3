// Panel and picture widgets and their views.
#include "ui/ExtViews.h"

#include <FL/Fl_Group.H>
#include <FL/fl_draw.H>

#include <bit>
#include <cstdio>

#include "gfx/Bitmap.h"
#include "gfx/Colors.h"
#include "ui/AssetFiles.h"
#include "ui/FltkStyle.h"
#include "ui/FormView.h"
#include "ui/FrontEnd.h"

namespace ui {

// Pixels are colour references (red in the low byte): on a little-endian machine their bytes
// read red, green, blue, unused, which is what FLTK's image drawing takes with 4 bytes a pixel.
static_assert(std::endian::native == std::endian::little, "bitmap bytes are drawn as R, G, B, x");
constexpr int kBytesPerPixel = 4;

void DrawBitmap(const gfx::TBitmap& bitmap, int x, int y) {
    if (bitmap.Empty()) {
        return;
    }
    fl_draw_image(reinterpret_cast<const uchar*>(bitmap.ScanLine(0)), x, y, bitmap.Width(),
                  bitmap.Height(), kBytesPerPixel, bitmap.Width() * kBytesPerPixel);
}

class TPanelWidget : public Fl_Group {
  public:
    TPanelWidget() : Fl_Group(0, 0, 0, 0) { end(); }
    forms::TPanelBevel Outer = forms::TPanelBevel::bvRaised;
    forms::TPanelBevel Inner = forms::TPanelBevel::bvNone;
    int BevelWidth = 1;  // pixels per bevel
    std::string Caption;
    Fl_Font Face = FL_HELVETICA;
    int Size = 11;
    Fl_Color TextColor = FL_BLACK;

    void draw() override {
        fl_rectf(x(), y(), w(), h(), color());
        int inset = 0;
        inset = DrawBevel(Outer, inset);
        DrawBevel(Inner, inset);
        if (!Caption.empty()) {
            fl_font(Face, Size);
            fl_color(active_r() ? TextColor : fl_inactive(TextColor));
            fl_draw(Caption.c_str(), x(), y(), w(), h(), FL_ALIGN_CENTER, nullptr, 0);
        }
        draw_children();
    }

  private:
    // Draws one bevel `inset` pixels inside the edge; returns the inset after it.
    int DrawBevel(forms::TPanelBevel bevel, int inset) {
        Fl_Color topLeft = FL_BLACK;
        Fl_Color bottomRight = FL_BLACK;
        switch (bevel) {
            case forms::TPanelBevel::bvNone:
                return inset;
            case forms::TPanelBevel::bvSpace:
                return inset + BevelWidth;
            case forms::TPanelBevel::bvRaised:
                topLeft = FltkColor(gfx::clBtnHighlight);
                bottomRight = FltkColor(gfx::clBtnShadow);
                break;
            case forms::TPanelBevel::bvLowered:
                topLeft = FltkColor(gfx::clBtnShadow);
                bottomRight = FltkColor(gfx::clBtnHighlight);
                break;
        }
        for (int i = 0; i < BevelWidth; ++i, ++inset) {
            const int left = x() + inset;
            const int top = y() + inset;
            const int right = x() + w() - 1 - inset;   // inclusive
            const int bottom = y() + h() - 1 - inset;  // inclusive
            if (right < left || bottom < top) {
                break;
            }
            fl_color(topLeft);
            fl_xyline(left, top, right);
            fl_yxline(left, top, bottom);
            fl_color(bottomRight);
            fl_xyline(left, bottom, right);
            fl_yxline(right, top, bottom);
        }
        return inset;
    }
};

class TImageWidget : public Fl_Widget {
  public:
    explicit TImageWidget(TImageView& view) : Fl_Widget(0, 0, 0, 0), m_view(view) {}
    bool Stretch = false;

    void draw() override {
        const gfx::TBitmap* picture = m_view.Picture();
        if (picture == nullptr) {
            return;
        }
        fl_push_clip(x(), y(), w(), h());
        // Unstretched, the picture is drawn at the display size.
        const int percent = m_view.PicturePercent();
        const int width = Stretch ? w() : picture->Width() * percent / kDesignPercent;
        const int height = Stretch ? h() : picture->Height() * percent / kDesignPercent;
        if (!(picture->Width() == width && picture->Height() == height) && width > 0 &&
            height > 0) {
            // Nearest pixel of the picture for each pixel drawn.
            gfx::TBitmap scaled(width, height);
            for (int32_t row = 0; row < height; ++row) {
                const uint32_t* source = picture->ScanLine(
                    static_cast<int32_t>(int64_t{row} * picture->Height() / height));
                uint32_t* target = scaled.ScanLine(row);
                for (int32_t column = 0; column < width; ++column) {
                    target[column] = source[int64_t{column} * picture->Width() / width];
                }
            }
            DrawBitmap(scaled, x(), y());
        } else {
            DrawBitmap(*picture, x(), y());
        }
        fl_pop_clip();
    }

  private:
    TImageView& m_view;
};

TPanelView::TPanelView(TFormView& formView, forms::TPanel& panel)
    : TControlView(formView, panel, new TPanelWidget()),
      m_panel(panel),
      m_widget(static_cast<TPanelWidget*>(Widget())) {
    m_widget->Outer = panel.BevelOuter();
    m_widget->Inner = panel.BevelInner();
    m_widget->BevelWidth = panel.BevelWidth();
}

Fl_Group& TPanelView::Group() const {
    return *m_widget;
}

void TPanelView::CaptionChanged() {
    m_widget->Caption = m_panel.Caption();
    m_widget->redraw();
}

void TPanelView::FontChanged() {
    m_widget->Face = FltkFace(m_panel.Font());
    m_widget->Size = FontSize(m_panel.Font());
    m_widget->TextColor = FltkColor(m_panel.Font().Color());
    m_widget->redraw();
}

TImageView::TImageView(TFormView& formView, forms::TImage& image)
    : TControlView(formView, image, new TImageWidget(*this)),
      m_image(image),
      m_widget(static_cast<TImageWidget*>(Widget())) {}

TImageView::~TImageView() = default;

void TImageView::PictureChanged() {
    m_picture.reset();
    m_pictureRead = false;
    m_widget->Stretch = m_image.Stretch();
    m_widget->redraw();
}

const gfx::TBitmap* TImageView::Picture() {
    if (m_pictureRead) {
        return m_picture.get();
    }
    m_pictureRead = true;
    const std::string& name = m_image.PictureName();
    if (name.empty()) {
        return nullptr;
    }
    const std::string path = FindAsset(name, FormView().FrontEnd().ProgramFolder());
    if (path.empty()) {
        std::fprintf(stderr, "keyvet: the picture %s is missing from the program's files\n",
                     name.c_str());
        return nullptr;
    }
    try {
        auto bitmap = std::make_unique<gfx::TBitmap>();
        bitmap->LoadFromFile(path);
        m_picture = std::move(bitmap);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "keyvet: cannot read the picture %s: %s\n", path.c_str(),
                     error.what());
    }
    return m_picture.get();
}

}  // namespace ui
