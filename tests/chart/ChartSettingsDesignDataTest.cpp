// Design data of the chart's own settings: the axis panel's settings, the five axes, the legend,
// the back colour and frame shortcuts and the back image, read, written and read back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "chart/component/Chart.h"
#include "classes/ClassBuilder.h"
#include "classes/DesignData.h"
#include "gfx/ImageFiles.h"

namespace {

using chart::TChart;

class TSettingsForm : public forms::TWinControl {
  public:
    explicit TSettingsForm(classes::TComponent* owner) : forms::TWinControl(owner) {}
    static const classes::TClassInfo& StaticClass() {
        static const classes::TClassInfo info =
            classes::TClassBuilder<TSettingsForm>("TSettingsForm",
                                                  &forms::TWinControl::StaticClass())
                .Build();
        return info;
    }
    const classes::TClassInfo& ClassInfo() const override { return StaticClass(); }
};

std::string PicturePath() {
    const char* source = std::getenv("KEYVET_SOURCE_DIR");
    return std::string(source != nullptr ? source : ".") + "/assets/keyvet.png";
}

// Every setting the chart publishes for its axes, legend and panel, away from its default.
std::string ChartText() {
    return R"(object Form1: TSettingsForm
  object Chart1: TChart
    Width = 400
    Height = 250
    AxisVisible = False
    BackImage = ')" +
           PicturePath() + R"('
    BackWall.Color = clYellow
    BackWall.Pen.Color = clRed
    BottomAxis.Inverted = True
    BottomAxis.Title.Caption = 'ms'
    ClipPoints = False
    DepthAxis.Visible = True
    LeftAxis.Automatic = False
    LeftAxis.AutomaticMaximum = False
    LeftAxis.Maximum = 2.5
    LeftAxis.Grid.Visible = False
    Legend.Alignment = laBottom
    Legend.Brush.Style = bsCross
    Legend.Color = clAqua
    Legend.ColorWidth = 30
    Legend.DividingLines.Visible = True
    Legend.FirstValue = 1
    Legend.Font.Height = -13
    Legend.Frame.Width = 2
    Legend.HorizMargin = 7
    Legend.Inverted = True
    Legend.LegendStyle = lsLastValues
    Legend.MaxNumRows = 4
    Legend.ResizeChart = False
    Legend.ShadowColor = clGray
    Legend.ShadowSize = 5
    Legend.TextStyle = ltsRightPercent
    Legend.TopPos = 40
    Legend.VertMargin = 9
    Legend.Visible = False
    MaxPointsPerPage = 5
    Page = 2
    RightAxis.Labels = False
    ScaleLastPage = False
    TopAxis.TickLength = 7
    View3DWalls = False
  end
end
)";
}

class ChartSettingsDesignDataTest : public ::testing::Test {
  protected:
    void SetUp() override { chart::RegisterChartClasses(); }
};

