// A batch of pies against the device pie drawn wedge by wedge: seeded random pie charts
// (tiny, zero and huge slices, exploded slices, rotation) and random single wedges, under every
// pen and brush the batch takes or hands on, clipped and moved, compared pixel by pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"

namespace gfx {
namespace {

constexpr int32_t kWidth = 96;
constexpr int32_t kHeight = 72;

// A background that differs from pixel to pixel, so hatch gaps and mixing show.
TColorRef Background(int32_t x, int32_t y) {
    return static_cast<TColorRef>((x * 2654435761u) ^ (y * 40503u)) & 0x00FFFFFF;
}

// The canvas state of one case.
struct TPieCase {
    std::vector<TPieWedge> Wedges;
    int32_t PenWidth = 1;
    TPenStyle PenStyle = TPenStyle::psSolid;
    TPenMode PenMode = TPenMode::pmCopy;
    TBackMode BackMode = TBackMode::bmOpaque;
    int32_t Clip = 0;  // 0 none, 1 a rectangle, 2 a polygon
    TPoint Origin;     // window origin

    void Prepare(TCanvas& c) const {
        c.Pen().SetWidth(PenWidth);
        c.Pen().SetStyle(PenStyle);
        c.Pen().SetMode(PenMode);
        c.Pen().SetColor(clBlack);
        c.SetBackMode(BackMode);
        c.SetBackColor(clLime);
        c.SetWindowOrg(Origin);
        if (Clip == 1) {
            c.SetClipRect(TRect(Origin.X + 9, Origin.Y + 5, Origin.X + 80, Origin.Y + 61));
        } else if (Clip == 2) {
            const std::vector<TPoint> points = {{Origin.X + 4, Origin.Y + 30},
                                                {Origin.X + 50, Origin.Y + 2},
                                                {Origin.X + 90, Origin.Y + 40},
                                                {Origin.X + 40, Origin.Y + 70}};
            c.SetClipPolygon(points);
        }
    }
    std::string Describe() const {
        std::ostringstream text;
        text << "pen width " << PenWidth << " style " << static_cast<int>(PenStyle) << " mode "
             << static_cast<int>(PenMode) << " back " << static_cast<int>(BackMode) << " clip "
             << Clip << " origin " << Origin.X << "," << Origin.Y << " wedges";
        for (const TPieWedge& w : Wedges) {
            text << " [" << w.Box.Left << " " << w.Box.Top << " " << w.Box.Right << " "
                 << w.Box.Bottom << " / " << w.Start.X << "," << w.Start.Y << " " << w.End.X << ","
                 << w.End.Y << " colour " << w.Color << " style " << static_cast<int>(w.Style)
                 << "]";
        }
        return text.str();
    }
};

void Fresh(TBitmap& bitmap) {
    bitmap.SetSize(kWidth, kHeight);
    for (int32_t y = 0; y < kHeight; ++y) {
        for (int32_t x = 0; x < kWidth; ++x) {
            bitmap.ScanLine(y)[x] = Background(x, y);
        }
    }
}

// The first pixel where the batch and the wedge-by-wedge drawing differ, or an empty text.
std::string Difference(const TPieCase& c) {
    TBitmap batch;
    Fresh(batch);
    c.Prepare(batch.Canvas());
    batch.Canvas().Pies(c.Wedges);
    TBitmap reference;
    Fresh(reference);
    c.Prepare(reference.Canvas());
    for (const TPieWedge& w : c.Wedges) {
        reference.Canvas().Brush().SetColor(w.Color);
        reference.Canvas().Brush().SetStyle(w.Style);
        reference.Canvas().Pie(w.Box.Left, w.Box.Top, w.Box.Right, w.Box.Bottom, w.Start.X,
                               w.Start.Y, w.End.X, w.End.Y);
    }
    for (int32_t y = 0; y < kHeight; ++y) {
        for (int32_t x = 0; x < kWidth; ++x) {
            if (batch.ScanLine(y)[x] != reference.ScanLine(y)[x]) {
                std::ostringstream text;
                text << "pixel (" << x << ", " << y << ") batch " << batch.ScanLine(y)[x]
                     << " reference " << reference.ScanLine(y)[x] << "; " << c.Describe();
                return text.str();
            }
        }
    }
    if (batch.Canvas().Brush().Color() != reference.Canvas().Brush().Color() ||
        batch.Canvas().Brush().Style() != reference.Canvas().Brush().Style()) {
        return "the brush after the batch differs; " + c.Describe();
    }
    return std::string();
}

class TRandomPies {
  public:
    explicit TRandomPies(uint32_t seed) : m_random(seed) {}

