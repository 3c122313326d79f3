// The chart engine's message table: error texts of its exceptions and its default display texts.
#pragma once

#include "base/Exceptions.h"

namespace chart {

// A chart setting or operation refused with a message from the table below.
class ChartException : public base::Exception {
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

}  // namespace chart
