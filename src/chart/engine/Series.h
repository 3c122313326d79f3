// The base of every series kind: the point store (X and Y values, colours, labels), the add,
// clear and delete operations with their events, linked series, repaint requests, value texts
// and the marks settings. Drawing is left to the series kinds.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/engine/ChartColors.h"
#include "chart/engine/SeriesMarks.h"
#include "chart/engine/ValueList.h"
#include "classes/Component.h"
#include "forms/Mouse.h"
#include "gfx/Brush.h"
#include "gfx/Geometry.h"

namespace chart {

class TCustomAxisPanel;
class TCustomChartAxis;
class TChartSeries;
class TChartFunction;

enum class THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum class TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };

// What a series tells the series that use it as their data source.
enum class TLinkEvent { leCleared, leAdded, leDeleted, leRefresh, leValueChanged };

// Bits of LinkEventMask: which source events a linked series follows. A refresh is always
// followed.
inline constexpr uint8_t kLinkDeleted = 1;
inline constexpr uint8_t kLinkValueChanged = 2;
inline constexpr uint8_t kLinkAdded = 4;
inline constexpr uint8_t kLinkCleared = 8;
inline constexpr uint8_t kLinkAll = kLinkDeleted | kLinkValueChanged | kLinkAdded | kLinkCleared;

enum class TLegendTextStyle {
    ltsPlain,
    ltsLeftValue,
    ltsRightValue,
    ltsLeftPercent,
    ltsRightPercent,
    ltsXValue
};

using TSeriesNotifyEvent = std::function<void(TChartSeries& sender)>;
// Returns False to refuse the point being added.
using TSeriesBeforeAddEvent = std::function<bool(TChartSeries& sender)>;
using TSeriesAfterAddEvent = std::function<void(TChartSeries& sender, int32_t valueIndex)>;
// May replace the text of the mark of point valueIndex.
using TSeriesOnGetMarkText =
    std::function<void(TChartSeries& sender, int32_t valueIndex, std::string& markText)>;

// (sender, point index, button, shift state, x, y in pixels).
using TSeriesClickEvent =
    std::function<void(TChartSeries& sender, int32_t valueIndex, forms::TMouseButton button,
                       forms::TShiftState shift, int32_t x, int32_t y)>;

class TChartSeries : public classes::TComponent {
  public:
    // Number of sample points a series is filled with at design time.
    static constexpr int32_t kSampleValueCount = 26;

    explicit TChartSeries(classes::TComponent* owner);
    ~TChartSeries() override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
    // From another series only (EConvertError otherwise): Tag, the value lists' settings
    // (crosswise when the two differ in YIsMandatory), the sources or else the points, the
    // marks, colours, texts, formats, Active, the axes, LinkEventMask and Cursor. Series kinds
    // extend it and call it first.
    void Assign(const classes::TPersistent& source) override;

    // --- Points ------------------------------------------------------------------------------

    // Adds one point; the X list's order decides its index (an X equal to existing ones goes
    // after them). Returns the index, or -1 when OnBeforeAdd refused the point (then nothing
    // is stored and no event follows). Requests a repaint only while Active.
    virtual int32_t AppendXY(double x, double y, const std::string& label = std::string(),
                             gfx::TColor color = clSeriesDefault);
    // Adds value as the mandatory coordinate, the point count as the other one.
    virtual int32_t AppendValue(double value, const std::string& label = std::string(),
                                gfx::TColor color = clSeriesDefault);
    // A null point (colour clNone) is stored but not drawn.
    virtual int32_t AppendNullPoint(const std::string& label = std::string());
    virtual int32_t AppendNullXY(double x, double y, const std::string& label = std::string());
    // Removes every point, fires OnClearValues, tells linked series and requests a repaint
    // (also when there were no points).
    virtual void ClearPoints();
    // Empties every value list, the colours, the labels and the marks' positions, silently.
    virtual void ClearStorage();
    // EListError "List index out of bounds (%d)" outside the points; nothing changes then.
    virtual void DeletePoint(int32_t index);
    // Exchanges whole points i and j: every value, the colours and the labels.
    virtual void SwapPoints(int32_t i, int32_t j);

