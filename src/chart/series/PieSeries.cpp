// Circled and pie series: the circle's place, the slices with the other slice and explosion,
// their drawing flat and in 3D, and the pie's legend of slices.
#include "chart/series/PieSeries.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/Format.h"
#include "chart/engine/AxisPanel.h"
#include "chart/messages/ChartMessages.h"
#include "classes/ClassBuilder.h"

namespace chart {

namespace {
constexpr double kFullCircle = 360.0;  // degrees
constexpr double kPercent = 100.0;
constexpr int32_t kPieArrowLength = 8;  // pixels between a slice and its mark
// The other slice's colour.
constexpr gfx::TColor kOtherColor = 0x808080;
// Ray length that puts the device pie's end points well outside the circle, pixels.
constexpr double kRay = 10000.0;

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

// Brush hatches a slice takes by point index when UsePatterns is on.
gfx::TBrushStyle PatternOf(int32_t index) {
    constexpr gfx::TBrushStyle kPatterns[] = {
        gfx::TBrushStyle::bsSolid,     gfx::TBrushStyle::bsHorizontal, gfx::TBrushStyle::bsVertical,
        gfx::TBrushStyle::bsFDiagonal, gfx::TBrushStyle::bsBDiagonal,  gfx::TBrushStyle::bsCross,
        gfx::TBrushStyle::bsDiagCross};
    return kPatterns[index % std::size(kPatterns)];
}
}  // namespace

// --- Circled series --------------------------------------------------------------------------

TCircledSeries::TCircledSeries(classes::TComponent* owner) : TChartSeries(owner) {
    XValues().SetName("Angle");
}

void TCircledSeries::SetCircled(bool value) {
    if (value == m_circled) {
        return;
    }
    m_circled = value;
    RequestRepaint();
    if (TCustomAxisPanel* chart = ParentChart()) {
        for (int32_t k = 0; k < chart->SeriesCount(); ++k) {
            auto* other = dynamic_cast<TCircledSeries*>(chart->Series(k));
            if (other != nullptr && other != this && &other->ClassInfo() == &ClassInfo()) {
                other->SetCircled(value);
            }
        }
    }
}

void TCircledSeries::SetCustomXRadius(int32_t value) {
    if (value != m_customXRadius) {
        m_customXRadius = value;
        RequestRepaint();
    }
}

void TCircledSeries::SetCustomYRadius(int32_t value) {
    if (value != m_customYRadius) {
        m_customYRadius = value;
        RequestRepaint();
    }
}

void TCircledSeries::SetCircleBackColor(gfx::TColor value) {
    if (value != m_circleBackColor) {
        m_circleBackColor = value;
        RequestRepaint();
    }
}

gfx::TPoint TCircledSeries::CircleCentre() const {
    if (ParentChart() == nullptr) {
        return {0, 0};
    }
    const gfx::TRect& plot = ParentChart()->PlotRect();
    return {(plot.Left + plot.Right) / 2, (plot.Top + plot.Bottom) / 2};
}

int32_t TCircledSeries::XRadius() const {
    if (m_customXRadius > 0 || ParentChart() == nullptr) {
        return m_customXRadius;
    }
    const int32_t x = ParentChart()->PlotWidth() / 2;
    return m_circled ? std::min(x, ParentChart()->PlotHeight() / 2) : x;
}

int32_t TCircledSeries::YRadius() const {
    if (m_customYRadius > 0 || ParentChart() == nullptr) {
        return m_customYRadius;
    }
    const int32_t y = ParentChart()->PlotHeight() / 2;
    return m_circled ? std::min(y, ParentChart()->PlotWidth() / 2) : y;
}

const classes::TClassInfo& TCircledSeries::StaticClass() {
    using T = TCircledSeries;
    static const classes::TClassInfo info =
        classes::TClassBuilder<T>("TCircledSeries", &TChartSeries::StaticClass())
            .Boolean("Circled", &T::Circled, &T::SetCircled, false)
            .Integer("CustomXRadius", &T::CustomXRadius, &T::SetCustomXRadius, 0)
            .Integer("CustomYRadius", &T::CustomYRadius, &T::SetCustomYRadius, 0)
            .Build();
    return info;
}

const classes::TClassInfo& TCircledSeries::ClassInfo() const {
    return StaticClass();
}

// --- Other slice -----------------------------------------------------------------------------

TPieOtherSlice::TPieOtherSlice(TChartSeries& series) : m_series(series), m_text(kMsgPieOther) {}

void TPieOtherSlice::SetStyle(TPieOtherStyle value) {
    if (value != m_style) {
        m_style = value;
        m_series.RequestRepaint();
    }
}

void TPieOtherSlice::SetText(const std::string& value) {
    if (value != m_text) {
        m_text = value;
        m_series.RequestRepaint();
    }
}

void TPieOtherSlice::SetValue(double value) {
    if (value != m_value) {
        m_value = value;
        m_series.RequestRepaint();
    }
}

const classes::TClassInfo& TPieOtherSlice::StaticClass() {
    using T = TPieOtherSlice;
    static const classes::TClassInfo info =
        classes::TClassBuilder<T>("TPieOtherSlice", &classes::TPersistent::StaticClass())
            .Enum<TPieOtherStyle>("Style", &T::Style, &T::SetStyle,
                                  {"poNone", "poBelowPercent", "poBelowValue"},
                                  TPieOtherStyle::poNone)
            .String("Text", &T::Text, &T::SetText, std::string(kMsgPieOther))
            .Float("Value", &T::Value, &T::SetValue, 0.0)
            .Build();
    return info;
}

const classes::TClassInfo& TPieOtherSlice::ClassInfo() const {
    return StaticClass();
}

// --- Pie series ------------------------------------------------------------------------------

TPieSeries::TPieSeries(classes::TComponent* owner)
    : TCircledSeries(owner),
      m_otherSlice(std::make_unique<TPieOtherSlice>(*this)),
      m_piePen(std::make_unique<TChartPen>([this] { RequestRepaint(); })) {
    XValues().SetName("");
    YValues().SetName("Pie");
    Marks().SetVisible(true);
    Marks().SetArrowLength(kPieArrowLength);
    SetColorEachPoint(true);
}

TPieSeries::~TPieSeries() = default;

void TPieSeries::SetDark3D(bool value) {
    if (value != m_dark3D) {
        m_dark3D = value;
        RequestRepaint();
    }
}

void TPieSeries::SetExplodeBiggest(int32_t value) {
    if (value != m_explodeBiggest) {
        m_explodeBiggest = value;
        RequestRepaint();
    }
}

int32_t TPieSeries::ExplodedSlice(int32_t index) const {
    return index >= 0 && static_cast<size_t>(index) < m_explodedSlices.size()
               ? m_explodedSlices[static_cast<size_t>(index)]
               : 0;
}

void TPieSeries::SetExplodedSlice(int32_t index, int32_t percent) {
    if (index < 0) {
        return;
    }
    if (static_cast<size_t>(index) >= m_explodedSlices.size()) {
        m_explodedSlices.resize(static_cast<size_t>(index) + 1, 0);
    }
    if (m_explodedSlices[static_cast<size_t>(index)] != percent) {
        m_explodedSlices[static_cast<size_t>(index)] = percent;
        RequestRepaint();
    }
}

void TPieSeries::SetRotationAngle(int32_t value) {
    if (value < 0) {
        throw PieException(base::Format(kMsgAngleRange, {std::string(kMsgRotation)}));
    }
    const int32_t angle = value % static_cast<int32_t>(kFullCircle);
    if (angle != m_rotationAngle) {
        m_rotationAngle = angle;
        m_rotationRadians = Radians(angle);
        RequestRepaint();
    }
}

void TPieSeries::SetUsePatterns(bool value) {
    if (value != m_usePatterns) {
        m_usePatterns = value;
        RequestRepaint();
    }
}

bool TPieSeries::InOther(int32_t index, double total) const {
    const double value = std::fabs(YValueAt(index));
    switch (m_otherSlice->Style()) {
        case TPieOtherStyle::poNone:
            return false;
        case TPieOtherStyle::poBelowPercent:
            return total > 0 && value * kPercent / total < m_otherSlice->Value();
        case TPieOtherStyle::poBelowValue:
            return value < m_otherSlice->Value();
    }
    return false;
}

std::vector<TPieSlice> TPieSeries::Slices() const {
    std::vector<TPieSlice> slices;
    double total = 0;
    int32_t biggest = -1;
    for (int32_t i = 0; i < PointCount(); ++i) {
        if (PointColor(i) == gfx::clNone) {
            continue;
        }
        total += std::fabs(YValueAt(i));
        if (biggest < 0 || std::fabs(YValueAt(i)) > std::fabs(YValueAt(biggest))) {
            biggest = i;
        }
    }
    if (total == 0) {
        return slices;
    }
    double angle = m_rotationAngle;
    double other = 0;
    for (int32_t i = 0; i < PointCount(); ++i) {
        if (PointColor(i) == gfx::clNone) {
            continue;
        }
        const double value = std::fabs(YValueAt(i));
        if (InOther(i, total)) {
            other += value;
            continue;
        }
        const double sweep = value * kFullCircle / total;
        slices.push_back(
            {i, angle, angle + sweep, YValueAt(i), PointColor(i),
             i == biggest ? std::max(m_explodeBiggest, ExplodedSlice(i)) : ExplodedSlice(i)});
        angle += sweep;
    }
    if (other > 0) {
        slices.push_back({-1, angle, angle + other * kFullCircle / total, other, kOtherColor, 0});
    }
    return slices;
}

int32_t TPieSeries::MaxExplode() const {
    int32_t most = 0;
    for (const TPieSlice& slice : Slices()) {
        most = std::max(most, slice.Explode);
    }
    return most;
}

int32_t TPieSeries::SliceXRadius() const {
    return static_cast<int32_t>(static_cast<int64_t>(XRadius()) * 100 / (100 + MaxExplode()));
}

int32_t TPieSeries::SliceYRadius() const {
    return static_cast<int32_t>(static_cast<int64_t>(YRadius()) * 100 / (100 + MaxExplode()));
}

void TPieSeries::BeforeChartDraw() {
    m_paintSlices = Slices();
    m_paintSlicesCount = PointCount();
    m_paintSlicesValid = true;
}

const std::vector<TPieSlice>& TPieSeries::LegendSlices() const {
    if (!m_paintSlicesValid || m_paintSlicesCount != PointCount()) {
        m_paintSlices = Slices();
        m_paintSlicesCount = PointCount();
        m_paintSlicesValid = false;  // asked outside a paint: good for this question only
    }
    return m_paintSlices;
}

void TPieSeries::DrawPoints() {
    // The legend has been drawn: from here on the slices are computed afresh.
    m_paintSlicesValid = false;
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr) {
        return;
    }
    TChartCanvas3D& canvas = chart->Canvas();
    const gfx::TPoint centre = CircleCentre();
    const int32_t rx = SliceXRadius();
    const int32_t ry = SliceYRadius();
    if (rx <= 0 || ry <= 0) {
        return;
    }
    // Flat slices wait here and go to the device in one batch; a whole circle, a slice in 3D
    // or the slice-by-slice drawing sends them on first, so the order stays.
    std::vector<gfx::TPieWedge> wedges;
    const auto sendWedges = [&] {
        if (!wedges.empty()) {
            canvas.ReferenceCanvas().Pies(wedges);
            wedges.clear();
        }
    };
    canvas.ApplyChartPen(*m_piePen);
    for (const TPieSlice& slice : Slices()) {
        if (slice.EndAngle - slice.StartAngle <= 0) {
            continue;
        }
        const double middle = Radians((slice.StartAngle + slice.EndAngle) / 2);
        const gfx::TPoint c{
            centre.X +
                static_cast<int32_t>(std::lround(rx * slice.Explode / kPercent * std::cos(middle))),
            centre.Y - static_cast<int32_t>(
                           std::lround(ry * slice.Explode / kPercent * std::sin(middle)))};
        const gfx::TBrushStyle style = m_usePatterns && slice.ValueIndex >= 0
                                           ? PatternOf(slice.ValueIndex)
                                           : gfx::TBrushStyle::bsSolid;
        const double a0 = Radians(slice.StartAngle);
        const double a1 = Radians(slice.EndAngle);
        const bool whole = slice.EndAngle - slice.StartAngle >= kFullCircle;
        const auto ray = [&](double a) {
            return gfx::TPoint{c.X + static_cast<int32_t>(std::lround(kRay * std::cos(a))),
                               c.Y - static_cast<int32_t>(std::lround(kRay * std::sin(a)))};
        };
        if (!chart->View3D() && !whole && !m_sliceBySlice) {
            wedges.push_back({gfx::TRect(c.X - rx, c.Y - ry, c.X + rx, c.Y + ry), ray(a0), ray(a1),
                              slice.Color, style});
            continue;
        }
        sendWedges();
        canvas.ApplyChartPen(*m_piePen);
        canvas.Brush().SetColor(slice.Color);
        canvas.Brush().SetStyle(style);
        if (chart->View3D()) {
            canvas.DepthPieShape(c, rx, ry, a0, a1, StartZ(), EndZ(), m_dark3D);
        } else if (whole) {
            canvas.EllipseShape(c.X - rx, c.Y - ry, c.X + rx, c.Y + ry);
        } else {
            const gfx::TPoint p0 = ray(a0);
            const gfx::TPoint p1 = ray(a1);
            canvas.PieShape(c.X - rx, c.Y - ry, c.X + rx, c.Y + ry, p0.X, p0.Y, p1.X, p1.Y);
        }
    }
    sendWedges();
}

