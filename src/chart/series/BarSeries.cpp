// Bar series: settings, the group geometry of side-by-side and stacked bars, and their drawing.
#include "chart/series/BarSeries.h"

#include <algorithm>
#include <array>
#include <random>

#include "chart/engine/AxisPanel.h"
#include "chart/messages/ChartMessages.h"
#include "classes/ClassBuilder.h"

namespace chart {

namespace {
constexpr int32_t kPercent = 100;
constexpr int32_t kDefaultArrowLength = 20;  // marks of bars stand this far above, pixels
// The lighter end of a gradient bar: the point colour towards white.
constexpr gfx::TColor kGradientEnd = 0xFFFFFF;

bool Related(const TChartSeries& a, const TChartSeries& b) {
    return a.ClassInfo().InheritsFrom(b.ClassInfo()) || b.ClassInfo().InheritsFrom(a.ClassInfo());
}
}  // namespace

double StackedSum(const TChartSeries& series, int32_t index, bool includeSelf) {
    const TCustomAxisPanel* chart = series.ParentChart();
    if (chart == nullptr) {
        return 0;
    }
    double sum = 0;
    for (int32_t k = 0; k < chart->SeriesCount(); ++k) {
        const TChartSeries& other = *chart->Series(k);
        if (&other == &series && !includeSelf) {
            break;
        }
        if (other.Active() && Related(other, series) && index < other.PointCount()) {
            const double value = other.MarkValue(index);
            sum += value > 0 ? value : 0;
        }
        if (&other == &series) {
            break;
        }
    }
    return sum;
}

TCustomBarSeries::TCustomBarSeries(classes::TComponent* owner, bool horizontal)
    : TChartSeries(owner),
      m_horizontal(horizontal),
      m_barBrush(std::make_unique<TChartBrush>([this] { Changed(); })),
      m_barPen(std::make_unique<TChartPen>([this] { Changed(); })) {
    TChartValueList& bars = MandatoryValueList();
    bars.SetName("Bar");
    bars.SetOrder(TChartListOrder::loNone);
    if (horizontal) {
        YValues().SetOrder(TChartListOrder::loAscending);
    }
    Marks().SetVisible(true);
    Marks().SetArrowLength(kDefaultArrowLength);
}

TCustomBarSeries::~TCustomBarSeries() = default;

TChartValueList& TCustomBarSeries::MandatoryValueList() {
    return m_horizontal ? XValues() : YValues();
}

void TCustomBarSeries::SetAutoBarSize(bool value) {
    if (value != m_autoBarSize) {
        m_autoBarSize = value;
        Changed();
    }
}

void TCustomBarSeries::SetAutoMarkPosition(bool value) {
    if (value != m_autoMarkPosition) {
        m_autoMarkPosition = value;
        Changed();
    }
}

void TCustomBarSeries::SetBarStyle(TBarStyle value) {
    if (value != m_barStyle) {
        m_barStyle = value;
        Changed();
    }
}

void TCustomBarSeries::SetBarWidthPercent(int32_t value) {
    if (value < 1 || value > kPercent) {
        throw BarException(kMsgBarWidthPercent);
    }
    if (value != m_barWidthPercent) {
        m_barWidthPercent = value;
        Changed();
    }
}

void TCustomBarSeries::SetDark3D(bool value) {
    if (value != m_dark3D) {
        m_dark3D = value;
        Changed();
    }
}

void TCustomBarSeries::SetMultiBar(TMultiBar value) {
    if (value == m_multiBar) {
        return;
    }
    m_multiBar = value;
    Changed();
    if (TCustomAxisPanel* chart = ParentChart()) {
        for (int32_t k = 0; k < chart->SeriesCount(); ++k) {
            auto* other = dynamic_cast<TCustomBarSeries*>(chart->Series(k));
            if (other != nullptr && other != this && &other->ClassInfo() == &ClassInfo()) {
                other->SetMultiBar(value);
            }
        }
    }
}

void TCustomBarSeries::SetOffsetPercent(int32_t value) {
    if (value < -kPercent || value > kPercent) {
        throw BarException(kMsgBarOffsetPercent);
    }
    if (value != m_offsetPercent) {
        m_offsetPercent = value;
        Changed();
    }
}

void TCustomBarSeries::SetSideMargins(bool value) {
    if (value != m_sideMargins) {
        m_sideMargins = value;
        Changed();
    }
}

void TCustomBarSeries::SetUseYOrigin(bool value) {
    if (value != m_useYOrigin) {
        m_useYOrigin = value;
        Changed();
    }
}

void TCustomBarSeries::SetYOrigin(double value) {
    if (value != m_yOrigin) {
        m_yOrigin = value;
        Changed();
    }
}

void TCustomBarSeries::SetCustomBarSize(int32_t value) {
    if (value != m_customBarSize) {
        m_customBarSize = value;
        Changed();
    }
}

// --- Geometry --------------------------------------------------------------------------------

std::vector<const TCustomBarSeries*> TCustomBarSeries::Group() const {
    std::vector<const TCustomBarSeries*> group;
    const TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr) {
        group.push_back(this);
        return group;
    }
    for (int32_t k = 0; k < chart->SeriesCount(); ++k) {
        const auto* other = dynamic_cast<const TCustomBarSeries*>(chart->Series(k));
        if (other != nullptr && (other->Active() || other == this) &&
            other->m_horizontal == m_horizontal && Related(*other, *this)) {
            group.push_back(other);
        }
    }
    return group;
}

