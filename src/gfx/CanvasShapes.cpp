// The device canvas' closed shapes: rectangles, rounded rectangles, ellipses, arcs and pies.
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/Raster.h"

namespace gfx {

// The angular part of an ellipse: counter-clockwise from the ray through Start to the ray
// through End, rays from the integer centre of the box. Vectors have y pointing up.
struct TCanvas::TSector {
    int64_t CentreX = 0;
    int64_t CentreY = 0;
    int64_t StartX = 0, StartY = 0;
    int64_t EndX = 0, EndY = 0;
    TPoint StartPoint;  // where the start ray meets the ellipse, device pixels
    TPoint EndPoint;

    bool Contains(int32_t x, int32_t y) const {
        int64_t vx = x - CentreX;
        int64_t vy = CentreY - y;
        int64_t startEnd = StartX * EndY - StartY * EndX;
        int64_t startV = StartX * vy - StartY * vx;
        int64_t vEnd = vx * EndY - vy * EndX;
        if (startEnd > 0) {
            return startV >= 0 && vEnd >= 0;  // sweep under half a turn
        }
        if (startEnd < 0) {
            return startV >= 0 || vEnd >= 0;  // sweep over half a turn
        }
        if (StartX * EndX + StartY * EndY > 0) {
            return true;  // same direction: the whole ellipse
        }
        return startV >= 0;  // exactly half a turn
    }
    // Angle of the pixel from the start ray, radians in [0, 2 pi), counter-clockwise.
    double AngleFromStart(int32_t x, int32_t y) const {
        double start = std::atan2(static_cast<double>(StartY), static_cast<double>(StartX));
        double angle =
            std::atan2(static_cast<double>(CentreY - y), static_cast<double>(x - CentreX));
        double d = angle - start;
        while (d < 0) {
            d += 2 * std::numbers::pi;
        }
        return d;
    }
};

namespace {

using detail::TRowExtent;

// A row of a shape split into its outline parts (the pixels with a 4-neighbour outside the
// shape) and its interior (LeftEnd + 1 .. RightStart - 1).
struct TRowParts {
    int32_t First;
    int32_t LeftEnd;
    int32_t RightStart;
    int32_t Last;
};

std::vector<TRowParts> SplitOutline(const std::vector<TRowExtent>& rows) {
    std::vector<TRowParts> parts(rows.size());
    for (size_t r = 0; r < rows.size(); ++r) {
        const TRowExtent& row = rows[r];
        TRowParts& p = parts[r];
        p.First = row.First;
        p.Last = row.Last;
        if (r == 0 || r + 1 == rows.size()) {
            p.LeftEnd = row.Last;  // the top and bottom rows are all outline
            p.RightStart = row.First;
            continue;
        }
        p.LeftEnd = std::max(row.First, std::max(rows[r - 1].First, rows[r + 1].First) - 1);
        p.RightStart = std::min(row.Last, std::min(rows[r - 1].Last, rows[r + 1].Last) + 1);
    }
    return parts;
}

std::vector<TRowExtent> ShapeRows(const TRect& box, int32_t cornerW, int32_t cornerH) {
    return detail::RoundRectRows(box.Width(), box.Height(), cornerW, cornerH);
}

// Corner size that makes the shape an ellipse whatever the box.
constexpr int32_t kWholeBox = INT32_MAX;

int32_t Corner(int32_t corner, int32_t delta) {
    if (corner == kWholeBox) {
        return kWholeBox;
    }
    return std::max(0, corner + delta);
}

}  // namespace

void TCanvas::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    TPoint a = LogicalToDevice({left, top});
    TPoint b = LogicalToDevice({right, bottom});
    DrawRounded(TRect(a.X, a.Y, b.X, b.Y).Normalized(), 0, 0, TShape::shClosed, nullptr);
}

void TCanvas::RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom,
                        int32_t cornerWidth, int32_t cornerHeight) {
    TPoint a = LogicalToDevice({left, top});
    TPoint b = LogicalToDevice({right, bottom});
    DrawRounded(TRect(a.X, a.Y, b.X, b.Y).Normalized(), std::abs(cornerWidth),
                std::abs(cornerHeight), TShape::shClosed, nullptr);
}

void TCanvas::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    TPoint a = LogicalToDevice({left, top});
    TPoint b = LogicalToDevice({right, bottom});
    DrawRounded(TRect(a.X, a.Y, b.X, b.Y).Normalized(), kWholeBox, kWholeBox, TShape::shClosed,
                nullptr);
}

void TCanvas::Arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                  int32_t x4, int32_t y4) {
    DrawSector(x1, y1, x2, y2, x3, y3, x4, y4, TShape::shArc);
}

void TCanvas::Pie(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                  int32_t x4, int32_t y4) {
    DrawSector(x1, y1, x2, y2, x3, y3, x4, y4, TShape::shPie);
}

