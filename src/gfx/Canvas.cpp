// The device canvas: state, clipping, lines, polygons and pixels.
#include "gfx/Canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Raster.h"
#include "gfx/Stroke.h"

namespace gfx {

namespace {

using detail::TInk;
using detail::TMask;
using detail::TSurface;

// The 8 x 8 hatch tiles, rows from the top, bit 0x80 the leftmost column.
constexpr detail::THatch kHatchHorizontal = {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00};
constexpr detail::THatch kHatchVertical = {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08};
constexpr detail::THatch kHatchFDiagonal = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
constexpr detail::THatch kHatchBDiagonal = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};
constexpr detail::THatch kHatchCross = {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08};
constexpr detail::THatch kHatchDiagCross = {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81};

const detail::THatch* HatchOf(TBrushStyle style) {
    switch (style) {
        case TBrushStyle::bsSolid:
            return nullptr;
        case TBrushStyle::bsClear:
            return nullptr;
        case TBrushStyle::bsHorizontal:
            return &kHatchHorizontal;
        case TBrushStyle::bsVertical:
            return &kHatchVertical;
        case TBrushStyle::bsFDiagonal:
            return &kHatchFDiagonal;
        case TBrushStyle::bsBDiagonal:
            return &kHatchBDiagonal;
        case TBrushStyle::bsCross:
            return &kHatchCross;
        case TBrushStyle::bsDiagCross:
            return &kHatchDiagCross;
    }
    return nullptr;
}

// A one-pixel dash pattern unrolled into one flag per pixel along the line's long axis.
struct TDashPattern {
    std::array<bool, 24> On{};
    int32_t Length = 1;
};

TDashPattern MakePattern(std::initializer_list<int32_t> runs) {
    TDashPattern pattern;
    int32_t at = 0;
    bool on = true;
    for (int32_t run : runs) {
        for (int32_t i = 0; i < run; ++i) {
            pattern.On[static_cast<size_t>(at++)] = on;
        }
        on = !on;
    }
    pattern.Length = at;
    return pattern;
}

// Null for the styles drawn solid.
const TDashPattern* PatternOf(TPenStyle style) {
    static const TDashPattern dash = MakePattern({18, 6});
    static const TDashPattern dot = MakePattern({3, 3});
    static const TDashPattern dashDot = MakePattern({9, 6, 3, 6});
    static const TDashPattern dashDotDot = MakePattern({9, 3, 3, 3, 3, 3});
    static const TDashPattern alternate = MakePattern({1, 1});
    switch (style) {
        case TPenStyle::psSolid:
            return nullptr;
        case TPenStyle::psDash:
            return &dash;
        case TPenStyle::psDot:
            return &dot;
        case TPenStyle::psDashDot:
            return &dashDot;
        case TPenStyle::psDashDotDot:
            return &dashDotDot;
        case TPenStyle::psClear:
            return nullptr;
        case TPenStyle::psInsideFrame:
            return nullptr;
        case TPenStyle::psAlternate:
            return &alternate;
    }
    return nullptr;
}

}  // namespace

TCanvas::TCanvas(TBitmap& bitmap) : m_bitmap(bitmap) {}

TPoint TCanvas::LogicalToDevice(TPoint point) const {
    return {point.X - m_windowOrg.X + m_viewportOrg.X, point.Y - m_windowOrg.Y + m_viewportOrg.Y};
}

void TCanvas::Changing() {
    if (m_onChanging) {
        m_onChanging();
    }
}

void TCanvas::Changed() {
    if (m_onChange) {
        m_onChange();
    }
}

const TRegion& TCanvas::DeviceClip() const {
    TSize size{m_bitmap.Width(), m_bitmap.Height()};
    if (!m_deviceClipValid || size != m_deviceClipFor) {
        TRect whole(0, 0, size.Width, size.Height);
        m_deviceClip = m_hasClip ? m_clip.Intersect(whole) : TRegion::FromRect(whole);
        m_deviceClipFor = size;
        m_deviceClipValid = true;
    }
    return m_deviceClip;
}

TSurface TCanvas::Surface() const {
    TSurface surface;
    surface.Pixels = const_cast<uint32_t*>(m_bitmap.Pixels().data());
    surface.Width = m_bitmap.Width();
    surface.Height = m_bitmap.Height();
    surface.Clip = &DeviceClip();
    return surface;
}

