// The chart canvas' gradient fill: vertical and horizontal bands, rings from the centre and
// quarter rings from a corner.
#include <algorithm>
#include <cmath>

#include "base/Arith.h"
#include "chart/canvas/ChartCanvas3D.h"
#include "chart/canvas/ChartColorMath.h"

namespace chart {

namespace {

// Most bands a vertical or horizontal gradient uses.
constexpr int32_t kMaxGradientBands = 256;

// Fills bands through the device brush, changing the brush only when the band colour changes
// and restoring the brush it found.
class TBandPainter {
  public:
    TBandPainter(gfx::TCanvas& device, const gfx::TRect& bounds, gfx::TColor first,
                 gfx::TColor second, int32_t denominator)
        : m_device(device),
          m_bounds(bounds),
          m_first(first),
          m_second(second),
          m_denominator(denominator),
          m_savedColor(device.Brush().Color()),
          m_savedStyle(device.Brush().Style()) {
        m_device.Brush().SetStyle(gfx::TBrushStyle::bsSolid);
    }
    TBandPainter(const TBandPainter&) = delete;
    TBandPainter& operator=(const TBandPainter&) = delete;
    ~TBandPainter() {
        m_device.Brush().SetColor(m_savedColor);
        m_device.Brush().SetStyle(m_savedStyle);
    }

    // Band index beyond the denominator keeps the second colour.
    void Fill(int32_t index, const gfx::TRect& band) {
        const gfx::TRect clipped = band.Intersect(m_bounds);
        if (clipped.IsEmpty()) {
            return;
        }
        const gfx::TColorRef color =
            BlendColor(m_first, m_second, std::min(index, m_denominator), m_denominator);
        if (!m_hasColor || color != m_color) {
            m_device.Brush().SetColor(color);
            m_color = color;
            m_hasColor = true;
        }
        m_device.FillRect(clipped);
    }

  private:
    gfx::TCanvas& m_device;
    gfx::TRect m_bounds;
    gfx::TColor m_first;
    gfx::TColor m_second;
    int32_t m_denominator;
    gfx::TColor m_savedColor;
    gfx::TBrushStyle m_savedStyle;
    gfx::TColorRef m_color = 0;
    bool m_hasColor = false;
};

}  // namespace

void TChartCanvas3D::PaintGradient(const gfx::TRect& rect, gfx::TColor firstColor,
                                   gfx::TColor secondColor, TGradientDirection direction) {
    const gfx::TRect r = rect.Normalized();
    const int32_t width = r.Width();
    const int32_t height = r.Height();
    if (width == 0 || height == 0) {
        return;
    }
    switch (direction) {
        case TGradientDirection::gdTopBottom:
        case TGradientDirection::gdBottomTop: {
            const int32_t bands = std::min(height, kMaxGradientBands);
            TBandPainter painter(ReferenceCanvas(), r, firstColor, secondColor, bands - 1);
            for (int32_t i = 0; i < bands; ++i) {
                painter.Fill(i, gfx::TRect(r.Left, r.Bottom - base::MulDiv(i + 1, height, bands),
                                           r.Right, r.Bottom - base::MulDiv(i, height, bands)));
            }
            return;
        }
        case TGradientDirection::gdLeftRight:
        case TGradientDirection::gdRightLeft: {
            const int32_t bands = std::min(width, kMaxGradientBands);
            TBandPainter painter(ReferenceCanvas(), r, firstColor, secondColor, bands - 1);
            for (int32_t i = 0; i < bands; ++i) {
                painter.Fill(i, gfx::TRect(r.Right - base::MulDiv(i + 1, width, bands), r.Top,
                                           r.Right - base::MulDiv(i, width, bands), r.Bottom));
            }
            return;
        }
        case TGradientDirection::gdFromCenter: {
            // Rings of GradientStepWidth pixels from the outer edge inwards.
            const int32_t step = std::max(GradientStepWidth, 1);
            const int32_t halfWidth = width / 2;
            const int32_t halfHeight = height / 2;
            TBandPainter painter(ReferenceCanvas(), r, firstColor, secondColor,
                                 halfWidth + halfHeight);
            int32_t i = 0;
            int32_t j = 0;
            do {
                const int32_t index = i + j;
                painter.Fill(index,
                             gfx::TRect::FromSize(r.Left + j, r.Top + i, step, height - 2 * i));
                painter.Fill(index, gfx::TRect::FromSize(r.Right - j - step, r.Top + i, step,
                                                         height - 2 * i));
                painter.Fill(index,
                             gfx::TRect::FromSize(r.Left + j, r.Top + i, width - 2 * j, step));
                painter.Fill(index, gfx::TRect::FromSize(r.Left + j, r.Bottom - i - step,
                                                         width - 2 * j, step));
                if (i < halfHeight) {
                    i += step;
                }
                if (j < halfWidth) {
                    j += step;
                }
            } while (i < halfHeight || j < halfWidth);
            return;
        }
        case TGradientDirection::gdFromTopLeft:
        case TGradientDirection::gdFromBottomLeft: {
            // Quarter rings round the starting corner: row and column runs that meet at
            // (left + j, y), each step one pixel further from the corner.
            const bool fromTop = direction == TGradientDirection::gdFromTopLeft;
            const int32_t startRow = fromTop ? r.Top : r.LastY();
            const int32_t denominator = static_cast<int32_t>(std::nearbyint(std::sqrt(
                static_cast<double>(width) * width + static_cast<double>(height) * height)));
            TBandPainter painter(ReferenceCanvas(), r, firstColor, secondColor, denominator);
            int32_t y = startRow;
            int32_t i = 0;
            int32_t j = 0;
            do {
                painter.Fill(j, gfx::TRect(r.Left, y, r.Left + j + 1, y + 1));
                painter.Fill(j, fromTop ? gfx::TRect(r.Left + j, startRow, r.Left + j + 1, y + 1)
                                        : gfx::TRect(r.Left + j, y, r.Left + j + 1, startRow + 1));
                if (i < height) {
                    ++i;
                    y += fromTop ? 1 : -1;
                }
                if (j < width) {
                    ++j;
                }
            } while (i < height || j < width);
            return;
        }
    }
}

}  // namespace chart
