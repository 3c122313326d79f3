// Fonts and colours of the forms in FLTK terms: a gfx font to an FLTK face (found through
// fontconfig) and pixel size, a colour reference or system colour to an FLTK colour.
#pragma once

#include <FL/Enumerations.H>

#include <cstddef>
#include <cstdint>
#include <string>

#include "gfx/Font.h"

namespace ui {

// The display size at which the design data is drawn as it stands, percent.
constexpr int32_t kDesignPercent = 100;

// The character height (em size), pixels, of a font: -Height for a negative height; for a
// positive height (the cell height, ascent plus descent) the em size whose cell is that tall;
// the classic default for 0.
int32_t CharacterHeight(const gfx::TFont& font);

// The name FLTK's Xft back end asks fontconfig for: a style letter (' ' regular, 'B' bold,
// 'I' italic, 'P' bold italic) followed by the family that stands in for the font's name.
std::string FltkFaceName(const gfx::TFont& font);

// The FLTK face for a font's name and style, registered on first use.
Fl_Font FltkFace(const gfx::TFont& font);

Fl_Color FltkColor(gfx::TColor color);

// Text for an FLTK label, which reads '@' as the start of a symbol: every '@' is doubled.
std::string LabelText(const std::string& text);

// A message's line breaks as FLTK draws them: "\r\n", "\n\r" and a lone "\r" become "\n".
std::string NormaliseLineBreaks(const std::string& text);

// A message cut to fit a dialog of sane size: at most maxLines lines (the last one kept says how
// many more there were) of at most maxLineBytes bytes each (a longer line ends in "..." at a
// character boundary). Line breaks must be normalised first.
std::string FitDialogText(const std::string& text, size_t maxLines, size_t maxLineBytes);

}  // namespace ui
