// The series base: point store, events, repaint requests, value texts, published settings and
// the chart axes the series is drawn against.
#include "chart/engine/Series.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "base/Conversions.h"
#include "base/Format.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartFunction.h"
#include "chart/messages/ChartMessages.h"
#include "classes/ClassBuilder.h"

namespace chart {

namespace {
// Percent of a whole.
constexpr double kPercent = 100.0;
}  // namespace

TChartSeries::TChartSeries(classes::TComponent* owner)
    : classes::TComponent(owner),
      m_marks(std::make_unique<TSeriesMarks>(*this)),
      m_percentFormat(kMsgDefaultPercentFormat),
      m_valueFormat(kMsgDefaultValueFormat),
      m_xValues(std::make_unique<TChartValueList>(this, "X")),
      m_yValues(std::make_unique<TChartValueList>(this, "Y")) {
    m_xValues->SetOrder(TChartListOrder::loAscending);
}

TChartSeries::~TChartSeries() {
    // The handlers belong to objects (a form) that may be going away themselves: a series
    // being freed calls none of them.
    m_onBeforeAdd = nullptr;
    m_onAfterAdd = nullptr;
    m_onClearValues = nullptr;
    delete std::exchange(m_function, nullptr);
    UnlinkDataSources();
    // Series fed by this one drop it and reload from the sources they have left; one left
    // with none is emptied as when its DataSource is set empty: nothing keeps showing the
    // values of a series that is gone.
    const std::vector<TChartSeries*> linked = std::exchange(m_linkedSeries, {});
    for (TChartSeries* series : linked) {
        std::erase(series->m_dataSources, this);
        if (series->m_dataSources.empty()) {
            series->SetDataSource(nullptr);
        } else {
            series->RefreshFromDataSource();
        }
    }
    ClearPoints();
    SetParentChart(nullptr);
}

const classes::TClassInfo& TChartSeries::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TChartSeries>("TChartSeries", &classes::TComponent::StaticClass())
            .Boolean("Active", &TChartSeries::Active, &TChartSeries::SetActive, true)
            .Boolean("ColorEachPoint", &TChartSeries::ColorEachPoint,
                     &TChartSeries::SetColorEachPoint, false)
            .String("ColorSource", &TChartSeries::ColorSource, &TChartSeries::SetColorSource,
                    std::string())
            .Integer<int16_t>("Cursor", &TChartSeries::Cursor, &TChartSeries::SetCursor, 0)
            .Component<TChartSeries>("DataSource", &TChartSeries::DataSource,
                                     &TChartSeries::SetDataSource)
            .Enum<THorizAxis>("HorizAxis", &TChartSeries::HorizAxis, &TChartSeries::SetHorizAxis,
                              {"aTopAxis", "aBottomAxis", "aBothHorizAxis", "aCustomHorizAxis"},
                              THorizAxis::aBottomAxis)
            .Object("Marks", [](TChartSeries& s) -> TSeriesMarks& { return s.Marks(); })
            .String("PercentFormat", &TChartSeries::PercentFormat, &TChartSeries::SetPercentFormat,
                    std::string(kMsgDefaultPercentFormat))
            .Integer<uint32_t>("SeriesColor", &TChartSeries::SeriesColor,
                               &TChartSeries::SetSeriesColor, std::nullopt, &ChartColorIdents())
            .Boolean("ShowInLegend", &TChartSeries::ShowInLegend, &TChartSeries::SetShowInLegend,
                     true)
            .String("Title", &TChartSeries::Title, &TChartSeries::SetTitle, std::string())
            .String("ValueFormat", &TChartSeries::ValueFormat, &TChartSeries::SetValueFormat,
                    std::string(kMsgDefaultValueFormat))
            .Enum<TVertAxis>("VertAxis", &TChartSeries::VertAxis, &TChartSeries::SetVertAxis,
                             {"aLeftAxis", "aRightAxis", "aBothVertAxis", "aCustomVertAxis"},
                             TVertAxis::aLeftAxis)
            .String("XLabelsSource", &TChartSeries::XLabelsSource, &TChartSeries::SetXLabelsSource,
                    std::string())
            // Written after the published settings: the sources beyond the first, the
            // identifier and the style flags.
            .Property(DataSourcesProperty())
            .String("Identifier", &TChartSeries::Identifier, &TChartSeries::SetIdentifier,
                    std::string())
            .Integer<uint8_t>("Style", &TChartSeries::StyleFlags, &TChartSeries::SetStyleFlags, 0)
            .Build();
    return info;
}