int32_t TCustomBarSeries::BarSize() const {
    if (m_customBarSize > 0) {
        return m_customBarSize;
    }
    const TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr) {
        return 1;
    }
    const std::vector<const TCustomBarSeries*> group = Group();
    int32_t points = 1;
    for (const TCustomBarSeries* series : group) {
        points = std::max(points, series->PointCount());
    }
    const int32_t sides = m_multiBar == TMultiBar::mbSide ? static_cast<int32_t>(group.size()) : 1;
    const int32_t axisLength = m_horizontal ? chart->PlotHeight() : chart->PlotWidth();
    const int64_t size = static_cast<int64_t>(axisLength) * m_barWidthPercent /
                         (static_cast<int64_t>(points) * kPercent * sides);
    return std::max<int32_t>(1, static_cast<int32_t>(size));
}

std::pair<double, double> TCustomBarSeries::BarExtent(int32_t index) const {
    const double value = MarkValue(index);
    switch (m_multiBar) {
        case TMultiBar::mbNone:
        case TMultiBar::mbSide: {
            double origin = m_yOrigin;
            if (!m_useYOrigin && ParentChart() != nullptr) {
                const TCustomChartAxis& axis = m_horizontal ? ParentChart()->HorizAxisOf(*this)
                                                            : ParentChart()->VertAxisOf(*this);
                origin = axis.Minimum();
            }
            return {origin, value};
        }
        case TMultiBar::mbStacked: {
            const double below = StackedSum(*this, index, false);
            return {below, below + value};
        }
        case TMultiBar::mbStacked100: {
            const double total = StackedSum(*this, index, true) + [&] {
                // Series after this one also count towards the index's whole.
                double rest = 0;
                bool after = false;
                const TCustomAxisPanel* chart = ParentChart();
                for (int32_t k = 0; chart != nullptr && k < chart->SeriesCount(); ++k) {
                    const TChartSeries& other = *chart->Series(k);
                    if (after && other.Active() && Related(other, *this) &&
                        index < other.PointCount() && other.MarkValue(index) > 0) {
                        rest += other.MarkValue(index);
                    }
                    after = after || &other == this;
                }
                return rest;
            }();
            if (total == 0) {
                return {0, 0};
            }
            const double below = StackedSum(*this, index, false);
            return {below * kPercent / total, (below + value) * kPercent / total};
        }
    }
    return {0, value};
}

TCustomBarSeries::TBarPlace TCustomBarSeries::Place() const {
    const std::vector<const TCustomBarSeries*> group = Group();
    TBarPlace place;
    place.Size = BarSize();
    if (m_multiBar == TMultiBar::mbSide) {
        const auto at = std::find(group.begin(), group.end(), this) - group.begin();
        place.Start = -(place.Size * static_cast<int32_t>(group.size())) / 2 +
                      static_cast<int32_t>(at) * place.Size;
    } else {
        place.Start = -place.Size / 2;
    }
    place.Start += place.Size * m_offsetPercent / kPercent;
    return place;
}

TBarBounds TCustomBarSeries::BarBoundsOf(int32_t index) const {
    return BarBoundsAt(index, Place());
}

