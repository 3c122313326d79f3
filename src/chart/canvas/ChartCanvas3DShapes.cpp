// The chart canvas' operations at depth: segments, polygons, boxes, arrows, ellipses, the box
// clip, and the cylinder, pyramid, cone and pie solids.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "chart/canvas/ChartCanvas3D.h"
#include "chart/canvas/ChartColorMath.h"

namespace chart {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Points of the outline of an ellipse drawn in the rotated projection.
constexpr int32_t kEllipsePoints = 32;

int32_t RoundToInt(double value) {
    return static_cast<int32_t>(std::lround(value));
}

int64_t Cross(gfx::TPoint o, gfx::TPoint a, gfx::TPoint b) {
    return (static_cast<int64_t>(a.X) - o.X) * (static_cast<int64_t>(b.Y) - o.Y) -
           (static_cast<int64_t>(a.Y) - o.Y) * (static_cast<int64_t>(b.X) - o.X);
}

// The convex hull of the points (monotone chain), without repeated or collinear points.
std::vector<gfx::TPoint> ConvexHull(std::vector<gfx::TPoint> points) {
    std::sort(points.begin(), points.end(),
              [](gfx::TPoint a, gfx::TPoint b) { return a.X != b.X ? a.X < b.X : a.Y < b.Y; });
    points.erase(std::unique(points.begin(), points.end()), points.end());
    if (points.size() < 3) {
        return points;
    }
    std::vector<gfx::TPoint> hull(2 * points.size());
    size_t k = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        while (k >= 2 && Cross(hull[k - 2], hull[k - 1], points[i]) <= 0) {
            --k;
        }
        hull[k++] = points[i];
    }
    for (size_t i = points.size() - 1, lower = k + 1; i > 0; --i) {
        while (k >= lower && Cross(hull[k - 2], hull[k - 1], points[i - 1]) <= 0) {
            --k;
        }
        hull[k++] = points[i - 1];
    }
    hull.resize(k - 1);
    return hull;
}

}  // namespace

void TChartCanvas3D::PutPixelAtDepth(int32_t x, int32_t y, int32_t z, gfx::TColor color) {
    ProjectPoint(x, y, z);
    if (Pen().Width() <= 1) {
        PutPixel(x, y, color);
    } else {
        ReferenceCanvas().MoveTo(x, y);
        ReferenceCanvas().LineTo(x, y);
    }
}

void TChartCanvas3D::HorzSegmentAtDepth(int32_t x0, int32_t x1, int32_t y, int32_t z) {
    SegmentAtDepth(x0, y, x1, y, z);
}

void TChartCanvas3D::VertSegmentAtDepth(int32_t x, int32_t y0, int32_t y1, int32_t z) {
    SegmentAtDepth(x, y0, x, y1, z);
}

void TChartCanvas3D::DepthSegment(int32_t x, int32_t y, int32_t z0, int32_t z1) {
    const gfx::TPoint a = ProjectToPoint(x, y, z0);
    const gfx::TPoint b = ProjectToPoint(x, y, z1);
    Segment(a.X, a.Y, b.X, b.Y);
}

void TChartCanvas3D::SegmentAtDepth(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t z) {
    ProjectPoint(x0, y0, z);
    ProjectPoint(x1, y1, z);
    Segment(x0, y0, x1, y1);
}

void TChartCanvas3D::PenMoveToAtDepth(int32_t x, int32_t y, int32_t z) {
    ProjectPoint(x, y, z);
    PenMoveTo(x, y);
}

void TChartCanvas3D::PenLineToAtDepth(int32_t x, int32_t y, int32_t z) {
    ProjectPoint(x, y, z);
    PenLineTo(x, y);
}

void TChartCanvas3D::DepthQuad(gfx::TPoint a, gfx::TPoint b, int32_t z0, int32_t z1) {
    const gfx::TPoint points[] = {ProjectToPoint(a.X, a.Y, z1), ProjectToPoint(b.X, b.Y, z1),
                                  ProjectToPoint(b.X, b.Y, z0), ProjectToPoint(a.X, a.Y, z0)};
    Polygon(points);
}

void TChartCanvas3D::QuadAtDepth(const std::array<gfx::TPoint, 4>& points, int32_t z) {
    std::array<gfx::TPoint, 4> projected;
    for (size_t i = 0; i < points.size(); ++i) {
        projected[i] = ProjectToPoint(points[i].X, points[i].Y, z);
    }
    Polygon(projected);
}

void TChartCanvas3D::QuadAcrossDepths(std::array<gfx::TPoint, 4>& points, int32_t z0, int32_t z1) {
    ProjectPoint(points[0].X, points[0].Y, z0);
    ProjectPoint(points[1].X, points[1].Y, z0);
    ProjectPoint(points[2].X, points[2].Y, z1);
    ProjectPoint(points[3].X, points[3].Y, z1);
    Polygon(points);
}

