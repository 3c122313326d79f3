// The device canvas' closed shapes: rectangles, rounded rectangles, ellipses, arcs and pies.
// A shape visits only the rows of its box that the clip shows, and only the clipped part of
// each row, so its cost follows its visible part and not its size.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/CanvasSector.h"
#include "gfx/Raster.h"

namespace gfx {

namespace {

using detail::BoxBetween;
using detail::kWholeBox;
using detail::TRowParts;
using detail::TShapeRows;
using detail::TWideRowExtent;

// Calls visit(y) for the rows of the box inside the clip's rows, top to bottom.
template <class Visit>
void ForVisibleRows(const TRect64& box, const TRect& clip, Visit&& visit) {
    int64_t end = std::min<int64_t>(box.Bottom, clip.Bottom);
    for (int64_t y = std::max<int64_t>(box.Top, clip.Top); y < end; ++y) {
        visit(static_cast<int32_t>(y));
    }
}

int64_t Corner(int64_t corner, int64_t delta) {
    if (corner == kWholeBox) {
        return kWholeBox;
    }
    return std::max<int64_t>(0, corner + delta);
}

}  // namespace

TCanvas::TSector TCanvas::TSector::Place(const TRect64& box, int64_t startX, int64_t startY,
                                         int64_t endX, int64_t endY) {
    // Turn the given ray points (device pixels) into vectors from the box centre.
    TSector s;
    s.CentreX = box.Left + box.Width() / 2;
    s.CentreY = box.Top + box.Height() / 2;
    s.StartX = startX - s.CentreX;
    s.StartY = s.CentreY - startY;
    s.EndX = endX - s.CentreX;
    s.EndY = s.CentreY - endY;
    double a = static_cast<double>(box.Width() - 1) / 2.0;
    double b = static_cast<double>(box.Height() - 1) / 2.0;
    auto onEllipse = [&](int64_t vx, int64_t vy) {
        if (vx == 0 && vy == 0) {
            vx = 1;  // a ray of no direction points right
        }
        double dx = static_cast<double>(vx);
        double dy = static_cast<double>(vy);
        double scale = 1.0 / std::sqrt((a > 0 ? dx * dx / (a * a) : 0.0) +
                                       (b > 0 ? dy * dy / (b * b) : 0.0) + 1e-300);
        if (a <= 0 && b <= 0) {
            scale = 0;
        }
        // The offset from the centre is rounded half up on its own, so the end point
        // moves with the shape: rounding the sum let a half-pixel tie fall either way
        // depending on where the shape stood and on the sign of its coordinates.
        // An axis of no length (a box one pixel wide or high) keeps the point on the centre's
        // line: the scale there may be far beyond any coordinate.
        const double offsetX = a > 0 ? dx * scale : 0.0;
        const double offsetY = b > 0 ? -dy * scale : 0.0;
        int64_t x = s.CentreX + static_cast<int64_t>(std::floor(offsetX + 0.5));
        int64_t y = s.CentreY + static_cast<int64_t>(std::floor(offsetY + 0.5));
        return TPoint{static_cast<int32_t>(std::clamp(x, box.Left, box.LastX())),
                      static_cast<int32_t>(std::clamp(y, box.Top, box.LastY()))};
    };
    s.StartPoint = onEllipse(s.StartX, s.StartY);
    s.EndPoint = onEllipse(s.EndX, s.EndY);
    return s;
}

void TCanvas::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    DrawRounded(BoxBetween(LogicalToDevice({left, top}), LogicalToDevice({right, bottom})), 0, 0,
                TShape::shClosed, nullptr);
}

void TCanvas::RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom,
                        int32_t cornerWidth, int32_t cornerHeight) {
    DrawRounded(BoxBetween(LogicalToDevice({left, top}), LogicalToDevice({right, bottom})),
                std::abs(int64_t{cornerWidth}), std::abs(int64_t{cornerHeight}), TShape::shClosed,
                nullptr);
}

void TCanvas::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    DrawRounded(BoxBetween(LogicalToDevice({left, top}), LogicalToDevice({right, bottom})),
                kWholeBox, kWholeBox, TShape::shClosed, nullptr);
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
    TPoint start = LogicalToDevice({x3, y3});
    TPoint end = LogicalToDevice({x4, y4});
    TSector sector;
    sector.StartX = start.X;
    sector.StartY = start.Y;
    sector.EndX = end.X;
    sector.EndY = end.Y;
    DrawRounded(BoxBetween(LogicalToDevice({x1, y1}), LogicalToDevice({x2, y2})), kWholeBox,
                kWholeBox, shape, &sector);
}

