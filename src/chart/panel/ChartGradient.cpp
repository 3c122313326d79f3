// The gradient's setters, assignment and published defaults.
#include "chart/panel/ChartGradient.h"

#include "chart/engine/ChartColors.h"
#include "chart/panel/ChartPanel.h"
#include "classes/ClassBuilder.h"

namespace chart {

TCustomChartGradient::TCustomChartGradient(TCustomChartPanel* owner) : m_owner(owner) {}

void TCustomChartGradient::Repaint() {
    if (m_owner != nullptr) {
        m_owner->MarkForRepaint();
    }
}

void TCustomChartGradient::SetDirection(TGradientDirection value) {
    if (value != m_direction) {
        m_direction = value;
        Repaint();
    }
}

void TCustomChartGradient::SetEndColor(gfx::TColor value) {
    if (value != m_endColor) {
        m_endColor = value;
        Repaint();
    }
}

void TCustomChartGradient::SetStartColor(gfx::TColor value) {
    if (value != m_startColor) {
        m_startColor = value;
        Repaint();
    }
}

void TCustomChartGradient::SetVisible(bool value) {
    if (value != m_visible) {
        m_visible = value;
        Repaint();
    }
}

void TCustomChartGradient::Assign(const classes::TPersistent& source) {
    const auto* other = dynamic_cast<const TCustomChartGradient*>(&source);
    if (other == nullptr) {
        classes::TPersistent::Assign(source);
        return;
    }
    m_visible = other->m_visible;
    m_direction = other->m_direction;
    m_startColor = other->m_startColor;
    m_endColor = other->m_endColor;
}

const classes::TClassInfo& TCustomChartGradient::StaticClass() {
    static const classes::TClassInfo info("TCustomChartGradient",
                                          &classes::TPersistent::StaticClass());
    return info;
}

const classes::TClassInfo& TCustomChartGradient::ClassInfo() const {
    return StaticClass();
}

const classes::TClassInfo& TChartGradient::StaticClass() {
    using T = TChartGradient;
    static const classes::TClassInfo info =
        classes::TClassBuilder<T>("TChartGradient", &TCustomChartGradient::StaticClass())
            .Enum<TGradientDirection>("Direction", &T::Direction, &T::SetDirection,
                                      {"gdTopBottom", "gdBottomTop", "gdLeftRight", "gdRightLeft",
                                       "gdFromCenter", "gdFromTopLeft", "gdFromBottomLeft"},
                                      TGradientDirection::gdTopBottom)
            .Integer<uint32_t>("EndColor", &T::EndColor, &T::SetEndColor, gfx::clYellow,
                               &ChartColorIdents())
            .Integer<uint32_t>("StartColor", &T::StartColor, &T::SetStartColor, gfx::clWhite,
                               &ChartColorIdents())
            .Boolean("Visible", &T::Visible, &T::SetVisible, false)
            .Build();
    return info;
}

const classes::TClassInfo& TChartGradient::ClassInfo() const {
    return StaticClass();
}

}  // namespace chart
