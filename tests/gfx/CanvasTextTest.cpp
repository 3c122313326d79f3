// Text on the canvas: face lookup, metrics, alignment flags, background modes and rotation.
#include <gtest/gtest.h>

#include <string>

#include "CanvasTestSupport.h"
#include "gfx/TextEngine.h"

namespace gfx {
namespace {

using testing::TPixelSet;

class CanvasTextTest : public testing::TCanvasFixture {
  protected:
    void SetUp() override {
        Make(120, 80);
        Canvas().Font().SetName("Liberation Sans");
        Canvas().Font().SetHeight(-16);
        Canvas().Font().SetColor(clBlack);
        Canvas().SetBackMode(TBackMode::bmTransparent);
    }
    TRect Bounds() {
        TPixelSet painted = PaintedWith(clBlack);
        TRect r(1000, 1000, -1000, -1000);
        for (auto [x, y] : painted) {
            r = TRect(std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1),
                      std::max(r.Bottom, y + 1));
        }
        return r;
    }
};

TEST_F(CanvasTextTest, ClassicNamesFindTheMetricCompatibleFace) {
    TFont font;
    font.SetName("Arial");
    TFontInstance* face = TTextEngine::Instance().InstanceFor(font);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->FamilyName(), "Liberation Sans");
    font.SetName("MS Sans Serif");
    EXPECT_EQ(TTextEngine::Instance().InstanceFor(font)->FamilyName(), "Liberation Sans");
}

TEST_F(CanvasTextTest, HeightIsAscentPlusDescentAndWidthTheSumOfAdvances) {
    TSize extent = Canvas().TextExtent("W");
    TFontInstance* face = TTextEngine::Instance().InstanceFor(Canvas().Font());
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(extent.Height, face->Ascent() + face->Descent());
    EXPECT_EQ(Canvas().TextWidth("WW"), 2 * extent.Width);
    EXPECT_EQ(Canvas().TextWidth("Wi"), extent.Width + Canvas().TextWidth("i"));
    EXPECT_EQ(Canvas().TextExtent(""),
              (TSize{0, extent.Height}));  // empty text keeps the line height
    // Arial-compatible metrics at an em of 16 pixels: ascent 15, descent 4.
    EXPECT_EQ(face->Ascent(), 15);
    EXPECT_EQ(face->Descent(), 4);
}

// The pixels a text drawn at (x, y), aligned top-left, covers: each glyph's bits at the pen
// position, cut to the cell, and the underline across the cell; built from the glyphs alone.
TPixelSet GlyphLayout(const TFont& font, const std::string& text, int32_t x, int32_t y) {
    TFontInstance& face = *TTextEngine::Instance().InstanceFor(font);
    const std::u32string codes = DecodeText(text);
    const int32_t width = face.TextWidth(codes);
    const int32_t height = face.Ascent() + face.Descent();
    TPixelSet set;
    const auto add = [&](int32_t cx, int32_t cy) {
        if (cx >= 0 && cx < width && cy >= 0 && cy < height) {
            set.insert({x + cx, y + cy});
        }
    };
    int32_t pen = 0;
    for (char32_t c : codes) {
        const TGlyph& glyph = face.Glyph(c);
        for (int32_t row = 0; row < glyph.Height; ++row) {
            for (int32_t col = 0; col < glyph.Width; ++col) {
                if (glyph.Bits[static_cast<size_t>(row * glyph.Width + col)] != 0) {
                    add(pen + glyph.Left + col, face.Ascent() - glyph.Top + row);
                }
            }
        }
        pen += glyph.Advance;
    }
    if (font.Style().Contains(TFontStyle::fsUnderline)) {
        for (int32_t t = 0; t < face.LineThickness(); ++t) {
            for (int32_t cx = 0; cx < width; ++cx) {
                add(cx, face.Ascent() + face.UnderlineOffset() + t);
            }
        }
    }
    return set;
}

