// A drawn axis on a small chart, checked pixel by pixel: line, ticks, grid, minor ticks, labels
// and title, where the labels go for each setting, and the hit test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/component/Chart.h"
#include "chart/engine/Axis.h"
#include "chart/series/LineSeries.h"
#include "gfx/Colors.h"

namespace {

using chart::TAxisLabelStyle;
using chart::TChartAxis;

constexpr gfx::TColor kPaper = gfx::clWhite;
// The chart rectangle before the axis takes its room.
const gfx::TRect kPlot(30, 10, 150, 110);

// A flat white 180 x 120 chart with a bottom and a left axis, each with a series point so it
// shows value labels. The chart has painted once, so the axes draw straight onto its surface.
class AxisDrawTest : public ::testing::Test {
  protected:
    AxisDrawTest() : chart(new chart::TChart(&form)), bottom(chart), left(chart) {
        chart->SetBounds(0, 0, 180, 120);
        // Axes of the test's own: the chart neither lays them out nor draws them.
        chart->RemoveAxis(bottom);
        chart->RemoveAxis(left);
        chart->SetView3D(false);
        chart->SetColor(kPaper);
        chart->SetBevelOuter(forms::TPanelBevel::bvNone);
        chart->SetBevelInner(forms::TPanelBevel::bvNone);
        // Only the axes under test draw: the chart's own axes and back wall stay off the paper.
        chart->SetAxisVisible(false);
        chart->BackWall().Pen().SetVisible(false);
        chart->Legend().SetVisible(false);
        auto* series = new chart::TLineSeries(&form);
        series->SetParentChart(chart);
        series->AppendXY(0, 0);
        chart->Paint();
        bottom.SetHorizontal(true);
        left.SetDefaultTitleAngle(90);
        for (TChartAxis* axis : {&bottom, &left}) {
            axis->Axis().SetWidth(1);
            axis->Axis().SetColor(gfx::clBlack);
            axis->Grid().SetColor(gfx::clBlue);
        }
    }

    // Range, room, positions and drawing as a paint runs them; the axis line ends up on the
    // edge of the rectangle left after the axis' room.
    void Draw(TChartAxis& axis, double minimum, double maximum) {
        axis.SetAxisRange(minimum, maximum);
        axis.ComputeRange();
        gfx::TRect rect = kPlot;
        axis.ReserveSpace(rect, true);
        chart->SetPlotRect(rect);
        chart->NormalizePlotRect();
        axis.ComputePositions();
        axis.DrawAxis(true);
    }

    gfx::TColor At(int32_t x, int32_t y) const { return chart->Surface().Canvas().Pixel(x, y); }

    // Pixels that are not the paper within the rectangle (right and bottom exclusive).
    int32_t Ink(const gfx::TRect& rect) const {
        int32_t count = 0;
        for (int32_t y = rect.Top; y < rect.Bottom; ++y) {
            for (int32_t x = rect.Left; x < rect.Right; ++x) {
                count += At(x, y) != gfx::ColorToRGB(kPaper) ? 1 : 0;
            }
        }
        return count;
    }

