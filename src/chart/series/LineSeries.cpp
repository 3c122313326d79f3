// The line family's drawing (segments, stair steps, pointers), margins and settings.
#include "chart/series/LineSeries.h"

#include <algorithm>

#include "base/Arith.h"
#include "chart/engine/AxisPanel.h"
#include "classes/ClassBuilder.h"

namespace chart {

namespace {
// Pixel positions beyond this are not drawn (the device works in 16-bit coordinates).
constexpr int32_t kMaxPixel = 32767;

bool InPixelRange(int32_t v) {
    return -kMaxPixel < v && v < kMaxPixel;
}
}  // namespace

TCustomSeries::TCustomSeries(classes::TComponent* owner)
    : TChartSeries(owner),
      m_linePen(std::make_unique<TChartPen>([this] { RequestRepaint(); })),
      m_pointer(std::make_unique<TSeriesPointer>(*this)) {
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

int32_t TCustomSeries::OriginPixel(int32_t /*index*/) const {
    const TCustomAxisPanel* chart = ParentChart();
    return chart == nullptr ? 0 : chart->PlotRect().Bottom;
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
        return PointScreenY(index - 1);
    }
    const double xe = XScreenToValue(edgeX);
    return CalcYPosValue(y0 + (y1 - y0) * (xe - x0) / (x1 - x0));
}

void TCustomSeries::DrawPoint(int32_t index) {
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr) {
        return;
    }
    const gfx::TColor color = PointColor(index);
    const int32_t x = PointScreenX(index);
    const int32_t y = PointScreenY(index);
    if (!InPixelRange(x) || !InPixelRange(y)) {
        m_previous.Color = color;
        return;
    }
    TChartCanvas3D& canvas = chart->Canvas();
    canvas.Pen().SetColor(gfx::clBlack);
    canvas.Brush().SetColor(color);
    if (m_previous.Color == gfx::clNone) {
        m_previous.X = x;
        m_previous.Y = y;
    }
    const int32_t origin = OriginPixel(index);
    if (index == FirstVisibleIndex()) {
        if (index > 0) {
            // The segment coming into the plot from the point before it.
            const bool inverted = chart->SeriesAxisInverted(*this, true);
            m_previous.X = inverted ? chart->PlotRect().Right : chart->PlotRect().Left;
            m_previous.Y = m_stairs ? PointScreenY(index - 1) : EdgeStartY(index, m_previous.X);
            if (PointColor(index - 1) != gfx::clNone) {
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
    TCustomAxisPanel* chart = ParentChart();
    TChartCanvas3D& canvas = chart->Canvas();
    const bool samePlace = x == m_previous.X && y == m_previous.Y;
    if (!samePlace && color != gfx::clNone && m_previous.Color != gfx::clNone && m_connectPoints) {
        canvas.ApplyChartPen(*m_linePen);
        chart->AdjustPenForPrinter(canvas.Pen());
        canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
        canvas.Pen().SetColor(color);
        const bool is3D = chart->View3D();
        // Flat in 2D; in 3D the line stands at the front of the series' depth slot.
        const auto segment = [&](int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
            if (is3D) {
                canvas.SegmentAtDepth(x0, y0, x1, y1, StartZ());
            } else {
                canvas.Segment(x0, y0, x1, y1);
            }
        };
        if (m_stairs && m_invertedStairs) {
            segment(m_previous.X, m_previous.Y, m_previous.X, y);
            segment(m_previous.X, y, x, y);
        } else if (m_stairs) {
            segment(m_previous.X, m_previous.Y, x, m_previous.Y);
            segment(x, m_previous.Y, x, y);
        } else {
            segment(m_previous.X, m_previous.Y, x, y);
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

void TCustomSeries::DrawPointer(int32_t x, int32_t y, int32_t index, gfx::TColor color) {
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr) {
        return;
    }
    TChartCanvas3D& canvas = chart->Canvas();
    m_pointer->PrepareCanvas(canvas, color);
    const TSeriesPointerStyle style =
        m_onGetPointerStyle ? m_onGetPointerStyle(*this, index) : m_pointer->Style();
    m_pointer->DrawShape(canvas, chart->View3D(), x, y, StartZ(), color, style);
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

}  // namespace chart
