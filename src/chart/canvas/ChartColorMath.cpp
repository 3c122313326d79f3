// Darkening and gradient blending per colour channel.
#include "chart/canvas/ChartColorMath.h"

#include <algorithm>

#include "base/Arith.h"

namespace chart {

gfx::TColorRef DarkenColor(gfx::TColor color, int32_t amount) {
    const gfx::TColorRef rgb = gfx::ColorToRGB(color);
    auto darker = [amount](uint8_t channel) {
        return static_cast<uint8_t>(channel > amount ? channel - amount : 0);
    };
    return gfx::RGB(darker(gfx::GetRValue(rgb)), darker(gfx::GetGValue(rgb)),
                    darker(gfx::GetBValue(rgb)));
}

gfx::TColorRef BlendColor(gfx::TColor first, gfx::TColor second, int32_t index,
                          int32_t denominator) {
    const gfx::TColorRef a = gfx::ColorToRGB(first);
    if (denominator == 0) {
        return a;
    }
    const gfx::TColorRef b = gfx::ColorToRGB(second);
    auto channel = [index, denominator](uint8_t from, uint8_t to) {
        const int32_t value = from + base::MulDiv(index, to - from, denominator);
        return static_cast<uint8_t>(value & 0xFF);
    };
    return gfx::RGB(channel(gfx::GetRValue(a), gfx::GetRValue(b)),
                    channel(gfx::GetGValue(a), gfx::GetGValue(b)),
                    channel(gfx::GetBValue(a), gfx::GetBValue(b)));
}

}  // namespace chart
