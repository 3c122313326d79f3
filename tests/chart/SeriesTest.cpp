// The series point store: ordered insertion of whole points, the add and clear events, repaint
// requests through the chart, colours, labels, texts and linked series.
#include "chart/engine/Series.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/component/Chart.h"
#include "chart/messages/ChartMessages.h"
#include "chart/series/LineSeries.h"

namespace {

using chart::clSeriesDefault;
using chart::TChart;
using chart::TChartSeries;
using chart::TLineSeries;

// A chart owning one line series, as a form holds them.
class SeriesTest : public ::testing::Test {
  protected:
    SeriesTest() : chart(new TChart(&form)), series(new TLineSeries(&form)) {
        series->SetParentChart(chart);
        series->SetSeriesColor(gfx::clBlue);
    }

    // Repaint requests since the last call.
    int64_t Repaints() {
        const int64_t now = chart->RepaintRequestCount();
        const int64_t delta = now - m_lastRepaints;
        m_lastRepaints = now;
        return delta;
    }

    static std::vector<std::pair<double, double>> Points(const TChartSeries& s) {
        std::vector<std::pair<double, double>> out;
        for (int32_t i = 0; i < s.PointCount(); ++i) {
            out.emplace_back(s.XValueAt(i), s.YValueAt(i));
        }
        return out;
    }