TBarBounds TCustomBarSeries::BarBoundsAt(int32_t index, const TBarPlace& place) const {
    const int32_t size = place.Size;
    const int32_t start = place.Start;
    const auto [origin, end] = BarExtent(index);
    TBarBounds bar;
    if (m_horizontal) {
        const int32_t centre = CalcYPosValue(YValueAt(index));
        const int32_t o = CalcXPosValue(origin);
        const int32_t v = CalcXPosValue(end);
        bar.Top = centre + start;
        bar.Bottom = bar.Top + size;
        // Columns from the value's pixel towards the origin's, the origin's excluded.
        bar.Left = v <= o ? v : o + 1;
        bar.Right = v <= o ? o : v + 1;
    } else {
        const int32_t centre = CalcXPosValue(XValueAt(index));
        const int32_t o = CalcYPosValue(origin);
        const int32_t v = CalcYPosValue(end);
        bar.Left = centre + start;
        bar.Right = bar.Left + size;
        bar.Top = v <= o ? v : o + 1;
        bar.Bottom = v <= o ? o : v + 1;
    }
    return bar;
}

// --- Axis extremes and margins ---------------------------------------------------------------

double TCustomBarSeries::ValueHigh() const {
    const TChartValueList& values = MandatoryValueList();
    switch (m_multiBar) {
        case TMultiBar::mbNone:
        case TMultiBar::mbSide:
            return m_useYOrigin ? std::max(values.MaximumValue(), m_yOrigin)
                                : values.MaximumValue();
        case TMultiBar::mbStacked: {
            double high = values.MaximumValue();
            for (int32_t i = 0; i < PointCount(); ++i) {
                high = std::max(high, StackedSum(*this, i, true));
            }
            return high;
        }
        case TMultiBar::mbStacked100:
            return kPercent;
    }
    return values.MaximumValue();
}

double TCustomBarSeries::ValueLow() const {
    const TChartValueList& values = MandatoryValueList();
    switch (m_multiBar) {
        case TMultiBar::mbNone:
        case TMultiBar::mbSide:
            return m_useYOrigin ? std::min(values.MinimumValue(), m_yOrigin)
                                : values.MinimumValue();
        case TMultiBar::mbStacked:
            return std::min(0.0, values.MinimumValue());
        case TMultiBar::mbStacked100:
            return 0;
    }
    return values.MinimumValue();
}

double TCustomBarSeries::HighestX() const {
    return m_horizontal ? ValueHigh() : XValues().MaximumValue();
}

double TCustomBarSeries::HighestY() const {
    return m_horizontal ? YValues().MaximumValue() : ValueHigh();
}

double TCustomBarSeries::LowestX() const {
    return m_horizontal ? ValueLow() : XValues().MinimumValue();
}

double TCustomBarSeries::LowestY() const {
    return m_horizontal ? YValues().MinimumValue() : ValueLow();
}

int32_t TCustomBarSeries::SideMargin() const {
    if (!m_sideMargins || ParentChart() == nullptr) {
        return 0;
    }
    const int32_t sides =
        m_multiBar == TMultiBar::mbSide ? static_cast<int32_t>(Group().size()) : 1;
    return BarSize() * sides / 2 + 1;
}

void TCustomBarSeries::HorizontalMargins(int32_t& left, int32_t& right) const {
    left = m_horizontal ? 0 : SideMargin();
    right = left;
}

void TCustomBarSeries::VerticalMargins(int32_t& top, int32_t& bottom) const {
    top = m_horizontal ? SideMargin() : 0;
    bottom = top;
}

// --- Drawing ---------------------------------------------------------------------------------

void TCustomBarSeries::DrawPoint(int32_t index) {
    const gfx::TColor color = PointColor(index);
    if (color == gfx::clNone || ParentChart() == nullptr) {
        return;
    }
    TBarStyle style = m_barStyle;
    if (m_onGetBarStyle) {
        m_onGetBarStyle(*this, index, style);
    }
    DrawBar(BarBoundsOf(index), style, color);
}

