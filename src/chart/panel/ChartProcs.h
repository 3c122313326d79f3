// Small helpers of the chart: the angle check, geometry hit tests, multi-line texts and the
// 1-2-5 step sequence.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "gfx/Geometry.h"

namespace chart {

// Separates the lines of a chart text (carriage return).
inline constexpr char LineBreakChar = '\r';

// ChartException "<description> Angle must be between 0 and 359 degrees" outside 0 .. 359.
void CheckAngle(int32_t angle, const std::string& description);

// True when the point lies within a pixel of the line through p and q (the cross product
// below the segment's longer side) and not beyond either end by more than tolerance pixels,
// measured separately in x and in y.
bool PointNearSegment(gfx::TPoint point, gfx::TPoint p, gfx::TPoint q, int32_t tolerance);
bool PointOnSegment(gfx::TPoint point, gfx::TPoint p, gfx::TPoint q);
// Even-odd rule over points 0 .. highestIndex (never past the end); false for a negative one.
bool PointInPolygonArea(gfx::TPoint point, std::span<const gfx::TPoint> points,
                        int32_t highestIndex);
// The triangle (x0, baseY), ((x0 + x1) / 2, apexY), (x1, baseY).
bool PointInUprightTriangle(gfx::TPoint point, int32_t x0, int32_t x1, int32_t baseY,
                            int32_t apexY);
// The triangle (baseX, y0), (apexX, (y0 + y1) / 2), (baseX, y1).
bool PointInSidewaysTriangle(gfx::TPoint point, int32_t y0, int32_t y1, int32_t apexX,
                             int32_t baseX);
// Inside or on the ellipse inscribed in the rectangle; false for a flat one.
bool PointInEllipseArea(gfx::TPoint point, const gfx::TRect& rect);

// Turns the first character of every occurrence of the separator into LineBreakChar. An empty
// separator, or one that starts with LineBreakChar, leaves the text as it is.
void SplitIntoLines(std::string& text, const std::string& separator);
// Lines of a text: its LineBreakChar count, plus one when text follows the last (0 if empty).
int32_t CountTextLines(const std::string& text);

// The next value of 1, 2, 5, 10, 20, 50 ... scaled to x's decade: 2 below 2, 5 below 5, else
// 10 (times the decade). x must be positive and finite, else EInvalidOp.
double NextOneTwoFive(double x);

}  // namespace chart
