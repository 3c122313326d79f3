// Chart pens and their variants, 3D options, gradients, the font object, the default font,
// the palette and the angle check.
#include <gtest/gtest.h>

#include "chart/canvas/ChartPen.h"
#include "chart/canvas/View3DOptions.h"
#include "chart/engine/ChartColors.h"
#include "chart/messages/ChartMessages.h"
#include "chart/panel/ChartFonts.h"
#include "chart/panel/ChartGradient.h"
#include "chart/panel/ChartProcs.h"
#include "classes/ClassBuilder.h"

namespace {

bool Stored(const classes::TPersistent& object, const char* property) {
    return object.ClassInfo().FindProperty(property)->IsStored(object);
}

TEST(ChartPenTest, SettersNotifyOnlyOnChange) {
    int changes = 0;
    chart::TChartPen pen([&] { ++changes; });
    pen.SetVisible(true);
    pen.SetSmallDots(false);
    EXPECT_EQ(changes, 0);
    pen.SetVisible(false);
    pen.SetSmallDots(true);
    pen.SetWidth(3);
    EXPECT_EQ(changes, 3);

    chart::TChartPen copy([&] { ++changes; });
    copy.Assign(pen);
    EXPECT_EQ(changes, 4);  // one event for the whole assignment
    EXPECT_FALSE(copy.Visible());
    EXPECT_TRUE(copy.SmallDots());
    EXPECT_EQ(copy.Width(), 3);
    gfx::TPen plain;
    plain.SetColor(gfx::clRed);
    copy.Assign(plain);
    EXPECT_EQ(copy.Color(), gfx::clRed);
    EXPECT_FALSE(copy.Visible());
}

TEST(ChartPenTest, VariantsHaveTheirOwnDefaultsAndStoreOnlyDifferences) {
    int changes = 0;
    auto count = [&] { ++changes; };
    chart::TChartHiddenPen hidden(count);
    chart::TDottedGrayPen dotted(count);
    chart::TDarkGrayPen dark(count);
    chart::TChartArrowPen arrow(count);
    chart::TChartAxisPen axis(count);
    EXPECT_EQ(changes, 0);  // constructing is silent
    EXPECT_FALSE(hidden.Visible());
    EXPECT_EQ(dotted.Color(), 8421504u);
    EXPECT_EQ(dotted.Style(), gfx::TPenStyle::psDot);
    EXPECT_EQ(dark.Color(), 8421504u);
    EXPECT_EQ(arrow.Color(), 16777215u);
    EXPECT_EQ(axis.Width(), 2);
    for (const classes::TPersistent* pen : std::initializer_list<const classes::TPersistent*>{
             &hidden, &dotted, &dark, &arrow, &axis}) {
        for (const char* name : {"Color", "Style", "Width", "Visible", "SmallDots", "Mode"}) {
            EXPECT_FALSE(Stored(*pen, name)) << pen->ClassName() << "." << name;
        }
    }
    chart::TChartPen plain(nullptr);
    plain.SetColor(8421504);
    EXPECT_TRUE(Stored(plain, "Color"));
    dotted.SetColor(8421504);
    EXPECT_FALSE(Stored(dotted, "Color"));
    hidden.SetVisible(true);
    EXPECT_TRUE(Stored(hidden, "Visible"));
}

TEST(View3DOptionsTest, HooksSeeTheRightMomentAndAssignIsSilent) {
    chart::TView3DOptions options(nullptr);
    EXPECT_EQ(options.Elevation(), 345);
    EXPECT_EQ(options.Rotation(), 345);
    EXPECT_EQ(options.Perspective(), 15);
    EXPECT_EQ(options.Zoom(), 100);
    EXPECT_TRUE(options.Orthogonal());
    std::vector<std::string> calls;
    options.SetOnZoom([&](int32_t newZoom) {
        calls.push_back("zoom " + std::to_string(options.Zoom()) + "->" + std::to_string(newZoom));
    });
    options.SetOnScrolled([&](bool horizontal) {
        calls.push_back(std::string(horizontal ? "h " : "v ") +
                        std::to_string(horizontal ? options.HorizOffset() : options.VertOffset()));
    });
    options.SetZoom(120);
    options.SetZoom(120);
    options.SetHorizOffset(5);
    options.SetVertOffset(-3);
    options.SetVertOffset(-3);
    EXPECT_EQ(calls, (std::vector<std::string>{"zoom 100->120", "h 5", "v -3"}));

    chart::TView3DOptions copy(nullptr);
    copy.SetOnZoom([&](int32_t) { calls.push_back("copy zoom"); });
    options.SetTilt(7);
    options.SetOrthogonal(false);
    options.SetZoomText(false);
    copy.Assign(options);
    EXPECT_EQ(copy.Zoom(), 120);
    EXPECT_EQ(copy.HorizOffset(), 5);
    EXPECT_EQ(copy.VertOffset(), -3);
    EXPECT_EQ(copy.Tilt(), 7);
    EXPECT_FALSE(copy.Orthogonal());
    EXPECT_FALSE(copy.ZoomText());
    EXPECT_EQ(calls.size(), 3u);
    gfx::TPen unrelated;
    copy.Assign(unrelated);  // ignored
    EXPECT_EQ(copy.Zoom(), 120);
}

TEST(ChartGradientTest, DefaultsAssignmentAndRefusal) {
    chart::TChartGradient gradient(nullptr);
    EXPECT_EQ(gradient.Direction(), chart::TGradientDirection::gdTopBottom);
    EXPECT_EQ(gradient.StartColor(), 16777215u);
    EXPECT_EQ(gradient.EndColor(), 65535u);
    EXPECT_FALSE(gradient.Visible());
    EXPECT_FALSE(Stored(gradient, "EndColor"));
    chart::TChartGradient other(nullptr);
    other.SetVisible(true);
    other.SetDirection(chart::TGradientDirection::gdFromCenter);
    other.SetStartColor(gfx::clRed);
    gradient.Assign(other);
    EXPECT_TRUE(gradient.Visible());
    EXPECT_EQ(gradient.Direction(), chart::TGradientDirection::gdFromCenter);
    EXPECT_EQ(gradient.StartColor(), gfx::clRed);
    gfx::TPen pen;
    try {
        gradient.Assign(pen);
        ADD_FAILURE() << "assigned a pen";
    } catch (const base::EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TPen to a TChartGradient");
    }
}

TEST(ChartFontTest, DefaultChartFontIsArialEightBlack) {
    EXPECT_EQ(chart::DefaultFontName(), "Arial");
    EXPECT_EQ(chart::DefaultFontSize(), 8);
    int changes = 0;
    auto font = chart::NewDefaultFont([&] { ++changes; });
    EXPECT_EQ(font->Name(), "Arial");
    EXPECT_EQ(font->Size(), 8);
    EXPECT_EQ(font->Color(), 0u);
    EXPECT_TRUE(chart::IsDefaultFontSetting(*font));
    font->SetStyle({gfx::TFontStyle::fsBold});
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(chart::IsDefaultFontSetting(*font));
    font->SetStyle({});
    font->SetName("arial");  // the name compares exactly
    EXPECT_FALSE(chart::IsDefaultFontSetting(*font));
    font->SetName("Arial");
    font->SetCharset(0);
    EXPECT_FALSE(chart::IsDefaultFontSetting(*font));
}

TEST(ChartFontTest, FontObjectKeepsItsFontAndCopiesValues) {
    chart::TChartFontObject title(nullptr);
    gfx::TFont& owned = title.Font();
    EXPECT_FALSE(chart::TChartFontObject::IsFontStored(title));
    gfx::TFont bold;
    bold.Assign(owned);
    bold.SetStyle({gfx::TFontStyle::fsBold});
    title.SetFont(bold);
    EXPECT_EQ(&title.Font(), &owned);
    EXPECT_TRUE(chart::TChartFontObject::IsFontStored(title));
    chart::TChartFontObject legend(nullptr);
    legend.Assign(title);
    EXPECT_TRUE(legend.Font().Style().Contains(gfx::TFontStyle::fsBold));
    EXPECT_THROW(legend.Assign(bold), base::EConvertError);
}

TEST(ChartProcsTest, CheckAngleAcceptsZeroTo359) {
    EXPECT_NO_THROW(chart::CheckAngle(0, "Axis Title"));
    EXPECT_NO_THROW(chart::CheckAngle(359, "Axis Title"));
    for (int32_t bad : {-1, 360}) {
        try {
            chart::CheckAngle(bad, "Axis Labels");
            ADD_FAILURE() << bad;
        } catch (const chart::ChartException& e) {
            EXPECT_EQ(e.Message(), "Axis Labels Angle must be between 0 and 359 degrees");
        }
    }
    EXPECT_EQ(chart::PaletteColor(16), gfx::clRed);
    EXPECT_EQ(chart::PaletteColor(15), gfx::clBlack);
    EXPECT_EQ(chart::PaletteColor(7), 8421376u);
}

}  // namespace