    int32_t Pick(int32_t lo, int32_t hi) {
        return std::uniform_int_distribution<int32_t>(lo, hi)(m_random);
    }
    double Uniform(double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(m_random);
    }

    // The pen, brush styles, clip and origin of a case; the pens the batch hands on to the
    // device pie come up too.
    void Dress(TPieCase& c) {
        constexpr TPenStyle kStyles[] = {TPenStyle::psSolid, TPenStyle::psSolid,
                                         TPenStyle::psInsideFrame, TPenStyle::psClear,
                                         TPenStyle::psDash};
        c.PenStyle = kStyles[Pick(0, 4)];
        c.PenWidth = Pick(0, 6) == 0 ? 3 : Pick(0, 1);
        c.PenMode = Pick(0, 9) == 0 ? TPenMode::pmXor : TPenMode::pmCopy;
        c.BackMode = Pick(0, 1) == 0 ? TBackMode::bmOpaque : TBackMode::bmTransparent;
        c.Clip = Pick(0, 2);
        c.Origin = Pick(0, 1) == 0 ? TPoint{0, 0} : TPoint{Pick(-20, 20), Pick(-20, 20)};
        constexpr TBrushStyle kBrushes[] = {TBrushStyle::bsSolid, TBrushStyle::bsSolid,
                                            TBrushStyle::bsClear, TBrushStyle::bsFDiagonal,
                                            TBrushStyle::bsCross};
        const bool patterns = Pick(0, 3) == 0;
        for (TPieWedge& w : c.Wedges) {
            w.Style = patterns ? kBrushes[Pick(0, 4)] : TBrushStyle::bsSolid;
            w.Box = {w.Box.Left + c.Origin.X, w.Box.Top + c.Origin.Y, w.Box.Right + c.Origin.X,
                     w.Box.Bottom + c.Origin.Y};
            w.Start = {w.Start.X + c.Origin.X, w.Start.Y + c.Origin.Y};
            w.End = {w.End.X + c.Origin.X, w.End.Y + c.Origin.Y};
        }
    }

    // A pie chart's slices, as the pie series hands them over: random values (some zero, some
    // tiny, some huge), a rotation, exploded slices moving along their middles, rays far out.
    TPieCase Chart() {
        TPieCase c;
        const int32_t count = Pick(1, 60);
        std::vector<double> values;
        double total = 0;
        for (int32_t i = 0; i < count; ++i) {
            const int32_t kind = Pick(0, 9);
            const double value = kind == 0   ? 0.0
                                 : kind == 1 ? 1e-4
                                 : kind == 2 ? 500.0
                                             : Uniform(0, 10);
            values.push_back(value);
            total += value;
        }
        if (total == 0) {
            return c;
        }
        const TPoint centre{Pick(20, 76), Pick(16, 56)};
        const int32_t rx = Pick(1, 60);
        const int32_t ry = Pick(0, 1) == 0 ? rx : Pick(1, 50);
        double angle = Pick(0, 359);
        constexpr double kRay = 10000.0;
        for (int32_t i = 0; i < count; ++i) {
            const double sweep = values[static_cast<size_t>(i)] * 360.0 / total;
            const double a0 = angle * std::numbers::pi / 180;
            const double a1 = (angle + sweep) * std::numbers::pi / 180;
            const double middle = (a0 + a1) / 2;
            const int32_t explode = Pick(0, 7) == 0 ? Pick(1, 40) : 0;
            const TPoint at{centre.X + static_cast<int32_t>(
                                           std::lround(rx * explode / 100.0 * std::cos(middle))),
                            centre.Y - static_cast<int32_t>(
                                           std::lround(ry * explode / 100.0 * std::sin(middle)))};
            TPieWedge w;
            w.Box = {at.X - rx, at.Y - ry, at.X + rx, at.Y + ry};
            w.Start = {at.X + static_cast<int32_t>(std::lround(kRay * std::cos(a0))),
                       at.Y - static_cast<int32_t>(std::lround(kRay * std::sin(a0)))};
            w.End = {at.X + static_cast<int32_t>(std::lround(kRay * std::cos(a1))),
                     at.Y - static_cast<int32_t>(std::lround(kRay * std::sin(a1)))};
            w.Color = static_cast<TColor>(m_random() & 0x00FFFFFF);
            c.Wedges.push_back(w);
            angle += sweep;
        }
        Dress(c);
        return c;
    }