TEST_F(CanvasTextTest, TextsDrawnAgainFollowTheirFontSizeTextColourAndLines) {
    // Each step changes one thing and some come back to an earlier state: a kept text that
    // outlived its change would show the earlier picture.
    struct TStep {
        int32_t Height;
        const char* Text;
        TColor Color;
        bool Underline;
    };
    const TStep steps[] = {{-16, "Morse 12", clBlack, false}, {-16, "Morse 12", clBlack, false},
                           {-24, "Morse 12", clBlack, false}, {-16, "Morse 12", clRed, false},
                           {-16, "Morse 13", clRed, false},   {-16, "Morse 13", clRed, true},
                           {-16, "Morse 13", clRed, false},   {-24, "Morse 12", clBlack, false},
                           {-16, "Morse 12", clBlack, false}};
    int index = 0;
    for (const TStep& step : steps) {
        Clear();
        Canvas().Font().SetHeight(step.Height);
        Canvas().Font().SetColor(step.Color);
        Canvas().Font().SetStyle(step.Underline ? TFontStyles{TFontStyle::fsUnderline}
                                                : TFontStyles{});
        const int32_t x = 3 + index;  // and somewhere else each time
        Canvas().TextOut(x, 5, step.Text);
        EXPECT_EQ(PaintedWith(ColorToRGB(step.Color)),
                  GlyphLayout(Canvas().Font(), step.Text, x, 5))
            << "step " << index;
        EXPECT_EQ(Painted().size(), PaintedWith(ColorToRGB(step.Color)).size()) << "step " << index;
        EXPECT_EQ(
            Canvas().TextWidth(step.Text),
            TTextEngine::Instance().InstanceFor(Canvas().Font())->TextWidth(DecodeText(step.Text)))
            << "step " << index;
        ++index;
    }
}

TEST_F(CanvasTextTest, ThousandsOfTextsOfOnePaintStayKeptForTheNext) {
    // A chart with a thousand marks draws them and its labels in one face, well over a thousand
    // texts each paint: the store keeps them all, so a repaint renders none of them again.
    Canvas().Font().SetHeight(-11);
    TFontInstance* face = TTextEngine::Instance().InstanceFor(Canvas().Font());
    ASSERT_NE(face, nullptr);
    constexpr int kTexts = 1500;
    for (int i = 0; i < kTexts; ++i) {
        Canvas().TextOut(2, 2, std::to_string(i) + ".25");
    }
    EXPECT_GE(face->KeptCells(), static_cast<size_t>(kTexts));
}

TEST_F(CanvasTextTest, LargerFontsMeasureLarger) {
    int32_t small = Canvas().TextWidth("Morse");
    Canvas().Font().SetHeight(-32);
    EXPECT_GT(Canvas().TextWidth("Morse"), small);
}

TEST_F(CanvasTextTest, DrawnTextStaysInsideItsMeasuredCellForEveryAlignment) {
    const std::string text = "Hxg";
    TSize size = Canvas().TextExtent(text);
    TFontInstance* face = TTextEngine::Instance().InstanceFor(Canvas().Font());
    struct TCase {
        uint32_t Align;
        TRect Cell;
    };
    const int32_t x = 60, y = 40;
    const TCase cases[] = {
        {kTaLeft | kTaTop, TRect::FromSize(x, y, size.Width, size.Height)},
        {kTaRight | kTaTop, TRect::FromSize(x - size.Width, y, size.Width, size.Height)},
        {kTaCenter | kTaTop, TRect::FromSize(x - size.Width / 2, y, size.Width, size.Height)},
        {kTaLeft | kTaBaseline, TRect::FromSize(x, y - face->Ascent(), size.Width, size.Height)},
        {kTaLeft | kTaBottom, TRect::FromSize(x, y - size.Height, size.Width, size.Height)},
    };
    for (const TCase& c : cases) {
        Clear();
        Canvas().SetTextAlign(c.Align);
        Canvas().TextOut(x, y, text);
        TRect drawn = Bounds();
        ASSERT_FALSE(drawn.IsEmpty()) << c.Align;
        EXPECT_EQ(drawn.Intersect(c.Cell), drawn) << "alignment " << c.Align << "\n" << Picture();
        // The ink fills most of the cell: the H reaches near the top, the g near the bottom.
        EXPECT_LE(drawn.Top - c.Cell.Top, 5) << c.Align;
        EXPECT_LE(c.Cell.Bottom - drawn.Bottom, 2) << c.Align;
    }
}

TEST_F(CanvasTextTest, OpaqueBackgroundFillsExactlyTheCell) {
    Canvas().SetBackMode(TBackMode::bmOpaque);
    Canvas().SetBackColor(clYellow);
    Canvas().TextOut(10, 10, "Key");
    TSize size = Canvas().TextExtent("Key");
    TPixelSet cell = PaintedWith(clYellow);
    for (auto [px, py] : PaintedWith(clBlack)) {
        cell.insert({px, py});
    }
    EXPECT_EQ(cell, testing::Where(120, 80, [&](int32_t px, int32_t py) {
                  return TRect::FromSize(10, 10, size.Width, size.Height).Contains(px, py);
              }));
}

TEST_F(CanvasTextTest, QuarterTurnRotatesTheInkExactly) {
    Canvas().SetTextAlign(kTaLeft | kTaBaseline);
    Canvas().TextOut(30, 60, "Lg");
    TPixelSet flat = PaintedWith(clBlack);
    Clear();
    Canvas().Font().SetOrientation(900);  // tenths of a degree, counter-clockwise
    Canvas().TextOut(30, 60, "Lg");
    TPixelSet turned = PaintedWith(clBlack);
    // A quarter turn counter-clockwise about (30, 60): pixel (x, y) goes to (30 + (y - 60),
    // 60 - (x - 30) - 1) in pixel-cell terms.
    TPixelSet expected;
    for (auto [x, y] : flat) {
        expected.insert({30 + (y - 60), 60 - (x - 30) - 1});
    }
    EXPECT_EQ(turned, expected);
}

