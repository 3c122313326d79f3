// The chart canvas' round and pointed solids: cylinder, pyramid, cone and the 3D pie slice,
// drawn as the faces of a convex solid that turn towards the viewer.
#include <algorithm>
#include <cmath>
#include <vector>

#include "chart/canvas/ChartCanvas3D.h"
#include "chart/canvas/ChartColorMath.h"

namespace chart {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kSideDarkening = 128;
constexpr int32_t kTopDarkening = 64;
// Arc points of a 3D pie slice per full turn.
constexpr int32_t kPieStepsPerTurn = 64;
// Distance of the ray points handed to the device pie, pixels beyond the radius.
constexpr int32_t kRayLength = 1000;

struct TVector {
    double X = 0;
    double Y = 0;
    double Z = 0;
};

TPoint3D At(double x, double y, double z) {
    return {static_cast<int32_t>(std::lround(x)), static_cast<int32_t>(std::lround(y)),
            static_cast<int32_t>(std::lround(z))};
}

// Newell's normal of a polygon in world coordinates.
TVector NormalOf(const std::vector<TPoint3D>& corners) {
    TVector n;
    for (size_t i = 0; i < corners.size(); ++i) {
        const TPoint3D& a = corners[i];
        const TPoint3D& b = corners[(i + 1) % corners.size()];
        n.X += (static_cast<double>(a.Y) - b.Y) * (static_cast<double>(a.Z) + b.Z);
        n.Y += (static_cast<double>(a.Z) - b.Z) * (static_cast<double>(a.X) + b.X);
        n.Z += (static_cast<double>(a.X) - b.X) * (static_cast<double>(a.Y) + b.Y);
    }
    return n;
}

TVector CentreOf(const std::vector<TPoint3D>& corners) {
    TVector c;
    for (const TPoint3D& p : corners) {
        c.X += p.X;
        c.Y += p.Y;
        c.Z += p.Z;
    }
    const double count = static_cast<double>(std::max<size_t>(corners.size(), 1));
    return {c.X / count, c.Y / count, c.Z / count};
}

// Turns the face so that its normal points away from the solid's centre.
void OrientOutward(std::vector<TPoint3D>& corners, const TVector& solidCentre) {
    const TVector n = NormalOf(corners);
    const TVector c = CentreOf(corners);
    const double outward =
        n.X * (c.X - solidCentre.X) + n.Y * (c.Y - solidCentre.Y) + n.Z * (c.Z - solidCentre.Z);
    if (outward < 0) {
        std::reverse(corners.begin(), corners.end());
    }
}

// Twice the signed area of a screen polygon (y down).
int64_t SignedArea(const std::vector<gfx::TPoint>& points) {
    int64_t sum = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        const gfx::TPoint& a = points[i];
        const gfx::TPoint& b = points[(i + 1) % points.size()];
        sum += static_cast<int64_t>(a.X) * b.Y - static_cast<int64_t>(b.X) * a.Y;
    }
    return sum;
}

// Point of an ellipse of the given radii at an angle (radians, counter-clockwise on screen).
gfx::TPoint RayPoint(gfx::TPoint centre, double radiusX, double radiusY, double angle) {
    return {centre.X + static_cast<int32_t>(std::lround(radiusX * std::cos(angle))),
            centre.Y - static_cast<int32_t>(std::lround(radiusY * std::sin(angle)))};
}

}  // namespace

struct TChartCanvas3D::TFace {
    std::vector<TPoint3D> Corners;
    int32_t Darkening = 0;
};

void TChartCanvas3D::DrawSolid(std::span<const TFace> faces, bool darkSides) {
    std::vector<TPoint3D> all;
    for (const TFace& face : faces) {
        all.insert(all.end(), face.Corners.begin(), face.Corners.end());
    }
    const TVector centre = CentreOf(all);
    // Which way a face facing the viewer runs on the screen: that of a small front face.
    std::vector<TPoint3D> reference = {At(centre.X, centre.Y, centre.Z),
                                       At(centre.X + 100, centre.Y, centre.Z),
                                       At(centre.X + 100, centre.Y + 100, centre.Z)};
    OrientOutward(reference, {centre.X + 33, centre.Y + 66, centre.Z + 1});
    auto project = [this](const std::vector<TPoint3D>& corners) {
        std::vector<gfx::TPoint> points;
        points.reserve(corners.size());
        for (const TPoint3D& p : corners) {
            points.push_back(ProjectToPoint(p.X, p.Y, p.Z));
        }
        return points;
    };
    const int64_t frontSense = SignedArea(project(reference));
    if (frontSense == 0) {
        return;
    }
    const bool solid = Brush().Style() == gfx::TBrushStyle::bsSolid;
    const gfx::TColor savedBrush = Brush().Color();
    const gfx::TColor savedBack = ReadBackColor();
    const gfx::TColor faceColor = solid ? savedBrush : savedBack;
    for (const TFace& face : faces) {
        std::vector<TPoint3D> corners = face.Corners;
        OrientOutward(corners, centre);
        const std::vector<gfx::TPoint> points = project(corners);
        const int64_t area = SignedArea(points);
        if (area == 0 || (area > 0) != (frontSense > 0)) {
            continue;
        }
        if (darkSides) {
            const gfx::TColorRef color = DarkenColor(faceColor, face.Darkening);
            if (solid) {
                Brush().SetColor(color);
            } else {
                WriteBackColor(color);
            }
        }
        Polygon(points);
    }
    if (darkSides) {
        Brush().SetColor(savedBrush);
        WriteBackColor(savedBack);
    }
}

