// The line family: points joined by straight segments or stair steps in their colours with the
// line pen, optionally marked by the point pointer. TLineSeries is its published form.
#pragma once

#include <functional>
#include <memory>

#include "chart/canvas/ChartPen.h"
#include "chart/engine/Series.h"
#include "chart/series/SeriesPointer.h"

namespace chart {

// (sender, point index) -> the pointer style of that point.
using TOnGetPointerStyle =
    std::function<TSeriesPointerStyle(TChartSeries& sender, int32_t valueIndex)>;

class TCustomSeries : public TChartSeries {
  public:
    explicit TCustomSeries(classes::TComponent* owner);
    ~TCustomSeries() override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    // Draws the connection from the previous drawn point into point index and the pointers.
    void DrawPoint(int32_t index) override;
    // The pointer shape of point index at (x, y) in the point's colour.
    virtual void DrawPointer(int32_t x, int32_t y, int32_t index, gfx::TColor color);
    // Pixel line the area of point index is filled down to: the vertical axis' end.
    virtual int32_t OriginPixel(int32_t index) const;
    // Room for pointer shapes and stair legs at the ends of the axes, pixels.
    void HorizontalMargins(int32_t& left, int32_t& right) const override;
    void VerticalMargins(int32_t& top, int32_t& bottom) const override;
    // The legend symbol: a stretch of line, the pointer over it, or the filled box.
    void DrawLegendShape(int32_t index, const gfx::TRect& rect) override;

    TChartPen& LinePen() const { return *m_linePen; }
    void SetLinePen(const TChartPen& value) { m_linePen->Assign(value); }
    TSeriesPointer& Pointer() const { return *m_pointer; }
    void SetPointer(const TSeriesPointer& value) { m_pointer->Assign(value); }
    bool ConnectPoints() const { return m_connectPoints; }
    void SetConnectPoints(bool value);
    bool Stairs() const { return m_stairs; }
    void SetStairs(bool value);
    bool InvertedStairs() const { return m_invertedStairs; }
    void SetInvertedStairs(bool value);
    bool Dark3D() const { return m_dark3D; }
    void SetDark3D(bool value);
    gfx::TBrushStyle LineBrush() const { return m_lineBrush; }
    void SetLineBrush(gfx::TBrushStyle value);
    // Height of the 3D ribbon's second edge, pixels.
    int32_t LineHeight() const { return m_lineHeight; }
    void SetLineHeight(int32_t value);
    void SetOnGetPointerStyle(TOnGetPointerStyle handler) {
        m_onGetPointerStyle = std::move(handler);
    }

  private:
    // The previously drawn point: pixels and colour (clNone after a null point).
    struct TPreviousPoint {
        int32_t X = 0;
        int32_t Y = 0;
        int32_t Origin = 0;
        gfx::TColor Color = 0;
    };
    // The segment from the previous point to (x, y), then its pointers when asked.
    void DrawConnection(int32_t index, int32_t x, int32_t y, gfx::TColor color, bool withPointers);
    // Height at the plot's left (or right) edge of the segment from point index-1 to index.
    int32_t EdgeStartY(int32_t index, int32_t edgeX) const;
    void RequestChange();

    bool m_connectPoints = false;
    bool m_dark3D = true;
    bool m_invertedStairs = false;
    gfx::TBrushStyle m_lineBrush = gfx::TBrushStyle::bsSolid;
    int32_t m_lineHeight = 0;
    std::unique_ptr<TChartPen> m_linePen;
    std::unique_ptr<TSeriesPointer> m_pointer;
    bool m_stairs = false;
    TOnGetPointerStyle m_onGetPointerStyle;
    TPreviousPoint m_previous;
};

class TLineSeries : public TCustomSeries {
  public:
    // Lines on, pointer hidden. The first point beyond the axis' high edge stays visible so the
    // segment into it is drawn; a function over one whole source gives a flat two-point line.
    explicit TLineSeries(classes::TComponent* owner);

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    // The legend symbol takes the line pen and the line brush's style.
    void PrepareLegendCanvas(int32_t index, gfx::TColor& backColor,
                             gfx::TBrushStyle& brushStyle) override;
};

}  // namespace chart
