// The chart axes: their settings, automatic and fixed ranges, label increment, pixel extent,
// value-to-pixel mappings, and the labels, ticks, grid, line and title they draw.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "chart/canvas/ChartPen.h"
#include "chart/engine/AxisTitle.h"
#include "classes/Persistent.h"
#include "gfx/Font.h"
#include "gfx/Geometry.h"

namespace chart {

class TCustomAxisPanel;
class TChartSeries;
// A linear or logarithmic axis' value-to-pixel rule with its constants: the pixel moves from
// Origin by Sign (+1 or -1) times the rounded offset of the value along the axis.
struct TPixelMapping {
    bool Logarithmic = false;
    bool Inverted = false;
    double Minimum = 0;  // the current minimum, or its logarithm
    double Maximum = 0;  // the current maximum, or its logarithm
    double Range = 0;    // maximum - minimum (of the logarithms)
    double Length = 0;   // pixels along the axis
    // Length / Range of a linear axis with a range and an origin below 2^30 pixels; 0 maps
    // every value by Pixel.
    double Scale = 0;
    int32_t Origin = 0;
    int32_t Sign = 1;
    int32_t Centre = 0;       // an empty range or an offset beyond any pixel
    int32_t NotPositive = 0;  // a value not above 0 on a logarithmic axis

    int32_t Pixel(double value) const;
    // Pixel of values[i] into pixels[i], the same as Pixel gives. With a Scale the values are
    // multiplied by it, and divided only where a product lies too near a rounding tie to settle
    // the pixel; otherwise a value equal to one of the last two mapped takes its pixel without
    // computing it again (series repeat their values: levels, shared X).
    void Pixels(std::span<const double> values, std::span<int32_t> pixels) const;

  private:
    // Pixels of a linear axis through Scale (by division where that cannot settle a pixel),
    // two values at a time; returns how many were mapped (all but an odd last one).
    size_t ScaledPixels(std::span<const double> values, std::span<int32_t> pixels) const;
};

class TCustomChartAxis;

enum class TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };

// The chart's label hook: may change the text of a label (series null and index -1 for value
// labels).
using TAxisOnGetLabel = std::function<void(TCustomChartAxis& sender, TChartSeries* series,
                                           int32_t valueIndex, std::string& labelText)>;
// The chart's label-placement hook: gives the value of label labelIndex; leaving stop True
// ends the labels (at index 0 the axis places its own labels instead).
using TAxisOnGetNextLabel = std::function<void(TCustomChartAxis& sender, int32_t labelIndex,
                                               double& labelValue, bool& stop)>;

// The walls an axis line may stand on in 3D.
enum class TAxisWall { awLeft, awBottom };

// What an axis needs of its chart beyond the chart panel and the series list. The axis panel
// owns one and hands it to each axis it creates; an axis without one uses the defaults (no
// paging, one depth slot, no walls, no handlers, shown when Visible).
struct TAxisChartHooks {
    int32_t MaxPointsPerPage = 0;  // points per page along the independent axis; 0: no paging
    int32_t Page = 1;              // current page, from 1
    bool ScaleLastPage = true;     // a short last page is scaled to its own points
    int32_t MaxDepthIndex = 0;     // highest depth slot of the active series
    TAxisOnGetLabel OnGetAxisLabel;
    TAxisOnGetNextLabel OnGetNextAxisLabel;
    // Thickness of a wall in pixels (0 in 2D); unset means 0.
    std::function<int32_t(TAxisWall wall)> WallSize;
    // Whether the chart shows the axis; unset means its Visible setting.
    std::function<bool(const TCustomChartAxis& axis)> IsAxisShown;
};

class TCustomChartAxis : public classes::TPersistent {
  public:
    // Date-time labels stop before this day (10000-01-01, days since 1899-12-30): later
    // values, like negative ones, have no date text.
    static constexpr double kDateTimeLimit = 2958466.0;