int32_t TPieSeries::LegendItemCount() const {
    return static_cast<int32_t>(LegendSlices().size());
}

std::string TPieSeries::LegendItemText(int32_t index, TLegendTextStyle style) const {
    const std::vector<TPieSlice>& slices = LegendSlices();
    if (index < 0 || static_cast<size_t>(index) >= slices.size()) {
        return std::string();
    }
    if (slices[static_cast<size_t>(index)].ValueIndex >= 0) {
        return TChartSeries::LegendItemText(index, style);
    }
    return m_otherSlice->Text();
}

int32_t TPieSeries::LegendToValueIndex(int32_t legendIndex) const {
    const std::vector<TPieSlice>& slices = LegendSlices();
    if (legendIndex < 0 || static_cast<size_t>(legendIndex) >= slices.size()) {
        return -1;
    }
    return slices[static_cast<size_t>(legendIndex)].ValueIndex;
}

gfx::TColor TPieSeries::LegendItemColor(int32_t index) const {
    const std::vector<TPieSlice>& slices = LegendSlices();
    if (index < 0 || static_cast<size_t>(index) >= slices.size()) {
        return SeriesColor();
    }
    return slices[static_cast<size_t>(index)].Color;
}

const classes::TClassInfo& TPieSeries::StaticClass() {
    using T = TPieSeries;
    static const classes::TClassInfo info =
        classes::TClassBuilder<T>("TPieSeries", &TCircledSeries::StaticClass())
            .Creatable()
            .Integer<uint32_t>("CircleBackColor", &T::CircleBackColor, &T::SetCircleBackColor,
                               static_cast<int64_t>(clSeriesDefault), &ChartColorIdents())
            .Boolean("ColorEachPoint", &T::ColorEachPoint, &T::SetColorEachPoint, true)
            .Boolean("Dark3D", &T::Dark3D, &T::SetDark3D, true)
            .Integer("ExplodeBiggest", &T::ExplodeBiggest, &T::SetExplodeBiggest, 0)
            .Object("OtherSlice", [](T& s) -> TPieOtherSlice& { return s.OtherSlice(); })
            .Object("PiePen", [](T& s) -> gfx::TPen& { return s.PiePen(); })
            .Object("PieValues", [](T& s) -> TChartValueList& { return s.PieValues(); })
            .Integer("RotationAngle", &T::RotationAngle, &T::SetRotationAngle, 0)
            .Boolean("UsePatterns", &T::UsePatterns, &T::SetUsePatterns, false)
            .Object("XValues", [](T& s) -> TChartValueList& { return s.XValues(); })
            .Build();
    return info;
}

const classes::TClassInfo& TPieSeries::ClassInfo() const {
    return StaticClass();
}

}  // namespace chart
