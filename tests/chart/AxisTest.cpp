// The axis' scaling: automatic and fixed ranges (with paging), the label increment, the pixel
// extent, the linear, logarithmic and depth mappings, label texts, the room an axis reserves
// and the setters' checks.
#include "base/Conversions.h"
#include "chart/engine/Axis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "base/Exceptions.h"
#include "chart/component/Chart.h"
#include "chart/messages/ChartMessages.h"
#include "chart/panel/ChartProcs.h"
#include "chart/panel/DateSteps.h"
#include "chart/series/LineSeries.h"

namespace {

using chart::AxisException;
using chart::ChartException;
using chart::TAxisChartHooks;
using chart::TAxisLabelStyle;
using chart::TChart;
using chart::TChartAxis;
using chart::TLineSeries;

// The keying chart's window: 768 x 249 pixels, whose chart rectangle before the axes take
// their room is (23, 10, 745, 239).
const gfx::TRect kKeyingPlot(23, 10, 745, 239);

// A chart with one line series and a bottom and a left axis of its own, as the chart creates
// them.
class AxisTest : public ::testing::Test {
  protected:
    AxisTest()
        : chart(new TChart(&form)), series(new TLineSeries(&form)), bottom(chart), left(chart) {
        chart->SetBounds(0, 0, 768, 249);
        series->SetParentChart(chart);
        // Axes of the test's own: the chart neither lays them out nor draws them.
        chart->RemoveAxis(bottom);
        chart->RemoveAxis(left);
        bottom.SetHorizontal(true);
        left.SetDefaultTitleAngle(90);
    }

    // The keying program's points: the three fixed points, then a square wave of key
    // transitions ending at lastTime milliseconds.
    void AddKeyingPoints(double lastTime) {
        series->AppendXY(0, 1.2);
        series->AppendXY(0, -0.1);
        series->AppendXY(0, 0);
        const double edges[] = {120, 180, 540, 600, lastTime};
        double level = 0;
        for (double t : edges) {
            series->AppendXY(t, level);
            level = 1 - level;
            series->AppendXY(t, level);
        }
    }

    // Lays the axis out on the keying chart's rectangle and draws it; the ticks tell where
    // the labels went.
    void DrawOnKeyingPlot(TChartAxis& axis) {
        chart->Paint();
        axis.ComputeRange();
        gfx::TRect rect = kKeyingPlot;
        axis.ReserveSpace(rect, true);
        SetPlot(rect);
        axis.ComputePositions();
        axis.DrawAxis(true);
    }

    void SetPlot(const gfx::TRect& rect) {
        chart->SetPlotRect(rect);
        chart->NormalizePlotRect();
    }

