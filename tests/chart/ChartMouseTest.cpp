// The chart's mouse handling with synthetic events: zoom drags and their undo, panning, the
// wheel, the hit test's order, click events and the animated zoom.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "chart/component/Chart.h"
#include "chart/engine/Axis.h"
#include "chart/series/LineSeries.h"
#include "forms/Control.h"

namespace {

using chart::TChart;
using chart::TCustomChartAxis;
using forms::TMouseButton;

// Records the bottom axis' range at every on-screen paint the chart asks for.
class TPaintRecorder : public forms::IControlView {
  public:
    explicit TPaintRecorder(TChart& chart) : m_chart(chart) {}
    void ControlChanged(forms::TControl& /*control*/, forms::TControlChange change) override {
        if (change == forms::TControlChange::ccPaintNow) {
            Ranges.push_back({m_chart.BottomAxis().Minimum(), m_chart.BottomAxis().Maximum()});
        }
    }
    void ControlDestroyed(forms::TControl& /*control*/) override {}
    std::vector<std::pair<double, double>> Ranges;

  private:
    TChart& m_chart;
};

class ChartMouseTest : public ::testing::Test {
  protected:
    ChartMouseTest() : m_chart(nullptr) {
        m_chart.SetBounds(0, 0, 400, 300);
        m_chart.SetView3D(false);
        m_chart.Title().Text().Add("Keying");
        auto* series = new chart::TLineSeries(&m_chart);
        m_chart.AddSeries(series);
        for (int i = 0; i <= 10; ++i) {
            series->AppendXY(i * 100.0, i % 2 == 0 ? 0.0 : 50.0);
        }
        m_chart.Paint();
        m_plot = m_chart.PlotRect();
    }

    // The value a linear axis shows at a pixel, from its extent and range alone.
    static double ValueAt(const TCustomChartAxis& axis, int32_t pixel) {
        const double along =
            static_cast<double>(pixel - axis.StartPixel()) / (axis.EndPixel() - axis.StartPixel());
        return axis.Horizontal() ? axis.CurrentMinimum() + along * axis.CurrentRange()
                                 : axis.CurrentMaximum() - along * axis.CurrentRange();
    }

    void Drag(TMouseButton button, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
        m_chart.MouseDown(button, 0, x0, y0);
        m_chart.MouseMove(0, (x0 + x1) / 2, (y0 + y1) / 2);
        m_chart.MouseMove(0, x1, y1);
        m_chart.MouseUp(button, 0, x1, y1);
        m_chart.Paint();
    }

