// Text through fontconfig and FreeType: face lookup, hinted monochrome glyphs, metrics, caches.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "gfx/Font.h"

namespace gfx {

// One rendered glyph: a coverage bitmap (one byte per pixel, 0 or 1) placed relative to the
// pen position on the baseline.
struct TGlyph {
    int32_t Left = 0;     // pixels right of the pen position
    int32_t Top = 0;      // pixels above the baseline of the bitmap's first row
    int32_t Width = 0;    // pixels
    int32_t Height = 0;   // pixels
    int32_t Advance = 0;  // pixels the pen moves after the glyph
    std::vector<uint8_t> Bits;
};

// Columns [First, End) of one row of a text cell that the text covers.
struct TTextRun {
    int32_t First = 0;
    int32_t End = 0;
};

// A text rendered in one face: its cell of Width x (Ascent + Descent) pixels, the baseline
// Ascent rows from the top, as coverage bits and as the covered runs of each row.
struct TTextCell {
    int32_t Width = 0;
    int32_t Ascent = 0;
    int32_t Descent = 0;
    std::vector<uint8_t> Bits;      // row by row, 1 where covered
    std::vector<TTextRun> Runs;     // row by row, left to right
    std::vector<uint32_t> RowRuns;  // row r's runs are Runs[RowRuns[r]] .. Runs[RowRuns[r + 1]]

    int32_t Height() const { return Ascent + Descent; }
    bool Get(int32_t x, int32_t y) const {
        return x >= 0 && x < Width && y >= 0 && y < Height() &&
               Bits[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)] !=
                   0;
    }
};

// A face at one pixel size, with its glyph cache. Obtained from TTextEngine.
class TFontInstance {
  public:
    ~TFontInstance();
    TFontInstance(const TFontInstance&) = delete;
    TFontInstance& operator=(const TFontInstance&) = delete;

    int32_t Ascent() const { return m_ascent; }                    // pixels above the baseline
    int32_t Descent() const { return m_descent; }                  // pixels below the baseline
    int32_t UnderlineOffset() const { return m_underlineOffset; }  // pixels below the baseline
    int32_t StrikeOutOffset() const { return m_strikeOutOffset; }  // pixels above the baseline
    int32_t LineThickness() const { return m_lineThickness; }      // pixels
    const std::string& FamilyName() const { return m_family; }
    const TGlyph& Glyph(char32_t code);
    // Sum of the advances of the string's characters, pixels.
    int32_t TextWidth(std::u32string_view text);
    // TextWidth of a UTF-8 text, kept per text: measuring it again costs one look-up.
    int32_t Utf8Width(std::string_view text);
    // The cell of a UTF-8 text with or without the underline and strike-out lines, rendered
    // once and kept per text and lines: drawing it again costs one look-up. The reference is
    // valid until the next Cell call.
    const TTextCell& Cell(std::string_view text, bool underline, bool strikeOut);
    // How many rendered texts the store holds.
    size_t KeptCells() const { return m_cells.size(); }

  private:
    friend class TTextEngine;
    TFontInstance() = default;
    void* m_face = nullptr;  // FT_Face, kept opaque so this header needs no FreeType
    std::string m_family;
    int32_t m_ascent = 0;
    int32_t m_descent = 0;
    int32_t m_underlineOffset = 1;
    int32_t m_strikeOutOffset = 0;
    int32_t m_lineThickness = 1;
    std::unordered_map<char32_t, TGlyph> m_glyphs;
    // Kept texts: the lines' flags then the text, at most kKeptTexts of each kind (then the
    // whole store starts afresh).
    static constexpr size_t kKeptTexts = 8192;
    std::unordered_map<std::string, TTextCell> m_cells;
    std::unordered_map<std::string, int32_t> m_widths;
};

// The process-wide text engine: one FreeType library and a cache of font instances.
class TTextEngine {
  public:
    static TTextEngine& Instance();
    ~TTextEngine();

    // The instance for the font's name, height and weight/slant; null when no face is found.
    // `scalePercent` enlarges the height (a display size above 100 %).
    TFontInstance* InstanceFor(const TFont& font, int32_t scalePercent = 100);
    // The family name fontconfig is asked for: the metric-compatible face of a classic name.
    static std::string FamilyFor(const std::string& name);

  private:
    TTextEngine();
    TFontInstance* FindInstance(const TFont& font, int32_t height, bool bold, bool italic);
    void* m_library = nullptr;  // FT_Library
    void* m_config = nullptr;   // FcConfig, our own so that it is released with the engine
    std::unordered_map<std::string, std::unique_ptr<TFontInstance>> m_instances;
    // The last font asked for and its instance: texts come in runs of one font.
    struct TLastFont {
        std::string Name;
        int32_t Height = 0;
        bool Bold = false;
        bool Italic = false;
        TFontInstance* Instance = nullptr;
    } m_last;
};

// Decodes UTF-8; a byte that starts no valid sequence is taken as a Latin-1 character.
std::u32string DecodeText(std::string_view text);

}  // namespace gfx
