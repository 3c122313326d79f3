// The font: face name, height in pixels or size in points, style, colour and escapement.
#pragma once

#include <cstdint>
#include <string>

#include "gfx/Colors.h"
#include "gfx/GraphicsObject.h"

namespace gfx {

enum class TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };

// A set of font styles, one bit per TFontStyle.
class TFontStyles {
  public:
    TFontStyles() = default;
    TFontStyles(std::initializer_list<TFontStyle> styles) {
        for (TFontStyle style : styles) {
            m_bits |= Bit(style);
        }
    }
    bool Contains(TFontStyle style) const { return (m_bits & Bit(style)) != 0; }
    bool Empty() const { return m_bits == 0; }
    TFontStyles With(TFontStyle style) const { return FromBits(m_bits | Bit(style)); }
    TFontStyles Without(TFontStyle style) const { return FromBits(m_bits & ~Bit(style)); }
    uint8_t Bits() const { return m_bits; }
    friend bool operator==(const TFontStyles&, const TFontStyles&) = default;

  private:
    static uint8_t Bit(TFontStyle style) {
        return static_cast<uint8_t>(1u << static_cast<int>(style));
    }
    static TFontStyles FromBits(unsigned bits) {
        TFontStyles styles;
        styles.m_bits = static_cast<uint8_t>(bits);
        return styles;
    }
    uint8_t m_bits = 0;
};

// Character set of the default code page.
constexpr uint8_t kDefaultCharset = 1;
// Pixels per inch a new font assumes.
constexpr int32_t kDefaultPixelsPerInch = 96;

class TFont : public TGraphicsObject {
  public:
    const std::string& Name() const { return m_name; }
    void SetName(const std::string& value);
    // Pixels. Negative: the character height (em size); positive: the cell height (ascent
    // plus descent). Related to Size by Height = -MulDiv(Size, PixelsPerInch, 72).
    int32_t Height() const { return m_height; }
    void SetHeight(int32_t value);
    // Points at PixelsPerInch: -MulDiv(Height, 72, PixelsPerInch).
    int32_t Size() const;
    void SetSize(int32_t value);
    int32_t PixelsPerInch() const { return m_pixelsPerInch; }
    // Keeps Height, so Size reads differently afterwards. Must be positive.
    void SetPixelsPerInch(int32_t value);
    TFontStyles Style() const { return m_style; }
    void SetStyle(TFontStyles value);
    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    uint8_t Charset() const { return m_charset; }
    void SetCharset(uint8_t value);
    // Escapement of the baseline, tenths of a degree, counter-clockwise.
    int32_t Orientation() const { return m_orientation; }
    void SetOrientation(int32_t value);

    // Copies name, height, style, colour, character set and orientation (not the pixels per
    // inch), then fires the change event once.
    void Assign(const classes::TPersistent& source) override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

  private:
    std::string m_name = "MS Sans Serif";
    int32_t m_height = -11;  // 8 points at 96 pixels per inch
    int32_t m_pixelsPerInch = kDefaultPixelsPerInch;
    TFontStyles m_style;
    TColor m_color = clWindowText;
    uint8_t m_charset = kDefaultCharset;
    int32_t m_orientation = 0;
};

}  // namespace gfx
