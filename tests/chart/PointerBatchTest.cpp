// Pointers without lines, drawn each once where several coincide and flat squares straight into
// the rows, against the same series drawn point by point: seeded random point and line series
// (places on a coarse grid so that pointers coincide, every style, sizes, pens, brushes, own
// colours, nulls, points beyond the plot and beyond the device's range, zoomed axes, styles per
// point) give the same picture, flat and in 3D, and leave the canvas in the same state.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "chart/component/Chart.h"
#include "chart/series/AreaPointSeries.h"
#include "support/CanvasState.h"

namespace chart {
namespace {

// The same series drawn point by point, the general path.
class TPointByPointSeries : public TPointSeries {
  public:
    using TPointSeries::TPointSeries;
    void DrawPoints() override { TChartSeries::DrawPoints(); }
};
class TPointByPointLine : public TLineSeries {
  public:
    using TLineSeries::TLineSeries;
    void DrawPoints() override { TChartSeries::DrawPoints(); }
};

using testsupport::TCanvasState;

// The settings of one seeded case; Describe() reproduces it.
struct TCase {
    uint32_t Seed = 0;
    int32_t Points = 0;
    bool LineSeries = false;  // a line series with its lines off and its pointer shown
    bool View3D = false;
    int32_t Style = 0;  // a TSeriesPointerStyle, or 9: a style per point
    int32_t HorizSize = 4;
    int32_t VertSize = 4;
    int32_t PenWidth = 1;
    int32_t PenStyle = 0;    // 0 solid, 1 dash, 2 clear
    bool PenColor = false;   // a pen colour of its own instead of the point's
    int32_t BrushStyle = 0;  // 0 solid, 1 clear, 2 diagonal cross
    bool ColorEachPoint = false;
    bool Zoomed = false;  // the axes show a part of the points
    bool Beyond = false;  // some points far beyond the device's pixel range
    std::string Describe() const {
        std::ostringstream text;
        text << "TCase{" << Seed << ", " << Points << ", " << LineSeries << ", " << View3D << ", "
             << Style << ", " << HorizSize << ", " << VertSize << ", " << PenWidth << ", "
             << PenStyle << ", " << PenColor << ", " << BrushStyle << ", " << ColorEachPoint << ", "
             << Zoomed << ", " << Beyond << "}";
        return text.str();
    }
};

class TCaseChart {
  public:
    TCaseChart(const TCase& c, bool pointByPoint) {
        m_chart = new TChart(&m_form);
        m_chart->SetBounds(0, 0, 220, 140);
        m_chart->SetView3D(c.View3D);
        m_chart->Legend().SetVisible(false);
        if (c.LineSeries) {
            auto* line = pointByPoint ? new TPointByPointLine(&m_form) : new TLineSeries(&m_form);
            line->SetConnectPoints(false);
            line->Pointer().SetVisible(true);
            m_series = line;
        } else {
            m_series = pointByPoint ? new TPointByPointSeries(&m_form) : new TPointSeries(&m_form);
        }
        m_chart->AddSeries(m_series);
        TSeriesPointer& pointer = m_series->Pointer();
        if (c.Style < 9) {
            pointer.SetStyle(static_cast<TSeriesPointerStyle>(c.Style));
        } else {
            m_series->SetOnGetPointerStyle([](TChartSeries&, int32_t index) {
                return static_cast<TSeriesPointerStyle>((index * 7 + index / 3) % 9);
            });
        }
        pointer.SetHorizSize(c.HorizSize);
        pointer.SetVertSize(c.VertSize);
        pointer.Pen().SetWidth(c.PenWidth);
        const gfx::TPenStyle penStyles[] = {gfx::TPenStyle::psSolid, gfx::TPenStyle::psDash,
                                            gfx::TPenStyle::psClear};
        pointer.Pen().SetStyle(penStyles[c.PenStyle]);
        if (c.PenColor) {
            pointer.Pen().SetColor(gfx::clMaroon);
        }
        const gfx::TBrushStyle brushStyles[] = {
            gfx::TBrushStyle::bsSolid, gfx::TBrushStyle::bsClear, gfx::TBrushStyle::bsDiagCross};
        pointer.Brush().SetStyle(brushStyles[c.BrushStyle]);
        m_series->SetColorEachPoint(c.ColorEachPoint);
        m_series->SetAfterDrawValues(
            [this](TChartSeries&) { m_state = testsupport::CanvasStateOf(m_chart->Canvas()); });
        Fill(c);
        if (c.Zoomed) {
            m_chart->BottomAxis().SetAxisRange(4, 14);
            m_chart->LeftAxis().SetAxisRange(2, 9);
        }
    }

    const std::vector<uint32_t>& Paint() {
        m_chart->PartChanged();
        m_chart->Paint();
        return m_chart->Surface().Pixels();
    }
    const TCanvasState& State() const { return m_state; }

  private:
    void Fill(const TCase& c) {
        std::mt19937 random(c.Seed);
        const gfx::TColor colours[] = {gfx::clRed, gfx::clGreen, gfx::clBlue};
        for (int32_t i = 0; i < c.Points; ++i) {
            // A coarse grid: many points share their place with others.
            const double x = random() % 20;
            double y = random() % 12;
            const uint32_t kind = random() % 30;
            if (c.Beyond && kind == 0) {
                y = 1e12;
            }
            if (kind == 1) {
                m_series->AppendNullXY(x, y);
            } else if (kind < 8) {
                m_series->AppendXY(x, y, "", colours[random() % 3]);
            } else {
                m_series->AppendXY(x, y);
            }
        }
    }

    classes::TComponent m_form{nullptr};
    TChart* m_chart = nullptr;
    TCustomSeries* m_series = nullptr;
    TCanvasState m_state;
};

TEST(PointerBatchTest, PointersLookAsWhenDrawnPointByPoint) {
    std::mt19937 random(2024);
    for (int trial = 0; trial < 600; ++trial) {
        TCase c;
        c.Seed = random();
        c.Points = 1 + static_cast<int32_t>(random() % 300);
        c.LineSeries = random() % 4 == 0;
        c.View3D = trial % 5 == 0;
        c.Style = static_cast<int32_t>(random() % 12);
        c.Style = c.Style > 9 ? 0 : c.Style;  // rectangles more often
        c.HorizSize = 1 + static_cast<int32_t>(random() % 6);
        c.VertSize = random() % 2 == 0 ? c.HorizSize : 1 + static_cast<int32_t>(random() % 6);
        c.PenWidth = random() % 4 == 0 ? static_cast<int32_t>(random() % 4) : 1;
        c.PenStyle = random() % 4 == 0 ? static_cast<int32_t>(1 + random() % 2) : 0;
        c.PenColor = random() % 3 == 0;
        c.BrushStyle = random() % 4 == 0 ? static_cast<int32_t>(1 + random() % 2) : 0;
        c.ColorEachPoint = random() % 2 == 0;
        c.Zoomed = random() % 3 == 0;
        c.Beyond = random() % 5 == 0;
        TCaseChart batched(c, false);
        TCaseChart general(c, true);
        ASSERT_EQ(batched.Paint(), general.Paint()) << "trial " << trial << ": " << c.Describe();
        ASSERT_EQ(batched.State(), general.State()) << "trial " << trial << ": " << c.Describe();
        // Painted again: what the first paint left behind changes nothing.
        ASSERT_EQ(batched.Paint(), general.Paint())
            << "again, trial " << trial << ": " << c.Describe();
    }
}

}  // namespace
}  // namespace chart
