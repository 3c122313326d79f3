// The concrete chart canvas: device state, 2D operations, text, projection and buffering.
#include "chart/canvas/ChartCanvas3D.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "base/Arith.h"
#include "chart/canvas/ChartPen.h"
#include "chart/canvas/View3DOptions.h"
#include "chart/panel/ChartPanel.h"

namespace chart {

namespace {

// Nearest integer, halves to the even neighbour, limited to the 32-bit range.
int32_t Nearest(double value) {
    constexpr double kLow = std::numeric_limits<int32_t>::min();
    constexpr double kHigh = std::numeric_limits<int32_t>::max();
    if (!(value >= kLow)) {
        return std::numeric_limits<int32_t>::min();
    }
    if (value > kHigh) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(std::nearbyint(value));
}

constexpr double kDegreesToRadians = 3.14159265358979323846 / 180.0;
// Perspective is given in units of 1/35000.
constexpr double kPerspectiveScale = 35000.0;
// Floor of the c2 and c3 terms so that ScreenToWorld never divides by zero.
constexpr double kMinRotationTerm = 0.00001;
// Points per inch of font sizes.
constexpr int32_t kPointsPerInch = 72;
constexpr int32_t kFullTurnDegrees = 360;
constexpr int32_t kTenthsPerDegree = 10;
constexpr int32_t kResetFontSize = 10;

}  // namespace

TChartCanvas3D::TChartCanvas3D(gfx::TCanvas& windowCanvas)
    : TCanvas3D(windowCanvas), m_windowCanvas(&windowCanvas) {}

TChartCanvas3D::~TChartCanvas3D() = default;

void TChartCanvas3D::DiscardBuffer() {
    if (m_buffer != nullptr && &ReferenceCanvas() == &m_buffer->Canvas()) {
        // Never leave the canvas drawing on a freed bitmap.
        AttachCanvas(*m_windowCanvas);
    }
    m_buffer.reset();
}

void TChartCanvas3D::ResetDrawingState() {
    Pen().SetColor(gfx::clBlack);
    Pen().SetWidth(1);
    Pen().SetStyle(gfx::TPenStyle::psSolid);
    Brush().SetColor(gfx::clWhite);
    Brush().SetStyle(gfx::TBrushStyle::bsSolid);
    Font().SetColor(gfx::clBlack);
    Font().SetSize(kResetFontSize);
    WriteBackColor(gfx::clWhite);
    WriteBackMode(gfx::TBackMode::bmTransparent);
}

void TChartCanvas3D::ApplyChartPen(const TChartPen& pen) {
    if (!pen.Visible()) {
        Pen().SetStyle(gfx::TPenStyle::psClear);
        return;
    }
    if (pen.SmallDots() && pen.Width() == 1) {
        Pen().SetColor(gfx::ColorToRGB(pen.Color()));
        Pen().SetMode(pen.Mode());
        Pen().SetWidth(1);
        Pen().SetStyle(gfx::TPenStyle::psAlternate);
        return;
    }
    Pen().Assign(pen);
}

void TChartCanvas3D::Polyline(std::span<const gfx::TPoint> points) {
    ReferenceCanvas().Polyline(points);
}

int32_t TChartCanvas3D::TextLineHeight() {
    return TextHeightOf("W");
}

void TChartCanvas3D::ProjectPoint(int32_t& x, int32_t& y, int32_t z) const {
    if (IsOrthogonal()) {
        x = Nearest((static_cast<double>(x) - m_centreX + z) * m_zoomFactor) + m_offsetCentreX;
        y = Nearest((static_cast<double>(y) - m_centreY - z) * m_zoomFactor) + m_offsetCentreY;
    } else if (m_is3D) {
        const double dx = static_cast<double>(x) - m_centreX;
        const double dy = static_cast<double>(y) - m_centreY;
        const double dz = static_cast<double>(z) - m_centreZ;
        double k = m_zoomFactor;
        if (m_perspectiveFactor > 0) {
            k = m_zoomFactor *
                (1.0 - m_perspectiveFactor *
                           static_cast<double>(dx * m_p1 - dy * m_sinElevation + dz * m_p2));
        }
        x = Nearest((dx * m_c3 + dy * m_c1 + dz * m_c5) * k) + m_offsetCentreX;
        y = Nearest((dx * m_c4 + dy * m_c2 + dz * m_c6) * k) + m_offsetCentreY;
    }
}

gfx::TPoint TChartCanvas3D::ProjectToPoint(int32_t x, int32_t y, int32_t z) const {
    ProjectPoint(x, y, z);
    return {x, y};
}

void TChartCanvas3D::ComputeRotationCoefficients() {
    if (IsOrthogonal()) {
        return;
    }
    long double rotation = 0;
    long double elevation = 0;
    long double tilt = 0;
    if (const TView3DOptions* options = View3DOptions()) {
        rotation = options->Rotation();
        elevation = options->Elevation();
        tilt = options->Tilt();
    }
    m_perspectiveFactor = 0;
    const long double sr = std::sin(rotation * kDegreesToRadians);
    const long double cr = std::cos(rotation * kDegreesToRadians);
    const long double se = std::sin(elevation * kDegreesToRadians);
    const long double ce = std::cos(elevation * kDegreesToRadians);
    const long double st = std::sin(tilt * kDegreesToRadians);
    const long double ct = std::cos(tilt * kDegreesToRadians);
    m_c1 = static_cast<double>(ce * st);
    m_c2 = std::max(static_cast<double>(ce * ct), kMinRotationTerm);
    m_c3 = std::max(static_cast<double>(sr * se * st + cr * ct), kMinRotationTerm);
    m_c4 = static_cast<double>(ct * sr * se - cr * st);
    m_c5 = static_cast<double>(cr * se * st - ct * sr);
    m_c6 = static_cast<double>(cr * ct * se + sr * st);
    m_sinElevation = se;
    m_p1 = ce * sr;
    m_p2 = static_cast<double>(cr * ce);
}

void TChartCanvas3D::ScreenToWorld(int32_t& x, int32_t& y, int32_t z) const {
    if (m_zoomFactor == 0) {
        return;
    }
    const double inv = 1.0 / m_zoomFactor;
    if (IsOrthogonal()) {
        x = Nearest((static_cast<double>(x) - m_offsetCentreX) * inv) - z + m_centreX;
        y = Nearest((static_cast<double>(y) - m_offsetCentreY) * inv) + z + m_centreY;
    } else if (m_is3D && m_c3 != 0 && m_c2 != 0) {
        const double x0 = x;
        const double y0 = y;
        const double dz = static_cast<double>(z) - m_centreZ;
        x = Nearest(((x0 - m_offsetCentreX) * inv - dz * m_c5 - (y0 - m_centreY) * m_c1) / m_c3) +
            m_centreX;
        y = Nearest(((y0 - m_offsetCentreY) * inv - dz * m_c6 - (x0 - m_centreX) * m_c4) / m_c2) +
            m_centreY;
    }
}

gfx::TRect TChartCanvas3D::PrepareDrawing(gfx::TCanvas* target, TView3DOptions* options,
                                          gfx::TColor /*backColor*/, bool is3D,
                                          const gfx::TRect& rect) {
    m_bounds = rect;
    SetView3DOptions(options);
    m_is3D = is3D;
    SetOrthogonalFlag(false);
    m_zoomFactor = 1.0;
    if (m_is3D) {
        if (options != nullptr) {
            SetOrthogonalFlag(options->Orthogonal());
            m_zoomFactor = options->Zoom() * 0.01;
            m_zoomText = options->ZoomText();
        }
        ComputeRotationCoefficients();
    }
    if (!m_buffered) {
        AttachCanvas(target != nullptr ? *target : ReferenceCanvas());
        return rect;
    }
    const int32_t width = std::max(rect.Width(), 0);
    const int32_t height = std::max(rect.Height(), 0);
    if (m_buffer != nullptr && (m_buffer->Width() != width || m_buffer->Height() != height)) {
        DiscardBuffer();
    }
    if (m_buffer == nullptr) {
        auto buffer = std::make_unique<gfx::TBitmap>();
        buffer->SetMonochrome(m_monochrome);
        buffer->SetSize(width, height);
        m_buffer = std::move(buffer);
    }
    // Drawing into the buffer notifies nobody; a clip left by an interrupted paint goes.
    m_buffer->Canvas().SetOnChanging(nullptr);
    m_buffer->Canvas().SetOnChange(nullptr);
    m_buffer->Canvas().ClearClip();
    // The buffer's text is as large as the target's (the display size).
    if (target != nullptr) {
        m_buffer->Canvas().SetTextScale(target->TextScale());
    }
    AttachCanvas(m_buffer->Canvas());
    return gfx::TRect(0, 0, width, height);
}

void TChartCanvas3D::SetupProjection(int32_t depth, const gfx::TRect& /*bounds*/,
                                     const gfx::TRect& plotRect) {
    m_centreX = (plotRect.Left + plotRect.Right) / 2;
    m_centreY = (plotRect.Top + plotRect.Bottom) / 2;
    m_centreZ = depth / 2;
    m_offsetCentreX = m_centreX;
    m_offsetCentreY = m_centreY;
    if (const TView3DOptions* options = View3DOptions()) {
        m_offsetCentreX += options->HorizOffset();
        m_offsetCentreY += options->VertOffset();
        if (options->Perspective() > 0) {
            m_perspectiveFactor = options->Perspective() / kPerspectiveScale;
        }
    }
}

void TChartCanvas3D::PresentBuffer(gfx::TCanvas* target, gfx::TCanvas& windowCanvas,
                                   const gfx::TRect& rect) {
    if (m_buffered && m_buffer != nullptr) {
        if (target != nullptr) {
            target->Draw(rect.Left, rect.Top, *m_buffer);
        }
        m_bufferStale = false;
    }
    m_windowCanvas = &windowCanvas;
    AttachCanvas(windowCanvas);
}

bool TChartCanvas3D::RepaintFromBuffer() {
    if (m_bufferStale || m_buffer == nullptr) {
        return false;
    }
    ReferenceCanvas().Draw(0, 0, *m_buffer);
    return true;
}

void TChartCanvas3D::MarkBufferStale() {
    m_bufferStale = true;
}

gfx::TColor TChartCanvas3D::ReadBackColor() const {
    return ReferenceCanvas().BackColor();
}

gfx::TBackMode TChartCanvas3D::ReadBackMode() const {
    return ReferenceCanvas().BackMode();
}

gfx::TCanvas* TChartCanvas3D::DeviceContext() const {
    return &ReferenceCanvas();
}

bool TChartCanvas3D::ReadMonochrome() const {
    return m_monochrome;
}

uint32_t TChartCanvas3D::ReadTextAlign() const {
    return ReferenceCanvas().TextAlign();
}

bool TChartCanvas3D::ReadBuffered() const {
    return m_buffered;
}

void TChartCanvas3D::WriteBackColor(gfx::TColor color) {
    ReferenceCanvas().SetBackColor(color);
}

void TChartCanvas3D::WriteBackMode(gfx::TBackMode mode) {
    ReferenceCanvas().SetBackMode(mode);
}

void TChartCanvas3D::WriteMonochrome(bool value) {
    if (value == m_monochrome) {
        return;
    }
    m_monochrome = value;
    DiscardBuffer();
    m_bufferStale = true;
    if (const TView3DOptions* options = View3DOptions(); options != nullptr && options->Owner()) {
        options->Owner()->MarkForRepaint();
    }
}

void TChartCanvas3D::PutPixel(int32_t x, int32_t y, gfx::TColor color) {
    ReferenceCanvas().SetPixel(x, y, color);
}

void TChartCanvas3D::WriteTextAlign(uint32_t flags) {
    ReferenceCanvas().SetTextAlign(flags);
}

void TChartCanvas3D::WriteBuffered(bool value) {
    m_buffered = value;
    if (!value && m_buffer != nullptr) {
        DiscardBuffer();
        m_bufferStale = true;
    }
}

void TChartCanvas3D::ArcOutline(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3,
                                int32_t y3, int32_t x4, int32_t y4) {
    ReferenceCanvas().Arc(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TChartCanvas3D::BlitPicture(int32_t x, int32_t y, const gfx::TPicture* picture) {
    if (picture == nullptr || picture->Empty()) {
        return;
    }
    WriteBackColor(Brush().Color());
    picture->Draw(ReferenceCanvas(),
                  gfx::TRect::FromSize(x, y, picture->Width(), picture->Height()));
}

void TChartCanvas3D::EllipseShape(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    ReferenceCanvas().Ellipse(left, top, right, bottom);
}

void TChartCanvas3D::FillArea(const gfx::TRect& rect) {
    ReferenceCanvas().FillRect(rect);
}

void TChartCanvas3D::BevelFrame(const gfx::TRect& rect, gfx::TColor topColor, int32_t width,
                                gfx::TColor bottomColor) {
    Pen().SetWidth(1);
    // The frame's lines run on the last column and row inside the rectangle.
    int32_t left = rect.Left;
    int32_t top = rect.Top;
    int32_t right = rect.LastX();
    int32_t bottom = rect.LastY();
    for (int32_t i = 0; i < width; ++i) {
        Pen().SetColor(topColor);
        const gfx::TPoint topLeft[] = {{left, bottom}, {left, top}, {right, top}};
        ReferenceCanvas().Polyline(topLeft);
        Pen().SetColor(bottomColor);
        const gfx::TPoint bottomRight[] = {{right, top}, {right, bottom}, {left - 1, bottom}};
        ReferenceCanvas().Polyline(bottomRight);
        ++left;
        ++top;
        --right;
        --bottom;
    }
}

void TChartCanvas3D::PenLineTo(int32_t x, int32_t y) {
    ReferenceCanvas().LineTo(x, y);
}

void TChartCanvas3D::PenMoveTo(int32_t x, int32_t y) {
    ReferenceCanvas().MoveTo(x, y);
}

void TChartCanvas3D::PieShape(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3,
                              int32_t y3, int32_t x4, int32_t y4) {
    ReferenceCanvas().Pie(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TChartCanvas3D::RectShape(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    ReferenceCanvas().Rectangle(left, top, right, bottom);
}

void TChartCanvas3D::RoundRectShape(int32_t left, int32_t top, int32_t right, int32_t bottom,
                                    int32_t cornerWidth, int32_t cornerHeight) {
    ReferenceCanvas().RoundRect(left, top, right, bottom, cornerWidth, cornerHeight);
}

void TChartCanvas3D::StretchPicture(const gfx::TRect& rect, const gfx::TPicture* picture) {
    if (picture != nullptr) {
        picture->Draw(ReferenceCanvas(), rect);
    }
}

void TChartCanvas3D::TextOnDevice(int32_t x, int32_t y, const std::string& text) {
    gfx::TCanvas& device = ReferenceCanvas();
    const gfx::TBackMode mode = device.BackMode();
    if (Brush().Style() == gfx::TBrushStyle::bsClear) {
        device.SetBackMode(gfx::TBackMode::bmTransparent);
    }
    device.TextOut(x, y, text);
    device.SetBackMode(mode);
}

void TChartCanvas3D::PutText(int32_t x, int32_t y, const std::string& text) {
    TextOnDevice(x, y, text);
}

void TChartCanvas3D::ClipToRect(const gfx::TRect& rect) {
    ReferenceCanvas().SetClipRect(rect);
}

void TChartCanvas3D::HorzSegment(int32_t x0, int32_t x1, int32_t y) {
    ReferenceCanvas().MoveTo(x0, y);
    ReferenceCanvas().LineTo(x1, y);
}

void TChartCanvas3D::RectFromBounds(const gfx::TRect& rect) {
    ReferenceCanvas().Rectangle(rect);
}

void TChartCanvas3D::VertSegment(int32_t x, int32_t y0, int32_t y1) {
    ReferenceCanvas().MoveTo(x, y0);
    ReferenceCanvas().LineTo(x, y1);
}

void TChartCanvas3D::EraseArea(const gfx::TRect& rect) {
    ReferenceCanvas().FillRect(rect);
}

void TChartCanvas3D::Segment(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    ReferenceCanvas().MoveTo(x0, y0);
    ReferenceCanvas().LineTo(x1, y1);
}

void TChartCanvas3D::Polygon(std::span<const gfx::TPoint> points) {
    ReferenceCanvas().Polygon(points);
}

void TChartCanvas3D::PolygonShape(std::span<const gfx::TPoint> points, int32_t highestIndex) {
    if (highestIndex < 0 || points.empty()) {
        return;
    }
    const size_t count = std::min(points.size(), static_cast<size_t>(highestIndex) + 1);
    Polygon(points.first(count));
}

void TChartCanvas3D::PutRotatedText(int32_t x, int32_t y, int32_t angle, const std::string& text) {
    if (angle > kFullTurnDegrees) {
        angle -= kFullTurnDegrees;
    }
    Brush().SetStyle(gfx::TBrushStyle::bsClear);
    gfx::TFont& font = Font();
    const int32_t savedHeight = font.Height();
    const int32_t savedOrientation = font.Orientation();
    font.SetOrientation(angle * kTenthsPerDegree);
    if (m_zoomText && m_zoomFactor != 1.0) {
        const int32_t size = std::max(1, Nearest(font.Size() * m_zoomFactor));
        font.SetHeight(-base::MulDiv(size, font.PixelsPerInch(), kPointsPerInch));
    }
    TextOnDevice(x, y, text);
    font.SetOrientation(savedOrientation);
    font.SetHeight(savedHeight);
}

void TChartCanvas3D::PutTextAtDepth(int32_t x, int32_t y, int32_t z, const std::string& text) {
    ProjectPoint(x, y, z);
    if (!m_zoomText || m_zoomFactor == 1.0) {
        PutText(x, y, text);
        return;
    }
    gfx::TFont& font = Font();
    const int32_t size = std::max(1, Nearest(font.Size() * m_zoomFactor));
    if (size == font.Size()) {
        PutText(x, y, text);
        return;
    }
    const int32_t savedHeight = font.Height();
    font.SetHeight(-base::MulDiv(size, font.PixelsPerInch(), kPointsPerInch));
    PutText(x, y, text);
    font.SetHeight(savedHeight);
}

void TChartCanvas3D::PutRotatedTextAtDepth(int32_t x, int32_t y, int32_t z, int32_t angle,
                                           const std::string& text) {
    ProjectPoint(x, y, z);
    PutRotatedText(x, y, angle, text);
}

void TChartCanvas3D::ClearClip() {
    ReferenceCanvas().ClearClip();
}

bool TChartCanvas3D::RendersWholeScene() const {
    return false;
}

bool TChartCanvas3D::DrawsTextAtDepth() const {
    return false;
}

void TChartCanvas3D::EnterFlatMode() {
    m_saved3D = m_is3D;
    m_is3D = false;
}

void TChartCanvas3D::LeaveFlatMode() {
    m_is3D = m_saved3D;
}

}  // namespace chart