TEST_F(CanvasTextTest, TextRespectsTheClip) {
    Canvas().SetClipRect(TRect(0, 0, 15, 80));
    Canvas().TextOut(10, 10, "WWWW");
    for (auto [x, y] : Painted()) {
        EXPECT_LT(x, 15);
    }
}

// A text whose cell fits the clip exactly, or sticks out by one pixel on any side, shows the
// pixels of its glyphs (or, opaque, of its whole cell) inside the clip and nothing outside.
TEST_F(CanvasTextTest, TextsAtTheClipsEdgesShowWhatLiesInside) {
    const std::string text = "Wg7";
    const TSize size = Canvas().TextExtent(text);
    const TRect clip(20, 10, 20 + size.Width + 4, 10 + size.Height + 3);
    const TPoint corners[] = {{20, 10},
                              {clip.Right - size.Width, clip.Bottom - size.Height},
                              {19, 11},
                              {21, 9},
                              {clip.Right - size.Width + 1, 11},
                              {21, clip.Bottom - size.Height + 1}};
    for (bool opaque : {false, true}) {
        for (TPoint at : corners) {
            Clear();
            Canvas().SetClipRect(clip);
            Canvas().SetBackMode(opaque ? TBackMode::bmOpaque : TBackMode::bmTransparent);
            Canvas().SetBackColor(clYellow);
            Canvas().TextOut(at.X, at.Y, text);
            Canvas().SetClipRect(TRect(0, 0, 120, 80));
            TPixelSet expected;
            for (auto [x, y] : GlyphLayout(Canvas().Font(), text, at.X, at.Y)) {
                if (clip.Contains(x, y)) {
                    expected.insert({x, y});
                }
            }
            EXPECT_EQ(PaintedWith(clBlack), expected) << at.X << ", " << at.Y;
            const TPixelSet ground = testing::Where(120, 80, [&](int32_t x, int32_t y) {
                return opaque && clip.Contains(x, y) &&
                       TRect::FromSize(at.X, at.Y, size.Width, size.Height).Contains(x, y) &&
                       expected.count({x, y}) == 0;
            });
            EXPECT_EQ(PaintedWith(clYellow), ground) << at.X << ", " << at.Y;
        }
    }
}

TEST(TextDecodeTest, DecodesUtf8AndTakesStrayBytesAsLatin1) {
    EXPECT_EQ(DecodeText("a\xC2\xB0"), U"a\u00B0");
    EXPECT_EQ(DecodeText("\xB0x"), U"\u00B0x");
    EXPECT_EQ(DecodeText("\xE2\x82"), U"\u00E2\u0082");
}

TEST_F(CanvasTextTest, ATextScaleMeasuresAndDrawsAsTheEnlargedFont) {
    // 150 % of a 16-pixel font is the 24-pixel font: the same extent and the same pixels,
    // measured and drawn crisp at that size; the font itself keeps its height.
    TBitmap enlarged(120, 80);
    TCanvas& other = enlarged.Canvas();
    other.Brush().SetColor(clWhite);
    other.FillRect(TRect(0, 0, 120, 80));
    other.Font().Assign(Canvas().Font());
    other.Font().SetHeight(-24);
    other.SetBackMode(TBackMode::bmTransparent);
    Canvas().SetTextScale(150);
    EXPECT_EQ(Canvas().TextExtent("Morse 20 wpm"), other.TextExtent("Morse 20 wpm"));
    Canvas().TextOut(4, 6, "Keyvet");
    other.TextOut(4, 6, "Keyvet");
    TPixelSet expected;
    for (int32_t y = 0; y < enlarged.Height(); ++y) {
        for (int32_t x = 0; x < enlarged.Width(); ++x) {
            if (enlarged.ScanLine(y)[x] == clBlack) {
                expected.insert({x, y});
            }
        }
    }
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(PaintedWith(clBlack), expected);
    EXPECT_EQ(Canvas().Font().Height(), -16);
    // Back at 100 % the text is the 16-pixel font's again (the last face asked for is not kept).
    Canvas().SetTextScale(100);
    EXPECT_LT(Canvas().TextExtent("W").Height, other.TextExtent("W").Height);
    other.Font().SetHeight(-16);
    EXPECT_EQ(Canvas().TextExtent("W"), other.TextExtent("W"));
}

}  // namespace
}  // namespace gfx
