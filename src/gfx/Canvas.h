// The device canvas: a software rasteriser with the classic pixel rules drawing on a TBitmap.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "gfx/Brush.h"
#include "gfx/Colors.h"
#include "gfx/Font.h"
#include "gfx/Geometry.h"
#include "gfx/GraphicsObject.h"
#include "gfx/Pen.h"
#include "gfx/Region.h"

namespace gfx {

class TBitmap;
namespace detail {
struct TSurface;
struct TInk;
class TMask;
}  // namespace detail

// Whether text cells and the gaps of styled pens and hatches are painted (opaque) or left.
enum class TBackMode : uint8_t { bmTransparent = 1, bmOpaque = 2 };

// Text alignment flags, combined by addition: one horizontal and one vertical value.
constexpr uint32_t kTaLeft = 0;
constexpr uint32_t kTaRight = 2;
constexpr uint32_t kTaCenter = 6;
constexpr uint32_t kTaTop = 0;
constexpr uint32_t kTaBottom = 8;
constexpr uint32_t kTaBaseline = 24;

// What a pixel read returns outside the bitmap.
constexpr TColorRef kInvalidColor = 0xFFFFFFFF;

// One pie of a batch: the box and the points its rays run towards, as Pie takes them
// (logical coordinates), and the brush it fills with.
struct TPieWedge {
    TRect Box;
    TPoint Start;
    TPoint End;
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
};

// One column of pixels in one colour: column X, rows [Top, Bottom).
struct TColumnRun {
    int32_t X = 0;
    int32_t Top = 0;
    int32_t Bottom = 0;
    TColor Color = 0;
};

// One row of pixels in one colour: row Y, columns [Left, Right).
struct TRowRun {
    int32_t Y = 0;
    int32_t Left = 0;
    int32_t Right = 0;
    TColor Color = 0;
};

// Draws on its bitmap. Coordinates are logical: device = logical - WindowOrg + ViewportOrg.
// Lines use the current pen (the last pixel of a line is not drawn), shapes outline with the
// pen and fill with the brush, rectangles and regions exclude their right and bottom edges.
// The pen mode applies to lines and to the brush fill of shapes, not to FillRect.
class TCanvas {
  public:
    explicit TCanvas(TBitmap& bitmap);
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TBitmap& Bitmap() const { return m_bitmap; }
    TPen& Pen() { return m_pen; }
    TBrush& Brush() { return m_brush; }
    TFont& Font() { return m_font; }
    const TPen& Pen() const { return m_pen; }
    const TBrush& Brush() const { return m_brush; }
    const TFont& Font() const { return m_font; }
    // Text is measured and drawn this many percent of its font's height (a display size above
    // 100 % draws the same design larger and sharp).
    int32_t TextScale() const { return m_textScale; }
    void SetTextScale(int32_t percent) { m_textScale = percent; }

    // Device state.
    TPoint PenPos() const { return m_penPos; }
    void SetPenPos(TPoint value) { m_penPos = value; }
    TColor BackColor() const { return m_backColor; }
    void SetBackColor(TColor value) { m_backColor = value; }
    TBackMode BackMode() const { return m_backMode; }
    void SetBackMode(TBackMode value) { m_backMode = value; }
    uint32_t TextAlign() const { return m_textAlign; }
    void SetTextAlign(uint32_t flags) { m_textAlign = flags; }
    TFillMode PolyFillMode() const { return m_polyFillMode; }
    void SetPolyFillMode(TFillMode value) { m_polyFillMode = value; }
    TPoint WindowOrg() const { return m_windowOrg; }
    void SetWindowOrg(TPoint value) { m_windowOrg = value; }
    TPoint ViewportOrg() const { return m_viewportOrg; }
    void SetViewportOrg(TPoint value) { m_viewportOrg = value; }
    TPoint LogicalToDevice(TPoint point) const;

    // Events fired before and after every drawing operation; the bitmap owning the canvas
    // installs OnChange to report its own change.
    void SetOnChanging(TChangeEvent handler) { m_onChanging = std::move(handler); }
    void SetOnChange(TChangeEvent handler) { m_onChange = std::move(handler); }

    // Lines.
    void MoveTo(int32_t x, int32_t y);
    // From the current position to (x, y), which becomes the current position.
    void LineTo(int32_t x, int32_t y);
    // Each segment by the LineTo rule; the current position is neither used nor moved.
    void Polyline(std::span<const TPoint> points);