    TChart m_chart;
    gfx::TRect m_plot;
};

TEST_F(ChartMouseTest, ALeftDragRightAndDownZoomsTheAxesToTheDraggedRectangle) {
    int zooms = 0;
    m_chart.SetOnZoom({"", [&](classes::TPersistent*) { ++zooms; }});
    const TCustomChartAxis& bottom = m_chart.BottomAxis();
    const TCustomChartAxis& left = m_chart.LeftAxis();
    const int32_t x0 = m_plot.Left + 40, y0 = m_plot.Top + 20;
    const int32_t x1 = m_plot.Left + 140, y1 = m_plot.Top + 120;
    const double expectedMinX = ValueAt(bottom, x0), expectedMaxX = ValueAt(bottom, x1);
    const double expectedMinY = ValueAt(left, y1), expectedMaxY = ValueAt(left, y0);
    Drag(TMouseButton::mbLeft, x0, y0, x1, y1);
    EXPECT_DOUBLE_EQ(bottom.Minimum(), expectedMinX);
    EXPECT_DOUBLE_EQ(bottom.Maximum(), expectedMaxX);
    EXPECT_DOUBLE_EQ(left.Minimum(), expectedMinY);
    EXPECT_DOUBLE_EQ(left.Maximum(), expectedMaxY);
    EXPECT_FALSE(bottom.Automatic());
    EXPECT_TRUE(m_chart.ZoomActive());
    EXPECT_EQ(zooms, 1);
    EXPECT_FALSE(m_chart.ZoomState().Engaged);
    ASSERT_TRUE(m_chart.SavedAxesRanges().has_value());
    EXPECT_DOUBLE_EQ((*m_chart.SavedAxesRanges())[chart::zaBottom].Maximum, 1000);
}

TEST_F(ChartMouseTest, DragsOf16PixelsDoNothingAndTheReverseDragUndoesEveryZoom) {
    int undos = 0;
    m_chart.SetOnUndoZoom({"", [&](classes::TPersistent*) { ++undos; }});
    const int32_t x = m_plot.Left + 100, y = m_plot.Top + 50;
    Drag(TMouseButton::mbLeft, x, y, x + 16, y + 40);
    EXPECT_TRUE(m_chart.BottomAxis().Automatic());
    EXPECT_FALSE(m_chart.SavedAxesRanges().has_value());
    Drag(TMouseButton::mbLeft, x, y, x + 17, y + 17);
    EXPECT_FALSE(m_chart.BottomAxis().Automatic());
    const double firstMaximum = m_chart.BottomAxis().Maximum();
    // A second zoom keeps the ranges saved before the first.
    Drag(TMouseButton::mbLeft, x, y, x + 60, y + 60);
    EXPECT_LT(m_chart.BottomAxis().Maximum(), firstMaximum);
    Drag(TMouseButton::mbLeft, x + 17, y + 17, x, y);
    EXPECT_EQ(undos, 1);
    EXPECT_FALSE(m_chart.ZoomActive());
    EXPECT_FALSE(m_chart.SavedAxesRanges().has_value());
    // Back to the ranges before any zoom, following the series again.
    EXPECT_TRUE(m_chart.BottomAxis().Automatic());
    EXPECT_DOUBLE_EQ(m_chart.BottomAxis().Minimum(), 0);
    EXPECT_DOUBLE_EQ(m_chart.BottomAxis().Maximum(), 1000);
    EXPECT_DOUBLE_EQ(m_chart.LeftAxis().Maximum(), 50);
}

TEST_F(ChartMouseTest, ARightDragPansByEachStepAndStopsOnLeavingThePlot) {
    const TCustomChartAxis& bottom = m_chart.BottomAxis();
    const double perPixel = bottom.CurrentRange() / (bottom.EndPixel() - bottom.StartPixel());
    const int32_t x = m_plot.Left + 200, y = m_plot.Top + 50;
    int scrolls = 0;
    m_chart.SetOnScroll({"", [&](classes::TPersistent*) { ++scrolls; }});
    m_chart.MouseDown(TMouseButton::mbRight, 0, x, y);
    ASSERT_TRUE(m_chart.PanState().Engaged);
    // Two steps of 10 pixels to the left move the view 20 pixels' worth to the right.
    m_chart.MouseMove(0, x - 10, y);
    m_chart.MouseMove(0, x - 20, y);
    EXPECT_NEAR(bottom.Minimum(), 20 * perPixel, 1e-9);
    EXPECT_NEAR(bottom.Maximum(), 1000 + 20 * perPixel, 1e-9);
    EXPECT_EQ(scrolls, 2);
    EXPECT_DOUBLE_EQ(m_chart.LeftAxis().Maximum(), 50);  // no vertical move
    // Out of the chart rectangle: the drag ends at once and later moves do nothing.
    m_chart.MouseMove(0, m_plot.Right + 5, y);
    EXPECT_FALSE(m_chart.PanState().Engaged);
    m_chart.MouseMove(0, x - 100, y);
    EXPECT_NEAR(bottom.Minimum(), 20 * perPixel, 1e-9);
    m_chart.MouseUp(TMouseButton::mbRight, 0, x - 100, y);
    // The undo of a zoom also undoes the pan.
    Drag(TMouseButton::mbLeft, x, y + 60, x - 30, y + 20);
    EXPECT_DOUBLE_EQ(bottom.Minimum(), 0);
}

TEST_F(ChartMouseTest, OnAllowScrollMayForbidOrChangeAPanningStep) {
    m_chart.SetOnAllowScroll(
        [](TChart&, TCustomChartAxis& axis, double& minimum, double& maximum, bool& allow) {
            allow = axis.Horizontal();
            minimum = std::round(minimum);
            maximum = minimum + 1000;
        });
    const int32_t x = m_plot.Left + 200, y = m_plot.Top + 50;
    m_chart.MouseDown(TMouseButton::mbRight, 0, x, y);
    m_chart.MouseMove(0, x + 30, y + 30);
    EXPECT_DOUBLE_EQ(m_chart.LeftAxis().Maximum(), 50);
    EXPECT_LT(m_chart.BottomAxis().Minimum(), 0);
    EXPECT_DOUBLE_EQ(m_chart.BottomAxis().Minimum(), std::round(m_chart.BottomAxis().Minimum()));
}

TEST_F(ChartMouseTest, EachWheelNotchScrollsOnlyTheVerticalAxesBy3PercentOfTheirRange) {
    m_chart.MouseWheel(true);
    EXPECT_DOUBLE_EQ(m_chart.LeftAxis().Minimum(), 1.5);
    EXPECT_DOUBLE_EQ(m_chart.LeftAxis().Maximum(), 51.5);
    m_chart.MouseWheel(false);
    m_chart.MouseWheel(false);
    EXPECT_DOUBLE_EQ(m_chart.LeftAxis().Minimum(), -1.5);
    EXPECT_DOUBLE_EQ(m_chart.BottomAxis().Minimum(), 0);
    EXPECT_DOUBLE_EQ(m_chart.BottomAxis().Maximum(), 1000);
    EXPECT_TRUE(m_chart.BottomAxis().Automatic());
    // The depth axis is left alone too, as the help page says.
    EXPECT_TRUE(m_chart.DepthAxis().Automatic());
}

// A series that records the moves and releases the chart passes it.
class TListeningSeries : public chart::TLineSeries {
  public:
    using chart::TLineSeries::TLineSeries;
    void SeriesMouseMove(forms::TShiftState /*shift*/, int32_t x, int32_t y) override {
        Moves.push_back({x, y});
    }
    void SeriesMouseUp(TMouseButton button, forms::TShiftState /*shift*/, int32_t x,
                       int32_t y) override {
        Releases.push_back({x, y});
        Buttons.push_back(button);
    }
    std::vector<gfx::TPoint> Moves;
    std::vector<gfx::TPoint> Releases;
    std::vector<TMouseButton> Buttons;
};

TEST_F(ChartMouseTest, EverySeriesHearsMovesOutsideDragsAndEveryRelease) {
    auto* first = new TListeningSeries(&m_chart);
    auto* second = new TListeningSeries(&m_chart);
    m_chart.AddSeries(first);
    m_chart.AddSeries(second);
    second->SetActive(false);  // inactive series hear them too
    const int32_t x = m_plot.Left + 40, y = m_plot.Top + 40;
    m_chart.MouseMove(0, x, y);
    // A zoom drag's moves draw the frame only; its release reaches the series.
    Drag(TMouseButton::mbLeft, x, y, x + 60, y + 60);
    for (const TListeningSeries* series : {first, second}) {
        EXPECT_EQ(series->Moves, (std::vector<gfx::TPoint>{{x, y}}));
        EXPECT_EQ(series->Releases, (std::vector<gfx::TPoint>{{x + 60, y + 60}}));
        EXPECT_EQ(series->Buttons, (std::vector<TMouseButton>{TMouseButton::mbLeft}));
    }
}

TEST_F(ChartMouseTest, TheHitTestTakesAxesThenTitleThenTheChartArea) {
    const gfx::TRect title = m_chart.Title().TitleRect();
    const int32_t titleX = (title.Left + title.Right) / 2, titleY = (title.Top + title.Bottom) / 2;
    EXPECT_EQ(m_chart.HitTestChart(titleX, titleY).Part, chart::TChartClickedPartStyle::cpTitle);
    const int32_t cx = (m_plot.Left + m_plot.Right) / 2, cy = (m_plot.Top + m_plot.Bottom) / 2;
    EXPECT_EQ(m_chart.HitTestChart(cx, cy).Part, chart::TChartClickedPartStyle::cpChartRect);
    const chart::TChartClickedPart axis = m_chart.HitTestChart(m_plot.Left - 5, cy);
    EXPECT_EQ(axis.Part, chart::TChartClickedPartStyle::cpAxis);
    EXPECT_EQ(axis.Axis, &m_chart.LeftAxis());
    EXPECT_EQ(m_chart.HitTestChart(2, 298).Part, chart::TChartClickedPartStyle::cpNone);
    // A title standing over the chart area is found before it.
    m_chart.SetPlotRect(gfx::TRect(0, 0, 400, 300));
    EXPECT_EQ(m_chart.HitTestChart(titleX, titleY).Part, chart::TChartClickedPartStyle::cpTitle);
    // Without series the chart area is not a part.
    m_chart.FreeAllSeries();
    EXPECT_EQ(m_chart.HitTestChart(cx, cy).Part, chart::TChartClickedPartStyle::cpNone);
}

TEST_F(ChartMouseTest, ABackgroundClickLetThroughStartsADragOrIsHeardTwice) {
    int clicks = 0;
    bool letThrough = false;
    m_chart.SetOnClickBackground(
        [&](TChart& chart, TMouseButton, forms::TShiftState, int32_t, int32_t) {
            ++clicks;
            if (letThrough) {
                chart.SetSuppressMouse(false);
            }
        });
    const int32_t x = m_plot.Left + 50, y = m_plot.Top + 50;
    m_chart.MouseDown(TMouseButton::mbLeft, 0, x, y);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(m_chart.ZoomState().Engaged);  // handled: no zoom drag
    m_chart.MouseUp(TMouseButton::mbLeft, 0, x, y);
    letThrough = true;
    m_chart.MouseDown(TMouseButton::mbLeft, 0, x, y);
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(m_chart.ZoomState().Engaged);
    m_chart.MouseUp(TMouseButton::mbLeft, 0, x, y);
    // A button that starts no drag: the let-through click reaches the handler a second time.
    m_chart.MouseDown(TMouseButton::mbMiddle, 0, x, y);
    EXPECT_EQ(clicks, 4);
    EXPECT_FALSE(m_chart.ZoomState().Engaged);
    EXPECT_FALSE(m_chart.PanState().Engaged);
    // Over a part that answers a click the hand shows; elsewhere the control's own cursor.
    m_chart.MouseMove(0, x, y);
    EXPECT_EQ(m_chart.Cursor(), forms::crHandPoint);
    m_chart.MouseMove(0, 2, 298);
    EXPECT_EQ(m_chart.Cursor(), forms::crDefault);
}

TEST_F(ChartMouseTest, TheZoomFrameIsDrawnLiveAndErasedWithoutATrace) {
    const std::vector<uint32_t> before = m_chart.Surface().Pixels();
    const auto pixelBefore = [&](int32_t px, int32_t py) { return before[py * 400 + px]; };
    const int32_t x = m_plot.Left + 30, y = m_plot.Top + 30;
    m_chart.MouseDown(TMouseButton::mbLeft, 0, x, y);
    m_chart.MouseMove(0, x + 10, y + 8);
    m_chart.MouseMove(0, x + 12, y + 10);
    EXPECT_NE(m_chart.Surface().Pixels()[y * 400 + x + 6], pixelBefore(x + 6, y));  // top edge
    m_chart.MouseUp(TMouseButton::mbLeft, 0, x + 12, y + 10);  // too small to zoom
    EXPECT_EQ(m_chart.Surface().Pixels(), before);
}

TEST_F(ChartMouseTest, AnAnimatedZoomStepsAThirdOfTheWayAndEndsExactlyOnTheTarget) {
    TPaintRecorder recorder(m_chart);
    m_chart.SetView(&recorder);
    m_chart.SetAnimatedZoom(true);
    chart::TAxesRanges targets;
    for (chart::TSavedAxisRange& range : targets) {
        range.Minimum = 10;
        range.Maximum = 20;
    }
    targets[chart::zaBottom] = {100, 400};
    m_chart.ZoomAxesTo(targets);
    m_chart.SetView(nullptr);
    ASSERT_EQ(recorder.Ranges.size(), 7u);  // AnimatedZoomSteps 8: 7 steps, then the target
    EXPECT_DOUBLE_EQ(recorder.Ranges[0].first, 100.0 / 3);
    EXPECT_DOUBLE_EQ(recorder.Ranges[0].second, 1000 - 600.0 / 3);
    EXPECT_DOUBLE_EQ(recorder.Ranges[1].first, 100.0 / 3 + (100 - 100.0 / 3) / 3);
    EXPECT_DOUBLE_EQ(m_chart.BottomAxis().Minimum(), 100);
    EXPECT_DOUBLE_EQ(m_chart.BottomAxis().Maximum(), 400);
    EXPECT_DOUBLE_EQ(m_chart.LeftAxis().Maximum(), 20);
    EXPECT_TRUE(m_chart.ZoomActive());
}

}  // namespace