const classes::TClassInfo& TChartSeries::ClassInfo() const {
    return StaticClass();
}

// --- Points ----------------------------------------------------------------------------------

void TChartSeries::CheckPointIndex(int32_t index) const {
    if (index < 0 || index >= PointCount()) {
        base::ThrowListIndexError(index);
    }
}

int32_t TChartSeries::AppendXY(double x, double y, const std::string& label, gfx::TColor color) {
    m_xValues->SetPendingValue(x);
    m_yValues->SetPendingValue(y);
    if (m_onBeforeAdd && !m_onBeforeAdd(*this)) {
        return -1;
    }
    const int32_t index = m_xValues->AppendOrdered(m_xValues->PendingValue());
    m_yValues->InsertAt(index, m_yValues->PendingValue());
    InsertPendingExtras(index);
    m_pointColors.insert(m_pointColors.begin() + index, color);
    InsertLabel(index, label);
    AfterAdd(index);
    return index;
}

void TChartSeries::InsertLabel(int32_t index, const std::string& label) {
    if (m_pointLabels.empty()) {
        if (label.empty()) {
            return;
        }
        m_pointLabels.resize(static_cast<size_t>(PointCount() - 1));
    }
    m_pointLabels.insert(m_pointLabels.begin() + index, label);
}

void TChartSeries::StoreLabel(int32_t index, const std::string& label) {
    if (m_pointLabels.empty()) {
        if (label.empty()) {
            return;
        }
        m_pointLabels.resize(static_cast<size_t>(PointCount()));
    }
    m_pointLabels[static_cast<size_t>(index)] = label;
}

void TChartSeries::InsertPendingExtras(int32_t index) {
    for (size_t i = 2; i < m_valueLists.size(); ++i) {
        m_valueLists[i]->InsertAt(index, m_valueLists[i]->PendingValue());
    }
}

int32_t TChartSeries::AppendValue(double value, const std::string& label, gfx::TColor color) {
    const auto count = static_cast<double>(PointCount());
    return YIsMandatory() ? AppendXY(count, value, label, color)
                          : AppendXY(value, count, label, color);
}

int32_t TChartSeries::AppendNullPoint(const std::string& label) {
    return AppendValue(0, label, gfx::clNone);
}

int32_t TChartSeries::AppendNullXY(double x, double y, const std::string& label) {
    return AppendXY(x, y, label, gfx::clNone);
}

void TChartSeries::AfterAdd(int32_t valueIndex) {
    if (m_onAfterAdd) {
        m_onAfterAdd(*this, valueIndex);
    }
    NotifyLinkedSeries(TLinkEvent::leAdded, valueIndex);
    if (m_active) {
        RepaintAfterAdd(valueIndex);
    }
}

void TChartSeries::ClearStorage() {
    for (TChartValueList* list : m_valueLists) {
        list->RemoveAllValues();
    }
    std::vector<gfx::TColor>().swap(m_pointColors);
    m_pointColors.reserve(static_cast<size_t>(DefaultListCapacity()));
    std::vector<std::string>().swap(m_pointLabels);
    m_pointLabels.reserve(static_cast<size_t>(DefaultListCapacity()));
    m_marks->ClearPositions();
}

void TChartSeries::ClearPoints() {
    ClearStorage();
    if (m_onClearValues) {
        m_onClearValues(*this);
    }
    NotifyLinkedSeries(TLinkEvent::leCleared, 0);
    if (m_active && m_parentChart != nullptr && !m_parentChart->Destroying()) {
        RequestRepaint();
    }
}