    int32_t PointCount() const { return m_xValues->ValueCount(); }
    virtual double XValueAt(int32_t index) const { return m_xValues->ValueAt(index); }
    virtual double YValueAt(int32_t index) const { return m_yValues->ValueAt(index); }
    // The point's own colour, else a palette colour by index with ColorEachPoint, else
    // SeriesColor; SeriesColor past the last point.
    virtual gfx::TColor PointColor(int32_t index) const;
    // The point's colour as stored: clSeriesDefault when it has none of its own.
    gfx::TColor StoredPointColor(int32_t index) const;
    // Every point from first to last (clamped to the points) takes SeriesColor: none has a
    // colour of its own but SeriesColor, and ColorEachPoint is off. The base PointColor's rule.
    bool PointsTakeSeriesColor(int32_t first, int32_t last) const;
    void SetPointColor(int32_t index, gfx::TColor color);
    // The point's label; empty past the last point.
    virtual std::string PointLabel(int32_t index) const;
    void SetPointLabel(int32_t index, const std::string& label);

    TChartValueList& XValues() { return *m_xValues; }
    const TChartValueList& XValues() const { return *m_xValues; }
    TChartValueList& YValues() { return *m_yValues; }
    const TChartValueList& YValues() const { return *m_yValues; }
    // Copies the given list's settings into the owned one.
    void SetXValues(const TChartValueList& value);
    void SetYValues(const TChartValueList& value);
    // Every value list in creation order: X, Y, then those a series kind adds.
    int32_t ValueListCount() const { return static_cast<int32_t>(m_valueLists.size()); }
    TChartValueList& ValueList(int32_t index) const;
    // Case-insensitive search of the lists after X and Y; YValues when none matches.
    TChartValueList& ValueListByName(const std::string& name);
    virtual TChartValueList& MandatoryValueList() { return *m_yValues; }
    const TChartValueList& MandatoryValueList() const {
        return const_cast<TChartSeries*>(this)->MandatoryValueList();
    }
    bool YIsMandatory() const { return &MandatoryValueList() == m_yValues.get(); }

    virtual double HighestX() const { return m_xValues->MaximumValue(); }
    virtual double HighestY() const { return m_yValues->MaximumValue(); }
    virtual double LowestX() const { return m_xValues->MinimumValue(); }
    virtual double LowestY() const { return m_yValues->MinimumValue(); }

    // --- Texts -------------------------------------------------------------------------------

    virtual double MarkValue(int32_t index) const { return MandatoryValueList().ValueAt(index); }
    // ValueFormat applied to MarkValue(index).
    std::string ValueText(int32_t index) const;
    // The point's share of the mandatory list's total absolute value in PercentFormat (100
    // when the total is 0); withTotal appends " of " and the total in ValueFormat.
    std::string PercentText(int32_t index, bool withTotal) const;
    // The label when there is one, else the value text.
    std::string LabelOrValueText(int32_t index) const;
    virtual int32_t LegendToValueIndex(int32_t legendIndex) const { return legendIndex; }
    virtual gfx::TColor LegendItemColor(int32_t index) const { return PointColor(index); }
    virtual int32_t LegendItemCount() const { return PointCount(); }
    // ltsXValue shows the X value as the horizontal axis formats its labels (XValueText).
    virtual std::string LegendItemText(int32_t index, TLegendTextStyle style) const;
    // The text of point index's mark by Marks.Style, then as OnGetMarkText leaves it.
    std::string MarkText(int32_t index);
    // The X value of point index as the horizontal axis formats its labels; in ValueFormat
    // without a horizontal axis.
    std::string XValueText(int32_t index) const;

    // --- Events ------------------------------------------------------------------------------

    virtual void AfterAdd(int32_t valueIndex);
    void SetOnBeforeAdd(TSeriesBeforeAddEvent handler) { m_onBeforeAdd = std::move(handler); }
    void SetOnAfterAdd(TSeriesAfterAddEvent handler) { m_onAfterAdd = std::move(handler); }
    void SetOnClearValues(TSeriesNotifyEvent handler) { m_onClearValues = std::move(handler); }
    void SetOnGetMarkText(TSeriesOnGetMarkText handler) { m_onGetMarkText = std::move(handler); }
    void SetOnClick(TSeriesClickEvent handler) { m_onClick = std::move(handler); }
    void SetOnDblClick(TSeriesClickEvent handler) { m_onDblClick = std::move(handler); }

    // --- Chart and linked series -------------------------------------------------------------

