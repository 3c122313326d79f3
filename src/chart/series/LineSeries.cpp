// The line family's drawing (segments, stair steps, pointers), margins and settings.
#include "chart/series/LineSeries.h"

#include <algorithm>
#include <cmath>

#include "base/Arith.h"
#include "chart/engine/AxisPanel.h"
#include "classes/ClassBuilder.h"

namespace chart {

TCustomSeries::TCustomSeries(classes::TComponent* owner)
    : TChartSeries(owner),
      m_linePen(std::make_unique<TChartPen>([this] { RequestRepaint(); })),
      m_pointer(std::make_unique<TSeriesPointer>(*this)),
      m_areaLinesPen(std::make_unique<TChartPen>([this] { RequestRepaint(); })) {
    SetIncludePointBeyondEnd(true);
}

TCustomSeries::~TCustomSeries() = default;

void TCustomSeries::RequestChange() {
    RequestRepaint();
}

void TCustomSeries::SetConnectPoints(bool value) {
    if (m_connectPoints != value) {
        m_connectPoints = value;
        RequestChange();
    }
}

void TCustomSeries::SetStairs(bool value) {
    if (m_stairs != value) {
        m_stairs = value;
        RequestChange();
    }
}

void TCustomSeries::SetInvertedStairs(bool value) {
    if (m_invertedStairs != value) {
        m_invertedStairs = value;
        RequestChange();
    }
}

void TCustomSeries::SetDark3D(bool value) {
    if (m_dark3D != value) {
        m_dark3D = value;
        RequestChange();
    }
}

void TCustomSeries::SetLineBrush(gfx::TBrushStyle value) {
    if (m_lineBrush != value) {
        m_lineBrush = value;
        RequestChange();
    }
}

void TCustomSeries::SetLineHeight(int32_t value) {
    if (m_lineHeight != value) {
        m_lineHeight = value;
        RequestChange();
    }
}

void TCustomSeries::SetSegmentsClickable(bool value) {
    if (m_segmentsClickable != value) {
        m_segmentsClickable = value;
        RequestChange();
    }
}

void TCustomSeries::SetDrawArea(bool value) {
    if (m_drawArea != value) {
        m_drawArea = value;
        RequestChange();
    }
}

void TCustomSeries::SetAreaBrush(gfx::TBrushStyle value) {
    if (m_areaBrush != value) {
        m_areaBrush = value;
        RequestChange();
    }
}

void TCustomSeries::SetAreaColor(gfx::TColor value) {
    if (m_areaColor != value) {
        m_areaColor = value;
        RequestChange();
    }
}

int32_t TCustomSeries::OriginPixel(int32_t /*index*/) const {
    const TCustomAxisPanel* chart = ParentChart();
    return chart == nullptr ? 0 : chart->VertAxisOf(*this).EndPixel();
}

void TCustomSeries::HorizontalMargins(int32_t& left, int32_t& right) const {
    left = 0;
    right = 0;
    if (m_pointer->Visible() && m_pointer->InflateMargins()) {
        left = std::max(left, m_pointer->HorizSize() + 1);
        right = std::max(right, m_pointer->HorizSize() + 1);
    }
    if (m_stairs && m_connectPoints) {
        left = std::max(left, m_linePen->Width());
        right = std::max(right, m_linePen->Width());
    }
}

void TCustomSeries::VerticalMargins(int32_t& top, int32_t& bottom) const {
    top = 0;
    bottom = 0;
    if (m_pointer->Visible() && m_pointer->InflateMargins()) {
        top = std::max(top, m_pointer->VertSize() + 1);
        bottom = std::max(bottom, m_pointer->VertSize() + 1);
    }
    if (m_stairs && m_connectPoints) {
        top = std::max(top, m_linePen->Width());
        bottom = std::max(bottom, m_linePen->Width() + 1);
    }
    if (m_lineHeight > 0) {
        bottom = std::max(bottom, m_lineHeight);
    }
}

int32_t TCustomSeries::EdgeStartY(int32_t index, int32_t edgeX) const {
    const double x0 = XValueAt(index - 1);
    const double y0 = YValueAt(index - 1);
    const double x1 = XValueAt(index);
    const double y1 = YValueAt(index);
    if (x1 == x0) {
        return LineScreenY(index - 1);
    }
    const double xe = XScreenToValue(edgeX);
    return CalcYPosValue(y0 + (y1 - y0) * (xe - x0) / (x1 - x0));
}

void TCustomSeries::DrawPoints() {
    if (DrawsDense()) {
        DrawDense();
        return;
    }
    if (DrawsPointersOnly()) {
        DrawPointerBatch();
        return;
    }
    if (DrawsAreaBatch()) {
        DrawAreaBatch();
        return;
    }
    TChartSeries::DrawPoints();
}

void TCustomSeries::DrawPoint(int32_t index) {
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr) {
        return;
    }
    const gfx::TColor color = PointColor(index);
    const int32_t x = PointScreenX(index);
    const int32_t y = LineScreenY(index);
    if (!InPixelRange(x) || !InPixelRange(y)) {
        // Nothing drawn yet in this paint: the next point starts from its own position rather
        // than from a point of an earlier paint.
        if (index == FirstVisibleIndex()) {
            m_drawnInPaint = false;
        }
        m_previous.Color = m_drawnInPaint ? color : gfx::clNone;
        return;
    }
    m_drawnInPaint = true;
    TChartCanvas3D& canvas = chart->Canvas();
    canvas.Pen().SetColor(gfx::clBlack);
    canvas.Brush().SetColor(color);
    if (m_collectAreas) {
        m_areaTail = true;
        m_areaTailColor = color;
    }
    if (m_previous.Color == gfx::clNone) {
        m_previous.X = x;
        m_previous.Y = y;
    }
    const int32_t origin = OriginPixel(index);
    m_currentOrigin = origin;
    if (index == FirstVisibleIndex()) {
        if (m_dark3D) {
            const int32_t extent = chart->DepthExtent();
            m_depthSlopeLimit =
                extent == 0 ? 1.0 : std::abs(static_cast<double>(chart->DepthRise()) / extent);
        }
        // Each paint starts afresh: only the point before this one decides whether a segment
        // enters the plot, never the last point of the previous paint (which may have been
        // null).
        m_previous = TPreviousPoint{x, y, origin, color};
        if (index > 0) {
            // The segment coming into the plot from the point before it.
            m_previous.Color = PointColor(index - 1);
            if (m_drawArea) {
                m_previous.X = PointScreenX(index - 1);
                m_previous.Y = LineScreenY(index - 1);
                m_previous.Origin = OriginPixel(index - 1);
            } else {
                const bool inverted = chart->SeriesAxisInverted(*this, true);
                m_previous.X = inverted ? chart->PlotRect().Right : chart->PlotRect().Left;
                m_previous.Y = m_stairs ? LineScreenY(index - 1) : EdgeStartY(index, m_previous.X);
            }
            if (m_previous.Color != gfx::clNone) {
                DrawConnection(index, x, y, color, false);
            }
        }
        if (index == LastVisibleIndex() && m_pointer->Visible() && color != gfx::clNone) {
            DrawPointer(x, y, index, color);
        }
    } else {
        DrawConnection(index, x, y, color, true);
    }
    m_previous.X = x;
    m_previous.Y = y;
    m_previous.Origin = origin;
    m_previous.Color = color;
}

