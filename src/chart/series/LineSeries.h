// The line family: points joined by straight segments or stair steps in their colours with the
// line pen, optionally marked by the point pointer. TLineSeries is its published form.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "chart/canvas/ChartPen.h"
#include "chart/engine/Series.h"
#include "chart/series/SeriesPointer.h"

namespace chart {

// (sender, point index) -> the pointer style of that point.
using TOnGetPointerStyle =
    std::function<TSeriesPointerStyle(TChartSeries& sender, int32_t valueIndex)>;
// (sender, point index, x, y): a click hit the pointer of that point.
using TSeriesClickPointerEvent =
    std::function<void(TChartSeries& sender, int32_t valueIndex, int32_t x, int32_t y)>;

class TCustomSeries : public TChartSeries {
  public:
    explicit TCustomSeries(classes::TComponent* owner);
    ~TCustomSeries() override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    // A flat line with a solid pen and no pointers over more points than plot columns is drawn
    // as polylines (the same pixels, column by column); pointers without lines each once where
    // several coincide, flat rectangles straight into the rows; anything else point by point.
    void DrawPoints() override;
    // Draws the connection from the previous drawn point into point index and the pointers.
    void DrawPoint(int32_t index) override;
    // The pointer shape of point index at (x, y) in the point's colour.
    virtual void DrawPointer(int32_t x, int32_t y, int32_t index, gfx::TColor color);
    // Pixel line the area of point index is filled down to: the vertical axis' end.
    virtual int32_t OriginPixel(int32_t index) const;
    // Pixel row the line passes at point index: its Y value mapped (PointScreenY).
    virtual int32_t LineScreenY(int32_t index) const { return PointScreenY(index); }
    // Room for pointer shapes and stair legs at the ends of the axes, pixels.
    void HorizontalMargins(int32_t& left, int32_t& right) const override;
    void VerticalMargins(int32_t& top, int32_t& bottom) const override;
    // The legend symbol: a stretch of line, the pointer over it, or the filled box.
    void DrawLegendShape(int32_t index, const gfx::TRect& rect) override;
    // The visible point at the screen position (x, y), or -1: a pointer hit (which fires the
    // pointer-click event), the point's own pixel, or, with SegmentsClickable, the segment
    // (ribbon in 3D, either stair leg, the area under it) leading to the next point.
    int32_t PointAtScreen(int32_t x, int32_t y) override;
    // (x, y) lies within the pointer of point index drawn at (px, py).
    virtual bool PointerHit(int32_t index, int32_t px, int32_t py, int32_t x, int32_t y) const;
    // The fill of one segment's area: the quadrilateral from the previous point (px, py) to
    // (x, y) down to the origin pixels, in the area colour and brush with the area lines pen
    // (a stair step with Stairs); in 3D at the series' front depth.
    void DrawAreaFace(int32_t px, int32_t py, int32_t previousOrigin, int32_t x, int32_t y,
                      int32_t origin, gfx::TColor color);
    // The mark stands at the series' front depth, its box and arrow end ArrowLength pixels
    // above the point.
    void DrawMark(int32_t index, const std::string& text, TSeriesMarkPosition& position) override;
    // From another series: its settings, points and, from another of the line family, the
    // line, area, pointer and click settings.
    void Assign(const classes::TPersistent& source) override;

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
    void SetOnClickPointer(TSeriesClickPointerEvent handler) {
        m_onClickPointer = std::move(handler);
    }
    // Segments count for PointAtScreen.
    bool SegmentsClickable() const { return m_segmentsClickable; }
    void SetSegmentsClickable(bool value);
    // The area: filled down to OriginPixel in AreaColor (clSeriesDefault: the point's colour)
    // with AreaBrush, outlined by AreaLinesPen.
    bool DrawArea() const { return m_drawArea; }
    void SetDrawArea(bool value);
    gfx::TBrushStyle AreaBrush() const { return m_areaBrush; }
    void SetAreaBrush(gfx::TBrushStyle value);
    gfx::TColor AreaColor() const { return m_areaColor; }
    void SetAreaColor(gfx::TColor value);
    TChartPen& AreaLinesPen() const { return *m_areaLinesPen; }
    void SetAreaLinesPen(const TChartPen& value) { m_areaLinesPen->Assign(value); }
    // Whether the visible points are drawn as a batch of area segments: a flat area on a canvas
    // that draws call by call, no pointers, the area lines pen solid and one pixel wide (or
    // hidden along with the line), the line pen at most one pixel wide, both copying.
    bool DrawsAreaBatch() const;
    // Pixel slope beyond which a 3D ribbon shows its darker underside: the chart's depth rise
    // over its depth extent, taken at the first visible point of each paint.
    double DepthSlopeLimit() const { return m_depthSlopeLimit; }

