// The default palette and the chart colour names.
#include "chart/engine/ChartColors.h"

#include <array>

#include "gfx/ColorNames.h"

namespace chart {

gfx::TColor PaletteColor(int32_t index) {
    static constexpr std::array<gfx::TColor, kPaletteSize> kPalette = {
        gfx::clRed,     gfx::clGreen,  gfx::clYellow, gfx::clBlue,   gfx::clWhite, gfx::clGray,
        gfx::clFuchsia, gfx::clTeal,   gfx::clNavy,   gfx::clMaroon, gfx::clLime,  gfx::clOlive,
        gfx::clPurple,  gfx::clSilver, gfx::clAqua,   gfx::clBlack};
    const int32_t slot = index % kPaletteSize;
    return kPalette[static_cast<size_t>(slot < 0 ? slot + kPaletteSize : slot)];
}

const classes::TIdentMap& ChartColorIdents() {
    static const classes::TIdentMap idents = [] {
        classes::TIdentMap result;
        for (const auto& entry : gfx::ColorIdents()) {
            if (entry.second != static_cast<int64_t>(clSeriesDefault)) {
                result.push_back(entry);
            }
        }
        return result;
    }();
    return idents;
}

}  // namespace chart
