// The chart's drawing interface: the 2D operations (TChartCanvas) and the projection, buffering
// and operations at depth (TCanvas3D), as a fixed table of virtual operations.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "gfx/Canvas.h"
#include "gfx/Picture.h"

namespace chart {

class TView3DOptions;

// How a gradient runs; which colour lands where is decided by the caller.
enum class TGradientDirection : uint8_t {
    gdTopBottom,
    gdBottomTop,
    gdLeftRight,
    gdRightLeft,
    gdFromCenter,
    gdFromTopLeft,
    gdFromBottomLeft,
};

// A point in world coordinates: pixels, y growing downwards, z the depth away from the viewer.
struct TPoint3D {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Z = 0;
};

// The 2D operations. It draws on a device canvas it borrows; Font(), Pen() and Brush() are
// that canvas' own objects and follow it when another device canvas is attached.
class TChartCanvas {
  public:
    explicit TChartCanvas(gfx::TCanvas& device);
    TChartCanvas(const TChartCanvas&) = delete;
    TChartCanvas& operator=(const TChartCanvas&) = delete;
    virtual ~TChartCanvas() = default;

    // The device canvas that receives the drawing.
    gfx::TCanvas& ReferenceCanvas() const { return *m_device; }
    gfx::TFont& Font() const { return *m_font; }
    gfx::TPen& Pen() const { return *m_pen; }
    gfx::TBrush& Brush() const { return *m_brush; }
    // Set by callers that draw into a metafile.
    bool Metafiling() const { return m_metafiling; }
    void SetMetafiling(bool value) { m_metafiling = value; }

    // Makes the device canvas the target and takes its font, pen and brush.
    void AttachCanvas(gfx::TCanvas& device);

