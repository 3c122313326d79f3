// The concrete chart canvas: flat, oblique and rotated projections, buffered drawing into an
// off-screen bitmap, and every drawing operation on the gfx device canvas.
#pragma once

#include <memory>
#include <span>

#include "chart/canvas/ChartCanvas.h"
#include "gfx/Bitmap.h"

namespace chart {

class TChartPen;

// Step of the centre gradient's rings, pixels.
inline int32_t GradientStepWidth = 2;

// A paint runs PrepareDrawing, then SetupProjection (once the plot rectangle and depth are
// known), the drawing, then PresentBuffer. With buffering (the default) everything is drawn
// into the buffer bitmap with (0, 0) at its top-left corner and copied to the target in one
// block; between paints the canvas draws on the window canvas directly.
class TChartCanvas3D : public TCanvas3D {
  public:
    // The canvas first draws on the given window canvas.
    explicit TChartCanvas3D(gfx::TCanvas& windowCanvas);
    ~TChartCanvas3D() override;

    // The buffer bitmap of the last buffered paint; null before one or after discarding it.
    const gfx::TBitmap* Buffer() const { return m_buffer.get(); }
    bool BufferStale() const { return m_bufferStale; }
    // The rectangle handed to the last PrepareDrawing.
    const gfx::TRect& Bounds() const { return m_bounds; }
    bool Is3D() const { return m_is3D; }
    bool ZoomText() const { return m_zoomText; }
    double ZoomFactor() const { return m_zoomFactor; }
    double PerspectiveFactor() const { return m_perspectiveFactor; }
    // Projection centre in world coordinates and where it lands on the screen.
    int32_t CentreX() const { return m_centreX; }
    int32_t CentreY() const { return m_centreY; }
    int32_t CentreZ() const { return m_centreZ; }
    int32_t OffsetCentreX() const { return m_offsetCentreX; }
    int32_t OffsetCentreY() const { return m_offsetCentreY; }

    // Pen black, width 1, solid; brush white, solid; font black, 10 points; background white,
    // transparent.
    void ResetDrawingState();
    // The device pen takes the chart pen: clear when invisible, alternate pixels for one-pixel
    // small dots, otherwise its colour, mode, style and width.
    void ApplyChartPen(const TChartPen& pen);
    // The device polyline through the points, flat, each segment by the line rule (the last
    // point is not drawn); the current position is neither used nor moved. A solid pen draws a
    // polyline that never turns back and has more points than columns one column at a time.
    void Polyline(std::span<const gfx::TPoint> points);
    // Height of "W" in the canvas font.
    int32_t TextLineHeight();
    // Maps (x, y) at depth z to the screen in place.
    void ProjectPoint(int32_t& x, int32_t& y, int32_t z) const;
    // Rotation and perspective terms from the options' angles; nothing in the oblique mode.
    void ComputeRotationCoefficients();

