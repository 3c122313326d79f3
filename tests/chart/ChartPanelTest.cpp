// The chart panel: chart rectangle from margins, repaints served from the buffer, settings and
// their validation, background, bevels, brushes, the back image and the zoom frame.
#include "chart/panel/ChartPanelExtended.h"

#include <gtest/gtest.h>

#include "chart/messages/ChartMessages.h"
#include "chart/panel/ChartProcs.h"

namespace {

using chart::TCustomChartPanelExtended;
using gfx::TRect;

// Draws the panel frame like the axis panel does and counts full paints; the view counts
// invalidations.
class TTestPanel : public TCustomChartPanelExtended, public forms::IControlView {
  public:
    TTestPanel() : TCustomChartPanelExtended(nullptr) { SetView(this); }
    ~TTestPanel() override { SetView(nullptr); }
    void DrawChartContent(const TRect& rect) override {
        ++contentPaints;
        PaintPanelFrame(rect);
        if (failNextPaint) {
            failNextPaint = false;
            Canvas().ClipToRect(TRect(0, 0, 1, 1));
            throw chart::ChartException("paint failed");
        }
    }
    void ControlChanged(forms::TControl&, forms::TControlChange change) override {
        invalidations += change == forms::TControlChange::ccRepaint ? 1 : 0;
    }
    void ControlDestroyed(forms::TControl&) override {}
    gfx::TColorRef Pixel(int32_t x, int32_t y) const { return Surface().Canvas().Pixel(x, y); }

