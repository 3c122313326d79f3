// The main window's chart painted through the chart panel's paint entry: background, bevels,
// the chart rectangle, and repaints served from the buffer until a series changes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/component/Chart.h"
#include "chart/series/LineSeries.h"

namespace {

TEST(ChartPaintTest, Chart1PaintsItsFrameAndServesRepaintsFromTheBuffer) {
    chart::TChart chart1(nullptr);
    chart1.SetBounds(10, 16, 768, 249);
    chart1.SetColor(16777088);
    chart1.SetView3D(false);
    auto* series = new chart::TLineSeries(&chart1);
    chart1.AddSeries(series);
    chart1.Paint();
    // The margins give (23, 10, 745, 239); the left and bottom axes then take their room.
    EXPECT_EQ(chart1.PlotRect().Top, 10);
    EXPECT_EQ(chart1.PlotRect().Right, 745);
    EXPECT_GT(chart1.PlotRect().Left, 23);
    EXPECT_LT(chart1.PlotRect().Bottom, 239);
    const gfx::TCanvas& window = chart1.Surface().Canvas();
    EXPECT_EQ(window.Pixel(0, 0), gfx::SysColor(20));  // raised bevel
    EXPECT_EQ(window.Pixel(767, 248), gfx::SysColor(16));
    EXPECT_EQ(window.Pixel(384, 124), gfx::ColorToRGB(16777088));
    EXPECT_FALSE(chart1.Canvas().BufferStale());

    series->AppendXY(1, 2);
    EXPECT_TRUE(chart1.RepaintPending());
    EXPECT_TRUE(chart1.Canvas().BufferStale());
    chart1.Paint();
    EXPECT_FALSE(chart1.Canvas().BufferStale());
    chart1.SetAutoRepaint(false);
    series->AppendXY(2, 3);
    EXPECT_FALSE(chart1.Canvas().BufferStale());
}

// A small chart with a line, painted with the given bottom axis range and values format.
struct TLabelledChart {
    explicit TLabelledChart(double minimum, double maximum, const std::string& format) {
        chart.SetBounds(0, 0, 300, 140);
        chart.SetView3D(false);
        auto* series = new chart::TLineSeries(&chart);
        chart.AddSeries(series);
        for (int i = 0; i <= 20; ++i) {
            series->AppendXY(i * 50, i % 3);
        }
        Set(minimum, maximum, format);
    }
    void Set(double minimum, double maximum, const std::string& format) {
        chart.BottomAxis().SetAxisRange(minimum, maximum);
        chart.BottomAxis().SetAxisValuesFormat(format);
    }
    const std::vector<uint32_t>& Paint() {
        chart.Paint();
        return chart.Surface().Pixels();
    }
    chart::TChart chart{nullptr};
};

// Labels kept from earlier paints never show through: a chart painted under other ranges and
// formats first paints what a chart painted once under the last ones does.
TEST(ChartPaintTest, LabelsAfterRangeAndFormatChangesAreThoseOfAFreshChart) {
    TLabelledChart changed(0, 1000, "#,##0.###");
    changed.Paint();
    struct TStep {
        double Minimum;
        double Maximum;
        const char* Format;
    };
    for (const TStep& step :
         {TStep{100, 600, "#,##0.###"}, TStep{100, 600, "0.00"}, TStep{0, 1000, "0.00"},
          TStep{-500, 1500, "#,##0.###"}, TStep{0, 1000, "#,##0.###"}}) {
        changed.Set(step.Minimum, step.Maximum, step.Format);
        TLabelledChart fresh(step.Minimum, step.Maximum, step.Format);
        EXPECT_TRUE(changed.Paint() == fresh.Paint())
            << step.Minimum << " .. " << step.Maximum << " as " << step.Format;
    }
}

}  // namespace