    // The axis belongs to chart (which may be null in tests of the mapping alone) and appends
    // itself to the chart's AxesList, which frees it with the chart; freed before, it leaves
    // the list.
    explicit TCustomChartAxis(TCustomAxisPanel* chart);
    ~TCustomChartAxis() override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
    // From another axis: every published setting and Horizontal, OtherSide, IsZAxis; pens,
    // font and title by value.
    void Assign(const classes::TPersistent& source) override;

    TCustomAxisPanel* ParentChart() const { return m_chart; }
    void SetChartHooks(const TAxisChartHooks* hooks) { m_hooks = hooks; }
    const TAxisChartHooks& ChartHooks() const;

    // --- Published settings ------------------------------------------------------------------

    bool Automatic() const { return m_automatic; }
    // Also sets AutomaticMinimum and AutomaticMaximum unless the chart is loading.
    void SetAutomatic(bool value);
    bool AutomaticMaximum() const { return m_automaticMaximum; }
    void SetAutomaticMaximum(bool value);
    bool AutomaticMinimum() const { return m_automaticMinimum; }
    void SetAutomaticMinimum(bool value);
    TChartAxisPen& Axis() const { return *m_axisPen; }
    void SetAxis(const TChartPen& value) { m_axisPen->Assign(value); }
    const std::string& AxisValuesFormat() const { return m_axisValuesFormat; }
    void SetAxisValuesFormat(const std::string& value);
    const std::string& DateTimeFormat() const { return m_dateTimeFormat; }
    void SetDateTimeFormat(const std::string& value);
    bool ExactDateTime() const { return m_exactDateTime; }
    void SetExactDateTime(bool value);
    TDottedGrayPen& Grid() const { return *m_grid; }
    void SetGrid(const TChartPen& value) { m_grid->Assign(value); }
    bool GridCentered() const { return m_gridCentered; }
    void SetGridCentered(bool value);
    double Increment() const { return m_increment; }
    // AxisException below 0.
    void SetIncrement(double value);
    bool Inverted() const { return m_inverted; }
    void SetInverted(bool value);
    bool Labels() const { return m_labels; }
    void SetLabels(bool value);
    // Degrees, 0 .. 359 (ChartException outside).
    int32_t LabelsAngle() const { return m_labelsAngle; }
    void SetLabelsAngle(int32_t value);
    gfx::TFont& LabelsFont() const { return *m_labelsFont; }
    void SetLabelsFont(const gfx::TFont& value) { m_labelsFont->Assign(value); }
    bool LabelsMultiLine() const { return m_labelsMultiLine; }
    void SetLabelsMultiLine(bool value);
    bool LabelsOnAxis() const { return m_labelsOnAxis; }
    void SetLabelsOnAxis(bool value);
    // Percent of a label's size kept free between labels; AxisException below 0.
    int32_t LabelsSeparation() const { return m_labelsSeparation; }
    void SetLabelsSeparation(int32_t value);
    // Pixels; 0 means measured.
    int32_t LabelsSize() const { return m_labelsSize; }
    void SetLabelsSize(int32_t value);
    TAxisLabelStyle LabelStyle() const { return m_labelStyle; }
    void SetLabelStyle(TAxisLabelStyle value);
    bool Logarithmic() const { return m_logarithmic; }
    // Switching on recomputes the range and refuses date-time axes and negative ranges.
    void SetLogarithmic(bool value);
    int32_t LogarithmicBase() const { return m_logarithmicBase; }
    // AxisException below 2.
    void SetLogarithmicBase(int32_t value);
    double Maximum() const { return m_maximum; }
    // AxisException below Minimum, unless the chart is loading.
    void SetMaximum(double value);
    double Minimum() const { return m_minimum; }
    // AxisException above Maximum, unless the chart is loading.
    void SetMinimum(double value);
    TChartHiddenPen& MinorGrid() const { return *m_minorGrid; }
    void SetMinorGrid(const TChartPen& value) { m_minorGrid->Assign(value); }
    int32_t MinorTickCount() const { return m_minorTickCount; }
    void SetMinorTickCount(int32_t value);
    // Pixels.
    int32_t MinorTickLength() const { return m_minorTickLength; }
    void SetMinorTickLength(int32_t value);
    TDarkGrayPen& MinorTicks() const { return *m_minorTicks; }
    void SetMinorTicks(const TChartPen& value) { m_minorTicks->Assign(value); }
    // Percent of the chart rectangle's width (horizontal) or height (vertical).
    double StartPosition() const { return m_startPosition; }
    void SetStartPosition(double value);
    double EndPosition() const { return m_endPosition; }
    void SetEndPosition(double value);
    // Percent of the chart rectangle's height (horizontal) or width (vertical) the axis line
    // moves into the rectangle.
    double PositionPercent() const { return m_positionPercent; }
    void SetPositionPercent(double value);
    bool RoundFirstLabel() const { return m_roundFirstLabel; }
    void SetRoundFirstLabel(bool value);
    // Pixels.
    int32_t TickInnerLength() const { return m_tickInnerLength; }
    void SetTickInnerLength(int32_t value);
    int32_t TickLength() const { return m_tickLength; }
    void SetTickLength(int32_t value);
    bool TickOnLabelsOnly() const { return m_tickOnLabelsOnly; }
    void SetTickOnLabelsOnly(bool value);
    TDarkGrayPen& Ticks() const { return *m_ticks; }
    void SetTicks(const TChartPen& value) { m_ticks->Assign(value); }
    TDarkGrayPen& TicksInner() const { return *m_ticksInner; }
    void SetTicksInner(const TChartPen& value) { m_ticksInner->Assign(value); }
    TChartAxisTitle& Title() const { return *m_title; }
    void SetTitle(const TChartAxisTitle& value) { m_title->Assign(value); }
    // Pixels; 0 means measured.
    int32_t TitleSize() const { return m_titleSize; }
    void SetTitleSize(int32_t value);
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);

    // --- Kind of axis (set by the chart when it creates the axis) ----------------------------

    bool Horizontal() const { return m_horizontal; }
    void SetHorizontal(bool value) { m_horizontal = value; }
    bool OtherSide() const { return m_otherSide; }
    void SetOtherSide(bool value) { m_otherSide = value; }
    bool IsZAxis() const { return m_isZAxis; }
    void SetIsZAxis(bool value) { m_isZAxis = value; }
    // Degrees: the title angle that is not stored (0 top/bottom, 90 left, 270 right).
    int32_t DefaultTitleAngle() const { return m_defaultTitleAngle; }
    void SetDefaultTitleAngle(int32_t value);

    // --- Range and pixel state of the last paint ---------------------------------------------

    double CurrentMinimum() const { return m_currentMinimum; }
    double CurrentMaximum() const { return m_currentMaximum; }
    double CurrentRange() const { return m_currentRange; }
    // Pixels along the axis (x for horizontal axes, y for vertical ones).
    int32_t StartPixel() const { return m_startPixel; }
    int32_t EndPixel() const { return m_endPixel; }
    int32_t AxisLength() const { return m_axisLength; }
    int32_t CenterPixel() const { return m_centerPixel; }
    // Pixels across the axis.
    int32_t AxisLinePos() const { return m_axisLinePos; }
    int32_t LabelsPos() const { return m_labelsPos; }
    int32_t TitlePos() const { return m_titlePos; }
    // Whether the last range or drawing step found a date-time axis.
    bool DateTimeAxisFlag() const { return m_isDateTimeAxis; }

    // --- Scaling -----------------------------------------------------------------------------

    // CurrentMinimum/Maximum/Range from Minimum/Maximum, the automatic ends first taken from
    // the bound series.
    void ComputeRange();
    // Widens the current range so that its ends lie the given pixels inside the axis ends.
    void ExpandRangeForMargins(int32_t left, int32_t top, int32_t right, int32_t bottom);
    // StartPixel, EndPixel, AxisLength, CenterPixel from the chart rectangle.
    void ComputePositions();
    // Sets the pixel extent directly (for axes outside a chart and for tests).
    void SetPixelExtent(int32_t startPixel, int32_t endPixel);
    // Label step for the current range and axis length.
    double ComputeIncrement();
    // The smallest step from the start value that gives at most maxLabels labels.
    double IncrementForCount(int32_t maxLabels) const;
    int32_t ValueToPos(double value) const;
    int32_t ValueToXPos(double value) const;
    int32_t ValueToYPos(double value) const;
    // The value-to-pixel rule of ValueToXPos (alongX) or ValueToYPos with the current scale's
    // constants taken once, for mapping many values; not for the depth axis.
    TPixelMapping PixelMapping(bool alongX) const;
    double PosToValue(int32_t pixel) const;
    int32_t EdgeOfRectangle(const gfx::TRect& rect) const;
    int32_t ApplyPositionPercent(int32_t coordinate, const gfx::TRect& rect) const;
    // The first active series bound to the axis has date-time values in its direction.
    bool IsDateTimeAxis() const;
    // A fixed range (zoom, panning): swapped when reversed, at least 1e-10 wide.
    void SetAxisRange(double minimum, double maximum);
    // Moves the fixed range by offset; with checkLimits only towards series values beyond it.
    void ShiftAxisRange(double offset, bool checkLimits);
    // Whether the series is bound to this axis.
    bool UsesAxis(const TChartSeries& series) const;
    // The series' smallest or largest value on this axis (paging and depth slots included).
    double SeriesMinimumOn(bool inX) const { return SeriesExtreme(inX, false); }
    double SeriesMaximumOn(bool inX) const { return SeriesExtreme(inX, true); }

    // --- Labels, room and drawing --------------------------------------------------------------

    TAxisLabelStyle EffectiveLabelStyle() const;
    std::string LabelText(double value);
    // The value as the labels format it (date-time or AxisValuesFormat), without the chart's
    // label hook and line splitting; usable outside a paint.
    std::string ValueLabelText(double value) const;
    // Pixels the labels need across the axis.
    int32_t MaxLabelsSize();
    // Takes the title, labels and ticks room from rect (with shrink) and sets the positions.
    void ReserveSpace(gfx::TRect& rect, bool shrink);
    void DrawAxis(bool setLinePosition);
    bool AxisClicked(int32_t x, int32_t y) const;
    void DrawRotatedText(int32_t x, int32_t y, const std::string& text, int32_t angle);
    // Pixel positions of the ticks of the last DrawAxis, in placement order.
    const std::vector<int32_t>& TickPositions() const { return m_tickPositions; }

  protected:
    // Asks the chart to repaint.
    void Repaint();
    template <class V>
    void StoreAndRepaint(V& field, V value) {
        if (field != value) {
            field = value;
            Repaint();
        }
    }

  private:
    bool ChartLoading() const;
    double SeriesExtreme(bool inX, bool maximum) const;
    // Width or height of a label's text across or along the axis (see ComputeIncrement).
    int32_t LabelExtent(const std::string& text, bool width);
    int32_t MultiLineWidth(const std::string& text, int32_t& lines);
    int32_t FontHeight();
    void SelectFont(gfx::TFont& font);
    int32_t WallSize(TAxisWall wall) const;
    int32_t OwnWallSize() const;
    int32_t TickRoom() const;
    int32_t Depth() const;
    // Natural logarithms of the current minimum and maximum; 0 for a bound that is not positive.
    std::pair<double, double> LogBounds() const;
    std::string DateTimeText(double value) const;

    // Drawing steps (AxisDraw.cpp).
    void DrawTitle();
    void PlaceLabel(double value);
    void AddTick(int32_t position);
    void ValueLabels(double increment, int32_t stepIndex);
    void LogarithmicLabels();
    bool CustomLabels();
    void SeriesLabels(TAxisLabelStyle style);
    void DepthTitleLabels();
    void DrawLabelText(int32_t position, const std::string& text);
    void DrawTick(int32_t position, int32_t direction, int32_t length);
    void DrawGridLine(int32_t position);
    void DrawGrid();
    void DrawMinorMarks(bool grid);
    void DrawAxisLine();

    TCustomAxisPanel* m_chart;
    const TAxisChartHooks* m_hooks = nullptr;

    bool m_automatic = true;
    bool m_automaticMaximum = true;
    bool m_automaticMinimum = true;
    std::unique_ptr<TChartAxisPen> m_axisPen;
    std::string m_axisValuesFormat;
    std::string m_dateTimeFormat;
    bool m_exactDateTime = true;
    std::unique_ptr<TDottedGrayPen> m_grid;
    bool m_gridCentered = false;
    double m_increment = 0;
    bool m_inverted = false;
    bool m_labels = true;
    int32_t m_labelsAngle = 0;  // degrees
    std::unique_ptr<gfx::TFont> m_labelsFont;
    bool m_labelsMultiLine = false;
    bool m_labelsOnAxis = true;
    int32_t m_labelsSeparation = 10;  // percent
    int32_t m_labelsSize = 0;         // pixels
    TAxisLabelStyle m_labelStyle = TAxisLabelStyle::talAuto;
    bool m_logarithmic = false;
    int32_t m_logarithmicBase = 10;
    double m_maximum = 0;
    double m_minimum = 0;
    std::unique_ptr<TChartHiddenPen> m_minorGrid;
    int32_t m_minorTickCount = 3;
    int32_t m_minorTickLength = 2;  // pixels
    std::unique_ptr<TDarkGrayPen> m_minorTicks;
    double m_startPosition = 0;    // percent
    double m_endPosition = 100;    // percent
    double m_positionPercent = 0;  // percent
    bool m_roundFirstLabel = true;
    int32_t m_tickInnerLength = 0;  // pixels
    int32_t m_tickLength = 4;       // pixels
    bool m_tickOnLabelsOnly = true;
    std::unique_ptr<TDarkGrayPen> m_ticks;
    std::unique_ptr<TDarkGrayPen> m_ticksInner;
    std::unique_ptr<TChartAxisTitle> m_title;
    int32_t m_titleSize = 0;  // pixels
    bool m_visible = true;

    bool m_horizontal = false;
    bool m_otherSide = false;
    bool m_isZAxis = false;
    int32_t m_defaultTitleAngle = 0;  // degrees

    double m_currentMinimum = 0;
    double m_currentMaximum = 0;
    double m_currentRange = 0;
    bool m_isDateTimeAxis = false;
    int32_t m_startPixel = 0;
    int32_t m_endPixel = 0;
    int32_t m_axisLength = 0;
    int32_t m_centerPixel = 0;
    int32_t m_axisLinePos = 0;
    int32_t m_labelsPos = 0;
    int32_t m_titlePos = 0;

    bool m_labelHookOff = false;           // the chart's label hook is not called (measuring)
    std::vector<int32_t> m_tickPositions;  // this DrawAxis' ticks, pixels

    // Values formatted lately with the values format and the separators they were formatted
    // with: the same labels come back paint after paint, and finding a text again costs less
    // than formatting it. A change of format or separators empties it.
    struct TFormattedValues {
        std::string Pattern;
        char DecimalSeparator = 0;
        char ThousandSeparator = 0;
        std::vector<std::pair<double, std::string>> Texts;
    };
    const std::string& FormattedValue(double value);
    TFormattedValues m_formattedValues;
};

// The left, top, right and bottom axes.
class TChartAxis : public TCustomChartAxis {
  public:
    using TCustomChartAxis::TCustomChartAxis;
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
};

// The depth axis: no grid centring and no position settings of its own.
class TChartDepthAxis : public TCustomChartAxis {
  public:
    using TCustomChartAxis::TCustomChartAxis;
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
};

}  // namespace chart
