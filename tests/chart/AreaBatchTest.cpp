// Areas drawn as a batch (the fills of each colour together, then the outlines and lines)
// against the same series drawn point by point: seeded random charts (counts from a few points
// to more than the plot's columns, steps and inverted steps, null points, points of their own
// colour, X values going back, one to three area series side by side or stacked, area and line
// pens hidden, one pixel, wide, dashed, dotted or mixing, solid, clear and hatched brushes,
// zoomed, scrolled and reversed views, clipped or not, flat and 3D) give the same picture and leave
// the canvas in the same state.
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
template <class TKind>
class TPointByPoint : public TKind {
  public:
    using TKind::TKind;
    void DrawPoints() override { TChartSeries::DrawPoints(); }
};

using testsupport::TCanvasState;

struct TPenCase {
    bool Visible = true;
    int32_t Width = 1;  // 0 .. 3
    gfx::TPenStyle Style = gfx::TPenStyle::psSolid;
    bool SmallDots = false;
    bool NotXor = false;
};

// The settings of one seeded case; Describe() reproduces it.
struct TCase {
    uint32_t Seed = 0;
    int32_t Points = 0;
    int32_t Series = 1;  // 1 .. 3
    TMultiArea Multi = TMultiArea::maNone;
    bool LineKind = false;  // line series with their area on instead of area series
    bool Stairs = false;
    bool InvertedStairs = false;
    TPenCase Outline;
    TPenCase Line;
    gfx::TBrushStyle Brush = gfx::TBrushStyle::bsSolid;
    bool OwnAreaColor = false;
    bool OwnColours = false;  // some points of a colour of their own, some null
    bool Pointers = false;
    bool Zoomed = false;  // the axes show a part of the points, scrolled
    bool Reversed = false;
    bool Unsorted = false;  // X values kept in the order given, now and then going back
    bool ClipPoints = true;
    bool View3D = false;
    int32_t Depth3D = 15;
    std::string Describe() const {
        std::ostringstream text;
        const auto pen = [&](const TPenCase& p) {
            text << "{" << p.Visible << ", " << p.Width << ", " << static_cast<int>(p.Style) << ", "
                 << p.SmallDots << ", " << p.NotXor << "}, ";
        };
        text << "TCase{" << Seed << ", " << Points << ", " << Series << ", "
             << static_cast<int>(Multi) << ", " << LineKind << ", " << Stairs << ", "
             << InvertedStairs << ", ";
        pen(Outline);
        pen(Line);
        text << static_cast<int>(Brush) << ", " << OwnAreaColor << ", " << OwnColours << ", "
             << Pointers << ", " << Zoomed << ", " << Reversed << ", " << Unsorted << ", "
             << ClipPoints << ", " << View3D << ", " << Depth3D << "}";
        return text.str();
    }
};

TPenCase RandomPen(std::mt19937& random) {
    TPenCase p;
    p.Visible = random() % 4 != 0;
    p.Width = static_cast<int32_t>(random() % 6 == 0 ? 2 + random() % 2 : random() % 2);
    const uint32_t style = random() % 8;
    p.Style = style == 0   ? gfx::TPenStyle::psDash
              : style == 1 ? gfx::TPenStyle::psDot
                           : gfx::TPenStyle::psSolid;
    p.SmallDots = random() % 12 == 0;
    p.NotXor = random() % 12 == 0;
    return p;
}

TCase RandomCase(std::mt19937& random, int32_t maxPoints) {
    TCase c;
    c.Seed = random();
    c.Points = 2 + static_cast<int32_t>(random() % static_cast<uint32_t>(maxPoints));
    c.Series = 1 + static_cast<int32_t>(random() % 3);
    c.Multi = static_cast<TMultiArea>(random() % 3);
    c.LineKind = random() % 5 == 0;
    c.Stairs = random() % 3 == 0;
    c.InvertedStairs = random() % 2 == 0;
    c.Outline = RandomPen(random);
    c.Line = RandomPen(random);
    const uint32_t brush = random() % 8;
    c.Brush = brush == 0   ? gfx::TBrushStyle::bsClear
              : brush == 1 ? gfx::TBrushStyle::bsDiagCross
              : brush == 2 ? gfx::TBrushStyle::bsHorizontal
                           : gfx::TBrushStyle::bsSolid;
    c.OwnAreaColor = random() % 5 == 0;
    c.OwnColours = random() % 3 == 0;
    c.Pointers = random() % 10 == 0;
    c.Zoomed = random() % 3 == 0;
    c.Reversed = random() % 10 == 0;
    c.Unsorted = random() % 10 == 0;
    c.ClipPoints = random() % 5 != 0;
    return c;
}

void ApplyPen(TChartPen& pen, const TPenCase& p, gfx::TColor color) {
    pen.SetVisible(p.Visible);
    pen.SetWidth(p.Width);
    pen.SetStyle(p.Style);
    pen.SetSmallDots(p.SmallDots);
    pen.SetMode(p.NotXor ? gfx::TPenMode::pmNotXor : gfx::TPenMode::pmCopy);
    pen.SetColor(color);
}