    TCustomAxisPanel* ParentChart() const { return m_parentChart; }
    // Leaves the old chart's series list, resolves the axes of the new chart and joins its
    // series list.
    virtual void SetParentChart(TCustomAxisPanel* value);
    // The chart's axes the series is drawn against; null without a chart.
    TCustomChartAxis* HorizontalAxisRef() const { return m_horizontalAxisRef; }
    TCustomChartAxis* VerticalAxisRef() const { return m_verticalAxisRef; }
    // The axes used with aCustomHorizAxis / aCustomVertAxis (axes the chart owns).
    TCustomChartAxis* CustomHorizAxis() const { return m_customHorizAxis; }
    void SetCustomHorizAxis(TCustomChartAxis* value);
    TCustomChartAxis* CustomVertAxis() const { return m_customVertAxis; }
    void SetCustomVertAxis(TCustomChartAxis* value);
    // The series is drawn against the axis: a horizontal axis that is HorizontalAxisRef (or
    // any with aBothHorizAxis), a vertical one that is VerticalAxisRef (or any with
    // aBothVertAxis). Never the depth axis.
    bool UsesAxis(const TCustomChartAxis& axis) const;
    // Asks the chart to repaint later; nothing without a chart.
    void RequestRepaint();

    // The first data source, or nullptr. Only another series can be a source.
    TChartSeries* DataSource() const;
    // Needs a chart; refuses this series itself and cycles of sources (ChartException). A new
    // source is linked and, while not loading, the points are reloaded from it. nullptr
    // unlinks every source and clears the points.
    void SetDataSource(TChartSeries* value);
    int32_t DataSourceCount() const { return static_cast<int32_t>(m_dataSources.size()); }
    int32_t LinkedSeriesCount() const { return static_cast<int32_t>(m_linkedSeries.size()); }
    TChartSeries* LinkedSeries(int32_t index) const;
    uint8_t LinkEventMask() const { return m_linkEventMask; }
    void SetLinkEventMask(uint8_t value) { m_linkEventMask = value; }
    void NotifyLinkedSeries(TLinkEvent event, int32_t index);
    // Copies one point of source (X and Y crosswise when the two differ in YIsMandatory) and
    // returns its index here.
    virtual int32_t CopyPointFrom(const TChartSeries& source, int32_t index);
    // CopyPointFrom with the point's colour and label, then AfterAdd.
    virtual void AddPointFrom(const TChartSeries& source, int32_t index);
    // Replaces every point by those of source, then tells linked series to refresh.
    virtual void RefreshFromSource(const TChartSeries& source);
    // Reloads from the first data source when that is a series and the series is not loading.
    void RefreshFromDataSource();
    // The series accepts source as its data source.
    virtual bool AcceptsSource(const TChartSeries& /*source*/) const { return true; }
    // Every data source in order (the first is DataSource).
    const std::vector<TChartSeries*>& DataSources() const { return m_dataSources; }
    // Adds a further data source, keeping those there are (a function combines them all), with
    // the same checks as SetDataSource; then reloads. Nothing when it is a source already.
    void AddDataSource(TChartSeries* value);

    // --- Calculated series -------------------------------------------------------------------

    // The function that computes the points from the data sources; nullptr for none.
    TChartFunction* Function() const { return m_function; }
    // Frees the old function, takes value (the series frees it from now on), tells it its
    // series and reloads from the data source.
    void SetFunction(TChartFunction* value);
    // Called by a function being freed elsewhere: the series no longer holds it.
    void ForgetFunction(const TChartFunction* function);
    // After the chart's own children: the function is stored inside its series.
    void GetChildren(const std::function<void(classes::TComponent*)>& proc,
                     classes::TComponent* root) const override;

    // --- Settings ----------------------------------------------------------------------------

