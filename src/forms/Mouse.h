// Mouse buttons, the shift state that comes with a mouse event, and the cursor ids a control
// can ask for.
#pragma once

#include <cstdint>

namespace forms {

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Keys and buttons held during a mouse event, as a bit set of TShiftKey bits.
using TShiftState = uint32_t;
enum TShiftKey : uint32_t {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,  // the press is the second of a double click
};

// Cursor ids of the window system (16-bit, negative for the stock cursors).
inline constexpr int16_t crDefault = 0;
inline constexpr int16_t crArrow = -2;
inline constexpr int16_t crCross = -3;
inline constexpr int16_t crSizeAll = -22;
inline constexpr int16_t crHandPoint = -21;

}  // namespace forms
