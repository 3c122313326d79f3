// The point pointer's settings and the drawing of its shapes.
#include "chart/series/SeriesPointer.h"

#include <array>

#include "chart/canvas/ChartCanvas3D.h"
#include "chart/engine/Series.h"
#include "chart/messages/ChartMessages.h"
#include "classes/ClassBuilder.h"

namespace chart {

TSeriesPointer::TSeriesPointer(TChartSeries& series)
    : m_series(series),
      m_brush(std::make_unique<TChartBrush>([this] { Changed(); })),
      m_pen(std::make_unique<TChartPen>([this] { Changed(); })) {}

TSeriesPointer::~TSeriesPointer() = default;

void TSeriesPointer::Changed() {
    m_series.RequestRepaint();
}

void TSeriesPointer::SetDark3D(bool value) {
    if (m_dark3D != value) {
        m_dark3D = value;
        Changed();
    }
}

void TSeriesPointer::SetDraw3D(bool value) {
    if (m_draw3D != value) {
        m_draw3D = value;
        Changed();
    }
}

void TSeriesPointer::SetHorizSize(int32_t value) {
    if (value < 1) {
        throw ChartException(kMsgPointerSize);
    }
    if (m_horizSize != value) {
        m_horizSize = value;
        Changed();
    }
}

void TSeriesPointer::SetVertSize(int32_t value) {
    if (value < 1) {
        throw ChartException(kMsgPointerSize);
    }
    if (m_vertSize != value) {
        m_vertSize = value;
        Changed();
    }
}

void TSeriesPointer::SetInflateMargins(bool value) {
    if (m_inflateMargins != value) {
        m_inflateMargins = value;
        Changed();
    }
}

void TSeriesPointer::SetStyle(TSeriesPointerStyle value) {
    if (m_style != value) {
        m_style = value;
        Changed();
    }
}

void TSeriesPointer::SetVisible(bool value) {
    if (m_visible != value) {
        m_visible = value;
        Changed();
    }
}

void TSeriesPointer::PrepareCanvas(TChartCanvas3D& canvas, gfx::TColor color) const {
    canvas.ApplyChartPen(*m_pen);
    if (m_pen->Visible() && m_pen->Color() == clSeriesDefault) {
        canvas.Pen().SetColor(color);
    }
    canvas.Brush().SetStyle(m_brush->Style());
    canvas.Brush().SetColor(m_brush->Color() == clSeriesDefault ? color : m_brush->Color());
}

void TSeriesPointer::DrawShape(TChartCanvas3D& canvas, bool is3D, int32_t x, int32_t y, int32_t z,
                               gfx::TColor color, TSeriesPointerStyle style) const {
    DrawSizedShape(canvas, is3D, x, y, z, m_horizSize, m_vertSize, color, style);
}

void TSeriesPointer::DrawSizedShape(TChartCanvas3D& canvas, bool is3D, int32_t x, int32_t y,
                                    int32_t z, int32_t hx, int32_t hy, gfx::TColor color,
                                    TSeriesPointerStyle style) const {
    const int32_t l = x - hx;
    const int32_t r = x + hx;
    const int32_t t = y - hy;
    const int32_t b = y + hy;
    // Flat shapes, at depth z in a 3D chart (every corner projected).
    const auto triangle = [&](gfx::TPoint a, gfx::TPoint b, gfx::TPoint c) {
        if (is3D) {
            canvas.TriangleAtDepth(a, b, c, z);
        } else {
            const std::array<gfx::TPoint, 3> p{{a, b, c}};
            canvas.PolygonShape(p, 2);
        }
    };
    const auto segment = [&](int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
        if (is3D) {
            canvas.SegmentAtDepth(x0, y0, x1, y1, z);
        } else {
            canvas.Segment(x0, y0, x1, y1);
        }
    };
    const auto cross = [&] {
        canvas.Pen().SetColor(color);
        segment(x, t, x, b + 1);
        segment(l, y, r + 1, y);
    };
    const auto diagonalCross = [&] {
        canvas.Pen().SetColor(color);
        segment(l, t, r + 1, b + 1);
        segment(r, t, l - 1, b + 1);
    };
    switch (style) {
        case TSeriesPointerStyle::psRectangle:
            if (is3D) {
                canvas.RectAtDepth(gfx::TRect(l, t, r + 1, b + 1), z);
            } else {
                canvas.RectShape(l, t, r + 1, b + 1);
            }
            break;
        case TSeriesPointerStyle::psCircle:
            if (is3D) {
                canvas.EllipseAtDepth(l, t, r, b, z);
            } else {
                canvas.EllipseShape(l, t, r, b);
            }
            break;
        case TSeriesPointerStyle::psTriangle:
            triangle({l, b}, {r, b}, {x, t});
            break;
        case TSeriesPointerStyle::psDownTriangle:
            triangle({l, t}, {r, t}, {x, b});
            break;
        case TSeriesPointerStyle::psCross:
            cross();
            break;
        case TSeriesPointerStyle::psDiagCross:
            diagonalCross();
            break;
        case TSeriesPointerStyle::psStar:
            cross();
            diagonalCross();
            break;
        case TSeriesPointerStyle::psDiamond: {
            const std::array<gfx::TPoint, 4> p{{{l, y}, {x, t}, {r, y}, {x, b}}};
            if (is3D) {
                canvas.QuadAtDepth(p, z);
            } else {
                canvas.PolygonShape(p, 3);
            }
            break;
        }
        case TSeriesPointerStyle::psSmallDot:
            if (is3D) {
                canvas.PutPixelAtDepth(x, y, z, color);
            } else {
                canvas.PutPixel(x, y, color);
            }
            break;
    }
}

bool TSeriesPointer::DrawSolidShape(TChartCanvas3D& canvas, int32_t x, int32_t y, int32_t z0,
                                    int32_t z1, TSeriesPointerStyle style) const {
    const int32_t l = x - m_horizSize;
    const int32_t r = x + m_horizSize;
    const int32_t t = y - m_vertSize;
    const int32_t b = y + m_vertSize;
    switch (style) {
        case TSeriesPointerStyle::psRectangle:
            canvas.BoxShape(l, r, t, b, z0, z1, m_dark3D);
            return true;
        case TSeriesPointerStyle::psTriangle:
            canvas.PyramidShape(true, l, t, r, b, z0, z1, m_dark3D);
            return true;
        case TSeriesPointerStyle::psDownTriangle:
            // Top and bottom exchanged: the apex points down.
            canvas.PyramidShape(true, l, b, r, t, z0, z1, m_dark3D);
            return true;
        case TSeriesPointerStyle::psCircle:
            if (!canvas.RendersWholeScene()) {
                return false;
            }
            canvas.SphereShape(x, y, m_horizSize, (z0 + z1) / 2);
            return true;
        case TSeriesPointerStyle::psCross:
        case TSeriesPointerStyle::psDiagCross:
        case TSeriesPointerStyle::psStar:
        case TSeriesPointerStyle::psDiamond:
        case TSeriesPointerStyle::psSmallDot:
            return false;
    }
    return false;
}

void TSeriesPointer::Assign(const classes::TPersistent& source) {
    const auto* other = dynamic_cast<const TSeriesPointer*>(&source);
    if (other == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    m_dark3D = other->m_dark3D;
    m_draw3D = other->m_draw3D;
    m_horizSize = other->m_horizSize;
    m_inflateMargins = other->m_inflateMargins;
    m_style = other->m_style;
    m_vertSize = other->m_vertSize;
    m_visible = other->m_visible;
    m_pen->Assign(*other->m_pen);
    m_brush->Assign(*other->m_brush);  // fires the change event, which repaints
}

const classes::TClassInfo& TSeriesPointer::StaticClass() {
    using T = TSeriesPointer;
    static const classes::TClassInfo info =
        classes::TClassBuilder<T>("TSeriesPointer", &classes::TPersistent::StaticClass())
            .Object("Brush", [](T& p) -> gfx::TBrush& { return p.Brush(); })
            .Boolean("Dark3D", &T::Dark3D, &T::SetDark3D, true)
            .Boolean("Draw3D", &T::Draw3D, &T::SetDraw3D, true)
            .Integer("HorizSize", &T::HorizSize, &T::SetHorizSize, 4)
            .Boolean("InflateMargins", &T::InflateMargins, &T::SetInflateMargins)
            .Object("Pen", [](T& p) -> gfx::TPen& { return p.Pen(); })
            .Enum<TSeriesPointerStyle>(
                "Style", &T::Style, &T::SetStyle,
                {"psRectangle", "psCircle", "psTriangle", "psDownTriangle", "psCross",
                 "psDiagCross", "psStar", "psDiamond", "psSmallDot"})
            .Integer("VertSize", &T::VertSize, &T::SetVertSize, 4)
            .Boolean("Visible", &T::Visible, &T::SetVisible)
            .Build();
    return info;
}

const classes::TClassInfo& TSeriesPointer::ClassInfo() const {
    return StaticClass();
}

}  // namespace chart