void TChartSeries::DeletePoint(int32_t index) {
    CheckPointIndex(index);
    for (TChartValueList* list : m_valueLists) {
        list->RemoveAt(index);
    }
    m_pointColors.erase(m_pointColors.begin() + index);
    if (!m_pointLabels.empty()) {
        m_pointLabels.erase(m_pointLabels.begin() + index);
    }
    m_marks->DeletePosition(index);
    NotifyLinkedSeries(TLinkEvent::leDeleted, index);
    if (m_active) {
        RequestRepaint();
    }
}

void TChartSeries::SwapPoints(int32_t i, int32_t j) {
    CheckPointIndex(i);
    CheckPointIndex(j);
    for (TChartValueList* list : m_valueLists) {
        list->SwapValues(i, j);
    }
    std::swap(m_pointColors[static_cast<size_t>(i)], m_pointColors[static_cast<size_t>(j)]);
    if (!m_pointLabels.empty()) {
        std::swap(m_pointLabels[static_cast<size_t>(i)], m_pointLabels[static_cast<size_t>(j)]);
    }
}

gfx::TColor TChartSeries::StoredPointColor(int32_t index) const {
    if (index < 0 || static_cast<size_t>(index) >= m_pointColors.size()) {
        return clSeriesDefault;
    }
    return m_pointColors[static_cast<size_t>(index)];
}

gfx::TColor TChartSeries::PointColor(int32_t index) const {
    if (index < 0 || static_cast<size_t>(index) >= m_pointColors.size()) {
        return m_seriesColor;
    }
    const gfx::TColor own = m_pointColors[static_cast<size_t>(index)];
    if (own != clSeriesDefault) {
        return own;
    }
    return m_colorEachPoint ? PaletteColor(index) : m_seriesColor;
}

bool TChartSeries::PointsTakeSeriesColor(int32_t first, int32_t last) const {
    const auto begin = static_cast<size_t>(std::max(first, 0));
    const size_t end = std::min(static_cast<size_t>(std::max(last + 1, 0)), m_pointColors.size());
    if (begin >= end) {
        return true;
    }
    if (m_colorEachPoint) {
        return false;
    }
    // Four colours at a time in the compiler's portable vector types.
    using TLanes = gfx::TColor __attribute__((vector_size(16)));
    using TMask = int32_t __attribute__((vector_size(16)));
    constexpr size_t kLanes = 4;
    const gfx::TColor* colors = m_pointColors.data();
    const gfx::TColor series = m_seriesColor;
    const TLanes none = {clSeriesDefault, clSeriesDefault, clSeriesDefault, clSeriesDefault};
    const TLanes own = {series, series, series, series};
    TMask differs = {0, 0, 0, 0};
    size_t i = begin;
    for (; i + kLanes <= end; i += kLanes) {
        TLanes lanes;
        std::memcpy(&lanes, colors + i, sizeof lanes);
        differs |= (lanes != none) & (lanes != own);
    }
    bool same = (differs[0] | differs[1] | differs[2] | differs[3]) == 0;
    for (; i < end; ++i) {
        same = same && (colors[i] == clSeriesDefault || colors[i] == series);
    }
    return same;
}

void TChartSeries::SetPointColor(int32_t index, gfx::TColor color) {
    CheckPointIndex(index);
    if (m_pointColors[static_cast<size_t>(index)] != color) {
        m_pointColors[static_cast<size_t>(index)] = color;
        RequestRepaint();
    }
}

std::string TChartSeries::PointLabel(int32_t index) const {
    if (index < 0 || static_cast<size_t>(index) >= m_pointLabels.size()) {
        return std::string();
    }
    return m_pointLabels[static_cast<size_t>(index)];
}

void TChartSeries::SetPointLabel(int32_t index, const std::string& label) {
    CheckPointIndex(index);
    if (PointLabel(index) != label) {
        StoreLabel(index, label);
        RequestRepaint();
    }
}

void TChartSeries::SetXValues(const TChartValueList& value) {
    m_xValues->CopySettingsFrom(value);
    RequestRepaint();
}

