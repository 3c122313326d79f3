// A chart with its line series read from and written to design data, as the main window holds
// them.
#include <gtest/gtest.h>

#include <string>

#include "chart/component/Chart.h"
#include "chart/series/LineSeries.h"
#include "classes/ClassBuilder.h"
#include "classes/DesignData.h"

namespace {

// A bare root component standing in for a form.
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

const char* const kForm = R"(object Form1: TChartForm
  object Chart1: TChart
    Left = 8
    Width = 768
    Height = 249
    Color = 16777088
    object Series1: TLineSeries
      Marks.ArrowLength = 8
      Marks.Visible = False
      SeriesColor = clBlue
      XValues.Name = 'X'
      XValues.Order = loAscending
      YValues.Name = 'Y'
      YValues.Order = loNone
    end
  end
end
)";

class ChartDesignDataTest : public ::testing::Test {
  protected:
    void SetUp() override { chart::RegisterChartClasses(); }
};

TEST_F(ChartDesignDataTest, SeriesReadInsideAChartBecomesItsSeriesOwnedByTheForm) {
    TChartForm form(nullptr);
    classes::ReadComponent(kForm, form);
    auto* chart1 = dynamic_cast<chart::TChart*>(form.FindComponent("Chart1"));
    auto* series1 = dynamic_cast<chart::TLineSeries*>(form.FindComponent("Series1"));
    ASSERT_NE(chart1, nullptr);
    ASSERT_NE(series1, nullptr);
    EXPECT_EQ(series1->Owner(), &form);
    EXPECT_EQ(series1->ParentChart(), chart1);
    ASSERT_EQ(chart1->SeriesCount(), 1);
    EXPECT_EQ(chart1->Series(0), series1);
    EXPECT_EQ(chart1->Color(), 16777088u);
    EXPECT_EQ(series1->SeriesColor(), gfx::clBlue);
    EXPECT_EQ(series1->XValues().Order(), chart::TChartListOrder::loAscending);
    EXPECT_EQ(series1->YValues().Order(), chart::TChartListOrder::loNone);
    EXPECT_EQ(series1->XValues().Multiplier(), 1);
    EXPECT_FALSE(series1->Marks().Visible());
    EXPECT_TRUE(series1->IncludePointBeyondEnd());
    EXPECT_FALSE(series1->SinglePointResult());
    EXPECT_TRUE(series1->Active());

    series1->AppendXY(0, 1);
    EXPECT_GT(chart1->RepaintRequestCount(), 0);
}

TEST_F(ChartDesignDataTest, WriterStoresTheSeriesInsideItsChartAndRoundTrips) {
    TChartForm form(nullptr);
    classes::ReadComponent(kForm, form);
    const std::string written = classes::WriteComponent(form);
    EXPECT_NE(written.find("  object Chart1: TChart\n"), std::string::npos) << written;
    EXPECT_NE(written.find("    object Series1: TLineSeries\n"), std::string::npos) << written;
    // Always stored: the colour, the arrow length, the marks' visibility, the list settings.
    for (const char* line :
         {"SeriesColor = clBlue", "Marks.ArrowLength = 8", "Marks.Visible = False",
          "XValues.DateTime = False", "XValues.Multiplier = 1.0", "XValues.Order = loAscending",
          "YValues.Name = 'Y'", "YValues.Order = loNone"}) {
        EXPECT_NE(written.find("      " + std::string(line) + "\n"), std::string::npos)
            << line << "\n"
            << written;
    }
    // Stored only when different from the default.
    for (const char* name : {"ValueFormat", "PercentFormat", "Active", "Marks.Style", "Marks.Font",
                             "XValues.ValueSource", "Tag"}) {
        EXPECT_EQ(written.find("      " + std::string(name)), std::string::npos) << name << "\n"
                                                                                 << written;
    }

    TChartForm again(nullptr);
    classes::ReadComponent(written, again);
    EXPECT_EQ(classes::WriteComponent(again), written);
}

TEST_F(ChartDesignDataTest, ChangedSettingsRoundTrip) {
    TChartForm form(nullptr);
    classes::ReadComponent(kForm, form);
    auto* series1 = dynamic_cast<chart::TLineSeries*>(form.FindComponent("Series1"));
    series1->SetValueFormat("0.0");
    series1->SetSeriesColor(chart::clSeriesDefault);
    series1->Marks().SetStyle(chart::TSeriesMarksStyle::smsPercent);
    series1->Marks().Font().SetSize(12);
    series1->YValues().SetMultiplier(0);
    const std::string written = classes::WriteComponent(form);
    EXPECT_EQ(written.find("YValues.Multiplier"), std::string::npos) << written;
    EXPECT_EQ(written.find("clScrollBar"), std::string::npos) << written;

    TChartForm again(nullptr);
    classes::ReadComponent(written, again);
    auto* copy = dynamic_cast<chart::TLineSeries*>(again.FindComponent("Series1"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->ValueFormat(), "0.0");
    EXPECT_EQ(copy->Marks().Style(), chart::TSeriesMarksStyle::smsPercent);
    EXPECT_EQ(copy->Marks().Font().Size(), 12);
    // The stored value is read after the series joined its chart, so it stays colourless.
    EXPECT_EQ(copy->SeriesColor(), chart::clSeriesDefault);
}

TEST_F(ChartDesignDataTest, SeriesInsideANonChartControlIsAnError) {
    TChartForm form(nullptr);
    const char* text = R"(object Form1: TChartForm
  object Panel1: TPanel
    object Series1: TLineSeries
    end
  end
end
)";
    classes::RegisterClass(forms::TPanel::StaticClass());
    try {
        classes::ReadComponent(text, form);
        FAIL() << "no error";
    } catch (const classes::EDesignDataError& e) {
        EXPECT_EQ(e.Line(), 3);
        EXPECT_NE(e.Message().find("TLineSeries cannot be placed inside TPanel"), std::string::npos)
            << e.Message();
    }
}

}  // namespace
