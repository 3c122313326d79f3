// The 3D view options of a chart panel: rotation, elevation, tilt, perspective, offsets and zoom.
#pragma once

#include <cstdint>
#include <functional>

#include "classes/Persistent.h"

namespace chart {

class TCustomChartPanel;

// Called after HorizOffset (true) or VertOffset (false) changed.
using TScrolledHook = std::function<void(bool horizontal)>;
// Called with the new zoom (percent) before Zoom changes.
using TZoomHook = std::function<void(int32_t newZoom)>;

// Created and owned by a chart panel, which repaints after every change. Any integer value is
// accepted; the projection interprets the angles in degrees.
class TView3DOptions : public classes::TPersistent {
  public:
    explicit TView3DOptions(TCustomChartPanel* owner);

    // Degrees; rotation about the horizontal screen axis.
    int32_t Elevation() const { return m_elevation; }
    void SetElevation(int32_t value);
    // Pixels added to the projection centre's x.
    int32_t HorizOffset() const { return m_horizOffset; }
    void SetHorizOffset(int32_t value);
    // True: oblique projection; false: rotated projection.
    bool Orthogonal() const { return m_orthogonal; }
    void SetOrthogonal(bool value);
    // Strength of the perspective (divided by 35000 by the projection).
    int32_t Perspective() const { return m_perspective; }
    void SetPerspective(int32_t value);
    // Degrees; rotation about the vertical axis.
    int32_t Rotation() const { return m_rotation; }
    void SetRotation(int32_t value);
    // Degrees; rotation about the viewing axis.
    int32_t Tilt() const { return m_tilt; }
    void SetTilt(int32_t value);
    // Pixels added to the projection centre's y.
    int32_t VertOffset() const { return m_vertOffset; }
    void SetVertOffset(int32_t value);
    // Percent; the projection scales by Zoom * 0.01.
    int32_t Zoom() const { return m_zoom; }
    void SetZoom(int32_t value);
    // Scale font sizes with Zoom.
    bool ZoomText() const { return m_zoomText; }
    void SetZoomText(bool value);

    TCustomChartPanel* Owner() const { return m_owner; }
    void SetOnScrolled(TScrolledHook hook) { m_onScrolled = std::move(hook); }
    void SetOnZoom(TZoomHook hook) { m_onZoom = std::move(hook); }

    // From other options: all nine values, without repainting or calling the hooks. Any other
    // source is ignored.
    void Assign(const classes::TPersistent& source) override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

  private:
    void Repaint();

    int32_t m_elevation = 345;
    int32_t m_horizOffset = 0;
    bool m_orthogonal = true;
    int32_t m_perspective = 15;
    int32_t m_rotation = 345;
    int32_t m_tilt = 0;
    int32_t m_vertOffset = 0;
    int32_t m_zoom = 100;
    bool m_zoomText = true;
    TCustomChartPanel* m_owner;
    TScrolledHook m_onScrolled;
    TZoomHook m_onZoom;
};

}  // namespace chart