void TChartSeries::SetYValues(const TChartValueList& value) {
    m_yValues->CopySettingsFrom(value);
    RequestRepaint();
}

TChartValueList& TChartSeries::ValueList(int32_t index) const {
    if (index < 0 || index >= ValueListCount()) {
        base::ThrowListIndexError(index);
    }
    return *m_valueLists[static_cast<size_t>(index)];
}

TChartValueList& TChartSeries::ValueListByName(const std::string& name) {
    for (size_t i = 2; i < m_valueLists.size(); ++i) {
        if (classes::SameText(m_valueLists[i]->Name(), name)) {
            return *m_valueLists[i];
        }
    }
    return *m_yValues;
}

// --- Texts -----------------------------------------------------------------------------------

std::string TChartSeries::ValueText(int32_t index) const {
    return base::FormatFloat(m_valueFormat, MarkValue(index));
}

std::string TChartSeries::PercentText(int32_t index, bool withTotal) const {
    const double total = MandatoryValueList().TotalAbsolute();
    const double percent = total == 0 ? kPercent : std::fabs(MarkValue(index)) * kPercent / total;
    const std::string text = base::FormatFloat(m_percentFormat, percent);
    if (!withTotal) {
        return text;
    }
    return base::Format(kMsgPercentOf, {text, base::FormatFloat(m_valueFormat, total)});
}

std::string TChartSeries::LabelOrValueText(int32_t index) const {
    std::string label = PointLabel(index);
    return label.empty() ? ValueText(index) : label;
}

std::string TChartSeries::LegendItemText(int32_t index, TLegendTextStyle style) const {
    const int32_t valueIndex = LegendToValueIndex(index);
    const std::string label = PointLabel(valueIndex);
    // The legend's percentage keeps the sign of the value.
    auto percentText = [&] {
        const double total = MandatoryValueList().TotalAbsolute();
        const double percent = total == 0 ? kPercent : MarkValue(valueIndex) * kPercent / total;
        return base::FormatFloat(m_percentFormat, percent);
    };
    switch (style) {
        case TLegendTextStyle::ltsPlain:
            return label;
        case TLegendTextStyle::ltsLeftValue:
            return ValueText(valueIndex) + " " + label;
        case TLegendTextStyle::ltsRightValue:
            return label + " " + ValueText(valueIndex);
        case TLegendTextStyle::ltsLeftPercent:
            return percentText() + " " + label;
        case TLegendTextStyle::ltsRightPercent:
            return label + " " + percentText();
        case TLegendTextStyle::ltsXValue:
            return XValueText(valueIndex);
    }
    return label;
}

// --- Chart and linked series -----------------------------------------------------------------

void TChartSeries::RequestRepaint() {
    if (m_parentChart != nullptr) {
        m_parentChart->MarkForRepaint();
    }
}

void TChartSeries::SetParentChart(TCustomAxisPanel* value) {
    if (value == m_parentChart) {
        return;
    }
    TCustomAxisPanel* old = std::exchange(m_parentChart, nullptr);
    if (old != nullptr) {
        old->RemoveSeries(this);
    }
    m_parentChart = value;
    // Custom axes belong to the old chart.
    if (old != nullptr) {
        m_customHorizAxis = nullptr;
        m_customVertAxis = nullptr;
    }
    ResolveAxes();
    if (value != nullptr) {
        value->AddSeries(this);
    }
}

void TChartSeries::ResolveAxes() {
    if (m_parentChart == nullptr) {
        m_horizontalAxisRef = nullptr;
        m_verticalAxisRef = nullptr;
        return;
    }
    if (m_horizAxis == THorizAxis::aTopAxis) {
        m_horizontalAxisRef = &m_parentChart->TopAxis();
    } else if (m_horizAxis == THorizAxis::aCustomHorizAxis && m_customHorizAxis != nullptr) {
        m_horizontalAxisRef = m_customHorizAxis;
    } else {
        m_horizontalAxisRef = &m_parentChart->BottomAxis();
    }
    if (m_vertAxis == TVertAxis::aRightAxis) {
        m_verticalAxisRef = &m_parentChart->RightAxis();
    } else if (m_vertAxis == TVertAxis::aCustomVertAxis && m_customVertAxis != nullptr) {
        m_verticalAxisRef = m_customVertAxis;
    } else {
        m_verticalAxisRef = &m_parentChart->LeftAxis();
    }
}

