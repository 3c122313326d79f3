// The wall settings: compare, store and repaint the chart.
#include "chart/component/ChartWall.h"

#include "chart/engine/AxisPanel.h"
#include "classes/ClassBuilder.h"

namespace chart {

TChartWall::TChartWall(TCustomAxisPanel* chart, gfx::TColor defaultColor)
    : m_chart(chart),
      m_brush(std::make_unique<TChartBrush>([this] { Changed(); })),
      m_color(defaultColor),
      m_pen(std::make_unique<TChartPen>([this] { Changed(); })),
      m_defaultColor(defaultColor) {}

TChartWall::~TChartWall() = default;

void TChartWall::Changed() {
    if (m_chart != nullptr) {
        m_chart->PartChanged();
    }
}

void TChartWall::SetColor(gfx::TColor value) {
    if (m_color != value) {
        m_color = value;
        Changed();
    }
}

void TChartWall::SetDark3D(bool value) {
    if (m_dark3D != value) {
        m_dark3D = value;
        Changed();
    }
}

void TChartWall::SetSize(int32_t value) {
    if (m_size != value) {
        m_size = value;
        Changed();
    }
}

bool TChartWall::HasDarkSides() const {
    return m_brush->Style() != gfx::TBrushStyle::bsClear && m_dark3D;
}

void TChartWall::Assign(const classes::TPersistent& source) {
    const auto* other = dynamic_cast<const TChartWall*>(&source);
    if (other == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    m_brush->Assign(*other->m_brush);
    m_color = other->m_color;
    m_dark3D = other->m_dark3D;
    m_pen->Assign(*other->m_pen);
    m_size = other->m_size;
    Changed();
}

const classes::TClassInfo& TChartWall::StaticClass() {
    using T = TChartWall;
    static const classes::TClassInfo info =
        classes::TClassBuilder<T>("TChartWall", &classes::TPersistent::StaticClass())
            .Object("Brush", [](T& w) -> gfx::TBrush& { return w.Brush(); })
            .Integer<uint32_t>("Color", &T::Color, &T::SetColor, {}, &ChartColorIdents())
            .StoredIf([](const T& w) { return w.Color() != w.WallDefaultColor(); })
            .Boolean("Dark3D", &T::Dark3D, &T::SetDark3D, true)
            .Object("Pen", [](T& w) -> gfx::TPen& { return w.Pen(); })
            .Integer("Size", &T::Size, &T::SetSize, 0)
            .Build();
    return info;
}

const classes::TClassInfo& TChartWall::ClassInfo() const {
    return StaticClass();
}

}  // namespace chart