void TCustomBarSeries::DrawBar(const TBarBounds& bar, TBarStyle style, gfx::TColor color) {
    TCustomAxisPanel& chart = *ParentChart();
    TChartCanvas3D& canvas = chart.Canvas();
    canvas.ApplyChartPen(*m_barPen);
    chart.AdjustPenForPrinter(canvas.Pen());
    const gfx::TColor brushColor =
        m_barBrush->Color() == clSeriesDefault ? color : m_barBrush->Color();
    canvas.Brush().SetColor(brushColor);
    canvas.Brush().SetStyle(m_barBrush->Style());
    // A rectangle without an outline leaves its last row and column unfilled: give them back
    // so a bar covers the same pixels with or without its pen.
    const int32_t grow = m_barPen->Visible() ? 0 : 1;
    const bool vertical = !m_horizontal;
    const int32_t l = bar.Left;
    const int32_t t = bar.Top;
    const int32_t r = bar.Right;
    const int32_t b = bar.Bottom;
    if (chart.View3D()) {
        const int32_t z0 = StartZ();
        const int32_t z1 = EndZ();
        switch (style) {
            case TBarStyle::bsRectangle:
            case TBarStyle::bsRectGradient:
                canvas.BoxShape(l, r, t, b, z0, z1, m_dark3D);
                return;
            case TBarStyle::bsPyramid:
            case TBarStyle::bsArrow:
                canvas.PyramidShape(vertical, l, t, r, b, z0, z1, m_dark3D);
                return;
            case TBarStyle::bsInvPyramid:
                // The point of the pyramid at the origin: the box given upside down.
                if (vertical) {
                    canvas.PyramidShape(vertical, l, b, r, t, z0, z1, m_dark3D);
                } else {
                    canvas.PyramidShape(vertical, r, t, l, b, z0, z1, m_dark3D);
                }
                return;
            case TBarStyle::bsCilinder:
            case TBarStyle::bsEllipse:
                canvas.CylinderShape(vertical, l, t, r, b, z0, z1, m_dark3D);
                return;
        }
        return;
    }
    const int32_t midX = (l + r) / 2;
    const int32_t midY = (t + b) / 2;
    switch (style) {
        case TBarStyle::bsRectangle:
            canvas.RectShape(l, t, r + grow, b + grow);
            return;
        case TBarStyle::bsRectGradient:
            canvas.PaintGradient(
                {l, t, r, b}, brushColor, kGradientEnd,
                vertical ? TGradientDirection::gdTopBottom : TGradientDirection::gdLeftRight);
            canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
            canvas.RectShape(l, t, r, b);
            return;
        case TBarStyle::bsPyramid: {
            const std::array<gfx::TPoint, 3> tip =
                vertical ? std::array<gfx::TPoint, 3>{{{l, b - 1}, {midX, t}, {r - 1, b - 1}}}
                         : std::array<gfx::TPoint, 3>{{{l, t}, {r - 1, midY}, {l, b - 1}}};
            canvas.PolygonShape(tip, 2);
            return;
        }
        case TBarStyle::bsInvPyramid: {
            const std::array<gfx::TPoint, 3> tip =
                vertical ? std::array<gfx::TPoint, 3>{{{l, t}, {r - 1, t}, {midX, b - 1}}}
                         : std::array<gfx::TPoint, 3>{{{r - 1, t}, {l, midY}, {r - 1, b - 1}}};
            canvas.PolygonShape(tip, 2);
            return;
        }
        case TBarStyle::bsCilinder:
        case TBarStyle::bsEllipse:
            canvas.EllipseShape(l, t, r, b);
            return;
        case TBarStyle::bsArrow: {
            // A shaft half the bar wide under a head as wide as the bar and a quarter as long.
            if (vertical) {
                const int32_t head = t + (b - t) / 4;
                const int32_t q = (r - l) / 4;
                const std::array<gfx::TPoint, 7> arrow = {{{l + q, b - 1},
                                                           {l + q, head},
                                                           {l, head},
                                                           {midX, t},
                                                           {r - 1, head},
                                                           {r - 1 - q, head},
                                                           {r - 1 - q, b - 1}}};
                canvas.PolygonShape(arrow, 6);
            } else {
                const int32_t head = r - (r - l) / 4;
                const int32_t q = (b - t) / 4;
                const std::array<gfx::TPoint, 7> arrow = {{{l, t + q},
                                                           {head, t + q},
                                                           {head, t},
                                                           {r - 1, midY},
                                                           {head, b - 1},
                                                           {head, b - 1 - q},
                                                           {l, b - 1 - q}}};
                canvas.PolygonShape(arrow, 6);
            }
            return;
        }
    }
}