void TCustomSeries::DrawConnection(int32_t index, int32_t x, int32_t y, gfx::TColor color,
                                   bool withPointers) {
    const bool samePlace = x == m_previous.X && y == m_previous.Y;
    if (!samePlace && color != gfx::clNone && m_previous.Color != gfx::clNone) {
        if (ParentChart()->View3D()) {
            // A clear line brush leaves nothing of a line's ribbon to draw.
            if (m_drawArea || (m_connectPoints && m_lineBrush != gfx::TBrushStyle::bsClear)) {
                DrawRibbonConnection(index, x, y, color);
            }
        } else if (m_drawArea && m_collectAreas) {
            m_areaCalls.push_back(
                {m_previous.X, m_previous.Y, m_previous.Origin, x, y, m_currentOrigin, color});
            m_areaTail = false;
        } else if (m_drawArea) {
            DrawAreaFace(m_previous.X, m_previous.Y, m_previous.Origin, x, y, m_currentOrigin,
                         color);
            DrawFlatLine(m_previous.X, m_previous.Y, x, y, color);
        } else if (m_connectPoints) {
            DrawFlatLine(m_previous.X, m_previous.Y, x, y, color);
        }
    }
    if (withPointers && m_pointer->Visible()) {
        if (m_previous.Color != gfx::clNone) {
            DrawPointer(m_previous.X, m_previous.Y, index - 1, m_previous.Color);
        }
        if (index == LastVisibleIndex() && color != gfx::clNone) {
            DrawPointer(x, y, index, color);
        }
    }
}

void TCustomSeries::DrawFlatLine(int32_t px, int32_t py, int32_t x, int32_t y, gfx::TColor color) {
    TCustomAxisPanel* chart = ParentChart();
    TChartCanvas3D& canvas = chart->Canvas();
    canvas.ApplyChartPen(*m_linePen);
    chart->AdjustPenForPrinter(canvas.Pen());
    canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
    canvas.Pen().SetColor(color);
    if (m_stairs && m_invertedStairs) {
        canvas.Segment(px, py, px, y);
        canvas.Segment(px, y, x, y);
    } else if (m_stairs) {
        canvas.Segment(px, py, x, py);
        canvas.Segment(x, py, x, y);
    } else {
        canvas.Segment(px, py, x, y);
    }
}