TColorRef TCanvas::DeviceColor(TColor color) const {
    TColorRef ref = ColorToRGB(color);
    return m_bitmap.Monochrome() ? MonochromeOf(ref) : ref;
}

TInk TCanvas::PenInk() const {
    TInk ink;
    ink.Mode = m_pen.Mode();
    ink.Color = DeviceColor(m_pen.Color());
    ink.Back = DeviceColor(m_backColor);
    ink.Opaque = m_backMode == TBackMode::bmOpaque;
    return ink;
}

TInk TCanvas::BrushInk(TPenMode mode) const {
    TInk ink;
    ink.Mode = mode;
    ink.Color = DeviceColor(m_brush.Color());
    ink.Hatch = HatchOf(m_brush.Style());
    ink.Back = DeviceColor(m_backColor);
    ink.Opaque = m_backMode == TBackMode::bmOpaque;
    return ink;
}

int32_t TCanvas::PenWidth() const {
    return std::max(1, m_pen.Width());
}

void TCanvas::SetClipRect(const TRect& rect) {
    TPoint a = LogicalToDevice({rect.Left, rect.Top});
    TPoint b = LogicalToDevice({rect.Right, rect.Bottom});
    m_clip = TRegion::FromRect(TRect(a.X, a.Y, b.X, b.Y));
    m_hasClip = true;
    m_deviceClipValid = false;
}

void TCanvas::SetClipPolygon(std::span<const TPoint> points) {
    std::vector<TPoint> device(points.size());
    std::transform(points.begin(), points.end(), device.begin(),
                   [&](TPoint p) { return LogicalToDevice(p); });
    m_clip = TRegion::FromPolygon(device, TFillMode::fmAlternate);
    m_hasClip = true;
    m_deviceClipValid = false;
}

void TCanvas::ClearClip() {
    m_hasClip = false;
    m_clip = TRegion();
    m_deviceClipValid = false;
}

void TCanvas::MoveTo(int32_t x, int32_t y) {
    m_penPos = {x, y};
}

void TCanvas::LineTo(int32_t x, int32_t y) {
    std::array<TPoint, 2> points = {LogicalToDevice(m_penPos), LogicalToDevice({x, y})};
    m_penPos = {x, y};
    if (PenVisible()) {
        Changing();
        StrokePath(points, false);
        Changed();
    }
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    if (points.size() < 2 || !PenVisible()) {
        return;
    }
    Changing();
    if (m_windowOrg == m_viewportOrg) {
        StrokePath(points, false);  // logical coordinates are device coordinates
    } else {
        std::vector<TPoint> device(points.size());
        std::transform(points.begin(), points.end(), device.begin(),
                       [&](TPoint p) { return LogicalToDevice(p); });
        StrokePath(device, false);
    }
    Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points) {
    if (points.empty()) {
        return;
    }
    std::vector<TPoint> device(points.size());
    std::transform(points.begin(), points.end(), device.begin(),
                   [&](TPoint p) { return LogicalToDevice(p); });
    Changing();
    if (BrushVisible() && device.size() >= 3) {
        TSurface surface = Surface();
        const TRect& clip = surface.Clip->Bounds();
        TInk ink = BrushInk(m_pen.Mode());
        detail::ScanPolygon(
            device, m_polyFillMode, clip.Top, clip.Bottom,
            [&](int32_t y, int32_t x0, int32_t x1) { detail::FillSpan(surface, y, x0, x1, ink); });
    }
    if (PenVisible()) {
        StrokePath(device, true);
    }
    Changed();
}

void TCanvas::FillPolygons(std::span<const TPoint> points, std::span<const int32_t> counts) {
    if (points.empty() || !BrushVisible()) {
        return;
    }
    std::vector<TPoint> device(points.size());
    std::transform(points.begin(), points.end(), device.begin(),
                   [&](TPoint p) { return LogicalToDevice(p); });
    Changing();
    TSurface surface = Surface();
    const TRect& clip = surface.Clip->Bounds();
    TInk ink = BrushInk(m_pen.Mode());
    detail::ScanPolygons(
        device, counts, m_polyFillMode, clip.Top, clip.Bottom,
        [&](int32_t y, int32_t x0, int32_t x1) { detail::FillSpan(surface, y, x0, x1, ink); });
    Changed();
}

