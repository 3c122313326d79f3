// Texts of the chart panel and its helpers: error messages and the default font's name and size.
#pragma once

namespace chart {

inline constexpr const char* kMsgAngleRange = "%s Angle must be between 0 and 359 degrees";
inline constexpr const char* kMsg3DPercentRange = "3D effect percent must be between %d and %d";
inline constexpr const char* kMsgAxisTitle = "Axis Title";
inline constexpr const char* kMsgAxisLabels = "Axis Labels";
inline constexpr const char* kMsgDefaultFontName = "Arial";
inline constexpr const char* kMsgDefaultFontSize = "8";
inline constexpr const char* kMsgAnimatedZoomSteps = "Animated zoom steps must be at least 1";
inline constexpr const char* kMsgBorderWidth = "Border width must not be negative";

}  // namespace chart