void TChartCanvas3D::CylinderShape(bool vertical, int32_t left, int32_t top, int32_t right,
                                   int32_t bottom, int32_t z0, int32_t z1, bool darkSides) {
    if (IsFlat()) {
        RectShape(left, top, right, bottom);
        return;
    }
    // Two end polygons of 16 points round the axis, joined by 16 side faces; a side face is
    // darker the more it turns away from the viewer.
    const double cx = (left + right) / 2.0;
    const double cy = (top + bottom) / 2.0;
    const double cz = (z0 + z1) / 2.0;
    const double rx = (right - left) / 2.0;
    const double ry = (bottom - top) / 2.0;
    const double rz = (z1 - z0) / 2.0;
    std::vector<TPoint3D> first;
    std::vector<TPoint3D> second;
    std::vector<double> angles;
    for (int32_t k = 0; k < kRoundSolidPoints; ++k) {
        const double angle = 2 * kPi * k / kRoundSolidPoints;
        angles.push_back(angle);
        const double across = std::cos(angle);
        const double deep = cz + rz * std::sin(angle);
        if (vertical) {
            first.push_back(At(cx + rx * across, top, deep));
            second.push_back(At(cx + rx * across, bottom, deep));
        } else {
            first.push_back(At(left, cy + ry * across, deep));
            second.push_back(At(right, cy + ry * across, deep));
        }
    }
    std::vector<TFace> faces;
    for (int32_t k = 0; k < kRoundSolidPoints; ++k) {
        const size_t a = static_cast<size_t>(k);
        const size_t b = static_cast<size_t>((k + 1) % kRoundSolidPoints);
        const double middle = angles[a] + kPi / kRoundSolidPoints;
        // sin = -1 faces the viewer (smallest depth).
        const double facing = std::max(0.0, -std::sin(middle));
        faces.push_back({{first[a], first[b], second[b], second[a]},
                         static_cast<int32_t>(std::lround(kSideDarkening * (1.0 - facing)))});
    }
    faces.push_back({first, kTopDarkening});
    faces.push_back({second, kTopDarkening});
    DrawSolid(faces, darkSides);
}

void TChartCanvas3D::PyramidShape(bool vertical, int32_t left, int32_t top, int32_t right,
                                  int32_t bottom, int32_t z0, int32_t z1, bool darkSides) {
    const int32_t cx = (left + right) / 2;
    const int32_t cy = (top + bottom) / 2;
    if (IsFlat()) {
        const std::vector<gfx::TPoint> triangle =
            vertical ? std::vector<gfx::TPoint>{{left, bottom}, {cx, top}, {right, bottom}}
                     : std::vector<gfx::TPoint>{{left, top}, {right, cy}, {left, bottom}};
        Polygon(triangle);
        return;
    }
    // The base lies at the bottom (vertical) or the left (horizontal); the apex in the middle
    // of the opposite side at half depth. Faces across the view keep the face colour.
    const int32_t cz = (z0 + z1) / 2;
    std::vector<TFace> faces;
    if (vertical) {
        const TPoint3D apex{cx, top, cz};
        const TPoint3D a{left, bottom, z0};
        const TPoint3D b{right, bottom, z0};
        const TPoint3D c{right, bottom, z1};
        const TPoint3D d{left, bottom, z1};
        faces = {{{a, b, apex}, 0},
                 {{b, c, apex}, kSideDarkening},
                 {{c, d, apex}, 0},
                 {{d, a, apex}, kSideDarkening},
                 {{a, b, c, d}, kTopDarkening}};
    } else {
        const TPoint3D apex{right, cy, cz};
        const TPoint3D a{left, top, z0};
        const TPoint3D b{left, bottom, z0};
        const TPoint3D c{left, bottom, z1};
        const TPoint3D d{left, top, z1};
        faces = {{{a, b, apex}, 0},
                 {{b, c, apex}, kTopDarkening},
                 {{c, d, apex}, 0},
                 {{d, a, apex}, kTopDarkening},
                 {{a, b, c, d}, kSideDarkening}};
    }
    DrawSolid(faces, darkSides);
}

