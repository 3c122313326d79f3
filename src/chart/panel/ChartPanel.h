// The chart panel: the control a chart lives on, with its canvas, 3D options, margins, chart
// rectangle and paint entry.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "chart/canvas/ChartCanvas3D.h"
#include "chart/canvas/View3DOptions.h"
#include "forms/ExtCtrls.h"
#include "gfx/Bitmap.h"

namespace chart {

// Global switches of chart painting.
inline bool ClipOnPrinter = true;        // clip while printing
inline bool ClipOnMetafile = true;       // clip while drawing into a metafile
inline bool EraseBackground = false;     // let the window erase the background before a paint
inline bool PaintWhilePrinting = false;  // paint background and bevels while printing

// The corners and state of a zoom or panning drag, pixels.
class TZoomPanningRecord {
  public:
    int32_t StartX = 0;
    int32_t StartY = 0;
    int32_t EndX = 0;
    int32_t EndY = 0;
    bool Engaged = false;

    // Both corners at (x, y), engaged.
    void BeginAt(int32_t x, int32_t y);
    // Swaps so that StartX <= EndX and StartY <= EndY.
    void NormalizeCorners();
};

// Window-system flag of the dialog-code request that asks for the arrow keys.
inline constexpr uint32_t kDlgcWantArrows = 0x0001;

class TCustomChartPanel : public forms::TPanel {
  public:
    explicit TCustomChartPanel(classes::TComponent* owner);
    ~TCustomChartPanel() override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    // The paint entry: nothing while printing; a copy of the buffer when it is current;
    // otherwise a full PaintToCanvas onto the window canvas.
    virtual void Paint();
    // Walls, axes, series, title and legend; the axis panel draws them.
    virtual void DrawChartContent(const gfx::TRect& rect) = 0;
    // A part (font, picture, pen) changed: repaint.
    virtual void PartChanged();
    // A full paint onto any canvas at the rectangle.
    virtual void PaintToCanvas(gfx::TCanvas* target, const gfx::TRect& rect);
    // The outer bevel, the border in Color and the inner bevel, each inside the previous.
    virtual void DrawBevels(const gfx::TRect& rect);
    // The font takes the canvas font's pixels per inch, then the canvas font takes it.
    virtual void ApplyFont(gfx::TFont& font);
    // The client rectangle.
    virtual gfx::TRect PaintArea() const;
    virtual void PaintBackImage(const gfx::TRect& rect);
    // The panel colour over the rectangle.
    virtual void PaintBackground(const gfx::TRect& rect);
    // Background, back image, then the bevels (unless the canvas renders the whole scene).
    virtual void PaintPanelFrame(const gfx::TRect& rect);

    // Marks the canvas buffer stale and invalidates the control; nothing while
    // RepaintOnChange is off (during construction and batches of changes).
    virtual void MarkForRepaint();
    bool RepaintOnChange() const { return m_repaintOnChange; }
    void SetRepaintOnChange(bool value) { m_repaintOnChange = value; }

    // Settings.
    int32_t Chart3DPercent() const { return m_chart3DPercent; }
    // 1 .. 100, else ChartException "3D effect percent must be between 1 and 100".
    void SetChart3DPercent(int32_t value);
    bool View3D() const { return m_view3D; }
    void SetView3D(bool value);
    TView3DOptions& View3DOptions() const { return *m_view3DOptions; }
    // Copies the values into the owned options.
    void SetView3DOptions(const TView3DOptions& value);
    // Percent of the panel width (left, right) and height (top, bottom).
    int32_t MarginLeft() const { return m_marginLeft; }
    void SetMarginLeft(int32_t value);
    int32_t MarginTop() const { return m_marginTop; }
    void SetMarginTop(int32_t value);
    int32_t MarginRight() const { return m_marginRight; }
    void SetMarginRight(int32_t value);
    int32_t MarginBottom() const { return m_marginBottom; }
    void SetMarginBottom(int32_t value);
    // Pixels between the bevels, painted in Color; not negative.
    int32_t BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int32_t value);
    // The canvas' monochrome setting.
    bool Monochrome() const;
    void SetMonochrome(bool value);
    bool PrintProportional() const { return m_printProportional; }
    void SetPrintProportional(bool value) { m_printProportional = value; }
    int32_t PrintSetting() const { return m_printSetting; }
    void SetPrintSetting(int32_t value) { m_printSetting = value; }
    // Percent of the page.
    const gfx::TRect& PrintMargins() const { return m_printMargins; }
    void SetPrintMargins(const gfx::TRect& value) { m_printMargins = value; }
    bool PrintingInProgress() const { return m_printingInProgress; }
    void SetPrintingInProgress(bool value) { m_printingInProgress = value; }
    bool DepthOrdering() const { return m_depthOrdering; }
    void SetDepthOrdering(bool value) { m_depthOrdering = value; }
    bool SuppressMouse() const { return m_suppressMouse; }
    void SetSuppressMouse(bool value) { m_suppressMouse = value; }

    void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;

