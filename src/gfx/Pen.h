// The pen: colour, mix mode, dash style and width of lines and outlines.
#pragma once

#include <cstdint>

#include "gfx/Colors.h"
#include "gfx/GraphicsObject.h"

namespace gfx {

// How the pen (and a shape's brush) combines with the pixel already there; P is the pen
// colour, D the destination pixel, operators bitwise on the whole pixel.
enum class TPenMode : uint8_t {
    pmBlack,        // 0
    pmWhite,        // all ones
    pmNop,          // D
    pmNot,          // NOT D
    pmCopy,         // P
    pmNotCopy,      // NOT P
    pmMergePenNot,  // P OR NOT D
    pmMaskPenNot,   // P AND NOT D
    pmMergeNotPen,  // NOT P OR D
    pmMaskNotPen,   // NOT P AND D
    pmMerge,        // P OR D
    pmNotMerge,     // NOT (P OR D)
    pmMask,         // P AND D
    pmNotMask,      // NOT (P AND D)
    pmXor,          // P XOR D
    pmNotXor,       // NOT (P XOR D)
};

// The dash pattern of a one-pixel pen. psAlternate lights every other pixel (the small-dots
// pen); psInsideFrame is solid but keeps wide outlines of closed shapes inside their box.
enum class TPenStyle : uint8_t {
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame,
    psAlternate,
};

class TPen : public TGraphicsObject {
  public:
    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    TPenMode Mode() const { return m_mode; }
    void SetMode(TPenMode value);
    TPenStyle Style() const { return m_style; }
    void SetStyle(TPenStyle value);
    // Pixels; 0 and 1 both draw one pixel wide.
    int32_t Width() const { return m_width; }
    void SetWidth(int32_t value);

    // Copies colour, mode, style and width, then fires the change event once.
    void Assign(const classes::TPersistent& source) override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

  private:
    TColor m_color = clBlack;
    TPenMode m_mode = TPenMode::pmCopy;
    TPenStyle m_style = TPenStyle::psSolid;
    int32_t m_width = 1;
};

}  // namespace gfx