bool TChartSeries::UsesAxis(const TCustomChartAxis& axis) const {
    if (!UsesAxes() || axis.IsZAxis()) {
        return false;
    }
    if (axis.Horizontal()) {
        return m_horizAxis == THorizAxis::aBothHorizAxis || &axis == m_horizontalAxisRef;
    }
    return m_vertAxis == TVertAxis::aBothVertAxis || &axis == m_verticalAxisRef;
}

void TChartSeries::SetCustomHorizAxis(TCustomChartAxis* value) {
    if (value != m_customHorizAxis) {
        m_customHorizAxis = value;
        ResolveAxes();
        RequestRepaint();
    }
}

void TChartSeries::SetCustomVertAxis(TCustomChartAxis* value) {
    if (value != m_customVertAxis) {
        m_customVertAxis = value;
        ResolveAxes();
        RequestRepaint();
    }
}

classes::TComponent* TChartSeries::ParentComponent() const {
    return m_parentChart;
}

void TChartSeries::SetParentComponent(classes::TComponent* parent) {
    if (auto* chart = dynamic_cast<TCustomAxisPanel*>(parent)) {
        SetParentChart(chart);
    } else if (parent == nullptr || parent == Owner()) {
        SetParentChart(nullptr);
    } else {
        throw classes::EComponentError(ClassName() + " cannot be placed inside " +
                                       parent->ClassName());
    }
}

// --- Settings --------------------------------------------------------------------------------

void TChartSeries::SetActive(bool value) {
    if (value != m_active) {
        m_active = value;
        RequestRepaint();
    }
}

void TChartSeries::SetSeriesColor(gfx::TColor value) {
    if (value != m_seriesColor) {
        m_seriesColor = value;
        RequestRepaint();
    }
}

void TChartSeries::SetColorEachPoint(bool value) {
    if (value == m_colorEachPoint) {
        return;
    }
    m_colorEachPoint = value;
    RequestRepaint();
    if (!value) {
        for (gfx::TColor& color : m_pointColors) {
            color = clSeriesDefault;
            RequestRepaint();
        }
    }
}

void TChartSeries::SetColorSource(const std::string& value) {
    if (value != m_colorSource) {
        m_colorSource = value;
        RefreshFromDataSource();
    }
}

void TChartSeries::SetXLabelsSource(const std::string& value) {
    if (value != m_xLabelsSource) {
        m_xLabelsSource = value;
        RefreshFromDataSource();
    }
}

void TChartSeries::SetPercentFormat(const std::string& value) {
    if (value != m_percentFormat) {
        m_percentFormat = value;
        RequestRepaint();
    }
}

void TChartSeries::SetValueFormat(const std::string& value) {
    if (value != m_valueFormat) {
        m_valueFormat = value;
        RequestRepaint();
    }
}

void TChartSeries::SetShowInLegend(bool value) {
    if (value != m_showInLegend) {
        m_showInLegend = value;
        RequestRepaint();
    }
}

void TChartSeries::SetTitle(const std::string& value) {
    if (value != m_title) {
        m_title = value;
        RequestRepaint();
    }
}

void TChartSeries::SetHorizAxis(THorizAxis value) {
    if (value != m_horizAxis) {
        m_horizAxis = value;
        ResolveAxes();
        RequestRepaint();
    }
}

void TChartSeries::SetVertAxis(TVertAxis value) {
    if (value != m_vertAxis) {
        m_vertAxis = value;
        ResolveAxes();
        RequestRepaint();
    }
}

void TChartSeries::SetDepthIndex(int32_t value) {
    if (value != m_depthIndex) {
        m_depthIndex = value;
        RequestRepaint();
    }
}

}  // namespace chart
