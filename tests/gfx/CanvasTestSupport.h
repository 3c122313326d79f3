// Shared helpers of the canvas pixel tests: a small white bitmap and pixel-set comparison.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <utility>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"

namespace gfx::testing {

using TPixelSet = std::set<std::pair<int32_t, int32_t>>;  // (x, y)

// A white bitmap of the given size whose canvas draws black one-pixel lines.
class TCanvasFixture : public ::testing::Test {
  protected:
    void Make(int32_t width, int32_t height) {
        m_bitmap.SetSize(width, height);
        Clear();
    }
    void Clear() {
        TCanvas& c = m_bitmap.Canvas();
        TBrushStyle style = c.Brush().Style();
        TColor color = c.Brush().Color();
        c.Brush().SetStyle(TBrushStyle::bsSolid);
        c.Brush().SetColor(clWhite);
        c.FillRect(TRect(0, 0, m_bitmap.Width(), m_bitmap.Height()));
        c.Brush().SetStyle(style);
        c.Brush().SetColor(color);
    }
    TCanvas& Canvas() { return m_bitmap.Canvas(); }
    TColorRef At(int32_t x, int32_t y) { return m_bitmap.Canvas().Pixel(x, y); }
    // Every pixel that is not white.
    TPixelSet Painted() {
        TPixelSet set;
        for (int32_t y = 0; y < m_bitmap.Height(); ++y) {
            for (int32_t x = 0; x < m_bitmap.Width(); ++x) {
                if (m_bitmap.ScanLine(y)[x] != clWhite) {
                    set.insert({x, y});
                }
            }
        }
        return set;
    }
    TPixelSet PaintedWith(TColorRef color) {
        TPixelSet set;
        for (int32_t y = 0; y < m_bitmap.Height(); ++y) {
            for (int32_t x = 0; x < m_bitmap.Width(); ++x) {
                if (m_bitmap.ScanLine(y)[x] == color) {
                    set.insert({x, y});
                }
            }
        }
        return set;
    }
    // A picture of the painted pixels for failure messages ('#' painted, '.' white).
    std::string Picture() {
        std::string text;
        for (int32_t y = 0; y < m_bitmap.Height(); ++y) {
            for (int32_t x = 0; x < m_bitmap.Width(); ++x) {
                text += m_bitmap.ScanLine(y)[x] == clWhite ? '.' : '#';
            }
            text += '\n';
        }
        return text;
    }

    TBitmap m_bitmap;
};

inline TPixelSet Where(int32_t width, int32_t height,
                       const std::function<bool(int32_t, int32_t)>& in) {
    TPixelSet set;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            if (in(x, y)) {
                set.insert({x, y});
            }
        }
    }
    return set;
}

}  // namespace gfx::testing
