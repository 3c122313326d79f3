// The chart's legend painted into the chart's bitmap: its box, rows and symbols in all four
// alignments and both resolved styles, the room it takes from the chart rectangle, its clicks,
// its refused settings and its hooks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Arith.h"
#include "base/FalseWarnings.h"
#include "chart/component/Chart.h"
#include "chart/messages/ChartMessages.h"
#include "chart/series/LineSeries.h"

namespace {

using chart::TChart;
using chart::TChartLegend;
using chart::TChartSeries;
using chart::TLegendAlignment;
using chart::TLegendStyle;
using gfx::TRect;

constexpr int32_t kWidth = 400;
constexpr int32_t kHeight = 250;
// The chart rectangle the margins leave on a 400 x 250 panel: 3 % and 4 % rounded.
const TRect kMarginRect(12, 10, 388, 240);

// Records the chart rectangle the titles and legend leave to the axes.
class TLegendChart : public TChart {
  public:
    TLegendChart() : TChart(nullptr) {
        SetBounds(0, 0, kWidth, kHeight);
        SetView3D(false);
        SetColor(gfx::clSilver);
        Legend().Font().SetName("Arial");
    }
    void DrawTitlesAndLegend() override {
        TChart::DrawTitlesAndLegend();
        afterLegend = PlotRect();
    }
    TRect afterLegend;
};

// A series that draws nothing but its legend symbol (the base rectangle).
TChartSeries* AddSeries(TChart& chart, const std::string& title, gfx::TColor color,
                        const std::vector<double>& values = {1, 2, 3}) {
    auto* series = new TChartSeries(nullptr);
    series->SetTitle(title);
    series->SetSeriesColor(color);
    for (size_t i = 0; i < values.size(); ++i) {
        series->AppendXY(static_cast<double>(i), values[i]);
    }
    chart.AddSeries(series);
    return series;
}

class ChartLegendTest : public ::testing::Test {
  protected:
    gfx::TColorRef Pixel(int32_t x, int32_t y) const {
        return m_chart.Surface().Canvas().Pixel(x, y);
    }
    bool Is(int32_t x, int32_t y, gfx::TColor color) const {
        return Pixel(x, y) == gfx::ColorToRGB(color);
    }
    // Text height and widths in the legend's font, measured after a paint.
    int32_t LineHeight() {
        m_chart.ApplyFont(m_chart.Legend().Font());
        return m_chart.Canvas().TextLineHeight();
    }
    int32_t Widest(const std::vector<std::string>& texts) {
        m_chart.ApplyFont(m_chart.Legend().Font());
        int32_t w = 0;
        for (const std::string& t : texts) {
            w = std::max(w, m_chart.Canvas().TextWidthOf(t));
        }
        return w;
    }
    void ThreeSeries() {
        AddSeries(m_chart, "Alpha", gfx::clRed);
        AddSeries(m_chart, "Bravo", gfx::clGreen);
        AddSeries(m_chart, "Charlie longer", gfx::clBlue);
    }
    static int32_t Nearest(double v) { return static_cast<int32_t>(base::Round(v)); }

