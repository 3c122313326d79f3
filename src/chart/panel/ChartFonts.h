// The default chart font (Arial 8, black) and the font-owning base of titles and legends.
#pragma once

#include <memory>
#include <string>

#include "classes/Persistent.h"
#include "gfx/Font.h"

namespace chart {

class TCustomChartPanel;

// "Arial"; on a Japanese system the desktop's user-interface font instead.
std::string DefaultFontName();
// 8 points; on a Japanese system the desktop's user-interface font size.
int32_t DefaultFontSize();
// A new font: DefaultFontName, DefaultFontSize, black, no style, with the change handler.
std::unique_ptr<gfx::TFont> NewDefaultFont(gfx::TChangeEvent onChange);
// True only for the default name (exact case), size, black, no style, the default charset.
bool IsDefaultFontSetting(const gfx::TFont& font);

// Owns a font whose changes repaint the owner panel. Subclasses publish it as "Font", stored
// only when it is not the default chart font (IsFontStored).
class TChartFontObject : public classes::TPersistent {
  public:
    explicit TChartFontObject(TCustomChartPanel* owner);
    ~TChartFontObject() override;

    gfx::TFont& Font() const { return *m_font; }
    // Copies the font's values into the owned font (which repaints).
    void SetFont(const gfx::TFont& value);
    TCustomChartPanel* Owner() const { return m_owner; }
    // Asks the owner to repaint.
    void Repaint();
    static bool IsFontStored(const TChartFontObject& object) {
        return !IsDefaultFontSetting(object.Font());
    }

    // From another font object: its font (which repaints); anything else fails.
    void Assign(const classes::TPersistent& source) override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

  private:
    TCustomChartPanel* m_owner;
    std::unique_ptr<gfx::TFont> m_font;
};

}  // namespace chart
