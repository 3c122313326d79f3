// Texts rendered in a face: their cells and widths, kept per text so that labels drawn again in
// every paint cost one look-up.
#include <algorithm>

#include "gfx/TextEngine.h"

namespace gfx {

namespace {

// The store's key: the lines' flags, then the text.
std::string TextKey(std::string_view text, bool underline, bool strikeOut) {
    std::string key;
    key.reserve(text.size() + 1);
    key.push_back(static_cast<char>('0' + (underline ? 1 : 0) + (strikeOut ? 2 : 0)));
    key.append(text);
    return key;
}

}  // namespace

int32_t TFontInstance::Utf8Width(std::string_view text) {
    const std::string key(text);
    auto found = m_widths.find(key);
    if (found != m_widths.end()) {
        return found->second;
    }
    if (m_widths.size() >= kKeptTexts) {
        m_widths.clear();
    }
    const int32_t width = TextWidth(DecodeText(text));
    m_widths.emplace(key, width);
    return width;
}

const TTextCell& TFontInstance::Cell(std::string_view text, bool underline, bool strikeOut) {
    std::string key = TextKey(text, underline, strikeOut);
    auto found = m_cells.find(key);
    if (found != m_cells.end()) {
        return found->second;
    }
    if (m_cells.size() >= kKeptTexts) {
        m_cells.clear();
    }
    const std::u32string codes = DecodeText(text);
    TTextCell cell;
    cell.Width = std::max(TextWidth(codes), 0);
    cell.Ascent = m_ascent;
    cell.Descent = m_descent;
    const auto width = static_cast<size_t>(cell.Width);
    const auto height = static_cast<size_t>(std::max(cell.Height(), 0));
    cell.Bits.assign(width * height, 0);
    const auto set = [&](int32_t x, int32_t y) {
        if (x >= 0 && x < cell.Width && y >= 0 && y < cell.Height()) {
            cell.Bits[static_cast<size_t>(y) * width + static_cast<size_t>(x)] = 1;
        }
    };
    int32_t penX = 0;
    for (char32_t c : codes) {
        const TGlyph& glyph = Glyph(c);
        for (int32_t row = 0; row < glyph.Height; ++row) {
            for (int32_t col = 0; col < glyph.Width; ++col) {
                if (glyph.Bits[static_cast<size_t>(row * glyph.Width + col)] != 0) {
                    set(penX + glyph.Left + col, cell.Ascent - glyph.Top + row);
                }
            }
        }
        penX += glyph.Advance;
    }
    const auto line = [&](int32_t top) {
        for (int32_t y = top; y < top + m_lineThickness; ++y) {
            for (int32_t x = 0; x < cell.Width; ++x) {
                set(x, y);
            }
        }
    };
    if (underline) {
        line(cell.Ascent + m_underlineOffset);
    }
    if (strikeOut) {
        line(cell.Ascent - m_strikeOutOffset);
    }
    // The covered runs of each row.
    cell.RowRuns.reserve(height + 1);
    for (size_t row = 0; row < height; ++row) {
        cell.RowRuns.push_back(static_cast<uint32_t>(cell.Runs.size()));
        const uint8_t* bits = cell.Bits.data() + row * width;
        size_t col = 0;
        while (col < width) {
            while (col < width && bits[col] == 0) {
                ++col;
            }
            const size_t start = col;
            while (col < width && bits[col] != 0) {
                ++col;
            }
            if (start < col) {
                cell.Runs.push_back({static_cast<int32_t>(start), static_cast<int32_t>(col)});
            }
        }
    }
    cell.RowRuns.push_back(static_cast<uint32_t>(cell.Runs.size()));
    return m_cells.emplace(std::move(key), std::move(cell)).first->second;
}

}  // namespace gfx