    classes::TComponent form{nullptr};
    TChart* chart;
    TLineSeries* series;
    int64_t m_lastRepaints = 0;
};

using TPointList = std::vector<std::pair<double, double>>;

TEST_F(SeriesTest, SquareWaveEdgesKeepTheirOrderAndEarlierPointsCarryTheirData) {
    EXPECT_EQ(series->AppendXY(0, 0, "a", gfx::clRed), 0);
    EXPECT_EQ(series->AppendXY(0, 1, "b"), 1);
    EXPECT_EQ(series->AppendXY(-1, 5, "c", gfx::clLime), 0);
    EXPECT_EQ(Points(*series), (TPointList{{-1, 5}, {0, 0}, {0, 1}}));
    EXPECT_EQ(series->PointLabel(0), "c");
    EXPECT_EQ(series->PointColor(0), gfx::clLime);
    EXPECT_EQ(series->PointLabel(1), "a");
    EXPECT_EQ(series->PointColor(1), gfx::clRed);
    EXPECT_EQ(series->PointLabel(2), "b");
    EXPECT_EQ(series->PointColor(2), gfx::clBlue);  // no own colour: the series colour
    EXPECT_EQ(series->LowestX(), -1);
    EXPECT_EQ(series->HighestY(), 5);
}

TEST_F(SeriesTest, RefusedPointStoresNothingAndFiresNothing) {
    int afterAdds = 0;
    double stagedX = 0;
    series->SetOnBeforeAdd([&](TChartSeries& s) {
        stagedX = s.XValues().PendingValue();
        return stagedX >= 0;
    });
    series->SetOnAfterAdd([&](TChartSeries&, int32_t) { ++afterAdds; });
    Repaints();
    EXPECT_EQ(series->AppendXY(-3, 1), -1);
    EXPECT_EQ(stagedX, -3);
    EXPECT_EQ(series->PointCount(), 0);
    EXPECT_EQ(afterAdds, 0);
    EXPECT_EQ(Repaints(), 0);
    EXPECT_EQ(series->AppendXY(2, 1), 0);
    EXPECT_EQ(afterAdds, 1);
    EXPECT_EQ(Repaints(), 1);
}

TEST_F(SeriesTest, InactiveSeriesStoresAndFiresButDoesNotRepaint) {
    std::vector<int32_t> added;
    series->SetOnAfterAdd([&](TChartSeries&, int32_t index) { added.push_back(index); });
    series->SetActive(false);
    Repaints();
    series->AppendXY(5, 1);
    series->AppendXY(1, 2);
    EXPECT_EQ(added, (std::vector<int32_t>{0, 0}));
    EXPECT_EQ(series->PointCount(), 2);
    EXPECT_EQ(Repaints(), 0);
    series->DeletePoint(0);
    EXPECT_EQ(Repaints(), 0);
}

TEST_F(SeriesTest, ClearPointsFiresAndRepaintsEvenWhenEmpty) {
    int clears = 0;
    series->SetOnClearValues([&](TChartSeries&) { ++clears; });
    Repaints();
    series->ClearPoints();
    EXPECT_EQ(clears, 1);
    EXPECT_EQ(Repaints(), 1);
    for (int i = 0; i < 10; ++i) {
        series->AppendXY(i, i, "l");
    }
    series->ClearPoints();
    EXPECT_EQ(clears, 2);
    EXPECT_EQ(series->PointCount(), 0);
    EXPECT_EQ(series->YValues().ValueCount(), 0);
    EXPECT_EQ(series->PointLabel(0), "");
    EXPECT_EQ(series->HighestX(), 0);
    EXPECT_EQ(series->AppendXY(3, 4), 0);
}

TEST_F(SeriesTest, FreeingASeriesCallsNoneOfItsHandlers) {
    int calls = 0;
    auto* doomed = new TLineSeries(&form);
    doomed->SetParentChart(chart);
    doomed->AppendXY(1, 1);
    doomed->SetOnClearValues([&](TChartSeries&) { ++calls; });
    Repaints();
    delete doomed;
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(chart->SeriesCount(), 1);
    EXPECT_EQ(Repaints(), 2);  // its points went, and it left the chart
}

TEST_F(SeriesTest, RepaintRequestsStopWhileAutoRepaintIsOff) {
    chart->SetAutoRepaint(false);
    chart->ClearRepaintPending();
    Repaints();
    series->AppendXY(1, 1);
    series->SetTitle("keying");
    EXPECT_EQ(Repaints(), 0);
    EXPECT_FALSE(chart->RepaintPending());
    chart->SetAutoRepaint(true);
    series->SetTitle("keying");  // unchanged: no request
    EXPECT_EQ(Repaints(), 0);
    series->SetTitle("other");
    EXPECT_EQ(Repaints(), 1);
    EXPECT_TRUE(chart->RepaintPending());
}

TEST_F(SeriesTest, SeriesWithoutChartStillStoresPoints) {
    TLineSeries loose(nullptr);
    EXPECT_EQ(loose.AppendXY(1, 2), 0);
    loose.ClearPoints();
    EXPECT_EQ(loose.PointCount(), 0);
}

TEST_F(SeriesTest, ValueAndNullAppendsTakeThePointCountAsX) {
    EXPECT_TRUE(series->YIsMandatory());
    EXPECT_EQ(series->AppendValue(7), 0);
    EXPECT_EQ(series->AppendNullPoint("gap"), 1);
    EXPECT_EQ(Points(*series), (TPointList{{0, 7}, {1, 0}}));
    EXPECT_EQ(series->PointColor(1), gfx::clNone);
    EXPECT_EQ(series->PointLabel(1), "gap");
    EXPECT_EQ(series->PointLabel(0), "");
    EXPECT_EQ(chart->MaxPointCount(), 2);
    series->SetActive(false);
    EXPECT_EQ(chart->MaxPointCount(), 0);
}

TEST_F(SeriesTest, DeletePointRemovesTheWholePointOrFailsWithoutChange) {
    series->AppendXY(1, 10, "one", gfx::clRed);
    series->AppendXY(2, 20, "two", gfx::clLime);
    series->AppendXY(3, 30, "three");
    series->DeletePoint(1);
    EXPECT_EQ(Points(*series), (TPointList{{1, 10}, {3, 30}}));
    EXPECT_EQ(series->PointLabel(1), "three");
    EXPECT_EQ(series->PointColor(1), gfx::clBlue);
    try {
        series->DeletePoint(2);
        FAIL() << "no error";
    } catch (const base::EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (2)");
    }
    EXPECT_EQ(series->PointCount(), 2);
    EXPECT_THROW(series->XValueAt(-1), base::EListError);
    EXPECT_THROW(series->YValueAt(2), base::EListError);
}

TEST_F(SeriesTest, ColorEachPointTakesPaletteColoursByIndexAndResetsWhenTurnedOff) {
    for (int i = 0; i < 17; ++i) {
        series->AppendXY(i, i);
    }
    series->SetPointColor(3, gfx::clNavy);
    series->SetColorEachPoint(true);
    EXPECT_EQ(series->PointColor(0), gfx::clRed);
    EXPECT_EQ(series->PointColor(1), gfx::clGreen);
    EXPECT_EQ(series->PointColor(3), gfx::clNavy);  // its own colour wins
    EXPECT_EQ(series->PointColor(15), gfx::clBlack);
    EXPECT_EQ(series->PointColor(16), gfx::clRed);
    EXPECT_EQ(series->PointColor(17), gfx::clBlue);  // past the end: the series colour
    series->SetColorEachPoint(false);
    EXPECT_EQ(series->PointColor(3), gfx::clBlue);
    EXPECT_EQ(series->StoredPointColor(3), clSeriesDefault);
    EXPECT_EQ(series->PointColor(16), gfx::clBlue);
}

TEST_F(SeriesTest, PercentAndValueTextsUseTheSeriesFormats) {
    EXPECT_EQ(series->ValueFormat(), "#,##0.###");
    EXPECT_EQ(series->PercentFormat(), "##0.## %");
    series->AppendXY(0, 0);
    EXPECT_EQ(series->PercentText(0, false), "100 %");
    series->AppendXY(1, 1234.5);
    series->AppendXY(2, -1234.5);
    EXPECT_EQ(series->ValueText(1), "1,234.5");
    EXPECT_EQ(series->PercentText(1, false), "50 %");
    EXPECT_EQ(series->PercentText(2, false), "50 %");
    EXPECT_EQ(series->PercentText(2, true), "50 % of 2,469");
    EXPECT_EQ(series->LegendItemText(2, chart::TLegendTextStyle::ltsLeftPercent), "-50 % ");
    series->SetPointLabel(1, "mark");
    EXPECT_EQ(series->LabelOrValueText(1), "mark");
    EXPECT_EQ(series->LabelOrValueText(2), "-1,234.5");
    EXPECT_EQ(series->LegendItemText(1, chart::TLegendTextStyle::ltsRightValue), "mark 1,234.5");
}

TEST_F(SeriesTest, ChartGivesAColourlessSeriesTheFirstFreePaletteColour) {
    TLineSeries* second = new TLineSeries(&form);
    chart->AddSeries(second);
    EXPECT_EQ(second->SeriesColor(), gfx::clRed);
    TLineSeries* third = new TLineSeries(&form);
    chart->AddSeries(third);
    EXPECT_EQ(third->SeriesColor(), gfx::clGreen);
    EXPECT_EQ(chart->SeriesCount(), 3);
    EXPECT_EQ(chart->Series(2), third);
    chart->AddSeries(third);  // listed already: nothing
    EXPECT_EQ(chart->SeriesCount(), 3);
    chart->RemoveSeries(second);
    EXPECT_EQ(second->ParentChart(), nullptr);
    EXPECT_EQ(chart->Series(1), third);
    EXPECT_THROW(chart->Series(2), base::EListError);
}

TEST_F(SeriesTest, FreeingASeriesOrTheChartUnlinksTheOther) {
    TLineSeries* second = new TLineSeries(&form);
    second->SetParentChart(chart);
    delete second;
    EXPECT_EQ(chart->SeriesCount(), 1);
    delete chart;  // frees its series too
    EXPECT_EQ(form.ComponentCount(), 0);
}

TEST_F(SeriesTest, LinkedSeriesFollowTheirSourceByMask) {
    TLineSeries* copy = new TLineSeries(&form);
    copy->SetParentChart(chart);
    series->AppendXY(1, 10, "first", gfx::clRed);
    copy->SetDataSource(series);
    EXPECT_EQ(Points(*copy), (TPointList{{1, 10}}));
    EXPECT_EQ(copy->PointLabel(0), "first");
    EXPECT_EQ(copy->PointColor(0), gfx::clRed);

    series->AppendXY(0, 5);
    EXPECT_EQ(Points(*copy), (TPointList{{0, 5}, {1, 10}}));
    series->DeletePoint(0);
    EXPECT_EQ(Points(*copy), (TPointList{{1, 10}}));
    series->YValues().SetValueAt(0, 11);
    EXPECT_EQ(Points(*copy), (TPointList{{1, 11}}));
    series->YValues().SetMultiplier(2);  // a refresh is always followed
    EXPECT_EQ(Points(*copy), (TPointList{{1, 22}}));

    copy->SetLinkEventMask(chart::kLinkCleared);
    series->AppendXY(7, 7);
    EXPECT_EQ(copy->PointCount(), 1);
    series->ClearPoints();
    EXPECT_EQ(copy->PointCount(), 0);

    // Appending on the copy after it missed points keeps its lists aligned.
    copy->SetLinkEventMask(chart::kLinkAll);
    series->AppendXY(3, 3);
    EXPECT_EQ(copy->AppendXY(4, 4, "own"), 1);
    EXPECT_EQ(copy->PointLabel(1), "own");
}

TEST_F(SeriesTest, DataSourceErrors) {
    auto messageOf = [](const std::function<void()>& action) -> std::string {
        try {
            action();
        } catch (const chart::ChartException& e) {
            return e.Message();
        }
        return "<no error>";
    };
    EXPECT_EQ(messageOf([&] { series->SetDataSource(series); }), "No valid DataSource: ");
    series->SetName("Series1");
    EXPECT_EQ(messageOf([&] { series->SetDataSource(series); }), "No valid DataSource: Series1");
    TLineSeries loose(nullptr);
    EXPECT_EQ(messageOf([&] { loose.SetDataSource(series); }),
              "No ParentChart to validate DataSource");

    TLineSeries* b = new TLineSeries(&form);
    TLineSeries* c = new TLineSeries(&form);
    b->SetParentChart(chart);
    c->SetParentChart(chart);
    b->SetDataSource(series);
    c->SetDataSource(b);
    EXPECT_EQ(messageOf([&] { series->SetDataSource(c); }),
              "Circular Series dependences are not allowed");
    EXPECT_EQ(series->DataSource(), nullptr);
    EXPECT_EQ(series->LinkedSeriesCount(), 1);

    series->AppendXY(1, 1);
    EXPECT_EQ(c->PointCount(), 1);
    delete b;  // c loses its source and the points it had from it
    EXPECT_EQ(c->DataSource(), nullptr);
    EXPECT_EQ(c->PointCount(), 0);
    EXPECT_EQ(series->LinkedSeriesCount(), 0);
    // A dependant of several sources reloads from those left when one is freed.
    TLineSeries* d = new TLineSeries(&form);
    d->SetParentChart(chart);
    d->SetDataSource(c);
    d->AddDataSource(series);
    c->AppendXY(2, 2);
    ASSERT_EQ(d->PointCount(), 1);
    EXPECT_EQ(d->XValueAt(0), 2);
    delete c;
    EXPECT_EQ(d->DataSource(), series);
    ASSERT_EQ(d->PointCount(), 1);
    EXPECT_EQ(d->XValueAt(0), 1);
    // Setting an empty source on a series that has none empties it too, at run time.
    d->AppendXY(5, 5);
    d->SetDataSource(nullptr);
    EXPECT_EQ(d->PointCount(), 0);
}

TEST_F(SeriesTest, MarksSettersRepaintOnlyOnChange) {
    chart::TSeriesMarks& marks = series->Marks();
    EXPECT_FALSE(marks.Visible());
    EXPECT_EQ(marks.ArrowLength(), 8);
    EXPECT_EQ(marks.Style(), chart::TSeriesMarksStyle::smsLabel);
    EXPECT_TRUE(marks.IsDefaultFont());
    Repaints();
    marks.SetVisible(false);
    EXPECT_EQ(Repaints(), 0);
    marks.SetArrowLength(12);
    marks.Font().SetSize(10);
    EXPECT_EQ(Repaints(), 2);
    EXPECT_FALSE(marks.IsDefaultFont());
    marks.Position(3).Custom = true;
    EXPECT_EQ(marks.PositionCount(), 4);
    marks.DeletePosition(0);
    EXPECT_TRUE(marks.Position(2).Custom);
}

}  // namespace