    bool Active() const { return m_active; }
    virtual void SetActive(bool value);
    gfx::TColor SeriesColor() const { return m_seriesColor; }
    virtual void SetSeriesColor(gfx::TColor value);
    bool ColorEachPoint() const { return m_colorEachPoint; }
    // Turning it off resets every point's colour to clSeriesDefault.
    virtual void SetColorEachPoint(bool value);
    const std::string& ColorSource() const { return m_colorSource; }
    void SetColorSource(const std::string& value);
    int16_t Cursor() const { return m_cursor; }
    void SetCursor(int16_t value) { m_cursor = value; }
    // The point whose shape (or segment, from its previous point) lies under the screen
    // position, or -1; the series kinds that can be clicked override it.
    virtual int32_t PointAtScreen(int32_t /*x*/, int32_t /*y*/) { return -1; }
    // The series' own reaction to a click on one of its points: OnDblClick for a double click
    // when set, else OnClick when set. True when a handler ran (the click is handled).
    virtual bool SeriesClicked(int32_t valueIndex, forms::TMouseButton button,
                               forms::TShiftState shift, int32_t x, int32_t y);
    // The chart passes every mouse move outside a zoom or pan drag, and every release, to each
    // of its series; the kinds here do nothing with them, a kind of its own may.
    virtual void SeriesMouseMove(forms::TShiftState /*shift*/, int32_t /*x*/, int32_t /*y*/) {}
    virtual void SeriesMouseUp(forms::TMouseButton /*button*/, forms::TShiftState /*shift*/,
                               int32_t /*x*/, int32_t /*y*/) {}
    const std::string& XLabelsSource() const { return m_xLabelsSource; }
    void SetXLabelsSource(const std::string& value);
    TSeriesMarks& Marks() { return *m_marks; }
    const TSeriesMarks& Marks() const { return *m_marks; }
    void SetMarks(const TSeriesMarks& value) { m_marks->Assign(value); }
    const std::string& PercentFormat() const { return m_percentFormat; }
    void SetPercentFormat(const std::string& value);
    const std::string& ValueFormat() const { return m_valueFormat; }
    void SetValueFormat(const std::string& value);
    bool ShowInLegend() const { return m_showInLegend; }
    void SetShowInLegend(bool value);
    const std::string& Title() const { return m_title; }
    void SetTitle(const std::string& value);
    THorizAxis HorizAxis() const { return m_horizAxis; }
    void SetHorizAxis(THorizAxis value);
    TVertAxis VertAxis() const { return m_vertAxis; }
    void SetVertAxis(TVertAxis value);
    // Depth slot in 3D; -1 lets the chart choose.
    int32_t DepthIndex() const { return m_depthIndex; }
    void SetDepthIndex(int32_t value);
    // Streamed as "Identifier" and "Style" (six flags, bits 0 .. 5); kept, not interpreted.
    const std::string& Identifier() const { return m_identifier; }
    void SetIdentifier(const std::string& value) { m_identifier = value; }
    uint8_t StyleFlags() const { return m_styleFlags; }
    void SetStyleFlags(uint8_t value) { m_styleFlags = value & kStyleFlagsMask; }

    // The last visible point may be the first one beyond the axis' high edge.
    bool IncludePointBeyondEnd() const { return m_includePointBeyondEnd; }
    // A function computing one value for a whole source adds one point (True) or a flat
    // two-point line (False).
    bool SinglePointResult() const { return m_singlePointResult; }
    bool VisibleRangeEnabled() const { return m_visibleRangeEnabled; }
    void SetVisibleRangeEnabled(bool value) { m_visibleRangeEnabled = value; }

    // --- Drawing -----------------------------------------------------------------------------

