// Series marks: the texts of all nine styles, the boxes, arrows and texts a paint draws at the
// points, clipping, the settings taking effect, and the axis labels made of mark texts.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "chart/component/Chart.h"
#include "chart/engine/Series.h"
#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"

namespace {

using chart::TSeriesMarksStyle;

constexpr gfx::TColor kBoxColor = 0x00FF00;    // green mark boxes
constexpr gfx::TColor kChartColor = 0xFFFFFF;  // white panel and back wall

// Width of a text in the marks' default font (Arial 8), measured on a canvas of its own.
int32_t DefaultFontWidth(const std::string& text) {
    gfx::TBitmap bitmap(10, 10);
    bitmap.Canvas().Font().SetName("Arial");
    bitmap.Canvas().Font().SetSize(8);
    return bitmap.Canvas().TextWidth(text);
}

int32_t DefaultFontHeight() {
    gfx::TBitmap bitmap(10, 10);
    bitmap.Canvas().Font().SetName("Arial");
    bitmap.Canvas().Font().SetSize(8);
    return bitmap.Canvas().TextHeight("W");
}

// A chart whose legend text of a point is known, so smsLegend can be checked.
class TLegendTextChart : public chart::TChart {
  public:
    TLegendTextChart() : TChart(nullptr) {}
    std::string LegendValueText(const chart::TChartSeries& series, int32_t index) const override {
        return series.Name() + " item " + std::to_string(index);
    }
};

// A series that lifts its mark boxes by the arrow length, as series kinds with arrows do.
class TLiftedMarksSeries : public chart::TChartSeries {
  public:
    using TChartSeries::TChartSeries;
    void DrawMark(int32_t index, const std::string& text,
                  chart::TSeriesMarkPosition& position) override {
        position.ArrowToY -= Marks().ArrowLength();
        position.Top -= Marks().ArrowLength();
        TChartSeries::DrawMark(index, text, position);
    }
};

// A flat chart 300 x 200 with fixed axes 0 .. 100 on both sides.
class MarksPaintTest : public ::testing::Test {
  protected:
    MarksPaintTest() : m_chart() {
        m_chart.SetBounds(0, 0, 300, 200);
        m_chart.SetView3D(false);
        m_chart.SetColor(kChartColor);
        m_chart.LeftAxis().SetAxisRange(0, 100);
        m_chart.BottomAxis().SetAxisRange(0, 100);
        m_chart.LeftAxis().Grid().SetVisible(false);
        m_chart.BottomAxis().Grid().SetVisible(false);
    }

    template <class S = chart::TChartSeries>
    S* AddSeries() {
        auto* series = new S(nullptr);
        m_chart.AddSeries(series);
        series->SetSeriesColor(gfx::clRed);
        series->Marks().SetVisible(true);
        series->Marks().SetBackColor(kBoxColor);
        return series;
    }

    gfx::TColorRef Pixel(int32_t x, int32_t y) const {
        return m_chart.Surface().Canvas().Pixel(x, y);
    }

    // Checks the one-pixel black frame of a box with top-left (left, top) and the size the
    // text needs: the last frame pixels inside, the first pixels outside.
    void ExpectBox(int32_t left, int32_t top, int32_t width, int32_t height,
                   const std::string& what) {
        const gfx::TColorRef black = gfx::ColorToRGB(gfx::clBlack);
        const gfx::TColorRef box = gfx::ColorToRGB(kBoxColor);
        EXPECT_EQ(Pixel(left, top), black) << what;
        EXPECT_EQ(Pixel(left + width - 1, top), black) << what;
        EXPECT_EQ(Pixel(left, top + height - 1), black) << what;
        EXPECT_EQ(Pixel(left + width - 1, top + height - 1), black) << what;
        EXPECT_EQ(Pixel(left + 1, top + 1), box) << what;
        EXPECT_EQ(Pixel(left + width - 2, top + height - 2), box) << what;
        EXPECT_NE(Pixel(left - 1, top), black) << what;
        EXPECT_NE(Pixel(left + width, top + 1), black) << what;
        EXPECT_NE(Pixel(left + 1, top - 1), black) << what;
        EXPECT_NE(Pixel(left + 1, top + height), black) << what;
    }