    classes::TComponent form{nullptr};
    TChart* chart;
    TLineSeries* series;
    TChartAxis bottom;
    TChartAxis left;
};

TEST_F(AxisTest, KeyingChartRangesIncrementsRoomAndPixels) {
    AddKeyingPoints(4730);
    bottom.ComputeRange();
    left.ComputeRange();
    EXPECT_EQ(bottom.CurrentMinimum(), 0);
    EXPECT_EQ(bottom.CurrentMaximum(), 4730);
    EXPECT_DOUBLE_EQ(left.CurrentMinimum(), -0.1);
    EXPECT_DOUBLE_EQ(left.CurrentMaximum(), 1.2);
    // The automatic values replace the published ones.
    EXPECT_EQ(bottom.Maximum(), 4730);
    EXPECT_DOUBLE_EQ(left.Minimum(), -0.1);

    // Ticks (axis pen 2 + tick 4 pixels), then labels, outward from the plotting area. The
    // labels' room uses the axis length of the previous paint: the first layout, with no
    // length yet, measures the range's own ends, the next one the rounded labels.
    chart->ApplyFont(left.LabelsFont());
    const int32_t fontHeight = chart->Canvas().TextLineHeight();
    const int32_t blank = chart->Canvas().TextWidthOf(" ");
    const int32_t firstWidth = chart->Canvas().TextWidthOf("-0.1") + blank;
    const int32_t labelsWidth = chart->Canvas().TextWidthOf("1") + blank;
    gfx::TRect rect = kKeyingPlot;
    for (int32_t paint = 0; paint < 2; ++paint) {
        rect = kKeyingPlot;
        bottom.ReserveSpace(rect, true);
        left.ReserveSpace(rect, true);
        const int32_t width = paint == 0 ? firstWidth : labelsWidth;
        EXPECT_EQ(rect.Left, 23 + width + 6) << "paint " << paint;
        EXPECT_EQ(left.LabelsPos(), 23 + width) << "paint " << paint;
        EXPECT_EQ(rect.Bottom, 239 - fontHeight - 6);
        EXPECT_EQ(bottom.LabelsPos(), 239 - fontHeight);
        SetPlot(rect);
        bottom.ComputePositions();
        left.ComputePositions();
    }
    EXPECT_GT(fontHeight, 8);

    SetPlot(rect);
    bottom.ComputePositions();
    left.ComputePositions();
    EXPECT_EQ(bottom.StartPixel(), rect.Left);
    EXPECT_EQ(bottom.EndPixel(), 745);
    EXPECT_EQ(left.StartPixel(), 10);
    EXPECT_EQ(left.EndPixel(), rect.Bottom);
    // As many labels as "4,730" and a tenth of its width fit along the axis; the step is the
    // first of 1, 2, 5, 10, ... that does not give more.
    chart->ApplyFont(bottom.LabelsFont());
    const int32_t labelWidth = chart->Canvas().TextWidthOf("4,730");
    const double count =
        std::nearbyint(bottom.AxisLength() / (labelWidth + std::nearbyint(labelWidth * 0.1)));
    const double increment = bottom.ComputeIncrement();
    EXPECT_LE(std::nearbyint(4730 / increment), count);
    EXPECT_GT(std::nearbyint(4730 / (increment == 500 ? 200 : increment / 2)), count);
    EXPECT_TRUE(increment == 200 || increment == 500) << increment;
    // The level axis has room for many labels but never gets a step below 1.
    EXPECT_EQ(left.ComputeIncrement(), 1);

    EXPECT_EQ(bottom.ValueToPos(0), rect.Left);
    EXPECT_EQ(bottom.ValueToPos(4730), 745);
    EXPECT_EQ(bottom.ValueToPos(2365), rect.Left + std::lrint((745 - rect.Left) / 2.0));
    EXPECT_EQ(left.ValueToPos(1.2), 10);
    EXPECT_EQ(left.ValueToPos(-0.1), rect.Bottom);
    const double length = rect.Bottom - 10;
    EXPECT_EQ(left.ValueToPos(0), rect.Bottom - std::lrint(0.1 * length / 1.3));
    EXPECT_EQ(left.ValueToPos(1), rect.Bottom - std::lrint(1.1 * length / 1.3));
    // Back from pixels: the axis ends give the range ends.
    EXPECT_DOUBLE_EQ(bottom.PosToValue(745), 4730);
    EXPECT_DOUBLE_EQ(left.PosToValue(10), 1.2);
}

TEST_F(AxisTest, IncrementSearchOnlyGrowsTheStep) {
    bottom.SetPixelExtent(0, 700);
    bottom.SetAxisRange(0, 5000);
    bottom.ComputeRange();
    // 200 would give 25 labels; 500 gives 10.
    EXPECT_EQ(bottom.IncrementForCount(21), 500);
    EXPECT_EQ(bottom.IncrementForCount(25), 200);
    EXPECT_EQ(bottom.IncrementForCount(0), 1e-12);

    bottom.SetAxisRange(0, 50);
    bottom.ComputeRange();
    bottom.SetIncrement(100);
    EXPECT_EQ(bottom.IncrementForCount(10), 100);
    bottom.SetIncrement(0);
    EXPECT_EQ(bottom.IncrementForCount(10), 5);
    // Without separation the starting step stands whatever the count.
    bottom.SetLabelsSeparation(0);
    EXPECT_EQ(bottom.IncrementForCount(1), 1);
    bottom.SetAxisRange(0, 0.5);
    bottom.ComputeRange();
    EXPECT_EQ(bottom.IncrementForCount(1), 1e-12);
    bottom.SetLabelsSeparation(10);
    EXPECT_DOUBLE_EQ(bottom.IncrementForCount(5), 0.1);
}

TEST_F(AxisTest, NoSeriesOrFlatSeriesMapsEverythingToTheCentre) {
    bottom.SetPixelExtent(100, 301);
    bottom.ComputeRange();
    EXPECT_EQ(bottom.CurrentMinimum(), 0);
    EXPECT_EQ(bottom.CurrentMaximum(), 0);
    EXPECT_EQ(bottom.ValueToPos(0), 200);
    EXPECT_EQ(bottom.ValueToPos(1e300), 200);

    series->AppendXY(7, 3);
    series->AppendXY(7, 3);
    left.SetPixelExtent(10, 20);
    left.ComputeRange();
    EXPECT_EQ(left.CurrentRange(), 0);
    EXPECT_EQ(left.ValueToPos(3), 15);
    EXPECT_EQ(left.ComputeIncrement(), 1e-12);
}

TEST_F(AxisTest, UnmappableValuesGoToTheCentre) {
    bottom.SetPixelExtent(0, 1000);
    bottom.SetAxisRange(0, 1e-9);
    bottom.ComputeRange();
    EXPECT_EQ(bottom.ValueToPos(1e9), 500);
    EXPECT_EQ(bottom.ValueToPos(std::numeric_limits<double>::quiet_NaN()), 500);
    EXPECT_EQ(bottom.ValueToPos(-std::numeric_limits<double>::infinity()), 500);
    // A zero-length axis turns every pixel into 0.
    bottom.SetPixelExtent(40, 40);
    EXPECT_EQ(bottom.PosToValue(40), 0);
    EXPECT_EQ(bottom.PosToValue(-3), 0);
}

TEST_F(AxisTest, InvertedAxesRunTheOtherWay) {
    left.SetAxisRange(0, 100);
    left.ComputeRange();
    left.SetPixelExtent(10, 110);
    EXPECT_EQ(left.ValueToPos(0), 110);
    EXPECT_EQ(left.ValueToPos(25), 85);
    left.SetInverted(true);
    EXPECT_EQ(left.ValueToPos(0), 10);
    EXPECT_EQ(left.ValueToPos(25), 35);
    EXPECT_DOUBLE_EQ(left.PosToValue(35), 25);

    bottom.SetAxisRange(0, 100);
    bottom.ComputeRange();
    bottom.SetPixelExtent(10, 110);
    bottom.SetInverted(true);
    EXPECT_EQ(bottom.ValueToPos(0), 110);
    EXPECT_EQ(bottom.ValueToPos(25), 85);
    EXPECT_DOUBLE_EQ(bottom.PosToValue(85), 25);
}

TEST_F(AxisTest, LogarithmicMappingAndItsInverse) {
    series->AppendXY(1, 1);
    series->AppendXY(1000, 1000);
    bottom.SetLogarithmic(true);
    left.SetLogarithmic(true);
    bottom.ComputeRange();
    left.ComputeRange();
    bottom.SetPixelExtent(0, 300);
    left.SetPixelExtent(0, 300);
    EXPECT_EQ(bottom.ValueToPos(10), 100);
    EXPECT_EQ(bottom.ValueToPos(100), 200);
    EXPECT_EQ(left.ValueToPos(10), 200);
    EXPECT_NEAR(bottom.PosToValue(200), 100, 1e-9);
    EXPECT_NEAR(left.PosToValue(200), 10, 1e-9);
    EXPECT_EQ(bottom.PosToValue(0), 1);
    EXPECT_EQ(left.PosToValue(0), 1000);
    // Values at or below zero stand at the low end.
    EXPECT_EQ(bottom.ValueToPos(0), 0);
    EXPECT_EQ(left.ValueToPos(-5), 300);
    bottom.SetInverted(true);
    left.SetInverted(true);
    EXPECT_EQ(bottom.ValueToPos(10), 200);
    EXPECT_EQ(left.ValueToPos(10), 100);
    EXPECT_EQ(bottom.ValueToPos(0), 300);
    EXPECT_EQ(left.ValueToPos(0), 0);
    EXPECT_NEAR(bottom.PosToValue(200), 10, 1e-9);
}

TEST_F(AxisTest, LogarithmicSwitchRefusesNegativeAndDateTimeRanges) {
    series->AppendXY(-1, 5);
    try {
        bottom.SetLogarithmic(true);
        FAIL() << "no exception";
    } catch (const AxisException& e) {
        EXPECT_STREQ(e.what(), "Logarithmic Axis Min and Max values should be >= 0");
    }
    EXPECT_FALSE(bottom.Logarithmic());
    series->XValues().SetDateTime(true);
    try {
        bottom.SetLogarithmic(true);
        FAIL() << "no exception";
    } catch (const AxisException& e) {
        EXPECT_STREQ(e.what(), "DateTime Axis cannot be Logarithmic");
    }
    EXPECT_NO_THROW(left.SetLogarithmic(true));
}

TEST_F(AxisTest, DepthMappingIsAnOffsetIntoTheDepth) {
    chart::TChartDepthAxis depth(chart);
    depth.SetIsZAxis(true);
    depth.SetOtherSide(true);
    chart->SetDepthExtent(30);
    depth.ComputeRange();
    // No series has values of its own in depth: the range covers the one slot.
    EXPECT_EQ(depth.CurrentMinimum(), -0.5);
    EXPECT_EQ(depth.CurrentMaximum(), 0.5);
    EXPECT_EQ(depth.ValueToPos(-0.5), 0);
    EXPECT_EQ(depth.ValueToPos(0), 15);
    EXPECT_EQ(depth.ValueToPos(0.5), 30);
    depth.SetInverted(true);
    EXPECT_EQ(depth.ValueToPos(0.5), 0);
}

TEST_F(AxisTest, DepthAxisNamesTheSeriesInThe3DView) {
    chart->SetView3D(true);
    chart->Paint();
    chart::TChartDepthAxis depth(chart);
    depth.SetIsZAxis(true);
    depth.SetOtherSide(true);
    series->AppendXY(0, 0);
    std::vector<std::string> texts;
    TAxisChartHooks hooks;
    // Value texts (index -1) are measured too; the series names come with their index.
    hooks.OnGetAxisLabel = [&](chart::TCustomChartAxis&, chart::TChartSeries*, int32_t index,
                               std::string& text) {
        if (index >= 0) {
            texts.push_back(text);
        }
    };
    depth.SetChartHooks(&hooks);
    chart->SetDepthExtent(20);
    depth.ComputeRange();
    gfx::TRect rect = kKeyingPlot;
    depth.ReserveSpace(rect, true);
    EXPECT_EQ(depth.TitlePos(), kKeyingPlot.Right);
    SetPlot(rect);
    depth.ComputePositions();
    depth.SetMinorGrid(depth.Grid());
    depth.MinorGrid().SetVisible(true);
    depth.DrawAxis(true);
    // One slot: one label halfway into the depth, named after the untitled, unnamed series.
    EXPECT_EQ(depth.TickPositions(), (std::vector<int32_t>{10}));
    EXPECT_EQ(texts, (std::vector<std::string>{"Series 0"}));
}

TEST_F(AxisTest, PagingTakesThePagesPointsAndCanKeepTheFullPageScale) {
    for (int32_t i = 0; i < 25; ++i) {
        series->AppendXY(i * 2.0, i);
    }
    TAxisChartHooks hooks;
    hooks.MaxPointsPerPage = 10;
    hooks.Page = 3;
    bottom.SetChartHooks(&hooks);
    left.SetChartHooks(&hooks);
    bottom.ComputeRange();
    EXPECT_EQ(bottom.CurrentMinimum(), 40);
    EXPECT_EQ(bottom.CurrentMaximum(), 48);
    hooks.ScaleLastPage = false;
    bottom.ComputeRange();
    EXPECT_EQ(bottom.CurrentMaximum(), 40 + 8.0 * 10 / 5);
    // A page beyond the last shows the last full page; the dependent axis is not paged.
    hooks.Page = 9;
    bottom.ComputeRange();
    EXPECT_EQ(bottom.CurrentMinimum(), 20);
    left.ComputeRange();
    EXPECT_EQ(left.CurrentMinimum(), 0);
    EXPECT_EQ(left.CurrentMaximum(), 24);
}

TEST_F(AxisTest, RangeComesFromActiveBoundSeriesOnly) {
    auto* other = new TLineSeries(&form);
    other->SetParentChart(chart);
    series->AppendXY(0, 1);
    other->AppendXY(-50, 100);
    TChartAxis right(chart);
    chart->RemoveAxis(right);
    right.SetOtherSide(true);
    other->SetVertAxis(chart::TVertAxis::aRightAxis);
    left.ComputeRange();
    right.ComputeRange();
    EXPECT_EQ(left.CurrentMaximum(), 1);
    EXPECT_EQ(right.CurrentMaximum(), 100);
    bottom.ComputeRange();
    EXPECT_EQ(bottom.CurrentMinimum(), -50);
    other->SetActive(false);
    bottom.ComputeRange();
    EXPECT_EQ(bottom.CurrentMinimum(), 0);
    // With no active series on it, an axis still scales to its inactive series.
    right.ComputeRange();
    EXPECT_EQ(right.CurrentMaximum(), 100);
}

TEST_F(AxisTest, FixedRangesAndAutomaticFlags) {
    series->AppendXY(0, 10);
    left.SetMaximum(50);
    left.ComputeRange();
    // Minimum and Maximum alone do not stop automatic scaling.
    EXPECT_EQ(left.CurrentMaximum(), 10);
    left.SetAxisRange(5, 5);
    EXPECT_FALSE(left.Automatic());
    EXPECT_FALSE(left.AutomaticMinimum());
    left.ComputeRange();
    EXPECT_EQ(left.CurrentMinimum(), 5);
    EXPECT_EQ(left.CurrentMaximum(), 5 + 1e-10);
    left.SetAxisRange(8, 2);
    EXPECT_EQ(left.Minimum(), 2);
    EXPECT_EQ(left.Maximum(), 8);

    left.SetAutomaticMinimum(true);
    EXPECT_FALSE(left.Automatic());
    left.SetAutomaticMaximum(true);
    EXPECT_TRUE(left.Automatic());
    left.SetAutomatic(false);
    EXPECT_FALSE(left.AutomaticMinimum());
    EXPECT_FALSE(left.AutomaticMaximum());

    // Scrolling with limits moves only towards series values beyond the range.
    left.SetAxisRange(0, 5);
    left.ShiftAxisRange(-1, true);
    EXPECT_EQ(left.Minimum(), 0);
    left.ShiftAxisRange(2, true);
    EXPECT_EQ(left.Minimum(), 2);
    EXPECT_EQ(left.Maximum(), 7);
    left.ShiftAxisRange(-4, false);
    EXPECT_EQ(left.Minimum(), -2);
}

TEST_F(AxisTest, SettersRefuseBadValuesAndKeepTheOldOne) {
    bottom.SetAxisRange(0, 10);
    const auto expectRefused = [](auto&& set, const char* message) {
        try {
            set();
            ADD_FAILURE() << "no exception for " << message;
        } catch (const AxisException& e) {
            EXPECT_STREQ(e.what(), message);
        }
    };
    expectRefused([&] { bottom.SetMinimum(11); }, "Axis Minimum Value must be <= Maximum");
    expectRefused([&] { bottom.SetMaximum(-1); }, "Axis Maximum Value must be >= Minimum");
    expectRefused([&] { bottom.SetIncrement(-0.5); }, "Axis increment must be >= 0");
    expectRefused([&] { bottom.SetLogarithmicBase(1); }, "Axis Logarithmic Base should be >= 2");
    expectRefused([&] { bottom.SetLabelsSeparation(-1); },
                  "Labels Separation % must be greater than 0");
    EXPECT_EQ(bottom.Minimum(), 0);
    EXPECT_EQ(bottom.Maximum(), 10);
    EXPECT_EQ(bottom.Increment(), 0);
    EXPECT_EQ(bottom.LogarithmicBase(), 10);
    EXPECT_EQ(bottom.LabelsSeparation(), 10);
    EXPECT_NO_THROW(bottom.SetLabelsSeparation(0));
    EXPECT_THROW(bottom.SetLabelsAngle(360), ChartException);
    EXPECT_EQ(bottom.LabelsAngle(), 0);
    EXPECT_THROW(bottom.Title().SetAngle(-1), ChartException);

    // Design data may give Minimum before Maximum.
    chart->BeginLoading();
    EXPECT_NO_THROW(bottom.SetMinimum(20));
    EXPECT_EQ(bottom.Minimum(), 20);
}

TEST_F(AxisTest, SettersRepaintOnlyOnChange) {
    const int64_t before = chart->RepaintRequestCount();
    left.SetTickLength(4);
    left.SetLabels(true);
    EXPECT_EQ(chart->RepaintRequestCount(), before);
    left.SetTickLength(6);
    left.Grid().SetColor(gfx::clRed);
    EXPECT_EQ(chart->RepaintRequestCount(), before + 2);
}

TEST_F(AxisTest, MarginsWidenTheRange) {
    bottom.SetAxisRange(0, 100);
    bottom.ComputeRange();
    SetPlot(gfx::TRect(0, 0, 120, 50));
    bottom.ComputePositions();
    bottom.ExpandRangeForMargins(10, 0, 10, 0);
    EXPECT_DOUBLE_EQ(bottom.CurrentMinimum(), -10);
    EXPECT_DOUBLE_EQ(bottom.CurrentMaximum(), 110);
    EXPECT_EQ(bottom.ValueToPos(0), 10);
    EXPECT_EQ(bottom.ValueToPos(100), 110);
    // Vertical: the top pixel gives the maximum.
    left.SetAxisRange(0, 30);
    left.ComputeRange();
    left.ComputePositions();
    left.ExpandRangeForMargins(0, 10, 0, 10);
    EXPECT_DOUBLE_EQ(left.CurrentMinimum(), -10);
    EXPECT_DOUBLE_EQ(left.CurrentMaximum(), 40);
    EXPECT_EQ(left.ValueToPos(30), 10);
    // Margins wider than the axis leave the range alone instead of collapsing it to 0 .. 0.
    SetPlot(gfx::TRect(0, 0, 120, 12));
    left.ComputeRange();
    left.ComputePositions();
    left.ExpandRangeForMargins(0, 8, 0, 8);
    EXPECT_EQ(left.CurrentMinimum(), 0);
    EXPECT_EQ(left.CurrentMaximum(), 30);
}

TEST_F(AxisTest, PositionsAlongAndAcrossTheRectangle) {
    SetPlot(gfx::TRect(20, 10, 220, 110));
    bottom.SetStartPosition(25);
    bottom.SetEndPosition(75);
    bottom.ComputePositions();
    EXPECT_EQ(bottom.StartPixel(), 70);
    EXPECT_EQ(bottom.EndPixel(), 170);
    EXPECT_EQ(bottom.CenterPixel(), 120);
    const gfx::TRect rect(20, 10, 220, 110);
    bottom.SetPositionPercent(50);
    EXPECT_EQ(bottom.ApplyPositionPercent(bottom.EdgeOfRectangle(rect), rect), 60);
    left.SetPositionPercent(10);
    EXPECT_EQ(left.ApplyPositionPercent(left.EdgeOfRectangle(rect), rect), 40);
    TChartAxis top(chart);
    top.SetHorizontal(true);
    top.SetOtherSide(true);
    top.SetPositionPercent(10);
    EXPECT_EQ(top.ApplyPositionPercent(top.EdgeOfRectangle(rect), rect), 20);
}

TEST_F(AxisTest, ValueLabelTexts) {
    EXPECT_EQ(bottom.LabelText(1000), "1,000");
    EXPECT_EQ(bottom.LabelText(0.5), "0.5");
    EXPECT_EQ(bottom.LabelText(-0.1), "-0.1");
    EXPECT_EQ(bottom.LabelText(1234.5678), "1,234.568");
    EXPECT_EQ(bottom.LabelText(0.0001), "0");
    TAxisChartHooks hooks;
    hooks.OnGetAxisLabel = [](chart::TCustomChartAxis&, chart::TChartSeries* s, int32_t index,
                              std::string& text) {
        EXPECT_EQ(s, nullptr);
        EXPECT_EQ(index, -1);
        text = "at " + text + " ms";
    };
    bottom.SetChartHooks(&hooks);
    bottom.SetLabelsMultiLine(true);
    EXPECT_EQ(bottom.LabelText(500), "at\r500\rms");
}

// Label texts are kept between paints; a change of the values format or of the locale's
// separators shows at once, a value formatted before keeps its text, and -0 stays apart from 0.
TEST_F(AxisTest, KeptLabelTextsFollowFormatAndSeparatorChanges) {
    struct TRestoreSeparators {
        base::TFormatSettings Saved = base::FormatSettings();
        ~TRestoreSeparators() { base::FormatSettings() = Saved; }
    } restore;
    EXPECT_EQ(bottom.LabelText(1234.5678), "1,234.568");
    bottom.SetAxisValuesFormat("0.00");
    EXPECT_EQ(bottom.LabelText(1234.5678), "1234.57");
    bottom.SetAxisValuesFormat("#,##0.###");
    EXPECT_EQ(bottom.LabelText(1234.5678), "1,234.568");
    base::FormatSettings().DecimalSeparator = ';';
    EXPECT_EQ(bottom.LabelText(1234.5678), "1,234;568");
    base::FormatSettings().DecimalSeparator = ',';
    base::FormatSettings().ThousandSeparator = '.';
    EXPECT_EQ(bottom.LabelText(1234.5678), "1.234,568");
    base::FormatSettings().ThousandSeparator = ' ';
    EXPECT_EQ(bottom.LabelText(1234.5678), "1 234,568");
    base::FormatSettings() = restore.Saved;
    bottom.SetAxisValuesFormat("0.0;(0.0);zero");
    EXPECT_EQ(bottom.LabelText(0.0), "zero");
    EXPECT_EQ(bottom.LabelText(-2.5), "(2.5)");
    EXPECT_EQ(bottom.LabelText(-0.0), base::FormatFloat("0.0;(0.0);zero", -0.0));
    // Many more values than an axis shows, then the first ones again.
    bottom.SetAxisValuesFormat("0");
    for (int v = 0; v < 300; ++v) {
        ASSERT_EQ(bottom.LabelText(v), std::to_string(v)) << v;
    }
    for (int v = 0; v < 300; v += 7) {
        ASSERT_EQ(bottom.LabelText(v), std::to_string(v)) << v;
    }
}

TEST_F(AxisTest, DateTimeLabelTexts) {
    series->XValues().SetDateTime(true);
    const double day = chart::EncodeDate(2024, 3, 5);
    series->AppendXY(day, 0);
    series->AppendXY(day + 40, 1);
    EXPECT_TRUE(bottom.IsDateTimeAxis());
    EXPECT_FALSE(left.IsDateTimeAxis());
    bottom.ComputeRange();
    bottom.SetPixelExtent(0, 500);
    bottom.ComputeIncrement();
    // A range of many days shows dates, a short one times of day.
    EXPECT_EQ(bottom.LabelText(day), "3/5/2024");
    EXPECT_EQ(bottom.LabelText(-1), "");
    EXPECT_EQ(bottom.LabelText(1e300), "");
    EXPECT_EQ(bottom.LabelText(std::numeric_limits<double>::quiet_NaN()), "");
    bottom.SetAxisRange(day, day + 0.5);
    bottom.ComputeRange();
    EXPECT_EQ(bottom.LabelText(day + 13.5 / 24), "13:30");
    bottom.SetDateTimeFormat("dd.mm.yy hh:nn:ss");
    EXPECT_EQ(bottom.LabelText(day + 1 + (3600 * 7 + 62) / 86400.0), "06.03.24 07:01:02");
    // Steps of whole calendar units.
    EXPECT_EQ(bottom.IncrementForCount(0), chart::DateStepDays()[0]);
    bottom.SetAxisRange(day, day + 1);
    bottom.ComputeRange();
    EXPECT_DOUBLE_EQ(bottom.IncrementForCount(5), 6.0 / 24);
}

TEST_F(AxisTest, DateTimeLabelsFallOnWholeMonths) {
    series->XValues().SetDateTime(true);
    series->AppendXY(chart::EncodeDate(2024, 1, 10), 0);
    series->AppendXY(chart::EncodeDate(2024, 6, 20), 1);
    bottom.SetIncrement(30);
    DrawOnKeyingPlot(bottom);
    std::vector<int32_t> expected;
    for (int32_t month = 6; month >= 2; --month) {
        expected.push_back(bottom.ValueToPos(chart::EncodeDate(2024, month, 1)));
    }
    EXPECT_EQ(bottom.TickPositions(), expected);
    // Beyond the calendar there are no months to step through.
    series->AppendXY(1e300, 2);
    DrawOnKeyingPlot(bottom);
    EXPECT_TRUE(bottom.TickPositions().empty());
}

TEST_F(AxisTest, LogarithmicLabelsArePowersOfTheBase) {
    series->AppendXY(0, 1);
    series->AppendXY(1, 1000);
    left.SetLogarithmic(true);
    DrawOnKeyingPlot(left);
    EXPECT_EQ(left.TickPositions(),
              (std::vector<int32_t>{left.ValueToPos(1), left.ValueToPos(10), left.ValueToPos(100),
                                    left.ValueToPos(1000)}));
    // A range from 0 starts its labels at 0.1 instead.
    series->AppendXY(2, 0);
    DrawOnKeyingPlot(left);
    EXPECT_EQ(left.CurrentMinimum(), 0.1);
    ASSERT_EQ(left.TickPositions().size(), 5u);
    EXPECT_EQ(left.TickPositions().front(), left.EndPixel());
}

TEST_F(AxisTest, ChartHookPlacesLabelsUntilItStops) {
    series->AppendXY(0, 0);
    series->AppendXY(100, 1);
    TAxisChartHooks hooks;
    std::vector<double> given{0, 25, 75};
    hooks.OnGetNextAxisLabel = [&](chart::TCustomChartAxis&, int32_t index, double& value,
                                   bool& stop) {
        stop = index >= static_cast<int32_t>(given.size());
        if (!stop) {
            value = given[index];
        }
    };
    bottom.SetChartHooks(&hooks);
    DrawOnKeyingPlot(bottom);
    EXPECT_EQ(
        bottom.TickPositions(),
        (std::vector<int32_t>{bottom.ValueToPos(0), bottom.ValueToPos(25), bottom.ValueToPos(75)}));
    // A value outside the range ends the labels.
    given = {50, 500, 60};
    DrawOnKeyingPlot(bottom);
    EXPECT_EQ(bottom.TickPositions(), (std::vector<int32_t>{bottom.ValueToPos(50)}));
    // Stopping at once leaves the labels to the axis.
    given.clear();
    DrawOnKeyingPlot(bottom);
    EXPECT_EQ(bottom.TickPositions().front(), bottom.ValueToPos(100));
    EXPECT_EQ(bottom.TickPositions().back(), bottom.ValueToPos(0));
}

TEST_F(AxisTest, ChartHookThatClearsStopOnceKeepsBeingAsked) {
    // Stop is not set back before each call: a handler that clears it at the first label only
    // steps on until its value leaves the range (0, 20, ... 100, then 120 ends the loop).
    series->AppendXY(0, 0);
    series->AppendXY(100, 1);
    TAxisChartHooks hooks;
    std::vector<int32_t> indices;
    hooks.OnGetNextAxisLabel = [&](chart::TCustomChartAxis&, int32_t index, double& value,
                                   bool& stop) {
        indices.push_back(index);
        if (index == 0) {
            stop = false;
            value = 0;
        } else {
            value += 20;
        }
    };
    bottom.SetChartHooks(&hooks);
    DrawOnKeyingPlot(bottom);
    EXPECT_EQ(bottom.TickPositions(),
              (std::vector<int32_t>{bottom.ValueToPos(0), bottom.ValueToPos(20),
                                    bottom.ValueToPos(40), bottom.ValueToPos(60),
                                    bottom.ValueToPos(80), bottom.ValueToPos(100)}));
    EXPECT_EQ(indices, (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6}));
}