    classes::TComponent form{nullptr};
    chart::TChart* chart;
    TChartAxis bottom;
    TChartAxis left;
};

TEST_F(AxisDrawTest, BottomAxisLineTicksGridAndLabels) {
    bottom.SetIncrement(50);
    Draw(bottom, 0, 100);
    const std::vector<int32_t> ticks{150, 90, 30};
    EXPECT_EQ(bottom.TickPositions(), ticks);
    const int32_t line = chart->PlotRect().Bottom;
    EXPECT_EQ(bottom.AxisLinePos(), line);
    // Pen 1 + tick 4 pixels between the line and the labels' band.
    EXPECT_EQ(bottom.LabelsPos(), line + 5);
    // The line on the rectangle's bottom edge, its last pixel left out.
    EXPECT_EQ(At(30, line), gfx::clBlack);
    EXPECT_EQ(At(149, line), gfx::clBlack);
    EXPECT_EQ(At(150, line), kPaper);
    EXPECT_EQ(At(29, line), kPaper);
    // Outer ticks of 4 pixels below the line, one pixel away from it.
    for (int32_t x : ticks) {
        EXPECT_EQ(At(x, line + 1), gfx::clGray) << x;
        EXPECT_EQ(At(x, line + 4), gfx::clGray) << x;
        EXPECT_EQ(At(x, line + 5), kPaper) << x;
        EXPECT_EQ(At(x + 1, line + 2), kPaper) << x;
    }
    // Dotted grid lines across the chart rectangle, none between them.
    EXPECT_GT(Ink({90, 10, 91, line}), 20);
    EXPECT_EQ(Ink({91, 10, 150, line}), 0);
    EXPECT_EQ(Ink({31, 10, 90, line}), 0);
    // Labels under the ticks: "50" centred on its tick, nothing between the labels.
    const int32_t labelsTop = bottom.LabelsPos();
    EXPECT_GT(Ink({80, labelsTop, 90, 120}), 0);
    EXPECT_GT(Ink({90, labelsTop, 100, 120}), 0);
    EXPECT_EQ(Ink({105, labelsTop, 135, 120}), 0);
    EXPECT_EQ(Ink({0, line + 5, 180, labelsTop}), 0);
}

TEST_F(AxisDrawTest, KeyingLevelAxisLabelsOneAndZero) {
    Draw(left, -0.1, 1.2);
    const int32_t one = left.ValueToPos(1);
    const int32_t zero = left.ValueToPos(0);
    EXPECT_EQ(left.TickPositions(), (std::vector<int32_t>{one, zero}));
    // Line on the left edge; ticks to its left; labels right-aligned at LabelsPos, centred on
    // their value.
    const int32_t line = chart->PlotRect().Left;
    EXPECT_EQ(left.LabelsPos(), line - 5);
    EXPECT_EQ(At(line, 50), gfx::clBlack);
    EXPECT_EQ(At(line - 1, zero), gfx::clGray);
    EXPECT_EQ(At(line - 4, zero), gfx::clGray);
    EXPECT_EQ(At(line - 5, zero), kPaper);
    EXPECT_GT(Ink({kPlot.Left, zero - 4, line - 5, zero + 4}), 0);
    EXPECT_GT(Ink({kPlot.Left, one - 4, line - 5, one + 4}), 0);
    EXPECT_EQ(Ink({kPlot.Left, zero + 8, line - 5, 110}), 0);
    // Grid rows at the two labels only.
    EXPECT_GT(Ink({line + 1, zero, 150, zero + 1}), 20);
    EXPECT_EQ(Ink({line + 1, one + 1, 150, zero}), 0);
}

TEST_F(AxisDrawTest, LabelPlacementFollowsItsSettings) {
    bottom.SetIncrement(10);
    bottom.SetRoundFirstLabel(false);
    bottom.SetLabelsSeparation(0);
    Draw(bottom, 3, 97);
    ASSERT_EQ(bottom.TickPositions().size(), 10u);
    EXPECT_EQ(bottom.TickPositions().front(), bottom.ValueToPos(97));
    EXPECT_EQ(bottom.TickPositions().back(), bottom.ValueToPos(7));

    // Labels at the axis ends are left out (with their ticks).
    bottom.SetRoundFirstLabel(true);
    bottom.SetLabelsOnAxis(false);
    Draw(bottom, 0, 100);
    EXPECT_EQ(bottom.TickPositions().front(), bottom.ValueToPos(90));
    EXPECT_EQ(bottom.TickPositions().back(), bottom.ValueToPos(10));

    // Without labels, ticks stand only when they do not wait for labels.
    bottom.SetLabelsOnAxis(true);
    bottom.SetLabels(false);
    Draw(bottom, 0, 100);
    EXPECT_TRUE(bottom.TickPositions().empty());
    bottom.SetTickOnLabelsOnly(false);
    Draw(bottom, 0, 100);
    EXPECT_EQ(bottom.TickPositions().size(), 11u);

    // The series' one point gives a zero range: one label at the centre.
    bottom.SetIncrement(0);
    bottom.SetAutomatic(true);
    bottom.ComputeRange();
    ASSERT_EQ(bottom.CurrentRange(), 0);
    bottom.DrawAxis(true);
    EXPECT_EQ(bottom.TickPositions(), (std::vector<int32_t>{90}));
    EXPECT_EQ(bottom.LabelText(0), "0");
}

TEST_F(AxisDrawTest, NoActiveSeriesDrawsOnlyTheLine) {
    chart->Series(0)->SetActive(false);
    Draw(bottom, 0, 100);
    EXPECT_EQ(bottom.EffectiveLabelStyle(), TAxisLabelStyle::talNone);
    EXPECT_TRUE(bottom.TickPositions().empty());
    const int32_t line = chart->PlotRect().Bottom;
    EXPECT_EQ(At(90, line), gfx::clBlack);
    EXPECT_EQ(Ink({0, 0, 180, line}), 0);
    EXPECT_EQ(Ink({0, line + 1, 180, 120}), 0);
}

TEST_F(AxisDrawTest, MinorTicksAndCentredGrid) {
    bottom.SetIncrement(50);
    bottom.SetGridCentered(true);
    Draw(bottom, 0, 100);
    ASSERT_EQ(bottom.TickPositions(), (std::vector<int32_t>{150, 90, 30}));
    // Minor ticks 2 pixels long at quarters between ticks 60 pixels apart, counted from the
    // later tick; beyond the outer ticks they would fall outside the axis.
    const int32_t line = chart->PlotRect().Bottom;
    for (int32_t x : {135, 120, 105, 75, 60, 45}) {
        EXPECT_EQ(At(x, line + 1), gfx::clGray) << x;
        EXPECT_EQ(At(x, line + 2), gfx::clGray) << x;
        EXPECT_EQ(At(x, line + 3), kPaper) << x;
    }
    EXPECT_EQ(Ink({20, line + 1, 29, line + 3}), 0);
    // Grid lines midway between the ticks, none on them.
    EXPECT_GT(Ink({120, 10, 121, line}), 20);
    EXPECT_GT(Ink({60, 10, 61, line}), 20);
    EXPECT_EQ(Ink({90, 10, 91, line}), 0);
}

TEST_F(AxisDrawTest, TextLabelsKeepClearOfEachOther) {
    auto* labelled = chart->Series(0);
    labelled->ClearPoints();
    labelled->AppendXY(0, 0, "first label");
    labelled->AppendXY(1, 0, "second label");
    labelled->AppendXY(100, 0, "third");
    // Every point counts, whatever the chart's own bottom axis shows.
    labelled->SetVisibleRangeEnabled(false);
    ASSERT_EQ(bottom.EffectiveLabelStyle(), TAxisLabelStyle::talText);
    Draw(bottom, 0, 100);
    // The second label, 1.2 pixels from the first, is skipped.
    EXPECT_EQ(bottom.TickPositions(), (std::vector<int32_t>{30, 150}));
    bottom.SetLabelsSeparation(0);
    Draw(bottom, 0, 100);
    EXPECT_EQ(bottom.TickPositions().size(), 3u);
}

TEST_F(AxisDrawTest, LeftTitleStandsRotatedInItsOwnBand) {
    left.Title().SetCaption("Level");
    EXPECT_EQ(left.Title().Angle(), 90);
    Draw(left, 0, 1);
    const int32_t titleEdge = left.TitlePos();
    EXPECT_GT(titleEdge, kPlot.Left);
    EXPECT_LT(titleEdge, left.LabelsPos());
    // Upright text left of its band's inner edge, centred on the axis (rows 10 .. 110).
    EXPECT_GT(Ink({kPlot.Left, 10, titleEdge, 110}), 20);
    EXPECT_EQ(Ink({kPlot.Left, 10, titleEdge, 40}), 0);
    EXPECT_EQ(Ink({kPlot.Left, 80, titleEdge, 110}), 0);
    EXPECT_EQ(Ink({0, 0, kPlot.Left, 120}), 0);
}

TEST_F(AxisDrawTest, HitTestCoversLineAndLabels) {
    Draw(bottom, 0, 100);
    const int32_t line = bottom.AxisLinePos();
    // From 3 pixels above the line to the labels' inner edge, along the axis' extent.
    EXPECT_TRUE(bottom.AxisClicked(90, line - 3));
    EXPECT_FALSE(bottom.AxisClicked(90, line - 4));
    EXPECT_TRUE(bottom.AxisClicked(30, bottom.LabelsPos() - 1));
    EXPECT_FALSE(bottom.AxisClicked(30, bottom.LabelsPos()));
    EXPECT_FALSE(bottom.AxisClicked(150, line));
    bottom.SetVisible(false);
    EXPECT_FALSE(bottom.AxisClicked(90, line));
}

}  // namespace
