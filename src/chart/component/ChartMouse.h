// What the chart's mouse handling works with: the part of the chart under a point, the click
// and scroll events, the saved axis ranges of a zoom and the engine-wide mouse settings.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "forms/Mouse.h"

namespace chart {

class TChart;
class TChartSeries;
class TCustomChartAxis;

enum class TChartClickedPartStyle {
    cpNone,
    cpLegend,
    cpAxis,
    cpSeries,
    cpTitle,
    cpFoot,
    cpChartRect
};

// The part of the chart under a point; for a series also the index of its point there.
struct TChartClickedPart {
    TChartClickedPartStyle Part = TChartClickedPartStyle::cpNone;
    int32_t PointIndex = -1;
    TChartSeries* Series = nullptr;
    TCustomChartAxis* Axis = nullptr;
};

// The range of one axis, and whether it followed its series before a zoom or pan fixed it.
struct TSavedAxisRange {
    double Minimum = 0;
    double Maximum = 0;
    bool Automatic = false;
    bool AutomaticMinimum = false;
    bool AutomaticMaximum = false;
};

// Left, top, right and bottom axis, in this order.
enum TZoomAxis : int32_t { zaLeft, zaTop, zaRight, zaBottom };
inline constexpr int32_t kZoomAxisCount = 4;
using TAxesRanges = std::array<TSavedAxisRange, kZoomAxisCount>;

using TChartClickEvent = std::function<void(TChart& sender, forms::TMouseButton button,
                                            forms::TShiftState shift, int32_t x, int32_t y)>;
using TChartClickAxisEvent =
    std::function<void(TChart& sender, TCustomChartAxis& axis, forms::TMouseButton button,
                       forms::TShiftState shift, int32_t x, int32_t y)>;
using TChartClickSeriesEvent =
    std::function<void(TChart& sender, TChartSeries& series, int32_t valueIndex,
                       forms::TMouseButton button, forms::TShiftState shift, int32_t x, int32_t y)>;
// Before a panning step moves an axis: the handler may change the proposed range or forbid the
// step (allow := false).
using TChartAllowScrollEvent = std::function<void(TChart& sender, TCustomChartAxis& axis,
                                                  double& minimum, double& maximum, bool& allow)>;

// Engine-wide mouse settings: the buttons that zoom and pan, the keys that must be held with
// them (none), and how far each step of an animated zoom goes (a third of the way).
inline forms::TMouseButton ZoomButton = forms::TMouseButton::mbLeft;
inline forms::TMouseButton PanButton = forms::TMouseButton::mbRight;
inline forms::TShiftState ZoomShiftKeys = 0;
inline forms::TShiftState PanShiftKeys = 0;
inline double AnimatedZoomFactor = 3.0;

// A zoom or undo needs a drag of more than this many pixels in both directions.
inline constexpr int32_t kMinimumZoomDrag = 16;
// Percent of an axis' range that one wheel notch scrolls.
inline constexpr double kWheelScrollPercent = 3.0;

}  // namespace chart