void TCustomSeries::DrawPointer(int32_t x, int32_t y, int32_t index, gfx::TColor color) {
    if (ParentChart() == nullptr) {
        return;
    }
    const TSeriesPointerStyle style =
        m_onGetPointerStyle ? m_onGetPointerStyle(*this, index) : m_pointer->Style();
    if (m_collectPointers) {
        m_pointerCalls.push_back({x, y, index, color, style});
        return;
    }
    DrawPointerShape({x, y, index, color, style});
}

void TCustomSeries::DrawPointerShape(const TPointerCall& call) {
    TCustomAxisPanel* chart = ParentChart();
    TChartCanvas3D& canvas = chart->Canvas();
    m_pointer->PrepareCanvas(canvas, call.Color);
    const bool is3D = chart->View3D();
    // Solid shapes across the series' depth where the style has one; otherwise the flat shape
    // at the series' front depth.
    if (!is3D || !m_pointer->Draw3D() ||
        !m_pointer->DrawSolidShape(canvas, call.X, call.Y, StartZ(), EndZ(), call.Style)) {
        m_pointer->DrawShape(canvas, is3D, call.X, call.Y, StartZ(), call.Color, call.Style);
    }
}

void TCustomSeries::DrawMark(int32_t index, const std::string& text,
                             TSeriesMarkPosition& position) {
    Marks().SetZPosition(StartZ());
    position.Top -= Marks().ArrowLength();
    position.ArrowToY -= Marks().ArrowLength();
    TChartSeries::DrawMark(index, text, position);
}

void TCustomSeries::Assign(const classes::TPersistent& source) {
    TChartSeries::Assign(source);
    const auto* other = dynamic_cast<const TCustomSeries*>(&source);
    if (other == nullptr) {
        return;
    }
    m_areaBrush = other->m_areaBrush;
    m_areaColor = other->m_areaColor;
    m_areaLinesPen->Assign(*other->m_areaLinesPen);
    m_segmentsClickable = other->m_segmentsClickable;
    m_dark3D = other->m_dark3D;
    m_drawArea = other->m_drawArea;
    m_connectPoints = other->m_connectPoints;
    m_invertedStairs = other->m_invertedStairs;
    m_lineBrush = other->m_lineBrush;
    m_lineHeight = other->m_lineHeight;
    m_linePen->Assign(*other->m_linePen);
    m_pointer->Assign(*other->m_pointer);
    m_stairs = other->m_stairs;
    RequestChange();
}

const classes::TClassInfo& TCustomSeries::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TCustomSeries>("TCustomSeries", &TChartSeries::StaticClass())
            .Build();
    return info;
}

const classes::TClassInfo& TCustomSeries::ClassInfo() const {
    return StaticClass();
}

TLineSeries::TLineSeries(classes::TComponent* owner) : TCustomSeries(owner) {
    SetSinglePointResult(false);
    SetConnectPoints(true);
    Pointer().SetVisible(false);
}

const classes::TClassInfo& TLineSeries::StaticClass() {
    using T = TLineSeries;
    static const classes::TClassInfo info =
        classes::TClassBuilder<T>("TLineSeries", &TCustomSeries::StaticClass())
            .Creatable()
            .Boolean("Dark3D", &T::Dark3D, &T::SetDark3D, true)
            .Boolean("InvertedStairs", &T::InvertedStairs, &T::SetInvertedStairs, false)
            .Enum<gfx::TBrushStyle>("LineBrush", &T::LineBrush, &T::SetLineBrush,
                                    {"bsSolid", "bsClear", "bsHorizontal", "bsVertical",
                                     "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"},
                                    gfx::TBrushStyle::bsSolid)
            .Integer("LineHeight", &T::LineHeight, &T::SetLineHeight, 0)
            .Object("LinePen", [](T& s) -> gfx::TPen& { return s.LinePen(); })
            .Object("Pointer", [](T& s) -> TSeriesPointer& { return s.Pointer(); })
            .Boolean("Stairs", &T::Stairs, &T::SetStairs, false)
            .Object("XValues", [](T& s) -> TChartValueList& { return s.XValues(); })
            .Object("YValues", [](T& s) -> TChartValueList& { return s.YValues(); })
            .Build();
    return info;
}

const classes::TClassInfo& TLineSeries::ClassInfo() const {
    return StaticClass();
}

void TLineSeries::Assign(const classes::TPersistent& source) {
    TCustomSeries::Assign(source);
    SetConnectPoints(true);
    SetDrawArea(false);
    if (&source.ClassInfo() != &ClassInfo()) {
        Pointer().SetVisible(false);
    }
}

}  // namespace chart