    TLegendChart m_chart;
    const std::vector<gfx::TColor> m_colors{gfx::clRed, gfx::clGreen, gfx::clBlue};
};

TEST_F(ChartLegendTest, ARightLegendListsSeriesBesideTheShrunkenPlot) {
    ThreeSeries();
    m_chart.Paint();
    const TChartLegend& legend = m_chart.Legend();
    EXPECT_EQ(legend.ResolvedStyle(), TLegendStyle::lsSeries);
    const int32_t h = LineHeight();
    const int32_t tw = Widest({"Alpha", "Bravo", "Charlie longer"});
    // Framed (width 1) and with the 3-pixel shadow: the right edge stands 2 + 3 inside.
    const int32_t right = kMarginRect.Right - 2 - 3;
    const int32_t tx = right - tw - 2;
    const int32_t s = Nearest((tw + 10) * 0.12);
    const int32_t left = tx - s - 8;
    const int32_t top = Nearest(10 * kHeight * 0.01);
    EXPECT_EQ(legend.RectLegend(), TRect(left, top, right, top + 3 * h + 2));
    EXPECT_EQ(legend.LegendRows(), 3);
    EXPECT_EQ(legend.SymbolWidth(), s);
    // The plot ends at the box less 3 % of its width.
    EXPECT_EQ(m_chart.afterLegend.Right, left - 11);
    EXPECT_EQ(m_chart.afterLegend.Left, kMarginRect.Left);

    // The frame one pixel outside the box, the white inside, the shadow below and right.
    EXPECT_TRUE(Is(left - 1, top + 5, gfx::clBlack));
    EXPECT_TRUE(Is(left, top + 5, gfx::clWhite));
    EXPECT_TRUE(Is(right, top + 5, gfx::clBlack));
    EXPECT_TRUE(Is(right + 3, top + 5, gfx::clBlack));  // shadow: 3 + f + 0 wide
    EXPECT_FALSE(Is(right + 4, top + 5, gfx::clBlack));
    EXPECT_FALSE(Is(right + 2, top + 2, gfx::clBlack));  // the shadow starts 3 lower
    // Each row's symbol in its series' colour, outlined by the item pen.
    for (int32_t p = 0; p < 3; ++p) {
        const int32_t y = top + 1 + p * h;
        const TRect symbol(tx - 4 - s, y + 2, tx - 4, y + h - 2);
        EXPECT_TRUE(Is(symbol.Left + 1, symbol.Top + 1, m_colors[p])) << p;
        EXPECT_TRUE(Is(symbol.Right - 2, symbol.Bottom - 2, m_colors[p])) << p;
        EXPECT_TRUE(Is(symbol.Left, symbol.Top, gfx::clBlack)) << p;
        EXPECT_TRUE(Is(symbol.Right, symbol.Top + 1, gfx::clWhite)) << p;
    }
}

TEST_F(ChartLegendTest, ALeftLegendStartsAtThePlotsLeftAndPushesItRight) {
    ThreeSeries();
    m_chart.Legend().SetAlignment(TLegendAlignment::laLeft);
    m_chart.Paint();
    const TChartLegend& legend = m_chart.Legend();
    const int32_t h = LineHeight();
    const int32_t tw = Widest({"Alpha", "Bravo", "Charlie longer"});
    const int32_t left = kMarginRect.Left + 2;
    const int32_t s = Nearest((tw + 10) * 0.12);
    const int32_t right = left + 4 + s + tw + 6;
    EXPECT_EQ(legend.RectLegend(), TRect(left, 25, right, 25 + 3 * h + 2));
    EXPECT_EQ(m_chart.afterLegend.Left, right + 11);
    EXPECT_EQ(m_chart.afterLegend.Right, kMarginRect.Right);
    const int32_t tx = left + 4 + s + 4;
    EXPECT_TRUE(Is(tx - 4 - s + 1, 25 + 1 + h + 3, gfx::clGreen));
    EXPECT_TRUE(Is(left - 1, 30, gfx::clBlack));
}

TEST_F(ChartLegendTest, TopAndBottomLegendsLayTheItemsInColumns) {
    ThreeSeries();
    const int32_t h = [&] {
        m_chart.Paint();
        return LineHeight();
    }();
    const int32_t t = Widest({"Alpha", "Bravo", "Charlie longer"}) + 4;
    const int32_t s = Nearest(t * 0.12);
    const int32_t plotWidth = kMarginRect.Width();
    const int32_t columns = std::min(3, (plotWidth - 2 - 8) / (t + s + 8));
    ASSERT_EQ(columns, 3);  // all three fit side by side
    const int32_t width = std::min(plotWidth, 2 * 3 + (s + t + 4) * columns + 8);
    const int32_t shift = Nearest(10 * (kWidth - width) * 0.01);
    const int32_t left = shift + 200 - width / 2;
    const int32_t right = shift + 200 + width / 2;

    m_chart.Legend().SetAlignment(TLegendAlignment::laTop);
    m_chart.Paint();
    const int32_t top = kMarginRect.Top + 2;
    EXPECT_EQ(m_chart.Legend().LegendColumns(), 3);
    EXPECT_EQ(m_chart.Legend().LegendRows(), 1);
    EXPECT_EQ(m_chart.Legend().RectLegend(), TRect(left, top, right, top + h + 2));
    // Below the box and its shadow, then 4 % of the plot height.
    EXPECT_EQ(m_chart.afterLegend.Top, top + h + 2 + 3 + 9);
    EXPECT_EQ(m_chart.afterLegend.Bottom, kMarginRect.Bottom);
    // The second column's symbol sits one column further right.
    const int32_t tx = left + s + 8 + (t + s + 4);
    EXPECT_TRUE(Is(tx - 4 - s + 1, top + 1 + 3, gfx::clGreen));

    m_chart.Legend().SetAlignment(TLegendAlignment::laBottom);
    m_chart.Paint();
    const int32_t bottom = kMarginRect.Bottom - 3 - 2;
    EXPECT_EQ(m_chart.Legend().RectLegend(), TRect(left, bottom - h - 2, right, bottom));
    EXPECT_EQ(m_chart.afterLegend.Bottom, bottom - h - 2 - 9);
    EXPECT_EQ(m_chart.afterLegend.Top, kMarginRect.Top);
    EXPECT_TRUE(Is(left + s + 8 - 4 - s + 1, bottom - h - 2 + 1 + 3, gfx::clRed));
}

TEST_F(ChartLegendTest, WithOneSeriesTheLegendListsItsPointsWithTheirValues) {
    TChartSeries* series = AddSeries(m_chart, "Only", gfx::clBlue, {5, 7});
    series->SetPointLabel(0, "dit");
    series->SetPointLabel(1, "dah");
    series->SetPointColor(1, gfx::clFuchsia);
    m_chart.Paint();
    const TChartLegend& legend = m_chart.Legend();
    EXPECT_EQ(legend.ResolvedStyle(), TLegendStyle::lsValues);
    EXPECT_EQ(legend.ItemCount(), 2);
    EXPECT_EQ(legend.ItemText(0), "5 dit");
    EXPECT_EQ(legend.ItemText(1), "7 dah");
    const int32_t h = LineHeight();
    const int32_t tw = Widest({"5 dit", "7 dah"});
    const int32_t right = kMarginRect.Right - 5;
    const int32_t tx = right - tw - 2;
    const int32_t s = Nearest((tw + 10) * 0.12);
    EXPECT_EQ(legend.RectLegend().Left, tx - s - 8);
    // Each point's own colour.
    EXPECT_TRUE(Is(tx - 4 - s + 1, 25 + 1 + 3, gfx::clBlue));
    EXPECT_TRUE(Is(tx - 4 - s + 1, 25 + 1 + h + 3, gfx::clFuchsia));

    m_chart.Legend().SetTextStyle(chart::TLegendTextStyle::ltsRightPercent);
    EXPECT_EQ(legend.ItemText(1), "dah 58.33 %");
    m_chart.Legend().SetFirstValue(1);
    EXPECT_EQ(legend.ItemCount(), 1);
    // Two series, forced to values: still the first one's points.
    AddSeries(m_chart, "Second", gfx::clRed);
    EXPECT_EQ(legend.ResolvedStyle(), TLegendStyle::lsSeries);
    m_chart.Legend().SetLegendStyle(TLegendStyle::lsLastValues);
    m_chart.Legend().SetFirstValue(0);
    m_chart.Legend().SetTextStyle(chart::TLegendTextStyle::ltsPlain);
    EXPECT_EQ(legend.ItemText(0), "dah");
    EXPECT_EQ(legend.ItemCount(), 2);
}

TEST_F(ChartLegendTest, ALegendWithoutItemsDrawsNothingAndTakesNoRoom) {
    AddSeries(m_chart, "Empty", gfx::clBlue, {});
    m_chart.Paint();
    EXPECT_EQ(m_chart.Legend().ItemCount(), 0);
    EXPECT_EQ(m_chart.afterLegend, kMarginRect);
    // A hidden legend too.
    AddSeries(m_chart, "Full", gfx::clRed);
    m_chart.Legend().SetVisible(false);
    m_chart.Paint();
    EXPECT_EQ(m_chart.afterLegend, kMarginRect);
}

TEST_F(ChartLegendTest, InvertedListsTheLastItemFirstAndResizeChartOffKeepsOnlyTheGap) {
    ThreeSeries();
    m_chart.Legend().SetInverted(true);
    m_chart.Legend().SetResizeChart(false);
    m_chart.Paint();
    const TRect& r = m_chart.Legend().RectLegend();
    const int32_t h = LineHeight();
    const int32_t tw = Widest({"Alpha", "Bravo", "Charlie longer"});
    const int32_t s = Nearest((tw + 10) * 0.12);
    const int32_t symbolX = r.Right - tw - 2 - 4 - s + 1;
    EXPECT_TRUE(Is(symbolX, r.Top + 1 + 3, gfx::clBlue));
    EXPECT_TRUE(Is(symbolX, r.Top + 1 + 2 * h + 3, gfx::clRed));
    EXPECT_EQ(m_chart.afterLegend.Right, kMarginRect.Right - 11);
}

TEST_F(ChartLegendTest, ABlackLegendOutlinesItsSymbolsInWhite) {
    ThreeSeries();
    m_chart.Legend().SetColor(gfx::clBlack);
    m_chart.Paint();
    const TRect& r = m_chart.Legend().RectLegend();
    const int32_t tw = Widest({"Alpha", "Bravo", "Charlie longer"});
    const int32_t s = Nearest((tw + 10) * 0.12);
    const int32_t symbolLeft = r.Right - tw - 2 - 4 - s;
    EXPECT_TRUE(Is(symbolLeft, r.Top + 1 + 2, gfx::clWhite));
    EXPECT_TRUE(Is(symbolLeft + 1, r.Top + 1 + 3, gfx::clRed));
    EXPECT_EQ(m_chart.LegendColor(), gfx::clBlack);
}

TEST_F(ChartLegendTest, ClicksFindTheRowOrCell) {
    ThreeSeries();
    m_chart.Paint();
    const TRect r = m_chart.Legend().RectLegend();
    const int32_t rowHeight = r.Height() / 3;
    TChartLegend& legend = m_chart.Legend();
    EXPECT_EQ(legend.LegendClicked(r.Left + 2, r.Top + 1), 0);
    EXPECT_EQ(legend.LegendClicked(r.Left + 2, r.Top + 1 + rowHeight + 1), 1);
    EXPECT_EQ(legend.LegendClicked(r.Left + 2, r.Top + 1 + 2 * rowHeight + 1), 2);
    EXPECT_EQ(legend.LegendClicked(r.Left + 2, r.Top), -1);  // above the first row
    EXPECT_EQ(legend.LegendClicked(r.Left - 1, r.Top + 5), -1);
    EXPECT_EQ(legend.LegendClicked(r.Right, r.Top + 5), -1);

    legend.SetAlignment(TLegendAlignment::laTop);
    m_chart.Paint();
    const TRect top = legend.RectLegend();
    const int32_t columnWidth = top.Width() / 3;
    EXPECT_EQ(legend.LegendClicked(top.Left + 2, top.Top + 3), 0);
    EXPECT_EQ(legend.LegendClicked(top.Left + columnWidth + 2, top.Top + 3), 1);
    EXPECT_EQ(legend.LegendClicked(top.Left + 2 * columnWidth + 2, top.Top + 3), 2);
}

TEST_F(ChartLegendTest, APressOnARowReachesOnClickLegendAndOnlyWhileTheLegendShows) {
    ThreeSeries();
    m_chart.Paint();
    int clicks = 0;
    m_chart.SetOnClickLegend([&clicks](TChart&, forms::TMouseButton, forms::TShiftState, int32_t,
                                       int32_t) { ++clicks; });
    const TRect r = m_chart.Legend().RectLegend();
    m_chart.MouseDown(forms::TMouseButton::mbLeft, 0, r.Left + 3, r.Top + 4);
    m_chart.MouseUp(forms::TMouseButton::mbLeft, 0, r.Left + 3, r.Top + 4);
    EXPECT_EQ(clicks, 1);
    m_chart.Legend().SetVisible(false);
    m_chart.MouseDown(forms::TMouseButton::mbLeft, 0, r.Left + 3, r.Top + 4);
    m_chart.MouseUp(forms::TMouseButton::mbLeft, 0, r.Left + 3, r.Top + 4);
    EXPECT_EQ(clicks, 1);
}

// GCC 12 at -O3 raises its false -Wrestrict on "#" + std::to_string(...) here.
KEYVET_FALSE_RESTRICT_BEGIN
TEST_F(ChartLegendTest, TheHooksChangeTextsBoxAndRows) {
    ThreeSeries();
    std::vector<int32_t> positions;
    m_chart.SetOnGetLegendText([](TChart&, TLegendStyle style, int32_t index, std::string& text) {
        EXPECT_EQ(style, TLegendStyle::lsSeries);
        text = "#" + std::to_string(index) + " " + text;
    });
    m_chart.SetOnGetLegendRect([](TChart&, TRect& rect) { rect.Top += 20; });
    m_chart.SetOnGetLegendPos([&positions](TChart&, int32_t index, int32_t&, int32_t& y) {
        positions.push_back(index);
        y += 1;
    });
    EXPECT_EQ(m_chart.Legend().ItemText(1), "#1 Bravo");
    m_chart.Paint();
    EXPECT_EQ(m_chart.Legend().RectLegend().Top, 45);
    EXPECT_EQ(positions, (std::vector<int32_t>{0, 1, 2}));
}
KEYVET_FALSE_RESTRICT_END

TEST_F(ChartLegendTest, SeriesWithoutTitlesAreNamedOrNumbered) {
    TChartSeries* named = AddSeries(m_chart, "", gfx::clRed);
    named->SetName("Series1");
    AddSeries(m_chart, "", gfx::clGreen);
    TChartSeries* hidden = AddSeries(m_chart, "Hidden", gfx::clBlue);
    hidden->SetShowInLegend(false);
    EXPECT_EQ(m_chart.Legend().ItemCount(), 2);
    EXPECT_EQ(m_chart.Legend().ItemText(0), "Series1");
    EXPECT_EQ(m_chart.Legend().ItemText(1), "Series 1");
}

TEST_F(ChartLegendTest, LineSeriesShowAStretchOfLineAndTheirPointerOverIt) {
    auto* plain = new chart::TLineSeries(nullptr);
    plain->SetTitle("Line");
    plain->SetSeriesColor(gfx::clRed);
    plain->AppendXY(0, 1);
    auto* pointed = new chart::TLineSeries(nullptr);
    pointed->SetTitle("Pointer");
    pointed->SetSeriesColor(gfx::clBlue);
    pointed->Pointer().SetVisible(true);
    pointed->AppendXY(0, 2);
    m_chart.AddSeries(plain);
    m_chart.AddSeries(pointed);
    m_chart.Legend().SetColorWidth(50);  // a symbol wide enough to see both parts
    m_chart.Paint();
    const TRect& r = m_chart.Legend().RectLegend();
    const int32_t h = LineHeight();
    const int32_t tw = Widest({"Line", "Pointer"});
    const int32_t s = Nearest((tw + 10) * 0.5);
    const int32_t tx = r.Right - tw - 2;
    for (int32_t p = 0; p < 2; ++p) {
        const int32_t y = r.Top + 1 + p * h;
        const TRect symbol(tx - 4 - s, y + 2, tx - 4, y + h - 2);
        const int32_t middle = (symbol.Top + symbol.Bottom) / 2;
        const gfx::TColor color = p == 0 ? gfx::clRed : gfx::clBlue;
        // The line across the middle, from the first column to the last but one.
        EXPECT_TRUE(Is(symbol.Left, middle, color)) << p;
        EXPECT_TRUE(Is(symbol.Right - 1, middle, color)) << p;
        EXPECT_TRUE(Is(symbol.Left, middle - 1, gfx::clWhite)) << p;
        EXPECT_FALSE(Is(symbol.Right, middle, color)) << p;
    }
    // The pointer stands in the middle of the second symbol, at most a third of it in size.
    const int32_t y = r.Top + 1 + h;
    const TRect symbol(tx - 4 - s, y + 2, tx - 4, y + h - 2);
    const int32_t cx = (symbol.Left + symbol.Right) / 2;
    const int32_t hy = std::min(4, symbol.Height() / 3);
    EXPECT_TRUE(Is(cx, (symbol.Top + symbol.Bottom) / 2 - hy + 1, gfx::clBlue));
    EXPECT_TRUE(Is(symbol.Left, (symbol.Top + symbol.Bottom) / 2 - hy + 1, gfx::clWhite));
}

TEST(ChartLegendSettingsTest, OutOfRangeSettingsAreRefusedWithTheirMessages) {
    TChart chart(nullptr);
    TChartLegend& legend = chart.Legend();
    const auto expectRefused = [](auto set, const char* message) {
        try {
            set();
            FAIL() << "no exception for " << message;
        } catch (const chart::LegendException& e) {
            EXPECT_STREQ(e.what(), message);
        }
    };
    expectRefused([&] { legend.SetTopPos(101); },
                  "Top Legend Position must be between 0 and 100 %");
    expectRefused([&] { legend.SetTopPos(-1); }, "Top Legend Position must be between 0 and 100 %");
    expectRefused([&] { legend.SetFirstValue(-1); }, "First Legend Value must be > 0");
    expectRefused([&] { legend.SetColorWidth(101); },
                  "Legend Color Width must be between 0 and 100 %");
    EXPECT_EQ(legend.TopPos(), 10);
    EXPECT_EQ(legend.FirstValue(), 0);
    EXPECT_EQ(legend.ColorWidth(), 12);
    legend.SetTopPos(100);
    legend.SetTopPos(0);
    legend.SetColorWidth(0);
    legend.SetColorWidth(100);
    EXPECT_EQ(legend.ColorWidth(), 100);
}

TEST(ChartLegendSettingsTest, ANewSeriesNeverTakesTheBackWallsColour) {
    TChart chart(nullptr);
    chart.BackWall().SetColor(chart::PaletteColor(0));
    auto* series = new TChartSeries(nullptr);
    chart.AddSeries(series);
    EXPECT_EQ(series->SeriesColor(), chart::PaletteColor(1));
}

TEST(ChartLegendSettingsTest, CopyingAChartCopiesItsLegend) {
    TChart source(nullptr);
    source.Legend().SetAlignment(TLegendAlignment::laBottom);
    source.Legend().SetShadowSize(5);
    source.Legend().Frame().SetColor(gfx::clRed);
    source.Legend().Font().SetSize(12);
    TChart copy(nullptr);
    copy.Assign(source);
    EXPECT_EQ(copy.Legend().Alignment(), TLegendAlignment::laBottom);
    EXPECT_EQ(copy.Legend().ShadowSize(), 5);
    EXPECT_EQ(copy.Legend().Frame().Color(), gfx::clRed);
    EXPECT_EQ(copy.Legend().Font().Size(), 12);
}

}  // namespace
