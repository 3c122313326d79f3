// Copying a series, sample values, series settings in design data with their sources linked
// after loading, custom axes, click events, and the depth axis without series.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "chart/component/Chart.h"
#include "chart/engine/Series.h"
#include "chart/messages/ChartMessages.h"
#include "chart/series/LineSeries.h"
#include "classes/ClassBuilder.h"
#include "classes/DesignData.h"

namespace {

using chart::TChart;
using chart::TChartSeries;
using chart::TLineSeries;
using chart::TSeriesMarksStyle;

// A bare root component standing in for a form.
class TSeriesForm : public forms::TWinControl {
  public:
    explicit TSeriesForm(classes::TComponent* owner) : forms::TWinControl(owner) {}
    static const classes::TClassInfo& StaticClass() {
        static const classes::TClassInfo info =
            classes::TClassBuilder<TSeriesForm>("TSeriesForm", &forms::TWinControl::StaticClass())
                .Build();
        return info;
    }
    const classes::TClassInfo& ClassInfo() const override { return StaticClass(); }
};

std::vector<std::pair<double, double>> Points(const TChartSeries& s) {
    std::vector<std::pair<double, double>> out;
    for (int32_t i = 0; i < s.PointCount(); ++i) {
        out.emplace_back(s.XValueAt(i), s.YValueAt(i));
    }
    return out;
}

TEST(SeriesAssignTest, CopiesEverySettingAndThePoints) {
    classes::TComponent form(nullptr);
    auto* chart1 = new TChart(&form);
    auto* source = new TLineSeries(&form);
    source->SetParentChart(chart1);
    source->SetTag(7);
    source->AppendXY(1, 10, "one", gfx::clGreen);
    source->AppendXY(2, 20);
    source->SetSeriesColor(gfx::clNavy);
    source->SetColorEachPoint(true);
    source->SetTitle("Source");
    source->SetValueFormat("0.0");
    source->SetPercentFormat("0 %");
    source->SetActive(false);
    source->SetHorizAxis(chart::THorizAxis::aTopAxis);
    source->SetVertAxis(chart::TVertAxis::aRightAxis);
    source->SetLinkEventMask(chart::kLinkAdded);
    source->SetCursor(-21);
    source->SetShowInLegend(false);
    source->SetDepthIndex(3);
    source->SetXLabelsSource("labels");
    source->SetColorSource("colours");
    source->XValues().SetDateTime(true);
    source->YValues().SetValueSource("level");
    source->Marks().SetVisible(true);
    source->Marks().SetStyle(TSeriesMarksStyle::smsPercent);
    source->Marks().SetBackColor(gfx::clAqua);
    source->Marks().SetArrowLength(12);
    source->Marks().SetClip(true);
    source->Marks().SetTransparent(true);
    source->Marks().Arrow().SetColor(gfx::clRed);
    source->Marks().Frame().SetWidth(2);
    source->Marks().Font().SetSize(11);

    auto* copy = new TLineSeries(&form);
    copy->SetParentChart(chart1);
    copy->Assign(*source);
    EXPECT_EQ(copy->Tag(), 7);
    EXPECT_EQ(Points(*copy), Points(*source));
    EXPECT_EQ(copy->PointLabel(0), "one");
    EXPECT_EQ(copy->StoredPointColor(0), gfx::clGreen);
    EXPECT_EQ(copy->SeriesColor(), gfx::clNavy);
    EXPECT_TRUE(copy->ColorEachPoint());
    EXPECT_EQ(copy->Title(), "Source");
    EXPECT_EQ(copy->ValueFormat(), "0.0");
    EXPECT_EQ(copy->PercentFormat(), "0 %");
    EXPECT_FALSE(copy->Active());
    EXPECT_EQ(copy->HorizAxis(), chart::THorizAxis::aTopAxis);
    EXPECT_EQ(copy->VertAxis(), chart::TVertAxis::aRightAxis);
    EXPECT_EQ(copy->HorizontalAxisRef(), &chart1->TopAxis());
    EXPECT_EQ(copy->VerticalAxisRef(), &chart1->RightAxis());
    EXPECT_EQ(copy->LinkEventMask(), chart::kLinkAdded);
    EXPECT_EQ(copy->Cursor(), -21);
    EXPECT_FALSE(copy->ShowInLegend());
    EXPECT_EQ(copy->DepthIndex(), 3);
    EXPECT_EQ(copy->XLabelsSource(), "labels");
    EXPECT_EQ(copy->ColorSource(), "colours");
    EXPECT_TRUE(copy->XValues().DateTime());
    EXPECT_EQ(copy->YValues().ValueSource(), "level");
    EXPECT_TRUE(copy->Marks().Visible());
    EXPECT_EQ(copy->Marks().Style(), TSeriesMarksStyle::smsPercent);
    EXPECT_EQ(copy->Marks().BackColor(), gfx::clAqua);
    EXPECT_EQ(copy->Marks().ArrowLength(), 12);
    EXPECT_TRUE(copy->Marks().Clip());
    EXPECT_TRUE(copy->Marks().Transparent());
    EXPECT_EQ(copy->Marks().Arrow().Color(), gfx::clRed);
    EXPECT_EQ(copy->Marks().Frame().Width(), 2);
    EXPECT_EQ(copy->Marks().Font().Size(), 11);

    // A copy made from a series fed by another takes the source, not the points.
    auto* fed = new TLineSeries(&form);
    fed->SetParentChart(chart1);
    fed->SetDataSource(source);
    auto* second = new TLineSeries(&form);
    second->SetParentChart(chart1);
    second->Assign(*fed);
    EXPECT_EQ(second->DataSource(), source);
    EXPECT_EQ(Points(*second), Points(*source));
    source->AppendXY(3, 30);
    EXPECT_EQ(second->PointCount(), 3);

    // Only series are copied.
    EXPECT_THROW(copy->Assign(chart1->BottomAxis()), base::Exception);
}

TEST(SeriesAssignTest, YMandatoryMismatchCopiesTheListsCrosswise) {
    // A series whose X values are the plotted ones.
    class THorizontalSeries : public TChartSeries {
      public:
        using TChartSeries::TChartSeries;
        chart::TChartValueList& MandatoryValueList() override { return XValues(); }
    };
    TChartSeries source(nullptr);
    source.XValues().SetDateTime(true);
    source.YValues().SetValueSource("level");
    source.AppendXY(1, 10);
    THorizontalSeries copy(nullptr);
    copy.Assign(source);
    EXPECT_FALSE(copy.XValues().DateTime());
    EXPECT_EQ(copy.XValues().ValueSource(), "level");
    EXPECT_TRUE(copy.YValues().DateTime());
    EXPECT_EQ(copy.YValues().Order(), chart::TChartListOrder::loAscending);
    ASSERT_EQ(copy.PointCount(), 1);
    EXPECT_EQ(copy.XValueAt(0), 10);
    EXPECT_EQ(copy.YValueAt(0), 1);
}

TEST(SeriesSampleTest, FillsNumValuesPointsOverTheDefaultRanges) {
    TChartSeries series(nullptr);
    EXPECT_EQ(series.SampleValueCount(), 26);
    series.AppendXY(5, 5);
    try {
        series.FillSampleValues(0);
        FAIL() << "no error";
    } catch (const chart::ChartException& e) {
        EXPECT_EQ(e.Message(), "FillSampleValues NumValues must be > 0");
    }
    EXPECT_EQ(series.PointCount(), 1);  // nothing cleared

    series.FillSampleValues(11);
    ASSERT_EQ(series.PointCount(), 11);
    for (int32_t i = 0; i < 11; ++i) {
        EXPECT_DOUBLE_EQ(series.XValueAt(i), i);  // 0 .. 10 in steps of 1
        EXPECT_GE(series.YValueAt(i), 0);
        // Each step moves by less than an eighth of the 1000 range from a start below 1000.
        EXPECT_LT(series.YValueAt(i), 1000 + 125 * (i + 1));
        EXPECT_EQ(series.StoredPointColor(i), chart::clSeriesDefault);
        EXPECT_EQ(series.PointLabel(i), "");
    }
    series.FillSampleValues(1);
    EXPECT_EQ(Points(series).size(), 1u);
    EXPECT_EQ(series.XValueAt(0), 0);
}

TEST(SeriesSampleTest, InAChartTheOtherSeriesGiveTheRanges) {
    TChart chart1(nullptr);
    auto* other = new TChartSeries(nullptr);
    chart1.AddSeries(other);
    other->AppendXY(100, 500);
    other->AppendXY(200, 600);
    auto* series = new TChartSeries(nullptr);
    chart1.AddSeries(series);
    const int64_t before = chart1.RepaintRequestCount();
    series->FillSampleValues(5);
    // One repaint request for the clear, none for the points.
    EXPECT_EQ(chart1.RepaintRequestCount() - before, 1);
    EXPECT_TRUE(chart1.AutoRepaint());
    ASSERT_EQ(series->PointCount(), 5);
    for (int32_t i = 0; i < 5; ++i) {
        EXPECT_DOUBLE_EQ(series->XValueAt(i), 100 + 25 * i);
        EXPECT_GE(series->YValueAt(i), 0);
    }
    // Linked series follow the new points.
    auto* linked = new TChartSeries(nullptr);
    chart1.AddSeries(linked);
    linked->SetDataSource(series);
    series->FillSampleValues(3);
    EXPECT_EQ(Points(*linked), Points(*series));
}

TEST(SeriesSampleTest, DateTimeSeriesStartToday) {
    TChartSeries series(nullptr);
    series.XValues().SetDateTime(true);
    series.FillSampleValues(3);
    const double today = series.XValueAt(0);
    // Whole days after 2020-01-01 (43831) and before 2200.
    EXPECT_EQ(today, std::floor(today));
    EXPECT_GT(today, 43831);
    EXPECT_LT(today, 109575);
    EXPECT_EQ(series.XValueAt(2), today + 2);
}

TEST(SeriesSampleTest, GalleryPreviewAndDesignTimeFill) {
    TChart chart1(nullptr);
    auto* series = new TChartSeries(nullptr);
    chart1.AddSeries(series);
    series->Marks().SetVisible(true);
    series->SetColorEachPoint(true);
    series->SetSeriesColor(gfx::clRed);
    series->PrepareGalleryPreview(true);
    EXPECT_EQ(series->PointCount(), 4);
    EXPECT_FALSE(series->Marks().Visible());
    EXPECT_FALSE(series->ColorEachPoint());
    EXPECT_EQ(series->SeriesColor(), gfx::clRed);
    series->PrepareGalleryPreview(false);
    EXPECT_EQ(series->SeriesColor(), 0xC0C0C0u);

    // At design time a series joining a chart shows sample points; at run time it stays empty.
    auto* runTime = new TChartSeries(nullptr);
    chart1.AddSeries(runTime);
    EXPECT_EQ(runTime->PointCount(), 0);
    chart1.SetDesigning(true);
    auto* designed = new TChartSeries(nullptr);
    chart1.AddSeries(designed);
    EXPECT_EQ(designed->PointCount(), 26);
    // Losing its source, a designed series shows sample points again; at run time none.
    designed->SetDataSource(runTime);
    EXPECT_EQ(designed->PointCount(), 0);
    designed->SetDataSource(nullptr);
    EXPECT_EQ(designed->PointCount(), 26);
    chart1.SetDesigning(false);
    designed->SetDataSource(runTime);
    designed->AppendXY(1, 1);
    designed->SetDataSource(nullptr);
    EXPECT_EQ(designed->PointCount(), 0);
}

class SeriesDesignDataTest : public ::testing::Test {
  protected:
    void SetUp() override {
        chart::RegisterChartClasses();
        classes::RegisterClass(TSeriesForm::StaticClass());
    }
};

const char* const kLinkedForm = R"(object Form1: TSeriesForm
  object Chart1: TChart
    Width = 400
    Height = 250
    object Series3: TLineSeries
      DataSource = Series1
      DataSources = (
        'Series1'
        'Series2')
      Identifier = 'sum'
      Style = 37
      Marks.Arrow.Color = clRed
      Marks.ArrowLength = 12
      Marks.BackColor = clAqua
      Marks.Clip = True
      Marks.Frame.Width = 2
      Marks.Style = smsXValue
      Marks.Transparent = True
      Marks.Visible = True
      SeriesColor = clGreen
    end
    object Series1: TLineSeries
      Marks.ArrowLength = 8
      Marks.Visible = False
      SeriesColor = clBlue
    end
    object Series2: TLineSeries
      Marks.ArrowLength = 8
      Marks.Visible = False
      SeriesColor = clRed
    end
  end
end
)";