void TChartCanvas3D::PolygonAtDepth(std::span<const gfx::TPoint> points, int32_t highestIndex,
                                    int32_t /*z*/) {
    PolygonShape(points, highestIndex);
}

void TChartCanvas3D::RectAtDepth(const gfx::TRect& rect, int32_t z) {
    QuadAtDepth({gfx::TPoint{rect.Left, rect.Top}, gfx::TPoint{rect.Right, rect.Top},
                 gfx::TPoint{rect.Right, rect.Bottom}, gfx::TPoint{rect.Left, rect.Bottom}},
                z);
}

void TChartCanvas3D::HorzRectAcrossDepth(int32_t x0, int32_t y, int32_t x1, int32_t z0,
                                         int32_t z1) {
    const gfx::TPoint points[] = {ProjectToPoint(x0, y, z0), ProjectToPoint(x1, y, z0),
                                  ProjectToPoint(x1, y, z1), ProjectToPoint(x0, y, z1)};
    Polygon(points);
}

void TChartCanvas3D::VertRectAcrossDepth(int32_t x, int32_t y0, int32_t y1, int32_t z0,
                                         int32_t z1) {
    const gfx::TPoint points[] = {ProjectToPoint(x, y0, z0), ProjectToPoint(x, y0, z1),
                                  ProjectToPoint(x, y1, z1), ProjectToPoint(x, y1, z0)};
    Polygon(points);
}

void TChartCanvas3D::TriangleOf3DPoints(TPoint3D a, TPoint3D b, TPoint3D c, gfx::TColor color) {
    Brush().SetColor(color);
    const gfx::TPoint points[] = {ProjectToPoint(a.X, a.Y, a.Z), ProjectToPoint(b.X, b.Y, b.Z),
                                  ProjectToPoint(c.X, c.Y, c.Z)};
    Polygon(points);
}

void TChartCanvas3D::TriangleAtDepth(gfx::TPoint a, gfx::TPoint b, gfx::TPoint c, int32_t z) {
    const gfx::TPoint points[] = {ProjectToPoint(a.X, a.Y, z), ProjectToPoint(b.X, b.Y, z),
                                  ProjectToPoint(c.X, c.Y, z)};
    Polygon(points);
}

void TChartCanvas3D::SphereShape(int32_t x, int32_t y, double radius, int32_t z) {
    const int32_t r = static_cast<int32_t>(std::nearbyint(radius));
    EllipseAtDepth(x - r, y - r, x + r, y + r, z);
}

void TChartCanvas3D::DepthPlaceholder(gfx::TPoint /*point*/, int32_t /*a*/, int32_t /*b*/) {}

void TChartCanvas3D::EllipseAtDepth(int32_t left, int32_t top, int32_t right, int32_t bottom,
                                    int32_t z) {
    if (IsOrthogonal()) {
        const gfx::TPoint a = ProjectToPoint(left, top, z);
        const gfx::TPoint b = ProjectToPoint(right, bottom, z);
        EllipseShape(a.X, a.Y, b.X, b.Y);
        return;
    }
    if (!Is3D()) {
        EllipseShape(left, top, right + 1, bottom + 1);
        return;
    }
    // Rotated: a polygon of 32 points once round the ellipse (the last joins the first),
    // filled as triangles from the centre, then outlined.
    const int32_t cx = (left + right) / 2;
    const int32_t cy = (top + bottom) / 2;
    const int32_t rx = (right - left) / 2;
    const int32_t ry = (bottom - top) / 2;
    std::array<gfx::TPoint, kEllipsePoints> points;
    points[0] = ProjectToPoint(cx, bottom, z);
    const double step = 2 * kPi / (kEllipsePoints - 1);
    for (int32_t k = 1; k < kEllipsePoints; ++k) {
        points[static_cast<size_t>(k)] =
            ProjectToPoint(cx + static_cast<int32_t>(std::trunc(rx * std::sin(k * step))),
                           cy + static_cast<int32_t>(std::trunc(ry * std::cos(k * step))), z);
    }
    if (Brush().Style() != gfx::TBrushStyle::bsClear) {
        const gfx::TPoint centre = ProjectToPoint(cx, cy, z);
        const gfx::TPenStyle penStyle = Pen().Style();
        Pen().SetStyle(gfx::TPenStyle::psClear);
        for (size_t k = 0; k + 1 < points.size(); ++k) {
            const gfx::TPoint triangle[] = {centre, points[k], points[k + 1]};
            Polygon(triangle);
        }
        Pen().SetStyle(penStyle);
    }
    if (Pen().Style() != gfx::TPenStyle::psClear) {
        ReferenceCanvas().Polyline(points);
    }
}