    virtual gfx::TColor ReadBackColor() const = 0;
    virtual gfx::TBackMode ReadBackMode() const = 0;
    virtual gfx::TCanvas* DeviceContext() const = 0;
    virtual bool ReadMonochrome() const = 0;
    virtual uint32_t ReadTextAlign() const = 0;
    virtual bool ReadBuffered() const = 0;
    virtual void WriteBackColor(gfx::TColor color) = 0;
    virtual void WriteBackMode(gfx::TBackMode mode) = 0;
    virtual void WriteMonochrome(bool value) = 0;
    virtual void PutPixel(int32_t x, int32_t y, gfx::TColor color) = 0;
    // gfx::kTaLeft/kTaRight/kTaCenter plus gfx::kTaTop/kTaBottom/kTaBaseline.
    virtual void WriteTextAlign(uint32_t flags) = 0;
    virtual void WriteBuffered(bool value) = 0;
    // Bounding box, start point, end point; counter-clockwise.
    virtual void ArcOutline(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                            int32_t x4, int32_t y4) = 0;
    // The picture unscaled with its top-left corner at (x, y); nothing for none or an empty one.
    virtual void BlitPicture(int32_t x, int32_t y, const gfx::TPicture* picture) = 0;
    virtual void EllipseShape(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
    virtual void FillArea(const gfx::TRect& rect) = 0;
    // A 3D frame, width pixels thick: top colour left and top, bottom colour right and bottom.
    virtual void BevelFrame(const gfx::TRect& rect, gfx::TColor topColor, int32_t width,
                            gfx::TColor bottomColor) = 0;
    virtual void PenLineTo(int32_t x, int32_t y) = 0;
    virtual void PenMoveTo(int32_t x, int32_t y) = 0;
    virtual void PieShape(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                          int32_t x4, int32_t y4) = 0;
    virtual void RectShape(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
    virtual void RoundRectShape(int32_t left, int32_t top, int32_t right, int32_t bottom,
                                int32_t cornerWidth, int32_t cornerHeight) = 0;
    virtual void StretchPicture(const gfx::TRect& rect, const gfx::TPicture* picture) = 0;
    virtual void PutText(int32_t x, int32_t y, const std::string& text) = 0;
    // Pixels in the canvas font; 0 when the device cannot measure.
    virtual int32_t TextWidthOf(const std::string& text);
    virtual int32_t TextHeightOf(const std::string& text);
    // Clips later drawing to the rectangle (logical coordinates, converted to device ones).
    virtual void ClipToRect(const gfx::TRect& rect) = 0;
    virtual void HorzSegment(int32_t x0, int32_t x1, int32_t y) = 0;
    virtual void RectFromBounds(const gfx::TRect& rect) = 0;
    virtual void VertSegment(int32_t x, int32_t y0, int32_t y1) = 0;
    virtual void EraseArea(const gfx::TRect& rect) = 0;
    virtual void PaintGradient(const gfx::TRect& rect, gfx::TColor firstColor,
                               gfx::TColor secondColor, TGradientDirection direction) = 0;
    virtual void MarkBufferStale() = 0;
    virtual void Segment(int32_t x0, int32_t y0, int32_t x1, int32_t y1) = 0;
    // The polygon over points 0 .. highestIndex (never past the end of points).
    virtual void PolygonShape(std::span<const gfx::TPoint> points, int32_t highestIndex) = 0;
    // Degrees, counter-clockwise.
    virtual void PutRotatedText(int32_t x, int32_t y, int32_t angle, const std::string& text) = 0;
    virtual void ClearClip() = 0;

  private:
    gfx::TCanvas* m_device;
    gfx::TFont* m_font;
    gfx::TPen* m_pen;
    gfx::TBrush* m_brush;
    bool m_metafiling = false;
};

// The projection, buffered drawing and the operations at depth z (pixels into the screen).
class TCanvas3D : public TChartCanvas {
  public:
    using TChartCanvas::TChartCanvas;

    // The options of the paint under way; null outside a paint.
    TView3DOptions* View3DOptions() const { return m_view3DOptions; }
    void SetView3DOptions(TView3DOptions* options) { m_view3DOptions = options; }
    bool IsOrthogonal() const { return m_orthogonal; }

    virtual void PutPixelAtDepth(int32_t x, int32_t y, int32_t z, gfx::TColor color) = 0;
    virtual bool RendersWholeScene() const = 0;
    virtual bool DrawsTextAtDepth() const = 0;
    virtual void ScreenToWorld(int32_t& x, int32_t& y, int32_t z) const = 0;
    virtual gfx::TPoint ProjectToPoint(int32_t x, int32_t y, int32_t z) const = 0;
    virtual gfx::TRect PrepareDrawing(gfx::TCanvas* target, TView3DOptions* options,
                                      gfx::TColor backColor, bool is3D, const gfx::TRect& rect) = 0;
    virtual void CopyCanvasSettings(const TCanvas3D& other);
    virtual void SetupProjection(int32_t depth, const gfx::TRect& bounds,
                                 const gfx::TRect& plotRect) = 0;
    virtual void PresentBuffer(gfx::TCanvas* target, gfx::TCanvas& windowCanvas,
                               const gfx::TRect& rect) = 0;
    virtual bool RepaintFromBuffer() = 0;
    virtual void ArrowShape(bool filled, gfx::TPoint from, gfx::TPoint to, int32_t headWidth,
                            int32_t headHeight, int32_t z) = 0;
    virtual void ClipToBox(const gfx::TRect& rect, int32_t z0, int32_t z1) = 0;
    virtual void ConeShape(bool vertical, int32_t left, int32_t top, int32_t right, int32_t bottom,
                           int32_t z0, int32_t z1, bool darkSides) = 0;
    virtual void BoxShape(int32_t left, int32_t right, int32_t top, int32_t bottom, int32_t z0,
                          int32_t z1, bool darkSides) = 0;
    virtual void CylinderShape(bool vertical, int32_t left, int32_t top, int32_t right,
                               int32_t bottom, int32_t z0, int32_t z1, bool darkSides) = 0;
    virtual void HorzSegmentAtDepth(int32_t x0, int32_t x1, int32_t y, int32_t z) = 0;
    virtual void VertSegmentAtDepth(int32_t x, int32_t y0, int32_t y1, int32_t z) = 0;
    virtual void DepthSegment(int32_t x, int32_t y, int32_t z0, int32_t z1) = 0;
    virtual void EllipseAtDepth(int32_t left, int32_t top, int32_t right, int32_t bottom,
                                int32_t z) = 0;
    virtual void EnterFlatMode() = 0;
    virtual void LeaveFlatMode() = 0;
    virtual void SegmentAtDepth(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t z) = 0;
    virtual void PenMoveToAtDepth(int32_t x, int32_t y, int32_t z) = 0;
    virtual void PenLineToAtDepth(int32_t x, int32_t y, int32_t z) = 0;
    // Angles in radians, counter-clockwise from 3 o'clock; the slice lies in the screen plane
    // between depths z0 (front) and z1 (back).
    virtual void DepthPieShape(gfx::TPoint centre, int32_t xRadius, int32_t yRadius,
                               double startAngle, double endAngle, int32_t z0, int32_t z1,
                               bool darkSides) = 0;
    virtual void DepthQuad(gfx::TPoint a, gfx::TPoint b, int32_t z0, int32_t z1) = 0;
    virtual void QuadAtDepth(const std::array<gfx::TPoint, 4>& points, int32_t z) = 0;
    // Projects the points in place: 0 and 1 at z0, 2 and 3 at z1.
    virtual void QuadAcrossDepths(std::array<gfx::TPoint, 4>& points, int32_t z0, int32_t z1) = 0;
    virtual void PolygonAtDepth(std::span<const gfx::TPoint> points, int32_t highestIndex,
                                int32_t z) = 0;
    virtual void PyramidShape(bool vertical, int32_t left, int32_t top, int32_t right,
                              int32_t bottom, int32_t z0, int32_t z1, bool darkSides) = 0;
    virtual void RectAtDepth(const gfx::TRect& rect, int32_t z) = 0;
    virtual void HorzRectAcrossDepth(int32_t x0, int32_t y, int32_t x1, int32_t z0, int32_t z1) = 0;
    virtual void VertRectAcrossDepth(int32_t x, int32_t y0, int32_t y1, int32_t z0, int32_t z1) = 0;
    virtual void PutRotatedTextAtDepth(int32_t x, int32_t y, int32_t z, int32_t angle,
                                       const std::string& text) = 0;
    virtual void SphereShape(int32_t x, int32_t y, double radius, int32_t z) = 0;
    virtual void DepthPlaceholder(gfx::TPoint point, int32_t a, int32_t b) = 0;
    virtual void PutTextAtDepth(int32_t x, int32_t y, int32_t z, const std::string& text) = 0;
    virtual void TriangleOf3DPoints(TPoint3D a, TPoint3D b, TPoint3D c, gfx::TColor color) = 0;
    virtual void TriangleAtDepth(gfx::TPoint a, gfx::TPoint b, gfx::TPoint c, int32_t z) = 0;

  protected:
    void SetOrthogonalFlag(bool value) { m_orthogonal = value; }

  private:
    TView3DOptions* m_view3DOptions = nullptr;  // not owned
    bool m_orthogonal = false;
};

}  // namespace chart