TEST_F(ChartSettingsDesignDataTest, EveryChartSettingIsReadWrittenAndReadBack) {
    TSettingsForm form(nullptr);
    classes::ReadComponent(ChartText(), form);
    auto* chart1 = dynamic_cast<TChart*>(form.FindComponent("Chart1"));
    ASSERT_NE(chart1, nullptr);
    EXPECT_FALSE(chart1->AxisVisible());
    EXPECT_FALSE(chart1->ClipPoints());
    EXPECT_EQ(chart1->MaxPointsPerPage(), 5);
    // The series and their points come later: the page is kept as designed.
    EXPECT_EQ(chart1->Page(), 2);
    EXPECT_FALSE(chart1->ScaleLastPage());
    EXPECT_FALSE(chart1->View3DWalls());
    EXPECT_TRUE(chart1->BottomAxis().Inverted());
    EXPECT_EQ(chart1->BottomAxis().Title().Caption(), "ms");
    EXPECT_TRUE(chart1->DepthAxis().Visible());
    EXPECT_DOUBLE_EQ(chart1->LeftAxis().Maximum(), 2.5);
    EXPECT_FALSE(chart1->LeftAxis().Grid().Visible());
    EXPECT_FALSE(chart1->RightAxis().Labels());
    EXPECT_EQ(chart1->TopAxis().TickLength(), 7);
    EXPECT_EQ(chart1->BackColor(), gfx::clYellow);
    EXPECT_EQ(chart1->Frame().Color(), gfx::clRed);
    EXPECT_FALSE(chart1->BackImage().Empty());
    const chart::TChartLegend& legend = chart1->Legend();
    EXPECT_EQ(legend.Alignment(), chart::TLegendAlignment::laBottom);
    EXPECT_EQ(legend.Brush().Style(), gfx::TBrushStyle::bsCross);
    EXPECT_EQ(legend.Color(), gfx::clAqua);
    EXPECT_EQ(legend.ColorWidth(), 30);
    EXPECT_TRUE(legend.DividingLines().Visible());
    EXPECT_EQ(legend.FirstValue(), 1);
    EXPECT_EQ(legend.Font().Height(), -13);
    EXPECT_EQ(legend.Frame().Width(), 2);
    EXPECT_EQ(legend.HorizMargin(), 7);
    EXPECT_TRUE(legend.Inverted());
    EXPECT_EQ(legend.LegendStyle(), chart::TLegendStyle::lsLastValues);
    EXPECT_EQ(legend.MaxNumRows(), 4);
    EXPECT_FALSE(legend.ResizeChart());
    EXPECT_EQ(legend.ShadowColor(), gfx::clGray);
    EXPECT_EQ(legend.ShadowSize(), 5);
    EXPECT_EQ(legend.TextStyle(), chart::TLegendTextStyle::ltsRightPercent);
    EXPECT_EQ(legend.TopPos(), 40);
    EXPECT_EQ(legend.VertMargin(), 9);
    EXPECT_FALSE(legend.Visible());

    const std::string written = classes::WriteComponent(form);
    for (const char* line :
         {"AxisVisible = False", "BottomAxis.Inverted = True", "ClipPoints = False",
          "DepthAxis.Visible = True", "LeftAxis.Maximum = 2.5", "Legend.Alignment = laBottom",
          "Legend.Font.Height = -13", "Legend.TopPos = 40", "MaxPointsPerPage = 5", "Page = 2",
          "ScaleLastPage = False", "TopAxis.TickLength = 7", "View3DWalls = False"}) {
        EXPECT_NE(written.find("    " + std::string(line) + "\n"), std::string::npos)
            << line << "\n"
            << written;
    }
    // The shortcuts are stored with the back wall only; the picture by its name.
    EXPECT_EQ(written.find("BackColor"), std::string::npos) << written;
    EXPECT_EQ(written.find("    Frame."), std::string::npos) << written;
    EXPECT_NE(written.find("BackImage = '" + PicturePath() + "'"), std::string::npos) << written;
    TSettingsForm again(nullptr);
    classes::ReadComponent(written, again);
    EXPECT_EQ(classes::WriteComponent(again), written);
}

TEST_F(ChartSettingsDesignDataTest, DefaultsAreLeftOutAndTheShortcutsReachTheBackWall) {
    TSettingsForm form(nullptr);
    classes::ReadComponent(R"(object Form1: TSettingsForm
  object Chart1: TChart
    BackWall.Brush.Style = bsClear
    BackColor = clLime
    Frame.Width = 3
  end
end
)",
                           form);
    auto* chart1 = dynamic_cast<TChart*>(form.FindComponent("Chart1"));
    ASSERT_NE(chart1, nullptr);
    EXPECT_EQ(chart1->BackWall().Color(), gfx::clLime);
    // Read from design data, the back colour leaves the stored brush style alone.
    EXPECT_EQ(chart1->BackWall().Brush().Style(), gfx::TBrushStyle::bsClear);
    EXPECT_EQ(chart1->BackWall().Pen().Width(), 3);
    const std::string written = classes::WriteComponent(form);
    for (const char* name : {"Legend.", "AxisVisible", "Page", "ClipPoints", "BottomAxis.",
                             "View3DWalls", "MaxPointsPerPage", "BackImage "}) {
        EXPECT_EQ(written.find("    " + std::string(name)), std::string::npos) << name << "\n"
                                                                               << written;
    }
}

TEST_F(ChartSettingsDesignDataTest, AMissingBackImageIsAnErrorAtItsLine) {
    TSettingsForm form(nullptr);
    try {
        classes::ReadComponent(R"(object Form1: TSettingsForm
  object Chart1: TChart
    BackImage = 'no-such-picture.png'
  end
end
)",
                               form);
        FAIL() << "no error";
    } catch (const classes::EDesignDataError& e) {
        EXPECT_EQ(e.Line(), 3);
        EXPECT_NE(e.Message().find("no-such-picture.png"), std::string::npos) << e.Message();
    }
    // A folder (or a device) is no picture either; the old picture and name stay.
    TChart chart(nullptr);
    chart.SetBackImageName(PicturePath());
    EXPECT_THROW(chart.SetBackImageName("."), gfx::EInvalidGraphic);
    EXPECT_EQ(chart.BackImageName(), PicturePath());
    EXPECT_FALSE(chart.BackImage().Empty());
    chart.SetBackImageName("");
    EXPECT_TRUE(chart.BackImage().Empty());
}

TEST_F(ChartSettingsDesignDataTest, ThePartsClassesAreRegistered) {
    for (const char* name : {"TChartAxis", "TChartDepthAxis", "TChartAxisTitle", "TSeriesMarks",
                             "TChartLegend", "TChartGradient", "TChartWall", "TChartTitle"}) {
        EXPECT_NE(classes::FindClass(name), nullptr) << name;
    }
}

}  // namespace