    int contentPaints = 0;
    int invalidations = 0;
    bool failNextPaint = false;
};

class ChartPanelTest : public ::testing::Test {
  protected:
    ChartPanelTest() {
        m_panel.SetBounds(0, 0, 768, 249);
        m_panel.SetColor(16777088);
        m_panel.SetView3D(false);
    }
    TTestPanel m_panel;
};

TEST_F(ChartPanelTest, PlotRectOfTheMainChartComesFromTheMargins) {
    m_panel.Paint();
    EXPECT_EQ(m_panel.PanelBounds(), TRect(0, 0, 768, 249));
    EXPECT_EQ(m_panel.PlotRect(), TRect(23, 10, 745, 239));
    EXPECT_EQ(m_panel.PlotWidth(), 722);
    EXPECT_EQ(m_panel.PlotHeight(), 229);
    EXPECT_EQ(m_panel.PlotCenterX(), 384);
    EXPECT_EQ(m_panel.PlotCenterY(), 124);
    m_panel.SetBorderWidth(2);
    m_panel.Paint();
    EXPECT_EQ(m_panel.PlotRect(), TRect(25, 12, 743, 237));
}

TEST_F(ChartPanelTest, MarginsMeetingInTheMiddleGiveTheWholeWidth) {
    m_panel.SetBounds(0, 0, 100, 80);
    m_panel.SetMarginLeft(50);
    m_panel.SetMarginRight(50);
    m_panel.SetMarginTop(70);
    m_panel.SetMarginBottom(70);
    m_panel.Paint();
    EXPECT_EQ(m_panel.PlotRect().Left, 50);
    EXPECT_EQ(m_panel.PlotRect().Right, 150);
    // Top past bottom: the bottom follows one pixel below.
    EXPECT_EQ(m_panel.PlotRect().Top, 56);
    EXPECT_EQ(m_panel.PlotRect().Bottom, 57);
    EXPECT_EQ(m_panel.PlotHeight(), 1);
}

TEST_F(ChartPanelTest, RepaintWithoutChangeIsACopyOfTheBuffer) {
    m_panel.Paint();
    m_panel.Paint();
    EXPECT_EQ(m_panel.contentPaints, 1);
    EXPECT_EQ(m_panel.Pixel(400, 100), gfx::ColorToRGB(16777088));
    const int before = m_panel.invalidations;
    m_panel.SetMarginTop(5);
    m_panel.SetMarginTop(5);
    m_panel.View3DOptions().SetZoom(150);
    EXPECT_EQ(m_panel.invalidations, before + 2);
    m_panel.Paint();
    m_panel.Paint();
    EXPECT_EQ(m_panel.contentPaints, 2);
    for (auto change : {+[](TTestPanel& p) { p.SetColor(gfx::clWhite); },
                        +[](TTestPanel& p) { p.SetBevelOuter(forms::TPanelBevel::bvLowered); },
                        +[](TTestPanel& p) { p.SetBounds(0, 0, 300, 200); },
                        +[](TTestPanel& p) { p.Gradient().SetVisible(true); },
                        +[](TTestPanel& p) { p.BackImage().Bitmap().SetSize(2, 2); }}) {
        const int paints = m_panel.contentPaints;
        change(m_panel);
        m_panel.Paint();
        EXPECT_EQ(m_panel.contentPaints, paints + 1);
    }
    EXPECT_EQ(m_panel.Surface().Width(), 300);
    // Through the plain control, without a repaint request, the colour still shows.
    m_panel.Gradient().SetVisible(false);
    m_panel.BackImage().Clear();
    m_panel.Paint();
    static_cast<forms::TControl&>(m_panel).SetColor(gfx::clAqua);
    m_panel.Paint();
    EXPECT_EQ(m_panel.Pixel(150, 100), gfx::clAqua);
}

TEST_F(ChartPanelTest, NoRepaintRequestsWhileRepaintOnChangeIsOff) {
    m_panel.Paint();
    m_panel.SetRepaintOnChange(false);
    const int before = m_panel.invalidations;
    m_panel.SetMarginLeft(10);
    m_panel.MarkForRepaint();
    EXPECT_EQ(m_panel.invalidations, before);
    EXPECT_FALSE(m_panel.Canvas().BufferStale());
    m_panel.SetRepaintOnChange(true);
    m_panel.MarkForRepaint();
    EXPECT_TRUE(m_panel.Canvas().BufferStale());
}

TEST_F(ChartPanelTest, AFailedPaintIsRedoneByTheNextOne) {
    m_panel.failNextPaint = true;
    EXPECT_THROW(m_panel.Paint(), chart::ChartException);
    EXPECT_EQ(&m_panel.Canvas().ReferenceCanvas(), &m_panel.WindowCanvas());
    m_panel.SetColor(gfx::clLime);
    m_panel.Paint();
    EXPECT_EQ(m_panel.contentPaints, 2);
    EXPECT_EQ(m_panel.Pixel(400, 100), gfx::clLime);  // the failed paint's clip is gone
    m_panel.SetPrintingInProgress(true);
    m_panel.MarkForRepaint();
    m_panel.Paint();
    EXPECT_EQ(m_panel.contentPaints, 2);
}

TEST_F(ChartPanelTest, Chart3DPercentOutsideOneToHundredIsRefused) {
    for (int32_t bad : {0, 101, -5}) {
        try {
            m_panel.SetChart3DPercent(bad);
            ADD_FAILURE() << bad << " accepted";
        } catch (const chart::ChartException& e) {
            EXPECT_EQ(e.Message(), "3D effect percent must be between 1 and 100");
        }
        EXPECT_EQ(m_panel.Chart3DPercent(), 15);
    }
    m_panel.SetChart3DPercent(1);
    m_panel.SetChart3DPercent(100);
    EXPECT_EQ(m_panel.Chart3DPercent(), 100);
    EXPECT_THROW(m_panel.SetAnimatedZoomSteps(0), chart::ChartException);
    EXPECT_THROW(m_panel.SetBorderWidth(-1), chart::ChartException);
    EXPECT_EQ(m_panel.AnimatedZoomSteps(), 8);
}

TEST_F(ChartPanelTest, DefaultsMatchThePublishedOnes) {
    TTestPanel fresh;
    EXPECT_EQ(fresh.Width(), 400);
    EXPECT_EQ(fresh.Height(), 250);
    EXPECT_TRUE(fresh.View3D());
    EXPECT_EQ(fresh.Color(), gfx::clBtnFace);
    EXPECT_EQ(fresh.AllowPanning(), chart::TPanningMode::pmBoth);
    EXPECT_EQ(fresh.BackImageMode(), chart::TChartBackImageMode::pbmStretch);
    EXPECT_FALSE(fresh.Gradient().Visible());
    EXPECT_TRUE(fresh.Canvas().ReadBuffered());
    EXPECT_EQ(fresh.PrintMargins(), TRect(15, 15, 15, 15));
    // Only values that differ from the declared defaults are stored.
    const classes::TClassInfo& info = fresh.ClassInfo();
    for (const char* name : {"MarginLeft", "Chart3DPercent", "View3D", "Color", "AllowZoom"}) {
        EXPECT_FALSE(info.FindProperty(name)->IsStored(fresh)) << name;
    }
    fresh.SetView3D(false);
    EXPECT_TRUE(info.FindProperty("View3D")->IsStored(fresh));
}

TEST_F(ChartPanelTest, BackgroundGradientPutsTheStartColourWhereTheDirectionSays) {
    m_panel.SetBevelOuter(forms::TPanelBevel::bvNone);
    m_panel.Gradient().SetVisible(true);
    m_panel.Gradient().SetStartColor(gfx::clRed);
    m_panel.Gradient().SetEndColor(gfx::clBlue);
    m_panel.Paint();
    EXPECT_EQ(m_panel.Pixel(10, 248), gfx::clRed);  // top-bottom: start at the bottom
    EXPECT_EQ(m_panel.Pixel(10, 0), gfx::clBlue);
    m_panel.Gradient().SetDirection(chart::TGradientDirection::gdBottomTop);
    m_panel.Paint();
    EXPECT_EQ(m_panel.Pixel(10, 0), gfx::clRed);
    m_panel.Gradient().SetDirection(chart::TGradientDirection::gdRightLeft);
    m_panel.Paint();
    EXPECT_EQ(m_panel.Pixel(0, 100), gfx::clRed);
    m_panel.Gradient().SetDirection(chart::TGradientDirection::gdFromCenter);
    m_panel.Paint();
    EXPECT_EQ(m_panel.Pixel(0, 100), gfx::clBlue);  // end colour at the outer edge
}

TEST_F(ChartPanelTest, BevelsAndBorderAreDrawnOutsideIn) {
    m_panel.SetBevelInner(forms::TPanelBevel::bvLowered);
    m_panel.SetBorderWidth(2);
    m_panel.Paint();
    const gfx::TColorRef highlight = gfx::SysColor(20);
    const gfx::TColorRef shadow = gfx::SysColor(16);
    EXPECT_EQ(m_panel.Pixel(0, 0), highlight);  // raised outer bevel
    EXPECT_EQ(m_panel.Pixel(767, 248), shadow);
    EXPECT_EQ(m_panel.Pixel(1, 1), gfx::ColorToRGB(16777088));  // border in Color
    EXPECT_EQ(m_panel.Pixel(3, 3), shadow);                     // lowered inner bevel
    EXPECT_EQ(m_panel.Pixel(764, 245), highlight);
}

TEST_F(ChartPanelTest, ApplyBrushShowsHatchGapsInTheBackColour) {
    m_panel.Paint();
    chart::TChartCanvas3D& canvas = m_panel.Canvas();
    m_panel.ApplyBrush(gfx::clBlack, gfx::TBrushStyle::bsHorizontal, gfx::clBlack);
    EXPECT_EQ(canvas.Brush().Color(), gfx::clWhite);
    EXPECT_EQ(canvas.ReadBackMode(), gfx::TBackMode::bmOpaque);
    canvas.FillArea(TRect(0, 0, 16, 16));
    EXPECT_EQ(m_panel.Pixel(5, 3), gfx::clWhite);  // hatch row 3
    EXPECT_EQ(m_panel.Pixel(5, 4), gfx::clBlack);  // gap
    m_panel.ApplyBrush(gfx::clRed, gfx::TBrushStyle::bsCross, gfx::clRed);
    EXPECT_EQ(canvas.Brush().Color(), gfx::clBlack);
    m_panel.ApplyBrush(gfx::clRed, gfx::TBrushStyle::bsSolid, gfx::clRed);
    EXPECT_EQ(canvas.Brush().Color(), gfx::clRed);
    EXPECT_EQ(canvas.ReadBackMode(), gfx::TBackMode::bmTransparent);
}

TEST_F(ChartPanelTest, BackImageStretchesTilesOrCentres) {
    m_panel.SetBounds(0, 0, 20, 12);
    m_panel.SetBevelOuter(forms::TPanelBevel::bvNone);
    gfx::TBitmap& image = m_panel.BackImage().Bitmap();
    image.SetSize(3, 2);
    image.Canvas().SetPixel(0, 0, gfx::clRed);
    m_panel.SetBackImageMode(chart::TChartBackImageMode::pbmTile);
    m_panel.Paint();
    EXPECT_EQ(m_panel.Pixel(0, 0), gfx::clRed);
    EXPECT_EQ(m_panel.Pixel(3, 2), gfx::clRed);
    EXPECT_EQ(m_panel.Pixel(18, 10), gfx::clRed);
    EXPECT_EQ(m_panel.Pixel(19, 11), gfx::clWhite);
    m_panel.SetBackImageMode(chart::TChartBackImageMode::pbmCenter);
    m_panel.Paint();
    EXPECT_EQ(m_panel.Pixel(8, 5), gfx::clRed);
    EXPECT_EQ(m_panel.Pixel(0, 0), gfx::ColorToRGB(16777088));
    m_panel.SetBackImageMode(chart::TChartBackImageMode::pbmStretch);
    m_panel.Paint();
    EXPECT_EQ(m_panel.Pixel(0, 1), gfx::clRed);  // 2D: the top moves down one pixel
    EXPECT_EQ(m_panel.Pixel(19, 11), gfx::clWhite);
}

TEST_F(ChartPanelTest, ZoomFrameDrawnTwiceLeavesNoTrace) {
    m_panel.Paint();
    const std::vector<uint32_t> before = m_panel.Surface().Pixels();
    m_panel.ZoomState().BeginAt(300, 200);
    m_panel.ZoomState().EndX = 100;
    m_panel.ZoomState().EndY = 50;
    m_panel.ZoomState().NormalizeCorners();
    EXPECT_EQ(m_panel.ZoomState().StartX, 100);
    EXPECT_EQ(m_panel.ZoomState().EndY, 200);
    m_panel.XorZoomFrame();
    EXPECT_NE(m_panel.Surface().Pixels(), before);
    m_panel.XorZoomFrame();
    EXPECT_EQ(m_panel.Surface().Pixels(), before);
}

TEST_F(ChartPanelTest, WidestLineWidthCountsLinesOfABrokenText) {
    m_panel.Canvas().Font().SetName("Liberation Sans");
    int32_t lines = 0;
    const int32_t wide = m_panel.WidestLineWidth("WWWW", lines);
    EXPECT_EQ(lines, 1);
    EXPECT_EQ(m_panel.WidestLineWidth("a\rWWWW\r", lines), wide);
    EXPECT_EQ(lines, 2);
    m_panel.WidestLineWidth("a\rb\rc", lines);
    EXPECT_EQ(lines, 3);
}

TEST_F(ChartPanelTest, ClippingFollowsPrintingAndMetafiling) {
    EXPECT_TRUE(m_panel.ClippingAllowed());
    m_panel.Canvas().SetMetafiling(true);
    chart::ClipOnMetafile = false;
    EXPECT_FALSE(m_panel.ClippingAllowed());
    chart::ClipOnMetafile = true;
    m_panel.SetPrintingInProgress(true);
    chart::ClipOnPrinter = false;
    EXPECT_FALSE(m_panel.ClippingAllowed());
    chart::ClipOnPrinter = true;
    gfx::TPen pen;
    pen.SetStyle(gfx::TPenStyle::psDot);
    m_panel.AdjustPenForPrinter(pen);
    EXPECT_EQ(pen.Width(), 0);
}

TEST_F(ChartPanelTest, AssignCopiesSettingsAndResetZoomFiresItsEvent) {
    TTestPanel other;
    other.SetMarginLeft(9);
    other.SetChart3DPercent(40);
    other.View3DOptions().SetRotation(10);
    other.Gradient().SetVisible(true);
    other.SetAllowPanning(chart::TPanningMode::pmNone);
    m_panel.Assign(other);
    EXPECT_EQ(m_panel.MarginLeft(), 9);
    EXPECT_EQ(m_panel.Chart3DPercent(), 40);
    EXPECT_EQ(m_panel.View3DOptions().Rotation(), 10);
    EXPECT_TRUE(m_panel.Gradient().Visible());
    EXPECT_TRUE(m_panel.View3D());
    EXPECT_EQ(m_panel.AllowPanning(), chart::TPanningMode::pmNone);
    EXPECT_EQ(m_panel.Color(), gfx::clBtnFace);
    int undone = 0;
    m_panel.SetOnUndoZoom({"", [&](classes::TPersistent*) { ++undone; }});
    m_panel.SetZoomActive(true);
    m_panel.ResetZoom();
    EXPECT_EQ(undone, 1);
    EXPECT_FALSE(m_panel.ZoomActive());
    m_panel.SetCursor(5);
    m_panel.PanState().BeginAt(1, 1);
    m_panel.MouseLeave();
    EXPECT_EQ(m_panel.Cursor(), 0);
    EXPECT_FALSE(m_panel.PanState().Engaged);
}

}  // namespace
