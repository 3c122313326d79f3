// The brush: colour and style (solid, clear or one of six hatches) of fills.
#pragma once

#include <cstdint>

#include "gfx/Colors.h"
#include "gfx/GraphicsObject.h"

namespace gfx {

enum class TBrushStyle : uint8_t {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,  // top-left to bottom-right
    bsBDiagonal,  // bottom-left to top-right
    bsCross,
    bsDiagCross,
};

class TBrush : public TGraphicsObject {
  public:
    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    TBrushStyle Style() const { return m_style; }
    void SetStyle(TBrushStyle value);

    // Copies colour and style, then fires the change event once.
    void Assign(const classes::TPersistent& source) override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

  private:
    TColor m_color = clWhite;
    TBrushStyle m_style = TBrushStyle::bsSolid;
};

}  // namespace gfx