TEST_F(SeriesDesignDataTest, SourcesNamedBeforeTheyAreReadAreLinkedAfterLoading) {
    TSeriesForm form(nullptr);
    classes::ReadComponent(kLinkedForm, form);
    auto* s1 = dynamic_cast<TLineSeries*>(form.FindComponent("Series1"));
    auto* s2 = dynamic_cast<TLineSeries*>(form.FindComponent("Series2"));
    auto* s3 = dynamic_cast<TLineSeries*>(form.FindComponent("Series3"));
    ASSERT_TRUE(s1 != nullptr && s2 != nullptr && s3 != nullptr);
    ASSERT_EQ(s3->DataSourceCount(), 2);
    EXPECT_EQ(s3->DataSources()[0], s1);
    EXPECT_EQ(s3->DataSources()[1], s2);
    EXPECT_EQ(s1->LinkedSeriesCount(), 1);
    EXPECT_EQ(s2->LinkedSeriesCount(), 1);
    EXPECT_EQ(s3->Identifier(), "sum");
    EXPECT_EQ(s3->StyleFlags(), 37);
    EXPECT_EQ(s3->Marks().Arrow().Color(), gfx::clRed);
    EXPECT_EQ(s3->Marks().ArrowLength(), 12);
    EXPECT_EQ(s3->Marks().Frame().Width(), 2);
    EXPECT_EQ(s3->Marks().Style(), TSeriesMarksStyle::smsXValue);
    EXPECT_TRUE(s3->Marks().Clip());
    EXPECT_TRUE(s3->Marks().Transparent());
    // The linked series follows its first source.
    s1->AppendXY(1, 2);
    EXPECT_EQ(Points(*s3), Points(*s1));

    const std::string written = classes::WriteComponent(form);
    for (const char* line : {"DataSource = Series1", "Identifier = 'sum'", "Style = 37",
                             "Marks.Arrow.Color = clRed", "Marks.Frame.Width = 2"}) {
        EXPECT_NE(written.find("      " + std::string(line) + "\n"), std::string::npos)
            << line << "\n"
            << written;
    }
    EXPECT_NE(written.find("DataSources = (\n        'Series1'\n        'Series2')"),
              std::string::npos)
        << written;
    // The other series store none of them.
    EXPECT_EQ(written.find("Identifier", written.find("object Series1")), std::string::npos);
    TSeriesForm again(nullptr);
    classes::ReadComponent(written, again);
    EXPECT_EQ(classes::WriteComponent(again), written);
}