    // The points DrawPoints visits in this paint; -1 when none. Set by ComputeVisibleRange.
    int32_t FirstVisibleIndex() const { return m_firstVisibleIndex; }
    int32_t LastVisibleIndex() const { return m_lastVisibleIndex; }
    // Narrows the points to those inside the horizontal axis (vertical for a series whose X
    // values are the mandatory ones) when the ordered list allows it.
    void ComputeVisibleRange();
    // Called for every active series before the chart lays out and draws; nothing here.
    virtual void BeforeChartDraw() {}
    // DrawPoint over the visible points, in ascending or descending order.
    virtual void DrawPoints();
    virtual void DrawPoint(int32_t /*index*/) {}
    virtual bool DrawInAscendingOrder() const { return true; }
    // The series is drawn against axes (a pie is not).
    virtual bool UsesAxes() const { return true; }
    // When series share a depth slot, whether they draw point index in list order (True) or in
    // reverse list order.
    virtual bool SeriesOrderAtIndex(int32_t /*index*/) const { return true; }
    // The marks of the visible points that are not null and have a text: box, arrow, text;
    // the text line height measured once for all of them, the boxes straight into the rows.
    virtual void DrawMarks();
    // The same pictures with each mark measured and its box drawn through the general shapes:
    // the reference for DrawMarks.
    void DrawMarksOneByOne();
    // Draws the mark of point index at position; series kinds may move the box first.
    virtual void DrawMark(int32_t index, const std::string& text, TSeriesMarkPosition& position);
    // The widest mark text of the points in the canvas font, pixels.
    int32_t MaxMarkWidth();
    // Fire BeforeDrawValues / AfterDrawValues around the drawing of the values.
    void DoBeforeDrawValues();
    void DoAfterDrawValues();
    void SetBeforeDrawValues(TSeriesNotifyEvent handler) {
        m_beforeDrawValues = std::move(handler);
    }
    void SetAfterDrawValues(TSeriesNotifyEvent handler) { m_afterDrawValues = std::move(handler); }
    // Pixels the axes must leave free beyond the series' extreme values; none here.
    virtual void HorizontalMargins(int32_t& left, int32_t& right) const {
        left = 0;
        right = 0;
    }
    virtual void VerticalMargins(int32_t& top, int32_t& bottom) const {
        top = 0;
        bottom = 0;
    }
    // The legend's symbol of point index (-1: of the series itself) in the rectangle: the
    // point's (or series') colour over the chart's legend colour, then the shape.
    virtual void DrawLegendSymbol(int32_t index, const gfx::TRect& rect);
    // The symbol with the canvas pen and brush: the rectangle here.
    virtual void DrawLegendShape(int32_t index, const gfx::TRect& rect);
    // A series kind may change the symbol's back colour and brush style; nothing here.
    virtual void PrepareLegendCanvas(int32_t /*index*/, gfx::TColor& /*backColor*/,
                                     gfx::TBrushStyle& /*brushStyle*/) {}
    // Value to pixel and back along the series' horizontal and vertical axes (through the
    // chart); 0 without a chart.
    int32_t CalcXPosValue(double value) const;
    int32_t CalcYPosValue(double value) const;
    double XScreenToValue(int32_t pixel) const;
    double YScreenToValue(int32_t pixel) const;
    // Pixel position of point index.
    int32_t PointScreenX(int32_t index) const { return CalcXPosValue(XValueAt(index)); }
    int32_t PointScreenY(int32_t index) const { return CalcYPosValue(YValueAt(index)); }
    // The pixel positions of points first .. last, in order, into screen: PointScreenX and
    // PointScreenY read from the value lists and mapped many at a time (for kinds whose
    // XValueAt and YValueAt are those of their lists).
    void PointsToScreen(int32_t first, int32_t last, std::vector<gfx::TPoint>& screen) const;
    // Depth slot chosen by the chart when DepthIndex is -1.
    int32_t AutoDepth() const { return m_autoDepth; }
    void SetAutoDepth(int32_t value) { m_autoDepth = value; }
    // DepthIndex, or AutoDepth when DepthIndex is -1.
    int32_t EffectiveDepth() const { return m_depthIndex == -1 ? m_autoDepth : m_depthIndex; }
    // Pixels from the front of the chart: where the series' slot starts, ends and its middle.
    int32_t StartZ() const { return m_startZ; }
    int32_t MiddleZ() const { return m_middleZ; }
    int32_t EndZ() const { return m_endZ; }
    void SetDepthPositions(int32_t startZ, int32_t endZ);

    // --- Sample data and the gallery ---------------------------------------------------------

    // Replaces the points by numValues random points spread over the ranges of the chart's
    // other series (0 .. 1000 by 0 .. numValues-1 without them). numValues <= 0:
    // ChartException "FillSampleValues NumValues must be > 0", before anything changes.
    virtual void FillSampleValues(int32_t numValues);
    // Sample points for design-time previews.
    virtual int32_t SampleValueCount() const { return kSampleValueCount; }
    // A gallery preview: four sample points, no marks, one colour; silver when not enabled.
    virtual void PrepareGalleryPreview(bool enabled);
    // The gallery's 3D switch: the chart's 3D view, and point clipping only when flat.
    virtual void GalleryChanged3D(bool is3D);

    // --- Design data -------------------------------------------------------------------------

    // A series is stored inside its chart; one without a chart is stored with its owner.
    bool HasParent() const override { return m_parentChart != nullptr; }
    classes::TComponent* ParentComponent() const override;
    // A chart takes the series; the series' owner leaves it without a chart.
    void SetParentComponent(classes::TComponent* parent) override;
    // Links the data sources named in design data, then reloads from the first.
    void Loaded() override;

