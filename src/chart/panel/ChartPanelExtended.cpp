// The extended chart panel: background, back image, zoom settings and their design data.
#include "chart/panel/ChartPanelExtended.h"

#include <filesystem>
#include <system_error>

#include "chart/messages/ChartMessages.h"
#include "classes/ClassBuilder.h"
#include "gfx/ImageFiles.h"

namespace chart {

namespace {
TPictureLocator& PictureLocator() {
    static TPictureLocator locator;
    return locator;
}
}  // namespace

void SetPictureLocator(TPictureLocator locator) {
    PictureLocator() = std::move(locator);
}

TCustomChartPanelExtended::TCustomChartPanelExtended(classes::TComponent* owner)
    : TCustomChartPanel(owner),
      m_backImage(std::make_unique<gfx::TPicture>()),
      m_gradient(std::make_unique<TChartGradient>(this)) {
    m_backImage->SetOnChange([this] { PartChanged(); });
}

TCustomChartPanelExtended::~TCustomChartPanelExtended() {
    SetRepaintOnChange(false);
}

const classes::TClassInfo& TCustomChartPanelExtended::StaticClass() {
    using T = TCustomChartPanelExtended;
    static const classes::TClassInfo info =
        classes::TClassBuilder<T>("TCustomChartPanelExtended", &TCustomChartPanel::StaticClass())
            .Enum<TPanningMode>("AllowPanning", &T::AllowPanning, &T::SetAllowPanning,
                                {"pmNone", "pmHorizontal", "pmVertical", "pmBoth"},
                                TPanningMode::pmBoth)
            .Boolean("AllowZoom", &T::AllowZoom, &T::SetAllowZoom, true)
            .Boolean("AnimatedZoom", &T::AnimatedZoom, &T::SetAnimatedZoom, false)
            .Integer("AnimatedZoomSteps", &T::AnimatedZoomSteps, &T::SetAnimatedZoomSteps, 8)
            .String("BackImage", &T::BackImageName, &T::SetBackImageName, std::string())
            .Enum<TChartBackImageMode>("BackImageMode", &T::BackImageMode, &T::SetBackImageMode,
                                       {"pbmStretch", "pbmTile", "pbmCenter"},
                                       TChartBackImageMode::pbmStretch)
            .Object("Gradient", [](T& p) -> TChartGradient& { return p.Gradient(); })
            .Event("OnAfterDraw", &T::OnAfterDraw, &T::SetOnAfterDraw)
            .Event("OnScroll", &T::OnScroll, &T::SetOnScroll)
            .Event("OnUndoZoom", &T::OnUndoZoom, &T::SetOnUndoZoom)
            .Event("OnZoom", &T::OnZoom, &T::SetOnZoom)
            .Build();
    return info;
}

const classes::TClassInfo& TCustomChartPanelExtended::ClassInfo() const {
    return StaticClass();
}

void TCustomChartPanelExtended::SetAnimatedZoomSteps(int32_t value) {
    if (value < 1) {
        throw ChartException(kMsgAnimatedZoomSteps);
    }
    if (value != m_animatedZoomSteps) {
        m_animatedZoomSteps = value;
        MarkForRepaint();
    }
}

void TCustomChartPanelExtended::SetAnimatedZoom(bool value) {
    if (value != m_animatedZoom) {
        m_animatedZoom = value;
        MarkForRepaint();
    }
}

void TCustomChartPanelExtended::SetBackImage(const gfx::TPicture& value) {
    m_backImageName.clear();
    m_backImage->Assign(value);
}

void TCustomChartPanelExtended::SetBackImageName(const std::string& value) {
    if (value == m_backImageName) {
        return;
    }
    if (value.empty()) {
        m_backImageName.clear();
        m_backImage->Clear();
        return;
    }
    const std::string path = PictureLocator() ? PictureLocator()(value) : value;
    // Only a plain file is read: a device or a folder is no picture.
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error)) {
        throw gfx::EInvalidGraphic("The picture \"" + value +
                                   "\" is not among the program's files");
    }
    m_backImage->LoadFromFile(path);  // repaints; keeps the old picture when it fails
    m_backImageName = value;
}