void TCanvas::DrawRounded(TRect64 box, int64_t cornerW, int64_t cornerH, TShape shape,
                          const TSector* givenSector) {
    int64_t width = PenWidth();
    bool pen = PenVisible();
    bool brush = BrushVisible() && shape != TShape::shArc;
    if (m_pen.Style() == TPenStyle::psInsideFrame && width > 1) {
        box = {box.Left + width / 2, box.Top + width / 2, box.Right - (width - 1) / 2,
               box.Bottom - (width - 1) / 2};
    }
    if (box.IsEmpty() || (!pen && !brush)) {
        return;
    }
    TSector sector;
    if (givenSector != nullptr) {
        sector = TSector::Place(box, givenSector->StartX, givenSector->StartY, givenSector->EndX,
                                givenSector->EndY);
    }
    const TSector* inSector = givenSector != nullptr ? &sector : nullptr;
    auto visible = [&](int32_t x, int32_t y) {
        return inSector == nullptr || inSector->Contains(x, y);
    };

    Changing();
    detail::TSurface surface = Surface();
    const TRect clip = surface.Clip->Bounds();
    // A device column limited to the clip's columns.
    auto clipX = [&](int64_t x) {
        return static_cast<int32_t>(std::clamp<int64_t>(x, clip.Left, clip.Right));
    };
    // Adds the part of [x0, x1) on row y inside the clip's columns and the sector.
    auto emitSpan = [&](int32_t y, int64_t from, int64_t to, auto&& sink) {
        int32_t x0 = clipX(from);
        int32_t x1 = clipX(to);
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
    TRect64 inner{box.Left + (width + 1) / 2, box.Top + (width + 1) / 2, box.LastX() - width / 2,
                  box.LastY() - width / 2};
    TRect64 outer{box.Left - width / 2, box.Top - width / 2, box.LastX() + (width + 1) / 2,
                  box.LastY() + (width + 1) / 2};
    int64_t innerW = ellipse ? kWholeBox : Corner(cornerW, -width);
    int64_t innerH = ellipse ? kWholeBox : Corner(cornerH, -width);
    int64_t outerW = ellipse ? kWholeBox : (cornerW == 0 ? width : cornerW + width);
    int64_t outerH = ellipse ? kWholeBox : (cornerH == 0 ? width : cornerH + width);

    if (brush) {
        detail::TInk ink = BrushInk(m_pen.Mode());
        auto fill = [&](int32_t y, int32_t x0, int32_t x1) {
            detail::FillSpan(surface, y, x0, x1, ink);
        };
        if (!pen || width > 1) {
            // Without a pen the fill reaches one pixel less on the right and bottom.
            TRect64 fillBox = !pen ? TRect64{box.Left, box.Top, box.LastX(), box.LastY()} : inner;
            if (!fillBox.IsEmpty()) {
                TShapeRows rows(fillBox, !pen ? cornerW : innerW, !pen ? cornerH : innerH);
                ForVisibleRows(fillBox, clip, [&](int32_t y) {
                    TWideRowExtent row = rows.Row(y);
                    emitSpan(y, row.First, row.Last + 1, fill);
                });
            }
        } else {
            TShapeRows rows(box, cornerW, cornerH);
            ForVisibleRows(box, clip, [&](int32_t y) {
                TRowParts p = rows.Parts(y);
                emitSpan(y, p.LeftEnd + 1, p.RightStart, fill);
            });
        }
    }

    if (pen) {
        detail::TInk ink = PenInk();
        if (width > 1) {
            // The outline is the outer shape less the inner one, painted once through a mask
            // over its visible part.
            detail::TMask mask(outer.Intersect(clip));
            auto add = [&](int32_t y, int32_t x0, int32_t x1) { mask.AddSpan(y, x0, x1); };
            TShapeRows outerRows(outer, outerW, outerH);
            ForVisibleRows(outer, mask.Box(), [&](int32_t y) {
                TWideRowExtent row = outerRows.Row(y);
                emitSpan(y, row.First, row.Last + 1, add);
            });
            if (!inner.IsEmpty()) {
                TShapeRows innerRows(inner, innerW, innerH);
                ForVisibleRows(inner, mask.Box(), [&](int32_t y) {
                    TWideRowExtent row = innerRows.Row(y);
                    mask.RemoveSpan(y, clipX(row.First), clipX(row.Last + 1));
                });
            }
            if (shape == TShape::shPie && !mask.Box().IsEmpty()) {
                TPoint centre{static_cast<int32_t>(sector.CentreX),
                              static_cast<int32_t>(sector.CentreY)};
                // The stroker walks a vertical segment's whole length; its rows are
                // independent, so cutting its ends to the mask's rows keeps every pixel the
                // mask holds. Other radii cost only the mask's rows already.
                auto cut = [&](TPoint p, TPoint other) {
                    if (p.X == other.X) {
                        p.Y = std::clamp(p.Y, mask.Box().Top, mask.Box().Bottom);
                    }
                    return p;
                };
                AddWideSegment(mask, cut(sector.StartPoint, centre), cut(centre, sector.StartPoint),
                               static_cast<int32_t>(width));
                AddWideSegment(mask, cut(centre, sector.EndPoint), cut(sector.EndPoint, centre),
                               static_cast<int32_t>(width));
                AddRoundDot(mask, sector.StartPoint, static_cast<int32_t>(width));
                AddRoundDot(mask, centre, static_cast<int32_t>(width));
                AddRoundDot(mask, sector.EndPoint, static_cast<int32_t>(width));
            }
            mask.Paint(surface, ink);
        } else if (cornerW == 0 && cornerH == 0 && box.Width() > 1 && box.Height() > 1 &&
                   m_pen.Style() != TPenStyle::psSolid &&
                   m_pen.Style() != TPenStyle::psInsideFrame) {
            // A styled rectangle outline runs from the top-right corner counter-clockwise; the
            // line stepper skips straight to the visible pixels.
            auto left = static_cast<int32_t>(box.Left);
            auto top = static_cast<int32_t>(box.Top);
            auto right = static_cast<int32_t>(box.LastX());
            auto bottom = static_cast<int32_t>(box.LastY());
            std::array<TPoint, 4> path = {TPoint{right, top}, TPoint{left, top},
                                          TPoint{left, bottom}, TPoint{right, bottom}};
            ThinPath(path, true);
        } else if (cornerW == 0 && cornerH == 0 && inSector == nullptr && shape != TShape::shPie &&
                   (m_pen.Style() == TPenStyle::psSolid ||
                    m_pen.Style() == TPenStyle::psInsideFrame)) {
            // A solid rectangle outline: its edge rows, then the edge columns between them,
            // each pixel once.
            auto paint = [&](int32_t y, int32_t x0, int32_t x1) {
                detail::FillSpan(surface, y, x0, x1, ink);
            };
            const int64_t top = std::max<int64_t>(box.Top, clip.Top);
            const int64_t end = std::min<int64_t>(box.LastY(), int64_t{clip.Bottom} - 1);
            for (int64_t y = top; y <= end; ++y) {
                const auto row = static_cast<int32_t>(y);
                if (y == box.Top || y == box.LastY()) {
                    emitSpan(row, box.Left, box.Right, paint);
                } else {
                    emitSpan(row, box.Left, box.Left + 1, paint);
                    if (box.LastX() > box.Left) {
                        emitSpan(row, box.LastX(), box.Right, paint);
                    }
                }
            }
        } else {
            // Outline pixels inside the clip, in drawing order: the shape's boundary (within
            // the sector) row by row, then a pie's radii. Pixels outside the clip never count
            // for the dash pattern, so leaving them out changes nothing.
            std::vector<TPoint> pixels;
            auto collect = [&](int32_t y, int32_t x0, int32_t x1) {
                for (int32_t x = x0; x < x1; ++x) {
                    pixels.push_back({x, y});
                }
            };
            TShapeRows rows(box, cornerW, cornerH);
            ForVisibleRows(box, clip, [&](int32_t y) {
                TRowParts p = rows.Parts(y);
                if (p.LeftEnd + 1 >= p.RightStart) {
                    emitSpan(y, p.First, p.Last + 1, collect);
                } else {
                    emitSpan(y, p.First, p.LeftEnd + 1, collect);
                    emitSpan(y, p.RightStart, p.Last + 1, collect);
                }
            });
            bool styled =
                m_pen.Style() != TPenStyle::psSolid && m_pen.Style() != TPenStyle::psInsideFrame;
            if (styled) {
                // The dash pattern follows the outline counter-clockwise.
                double cx =
                    static_cast<double>(box.Left) + static_cast<double>(box.Width() - 1) / 2.0;
                double cy =
                    static_cast<double>(box.Top) + static_cast<double>(box.Height() - 1) / 2.0;
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
                    detail::StepLine(from.X, from.Y, to.X, to.Y, clip,
                                     [&](int32_t x, int32_t y, int64_t) {
                                         pixels.push_back({x, y});
                                     });
                    if (clip.Contains(to.X, to.Y)) {
                        pixels.push_back(to);
                    }
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
