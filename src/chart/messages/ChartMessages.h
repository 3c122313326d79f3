// The chart engine's message table: error texts of its exceptions and its default display texts.
#pragma once

#include "base/Exceptions.h"

namespace chart {

// A chart setting or operation refused with a message from the table below.
class ChartException : public base::Exception {
  public:
    using Exception::Exception;
};

// An axis setting refused with a message from the table below.
class AxisException : public base::Exception {
  public:
    using Exception::Exception;
};

// A legend setting refused with a message from the table below.
class LegendException : public base::Exception {
  public:
    using Exception::Exception;
};

// A bar series setting refused with a message from the table below.
class BarException : public base::Exception {
  public:
    using Exception::Exception;
};

// A pie series setting refused with a message from the table below.
class PieException : public base::Exception {
  public:
    using Exception::Exception;
};

// Default number formats of series values and percentages.
inline constexpr const char* kMsgDefaultValueFormat = "#,##0.###";
inline constexpr const char* kMsgDefaultPercentFormat = "##0.## %";
// A percentage "of" a total: the percent text, then the total's value text.
inline constexpr const char* kMsgPercentOf = "%s of %s";

inline constexpr const char* kMsgFillSampleValues = "FillSampleValues NumValues must be > 0";
inline constexpr const char* kMsgNoParentChart = "No ParentChart to validate DataSource";
inline constexpr const char* kMsgNoValidDataSource = "No valid DataSource: %s";
inline constexpr const char* kMsgCircularSeries = "Circular Series dependences are not allowed";
inline constexpr const char* kMsgFunctionPeriod = "Function Period should be >= 0";
inline constexpr const char* kMsgFunctionPeriodTooLarge = "Function Period %s is too large";
inline constexpr const char* kMsgFunctionTooManyPoints =
    "Function Period %s would give more than %d points";

// The chart panel, its helpers and the default chart font.
inline constexpr const char* kMsgAngleRange = "%s Angle must be between 0 and 359 degrees";
inline constexpr const char* kMsg3DPercentRange = "3D effect percent must be between %d and %d";
inline constexpr const char* kMsgAxisTitle = "Axis Title";
inline constexpr const char* kMsgAxisLabels = "Axis Labels";
inline constexpr const char* kMsgDefaultFontName = "Arial";
inline constexpr const char* kMsgDefaultFontSize = "8";
inline constexpr const char* kMsgAnimatedZoomSteps = "Animated zoom steps must be at least 1";
inline constexpr const char* kMsgBorderWidth = "Border width must not be negative";

// Axis settings.
inline constexpr const char* kMsgAxisIncrementNegative = "Axis increment must be >= 0";
inline constexpr const char* kMsgAxisMinMax = "Axis Minimum Value must be <= Maximum";
inline constexpr const char* kMsgAxisMaxMin = "Axis Maximum Value must be >= Minimum";
inline constexpr const char* kMsgAxisDateTimeLogarithmic = "DateTime Axis cannot be Logarithmic";
inline constexpr const char* kMsgAxisLogarithmicNegative =
    "Logarithmic Axis Min and Max values should be >= 0";
inline constexpr const char* kMsgAxisLogarithmicBase = "Axis Logarithmic Base should be >= 2";
inline constexpr const char* kMsgAxisLabelsSeparation =
    "Labels Separation % must be greater than 0";
// Depth-axis label of a series without title or name: "Series " and its legend index.
inline constexpr const char* kMsgSeriesTitlePrefix = "Series ";
inline constexpr const char* kMsgMaxPointsPerPage = "MaxPointsPerPage must be >= 0";
// Legend settings.
inline constexpr const char* kMsgLegendTopPos = "Top Legend Position must be between 0 and 100 %";
inline constexpr const char* kMsgLegendFirstValue = "First Legend Value must be > 0";
inline constexpr const char* kMsgLegendColorWidth =
    "Legend Color Width must be between 0 and 100 %";
inline constexpr const char* kMsgPointerSize = "Pointer size must be greater than zero";

// Bar and pie series settings.
inline constexpr const char* kMsgBarWidthPercent = "Bar Width Percent must be between 1 and 100";
inline constexpr const char* kMsgBarOffsetPercent =
    "Bar Offset Percent must be between -100% and 100%";
inline constexpr const char* kMsgRotation = "Rotation";
inline constexpr const char* kMsgPieOther = "Other";

// The series gallery: kind and function names and the pages they are listed on.
inline constexpr const char* kMsgGalleryStandard = "Standard";
inline constexpr const char* kMsgGalleryFunctions = "Functions";
inline constexpr const char* kMsgGalleryLine = "Line";
inline constexpr const char* kMsgGalleryBar = "Bar";
inline constexpr const char* kMsgGalleryHorizBar = "Horiz. Bar";
inline constexpr const char* kMsgGalleryArea = "Area";
inline constexpr const char* kMsgGalleryPoint = "Point";
inline constexpr const char* kMsgGalleryPie = "Pie";
inline constexpr const char* kMsgGalleryFastLine = "Fast Line";
inline constexpr const char* kMsgFunctionAdd = "Add";
inline constexpr const char* kMsgFunctionSubtract = "Subtract";
inline constexpr const char* kMsgFunctionMultiply = "Multiply";
inline constexpr const char* kMsgFunctionDivide = "Divide";
inline constexpr const char* kMsgFunctionHigh = "High";
inline constexpr const char* kMsgFunctionLow = "Low";
inline constexpr const char* kMsgFunctionAverage = "Average";

}  // namespace chart
