// Pen, brush and font: change events, the height/size relation, assignment and colours.
#include <gtest/gtest.h>

#include "base/Exceptions.h"
#include "gfx/Brush.h"
#include "gfx/Colors.h"
#include "gfx/Font.h"
#include "gfx/Pen.h"

namespace gfx {
namespace {

TEST(GraphicsObjectsTest, SettersFireTheChangeEventOnlyWhenTheValueChanges) {
    TPen pen;
    int changes = 0;
    pen.SetOnChange([&] { ++changes; });
    pen.SetColor(clBlack);
    pen.SetWidth(1);
    pen.SetStyle(TPenStyle::psSolid);
    EXPECT_EQ(changes, 0);
    pen.SetColor(clRed);
    pen.SetWidth(3);
    pen.SetMode(TPenMode::pmNotXor);
    pen.SetStyle(TPenStyle::psDot);
    EXPECT_EQ(changes, 4);

    TBrush brush;
    brush.SetOnChange([&] { ++changes; });
    brush.SetStyle(TBrushStyle::bsSolid);
    brush.SetColor(clWhite);
    EXPECT_EQ(changes, 4);
    brush.SetStyle(TBrushStyle::bsCross);
    EXPECT_EQ(changes, 5);
}

TEST(GraphicsObjectsTest, AssignCopiesEverythingAndNotifiesOnce) {
    TPen source;
    source.SetColor(clBlue);
    source.SetWidth(4);
    source.SetStyle(TPenStyle::psDashDot);
    source.SetMode(TPenMode::pmNotXor);
    TPen pen;
    int changes = 0;
    pen.SetOnChange([&] { ++changes; });
    pen.Assign(source);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(pen.Color(), clBlue);
    EXPECT_EQ(pen.Width(), 4);
    EXPECT_EQ(pen.Style(), TPenStyle::psDashDot);
    EXPECT_EQ(pen.Mode(), TPenMode::pmNotXor);
}

TEST(GraphicsObjectsTest, AssigningAnUnrelatedObjectFailsWithTheRuntimeMessage) {
    TPen pen;
    TBrush brush;
    try {
        pen.Assign(brush);
        FAIL() << "no exception";
    } catch (const base::EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TBrush to a TPen");
    }
}

TEST(GraphicsObjectsTest, FontHeightAndSizeFollowTheClassicRule) {
    TFont font;
    EXPECT_EQ(font.Size(), 8);
    EXPECT_EQ(font.Height(), -11);  // -MulDiv(8, 96, 72) = -10.67 rounded away from zero
    font.SetSize(10);
    EXPECT_EQ(font.Height(), -13);
    font.SetHeight(-16);
    EXPECT_EQ(font.Size(), 12);
    font.SetPixelsPerInch(120);
    EXPECT_EQ(font.Height(), -16);  // the height stays, the size reads differently
    EXPECT_EQ(font.Size(), 10);     // -MulDiv(-16, 72, 120) = 9.6
    font.SetSize(9);
    EXPECT_EQ(font.Height(), -15);
    EXPECT_THROW(font.SetPixelsPerInch(0), base::Exception);
}

TEST(GraphicsObjectsTest, FontAssignCopiesEverythingButPixelsPerInch) {
    TFont source;
    source.SetName("Arial");
    source.SetHeight(-20);
    source.SetStyle({TFontStyle::fsBold, TFontStyle::fsUnderline});
    source.SetColor(clGreen);
    source.SetOrientation(450);
    source.SetPixelsPerInch(144);
    TFont font;
    int changes = 0;
    font.SetOnChange([&] { ++changes; });
    font.Assign(source);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(font.Name(), "Arial");
    EXPECT_EQ(font.Height(), -20);
    EXPECT_TRUE(font.Style().Contains(TFontStyle::fsBold));
    EXPECT_FALSE(font.Style().Contains(TFontStyle::fsItalic));
    EXPECT_EQ(font.Color(), clGreen);
    EXPECT_EQ(font.Orientation(), 450);
    EXPECT_EQ(font.PixelsPerInch(), 96);
}

TEST(GraphicsObjectsTest, SystemColoursAreConvertedToTheClassicDesktop) {
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(192, 192, 192));
    EXPECT_EQ(ColorToRGB(2147483668u), RGB(255, 255, 255));  // button highlight
    EXPECT_EQ(ColorToRGB(2147483664u), RGB(128, 128, 128));  // button shadow
    EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
    EXPECT_EQ(ColorToRGB(clRed), RGB(255, 0, 0));
    EXPECT_EQ(ColorToRGB(kSystemColorFlag | 200), clBlack);  // unknown index
    EXPECT_EQ(GetRValue(clRed), 255);
    EXPECT_EQ(GetBValue(clNavy), 128);
}

}  // namespace
}  // namespace gfx
