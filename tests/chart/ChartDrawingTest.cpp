// One paint of the concrete chart: the order of its steps, the title and foot with the room they
// take, the walls, paging, shown axes, depth slots, and the keying chart drawn end to end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "chart/component/Chart.h"
#include "chart/messages/ChartMessages.h"
#include "chart/series/LineSeries.h"
#include "classes/ClassBuilder.h"
#include "classes/DesignData.h"
#include "forms/Form.h"

namespace {

using chart::TChart;
using chart::TLineSeries;
using gfx::TRect;

constexpr gfx::TColor kLightCyan = 16777088;

// An unnamed event handler.
template <class F>
classes::TNotifyEvent Handler(F code) {
    return classes::TNotifyEvent{std::string(), code};
}

// Records the paint steps in the order they run.
class TLoggingChart : public TChart {
  public:
    TLoggingChart() : TChart(nullptr) {
        SetBounds(0, 0, 200, 100);
        SetView3D(false);
        SetOnBeforeDrawAxes(
            Handler([this](classes::TPersistent*) { log.push_back("beforeAxes"); }));
        SetOnBeforeDrawSeries(
            Handler([this](classes::TPersistent*) { log.push_back("beforeSeries"); }));
        SetOnAfterDraw(Handler([this](classes::TPersistent*) { log.push_back("afterDraw"); }));
    }
    void PaintBackground(const TRect& rect) override {
        log.push_back("background");
        TChart::PaintBackground(rect);
    }
    void DrawTitlesAndLegend() override {
        log.push_back("titles");
        TChart::DrawTitlesAndLegend();
    }
    void LayoutAxes() override {
        log.push_back("layout");
        TChart::LayoutAxes();
    }
    void ApplySeriesMargins() override {
        log.push_back("margins");
        TChart::ApplySeriesMargins();
    }
    void DrawWalls() override {
        log.push_back("walls");
        TChart::DrawWalls();
    }
    void DrawAxes() override {
        log.push_back("axes");
        TChart::DrawAxes();
    }
    std::vector<std::string> log;
};

class TLoggingSeries : public TLineSeries {
  public:
    TLoggingSeries(std::vector<std::string>& log, std::string name)
        : TLineSeries(nullptr), m_log(log), m_name(std::move(name)) {
        SetBeforeDrawValues([this](chart::TChartSeries&) { m_log.push_back(m_name + ".before"); });
        SetAfterDrawValues([this](chart::TChartSeries&) { m_log.push_back(m_name + ".after"); });
    }
    void BeforeChartDraw() override { m_log.push_back(m_name + ".prepare"); }
    void DrawPoints() override {
        m_log.push_back(m_name + ".points");
        TLineSeries::DrawPoints();
    }