void TChartCanvas3D::ConeShape(bool vertical, int32_t left, int32_t top, int32_t right,
                               int32_t bottom, int32_t z0, int32_t z1, bool /*darkSides*/) {
    const int32_t cx = (left + right) / 2;
    const int32_t cy = (top + bottom) / 2;
    if (IsFlat()) {
        PyramidShape(vertical, left, top, right, bottom, z0, z1, true);
        return;
    }
    // A round base of 16 points with the apex like the pyramid's; always shaded.
    const double cz = (z0 + z1) / 2.0;
    const double rx = (right - left) / 2.0;
    const double ry = (bottom - top) / 2.0;
    const double rz = (z1 - z0) / 2.0;
    const TPoint3D apex = vertical ? TPoint3D{cx, top, static_cast<int32_t>(std::lround(cz))}
                                   : TPoint3D{right, cy, static_cast<int32_t>(std::lround(cz))};
    std::vector<TPoint3D> base;
    for (int32_t k = 0; k < kRoundSolidPoints; ++k) {
        const double angle = 2 * kPi * k / kRoundSolidPoints;
        const double deep = cz + rz * std::sin(angle);
        base.push_back(vertical ? At(cx + rx * std::cos(angle), bottom, deep)
                                : At(left, cy + ry * std::cos(angle), deep));
    }
    std::vector<TFace> faces;
    for (int32_t k = 0; k < kRoundSolidPoints; ++k) {
        const size_t a = static_cast<size_t>(k);
        const size_t b = static_cast<size_t>((k + 1) % kRoundSolidPoints);
        const double middle = 2 * kPi * (k + 0.5) / kRoundSolidPoints;
        const double facing = std::max(0.0, -std::sin(middle));
        faces.push_back({{base[a], base[b], apex},
                         static_cast<int32_t>(std::lround(kSideDarkening * (1.0 - facing)))});
    }
    faces.push_back({base, kTopDarkening});
    DrawSolid(faces, true);
}

void TChartCanvas3D::DepthPieShape(gfx::TPoint centre, int32_t xRadius, int32_t yRadius,
                                   double startAngle, double endAngle, int32_t z0, int32_t z1,
                                   bool darkSides) {
    if (endAngle < startAngle) {
        std::swap(startAngle, endAngle);
    }
    const double sweep = std::min(endAngle - startAngle, 2 * kPi);
    if (IsFlat()) {
        const gfx::TPoint start =
            RayPoint(centre, xRadius + kRayLength, yRadius + kRayLength, startAngle);
        const gfx::TPoint end =
            RayPoint(centre, xRadius + kRayLength, yRadius + kRayLength, startAngle + sweep);
        PieShape(centre.X - xRadius, centre.Y - yRadius, centre.X + xRadius, centre.Y + yRadius,
                 start.X, start.Y, end.X, end.Y);
        return;
    }
    const int32_t steps =
        std::max(2, static_cast<int32_t>(std::ceil(sweep * kPieStepsPerTurn / (2 * kPi))));
    std::vector<gfx::TPoint> arc;
    for (int32_t k = 0; k <= steps; ++k) {
        arc.push_back(RayPoint(centre, xRadius, yRadius, startAngle + sweep * k / steps));
    }
    auto face = [&](int32_t z) {
        std::vector<TPoint3D> corners = {{centre.X, centre.Y, z}};
        for (const gfx::TPoint& p : arc) {
            corners.push_back({p.X, p.Y, z});
        }
        return corners;
    };
    // Back to front: the back face, the two cut faces, the rim, then the front face; each
    // only where it turns towards the viewer.
    std::vector<TFace> faces;
    faces.push_back({face(z1), 0});
    faces.push_back({{{centre.X, centre.Y, z0},
                      {arc.front().X, arc.front().Y, z0},
                      {arc.front().X, arc.front().Y, z1},
                      {centre.X, centre.Y, z1}},
                     kSideDarkening});
    faces.push_back({{{centre.X, centre.Y, z0},
                      {arc.back().X, arc.back().Y, z0},
                      {arc.back().X, arc.back().Y, z1},
                      {centre.X, centre.Y, z1}},
                     kSideDarkening});
    for (size_t k = 0; k + 1 < arc.size(); ++k) {
        faces.push_back({{{arc[k].X, arc[k].Y, z0},
                          {arc[k + 1].X, arc[k + 1].Y, z0},
                          {arc[k + 1].X, arc[k + 1].Y, z1},
                          {arc[k].X, arc[k].Y, z1}},
                         kTopDarkening});
    }
    faces.push_back({face(z0), 0});
    DrawSolid(faces, darkSides);
}

}  // namespace chart