    // Shapes.
    void Polygon(std::span<const TPoint> points);
    // The brush fill of each polygon as Polygon fills it, in turn, and no outline: counts[i]
    // points of the list make polygon i. For many small polygons of one brush.
    void FillPolygons(std::span<const TPoint> points, std::span<const int32_t> counts);
    void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom);
    void Rectangle(const TRect& rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    // Rectangle for each in turn, with the same pixels; much faster for many small ones.
    void Rectangles(std::span<const TRect> rects);
    void RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t cornerWidth,
                   int32_t cornerHeight);
    void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom);
    void Ellipse(const TRect& rect) { Ellipse(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    // The part of the ellipse in the box from the ray through (x3, y3) counter-clockwise to
    // the ray through (x4, y4); rays start at the box centre.
    void Arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4,
             int32_t y4);
    // The arc closed through the centre and filled.
    void Pie(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4,
             int32_t y4);
    // Pies in order, each as Pie draws it with the current pen and a brush of the wedge's
    // colour and style, which the brush keeps afterwards; the pixels are Pie's. A solid
    // one-pixel or clear pen in copy mode fills every wedge's rows straight from its rays.
    void Pies(std::span<const TPieWedge> wedges);
    // Brush only, no pen, no pen mode.
    void FillRect(const TRect& rect);
    // A one-pixel frame in the brush.
    void FrameRect(const TRect& rect);
    // Sets each run's pixels to its colour (copy, no pen, no brush): column X, rows
    // [Top, Bottom), logical coordinates, within the clip. For drawings already reduced to the
    // pixels they leave, many shapes on few columns.
    void FillColumns(std::span<const TColumnRun> runs);
    // The same for rows: row Y, columns [Left, Right).
    void FillRows(std::span<const TRowRun> runs);

    // Pixels.
    TColorRef Pixel(int32_t x, int32_t y) const;
    // Writes the pixel (inside the clip) and returns the colour set, kInvalidColor if outside.
    TColorRef SetPixel(int32_t x, int32_t y, TColor color);

    // Text in the font, under the text alignment and background mode; the font's
    // Orientation turns it counter-clockwise about (x, y).
    void TextOut(int32_t x, int32_t y, const std::string& text);
    // Width: the sum of the glyph advances; height: ascent plus descent. Pixels.
    TSize TextExtent(const std::string& text);
    int32_t TextWidth(const std::string& text) { return TextExtent(text).Width; }
    int32_t TextHeight(const std::string& text) { return TextExtent(text).Height; }

    // Clipping; the corners are converted from logical to device coordinates.
    void SetClipRect(const TRect& rect);
    void SetClipPolygon(std::span<const TPoint> points);
    void ClearClip();
    bool HasClip() const { return m_hasClip; }
    // The clip in device pixels, limited to the bitmap.
    const TRegion& DeviceClip() const;

    // Block copy: the source rectangle (the source's logical coordinates) to the destination
    // rectangle, stretched by nearest pixel when the sizes differ. Overlapping copies within
    // one bitmap work.
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect);
    void Draw(int32_t x, int32_t y, const TBitmap& bitmap);
    void StretchDraw(const TRect& dest, const TBitmap& bitmap);

  private:
    enum class TShape : uint8_t { shClosed, shArc, shPie };
    struct TSector;

    detail::TSurface Surface() const;
    TColorRef DeviceColor(TColor color) const;
    detail::TInk PenInk() const;
    detail::TInk BrushInk(TPenMode mode) const;
    int32_t PenWidth() const;
    bool PenVisible() const { return m_pen.Style() != TPenStyle::psClear; }
    bool BrushVisible() const { return m_brush.Style() != TBrushStyle::bsClear; }
    void Changing();
    void Changed();

    void ThinPath(std::span<const TPoint> device, bool closed);
    void WidePath(std::span<const TPoint> device, bool closed);
    // Lines and outlines in device coordinates: a dense polyline of a solid pen in copy mode
    // column by column, otherwise thin or wide; the pixels are the same either way.
    void StrokePath(std::span<const TPoint> device, bool closed);
    // A wide segment's body and a round dot added to a mask (for outlines painted once).
    void AddWideSegment(detail::TMask& mask, TPoint a, TPoint b, int32_t width) const;
    void AddRoundDot(detail::TMask& mask, TPoint at, int32_t width) const;
    // An arc or pie of the ellipse in the box (x1, y1)-(x2, y2) between the radial ends towards
    // (x3, y3) and (x4, y4), logical coordinates.
    void DrawSector(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                    int32_t x4, int32_t y4, TShape shape);
    // The shape in the device box: a rounded rectangle with the given corner size (the whole
    // box for an ellipse), or the arc or pie of the sector.
    void DrawRounded(TRect64 box, int64_t cornerW, int64_t cornerH, TShape shape,
                     const TSector* sector);
    void PaintPixelsInOrder(std::span<const TPoint> pixels);
    void DrawText(int32_t x, int32_t y, const std::string& text);

    TBitmap& m_bitmap;
    TPen m_pen;
    TBrush m_brush;
    TFont m_font;
    int32_t m_textScale = 100;  // percent
    TPoint m_penPos;
    TColor m_backColor = clWhite;
    TBackMode m_backMode = TBackMode::bmOpaque;
    uint32_t m_textAlign = kTaLeft | kTaTop;
    TFillMode m_polyFillMode = TFillMode::fmAlternate;
    TPoint m_windowOrg;
    TPoint m_viewportOrg;
    bool m_hasClip = false;
    TRegion m_clip;                // device pixels, as set
    mutable TRegion m_deviceClip;  // m_clip (or the whole bitmap) limited to the bitmap
    mutable TSize m_deviceClipFor{-1, -1};
    mutable bool m_deviceClipValid = false;
    TChangeEvent m_onChanging;
    TChangeEvent m_onChange;
};

}  // namespace gfx