void TCustomChartPanelExtended::SetBackImageMode(TChartBackImageMode value) {
    if (value != m_backImageMode) {
        m_backImageMode = value;
        MarkForRepaint();
    }
}

void TCustomChartPanelExtended::SetGradient(const TCustomChartGradient& value) {
    m_gradient->Assign(value);
    MarkForRepaint();
}

void TCustomChartPanelExtended::PaintBackground(const gfx::TRect& rect) {
    if (m_gradient->Visible()) {
        const TGradientDirection direction = m_gradient->Direction();
        const bool startFirst = direction == TGradientDirection::gdTopBottom ||
                                direction == TGradientDirection::gdLeftRight;
        const gfx::TColor first = startFirst ? m_gradient->StartColor() : m_gradient->EndColor();
        const gfx::TColor second = startFirst ? m_gradient->EndColor() : m_gradient->StartColor();
        Canvas().PaintGradient(rect, first, second, direction);
        return;
    }
    TCustomChartPanel::PaintBackground(rect);
}

void TCustomChartPanelExtended::PaintBackImage(const gfx::TRect& rect) {
    if (!m_backImage->Empty()) {
        DrawBackImage(rect, 0);
    }
}

void TCustomChartPanelExtended::DrawBackImage(const gfx::TRect& rect, int32_t depth) {
    const gfx::TPicture* picture = m_backImage.get();
    if (picture->Empty() || (depth != 0 && View3D() && !View3DOptions().Orthogonal())) {
        return;
    }
    TChartCanvas3D& canvas = Canvas();
    gfx::TRect r = rect;
    auto project = [&] {
        if (depth > 0) {
            const gfx::TPoint topLeft = canvas.ProjectToPoint(r.Left, r.Top, depth);
            const gfx::TPoint bottomRight = canvas.ProjectToPoint(r.Right, r.Bottom, depth);
            r = gfx::TRect(topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y);
        }
    };
    switch (m_backImageMode) {
        case TChartBackImageMode::pbmStretch:
            project();
            if (!View3D()) {
                ++r.Top;
            }
            canvas.StretchPicture(r, picture);
            return;
        case TChartBackImageMode::pbmTile:
        case TChartBackImageMode::pbmCenter:
            break;
    }
    const bool clip = ClippingAllowed();
    if (clip) {
        if (depth != 0) {
            canvas.ClipToBox(r, 0, DepthExtent());
        } else {
            canvas.ClipToRect(r);
        }
    }
    project();
    const int32_t pictureWidth = picture->Width();
    const int32_t pictureHeight = picture->Height();
    if (m_backImageMode == TChartBackImageMode::pbmTile) {
        for (int32_t y = 0; y < r.Height(); y += pictureHeight) {
            for (int32_t x = 0; x < r.Width(); x += pictureWidth) {
                canvas.BlitPicture(r.Left + x, r.Top + y, picture);
            }
        }
    } else {
        PaintBackground(r);
        canvas.BlitPicture(r.Left + (r.Width() - pictureWidth) / 2,
                           r.Top + (r.Height() - pictureHeight) / 2, picture);
    }
    if (clip) {
        canvas.ClearClip();
    }
}

void TCustomChartPanelExtended::ResetZoom() {
    if (m_onUndoZoom) {
        m_onUndoZoom(this);
    }
    MarkForRepaint();
    m_zoomActive = false;
}

void TCustomChartPanelExtended::Assign(const classes::TPersistent& source) {
    if (const auto* other = dynamic_cast<const TCustomChartPanelExtended*>(&source)) {
        m_backImage->Assign(*other->m_backImage);
        m_backImageName = other->m_backImageName;
        SetBackImageMode(other->m_backImageMode);
        m_gradient->Assign(*other->m_gradient);
        m_allowPanning = other->m_allowPanning;
        m_allowZoom = other->m_allowZoom;
        SetAnimatedZoom(other->m_animatedZoom);
        SetAnimatedZoomSteps(other->m_animatedZoomSteps);
    }
    TCustomChartPanel::Assign(source);
}

}  // namespace chart