void TCanvas::StrokePath(std::span<const TPoint> device, bool closed) {
    const int32_t width = PenWidth();
    if (!closed && m_pen.Mode() == TPenMode::pmCopy &&
        (width > 1 || PatternOf(m_pen.Style()) == nullptr)) {
        TSurface surface = Surface();
        if (surface.Clip->IsRect() && detail::IsDensePolyline(device, width)) {
            detail::DensePolyline(surface, device, width, PenInk().Color);
            return;
        }
    }
    if (width > 1) {
        WidePath(device, closed);
    } else {
        ThinPath(device, closed);
    }
}

void TCanvas::ThinPath(std::span<const TPoint> device, bool closed) {
    TSurface surface = Surface();
    const TRegion& clip = *surface.Clip;
    if (clip.IsEmpty() || device.empty()) {
        return;
    }
    const TRect box = clip.Bounds();
    TInk ink = PenInk();
    const TDashPattern* pattern = PatternOf(m_pen.Style());
    uint32_t* pixels = surface.Pixels;
    size_t stride = static_cast<size_t>(surface.Width);
    size_t segments = closed ? device.size() : device.size() - 1;
    int64_t position = 0;  // dash pattern position, carried across the segments

    auto run = [&](auto&& plot) {
        for (size_t s = 0; s < segments; ++s) {
            TPoint a = device[s];
            TPoint b = device[(s + 1) % device.size()];
            position += detail::StepLine(
                a.X, a.Y, b.X, b.Y, box,
                [&](int32_t x, int32_t y, int64_t i) { plot(x, y, position + i); });
        }
    };
    if (ink.Mode == TPenMode::pmCopy && clip.IsRect()) {
        // The hot paths: copy mode, rectangular clip (the grid's dots, axes, frames and solid
        // lines; dash gaps keep their pixels unless the background is opaque). Horizontal and
        // vertical segments step a pointer along their visible steps; slanted ones go through
        // the line stepper.
        const uint32_t color = ink.Color;
        const uint32_t back = detail::Mix(TPenMode::pmCopy, ink.Back, 0);
        const bool opaque = ink.Opaque;
        const int32_t length = pattern != nullptr ? pattern->Length : 1;
        for (size_t s = 0; s < segments; ++s) {
            const TPoint a = device[s];
            const TPoint b = device[(s + 1) % device.size()];
            if (a.X != b.X && a.Y != b.Y) {
                // Within a segment the steps come one apart; only a jump needs the remainder.
                int64_t nextAt = -1;
                int32_t phase = 0;
                position +=
                    detail::StepLine(a.X, a.Y, b.X, b.Y, box, [&](int32_t x, int32_t y, int64_t i) {
                        uint32_t& pixel =
                            pixels[static_cast<size_t>(y) * stride + static_cast<size_t>(x)];
                        if (pattern == nullptr) {
                            pixel = color;
                            return;
                        }
                        phase = i == nextAt ? (phase + 1 == length ? 0 : phase + 1)
                                            : static_cast<int32_t>((position + i) % length);
                        nextAt = i + 1;
                        if (pattern->On[static_cast<size_t>(phase)]) {
                            pixel = color;
                        } else if (opaque) {
                            pixel = back;
                        }
                    });
                continue;
            }
            const detail::TStraightSteps steps = detail::StraightSteps(a, b, box);
            if (steps.First < steps.End) {
                uint32_t* pixel =
                    pixels + static_cast<size_t>(steps.Y) * stride + static_cast<size_t>(steps.X);
                const ptrdiff_t step = steps.Horizontal
                                           ? steps.Direction
                                           : steps.Direction * static_cast<ptrdiff_t>(stride);
                if (pattern == nullptr) {
                    for (int64_t i = steps.First; i < steps.End; ++i, pixel += step) {
                        *pixel = color;
                    }
                } else {
                    auto phase = static_cast<int32_t>((position + steps.First) % length);
                    for (int64_t i = steps.First; i < steps.End; ++i, pixel += step) {
                        if (pattern->On[static_cast<size_t>(phase)]) {
                            *pixel = color;
                        } else if (opaque) {
                            *pixel = back;
                        }
                        phase = phase + 1 == length ? 0 : phase + 1;
                    }
                }
            }
            position += steps.Count;
        }
        return;
    }
    const bool rectClip = clip.IsRect();
    int64_t nextAt = -1;  // the step after the last one seen
    int32_t phase = 0;    // where the last step stood in the pattern
    run([&](int32_t x, int32_t y, int64_t at) {
        // Within a segment the steps come one apart; only a jump needs the remainder.
        if (pattern != nullptr) {
            phase = at == nextAt ? (phase + 1 == pattern->Length ? 0 : phase + 1)
                                 : static_cast<int32_t>(at % pattern->Length);
            nextAt = at + 1;
        }
        if (!rectClip && !clip.Contains(x, y)) {
            return;
        }
        uint32_t& pixel = pixels[static_cast<size_t>(y) * stride + static_cast<size_t>(x)];
        if (pattern == nullptr || pattern->On[static_cast<size_t>(phase)]) {
            pixel = detail::Mix(ink.Mode, ink.Color, pixel);
        } else if (ink.Opaque) {
            pixel = detail::Mix(ink.Mode, ink.Back, pixel);
        }
    });
}