TEST_F(SeriesDesignDataTest, OneSourceIsWrittenAsDataSourceAloneAndAnUnknownNameIsRefused) {
    TSeriesForm form(nullptr);
    classes::ReadComponent(kLinkedForm, form);
    auto* s1 = dynamic_cast<TLineSeries*>(form.FindComponent("Series1"));
    auto* s3 = dynamic_cast<TLineSeries*>(form.FindComponent("Series3"));
    s3->SetDataSource(nullptr);
    s3->SetDataSource(s1);
    s3->SetIdentifier("");
    s3->SetStyleFlags(0);
    const std::string written = classes::WriteComponent(form);
    EXPECT_NE(written.find("DataSource = Series1"), std::string::npos) << written;
    for (const char* name : {"DataSources", "Identifier", "\n      Style ="}) {
        EXPECT_EQ(written.find(name), std::string::npos) << name << "\n" << written;
    }

    std::string bad = kLinkedForm;
    bad.replace(bad.find("'Series2')"), 10, "'Series9')");
    TSeriesForm broken(nullptr);
    try {
        classes::ReadComponent(bad, broken);
        FAIL() << "no error";
    } catch (const base::Exception& e) {
        EXPECT_EQ(e.Message(), "No valid DataSource: Series9");
    }
}

TEST(SeriesAxesTest, CustomAxesBindTheSeriesAndTakeTheirRange) {
    TChart chart1(nullptr);
    chart1.SetBounds(0, 0, 400, 300);
    chart1.SetView3D(false);
    auto custom = std::make_unique<chart::TChartAxis>(&chart1);
    chart::TCustomChartAxis* axis = custom.get();
    chart1.AddAxis(std::move(custom));
    auto* series = new TChartSeries(nullptr);
    chart1.AddSeries(series);
    series->AppendXY(0, 10);
    series->AppendXY(5, 90);
    EXPECT_EQ(series->VerticalAxisRef(), &chart1.LeftAxis());
    EXPECT_TRUE(series->UsesAxis(chart1.LeftAxis()));
    EXPECT_FALSE(series->UsesAxis(*axis));

    // The custom setting without a custom axis stays on the left axis.
    series->SetVertAxis(chart::TVertAxis::aCustomVertAxis);
    EXPECT_EQ(series->VerticalAxisRef(), &chart1.LeftAxis());
    series->SetCustomVertAxis(axis);
    EXPECT_EQ(series->VerticalAxisRef(), axis);
    EXPECT_TRUE(series->UsesAxis(*axis));
    EXPECT_FALSE(series->UsesAxis(chart1.LeftAxis()));
    EXPECT_FALSE(series->UsesAxis(chart1.DepthAxis()));
    EXPECT_TRUE(series->UsesAxis(chart1.BottomAxis()));
    EXPECT_FALSE(series->UsesAxis(chart1.TopAxis()));

    chart1.Paint();
    EXPECT_EQ(axis->CurrentMinimum(), 10);
    EXPECT_EQ(axis->CurrentMaximum(), 90);
    EXPECT_EQ(chart1.LeftAxis().CurrentMaximum(), 0);  // no series left on it
    EXPECT_TRUE(chart1.IsAxisShown(*axis));
    EXPECT_FALSE(chart1.IsAxisShown(chart1.LeftAxis()));
    // The series' points follow the custom axis.
    EXPECT_EQ(series->PointScreenY(1), axis->ValueToYPos(90));
    EXPECT_EQ(series->PointScreenY(1), axis->StartPixel());

    // Both vertical axes bind with aBothVertAxis; leaving the chart drops the references.
    series->SetVertAxis(chart::TVertAxis::aBothVertAxis);
    EXPECT_TRUE(series->UsesAxis(chart1.LeftAxis()));
    EXPECT_TRUE(series->UsesAxis(chart1.RightAxis()));
    series->SetParentChart(nullptr);
    EXPECT_EQ(series->HorizontalAxisRef(), nullptr);
    EXPECT_EQ(series->VerticalAxisRef(), nullptr);
    EXPECT_EQ(series->CustomVertAxis(), nullptr);
    delete series;
}