  private:
    // The previously drawn point: pixels and colour (clNone after a null point).
    struct TPreviousPoint {
        int32_t X = 0;
        int32_t Y = 0;
        int32_t Origin = 0;
        gfx::TColor Color = 0;
    };
    // Whether the visible points can be drawn by DrawDense, which walks them as DrawPoint does
    // and draws the segments of each colour as polylines.
    bool DrawsDense() const;
    void DrawDense();
    // DrawDense's line when every point takes SeriesColor and none is null: the mapped points
    // (the first replaced by the start of the segment into the plot when fromEdge) as one
    // polyline. False, with nothing drawn or changed, when a visible point lies outside the
    // pixel range.
    bool DrawDenseLine(bool fromEdge);
    // Whether the visible points draw pointers and nothing else (no lines, no area) on a canvas
    // where a pointer drawn again at its place in its colour and style changes no pixel.
    bool DrawsPointersOnly() const;
    // DrawPoint's walk with the pointers collected instead of drawn; then each distinct pointer
    // (place, colour, style) is drawn once, where it was drawn last, flat rectangles of one
    // colour together straight into the rows. The pictures are those of DrawPoint.
    void DrawPointerBatch();
    // DrawPoint's walk with the area's segments collected instead of drawn; then, when their
    // columns never go back, the fills of each colour in one canvas call and the outlines and
    // lines in their order (each fill covers the columns from its left edge up to its right
    // edge, which the outline of its own segment covers again, so no fill reaches a pixel an
    // earlier outline or line leaves); otherwise each segment as DrawConnection draws it.
    void DrawAreaBatch();
    // One segment of the area DrawPoint's walk asks for: the previous point, the point, their
    // origin pixels and the point's colour.
    struct TAreaCall {
        int32_t PreviousX = 0;
        int32_t PreviousY = 0;
        int32_t PreviousOrigin = 0;
        int32_t X = 0;
        int32_t Y = 0;
        int32_t Origin = 0;
        gfx::TColor Color = 0;
    };
    // The corners of the area's quadrilateral under the segment from (px, py) to (x, y).
    std::array<gfx::TPoint, 4> AreaQuad(const TAreaCall& call) const;
    // One pointer DrawPoint's walk asks for: centre (pixels), point index, colour, style.
    struct TPointerCall {
        int32_t X = 0;
        int32_t Y = 0;
        int32_t Index = 0;
        gfx::TColor Color = 0;
        TSeriesPointerStyle Style = TSeriesPointerStyle::psRectangle;
    };
    // The pointer of a call drawn through the canvas, as DrawPointer does.
    void DrawPointerShape(const TPointerCall& call);
    // Sets a flag for the life of the scope: the walk records instead of drawing.
    struct TCollecting {
        bool& Flag;
        explicit TCollecting(bool& flag) : Flag(flag) { Flag = true; }
        ~TCollecting() { Flag = false; }
        TCollecting(const TCollecting&) = delete;
        TCollecting& operator=(const TCollecting&) = delete;
    };
    // Pixel positions the device can take (it works in 16-bit coordinates).
    static bool InPixelRange(int32_t v) { return -kMaxPixel < v && v < kMaxPixel; }
    static constexpr int32_t kMaxPixel = 32767;
    // The segment from the previous point to (x, y), then its pointers when asked.
    void DrawConnection(int32_t index, int32_t x, int32_t y, gfx::TColor color, bool withPointers);
    // The flat line from the previous point to (x, y) (one segment or two stair legs) with the
    // line pen in the point's colour.
    void DrawFlatLine(int32_t px, int32_t py, int32_t x, int32_t y, gfx::TColor color);
    // The 3D connection: ribbons between the series' start and end depth, the LineHeight front
    // face, darker undersides of steep segments, and the area's faces.
    void DrawRibbonConnection(int32_t index, int32_t x, int32_t y, gfx::TColor color);
    // One ribbon from (x0, y0) to (x1, y1) across the series' depth in the brush colour.
    void DrawRibbon(int32_t x0, int32_t y0, int32_t x1, int32_t y1, gfx::TColor fill,
                    gfx::TBrushStyle style);
    // The fill colour of the area for a point of the given colour.
    gfx::TColor AreaFillColor(gfx::TColor pointColor) const;
    // The screen position lies on the segment (or stair legs, ribbon, area) from the previous
    // point (px, py) to (x, y); (wx, wy) is the position on the series' depth plane.
    bool SegmentHit(int32_t px, int32_t py, int32_t previousOrigin, int32_t x, int32_t y,
                    int32_t origin, int32_t sx, int32_t sy, int32_t wx, int32_t wy) const;
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
    TSeriesClickPointerEvent m_onClickPointer;
    TPreviousPoint m_previous;
    bool m_drawnInPaint = false;             // a visible point of this paint lay in the pixel range
    std::vector<gfx::TPoint> m_denseScreen;  // DrawDense's mapped points, kept between paints
    std::vector<TPointerCall> m_pointerCalls;   // DrawPointerBatch's, kept between paints
    bool m_collectPointers = false;             // DrawPointer records instead of drawing
    std::vector<TAreaCall> m_areaCalls;         // DrawAreaBatch's, kept between paints
    bool m_collectAreas = false;                // DrawConnection records flat areas
    gfx::TColor m_areaTailColor = gfx::clNone;  // brush colour DrawPoint set after the last one
    bool m_areaTail = false;                    // DrawPoint set colours after the last segment
    int32_t m_currentOrigin = 0;                // OriginPixel of the point being drawn
    bool m_segmentsClickable = true;
    bool m_drawArea = false;
    gfx::TBrushStyle m_areaBrush = gfx::TBrushStyle::bsSolid;
    gfx::TColor m_areaColor = clSeriesDefault;
    std::unique_ptr<TChartPen> m_areaLinesPen;
    double m_depthSlopeLimit = 1.0;
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
    // The line family's copy, then: lines on, area off, and the pointer hidden when the source
    // is not a line series.
    void Assign(const classes::TPersistent& source) override;
};

}  // namespace chart