    // Wedges of any box and any ray points: rays through the centre, on the axes, the same
    // and opposite directions, boxes cut by the bitmap's edges, empty and one pixel wide.
    TPieCase Wild() {
        TPieCase c;
        const int32_t count = Pick(1, 6);
        for (int32_t i = 0; i < count; ++i) {
            TPieWedge w;
            w.Box = {Pick(-30, 110), Pick(-30, 90), Pick(-30, 110), Pick(-30, 90)};
            const TPoint centre{w.Box.Left + (w.Box.Right - w.Box.Left) / 2,
                                w.Box.Top + (w.Box.Bottom - w.Box.Top) / 2};
            auto ray = [&]() {
                switch (Pick(0, 3)) {
                    case 0:
                        return centre;
                    case 1:
                        return TPoint{centre.X + Pick(-1, 1) * Pick(1, 90),
                                      centre.Y + Pick(-1, 1) * Pick(1, 90)};
                    default:
                        return TPoint{Pick(-60, 150), Pick(-60, 130)};
                }
            };
            w.Start = ray();
            switch (Pick(0, 3)) {
                case 0:
                    w.End = w.Start;
                    break;
                case 1:  // the opposite direction
                    w.End = {2 * centre.X - w.Start.X, 2 * centre.Y - w.Start.Y};
                    break;
                default:
                    w.End = ray();
                    break;
            }
            w.Color = static_cast<TColor>(m_random() & 0x00FFFFFF);
            c.Wedges.push_back(w);
        }
        Dress(c);
        return c;
    }

  private:
    std::mt19937 m_random;
};

TEST(CanvasPiesTest, PieChartsMatchTheDevicePieSliceBySlice) {
    TRandomPies random(24);
    for (int32_t i = 0; i < 1500; ++i) {
        const TPieCase c = random.Chart();
        const std::string difference = Difference(c);
        ASSERT_EQ(difference, "") << "chart case " << i;
    }
}

TEST(CanvasPiesTest, WedgesOfAnyBoxAndRaysMatchTheDevicePie) {
    TRandomPies random(7);
    for (int32_t i = 0; i < 3000; ++i) {
        const TPieCase c = random.Wild();
        const std::string difference = Difference(c);
        ASSERT_EQ(difference, "") << "wild case " << i;
    }
}

TEST(CanvasPiesTest, HalfAndWholeTurnsAndThinSlicesMatchTheDevicePie) {
    // Hand-picked edges: exactly half a turn each way, the same ray twice (the whole ellipse),
    // a slice one degree wide along each axis, and a slice whose rays end half-way between
    // rows.
    TPieCase c;
    const TRect box(10, 8, 71, 61);
    c.Wedges = {{box, {100, 34}, {-40, 34}, clRed, TBrushStyle::bsSolid},
                {box, {-40, 34}, {100, 34}, clBlue, TBrushStyle::bsSolid},
                {box, {40, -100}, {40, -100}, clGreen, TBrushStyle::bsSolid},
                {box, {1000, 34}, {1000, 17}, clYellow, TBrushStyle::bsSolid},
                {box, {40, -1000}, {23, -1000}, clAqua, TBrushStyle::bsSolid},
                {box, {-1000, 35}, {-1000, 52}, clFuchsia, TBrushStyle::bsSolid},
                {TRect(0, 3, 50, 57), {70, -35}, {25, -37}, clMaroon, TBrushStyle::bsSolid}};
    for (const TPenStyle style : {TPenStyle::psSolid, TPenStyle::psClear}) {
        c.PenStyle = style;
        EXPECT_EQ(Difference(c), "");
    }
}

}  // namespace
}  // namespace gfx