TEST(SeriesAxesTest, AnAxisCreatedForAChartIsListedLaidOutAndDrawnUntilFreed) {
    // Created with new for the chart, not through AddAxis: the chart lists it after its own
    // five, lays it out beside the plot without taking room and draws its labels.
    TChart chart1(nullptr);
    chart1.SetBounds(0, 0, 400, 300);
    chart1.SetView3D(false);
    auto* axis = new chart::TChartAxis(&chart1);
    ASSERT_EQ(chart1.AxesList().size(), 6u);
    EXPECT_EQ(chart1.AxesList()[5], axis);
    auto* series = new TChartSeries(nullptr);
    chart1.AddSeries(series);
    series->AppendXY(0, 10);
    series->AppendXY(5, 90);
    series->SetVertAxis(chart::TVertAxis::aCustomVertAxis);
    series->SetCustomVertAxis(axis);
    chart1.Paint();
    EXPECT_EQ(axis->CurrentMinimum(), 10);
    EXPECT_EQ(axis->CurrentMaximum(), 90);
    EXPECT_EQ(axis->StartPixel(), chart1.PlotRect().Top);
    EXPECT_EQ(axis->EndPixel(), chart1.PlotRect().Bottom);
    EXPECT_FALSE(axis->TickPositions().empty());
    // Freed before its chart, it leaves the list and its series; the chart frees the ones
    // still listed.
    delete axis;
    EXPECT_EQ(chart1.AxesList().size(), 5u);
    EXPECT_EQ(series->CustomVertAxis(), nullptr);
    EXPECT_EQ(series->VerticalAxisRef(), &chart1.LeftAxis());
    new chart::TChartAxis(&chart1);
    EXPECT_EQ(chart1.AxesList().size(), 6u);
    delete series;
}

