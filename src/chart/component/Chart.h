// The concrete chart control that design data names TChart: the axis panel with a title, a
// foot, three walls, a legend and the drawing steps the axis panel leaves to it.
#pragma once

#include <memory>
#include <optional>

#include "chart/component/ChartMouse.h"
#include "chart/component/ChartLegend.h"
#include "chart/component/ChartTitle.h"
#include "chart/component/ChartWall.h"
#include "chart/engine/AxisPanel.h"

namespace chart {

class TChart : public TCustomAxisPanel {
  public:
    explicit TChart(classes::TComponent* owner);
    ~TChart() override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    TChartTitle& Title() const { return *m_title; }
    TChartTitle& Foot() const { return *m_foot; }
    TChartWall& BackWall() const { return *m_backWall; }
    TChartWall& LeftWall() const { return *m_leftWall; }
    TChartWall& BottomWall() const { return *m_bottomWall; }
    TChartLegend& Legend() const { return *m_legend; }
    // The back wall's outline.
    TChartPen& Frame() const { return m_backWall->Pen(); }
    void SetFrame(const TChartPen& value) { m_backWall->SetPen(value); }
    // The back wall's colour; set at run time it also makes the back wall's brush solid.
    gfx::TColor BackColor() const { return m_backWall->Color(); }
    void SetBackColor(gfx::TColor value);
    // Draw the back image inside the chart rectangle (on the back wall) instead of the panel.
    bool BackImageInside() const { return m_backImageInside; }
    void SetBackImageInside(bool value);

    // The legend's hooks: an item's text, the box, a row's position.
    const TOnGetLegendText& OnGetLegendText() const { return m_onGetLegendText; }
    void SetOnGetLegendText(TOnGetLegendText h) { m_onGetLegendText = std::move(h); }
    const TOnGetLegendRect& OnGetLegendRect() const { return m_onGetLegendRect; }
    void SetOnGetLegendRect(TOnGetLegendRect h) { m_onGetLegendRect = std::move(h); }
    const TOnGetLegendPos& OnGetLegendPos() const { return m_onGetLegendPos; }
    void SetOnGetLegendPos(TOnGetLegendPos h) { m_onGetLegendPos = std::move(h); }

    // From another chart: BackImageInside, the walls, legend, foot and title, then the axis
    // panel's settings.
    void Assign(const classes::TPersistent& source) override;

    // The series' legend text of point index in the legend's text style, line breaks as
    // blanks; empty for index -1.
    std::string LegendValueText(const TChartSeries& series, int32_t index) const override;
    // Also refuses the back wall's colour when the background is checked.
    bool IsColorFree(gfx::TColor color, bool checkBackground) const override;

    // Titles and legend, each taking its room from the chart rectangle: a legend at the left or
    // right goes first, one at the top or bottom after the titles.
    void DrawTitlesAndLegend() override;
    // One title with its lines and box; moves the chart rectangle's top (or bottom) past it.
    void DrawTitle(TChartTitle& title, bool atTop);
    // The back wall, the back image inside it and, in 3D, the left and bottom walls.
    void DrawWalls() override;
    // The axes' ranges, the 3D room and the axes' room, which give the final chart rectangle,
    // then the axes' pixel extents.
    void LayoutAxes() override;
    // Widens the side axes' ranges so the pixel margins of their series fit.
    void ApplySeriesMargins() override;
    // The left or bottom wall's thickness in a 3D chart with walls, pixels.
    int32_t AxisWallSize(TAxisWall wall) const override;
    // The back image over the whole panel only when it is not drawn inside the walls.
    void PaintBackImage(const gfx::TRect& rect) override;

    // --- Mouse: clicks, zoom, panning and the wheel ------------------------------------------