void TCanvas::AddWideSegment(TMask& mask, TPoint a, TPoint b, int32_t width) const {
    detail::WideSegmentSpans(a, b, width, mask.Box().Top, mask.Box().Bottom,
                             [&](int32_t y, int32_t x0, int32_t x1) { mask.AddSpan(y, x0, x1); });
}

void TCanvas::AddRoundDot(TMask& mask, TPoint at, int32_t width) const {
    detail::RoundDotSpans(at, width, mask.Box().Top, mask.Box().Bottom,
                          [&](int32_t y, int32_t x0, int32_t x1) { mask.AddSpan(y, x0, x1); });
}

void TCanvas::WidePath(std::span<const TPoint> device, bool closed) {
    TSurface surface = Surface();
    if (surface.Clip->IsEmpty() || device.empty()) {
        return;
    }
    const int32_t width = PenWidth();
    const TRect bounds = surface.Clip->Bounds();
    const size_t segments = closed ? device.size() : device.size() - 1;
    // The whole outline is one region: the segments' bodies and a round dot at every point
    // (ends and joins); a point repeating the one before it adds nothing.
    const auto outline = [&](auto&& span) {
        for (size_t s = 0; s < segments; ++s) {
            detail::WideSegmentSpans(device[s], device[(s + 1) % device.size()], width, bounds.Top,
                                     bounds.Bottom, span);
        }
        for (size_t i = 0; i < device.size(); ++i) {
            if (i == 0 || device[i] != device[i - 1]) {
                detail::RoundDotSpans(device[i], width, bounds.Top, bounds.Bottom, span);
            }
        }
    };
    TInk ink = PenInk();
    ink.Hatch = nullptr;
    if (detail::PaintingTwiceIsOnce(ink.Mode)) {
        outline(
            [&](int32_t y, int32_t x0, int32_t x1) { detail::FillSpan(surface, y, x0, x1, ink); });
        return;
    }
    // Modes that see a pixel twice differently paint the outline through one mask.
    int32_t minX = device[0].X, maxX = device[0].X, minY = device[0].Y, maxY = device[0].Y;
    for (TPoint p : device) {
        minX = std::min(minX, p.X);
        maxX = std::max(maxX, p.X);
        minY = std::min(minY, p.Y);
        maxY = std::max(maxY, p.Y);
    }
    TRect reach = TRect(minX, minY, maxX + 1, maxY + 1).Inflate(width + 1, width + 1);
    TMask mask(reach.Intersect(bounds));
    if (mask.Box().IsEmpty()) {
        return;
    }
    outline([&](int32_t y, int32_t x0, int32_t x1) { mask.AddSpan(y, x0, x1); });
    mask.Paint(surface, ink);
}

