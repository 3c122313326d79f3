// Display sizes: every control of the main window placed at its design bounds scaled, the
// window's client area scaled, design pixels surviving the way to the screen and back at every
// size, and the chart drawn at the scaled size with text as sharp as at 100 %.
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/MainForm.h"
#include "app/Startup.h"
#include "chart/component/Chart.h"
#include "gfx/Bitmap.h"
#include "platform/WindowSettings.h"
#include "support/FrontEndFixture.h"
#include "ui/ChartView.h"
#include "ui/FormView.h"
#include "ui/FrontEnd.h"

namespace {

class DisplaySizeTest : public testsupport::TFrontEndFixture {
  protected:
    // The colours of the chart's buffer in its title's rows, and how many rows hold title text.
    std::set<uint32_t> TitleColours(int& textRows) {
        auto* chart = dynamic_cast<ui::TChartView*>(m_view->ViewOf("Chart1"));
        const gfx::TBitmap& buffer = chart->UpdatedBuffer();
        std::set<uint32_t> colours;
        textRows = 0;
        // The title lies in the top tenth of the chart, across its middle half.
        for (int32_t y = 2; y < buffer.Height() / 10; ++y) {
            bool text = false;
            for (int32_t x = buffer.Width() / 4; x < buffer.Width() * 3 / 4; ++x) {
                colours.insert(buffer.ScanLine(y)[x]);
                text = text || buffer.ScanLine(y)[x] == gfx::ColorToRGB(gfx::clBlue);
            }
            textRows += text ? 1 : 0;
        }
        return colours;
    }
};

TEST_F(DisplaySizeTest, EveryControlIsAtItsDesignBoundsScaledAndBackAtOneHundred) {
    for (const int32_t percent : {200, 150, 125, 100}) {
        m_frontEnd->SetDisplayPercent(percent);
        // Every edge goes to the nearest screen pixel (halves up), so controls that meet in the
        // design meet on the screen.
        const auto scaled = [percent](int32_t pixels) { return (pixels * percent + 50) / 100; };
        const int32_t menu = scaled(forms::kFrameMenu);
        EXPECT_EQ(m_view->ClientTop(), menu);
        EXPECT_EQ(m_view->Window().w(), scaled(790)) << percent;
        EXPECT_EQ(m_view->Window().h(), scaled(585) + menu) << percent;
        // The forms keep their design sizes whatever the display size.
        EXPECT_EQ(m_form1->Width(), 798);
        EXPECT_EQ(m_form1->Height(), 631);
        int checked = 0;
        for (const std::unique_ptr<ui::TControlView>& view : m_view->Views()) {
            const forms::TControl& c = *view->Control();
            const Fl_Widget& w = *view->Widget();
            EXPECT_EQ(w.x(), scaled(c.Left())) << c.Name() << " at " << percent;
            EXPECT_EQ(w.y(), scaled(c.Top()) + menu) << c.Name() << " at " << percent;
            EXPECT_EQ(w.x() + w.w(), scaled(c.Left() + c.Width())) << c.Name() << " at " << percent;
            EXPECT_EQ(w.y() + w.h(), scaled(c.Top() + c.Height()) + menu)
                << c.Name() << " at " << percent;
            ++checked;
        }
        EXPECT_GT(checked, 40);
    }
    // Back at 100 %: the design, to the pixel.
    EXPECT_EQ(m_form1->Chart1().Left(), 10);
    EXPECT_EQ(m_form1->Chart1().Width(), 768);
    EXPECT_EQ(m_form1->Chart1().Height(), 249);
    EXPECT_EQ(m_view->ViewOf("Start")->Widget()->y(), 277 + forms::kFrameMenu);
}

TEST_F(DisplaySizeTest, DesignPixelsSurviveTheWayToTheScreenAndBack) {
    // A window resized by its frame is read back into design pixels: nothing may drift.
    for (const int32_t percent : platform::TWindowSettings::kSizes) {
        m_frontEnd->SetDisplayPercent(percent);
        for (int32_t design = -50; design <= 4000; ++design) {
            ASSERT_EQ(m_frontEnd->Unscaled(m_frontEnd->Scaled(design)), design)
                << design << " at " << percent;
        }
    }
    m_frontEnd->SetDisplayPercent(150);
    // Stretched by the user to 1.5 x (898 x 691) outside: the form reads the design size back.
    m_view->Window().resize(m_view->Window().x(), m_view->Window().y(), 1335,
                            m_view->ClientTop() + 968);
    m_view->WindowGeometryChanged();
    EXPECT_EQ(m_form1->Width(), 898);
    EXPECT_EQ(m_form1->Height(), 691);
    EXPECT_EQ(m_form1->Chart1().Width(), 868) << "anchored in design pixels";
    EXPECT_EQ(m_view->ViewOf("Chart1")->Widget()->w(), 1302);
}

TEST_F(DisplaySizeTest, TheChartIsDrawnAtTheScaledSizeWithSharpTextTwiceAsTall) {
    int rowsAt100 = 0;
    const std::set<uint32_t> coloursAt100 = TitleColours(rowsAt100);
    m_frontEnd->SetDisplayPercent(200);
    auto* chart = dynamic_cast<ui::TChartView*>(m_view->ViewOf("Chart1"));
    ASSERT_EQ(chart->UpdatedBuffer().Width(), 1536);
    ASSERT_EQ(chart->UpdatedBuffer().Height(), 498);
    int rowsAt200 = 0;
    const std::set<uint32_t> coloursAt200 = TitleColours(rowsAt200);
    // Drawn at the size, not stretched or smoothed: no colour that 100 % does not have.
    EXPECT_EQ(coloursAt200, coloursAt100);
    EXPECT_EQ(coloursAt200.size(), 2u) << "blue text on the cyan panel";
    EXPECT_GT(rowsAt100, 8);
    EXPECT_NEAR(rowsAt200, 2 * rowsAt100, 2);
    // The plot fills the scaled chart as it fills the design one: its right edge doubles.
    const int32_t right200 = m_form1->Chart1().PlotRect().Right;
    m_frontEnd->SetDisplayPercent(100);
    chart->UpdatedBuffer();
    EXPECT_NEAR(right200, 2 * m_form1->Chart1().PlotRect().Right, 2);
}

}  // namespace
