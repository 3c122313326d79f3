// Fonts, colours and label texts in FLTK terms.
#include "ui/FltkStyle.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Fonts are not copyable: each call makes one that lives until the end of the statement.
std::unique_ptr<gfx::TFont> MakeFont(const std::string& name, int32_t height,
                                     gfx::TFontStyles style = {}) {
    auto font = std::make_unique<gfx::TFont>();
    font->SetName(name);
    font->SetHeight(height);
    font->SetStyle(style);
    return font;
}

TEST(FltkStyleTest, ClassicSansNamesMapToTheSansFaceWithTheStyleLetter) {
    using gfx::TFontStyle;
    EXPECT_EQ(ui::FltkFaceName(*MakeFont("MS Sans Serif", -11)), " Liberation Sans");
    EXPECT_EQ(ui::FltkFaceName(*MakeFont("Microsoft Sans Serif", -19, {TFontStyle::fsBold})),
              "BLiberation Sans");
    EXPECT_EQ(ui::FltkFaceName(*MakeFont("Arial", -16, {TFontStyle::fsItalic})),
              "ILiberation Sans");
    EXPECT_EQ(ui::FltkFaceName(
                  *MakeFont("ms sans serif", -16, {TFontStyle::fsBold, TFontStyle::fsItalic})),
              "PLiberation Sans");
    // Another family is asked for by its own name.
    EXPECT_EQ(ui::FltkFaceName(*MakeFont("DejaVu Sans", -11)), " DejaVu Sans");
}

TEST(FltkStyleTest, SameNameAndStyleShareOneFaceAndStylesDiffer) {
    const Fl_Font regular = ui::FltkFace(*MakeFont("MS Sans Serif", -11));
    EXPECT_EQ(ui::FltkFace(*MakeFont("MS Sans Serif", -19)), regular);
    EXPECT_EQ(ui::FltkFace(*MakeFont("Arial", -8)), regular);
    EXPECT_NE(ui::FltkFace(*MakeFont("MS Sans Serif", -11, {gfx::TFontStyle::fsBold})), regular);
}

TEST(FltkStyleTest, CharacterHeightFromNegativeZeroAndPositiveHeights) {
    EXPECT_EQ(ui::CharacterHeight(*MakeFont("MS Sans Serif", -19)), 19);
    EXPECT_EQ(ui::CharacterHeight(*MakeFont("MS Sans Serif", 0)), 11);
    // A cell height is ascent plus descent, taller than the em: the em comes out smaller.
    const int32_t em = ui::CharacterHeight(*MakeFont("Arial", 23));
    EXPECT_LT(em, 23);
    EXPECT_GE(em, 18);
}

TEST(FltkStyleTest, ColoursAndSystemColoursBecomeTheirRgbValues) {
    EXPECT_EQ(ui::FltkColor(16777088), fl_rgb_color(128, 255, 255));
    EXPECT_EQ(ui::FltkColor(gfx::clBlue), fl_rgb_color(0, 0, 255));
    const gfx::TColorRef face = gfx::ColorToRGB(gfx::clBtnFace);
    EXPECT_EQ(ui::FltkColor(gfx::clBtnFace),
              fl_rgb_color(face & 0xFF, (face >> 8) & 0xFF, (face >> 16) & 0xFF));
}

TEST(FltkStyleTest, LabelTextDoublesTheSymbolSign) {
    EXPECT_EQ(ui::LabelText("Re-start: Press TWICE"), "Re-start: Press TWICE");
    EXPECT_EQ(ui::LabelText("@->a@b"), "@@->a@@b");
}

TEST(FltkStyleTest, EveryKindOfLineBreakBecomesOneLineFeed) {
    EXPECT_EQ(
        ui::NormaliseLineBreaks("No Morse detected!\n\rSend some now?\n\rOr Check connections?"),
        "No Morse detected!\nSend some now?\nOr Check connections?");
    EXPECT_EQ(ui::NormaliseLineBreaks("a\r\nb\rc\n\nd"), "a\nb\nc\n\nd");
    EXPECT_EQ(ui::NormaliseLineBreaks("\r"), "\n");
}

TEST(FltkStyleTest, ALongMessageIsCutToADialogOfSaneSize) {
    std::string many;
    for (int i = 1; i <= 3000; ++i) {
        many += i > 1 ? "\nline " : "line ";
        many += std::to_string(i);
    }
    // Four lines at most: three of the message, then how many more there were.
    EXPECT_EQ(ui::FitDialogText(many, 4, 80), "line 1\nline 2\nline 3\n(2997 more lines)");
    // Exactly as many lines as fit, and lines exactly as long as fit, are kept whole.
    EXPECT_EQ(ui::FitDialogText("a\nb\nc\nd", 4, 1), "a\nb\nc\nd");
    EXPECT_EQ(ui::FitDialogText("abcd\nefghi", 4, 4), "abcd\nefgh...");
    // A cut never splits a character: "\u00e9" is two bytes, at bytes 3 and 4.
    EXPECT_EQ(ui::FitDialogText("abc\u00e9f", 1, 4), "abc...");
    EXPECT_EQ(ui::FitDialogText("", 4, 4), "");
}

}  // namespace