void TCanvas::DrawSector(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                         int32_t x4, int32_t y4, TShape shape) {
    TPoint a = LogicalToDevice({x1, y1});
    TPoint b = LogicalToDevice({x2, y2});
    TPoint start = LogicalToDevice({x3, y3});
    TPoint end = LogicalToDevice({x4, y4});
    TSector sector;
    sector.StartX = start.X;
    sector.StartY = start.Y;
    sector.EndX = end.X;
    sector.EndY = end.Y;
    DrawRounded(TRect(a.X, a.Y, b.X, b.Y).Normalized(), kWholeBox, kWholeBox, shape, &sector);
}

void TCanvas::DrawRounded(TRect box, int32_t cornerW, int32_t cornerH, TShape shape,
                          const TSector* givenSector) {
    int32_t width = PenWidth();
    bool pen = PenVisible();
    bool brush = BrushVisible() && shape != TShape::shArc;
    if (m_pen.Style() == TPenStyle::psInsideFrame && width > 1) {
        box = TRect(box.Left + width / 2, box.Top + width / 2, box.Right - (width - 1) / 2,
                    box.Bottom - (width - 1) / 2);
    }
    if (box.IsEmpty() || (!pen && !brush)) {
        return;
    }
    // Turn the given ray points (device pixels) into vectors from the box centre.
    TSector sector;
    if (givenSector != nullptr) {
        sector.CentreX = box.Left + box.Width() / 2;
        sector.CentreY = box.Top + box.Height() / 2;
        sector.StartX = givenSector->StartX - sector.CentreX;
        sector.StartY = sector.CentreY - givenSector->StartY;
        sector.EndX = givenSector->EndX - sector.CentreX;
        sector.EndY = sector.CentreY - givenSector->EndY;
        double a = (box.Width() - 1) / 2.0;
        double b = (box.Height() - 1) / 2.0;
        auto onEllipse = [&](int64_t vx, int64_t vy) {
            if (vx == 0 && vy == 0) {
                vx = 1;  // a ray of no direction points right
            }
            double scale = 1.0 / std::sqrt((a > 0 ? vx * vx / (a * a) : 0.0) +
                                           (b > 0 ? vy * vy / (b * b) : 0.0) + 1e-300);
            if (a <= 0 && b <= 0) {
                scale = 0;
            }
            auto x =
                static_cast<int32_t>(std::lround(static_cast<double>(sector.CentreX) + vx * scale));
            auto y =
                static_cast<int32_t>(std::lround(static_cast<double>(sector.CentreY) - vy * scale));
            return TPoint{std::clamp(x, box.Left, box.LastX()),
                          std::clamp(y, box.Top, box.LastY())};
        };
        sector.StartPoint = onEllipse(sector.StartX, sector.StartY);
        sector.EndPoint = onEllipse(sector.EndX, sector.EndY);
    }
    const TSector* inSector = givenSector != nullptr ? &sector : nullptr;
    auto visible = [&](int32_t x, int32_t y) {
        return inSector == nullptr || inSector->Contains(x, y);
    };

    Changing();
    detail::TSurface surface = Surface();
    // Adds [x0, x1) on row y, keeping only the pixels inside the sector.
    auto emitSpan = [&](int32_t y, int32_t x0, int32_t x1, auto&& sink) {
        if (inSector == nullptr) {
            if (x0 < x1) {
                sink(y, x0, x1);
            }
            return;
        }
        int32_t x = x0;
        while (x < x1) {
            while (x < x1 && !visible(x, y)) {
                ++x;
            }
            int32_t start = x;
            while (x < x1 && visible(x, y)) {
                ++x;
            }
            if (start < x) {
                sink(y, start, x);
            }
        }
    };
    bool ellipse = cornerW == kWholeBox;
    // The box inside a wide outline, and the box of the outline's outer edge.
    TRect inner(box.Left + (width + 1) / 2, box.Top + (width + 1) / 2, box.LastX() - width / 2,
                box.LastY() - width / 2);
    TRect outer(box.Left - width / 2, box.Top - width / 2, box.LastX() + (width + 1) / 2,
                box.LastY() + (width + 1) / 2);
    int32_t innerW = ellipse ? kWholeBox : Corner(cornerW, -width);
    int32_t innerH = ellipse ? kWholeBox : Corner(cornerH, -width);
    int32_t outerW = ellipse ? kWholeBox : (cornerW == 0 ? width : cornerW + width);
    int32_t outerH = ellipse ? kWholeBox : (cornerH == 0 ? width : cornerH + width);

    if (brush) {
        detail::TInk ink = BrushInk(m_pen.Mode());
        auto fill = [&](int32_t y, int32_t x0, int32_t x1) {
            detail::FillSpan(surface, y, x0, x1, ink);
        };
        if (!pen || width > 1) {
            // Without a pen the fill reaches one pixel less on the right and bottom.
            TRect fillBox = !pen ? TRect(box.Left, box.Top, box.LastX(), box.LastY()) : inner;
            int32_t fw = !pen ? cornerW : innerW;
            int32_t fh = !pen ? cornerH : innerH;
            if (!fillBox.IsEmpty()) {
                std::vector<TRowExtent> rows = ShapeRows(fillBox, fw, fh);
                for (size_t r = 0; r < rows.size(); ++r) {
                    emitSpan(fillBox.Top + static_cast<int32_t>(r), fillBox.Left + rows[r].First,
                             fillBox.Left + rows[r].Last + 1, fill);
                }
            }
        } else {
            std::vector<TRowParts> parts = SplitOutline(ShapeRows(box, cornerW, cornerH));
            for (size_t r = 0; r < parts.size(); ++r) {
                emitSpan(box.Top + static_cast<int32_t>(r), box.Left + parts[r].LeftEnd + 1,
                         box.Left + parts[r].RightStart, fill);
            }
        }
    }

    if (pen) {
        detail::TInk ink = PenInk();
        TRect reach = outer.Intersect(surface.Clip->Bounds());
        if (width > 1) {
            detail::TMask mask(reach);
            auto add = [&](int32_t y, int32_t x0, int32_t x1) { mask.AddSpan(y, x0, x1); };
            std::vector<TRowExtent> outerRows = ShapeRows(outer, outerW, outerH);
            for (size_t r = 0; r < outerRows.size(); ++r) {
                emitSpan(outer.Top + static_cast<int32_t>(r), outer.Left + outerRows[r].First,
                         outer.Left + outerRows[r].Last + 1, add);
            }
            if (!inner.IsEmpty()) {
                std::vector<TRowExtent> innerRows = ShapeRows(inner, innerW, innerH);
                for (size_t r = 0; r < innerRows.size(); ++r) {
                    mask.RemoveSpan(inner.Top + static_cast<int32_t>(r),
                                    inner.Left + innerRows[r].First,
                                    inner.Left + innerRows[r].Last + 1);
                }
            }
            if (shape == TShape::shPie) {
                TPoint centre{static_cast<int32_t>(sector.CentreX),
                              static_cast<int32_t>(sector.CentreY)};
                AddWideSegment(mask, sector.StartPoint, centre, width);
                AddWideSegment(mask, centre, sector.EndPoint, width);
                AddRoundDot(mask, sector.StartPoint, width);
                AddRoundDot(mask, centre, width);
                AddRoundDot(mask, sector.EndPoint, width);
            }
            mask.Paint(surface, ink);
        } else if (cornerW == 0 && cornerH == 0 && box.Width() > 1 && box.Height() > 1 &&
                   m_pen.Style() != TPenStyle::psSolid &&
                   m_pen.Style() != TPenStyle::psInsideFrame) {
            // A styled rectangle outline runs from the top-right corner counter-clockwise.
            std::array<TPoint, 4> path = {TPoint{box.LastX(), box.Top}, TPoint{box.Left, box.Top},
                                          TPoint{box.Left, box.LastY()},
                                          TPoint{box.LastX(), box.LastY()}};
            ThinPath(path, true);
        } else {
            // Outline pixels: the shape's boundary (within the sector) and a pie's radii.
            std::vector<TPoint> pixels;
            std::vector<TRowParts> parts = SplitOutline(ShapeRows(box, cornerW, cornerH));
            auto collect = [&](int32_t y, int32_t x0, int32_t x1) {
                for (int32_t x = x0; x < x1; ++x) {
                    pixels.push_back({x, y});
                }
            };
            for (size_t r = 0; r < parts.size(); ++r) {
                int32_t y = box.Top + static_cast<int32_t>(r);
                const TRowParts& p = parts[r];
                if (p.LeftEnd + 1 >= p.RightStart) {
                    emitSpan(y, box.Left + p.First, box.Left + p.Last + 1, collect);
                } else {
                    emitSpan(y, box.Left + p.First, box.Left + p.LeftEnd + 1, collect);
                    emitSpan(y, box.Left + p.RightStart, box.Left + p.Last + 1, collect);
                }
            }
            bool styled =
                m_pen.Style() != TPenStyle::psSolid && m_pen.Style() != TPenStyle::psInsideFrame;
            if (styled) {
                // The dash pattern follows the outline counter-clockwise.
                double cx = box.Left + (box.Width() - 1) / 2.0;
                double cy = box.Top + (box.Height() - 1) / 2.0;
                auto key = [&](TPoint p) {
                    if (inSector != nullptr) {
                        return inSector->AngleFromStart(p.X, p.Y);
                    }
                    double angle = std::atan2(cy - p.Y, p.X - cx);
                    return angle < 0 ? angle + 2 * std::numbers::pi : angle;
                };
                std::stable_sort(pixels.begin(), pixels.end(),
                                 [&](TPoint a, TPoint b) { return key(a) < key(b); });
            }
            if (shape == TShape::shPie) {
                TPoint centre{static_cast<int32_t>(sector.CentreX),
                              static_cast<int32_t>(sector.CentreY)};
                // The pixels of a line, both ends included.
                auto radius = [&](TPoint from, TPoint to) {
                    detail::StepLine(from.X, from.Y, to.X, to.Y, outer,
                                     [&](int32_t x, int32_t y, int64_t) {
                                         pixels.push_back({x, y});
                                     });
                    pixels.push_back(to);
                };
                radius(sector.EndPoint, centre);
                radius(centre, sector.StartPoint);
            }
            PaintPixelsInOrder(pixels);
        }
    }
    Changed();
}

}  // namespace gfx