// --- Classes ---------------------------------------------------------------------------------

namespace {
template <class T>
classes::TClassBuilder<T> BarProperties(classes::TClassBuilder<T> builder) {
    return std::move(
        builder.Boolean("AutoBarSize", &T::AutoBarSize, &T::SetAutoBarSize, false)
            .Boolean("AutoMarkPosition", &T::AutoMarkPosition, &T::SetAutoMarkPosition, true)
            .Object("BarBrush", [](T& s) -> gfx::TBrush& { return s.BarBrush(); })
            .Object("BarPen", [](T& s) -> gfx::TPen& { return s.BarPen(); })
            .template Enum<TBarStyle>("BarStyle", &T::BarStyle, &T::SetBarStyle,
                                      {"bsRectangle", "bsPyramid", "bsInvPyramid", "bsCilinder",
                                       "bsEllipse", "bsArrow", "bsRectGradient"},
                                      TBarStyle::bsRectangle)
            .Integer("BarWidthPercent", &T::BarWidthPercent, &T::SetBarWidthPercent, 70)
            .Boolean("Dark3D", &T::Dark3D, &T::SetDark3D, true)
            .template Enum<TMultiBar>("MultiBar", &T::MultiBar, &T::SetMultiBar,
                                      {"mbNone", "mbSide", "mbStacked", "mbStacked100"},
                                      TMultiBar::mbSide)
            .Integer("OffsetPercent", &T::OffsetPercent, &T::SetOffsetPercent, 0)
            .Boolean("SideMargins", &T::SideMargins, &T::SetSideMargins, true)
            .Boolean("UseYOrigin", &T::UseYOrigin, &T::SetUseYOrigin, true)
            .Float("YOrigin", &T::YOrigin, &T::SetYOrigin)
            .Object("XValues", [](T& s) -> TChartValueList& { return s.XValues(); })
            .Object("YValues", [](T& s) -> TChartValueList& { return s.YValues(); }));
}
}  // namespace

const classes::TClassInfo& TCustomBarSeries::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TCustomBarSeries>("TCustomBarSeries", &TChartSeries::StaticClass())
            .Build();
    return info;
}

const classes::TClassInfo& TCustomBarSeries::ClassInfo() const {
    return StaticClass();
}

const classes::TClassInfo& TBarSeries::StaticClass() {
    using T = TBarSeries;
    static const classes::TClassInfo info =
        BarProperties(
            classes::TClassBuilder<T>("TBarSeries", &TCustomBarSeries::StaticClass()).Creatable())
            .Integer("CustomBarWidth", &T::CustomBarSize, &T::SetCustomBarSize, 0)
            .Build();
    return info;
}

const classes::TClassInfo& TBarSeries::ClassInfo() const {
    return StaticClass();
}

const classes::TClassInfo& THorizBarSeries::StaticClass() {
    using T = THorizBarSeries;
    static const classes::TClassInfo info =
        BarProperties(classes::TClassBuilder<T>("THorizBarSeries", &TCustomBarSeries::StaticClass())
                          .Creatable())
            .Integer("CustomBarHeight", &T::CustomBarSize, &T::SetCustomBarSize, 0)
            .Build();
    return info;
}

const classes::TClassInfo& THorizBarSeries::ClassInfo() const {
    return StaticClass();
}

void THorizBarSeries::FillSampleValues(int32_t numValues) {
    if (numValues <= 0) {
        throw BarException(kMsgFillSampleValues);
    }
    // Sample values: a random walk from 1000 plus a random integer below 1000.
    constexpr int32_t kStart = 1000;
    constexpr int32_t kStepLow = -250;
    constexpr int32_t kStepHigh = 249;
    ClearPoints();
    std::mt19937 random(std::random_device{}());
    double value = kStart + std::uniform_int_distribution<int32_t>(0, kStart - 1)(random);
    double y = ParentChart() != nullptr ? ParentChart()->LeftAxis().Minimum() : 0;
    for (int32_t i = 0; i < numValues; ++i) {
        AppendXY(value, y);
        value += std::uniform_int_distribution<int32_t>(kStepLow, kStepHigh)(random);
        y += 1;
    }
    NotifyLinkedSeries(TLinkEvent::leRefresh, 0);
}

}  // namespace chart
