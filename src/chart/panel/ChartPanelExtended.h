// The chart panel with its background (colour or gradient), back image, and the zoom and
// panning settings and events.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "chart/panel/ChartGradient.h"
#include "chart/panel/ChartPanel.h"
#include "gfx/Picture.h"

namespace chart {

// Directions a panning drag scrolls.
enum class TPanningMode : uint8_t { pmNone, pmHorizontal, pmVertical, pmBoth };
// How the back image covers its rectangle.
enum class TChartBackImageMode : uint8_t { pbmStretch, pbmTile, pbmCenter };

// Where the program finds a picture that design data names: the file's path, or empty when no
// such picture ships with it. Without a locator the name is taken as the path.
using TPictureLocator = std::function<std::string(const std::string& name)>;
void SetPictureLocator(TPictureLocator locator);

class TCustomChartPanelExtended : public TCustomChartPanel {
  public:
    explicit TCustomChartPanelExtended(classes::TComponent* owner);
    ~TCustomChartPanelExtended() override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    // Steps of an animated zoom; at least 1.
    int32_t AnimatedZoomSteps() const { return m_animatedZoomSteps; }
    void SetAnimatedZoomSteps(int32_t value);
    bool AnimatedZoom() const { return m_animatedZoom; }
    void SetAnimatedZoom(bool value);
    bool AllowZoom() const { return m_allowZoom; }
    void SetAllowZoom(bool value) { m_allowZoom = value; }
    TPanningMode AllowPanning() const { return m_allowPanning; }
    void SetAllowPanning(TPanningMode value) { m_allowPanning = value; }
    // Loading or changing the picture repaints.
    gfx::TPicture& BackImage() const { return *m_backImage; }
    void SetBackImage(const gfx::TPicture& value);
    // The back image by the name of a picture file, as design data stores it ("BackImage").
    // Loads the picture (EInvalidGraphic when it is missing or unreadable, the old one kept);
    // empty clears it. Assigning a picture with SetBackImage forgets the name.
    const std::string& BackImageName() const { return m_backImageName; }
    void SetBackImageName(const std::string& value);
    TChartBackImageMode BackImageMode() const { return m_backImageMode; }
    void SetBackImageMode(TChartBackImageMode value);
    TChartGradient& Gradient() const { return *m_gradient; }
    // Copies the values into the owned gradient.
    void SetGradient(const TCustomChartGradient& value);
    bool ZoomActive() const { return m_zoomActive; }
    void SetZoomActive(bool value) { m_zoomActive = value; }

    const classes::TNotifyEvent& OnAfterDraw() const { return m_onAfterDraw; }
    void SetOnAfterDraw(classes::TNotifyEvent handler) { m_onAfterDraw = std::move(handler); }
    const classes::TNotifyEvent& OnScroll() const { return m_onScroll; }
    void SetOnScroll(classes::TNotifyEvent handler) { m_onScroll = std::move(handler); }
    const classes::TNotifyEvent& OnUndoZoom() const { return m_onUndoZoom; }
    void SetOnUndoZoom(classes::TNotifyEvent handler) { m_onUndoZoom = std::move(handler); }
    const classes::TNotifyEvent& OnZoom() const { return m_onZoom; }
    void SetOnZoom(classes::TNotifyEvent handler) { m_onZoom = std::move(handler); }

    // The gradient when visible (StartColor at the bottom, top, right, left, outer edge or
    // starting corner as the direction says), else the panel colour.
    void PaintBackground(const gfx::TRect& rect) override;
    // The back image at depth 0, when there is one.
    void PaintBackImage(const gfx::TRect& rect) override;
    // The back image over the rectangle at a depth (walls draw it at theirs): stretched,
    // tiled from the top-left corner or centred over the background; clipped when allowed.
    void DrawBackImage(const gfx::TRect& rect, int32_t depth);
    // Fires OnUndoZoom, repaints and clears ZoomActive.
    virtual void ResetZoom();

    // Also the back image, its mode, the gradient and the zoom and panning settings.
    void Assign(const classes::TPersistent& source) override;

  private:
    int32_t m_animatedZoomSteps = 8;
    bool m_animatedZoom = false;
    bool m_allowZoom = true;
    TPanningMode m_allowPanning = TPanningMode::pmBoth;
    std::unique_ptr<gfx::TPicture> m_backImage;
    std::string m_backImageName;
    TChartBackImageMode m_backImageMode = TChartBackImageMode::pbmStretch;
    std::unique_ptr<TChartGradient> m_gradient;
    bool m_zoomActive = false;
    classes::TNotifyEvent m_onAfterDraw;
    classes::TNotifyEvent m_onScroll;
    classes::TNotifyEvent m_onUndoZoom;
    classes::TNotifyEvent m_onZoom;
};

}  // namespace chart