TEST_F(AxisTest, FlatSeriesAtALargeValueGetsOneLabel) {
    series->AppendXY(0, 1e15);
    series->AppendXY(1, 1e15);
    DrawOnKeyingPlot(left);
    EXPECT_EQ(left.TickPositions(), (std::vector<int32_t>{left.CenterPixel()}));
}

TEST_F(AxisTest, EffectiveLabelStyleFollowsTheSeries) {
    chart::TChartDepthAxis depth(chart);
    depth.SetIsZAxis(true);
    EXPECT_EQ(bottom.EffectiveLabelStyle(), TAxisLabelStyle::talValue);
    series->SetActive(false);
    EXPECT_EQ(bottom.EffectiveLabelStyle(), TAxisLabelStyle::talNone);
    series->SetActive(true);
    series->AppendXY(1, 2, "dit");
    EXPECT_EQ(bottom.EffectiveLabelStyle(), TAxisLabelStyle::talText);
    EXPECT_EQ(left.EffectiveLabelStyle(), TAxisLabelStyle::talValue);
    EXPECT_EQ(depth.EffectiveLabelStyle(), TAxisLabelStyle::talText);
    left.SetLabelStyle(TAxisLabelStyle::talMark);
    EXPECT_EQ(left.EffectiveLabelStyle(), TAxisLabelStyle::talMark);
}

TEST_F(AxisTest, AssignCopiesSettingsByValue) {
    left.SetAxisRange(1, 2);
    left.SetLabelsAngle(90);
    left.Title().SetCaption("Level");
    left.Grid().SetColor(gfx::clRed);
    left.SetStartPosition(10);
    TChartAxis copy(chart);
    copy.Assign(left);
    EXPECT_EQ(copy.Maximum(), 2);
    EXPECT_FALSE(copy.Automatic());
    EXPECT_EQ(copy.LabelsAngle(), 90);
    EXPECT_EQ(copy.Title().Caption(), "Level");
    EXPECT_EQ(copy.Title().Angle(), 90);
    EXPECT_EQ(copy.Grid().Color(), gfx::clRed);
    EXPECT_EQ(copy.StartPosition(), 10);
    EXPECT_FALSE(copy.Horizontal());
    left.Grid().SetColor(gfx::clBlue);
    EXPECT_EQ(copy.Grid().Color(), gfx::clRed);
}

}  // namespace