// A chart with the case's area series in it, batched or point by point.
class TCaseChart {
  public:
    TCaseChart(const TCase& c, bool pointByPoint) {
        m_chart = new TChart(&m_form);
        m_chart->SetBounds(0, 0, 240, 140);
        m_chart->SetView3D(c.View3D);
        m_chart->SetChart3DPercent(c.Depth3D);
        m_chart->SetClipPoints(c.ClipPoints);
        m_chart->Legend().SetVisible(false);
        std::mt19937 random(c.Seed);
        for (int32_t s = 0; s < c.Series; ++s) {
            TCustomSeries* series = nullptr;
            if (c.LineKind) {
                series = pointByPoint ? new TPointByPoint<TLineSeries>(&m_form)
                                      : new TLineSeries(&m_form);
                series->SetDrawArea(true);
            } else {
                series = pointByPoint ? new TPointByPoint<TAreaSeries>(&m_form)
                                      : new TAreaSeries(&m_form);
            }
            m_series.push_back(series);
            series->Marks().SetVisible(false);
            series->SetSeriesColor(s == 0 ? gfx::clBlue : s == 1 ? gfx::clGreen : gfx::clMaroon);
            series->SetStairs(c.Stairs);
            series->SetInvertedStairs(c.InvertedStairs);
            ApplyPen(series->AreaLinesPen(), c.Outline, s == 1 ? gfx::clNavy : gfx::clBlack);
            ApplyPen(series->LinePen(), c.Line, gfx::clBlack);
            series->SetAreaBrush(c.Brush);
            if (c.OwnAreaColor) {
                series->SetAreaColor(gfx::clYellow);
            }
            series->Pointer().SetVisible(c.Pointers);
            m_chart->AddSeries(series);
            if (auto* area = dynamic_cast<TAreaSeries*>(series)) {
                area->SetMultiArea(c.Multi);
            }
            if (c.Unsorted) {
                series->XValues().SetOrder(TChartListOrder::loNone);
            }
            Fill(c, *series, random);
        }
        m_series.back()->SetAfterDrawValues(
            [this](TChartSeries&) { m_state = testsupport::CanvasStateOf(m_chart->Canvas()); });
        m_chart->BottomAxis().SetInverted(c.Reversed);
        if (c.Zoomed) {
            const double from = static_cast<double>(random() % static_cast<uint32_t>(c.Points));
            m_chart->BottomAxis().SetAxisRange(from - 0.5, from + 1 + c.Points * 0.3);
            m_chart->LeftAxis().SetAxisRange(20, 60 + static_cast<double>(random() % 60));
        }
    }

    const std::vector<uint32_t>& Paint() {
        m_chart->Paint();
        return m_chart->Surface().Pixels();
    }
    const TCanvasState& State() const { return m_state; }
    // Whether the first series drew as a batch.
    bool Batched() const { return m_series.front()->DrawsAreaBatch(); }

  private:
    static void Fill(const TCase& c, TCustomSeries& series, std::mt19937& random) {
        double level = 50;
        double x = 0;
        for (int32_t i = 0; i < c.Points; ++i) {
            // A random walk with jumps: neighbours of the same height, taller and shorter, and
            // now and then two points on the same X.
            const uint32_t kind = random() % 10;
            if (kind < 2) {
                level = static_cast<double>(random() % 100);
            } else if (kind < 8) {
                level += static_cast<double>(random() % 9) - 4.0;
            }
            const uint32_t step = random() % 16;
            x += step == 0 ? 0.0 : c.Unsorted && step == 1 ? -3.0 : 1.0;
            const uint32_t own = c.OwnColours ? random() % 12 : 12;
            if (own == 0) {
                series.AppendNullXY(x, level);
            } else if (own == 1) {
                series.AppendXY(x, level, "", gfx::clRed);
            } else {
                series.AppendXY(x, level);
            }
        }
    }

    classes::TComponent m_form{nullptr};
    TChart* m_chart = nullptr;
    std::vector<TCustomSeries*> m_series;
    TCanvasState m_state;
};

void ExpectSamePictures(uint32_t seed, bool view3D, int32_t trials, int32_t minimumBatched) {
    std::mt19937 random(seed);
    int32_t batched = 0;
    for (int32_t trial = 0; trial < trials; ++trial) {
        // Up to about four times as many points as plot columns.
        TCase c = RandomCase(random, trial % 3 == 0 ? 20 : 900);
        c.View3D = view3D;
        c.Depth3D = view3D ? 1 + static_cast<int32_t>(random() % 60) : 15;
        TCaseChart fast(c, false);
        TCaseChart general(c, true);
        ASSERT_EQ(fast.Paint(), general.Paint()) << "trial " << trial << ": " << c.Describe();
        ASSERT_EQ(fast.State(), general.State()) << "trial " << trial << ": " << c.Describe();
        // Painted again: what the first paint left behind changes nothing.
        ASSERT_EQ(fast.Paint(), general.Paint())
            << "again, trial " << trial << ": " << c.Describe();
        batched += fast.Batched() ? 1 : 0;
    }
    EXPECT_GE(batched, minimumBatched);
}

TEST(AreaBatchTest, FlatAreasLookAsWhenDrawnPointByPoint) {
    // About half the cases have pens that batch; the rest check that they fall back.
    ExpectSamePictures(1977, false, 500, 120);
}

TEST(AreaBatchTest, AreasIn3DLookAsWhenDrawnPointByPoint) {
    // Faces in depth are drawn point by point: each ribbon reaches over the next segment's face.
    ExpectSamePictures(2001, true, 150, 0);
}

}  // namespace
}  // namespace chart