  private:
    std::vector<std::string>& m_log;
    std::string m_name;
};

TEST(ChartPaintSequenceTest, StepsRunInOrderWithTheSeriesOverTheAxes) {
    TLoggingChart chart;
    auto* a = new TLoggingSeries(chart.log, "a");
    auto* b = new TLoggingSeries(chart.log, "b");
    auto* hidden = new TLoggingSeries(chart.log, "hidden");
    auto* empty = new TLoggingSeries(chart.log, "empty");
    for (TLoggingSeries* s : {a, b, hidden, empty}) {
        chart.AddSeries(s);
    }
    a->AppendXY(1, 1);
    b->AppendXY(2, 2);
    hidden->AppendXY(3, 3);
    hidden->SetActive(false);
    chart.Paint();
    const std::vector<std::string> expected{
        "background", "a.prepare", "b.prepare",  "empty.prepare", "titles",       "layout",
        "margins",    "walls",     "beforeAxes", "axes",          "beforeSeries", "a.before",
        "a.points",   "a.after",   "b.before",   "b.points",      "b.after",      "afterDraw"};
    EXPECT_EQ(chart.log, expected);

    // Axes hidden: neither the event nor the drawing.
    chart.log.clear();
    chart.SetAxisVisible(false);
    chart.Paint();
    EXPECT_EQ(std::count(chart.log.begin(), chart.log.end(), "beforeAxes"), 0);
    EXPECT_EQ(std::count(chart.log.begin(), chart.log.end(), "axes"), 0);
}

TEST(ChartPaintSequenceTest, AFailingHandlerLeavesThePaintUnfinishedAndTheNextOneStartsOver) {
    TLoggingChart chart;
    bool fail = true;
    chart.SetOnBeforeDrawSeries(Handler([&fail](classes::TPersistent*) {
        if (fail) {
            throw chart::ChartException("handler failed");
        }
    }));
    EXPECT_THROW(chart.Paint(), chart::ChartException);
    fail = false;
    chart.log.clear();
    chart.Paint();
    EXPECT_EQ(chart.log.back(), "afterDraw");
}

// The main window's chart: 768 x 249, light cyan, flat, title "Morse waveform" in blue Arial
// 16 pixels, back wall outlined only, one blue line series two pixels wide.
class KeyingChartTest : public ::testing::Test {
  protected:
    KeyingChartTest() : m_series(new TLineSeries(&m_owner)) {
        m_chart.SetBounds(10, 16, 768, 249);
        m_chart.SetColor(kLightCyan);
        m_chart.SetView3D(false);
        m_chart.Legend().SetVisible(false);  // as the main window's design data hides it
        m_chart.Title().Text().Add("Morse waveform");
        m_chart.Title().Font().SetName("Arial");
        m_chart.Title().Font().SetHeight(-16);
        m_chart.BackWall().Brush().SetColor(gfx::clWhite);
        m_chart.BackWall().Brush().SetStyle(gfx::TBrushStyle::bsClear);
        m_series->SetSeriesColor(gfx::clBlue);
        m_series->LinePen().SetWidth(2);
        m_chart.AddSeries(m_series);
    }
    gfx::TColorRef Pixel(int32_t x, int32_t y) const {
        return m_chart.Surface().Canvas().Pixel(x, y);
    }
    int32_t CountOf(const TRect& r, gfx::TColor color) const {
        int32_t n = 0;
        for (int32_t y = r.Top; y < r.Bottom; ++y) {
            for (int32_t x = r.Left; x < r.Right; ++x) {
                n += Pixel(x, y) == gfx::ColorToRGB(color) ? 1 : 0;
            }
        }
        return n;
    }
    classes::TComponent m_owner{nullptr};
    TChart m_chart{nullptr};
    TLineSeries* m_series;
};

TEST_F(KeyingChartTest, TheTitleTakesOneLinePlusFivePixelsAndIsCentredInBlue) {
    m_chart.Paint();
    const TRect& title = m_chart.Title().TitleRect();
    m_chart.Canvas().Font().Assign(m_chart.Title().Font());
    const int32_t h = m_chart.Canvas().TextLineHeight();
    EXPECT_EQ(title.Top, 10);  // the top margin: 4 % of 249
    EXPECT_EQ(title.Bottom, 10 + h);
    EXPECT_EQ(m_chart.PlotRect().Top, 10 + h + 5);
    // Blue text, centred between the plot rectangle's edges.
    const TRect band(0, title.Top, 768, title.Bottom);
    EXPECT_GT(CountOf(band, gfx::clBlue), 20);
    int32_t left = 768;
    int32_t right = 0;
    for (int32_t y = band.Top; y < band.Bottom; ++y) {
        for (int32_t x = 0; x < 768; ++x) {
            if (Pixel(x, y) != gfx::ColorToRGB(kLightCyan)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    const int32_t centre = (title.Left + title.Right) / 2;
    EXPECT_NEAR((left + right) / 2, centre, 2);
    // The foot is empty: it leaves the bottom where the axes put it.
    EXPECT_EQ(m_chart.Foot().Text().Count(), 0);
}

TEST_F(KeyingChartTest, AFramedTitleTakesTwiceTheFrameWidthMore) {
    m_chart.Paint();
    const int32_t unframed = m_chart.PlotRect().Top;
    m_chart.Title().Frame().SetVisible(true);
    m_chart.Title().Frame().SetColor(gfx::clBlack);
    m_chart.Title().Frame().SetWidth(3);
    m_chart.Paint();
    EXPECT_EQ(m_chart.PlotRect().Top, unframed + 6);
}

TEST_F(KeyingChartTest, AnEmptyOrHiddenTitleTakesNoRoom) {
    m_chart.Title().SetVisible(false);
    m_chart.Paint();
    EXPECT_EQ(m_chart.PlotRect().Top, 10);
    m_chart.Title().SetVisible(true);
    m_chart.Title().Text().Clear();
    m_chart.Paint();
    EXPECT_EQ(m_chart.PlotRect().Top, 10);
}

TEST_F(KeyingChartTest, ATitleBrushColourBecomesTheTitleColourAndRepaintsOnce) {
    m_chart.Paint();
    const int64_t before = m_chart.RepaintRequestCount();
    m_chart.Title().Brush().SetColor(gfx::clYellow);
    m_chart.Paint();
    EXPECT_EQ(m_chart.Title().Color(), gfx::clYellow);
    EXPECT_EQ(m_chart.RepaintRequestCount(), before + 2);  // the brush, then the colour
    m_chart.Paint();
    EXPECT_GT(CountOf(m_chart.Title().TitleRect(), gfx::clYellow), 100);
}

TEST_F(KeyingChartTest, TheBackWallIsAnOutlineIncludingTheRightAndBottomEdges) {
    m_chart.Paint();
    const TRect plot = m_chart.PlotRect();
    const gfx::TColorRef black = gfx::ColorToRGB(gfx::clBlack);
    EXPECT_EQ(Pixel(plot.Right, plot.Top + 40), black);
    EXPECT_EQ(Pixel(plot.Left + 300, plot.Top), black);
    EXPECT_EQ(Pixel(plot.Left + 300, plot.Bottom), black);
    // Not filled, although its brush colour is white.
    EXPECT_EQ(Pixel((plot.Left + plot.Right) / 2, (plot.Top + plot.Bottom) / 2),
              gfx::ColorToRGB(kLightCyan));
    EXPECT_EQ(CountOf(plot, gfx::clWhite), 0);

    // BackColor at run time on a chart with a parent fills it.
    forms::TForm form(nullptr);
    m_chart.SetParent(&form);
    m_chart.SetBackColor(gfx::clWhite);
    EXPECT_EQ(m_chart.BackWall().Brush().Style(), gfx::TBrushStyle::bsSolid);
    m_chart.Paint();
    EXPECT_EQ(Pixel((plot.Left + plot.Right) / 2, (plot.Top + plot.Bottom) / 2),
              gfx::ColorToRGB(gfx::clWhite));
    m_chart.SetParent(nullptr);
}

TEST_F(KeyingChartTest, AxisLabelsStandOnTheChartColourWithoutBoxes) {
    // The back wall's clear brush leaves the device opaque; the labels, drawn with a clear
    // brush, still show the chart's colour between their letters. Checked on the light cyan
    // of the main window and on a white chart (whose boxes would be silver).
    m_series->AppendXY(0, 0);
    m_series->AppendXY(1000, 1);
    for (const gfx::TColor back : {kLightCyan, gfx::clWhite}) {
        m_chart.SetColor(back);
        m_chart.Paint();
        const gfx::TColorRef panel = gfx::ColorToRGB(back);
        const gfx::TColorRef ink = gfx::ColorToRGB(gfx::clBlack);
        const TRect plot = m_chart.PlotRect();
        const chart::TChartAxis& bottom = m_chart.BottomAxis();
        const chart::TChartAxis& left = m_chart.LeftAxis();
        // Below the bottom axis' ticks, and left of the left axis' ticks, inside the bevel.
        const int32_t bevel = m_chart.BevelWidth();
        const TRect bands[] = {TRect(bevel, bottom.LabelsPos(), 768 - bevel, 249 - bevel),
                               TRect(bevel, plot.Top - 8, left.LabelsPos(), plot.Bottom + 8)};
        for (const TRect& band : bands) {
            int32_t letters = 0;
            int32_t other = 0;
            for (int32_t y = band.Top; y < band.Bottom; ++y) {
                for (int32_t x = band.Left; x < band.Right; ++x) {
                    letters += Pixel(x, y) == ink ? 1 : 0;
                    other += Pixel(x, y) != ink && Pixel(x, y) != panel ? 1 : 0;
                }
            }
            EXPECT_GT(letters, 20);
            EXPECT_EQ(other, 0) << "band " << band.Left << "," << band.Top << " on colour " << back;
        }
    }
}

TEST_F(KeyingChartTest, TheKeyingIsASquareWaveOverTheAxesClippedToThePlot) {
    // The program's points: the level markers, then one transition each 100 ms.
    m_series->AppendXY(0, 1.2);
    m_series->AppendXY(0, -0.1);
    m_series->AppendXY(0, 0);
    for (int t = 100; t <= 1000; t += 100) {
        const double was = (t / 100) % 2 == 1 ? 0 : 1;
        m_series->AppendXY(t, was);
        m_series->AppendXY(t, 1 - was);
    }
    m_chart.Paint();
    chart::TChartAxis& bottom = m_chart.BottomAxis();
    chart::TChartAxis& left = m_chart.LeftAxis();
    EXPECT_DOUBLE_EQ(bottom.CurrentMinimum(), 0);
    EXPECT_DOUBLE_EQ(bottom.CurrentMaximum(), 1000);
    EXPECT_DOUBLE_EQ(left.CurrentMinimum(), -0.1);
    EXPECT_DOUBLE_EQ(left.CurrentMaximum(), 1.2);
    // Only the left and bottom axes are shown; they took room from the chart rectangle.
    EXPECT_TRUE(m_chart.IsAxisShown(bottom));
    EXPECT_TRUE(m_chart.IsAxisShown(left));
    EXPECT_FALSE(m_chart.IsAxisShown(m_chart.TopAxis()));
    EXPECT_FALSE(m_chart.IsAxisShown(m_chart.RightAxis()));
    EXPECT_FALSE(m_chart.IsAxisShown(m_chart.DepthAxis()));
    EXPECT_GT(m_chart.PlotRect().Left, 23);

    const gfx::TColorRef blue = gfx::ColorToRGB(gfx::clBlue);
    const int32_t y0 = left.ValueToYPos(0);
    const int32_t y1 = left.ValueToYPos(1);
    // High between 100 and 200 ms, low between 200 and 300 ms, vertical edges at each.
    EXPECT_EQ(Pixel(bottom.ValueToXPos(150), y1), blue);
    EXPECT_EQ(Pixel(bottom.ValueToXPos(250), y0), blue);
    EXPECT_EQ(Pixel(bottom.ValueToXPos(200), (y0 + y1) / 2), blue);
    EXPECT_NE(Pixel(bottom.ValueToXPos(150), y0), blue);
    EXPECT_NE(Pixel(bottom.ValueToXPos(250), y1), blue);
    // Two pixels thick.
    EXPECT_EQ(CountOf(TRect(bottom.ValueToXPos(150), y1 - 2, bottom.ValueToXPos(150) + 1, y1 + 3),
                      gfx::clBlue),
              2);
    // Nothing of the line outside the plot rectangle.
    const TRect plot = m_chart.PlotRect();
    EXPECT_EQ(CountOf(TRect(0, 0, 768, plot.Top), gfx::clBlue) -
                  CountOf(TRect(0, 0, 768, plot.Top - 5), gfx::clBlue),
              0);
    EXPECT_EQ(CountOf(TRect(0, plot.Bottom + 1, 768, 249), gfx::clBlue), 0);
}

TEST(ChartPagingTest, PagesClampAndFollowTheLimit) {
    TChart chart(nullptr);
    auto* series = new TLineSeries(nullptr);
    chart.AddSeries(series);
    for (int i = 0; i < 25; ++i) {
        series->AppendXY(i, i);
    }
    int changes = 0;
    chart.SetOnPageChange(Handler([&changes](classes::TPersistent*) { ++changes; }));
    EXPECT_EQ(chart.NumPages(), 1);
    chart.SetMaxPointsPerPage(10);
    EXPECT_EQ(chart.NumPages(), 3);
    chart.SetPage(0);
    EXPECT_EQ(chart.Page(), 1);
    EXPECT_EQ(changes, 0);
    chart.SetPage(7);
    EXPECT_EQ(chart.Page(), 3);
    chart.SetPage(3);
    EXPECT_EQ(changes, 1);
    chart.SetMaxPointsPerPage(20);  // two pages now: the page follows
    EXPECT_EQ(chart.Page(), 2);
    try {
        chart.SetMaxPointsPerPage(-1);
        FAIL() << "no exception";
    } catch (const chart::ChartException& e) {
        EXPECT_STREQ(e.what(), "MaxPointsPerPage must be >= 0");
    }
    EXPECT_EQ(chart.MaxPointsPerPage(), 20);
    // The axes take the current page's points: 20 .. 24.
    chart.SetBounds(0, 0, 300, 200);
    chart.Paint();
    EXPECT_DOUBLE_EQ(chart.BottomAxis().CurrentMinimum(), 20);
    EXPECT_DOUBLE_EQ(chart.BottomAxis().CurrentMaximum(), 24);
}

TEST(ChartAxesTest, AChartWithoutSeriesShowsItsFourSideAxes) {
    TChart chart(nullptr);
    chart.SetView3D(false);
    EXPECT_EQ(chart.AxesList().size(), 5u);
    EXPECT_TRUE(chart.IsAxisShown(chart.TopAxis()));
    EXPECT_TRUE(chart.IsAxisShown(chart.RightAxis()));
    EXPECT_FALSE(chart.IsAxisShown(chart.DepthAxis()));
    EXPECT_EQ(chart.LeftAxis().DefaultTitleAngle(), 90);
    EXPECT_EQ(chart.RightAxis().DefaultTitleAngle(), 270);
    EXPECT_TRUE(chart.DepthAxis().IsZAxis());
    chart.SetBounds(0, 0, 300, 200);
    chart.Paint();
    EXPECT_DOUBLE_EQ(chart.BottomAxis().CurrentMinimum(), 0);
    EXPECT_DOUBLE_EQ(chart.BottomAxis().CurrentMaximum(), 0);
    EXPECT_EQ(chart.DepthExtent(), 0);
}

TEST(ChartDepthTest, InThreeDimensionsTheFirstSeriesStandsAtTheBack) {
    TChart chart(nullptr);
    chart.SetBounds(0, 0, 700, 300);
    chart.SetView3D(true);
    auto* a = new TLineSeries(nullptr);
    auto* b = new TLineSeries(nullptr);
    chart.AddSeries(a);
    chart.AddSeries(b);
    a->AppendXY(0, 0);
    b->AppendXY(1, 1);
    chart.Paint();
    EXPECT_EQ(chart.MaxDepthIndex(), 1);
    EXPECT_EQ(a->AutoDepth(), 1);
    EXPECT_EQ(b->AutoDepth(), 0);
    const int32_t slot = chart.SeriesDepth();
    // 15 per mille of the plot width before the depth took its room from it.
    EXPECT_NEAR(slot, (chart.PlotWidth() + chart.DepthExtent()) * 0.015, 1.0);
    EXPECT_EQ(chart.DepthExtent(), 2 * slot);
    EXPECT_EQ(a->StartZ(), slot);
    EXPECT_EQ(a->EndZ(), 2 * slot);
    EXPECT_EQ(b->MiddleZ(), slot / 2);
    EXPECT_FALSE(chart.IsAxisShown(chart.DepthAxis()));  // not Visible unless asked
    chart.DepthAxis().SetVisible(true);
    EXPECT_TRUE(chart.IsAxisShown(chart.DepthAxis()));

    chart.SetView3D(false);
    chart.Paint();
    EXPECT_EQ(chart.DepthExtent(), 0);
    EXPECT_EQ(a->StartZ(), 0);
    EXPECT_EQ(b->StartZ(), 0);
}

TEST(ChartAssignTest, CopyingAChartCopiesItsPartsAxesAndPanelSettings) {
    TChart source(nullptr);
    source.Title().Text().Add("Morse waveform");
    source.Title().SetAlignment(chart::TTitleAlignment::taLeftJustify);
    source.Foot().Text().Add("foot");
    source.BackWall().SetColor(gfx::clYellow);
    source.LeftWall().SetSize(4);
    source.SetBackImageInside(true);
    source.SetClipPoints(false);
    source.SetMaxPointsPerPage(10);
    source.LeftAxis().SetInverted(true);
    source.SetColor(kLightCyan);
    TChart copy(nullptr);
    copy.Assign(source);
    ASSERT_EQ(copy.Title().Text().Count(), 1);
    EXPECT_EQ(copy.Title().Text().Strings(0), "Morse waveform");
    EXPECT_EQ(copy.Title().Alignment(), chart::TTitleAlignment::taLeftJustify);
    EXPECT_EQ(copy.Foot().Text().Strings(0), "foot");
    EXPECT_EQ(copy.BackWall().Color(), gfx::clYellow);
    EXPECT_EQ(copy.LeftWall().Size(), 4);
    EXPECT_TRUE(copy.BackImageInside());
    EXPECT_FALSE(copy.ClipPoints());
    EXPECT_EQ(copy.MaxPointsPerPage(), 10);
    EXPECT_TRUE(copy.LeftAxis().Inverted());
    EXPECT_FALSE(copy.BottomAxis().Inverted());
    EXPECT_EQ(copy.Color(), kLightCyan);
}

// Logs each point it draws; draws index 1 of a shared slot in reverse series order.
class TPointLoggingSeries : public TLineSeries {
  public:
    TPointLoggingSeries(std::vector<std::string>& log, std::string name)
        : TLineSeries(nullptr), m_log(log), m_name(std::move(name)) {}
    void DrawPoint(int32_t index) override { m_log.push_back(m_name + std::to_string(index)); }
    bool SeriesOrderAtIndex(int32_t index) const override { return index != 1; }

  private:
    std::vector<std::string>& m_log;
    std::string m_name;
};

TEST(ChartDepthTest, SeriesSharingASlotDrawIndexByIndex) {
    TChart chart(nullptr);
    chart.SetBounds(0, 0, 400, 300);
    chart.SetView3D(true);
    std::vector<std::string> log;
    auto* a = new TPointLoggingSeries(log, "a");
    auto* b = new TPointLoggingSeries(log, "b");
    auto* alone = new TPointLoggingSeries(log, "c");
    for (TPointLoggingSeries* s : {a, b, alone}) {
        chart.AddSeries(s);
    }
    a->SetDepthIndex(0);
    b->SetDepthIndex(0);
    alone->SetDepthIndex(1);
    for (int i = 0; i < 3; ++i) {
        a->AppendXY(i, i);
        b->AppendXY(i, i);
    }
    b->AppendXY(3, 3);
    alone->AppendXY(0, 0);
    chart.Paint();
    const std::vector<std::string> expected{"a0", "b0", "b1", "a1", "a2", "b2", "b3", "c0"};
    EXPECT_EQ(log, expected);

    // A series numbered by the chart and one with its own slot index: the first stands at the
    // back (index 1 - 0), the second at the front (1 - 1); they share nothing.
    log.clear();
    alone->SetActive(false);
    a->SetDepthIndex(-1);
    b->SetDepthIndex(1);
    chart.Paint();
    EXPECT_EQ(a->StartZ(), chart.SeriesDepth());
    EXPECT_EQ(b->StartZ(), 0);
    const std::vector<std::string> apart{"a0", "a1", "a2", "b0", "b1", "b2", "b3"};
    EXPECT_EQ(log, apart);
    alone->SetActive(true);

    // Flat, every series draws on its own.
    log.clear();
    chart.SetView3D(false);
    chart.Paint();
    const std::vector<std::string> flat{"a0", "a1", "a2", "b0", "b1", "b2", "b3", "c0"};
    EXPECT_EQ(log, flat);
}

TEST(ChartSeriesListTest, RemovingTheSeriesWhoseCursorIsShownRestoresTheChartsCursor) {
    TChart chart(nullptr);
    chart.SetSavedCursor(-21);
    auto* hand = new TLineSeries(nullptr);
    auto* other = new TLineSeries(nullptr);
    hand->SetCursor(-21 + 1);
    other->SetCursor(-3);
    chart.AddSeries(hand);
    chart.AddSeries(other);
    chart.SetCursor(hand->Cursor());  // the mouse is over one of its points
    chart.RemoveSeries(other);
    EXPECT_EQ(chart.Cursor(), hand->Cursor());
    chart.RemoveSeries(hand);
    EXPECT_EQ(chart.Cursor(), -21);
    chart.RemoveSeries(hand);  // not listed any more: nothing
    EXPECT_EQ(hand->ParentChart(), nullptr);
    delete hand;
    delete other;
}

// A bare root component standing in for the main window.
class TChartForm : public forms::TWinControl {
  public:
    explicit TChartForm(classes::TComponent* owner) : forms::TWinControl(owner) {}
    static const classes::TClassInfo& StaticClass() {
        static const classes::TClassInfo info =
            classes::TClassBuilder<TChartForm>("TChartForm", &forms::TWinControl::StaticClass())
                .Build();
        return info;
    }
    const classes::TClassInfo& ClassInfo() const override { return StaticClass(); }
};

TEST(ChartPartsDesignDataTest, TheMainChartsTitleWallAndLineSettingsReadAndRoundTrip) {
    chart::RegisterChartClasses();
    const char* const text = R"(object Form1: TChartForm
  object Chart1: TChart
    Width = 768
    Height = 249
    BackWall.Brush.Color = clWhite
    BackWall.Brush.Style = bsClear
    Title.Font.Color = clBlue
    Title.Font.Height = -16
    Title.Font.Name = 'Arial'
    Title.Font.Style = []
    Title.Text = (
      'Morse waveform')
    View3D = False
    object Series1: TLineSeries
      SeriesColor = clBlue
      LinePen.Width = 2
      Pointer.InflateMargins = True
      Pointer.Style = psRectangle
      Pointer.Visible = False
    end
  end
end
)";
    TChartForm form(nullptr);
    classes::ReadComponent(text, form);
    auto* chart1 = dynamic_cast<TChart*>(form.FindComponent("Chart1"));
    auto* series1 = dynamic_cast<TLineSeries*>(form.FindComponent("Series1"));
    ASSERT_NE(chart1, nullptr);
    ASSERT_NE(series1, nullptr);
    ASSERT_EQ(chart1->Title().Text().Count(), 1);
    EXPECT_EQ(chart1->Title().Text().Strings(0), "Morse waveform");
    EXPECT_EQ(chart1->Title().Font().Height(), -16);
    EXPECT_EQ(chart1->Title().Font().Color(), gfx::clBlue);
    EXPECT_EQ(chart1->BackWall().Brush().Color(), gfx::clWhite);
    EXPECT_EQ(chart1->BackWall().Brush().Style(), gfx::TBrushStyle::bsClear);
    EXPECT_EQ(chart1->BackWall().Color(), chart::clSeriesDefault);
    EXPECT_EQ(chart1->LeftWall().Color(), 0x80FFFFu);
    EXPECT_EQ(series1->LinePen().Width(), 2);
    EXPECT_FALSE(series1->Pointer().Visible());
    EXPECT_EQ(series1->Pointer().Style(), chart::TSeriesPointerStyle::psRectangle);

    const std::string written = classes::WriteComponent(form);
    for (const char* line : {"BackWall.Brush.Color = clWhite", "BackWall.Brush.Style = bsClear",
                             "LinePen.Width = 2", "Pointer.Visible = False"}) {
        EXPECT_NE(written.find(line), std::string::npos) << line << "\n" << written;
    }
    // Walls keep their own default colours out of the design data.
    EXPECT_EQ(written.find("LeftWall.Color"), std::string::npos) << written;
    EXPECT_EQ(written.find("Foot."), std::string::npos) << written;
    TChartForm again(nullptr);
    classes::ReadComponent(written, again);
    EXPECT_EQ(classes::WriteComponent(again), written);
}

}  // namespace