    TLegendTextChart m_chart;
};

TEST(SeriesMarkTextTest, EveryStyleGivesItsText) {
    TLegendTextChart chart;
    auto* series = new chart::TChartSeries(nullptr);
    series->SetName("Sales");
    chart.AddSeries(series);
    series->AppendXY(1000, 25, "a");
    series->AppendXY(2000, 75);
    struct TCase {
        TSeriesMarksStyle Style;
        const char* First;
        const char* Second;
    };
    // The total absolute value is 100, so the values are their own percentages.
    const std::vector<TCase> cases = {
        {TSeriesMarksStyle::smsValue, "25", "75"},
        {TSeriesMarksStyle::smsPercent, "25 %", "75 %"},
        {TSeriesMarksStyle::smsLabel, "a", "75"},
        {TSeriesMarksStyle::smsLabelPercent, "a 25 %", "75 75 %"},
        {TSeriesMarksStyle::smsLabelValue, "a 25", "75 75"},
        {TSeriesMarksStyle::smsLegend, "Sales item 0", "Sales item 1"},
        {TSeriesMarksStyle::smsPercentTotal, "25 % of 100", "75 % of 100"},
        {TSeriesMarksStyle::smsLabelPercentTotal, "a 25 % of 100", "75 75 % of 100"},
        {TSeriesMarksStyle::smsXValue, "1,000", "2,000"},
    };
    for (const TCase& c : cases) {
        series->Marks().SetStyle(c.Style);
        EXPECT_EQ(series->MarkText(0), c.First) << static_cast<int>(c.Style);
        EXPECT_EQ(series->MarkText(1), c.Second) << static_cast<int>(c.Style);
    }
    // The X value follows the horizontal axis' label format, also in the legend text.
    chart.BottomAxis().SetAxisValuesFormat("0.0");
    EXPECT_EQ(series->MarkText(0), "1000.0");
    EXPECT_EQ(series->LegendItemText(1, chart::TLegendTextStyle::ltsXValue), "2000.0");
    series->SetHorizAxis(chart::THorizAxis::aTopAxis);
    EXPECT_EQ(series->MarkText(0), "1,000");

    series->SetOnGetMarkText([](chart::TChartSeries&, int32_t index, std::string& text) {
        text = index == 0 ? std::string() : text + "!";
    });
    EXPECT_EQ(series->MarkText(0), "");
    EXPECT_EQ(series->MarkText(1), "2,000!");
}

TEST(SeriesMarkTextTest, WithoutAChartTheXValueTakesTheValueFormat) {
    chart::TChartSeries series(nullptr);
    series.AppendXY(1234.5, 1);
    series.SetValueFormat("0.00");
    series.Marks().SetStyle(TSeriesMarksStyle::smsXValue);
    EXPECT_EQ(series.MarkText(0), "1234.50");
    series.Marks().SetStyle(TSeriesMarksStyle::smsLegend);
    EXPECT_EQ(series.MarkText(0), "");
}

TEST_F(MarksPaintTest, BoxesStandCentredAboveTheirPointsForEveryStyle) {
    auto* series = AddSeries();
    series->SetName("S");
    series->AppendXY(20, 30, "a");
    series->AppendXY(60, 70);
    // Total absolute 100: the values are their own percentages.
    const std::vector<std::pair<TSeriesMarksStyle, std::vector<std::string>>> cases = {
        {TSeriesMarksStyle::smsValue, {"30", "70"}},
        {TSeriesMarksStyle::smsPercent, {"30 %", "70 %"}},
        {TSeriesMarksStyle::smsLabel, {"a", "70"}},
        {TSeriesMarksStyle::smsLabelPercent, {"a 30 %", "70 70 %"}},
        {TSeriesMarksStyle::smsLabelValue, {"a 30", "70 70"}},
        {TSeriesMarksStyle::smsLegend, {"S item 0", "S item 1"}},
        {TSeriesMarksStyle::smsPercentTotal, {"30 % of 100", "70 % of 100"}},
        {TSeriesMarksStyle::smsLabelPercentTotal, {"a 30 % of 100", "70 70 % of 100"}},
        {TSeriesMarksStyle::smsXValue, {"20", "60"}},
    };
    const int32_t height = DefaultFontHeight() + 2;  // one line and the frame above and below
    for (const auto& [style, texts] : cases) {
        series->Marks().SetStyle(style);
        m_chart.Paint();
        for (int32_t i = 0; i < 2; ++i) {
            const int32_t width = DefaultFontWidth(texts[i]) + DefaultFontWidth("W") + 2;
            const int32_t x = series->PointScreenX(i);
            const int32_t y = series->PointScreenY(i);
            const std::string what = texts[i];
            ExpectBox(x - width / 2, y - height, width, height, what);
            const chart::TSeriesMarkPosition& stored = series->Marks().Position(i);
            EXPECT_EQ(stored.Left, x - width / 2) << what;
            EXPECT_EQ(stored.Top, y - height) << what;
            EXPECT_EQ(stored.Width, width) << what;
            EXPECT_EQ(stored.Height, height) << what;
        }
    }
    // The points' pixels follow the fixed axes: 20 and 60 of 0 .. 100.
    const gfx::TRect& plot = m_chart.PlotRect();
    EXPECT_EQ(series->PointScreenX(0),
              plot.Left + static_cast<int32_t>(std::nearbyint((plot.Right - plot.Left) * 0.2)));
}

TEST_F(MarksPaintTest, TheTextIsDrawnInsideTheBoxInTheMarksFont) {
    auto* series = AddSeries();
    series->AppendXY(50, 50, "WWW");
    series->Marks().Font().SetColor(gfx::clBlue);
    m_chart.Paint();
    const chart::TSeriesMarkPosition& p = series->Marks().Position(0);
    int32_t blue = 0;
    int32_t blueOutside = 0;
    for (int32_t y = p.Top - 5; y < p.Top + p.Height + 5; ++y) {
        for (int32_t x = p.Left - 5; x < p.Left + p.Width + 5; ++x) {
            if (Pixel(x, y) == gfx::ColorToRGB(gfx::clBlue)) {
                const bool inside =
                    x > p.Left && x < p.Left + p.Width - 1 && y > p.Top && y < p.Top + p.Height - 1;
                (inside ? blue : blueOutside) += 1;
            }
        }
    }
    EXPECT_GT(blue, 20);
    EXPECT_EQ(blueOutside, 0);
}

TEST_F(MarksPaintTest, SettingsTakeEffect) {
    auto* series = AddSeries();
    series->AppendXY(50, 50, "mark");
    m_chart.Paint();
    const int32_t x = series->PointScreenX(0);
    const int32_t y = series->PointScreenY(0);
    const int32_t width = DefaultFontWidth("mark") + DefaultFontWidth("W") + 2;
    const int32_t height = DefaultFontHeight() + 2;
    const int32_t left = x - width / 2;
    const int32_t top = y - height;
    ExpectBox(left, top, width, height, "visible");

    series->Marks().SetBackColor(gfx::clYellow);
    m_chart.Paint();
    EXPECT_EQ(Pixel(left + 1, top + 1), gfx::ColorToRGB(gfx::clYellow));

    series->Marks().SetTransparent(true);
    m_chart.Paint();
    EXPECT_EQ(Pixel(left, top), gfx::ColorToRGB(gfx::clBlack));  // the frame stays
    EXPECT_EQ(Pixel(left + 1, top + 1), gfx::ColorToRGB(kChartColor));

    // Without a frame the box shrinks by the frame on each side.
    series->Marks().SetTransparent(false);
    series->Marks().Frame().SetVisible(false);
    m_chart.Paint();
    const int32_t bare = width - 2;
    EXPECT_EQ(Pixel(x - bare / 2, y - (height - 2)), gfx::ColorToRGB(gfx::clYellow));
    EXPECT_NE(Pixel(x - bare / 2 - 1, y - (height - 2)), gfx::ColorToRGB(gfx::clYellow));
    EXPECT_NE(Pixel(x - bare / 2, y - (height - 2) - 1), gfx::ColorToRGB(gfx::clYellow));

    // A wide frame grows the box by twice its width.
    series->Marks().Frame().SetVisible(true);
    series->Marks().Frame().SetWidth(3);
    m_chart.Paint();
    EXPECT_EQ(series->Marks().Position(0).Width, width - 2 + 6);
    EXPECT_EQ(series->Marks().Position(0).Height, height - 2 + 6);

    series->Marks().SetVisible(false);
    m_chart.Paint();
    for (int32_t dx = 0; dx < width; ++dx) {
        EXPECT_NE(Pixel(left + dx, top), gfx::ColorToRGB(gfx::clBlack)) << dx;
    }
}

TEST_F(MarksPaintTest, NullPointsAndEmptyTextsHaveNoMark) {
    auto* series = AddSeries();
    series->AppendXY(20, 50, "x");
    series->AppendNullXY(50, 50, "y");
    series->AppendXY(80, 50, "z");
    series->SetOnGetMarkText([](chart::TChartSeries&, int32_t index, std::string& text) {
        if (index == 2) {
            text.clear();
        }
    });
    m_chart.Paint();
    const int32_t height = DefaultFontHeight() + 2;
    const int32_t width = DefaultFontWidth("x") + DefaultFontWidth("W") + 2;
    ExpectBox(series->PointScreenX(0) - width / 2, series->PointScreenY(0) - height, width, height,
              "x");
    for (int32_t i : {1, 2}) {
        const int32_t x = series->PointScreenX(i);
        const int32_t y = series->PointScreenY(i);
        for (int32_t dy = 1; dy <= height; ++dy) {
            EXPECT_NE(Pixel(x, y - dy), gfx::ColorToRGB(kBoxColor)) << i << " " << dy;
        }
    }
}

TEST_F(MarksPaintTest, ArrowsRunFromThePointToTheLiftedBox) {
    auto* series = AddSeries<TLiftedMarksSeries>();
    series->AppendXY(50, 40, "m");
    series->Marks().SetArrowLength(10);
    m_chart.Paint();
    const int32_t x = series->PointScreenX(0);
    const int32_t y = series->PointScreenY(0);
    // The white arrow on the white chart is drawn black; its last pixel (the box end) is not.
    const gfx::TColorRef black = gfx::ColorToRGB(gfx::clBlack);
    for (int32_t dy = 0; dy < 10; ++dy) {
        EXPECT_EQ(Pixel(x, y - dy), black) << dy;
    }
    EXPECT_NE(Pixel(x + 1, y - 5), black);
    EXPECT_NE(Pixel(x, y + 1), black);
    const chart::TSeriesMarkPosition& p = series->Marks().Position(0);
    EXPECT_EQ(p.ArrowFromY, y);
    EXPECT_EQ(p.ArrowToY, y - 10);
    EXPECT_EQ(p.Top + p.Height, y - 10);
    ExpectBox(p.Left, p.Top, p.Width, p.Height, "lifted");

    // A red arrow on a red point becomes black too; a blue one stays blue.
    series->Marks().Arrow().SetColor(gfx::clRed);
    m_chart.Paint();
    EXPECT_EQ(Pixel(x, y - 5), black);
    series->Marks().Arrow().SetColor(gfx::clBlue);
    m_chart.Paint();
    EXPECT_EQ(Pixel(x, y - 5), gfx::ColorToRGB(gfx::clBlue));
    // On a black chart a clashing arrow is white.
    m_chart.SetColor(gfx::clBlack);
    series->Marks().Arrow().SetColor(gfx::clBlack);
    m_chart.Paint();
    EXPECT_EQ(Pixel(x, y - 5), gfx::ColorToRGB(gfx::clWhite));

    series->Marks().Arrow().SetVisible(false);
    m_chart.Paint();
    EXPECT_EQ(Pixel(x, y - 5), gfx::ColorToRGB(gfx::clBlack));  // the black panel shows
}

TEST_F(MarksPaintTest, ACustomPositionReplacesTheComputedOne) {
    auto* series = AddSeries();
    series->AppendXY(50, 50, "m");
    m_chart.Paint();
    chart::TSeriesMarkPosition& p = series->Marks().Position(0);
    p.Custom = true;
    p.Left = 30;
    p.Top = 40;
    m_chart.PartChanged();
    m_chart.Paint();
    ExpectBox(30, 40, p.Width, p.Height, "custom");
}

TEST_F(MarksPaintTest, MarksAreClippedToThePlotOnlyWhenTheyAskForIt) {
    auto* series = AddSeries();
    // A point just below the top edge: its box reaches above the chart rectangle.
    m_chart.SetMarginTop(20);
    series->AppendXY(50, 98, "top");
    m_chart.Paint();
    const gfx::TRect& plot = m_chart.PlotRect();
    const chart::TSeriesMarkPosition p = series->Marks().Position(0);
    ASSERT_LT(p.Top, plot.Top - 2);
    ASSERT_GT(p.Top + p.Height, plot.Top + 2);
    const gfx::TColorRef black = gfx::ColorToRGB(gfx::clBlack);
    EXPECT_EQ(Pixel(p.Left, p.Top), black);
    EXPECT_EQ(Pixel(p.Left, plot.Top - 1), black);
    EXPECT_EQ(Pixel(p.Left + 1, plot.Top - 2), gfx::ColorToRGB(kBoxColor));

    series->Marks().SetClip(true);
    m_chart.Paint();
    EXPECT_NE(Pixel(p.Left, p.Top), black);
    EXPECT_NE(Pixel(p.Left, plot.Top - 1), black);
    EXPECT_NE(Pixel(p.Left + 1, plot.Top - 2), gfx::ColorToRGB(kBoxColor));
    // The part inside the chart rectangle stays: the flat clip starts below its top edge, which
    // the back wall's frame keeps.
    EXPECT_NE(Pixel(p.Left + 1, plot.Top), gfx::ColorToRGB(kBoxColor));
    EXPECT_EQ(Pixel(p.Left, plot.Top + 1), black);
    EXPECT_EQ(Pixel(p.Left, p.Top + p.Height - 1), black);
    EXPECT_EQ(Pixel(p.Left + 1, plot.Top + 1), gfx::ColorToRGB(kBoxColor));
}

TEST_F(MarksPaintTest, InAnObliqueViewTheBoxStandsAtTheSeriesMiddleDepth) {
    m_chart.SetView3D(true);
    m_chart.SetChart3DPercent(50);
    auto* series = AddSeries<TLiftedMarksSeries>();
    series->AppendXY(50, 50, "deep");
    m_chart.Paint();
    // One series: its slot is the whole depth and the marks stand in its middle, which the
    // oblique view draws that many pixels right and up.
    const int32_t z = m_chart.DepthExtent() / 2;
    ASSERT_GT(z, 2);
    EXPECT_EQ(series->MiddleZ(), z);
    const chart::TSeriesMarkPosition& p = series->Marks().Position(0);
    EXPECT_EQ(p.Left, series->PointScreenX(0) - p.Width / 2);
    ExpectBox(p.Left + z, p.Top - z, p.Width, p.Height, "oblique");
    // The arrow runs up from the projected point.
    const int32_t x = series->PointScreenX(0) + z;
    const int32_t y = series->PointScreenY(0) - z;
    EXPECT_EQ(Pixel(x, y - 1), gfx::ColorToRGB(gfx::clBlack));
    EXPECT_EQ(Pixel(x, y - 7), gfx::ColorToRGB(gfx::clBlack));
}

TEST_F(MarksPaintTest, PointsOutsideTheAxesHaveNoMarks) {
    auto* series = AddSeries();
    series->AppendXY(50, 50, "in");
    series->AppendXY(150, 50, "out");
    m_chart.Paint();
    EXPECT_EQ(series->LastVisibleIndex(), 0);
    EXPECT_EQ(series->Marks().PositionCount(), 1);
}

TEST_F(MarksPaintTest, MarkLabelsOnAnAxisUseTheMarkTextAndTheWidestMark) {
    auto* series = AddSeries();
    series->Marks().SetVisible(false);
    series->AppendXY(10, 20, "a");
    series->AppendXY(50, 40, "b");
    series->Marks().SetStyle(TSeriesMarksStyle::smsLabelValue);
    m_chart.LeftAxis().SetLabelStyle(chart::TAxisLabelStyle::talMark);
    std::vector<std::string> seen;
    m_chart.SetOnGetAxisLabel(
        [&](chart::TCustomChartAxis& axis, chart::TChartSeries* s, int32_t, std::string& text) {
            if (&axis == &m_chart.LeftAxis() && s != nullptr) {
                seen.push_back(text);
            }
        });
    m_chart.Paint();
    EXPECT_EQ(seen, (std::vector<std::string>{"a 20", "b 40"}));
    // The left axis' labels take the widest mark's room ("b 40" in the labels font).
    const int32_t widest = std::max(DefaultFontWidth("a 20"), DefaultFontWidth("b 40"));
    EXPECT_EQ(m_chart.LeftAxis().MaxLabelsSize(), widest);
}

}  // namespace