void TCanvas::PaintPixelsInOrder(std::span<const TPoint> pixels) {
    TSurface surface = Surface();
    const TRegion& clip = *surface.Clip;
    if (clip.IsEmpty() || pixels.empty()) {
        return;
    }
    TInk ink = PenInk();
    const TDashPattern* pattern = PatternOf(m_pen.Style());
    // Each pixel is painted once, in the given order, so the mix modes see it once. The
    // record of painted pixels covers the pixels' box inside the clip, not the whole clip.
    int32_t minX = INT32_MAX, minY = INT32_MAX, maxX = INT32_MIN, maxY = INT32_MIN;
    for (TPoint p : pixels) {
        minX = std::min(minX, p.X);
        minY = std::min(minY, p.Y);
        maxX = std::max(maxX, p.X);
        maxY = std::max(maxY, p.Y);
    }
    TMask painted(
        TRect64{minX, minY, int64_t{maxX} + 1, int64_t{maxY} + 1}.Intersect(clip.Bounds()));
    int64_t at = 0;
    for (TPoint p : pixels) {
        if (painted.Get(p.X, p.Y) || !clip.Contains(p.X, p.Y)) {
            continue;
        }
        painted.AddPixel(p.X, p.Y);
        uint32_t& pixel =
            surface.Pixels[static_cast<size_t>(p.Y) * static_cast<size_t>(surface.Width) +
                           static_cast<size_t>(p.X)];
        if (pattern == nullptr || pattern->On[static_cast<size_t>(at % pattern->Length)]) {
            pixel = detail::Mix(ink.Mode, ink.Color, pixel);
        } else if (ink.Opaque) {
            pixel = detail::Mix(ink.Mode, ink.Back, pixel);
        }
        ++at;
    }
}

TColorRef TCanvas::Pixel(int32_t x, int32_t y) const {
    TPoint p = LogicalToDevice({x, y});
    if (p.X < 0 || p.Y < 0 || p.X >= m_bitmap.Width() || p.Y >= m_bitmap.Height()) {
        return kInvalidColor;
    }
    return m_bitmap.ScanLine(p.Y)[p.X];
}

TColorRef TCanvas::SetPixel(int32_t x, int32_t y, TColor color) {
    TPoint p = LogicalToDevice({x, y});
    if (!DeviceClip().Contains(p.X, p.Y)) {
        return kInvalidColor;
    }
    Changing();
    TColorRef value = DeviceColor(color);
    m_bitmap.ScanLine(p.Y)[p.X] = value;
    Changed();
    return value;
}

void TCanvas::FillRect(const TRect& rect) {
    if (!BrushVisible()) {
        return;
    }
    TPoint a = LogicalToDevice({rect.Left, rect.Top});
    TPoint b = LogicalToDevice({rect.Right, rect.Bottom});
    TRect box = TRect(a.X, a.Y, b.X, b.Y).Normalized().Intersect(DeviceClip().Bounds());
    if (box.IsEmpty()) {
        return;
    }
    Changing();
    TSurface surface = Surface();
    TInk ink = BrushInk(TPenMode::pmCopy);
    for (int32_t y = box.Top; y < box.Bottom; ++y) {
        detail::FillSpan(surface, y, box.Left, box.Right, ink);
    }
    Changed();
}

void TCanvas::FrameRect(const TRect& rect) {
    if (!BrushVisible()) {
        return;
    }
    TPoint a = LogicalToDevice({rect.Left, rect.Top});
    TPoint b = LogicalToDevice({rect.Right, rect.Bottom});
    TRect box = TRect(a.X, a.Y, b.X, b.Y).Normalized();
    if (box.IsEmpty()) {
        return;
    }
    Changing();
    TSurface surface = Surface();
    TInk ink = BrushInk(TPenMode::pmCopy);
    detail::FillSpan(surface, box.Top, box.Left, box.Right, ink);
    if (box.LastY() > box.Top) {
        detail::FillSpan(surface, box.LastY(), box.Left, box.Right, ink);
    }
    // The sides, on the rows between the top and bottom edges that the clip shows.
    const TRect& clip = surface.Clip->Bounds();
    int32_t sidesEnd = std::min(box.LastY(), clip.Bottom);
    for (int32_t y = std::max(box.Top + 1, clip.Top); y < sidesEnd; ++y) {
        detail::FillSpan(surface, y, box.Left, box.Left + 1, ink);
        if (box.LastX() > box.Left) {
            detail::FillSpan(surface, y, box.LastX(), box.Right, ink);
        }
    }
    Changed();
}

}  // namespace gfx