  protected:
    // What an added point asks of an active series' chart: a repaint here.
    virtual void RepaintAfterAdd(int32_t /*valueIndex*/) { RequestRepaint(); }
    void SetIncludePointBeyondEnd(bool value) { m_includePointBeyondEnd = value; }
    void SetSinglePointResult(bool value) { m_singlePointResult = value; }

  private:
    friend class TChartValueList;
    void CheckPointIndex(int32_t index) const;
    // DrawMarks (measuredOnce) or DrawMarksOneByOne.
    void DrawMarksMeasured(bool measuredOnce);
    // Lists after X and Y take their pending value at index, so every list stays aligned.
    void InsertPendingExtras(int32_t index);
    // Inserts or stores a point's label; the point's values are in place already.
    void InsertLabel(int32_t index, const std::string& label);
    void StoreLabel(int32_t index, const std::string& label);
    void UnlinkDataSources();
    void CheckCircular(const TChartSeries& source) const;
    // The checks a new data source passes: a chart, a valid source, no cycle.
    void ValidateDataSource(TChartSeries& value) const;
    // Adds a source (the series records this one among its linked series).
    void LinkDataSource(TChartSeries* source);
    // HorizontalAxisRef and VerticalAxisRef from the chart and the axis settings.
    void ResolveAxes();
    // "DataSources": the names of every source when there is more than one.
    static classes::TPropInfo DataSourcesProperty();

    static constexpr uint8_t kStyleFlagsMask = 0x3F;

    bool m_active = true;
    gfx::TColor m_seriesColor = clSeriesDefault;
    bool m_colorEachPoint = false;
    // One entry per point; clSeriesDefault when the point has no colour of its own.
    std::vector<gfx::TColor> m_pointColors;
    std::string m_colorSource;
    int16_t m_cursor = 0;
    std::vector<TChartSeries*> m_dataSources;  // not owned; the first is DataSource
    std::string m_xLabelsSource;
    std::vector<TChartSeries*> m_linkedSeries;  // not owned: series using this as a source
    std::unique_ptr<TSeriesMarks> m_marks;
    TCustomAxisPanel* m_parentChart = nullptr;
    std::string m_percentFormat;
    bool m_showInLegend = true;
    std::string m_title;
    std::string m_valueFormat;
    std::vector<TChartValueList*> m_valueLists;  // not owned: each list registers itself
    std::unique_ptr<TChartValueList> m_xValues;
    // One entry per point once any point has a label; empty while none has (a run of
    // unlabelled points, the usual case, then costs no label storage).
    std::vector<std::string> m_pointLabels;
    std::unique_ptr<TChartValueList> m_yValues;
    THorizAxis m_horizAxis = THorizAxis::aBottomAxis;
    TVertAxis m_vertAxis = TVertAxis::aLeftAxis;
    int32_t m_depthIndex = -1;
    uint8_t m_linkEventMask = kLinkAll;
    TSeriesBeforeAddEvent m_onBeforeAdd;
    TSeriesAfterAddEvent m_onAfterAdd;
    TSeriesNotifyEvent m_onClearValues;
    bool m_visibleRangeEnabled = true;
    bool m_includePointBeyondEnd = false;
    bool m_singlePointResult = true;
    int32_t m_firstVisibleIndex = -1;
    int32_t m_lastVisibleIndex = -1;
    int32_t m_autoDepth = 0;
    int32_t m_startZ = 0;
    int32_t m_middleZ = 0;
    int32_t m_endZ = 0;
    TSeriesNotifyEvent m_beforeDrawValues;
    TSeriesNotifyEvent m_afterDrawValues;
    TChartFunction* m_function = nullptr;  // owned (also listed by its owner component)
    TSeriesOnGetMarkText m_onGetMarkText;
    TSeriesClickEvent m_onClick;
    TSeriesClickEvent m_onDblClick;
    TCustomChartAxis* m_horizontalAxisRef = nullptr;  // not owned: the chart's
    TCustomChartAxis* m_verticalAxisRef = nullptr;
    TCustomChartAxis* m_customHorizAxis = nullptr;
    TCustomChartAxis* m_customVertAxis = nullptr;
    // Source names read from design data, linked and discarded by Loaded.
    std::vector<std::string> m_dataSourceNames;
    std::string m_identifier;
    uint8_t m_styleFlags = 0;
};

}  // namespace chart