    // The part under the point: series (last to first), axes, title, foot, chart area, legend.
    TChartClickedPart HitTestChart(int32_t x, int32_t y);
    // Window mouse messages, in the chart's own pixels.
    void MouseDown(forms::TMouseButton button, forms::TShiftState shift, int32_t x, int32_t y);
    void MouseMove(forms::TShiftState shift, int32_t x, int32_t y);
    void MouseUp(forms::TMouseButton button, forms::TShiftState shift, int32_t x, int32_t y);
    // One wheel notch: every vertical axis scrolls by 3 % of its range, down or up.
    void MouseWheel(bool down);
    // Starts a zoom drag (zoom button) or a panning drag (pan button); true when one started.
    bool StartMouseDrag(forms::TMouseButton button, forms::TShiftState shift, int32_t x, int32_t y);
    // Scrolls the axes of one direction by the values between two pixels; false when that
    // direction may not pan or the pixels are equal.
    bool PanAxesBy(bool horizontal, int32_t newPosition, int32_t oldPosition);
    // Zooms the four side axes to the values at ZoomState's corners.
    void ZoomToRectangle();
    // Saves the ranges (first zoom only), steps towards the targets when animated, then sets
    // them exactly; ZoomActive; OnZoom.
    void ZoomAxesTo(const TAxesRanges& targets);
    // Restores the ranges saved by the first zoom or pan (and whether the axes followed their
    // series), forgets them, then ResetZoom.
    void UndoZoom();
    // Ends any zoom or panning drag in progress without zooming (a keying run begins).
    void CancelMouseDrag();
    // The ranges before the first zoom or pan since the last undo; none after construction.
    const std::optional<TAxesRanges>& SavedAxesRanges() const { return m_savedAxesRanges; }
    void MouseLeave() override;

    void SetOnClickLegend(TChartClickEvent handler) { m_onClickLegend = std::move(handler); }
    void SetOnClickAxis(TChartClickAxisEvent handler) { m_onClickAxis = std::move(handler); }
    void SetOnClickSeries(TChartClickSeriesEvent handler) { m_onClickSeries = std::move(handler); }
    void SetOnClickBackground(TChartClickEvent handler) {
        m_onClickBackground = std::move(handler);
    }
    void SetOnAllowScroll(TChartAllowScrollEvent handler) { m_onAllowScroll = std::move(handler); }

  private:
    // The range of each side axis now.
    TAxesRanges CurrentAxesRanges() const;
    void SaveAxesRangesOnce();
    void SetAxisTo(TZoomAxis which, double minimum, double maximum);
    // The background click: OnClickBackground with SuppressMouse set around it; true when the
    // handler left SuppressMouse set (handled).
    bool ClickBackground(forms::TMouseButton button, forms::TShiftState shift, int32_t x,
                         int32_t y);
    // Whether the point is on a legend item.
    bool LegendHit(int32_t x, int32_t y) const;
    // Whether a part under the mouse reacts to a click (the hand cursor shows it).
    bool PartIsClickable(const TChartClickedPart& part) const;

    // The canvas pen and brush for one wall.
    void PrepareWall(const TChartWall& wall);

    std::unique_ptr<TChartTitle> m_title;
    std::unique_ptr<TChartTitle> m_foot;
    std::unique_ptr<TChartWall> m_backWall;
    std::unique_ptr<TChartWall> m_leftWall;
    std::unique_ptr<TChartLegend> m_legend;
    std::unique_ptr<TChartWall> m_bottomWall;
    bool m_backImageInside = false;
    std::optional<TAxesRanges> m_savedAxesRanges;
    TChartClickEvent m_onClickLegend;
    TChartClickAxisEvent m_onClickAxis;
    TChartClickSeriesEvent m_onClickSeries;
    TChartClickEvent m_onClickBackground;
    TChartAllowScrollEvent m_onAllowScroll;
    TOnGetLegendText m_onGetLegendText;
    TOnGetLegendRect m_onGetLegendRect;
    TOnGetLegendPos m_onGetLegendPos;
};

// Registers the chart, the standard series kinds and the functions that design data can name,
// and the classes of the chart's parts (axes and their titles, marks, legend, gradient, walls,
// titles).
// Safe to call more than once.
void RegisterChartClasses();

}  // namespace chart
