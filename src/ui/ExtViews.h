// Views of the panel (a bevelled container) and the picture control.
#pragma once

#include <memory>
#include <string>

#include "forms/ExtCtrls.h"
#include "ui/ControlView.h"

class Fl_Group;

namespace gfx {
class TBitmap;
}

namespace ui {

class TPanelWidget;
class TImageWidget;

// A panel: its colour, its outer and inner bevels and its caption centred; holds the widgets
// of the controls inside it.
class TPanelView : public TControlView {
  public:
    TPanelView(TFormView& formView, forms::TPanel& panel);

    // The FLTK group the widgets of the panel's controls go into.
    Fl_Group& Group() const;

  protected:
    void CaptionChanged() override;
    void FontChanged() override;

  private:
    forms::TPanel& m_panel;
    TPanelWidget* m_widget;
};

// A picture control: the named picture file (found among the program's shipped files), drawn
// unscaled from the top-left corner and cut off at the control's edges, or stretched to fill it.
// The file is read when the picture is first drawn.
class TImageView : public TControlView {
  public:
    TImageView(TFormView& formView, forms::TImage& image);
    ~TImageView() override;

    // The picture read from the file; null when there is none (no name, missing or unreadable).
    const gfx::TBitmap* Picture();
    // The display size an unstretched picture is drawn at, percent.
    int32_t PicturePercent() const { return DisplayPercent(); }

  protected:
    void PictureChanged() override;

  private:
    forms::TImage& m_image;
    TImageWidget* m_widget;
    std::unique_ptr<gfx::TBitmap> m_picture;
    bool m_pictureRead = false;  // the file was looked for since the name last changed
};

// Draws a bitmap of colour references at (x, y) in one block copy, cut off at the current clip.
void DrawBitmap(const gfx::TBitmap& bitmap, int x, int y);

}  // namespace ui
