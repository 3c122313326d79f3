// Colours: 32-bit colour references, the named colours, and system colours converted before use.
#pragma once

#include <cstdint>

namespace gfx {

// A colour as the program stores it: either a colour reference (red in the low byte, then
// green, then blue, top byte 0) or, with the top bit set, the index of a system colour.
using TColor = uint32_t;
// A plain colour reference (red low byte); what reaches the pixels.
using TColorRef = uint32_t;

constexpr TColorRef RGB(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<TColorRef>(red) | (static_cast<TColorRef>(green) << 8) |
           (static_cast<TColorRef>(blue) << 16);
}
constexpr uint8_t GetRValue(TColorRef color) {
    return static_cast<uint8_t>(color & 0xFF);
}
constexpr uint8_t GetGValue(TColorRef color) {
    return static_cast<uint8_t>((color >> 8) & 0xFF);
}
constexpr uint8_t GetBValue(TColorRef color) {
    return static_cast<uint8_t>((color >> 16) & 0xFF);
}

constexpr TColor kSystemColorFlag = 0x80000000u;

// Named colours.
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
// Marks "no colour" (a null point is not drawn).
constexpr TColor clNone = 0x1FFFFFFF;

// System colours: the flag plus the index of the desktop colour.
constexpr TColor clScrollBar = kSystemColorFlag | 0;
constexpr TColor clBackground = kSystemColorFlag | 1;
constexpr TColor clActiveCaption = kSystemColorFlag | 2;
constexpr TColor clInactiveCaption = kSystemColorFlag | 3;
constexpr TColor clMenu = kSystemColorFlag | 4;
constexpr TColor clWindow = kSystemColorFlag | 5;
constexpr TColor clWindowFrame = kSystemColorFlag | 6;
constexpr TColor clMenuText = kSystemColorFlag | 7;
constexpr TColor clWindowText = kSystemColorFlag | 8;
constexpr TColor clCaptionText = kSystemColorFlag | 9;
constexpr TColor clActiveBorder = kSystemColorFlag | 10;
constexpr TColor clInactiveBorder = kSystemColorFlag | 11;
constexpr TColor clAppWorkSpace = kSystemColorFlag | 12;
constexpr TColor clHighlight = kSystemColorFlag | 13;
constexpr TColor clHighlightText = kSystemColorFlag | 14;
constexpr TColor clBtnFace = kSystemColorFlag | 15;
constexpr TColor clBtnShadow = kSystemColorFlag | 16;
constexpr TColor clGrayText = kSystemColorFlag | 17;
constexpr TColor clBtnText = kSystemColorFlag | 18;
constexpr TColor clInactiveCaptionText = kSystemColorFlag | 19;
constexpr TColor clBtnHighlight = kSystemColorFlag | 20;
constexpr TColor cl3DDkShadow = kSystemColorFlag | 21;
constexpr TColor cl3DLight = kSystemColorFlag | 22;
constexpr TColor clInfoText = kSystemColorFlag | 23;
constexpr TColor clInfoBk = kSystemColorFlag | 24;

// Number of system colours the desktop defines; indices at or past it read as black.
constexpr uint32_t kSystemColorCount = 25;

// The colour reference of a system colour index on the classic light-grey desktop.
TColorRef SysColor(uint32_t index);

// Converts a colour to a plain colour reference: system colours are looked up, the top byte
// of other values is dropped (so clNone becomes white).
TColorRef ColorToRGB(TColor color);

}  // namespace gfx