TEST(SeriesAxesTest, JoiningAChartResolvesTheAxisSettings) {
    TChart chart1(nullptr);
    auto* series = new TChartSeries(nullptr);
    series->SetHorizAxis(chart::THorizAxis::aTopAxis);
    series->SetVertAxis(chart::TVertAxis::aRightAxis);
    EXPECT_EQ(series->HorizontalAxisRef(), nullptr);
    series->SetParentChart(&chart1);
    EXPECT_EQ(series->HorizontalAxisRef(), &chart1.TopAxis());
    EXPECT_EQ(series->VerticalAxisRef(), &chart1.RightAxis());
    series->SetHorizAxis(chart::THorizAxis::aBothHorizAxis);
    EXPECT_EQ(series->HorizontalAxisRef(), &chart1.BottomAxis());
}

TEST(SeriesClickTest, DoubleClicksGoToOnDblClickWhenSet) {
    using forms::TMouseButton;
    TChart chart1(nullptr);
    auto* series = new TChartSeries(nullptr);
    chart1.AddSeries(series);
    std::vector<std::string> log;
    EXPECT_FALSE(series->SeriesClicked(0, TMouseButton::mbLeft, 0, 1, 2));
    series->SetOnClick([&log](TChartSeries&, int32_t index, TMouseButton, forms::TShiftState,
                              int32_t x, int32_t y) {
        log.push_back("click " + std::to_string(index) + " " + std::to_string(x) + "," +
                      std::to_string(y));
    });
    EXPECT_TRUE(series->SeriesClicked(3, TMouseButton::mbLeft, forms::ssDouble, 4, 5));
    series->SetOnDblClick([&log](TChartSeries&, int32_t index, TMouseButton button,
                                 forms::TShiftState, int32_t, int32_t) {
        log.push_back("double " + std::to_string(index) +
                      (button == TMouseButton::mbRight ? " right" : ""));
    });
    EXPECT_TRUE(series->SeriesClicked(6, TMouseButton::mbRight, forms::ssDouble, 0, 0));
    EXPECT_TRUE(series->SeriesClicked(7, TMouseButton::mbLeft, forms::ssShift, 0, 0));
    EXPECT_EQ(log, (std::vector<std::string>{"click 3 4,5", "double 6 right", "click 7 0,0"}));
}

