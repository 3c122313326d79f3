// Point and area series: their settings, the area's stacking and its drawing.
#include "chart/series/AreaPointSeries.h"

#include <algorithm>
#include <array>
#include <vector>

#include "chart/engine/AxisPanel.h"
#include "chart/series/BarSeries.h"
#include "classes/ClassBuilder.h"

namespace chart {

namespace {
constexpr double kPercent = 100.0;
}  // namespace

// --- Point series ----------------------------------------------------------------------------

TPointSeries::TPointSeries(classes::TComponent* owner) : TCustomSeries(owner) {
    SetConnectPoints(false);
    Pointer().SetVisible(true);
    Marks().SetArrowLength(0);
}

void TPointSeries::SetColorEachPoint(bool value) {
    TCustomSeries::SetColorEachPoint(value);
    if (value) {
        Pointer().Brush().SetColor(clSeriesDefault);
    }
}

void TPointSeries::PrepareGalleryPreview(bool enabled) {
    constexpr int32_t kPreviewPointerSize = 6;  // pixels
    TCustomSeries::PrepareGalleryPreview(enabled);
    Pointer().SetHorizSize(kPreviewPointerSize);
    Pointer().SetVertSize(kPreviewPointerSize);
    if (ParentChart() != nullptr && ParentChart()->SeriesCount() > 1 &&
        ParentChart()->Series(1) == this) {
        Pointer().SetStyle(TSeriesPointerStyle::psTriangle);
    }
}

const classes::TClassInfo& TPointSeries::StaticClass() {
    using T = TPointSeries;
    static const classes::TClassInfo info =
        classes::TClassBuilder<T>("TPointSeries", &TCustomSeries::StaticClass())
            .Creatable()
            .Object("Pointer", [](T& s) -> TSeriesPointer& { return s.Pointer(); })
            .Object("XValues", [](T& s) -> TChartValueList& { return s.XValues(); })
            .Object("YValues", [](T& s) -> TChartValueList& { return s.YValues(); })
            .Build();
    return info;
}

const classes::TClassInfo& TPointSeries::ClassInfo() const {
    return StaticClass();
}

// --- Area series -----------------------------------------------------------------------------

TAreaSeries::TAreaSeries(classes::TComponent* owner)
    : TCustomSeries(owner),
      m_areaBrush(std::make_unique<TChartBrush>([this] { RequestRepaint(); })),
      m_areaLinesPen(std::make_unique<TChartPen>([this] { RequestRepaint(); })) {
    SetSinglePointResult(false);
    SetConnectPoints(true);
    Pointer().SetVisible(false);
}

TAreaSeries::~TAreaSeries() = default;

void TAreaSeries::SetAreaColor(gfx::TColor value) {
    if (value != m_areaColor) {
        m_areaColor = value;
        RequestRepaint();
    }
}

void TAreaSeries::SetDrawArea(bool value) {
    if (value != m_drawArea) {
        m_drawArea = value;
        RequestRepaint();
    }
}

void TAreaSeries::SetMultiArea(TMultiArea value) {
    if (value == m_multiArea) {
        return;
    }
    m_multiArea = value;
    RequestRepaint();
    if (TCustomAxisPanel* chart = ParentChart()) {
        for (int32_t k = 0; k < chart->SeriesCount(); ++k) {
            auto* other = dynamic_cast<TAreaSeries*>(chart->Series(k));
            if (other != nullptr && other != this && &other->ClassInfo() == &ClassInfo()) {
                other->SetMultiArea(value);
            }
        }
    }
}

std::pair<double, double> TAreaSeries::AreaExtent(int32_t index) const {
    const double value = YValueAt(index);
    switch (m_multiArea) {
        case TMultiArea::maNone:
            return {0, value};
        case TMultiArea::maStacked: {
            const double below = StackedSum(*this, index, false);
            return {below, below + value};
        }
        case TMultiArea::maStacked100: {
            // The whole at an index: every related series, this one and those after it too.
            double total = 0;
            const TCustomAxisPanel* chart = ParentChart();
            for (int32_t k = 0; chart != nullptr && k < chart->SeriesCount(); ++k) {
                const TChartSeries& other = *chart->Series(k);
                if (other.Active() && dynamic_cast<const TAreaSeries*>(&other) != nullptr &&
                    index < other.PointCount() && other.MarkValue(index) > 0) {
                    total += other.MarkValue(index);
                }
            }
            if (total == 0) {
                return {0, 0};
            }
            const double below = StackedSum(*this, index, false);
            return {below * kPercent / total, (below + value) * kPercent / total};
        }
    }
    return {0, value};
}

double TAreaSeries::HighestY() const {
    switch (m_multiArea) {
        case TMultiArea::maNone:
            return YValues().MaximumValue();
        case TMultiArea::maStacked: {
            double high = YValues().MaximumValue();
            for (int32_t i = 0; i < PointCount(); ++i) {
                high = std::max(high, YValueAt(i) + StackedSum(*this, i, false));
            }
            return high;
        }
        case TMultiArea::maStacked100:
            return kPercent;
    }
    return YValues().MaximumValue();
}

double TAreaSeries::LowestY() const {
    return m_multiArea == TMultiArea::maStacked100 ? 0 : YValues().MinimumValue();
}

void TAreaSeries::DrawPoints() {
    TCustomAxisPanel* chart = ParentChart();
    const int32_t first = FirstVisibleIndex();
    const int32_t last = LastVisibleIndex();
    if (chart == nullptr || first < 0 || last < first) {
        return;
    }
    TChartCanvas3D& canvas = chart->Canvas();
    const bool is3D = chart->View3D();
    const bool stacked = m_multiArea != TMultiArea::maNone;
    const int32_t plotBottom = chart->PlotRect().Bottom;
    // Top and origin pixels of each visible point; a stair step adds a corner point.
    struct TEdge {
        int32_t X;
        int32_t Top;
        int32_t Origin;
        gfx::TColor Color;
    };
    std::vector<TEdge> edges;
    for (int32_t i = first; i <= last; ++i) {
        const auto [low, high] = AreaExtent(i);
        TEdge edge{PointScreenX(i), CalcYPosValue(high), stacked ? CalcYPosValue(low) : plotBottom,
                   PointColor(i)};
        if (Stairs() && !edges.empty()) {
            const TEdge& prev = edges.back();
            edges.push_back(InvertedStairs() ? TEdge{prev.X, edge.Top, edge.Origin, edge.Color}
                                             : TEdge{edge.X, prev.Top, prev.Origin, edge.Color});
        }
        edges.push_back(edge);
    }
    for (size_t k = 1; k < edges.size(); ++k) {
        const TEdge& a = edges[k - 1];
        const TEdge& b = edges[k];
        if (a.Color == gfx::clNone || b.Color == gfx::clNone) {
            continue;
        }
        const gfx::TColor fill = m_areaColor == clSeriesDefault ? b.Color : m_areaColor;
        canvas.ApplyChartPen(*m_areaLinesPen);
        canvas.Brush().SetStyle(m_areaBrush->Style());
        canvas.Brush().SetColor(fill);
        const std::array<gfx::TPoint, 4> quad = {
            {{a.X, a.Top}, {b.X, b.Top}, {b.X, b.Origin}, {a.X, a.Origin}}};
        if (is3D) {
            std::array<gfx::TPoint, 4> top = {
                {{a.X, a.Top}, {b.X, b.Top}, {b.X, b.Top}, {a.X, a.Top}}};
            canvas.ApplyChartPen(LinePen());
            canvas.Brush().SetColor(fill);
            canvas.QuadAcrossDepths(top, StartZ(), EndZ());
            canvas.ApplyChartPen(*m_areaLinesPen);
            canvas.QuadAtDepth(quad, StartZ());
        } else {
            canvas.PolygonShape(quad, 3);
        }
    }
    if (is3D) {
        return;
    }
    canvas.ApplyChartPen(LinePen());
    canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
    for (size_t k = 1; k < edges.size(); ++k) {
        const TEdge& a = edges[k - 1];
        const TEdge& b = edges[k];
        if (a.Color != gfx::clNone && b.Color != gfx::clNone) {
            canvas.Pen().SetColor(b.Color);
            canvas.Segment(a.X, a.Top, b.X, b.Top);
        }
    }
}

const classes::TClassInfo& TAreaSeries::StaticClass() {
    using T = TAreaSeries;
    static const classes::TClassInfo info =
        classes::TClassBuilder<T>("TAreaSeries", &TCustomSeries::StaticClass())
            .Creatable()
            .Object("AreaBrush", [](T& s) -> gfx::TBrush& { return s.AreaBrush(); })
            .Integer<uint32_t>("AreaColor", &T::AreaColor, &T::SetAreaColor,
                               static_cast<int64_t>(clSeriesDefault), &ChartColorIdents())
            .Object("AreaLinesPen", [](T& s) -> gfx::TPen& { return s.AreaLinesPen(); })
            .Boolean("Dark3D", &T::Dark3D, &T::SetDark3D, true)
            .Boolean("DrawArea", &T::DrawArea, &T::SetDrawArea, false)
            .Boolean("InvertedStairs", &T::InvertedStairs, &T::SetInvertedStairs, false)
            .Object("LinePen", [](T& s) -> gfx::TPen& { return s.LinePen(); })
            .Enum<TMultiArea>("MultiArea", &T::MultiArea, &T::SetMultiArea,
                              {"maNone", "maStacked", "maStacked100"}, TMultiArea::maNone)
            .Object("Pointer", [](T& s) -> TSeriesPointer& { return s.Pointer(); })
            .Boolean("Stairs", &T::Stairs, &T::SetStairs, false)
            .Object("XValues", [](T& s) -> TChartValueList& { return s.XValues(); })
            .Object("YValues", [](T& s) -> TChartValueList& { return s.YValues(); })
            .Build();
    return info;
}

const classes::TClassInfo& TAreaSeries::ClassInfo() const {
    return StaticClass();
}

}  // namespace chart