    // 2D operations.
    gfx::TColor ReadBackColor() const override;
    gfx::TBackMode ReadBackMode() const override;
    gfx::TCanvas* DeviceContext() const override;
    bool ReadMonochrome() const override;
    uint32_t ReadTextAlign() const override;
    bool ReadBuffered() const override;
    void WriteBackColor(gfx::TColor color) override;
    void WriteBackMode(gfx::TBackMode mode) override;
    void WriteMonochrome(bool value) override;
    void PutPixel(int32_t x, int32_t y, gfx::TColor color) override;
    void WriteTextAlign(uint32_t flags) override;
    void WriteBuffered(bool value) override;
    void ArcOutline(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                    int32_t x4, int32_t y4) override;
    void BlitPicture(int32_t x, int32_t y, const gfx::TPicture* picture) override;
    void EllipseShape(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void FillArea(const gfx::TRect& rect) override;
    void BevelFrame(const gfx::TRect& rect, gfx::TColor topColor, int32_t width,
                    gfx::TColor bottomColor) override;
    void PenLineTo(int32_t x, int32_t y) override;
    void PenMoveTo(int32_t x, int32_t y) override;
    void PieShape(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                  int32_t x4, int32_t y4) override;
    void RectShape(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void RoundRectShape(int32_t left, int32_t top, int32_t right, int32_t bottom,
                        int32_t cornerWidth, int32_t cornerHeight) override;
    void StretchPicture(const gfx::TRect& rect, const gfx::TPicture* picture) override;
    void PutText(int32_t x, int32_t y, const std::string& text) override;
    void ClipToRect(const gfx::TRect& rect) override;
    void HorzSegment(int32_t x0, int32_t x1, int32_t y) override;
    void RectFromBounds(const gfx::TRect& rect) override;
    void VertSegment(int32_t x, int32_t y0, int32_t y1) override;
    void EraseArea(const gfx::TRect& rect) override;
    void PaintGradient(const gfx::TRect& rect, gfx::TColor firstColor, gfx::TColor secondColor,
                       TGradientDirection direction) override;
    void MarkBufferStale() override;
    void Segment(int32_t x0, int32_t y0, int32_t x1, int32_t y1) override;
    void PolygonShape(std::span<const gfx::TPoint> points, int32_t highestIndex) override;
    void PutRotatedText(int32_t x, int32_t y, int32_t angle, const std::string& text) override;
    void ClearClip() override;

    // Projection, buffering and operations at depth.
    void PutPixelAtDepth(int32_t x, int32_t y, int32_t z, gfx::TColor color) override;
    bool RendersWholeScene() const override;
    bool DrawsTextAtDepth() const override;
    void ScreenToWorld(int32_t& x, int32_t& y, int32_t z) const override;
    gfx::TPoint ProjectToPoint(int32_t x, int32_t y, int32_t z) const override;
    gfx::TRect PrepareDrawing(gfx::TCanvas* target, TView3DOptions* options, gfx::TColor backColor,
                              bool is3D, const gfx::TRect& rect) override;
    void SetupProjection(int32_t depth, const gfx::TRect& bounds,
                         const gfx::TRect& plotRect) override;
    void PresentBuffer(gfx::TCanvas* target, gfx::TCanvas& windowCanvas,
                       const gfx::TRect& rect) override;
    bool RepaintFromBuffer() override;
    void ArrowShape(bool filled, gfx::TPoint from, gfx::TPoint to, int32_t headWidth,
                    int32_t headHeight, int32_t z) override;
    void ClipToBox(const gfx::TRect& rect, int32_t z0, int32_t z1) override;
    void ConeShape(bool vertical, int32_t left, int32_t top, int32_t right, int32_t bottom,
                   int32_t z0, int32_t z1, bool darkSides) override;
    void BoxShape(int32_t left, int32_t right, int32_t top, int32_t bottom, int32_t z0, int32_t z1,
                  bool darkSides) override;
    void CylinderShape(bool vertical, int32_t left, int32_t top, int32_t right, int32_t bottom,
                       int32_t z0, int32_t z1, bool darkSides) override;
    void HorzSegmentAtDepth(int32_t x0, int32_t x1, int32_t y, int32_t z) override;
    void VertSegmentAtDepth(int32_t x, int32_t y0, int32_t y1, int32_t z) override;
    void DepthSegment(int32_t x, int32_t y, int32_t z0, int32_t z1) override;
    void EllipseAtDepth(int32_t left, int32_t top, int32_t right, int32_t bottom,
                        int32_t z) override;
    void EnterFlatMode() override;
    void LeaveFlatMode() override;
    void SegmentAtDepth(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t z) override;
    void PenMoveToAtDepth(int32_t x, int32_t y, int32_t z) override;
    void PenLineToAtDepth(int32_t x, int32_t y, int32_t z) override;
    void DepthPieShape(gfx::TPoint centre, int32_t xRadius, int32_t yRadius, double startAngle,
                       double endAngle, int32_t z0, int32_t z1, bool darkSides) override;
    void DepthQuad(gfx::TPoint a, gfx::TPoint b, int32_t z0, int32_t z1) override;
    void QuadAtDepth(const std::array<gfx::TPoint, 4>& points, int32_t z) override;
    void QuadAcrossDepths(std::array<gfx::TPoint, 4>& points, int32_t z0, int32_t z1) override;
    void PolygonAtDepth(std::span<const gfx::TPoint> points, int32_t highestIndex,
                        int32_t z) override;
    void PyramidShape(bool vertical, int32_t left, int32_t top, int32_t right, int32_t bottom,
                      int32_t z0, int32_t z1, bool darkSides) override;
    void RectAtDepth(const gfx::TRect& rect, int32_t z) override;
    void HorzRectAcrossDepth(int32_t x0, int32_t y, int32_t x1, int32_t z0, int32_t z1) override;
    void VertRectAcrossDepth(int32_t x, int32_t y0, int32_t y1, int32_t z0, int32_t z1) override;
    void PutRotatedTextAtDepth(int32_t x, int32_t y, int32_t z, int32_t angle,
                               const std::string& text) override;
    void SphereShape(int32_t x, int32_t y, double radius, int32_t z) override;
    void DepthPlaceholder(gfx::TPoint point, int32_t a, int32_t b) override;
    void PutTextAtDepth(int32_t x, int32_t y, int32_t z, const std::string& text) override;
    void TriangleOf3DPoints(TPoint3D a, TPoint3D b, TPoint3D c, gfx::TColor color) override;
    void TriangleAtDepth(gfx::TPoint a, gfx::TPoint b, gfx::TPoint c, int32_t z) override;

  private:
    // A face of a solid: its corners in world coordinates, turned so that the front face
    // (facing the viewer) runs the same way as every other outward face; and the amount its
    // colour is darkened by.
    struct TFace;
    void DiscardBuffer();
    void Polygon(std::span<const gfx::TPoint> points);
    // Text with a clear brush has no box behind it, whatever background mode a hatched fill
    // left on the device; with any other brush the device's mode decides.
    void TextOnDevice(int32_t x, int32_t y, const std::string& text);
    // Draws the faces of a convex solid that turn towards the viewer, in the current brush.
    void DrawSolid(std::span<const TFace> faces, bool darkSides);
    bool IsFlat() const { return !m_is3D && !IsOrthogonal(); }
    // Points per end polygon of a cylinder and per base of a cone.
    static constexpr int32_t kRoundSolidPoints = 16;

    gfx::TCanvas* m_windowCanvas;  // not owned; drawn on between paints
    int32_t m_centreX = 0;
    int32_t m_centreY = 0;
    int32_t m_centreZ = 0;
    int32_t m_offsetCentreX = 0;
    int32_t m_offsetCentreY = 0;
    long double m_sinElevation = 0;  // se
    long double m_p1 = 0;            // cos(elevation) * sin(rotation)
    double m_c1 = 0;
    double m_c2 = 0;
    double m_p2 = 0;
    double m_c3 = 0;
    double m_c4 = 0;
    double m_c5 = 0;
    double m_c6 = 0;
    bool m_saved3D = false;
    bool m_is3D = false;
    std::unique_ptr<gfx::TBitmap> m_buffer;
    bool m_buffered = true;
    bool m_monochrome = false;
    bool m_bufferStale = true;
    gfx::TRect m_bounds;
    bool m_zoomText = true;
    double m_zoomFactor = 1.0;         // Zoom * 0.01
    double m_perspectiveFactor = 0.0;  // Perspective / 35000
};

}  // namespace chart
