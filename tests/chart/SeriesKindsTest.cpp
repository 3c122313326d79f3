// The registry of series kinds and functions: the standard entries in order with their
// gallery names and pages, duplicate and long registrations, and every kind and function
// named in design data and written back unchanged.
#include "chart/series/SeriesRegistry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Exceptions.h"
#include "chart/component/Chart.h"
#include "chart/engine/ChartFunction.h"
#include "chart/functions/ChartFunctions.h"
#include "chart/messages/ChartMessages.h"
#include "chart/series/AreaPointSeries.h"
#include "chart/series/BarSeries.h"
#include "chart/series/PieSeries.h"
#include "classes/ClassBuilder.h"
#include "classes/DesignData.h"
#include "forms/Control.h"

namespace {

class TKindsForm : public forms::TWinControl {
  public:
    explicit TKindsForm(classes::TComponent* owner) : forms::TWinControl(owner) {}
    static const classes::TClassInfo& StaticClass() {
        static const classes::TClassInfo info =
            classes::TClassBuilder<TKindsForm>("TKindsForm", &forms::TWinControl::StaticClass())
                .Build();
        return info;
    }
    const classes::TClassInfo& ClassInfo() const override { return StaticClass(); }
};

class SeriesKindsTest : public ::testing::Test {
  protected:
    void SetUp() override { chart::RegisterChartClasses(); }
};

TEST_F(SeriesKindsTest, StartUpRegistersSevenKindsThenSevenFunctions) {
    const chart::TChartSeriesTypes* kinds = chart::SeriesKinds();
    ASSERT_NE(kinds, nullptr);
    ASSERT_GE(kinds->Count(), 14);
    const char* const names[] = {"Line",   "Bar",       "Horiz. Bar", "Area",     "Point",
                                 "Pie",    "Fast Line", "Add",        "Subtract", "Multiply",
                                 "Divide", "High",      "Low",        "Average"};
    const char* const classNames[] = {"TLineSeries",       "TBarSeries",      "THorizBarSeries",
                                      "TAreaSeries",       "TPointSeries",    "TPieSeries",
                                      "TFastLineSeries",   "TAddFunction",    "TSubtractFunction",
                                      "TMultiplyFunction", "TDivideFunction", "THighFunction",
                                      "TLowFunction",      "TAverageFunction"};
    for (int32_t i = 0; i < 14; ++i) {
        const chart::TChartSeriesType& entry = kinds->Item(i);
        EXPECT_EQ(entry.Description, names[i]);
        const bool isFunction = i >= 7;
        EXPECT_EQ(entry.GalleryPage, isFunction ? "Functions" : "Standard") << names[i];
        EXPECT_EQ(entry.GalleryCount, names[i] == std::string("Pie") ? 1 : 2) << names[i];
        const classes::TClassInfo* cls = isFunction ? entry.FunctionClass : entry.SeriesClass;
        ASSERT_NE(cls, nullptr);
        EXPECT_EQ(cls->Name(), classNames[i]);
        EXPECT_EQ(isFunction ? entry.SeriesClass : entry.FunctionClass, nullptr);
        // Design data can name every one of them.
        EXPECT_EQ(classes::FindClass(classNames[i]), cls);
    }
    try {
        (void)kinds->Item(kinds->Count());
        FAIL() << "no exception";
    } catch (const base::EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(kinds->Count()) + ")");
    }
}

TEST_F(SeriesKindsTest, RegisteringTwiceIsIgnoredAndLongTextsAreCut) {
    const int32_t before = chart::SeriesKinds()->Count();
    chart::RegisterStandardSeries();
    chart::RegisterBasicFunction(chart::TAddFunction::StaticClass(), "Add again");
    EXPECT_EQ(chart::SeriesKinds()->Count(), before);
    // The same series class with a function is another entry.
    chart::RegisterSeriesKind(
        &chart::TBarSeries::StaticClass(), &chart::THighFunction::StaticClass(),
        "Highest bars of every series at once", 3, "A page with a long long name");
    ASSERT_EQ(chart::SeriesKinds()->Count(), before + 1);
    const chart::TChartSeriesType& entry = chart::SeriesKinds()->Item(before);
    EXPECT_EQ(entry.Description, "Highest bars of ever");
    EXPECT_EQ(entry.GalleryPage, "A page with a long l");
    EXPECT_EQ(entry.GalleryCount, 3);
    // A function entry makes a line series computed by that function.
    chart::TChart chart(nullptr);
    chart::TChartSeries* series = chart::CreateSeriesOfKind(entry, &chart);
    ASSERT_NE(dynamic_cast<chart::TBarSeries*>(series), nullptr);
    EXPECT_NE(dynamic_cast<chart::THighFunction*>(series->Function()), nullptr);
}

const char* const kKindsForm = R"(object Form1: TKindsForm
  object Chart1: TChart
    object Series1: TBarSeries
      BarWidthPercent = 50
      MultiBar = mbStacked
      OffsetPercent = -20
      CustomBarWidth = 9
    end
    object Series2: THorizBarSeries
      BarStyle = bsCilinder
      CustomBarHeight = 4
    end
    object Series3: TAreaSeries
      MultiArea = maStacked100
    end
    object Series4: TPointSeries
    end
    object Series5: TPieSeries
      ExplodeBiggest = 15
      OtherSlice.Style = poBelowPercent
      OtherSlice.Value = 5.0
      RotationAngle = 45
    end
    object Series6: TFastLineSeries
      AutoRepaint = False
    end
    object Series7: TLineSeries
      DataSource = Series4
      object Function1: TAverageFunction
        Period = 2.0
        PeriodAlign = paLast
        PeriodStyle = psRange
      end
    end
  end