void TChartCanvas3D::ArrowShape(bool filled, gfx::TPoint from, gfx::TPoint to, int32_t headWidth,
                                int32_t headHeight, int32_t z) {
    const double dx = static_cast<double>(to.X) - from.X;
    const double dy = static_cast<double>(to.Y) - from.Y;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length == 0) {
        return;
    }
    const double head = std::min(std::nearbyint(length), static_cast<double>(headHeight));
    const double ux = dx / length;
    const double uy = dy / length;
    // Unit normal, and the head's base point.
    const double nx = -uy;
    const double ny = ux;
    const double baseX = to.X - ux * head;
    const double baseY = to.Y - uy * head;
    const double headHalf = headWidth / 2.0;
    auto at = [&](double x, double y) { return ProjectToPoint(RoundToInt(x), RoundToInt(y), z); };
    const gfx::TPoint tip = ProjectToPoint(to.X, to.Y, z);
    const gfx::TPoint corner1 = at(baseX + nx * headHalf, baseY + ny * headHalf);
    const gfx::TPoint corner2 = at(baseX - nx * headHalf, baseY - ny * headHalf);
    if (!filled) {
        const gfx::TPoint start = ProjectToPoint(from.X, from.Y, z);
        Segment(start.X, start.Y, tip.X, tip.Y);
        Segment(tip.X, tip.Y, corner1.X, corner1.Y);
        Segment(tip.X, tip.Y, corner2.X, corner2.Y);
        return;
    }
    const double shaftHalf = headWidth / 4.0;
    const gfx::TPoint points[] = {at(from.X + nx * shaftHalf, from.Y + ny * shaftHalf),
                                  at(baseX + nx * shaftHalf, baseY + ny * shaftHalf),
                                  corner1,
                                  tip,
                                  corner2,
                                  at(baseX - nx * shaftHalf, baseY - ny * shaftHalf),
                                  at(from.X - nx * shaftHalf, from.Y - ny * shaftHalf)};
    Polygon(points);
}

void TChartCanvas3D::ClipToBox(const gfx::TRect& rect, int32_t z0, int32_t z1) {
    if (IsFlat()) {
        ClipToRect(gfx::TRect(rect.Left + 1, rect.Top + 1, rect.Right, rect.Bottom - 1));
        return;
    }
    // The outline of the projected box: the convex hull of its eight corners, which is the
    // six-corner silhouette in any oblique or rotated view.
    std::vector<gfx::TPoint> corners;
    for (int32_t x : {rect.Left, rect.Right}) {
        for (int32_t y : {rect.Top, rect.Bottom}) {
            for (int32_t z : {z0, z1}) {
                corners.push_back(ProjectToPoint(x, y, z));
            }
        }
    }
    const std::vector<gfx::TPoint> points = ConvexHull(corners);
    ReferenceCanvas().SetClipPolygon(points);
}

void TChartCanvas3D::BoxShape(int32_t left, int32_t right, int32_t top, int32_t bottom, int32_t z0,
                              int32_t z1, bool darkSides) {
    const gfx::TPoint front[] = {ProjectToPoint(left, top, z0), ProjectToPoint(right, top, z0),
                                 ProjectToPoint(right, bottom, z0),
                                 ProjectToPoint(left, bottom, z0)};
    Polygon(front);
    const bool solid = Brush().Style() == gfx::TBrushStyle::bsSolid;
    const gfx::TColor savedBrush = Brush().Color();
    const gfx::TColor savedBack = ReadBackColor();
    const gfx::TColor face = solid ? savedBrush : savedBack;
    auto shade = [&](int32_t amount) {
        if (!darkSides) {
            return;
        }
        const gfx::TColorRef darker = DarkenColor(face, amount);
        if (solid) {
            Brush().SetColor(darker);
        } else {
            WriteBackColor(darker);
        }
    };
    const int32_t sideX =
        ProjectToPoint(right, bottom, z1).X > ProjectToPoint(right, bottom, z0).X ? right : left;
    shade(kBoxSideDarkening);
    const gfx::TPoint side[] = {ProjectToPoint(sideX, top, z0), ProjectToPoint(sideX, top, z1),
                                ProjectToPoint(sideX, bottom, z1),
                                ProjectToPoint(sideX, bottom, z0)};
    Polygon(side);
    if (ProjectToPoint(right, top, z0).Y > ProjectToPoint(left, top, z1).Y) {
        shade(kBoxTopDarkening);
        const gfx::TPoint topFace[] = {
            ProjectToPoint(left, top, z0), ProjectToPoint(right, top, z0),
            ProjectToPoint(right, top, z1), ProjectToPoint(left, top, z1)};
        Polygon(topFace);
    }
    if (darkSides) {
        Brush().SetColor(savedBrush);
        WriteBackColor(savedBack);
    }
}

}  // namespace chart
