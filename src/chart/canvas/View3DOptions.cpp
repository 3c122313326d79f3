// The 3D view options' setters, assignment and published defaults.
#include "chart/canvas/View3DOptions.h"

#include "chart/panel/ChartPanel.h"
#include "classes/ClassBuilder.h"

namespace chart {

TView3DOptions::TView3DOptions(TCustomChartPanel* owner) : m_owner(owner) {}

void TView3DOptions::Repaint() {
    if (m_owner != nullptr) {
        m_owner->MarkForRepaint();
    }
}

namespace {

// Stores a changed value and tells whether it changed.
template <class V>
bool Store(V& field, V value) {
    if (field == value) {
        return false;
    }
    field = value;
    return true;
}

}  // namespace

void TView3DOptions::SetElevation(int32_t value) {
    if (Store(m_elevation, value)) {
        Repaint();
    }
}

void TView3DOptions::SetHorizOffset(int32_t value) {
    if (Store(m_horizOffset, value)) {
        Repaint();
        if (m_onScrolled) {
            m_onScrolled(true);
        }
    }
}

void TView3DOptions::SetOrthogonal(bool value) {
    if (Store(m_orthogonal, value)) {
        Repaint();
    }
}

void TView3DOptions::SetPerspective(int32_t value) {
    if (Store(m_perspective, value)) {
        Repaint();
    }
}

void TView3DOptions::SetRotation(int32_t value) {
    if (Store(m_rotation, value)) {
        Repaint();
    }
}

void TView3DOptions::SetTilt(int32_t value) {
    if (Store(m_tilt, value)) {
        Repaint();
    }
}

void TView3DOptions::SetVertOffset(int32_t value) {
    if (Store(m_vertOffset, value)) {
        Repaint();
        if (m_onScrolled) {
            m_onScrolled(false);
        }
    }
}

void TView3DOptions::SetZoom(int32_t value) {
    if (value == m_zoom) {
        return;
    }
    // The hook sees the old zoom still stored.
    if (m_onZoom) {
        m_onZoom(value);
    }
    m_zoom = value;
    Repaint();
}

void TView3DOptions::SetZoomText(bool value) {
    if (Store(m_zoomText, value)) {
        Repaint();
    }
}

void TView3DOptions::Assign(const classes::TPersistent& source) {
    const auto* other = dynamic_cast<const TView3DOptions*>(&source);
    if (other == nullptr) {
        return;
    }
    m_elevation = other->m_elevation;
    m_horizOffset = other->m_horizOffset;
    m_orthogonal = other->m_orthogonal;
    m_perspective = other->m_perspective;
    m_rotation = other->m_rotation;
    m_tilt = other->m_tilt;
    m_vertOffset = other->m_vertOffset;
    m_zoom = other->m_zoom;
    m_zoomText = other->m_zoomText;
}

const classes::TClassInfo& TView3DOptions::StaticClass() {
    using T = TView3DOptions;
    static const classes::TClassInfo info =
        classes::TClassBuilder<T>("TView3DOptions", &classes::TPersistent::StaticClass())
            .Integer("Elevation", &T::Elevation, &T::SetElevation, 345)
            .Integer("HorizOffset", &T::HorizOffset, &T::SetHorizOffset, 0)
            .Boolean("Orthogonal", &T::Orthogonal, &T::SetOrthogonal, true)
            .Integer("Perspective", &T::Perspective, &T::SetPerspective, 15)
            .Integer("Rotation", &T::Rotation, &T::SetRotation, 345)
            .Integer("Tilt", &T::Tilt, &T::SetTilt, 0)
            .Integer("VertOffset", &T::VertOffset, &T::SetVertOffset, 0)
            .Integer("Zoom", &T::Zoom, &T::SetZoom, 100)
            .Boolean("ZoomText", &T::ZoomText, &T::SetZoomText, true)
            .Build();
    return info;
}

const classes::TClassInfo& TView3DOptions::ClassInfo() const {
    return StaticClass();
}

}  // namespace chart