TEST(SeriesClickTest, AClickOnThePointInTheChartReachesTheSeriesHandler) {
    // A series whose one point answers the hit test within two pixels.
    class THitSeries : public TChartSeries {
      public:
        using TChartSeries::TChartSeries;
        int32_t PointAtScreen(int32_t x, int32_t y) override {
            return std::abs(x - PointScreenX(0)) <= 2 && std::abs(y - PointScreenY(0)) <= 2 ? 0
                                                                                            : -1;
        }
    };
    TChart chart1(nullptr);
    chart1.SetBounds(0, 0, 300, 200);
    chart1.SetView3D(false);
    auto* series = new THitSeries(nullptr);
    chart1.AddSeries(series);
    series->AppendXY(1, 1);
    series->AppendXY(2, 2);
    chart1.Paint();
    int32_t clicks = 0;
    int32_t doubles = 0;
    series->SetOnClick([&](TChartSeries&, int32_t, forms::TMouseButton, forms::TShiftState, int32_t,
                           int32_t) { ++clicks; });
    series->SetOnDblClick([&](TChartSeries&, int32_t, forms::TMouseButton, forms::TShiftState,
                              int32_t, int32_t) { ++doubles; });
    const int32_t x = series->PointScreenX(0);
    const int32_t y = series->PointScreenY(0);
    chart1.MouseDown(forms::TMouseButton::mbLeft, forms::ssLeft, x, y);
    chart1.MouseUp(forms::TMouseButton::mbLeft, forms::ssLeft, x, y);
    chart1.MouseDown(forms::TMouseButton::mbLeft, forms::ssLeft | forms::ssDouble, x + 1, y);
    chart1.MouseUp(forms::TMouseButton::mbLeft, forms::ssLeft, x + 1, y);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubles, 1);
}

TEST(DepthAxisTest, PlacesNothingWithoutAnActiveSeries) {
    TChart chart1(nullptr);
    chart1.SetBounds(0, 0, 300, 200);
    chart1.SetView3D(true);
    chart1.DepthAxis().SetVisible(true);
    chart1.Paint();
    EXPECT_TRUE(chart1.DepthAxis().TickPositions().empty());

    auto* series = new TChartSeries(nullptr);
    chart1.AddSeries(series);
    series->AppendXY(1, 1);
    chart1.Paint();
    EXPECT_EQ(chart1.DepthAxis().TickPositions().size(), 1u);
    series->SetActive(false);
    chart1.Paint();
    EXPECT_TRUE(chart1.DepthAxis().TickPositions().empty());
}

}  // namespace
