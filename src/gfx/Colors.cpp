// System colour table of the classic light-grey desktop and colour conversion.
#include "gfx/Colors.h"

#include <array>

namespace gfx {

namespace {

// Indexed by system colour index.
constexpr std::array<TColorRef, kSystemColorCount> kClassicDesktop = {
    RGB(192, 192, 192),  // scroll bar
    RGB(0, 128, 128),    // desktop background
    RGB(0, 0, 128),      // active caption
    RGB(128, 128, 128),  // inactive caption
    RGB(192, 192, 192),  // menu
    RGB(255, 255, 255),  // window
    RGB(0, 0, 0),        // window frame
    RGB(0, 0, 0),        // menu text
    RGB(0, 0, 0),        // window text
    RGB(255, 255, 255),  // caption text
    RGB(192, 192, 192),  // active border
    RGB(192, 192, 192),  // inactive border
    RGB(128, 128, 128),  // application work space
    RGB(0, 0, 128),      // highlight
    RGB(255, 255, 255),  // highlight text
    RGB(192, 192, 192),  // button face
    RGB(128, 128, 128),  // button shadow
    RGB(128, 128, 128),  // grey text
    RGB(0, 0, 0),        // button text
    RGB(192, 192, 192),  // inactive caption text
    RGB(255, 255, 255),  // button highlight
    RGB(0, 0, 0),        // 3D dark shadow
    RGB(223, 223, 223),  // 3D light
    RGB(0, 0, 0),        // tool-tip text
    RGB(255, 255, 225),  // tool-tip background
};

}  // namespace

TColorRef SysColor(uint32_t index) {
    return index < kSystemColorCount ? kClassicDesktop[index] : RGB(0, 0, 0);
}

TColorRef ColorToRGB(TColor color) {
    if ((color & kSystemColorFlag) != 0) {
        return SysColor(color & 0xFF);
    }
    return color & 0x00FFFFFF;
}

}  // namespace gfx