    // Geometry of the last paint, pixels.
    const gfx::TRect& PanelBounds() const { return m_panelBounds; }
    const gfx::TRect& PlotRect() const { return m_plotRect; }
    void SetPlotRect(const gfx::TRect& value) { m_plotRect = value; }
    int32_t PlotWidth() const { return m_plotWidth; }
    int32_t PlotHeight() const { return m_plotHeight; }
    int32_t PlotCenterX() const { return m_plotCenterX; }
    int32_t PlotCenterY() const { return m_plotCenterY; }
    // 3D depth, pixels: horizontal (also the projection depth) and vertical.
    int32_t DepthExtent() const { return m_depthExtent; }
    void SetDepthExtent(int32_t value) { m_depthExtent = value; }
    int32_t DepthRise() const { return m_depthRise; }
    void SetDepthRise(int32_t value) { m_depthRise = value; }
    // PlotRect's left and top at least PanelBounds'; an inverted or empty width or height
    // made positive; then the plot size and centre.
    void NormalizePlotRect();

    TChartCanvas3D& Canvas() const { return *m_canvas; }
    // The canvas the control paints on: its own surface unless the front end gave another.
    gfx::TCanvas& WindowCanvas() const { return *m_windowCanvas; }
    // The control's own surface, sized to the control by each paint.
    const gfx::TBitmap& Surface() const { return m_surface; }
    // The front end's canvas, or null to paint on the control's own surface again.
    void SetWindowCanvas(gfx::TCanvas* canvas);

    TZoomPanningRecord& ZoomState() { return m_zoomState; }
    TZoomPanningRecord& PanState() { return m_panState; }

    // Brush colour and style; hatch gaps show the back colour. A hatch in the back colour
    // becomes black, or white on black.
    void ApplyBrush(gfx::TColor color, gfx::TBrushStyle style, gfx::TColor backColor);
    // Whether drawing may clip: never when the canvas renders the whole scene; on screen
    // always; while printing or metafiling as the global switches say.
    bool ClippingAllowed() const;
    // Widest of the text's lines (separated by LineBreakChar) in the canvas font, pixels.
    int32_t WidestLineWidth(const std::string& text, int32_t& lineCount);
    // The zoom rectangle in not-xor: drawing it twice erases it.
    void XorZoomFrame();
    // While printing, a styled one-pixel pen draws the thinnest line.
    void AdjustPenForPrinter(gfx::TPen& pen) const;

    // Window messages.
    // True: the background was handled (left alone) unless EraseBackground is set.
    bool HandleEraseBackground() const { return !EraseBackground; }
    uint32_t DialogCode(uint32_t code) const { return code | kDlgcWantArrows; }
    // Restores the saved cursor and ends a panning drag.
    virtual void MouseLeave();
    // The window was re-created: the canvas forgets its 3D options until the next paint.
    void WindowRecreated();
    int16_t Cursor() const { return m_cursor; }
    void SetCursor(int16_t value) { m_cursor = value; }
    int16_t SavedCursor() const { return m_savedCursor; }
    void SetSavedCursor(int16_t value) { m_savedCursor = value; }
    void Loaded() override;

    // From another chart panel: buffering, print settings, margins, Monochrome, View3D,
    // the 3D options' values, Chart3DPercent and Color.
    void Assign(const classes::TPersistent& source) override;

  protected:
    // A change of the control's own colour, bevels or size, or a repaint request, makes the
    // next paint draw afresh instead of copying the buffer.
    void Changed(forms::TControlChange change) override;

  private:
    // Stores a changed value and repaints.
    void StoreAndRepaint(int32_t& field, int32_t value);

    int32_t m_chart3DPercent = 15;
    bool m_depthOrdering = true;
    gfx::TRect m_panelBounds;
    int32_t m_plotWidth = 0;
    int32_t m_plotHeight = 0;
    int32_t m_plotCenterX = 0;
    int32_t m_plotCenterY = 0;
    gfx::TBitmap m_surface;        // the control's own window canvas
    gfx::TCanvas* m_windowCanvas;  // not owned
    int32_t m_depthRise = 0;
    int32_t m_marginLeft = 3;
    int32_t m_marginTop = 4;
    int32_t m_marginRight = 3;
    int32_t m_marginBottom = 4;
    int32_t m_borderWidth = 0;
    int16_t m_cursor = 0;
    int16_t m_savedCursor = 0;
    TZoomPanningRecord m_panState;
    bool m_printingInProgress = false;
    bool m_printProportional = true;
    int32_t m_printSetting = 0;
    bool m_view3D = true;
    std::unique_ptr<TView3DOptions> m_view3DOptions;
    int32_t m_depthExtent = 0;
    TZoomPanningRecord m_zoomState;
    std::unique_ptr<TChartCanvas3D> m_canvas;
    bool m_repaintOnChange = false;
    bool m_suppressMouse = false;
    gfx::TRect m_plotRect;
    gfx::TRect m_printMargins{15, 15, 15, 15};
};

}  // namespace chart