end
)";

TEST_F(SeriesKindsTest, EveryKindAndFunctionRoundTripsThroughDesignData) {
    TKindsForm form(nullptr);
    classes::ReadComponent(kKindsForm, form);
    auto* bars = dynamic_cast<chart::TBarSeries*>(form.FindComponent("Series1"));
    auto* pie = dynamic_cast<chart::TPieSeries*>(form.FindComponent("Series5"));
    auto* averaged = dynamic_cast<chart::TChartSeries*>(form.FindComponent("Series7"));
    auto* points = dynamic_cast<chart::TChartSeries*>(form.FindComponent("Series4"));
    ASSERT_NE(bars, nullptr);
    ASSERT_NE(pie, nullptr);
    ASSERT_NE(averaged, nullptr);
    EXPECT_EQ(bars->MultiBar(), chart::TMultiBar::mbStacked);
    EXPECT_EQ(bars->CustomBarSize(), 9);
    EXPECT_EQ(pie->RotationAngle(), 45);
    EXPECT_EQ(pie->OtherSlice().Style(), chart::TPieOtherStyle::poBelowPercent);
    auto* average = dynamic_cast<chart::TAverageFunction*>(averaged->Function());
    ASSERT_NE(average, nullptr);
    EXPECT_EQ(average->Period(), 2);
    EXPECT_EQ(average->PeriodAlign(), chart::TFunctionPeriodAlign::paLast);
    EXPECT_EQ(averaged->DataSource(), points);
    // Linked after loading: the result follows its source.
    points->AppendXY(0, 4);
    points->AppendXY(1, 6);
    ASSERT_EQ(averaged->PointCount(), 1);
    EXPECT_EQ(averaged->YValueAt(0), 5);

    const std::string written = classes::WriteComponent(form);
    EXPECT_NE(written.find("      object Function1: TAverageFunction\n"), std::string::npos)
        << written;
    TKindsForm again(nullptr);
    classes::ReadComponent(written, again);
    EXPECT_EQ(classes::WriteComponent(again), written);

    // A function no series holds is stored with the form and read back there.
    new chart::THighFunction(&again);
    again.Components(again.ComponentCount() - 1)->SetName("Spare");
    const std::string spare = classes::WriteComponent(again);
    EXPECT_NE(spare.find("\n  object Spare: THighFunction\n"), std::string::npos) << spare;
    TKindsForm third(nullptr);
    classes::ReadComponent(spare, third);
    EXPECT_EQ(classes::WriteComponent(third), spare);
}

TEST_F(SeriesKindsTest, SampleValuesAndGalleryPreviews) {
    chart::TChart chart(nullptr);
    auto* bars = new chart::TBarSeries(&chart);
    chart.AddSeries(bars);
    bars->AppendXY(0, 5);
    try {
        bars->FillSampleValues(0);
        FAIL() << "no exception";
    } catch (const chart::ChartException& e) {
        EXPECT_STREQ(e.what(), "FillSampleValues NumValues must be > 0");
    }
    EXPECT_EQ(bars->PointCount(), 1);
    // No series with points: X runs from 0 to the point count, 26 / 25 apart.
    bars->FillSampleValues(bars->SampleValueCount());
    ASSERT_EQ(bars->PointCount(), 26);
    for (int32_t i = 0; i < 26; ++i) {
        EXPECT_NEAR(bars->XValueAt(i), i * 26.0 / 25, 1e-9);
        EXPECT_GE(bars->YValueAt(i), 0);
    }

    // A disabled preview: four points, no marks, one silver colour; a second point series
    // shows 6 x 6 triangles.
    auto* points = new chart::TPointSeries(&chart);
    chart.AddSeries(points);
    points->Marks().SetVisible(true);
    points->PrepareGalleryPreview(false);
    EXPECT_EQ(points->PointCount(), 4);
    EXPECT_FALSE(points->Marks().Visible());
    EXPECT_EQ(points->SeriesColor(), 0xC0C0C0u);
    EXPECT_EQ(points->Pointer().HorizSize(), 6);
    EXPECT_EQ(points->Pointer().Style(), chart::TSeriesPointerStyle::psTriangle);
    points->GalleryChanged3D(true);
    EXPECT_TRUE(chart.View3D());
    EXPECT_FALSE(chart.ClipPoints());
}

TEST_F(SeriesKindsTest, EveryKindDrawsInsideItsChartFlatAndIn3D) {
    const chart::TChartSeriesTypes& kinds = *chart::SeriesKinds();
    for (int32_t i = 0; i < 7; ++i) {
        for (const bool in3D : {false, true}) {
            chart::TChart chart(nullptr);
            chart.SetBounds(0, 0, 160, 120);
            chart.SetView3D(in3D);
            chart.SetAxisVisible(false);
            chart::TChartSeries* series = chart::CreateSeriesOfKind(kinds.Item(i), &chart);
            chart.AddSeries(series);
            series->SetSeriesColor(gfx::clRed);
            series->Marks().SetVisible(false);
            chart.Paint();
            const std::vector<uint32_t> empty(chart.Surface().Pixels().begin(),
                                              chart.Surface().Pixels().end());
            for (double v : {3.0, 7.0, 5.0, 9.0}) {
                series->AppendValue(v);
            }
            chart.Paint();
            // The points change a good part of the picture.
            int32_t changed = 0;
            const auto pixels = chart.Surface().Pixels();
            for (size_t k = 0; k < empty.size(); ++k) {
                changed += pixels[k] != empty[k] ? 1 : 0;
            }
            EXPECT_GT(changed, 100) << kinds.Item(i).Description << (in3D ? " 3D" : " 2D");
        }
    }
}

}  // namespace
