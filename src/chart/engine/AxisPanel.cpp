// The axis panel's series list and repaint requests.
#include "chart/engine/AxisPanel.h"

#include <algorithm>

#include "chart/engine/Series.h"
#include "classes/ClassBuilder.h"

namespace chart {

TCustomAxisPanel::TCustomAxisPanel(classes::TComponent* owner)
    : TCustomChartPanelExtended(owner) {}

TCustomAxisPanel::~TCustomAxisPanel() {
    MarkDestroying();
    FreeAllSeries();
}

const classes::TClassInfo& TCustomAxisPanel::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TCustomAxisPanel>("TCustomAxisPanel",
                                                 &TCustomChartPanelExtended::StaticClass())
            .Build();
    return info;
}

const classes::TClassInfo& TCustomAxisPanel::ClassInfo() const {
    return StaticClass();
}

void TCustomAxisPanel::AddSeries(TChartSeries* series) {
    if (series == nullptr ||
        std::find(m_seriesList.begin(), m_seriesList.end(), series) != m_seriesList.end()) {
        return;
    }
    if (series->SeriesColor() == clSeriesDefault) {
        series->SetSeriesColor(FreeSeriesColor(true));
    }
    // Listed first, so that the series' own SetParentChart finds it here and stops.
    m_seriesList.push_back(series);
    series->SetParentChart(this);
    MarkForRepaint();
}

void TCustomAxisPanel::RemoveSeries(TChartSeries* series) {
    const auto it = std::find(m_seriesList.begin(), m_seriesList.end(), series);
    if (it == m_seriesList.end()) {
        return;
    }
    m_seriesList.erase(it);
    series->SetParentChart(nullptr);
    MarkForRepaint();
}

void TCustomAxisPanel::FreeAllSeries() {
    while (!m_seriesList.empty()) {
        TChartSeries* first = m_seriesList.front();
        RemoveSeries(first);
        delete first;
    }
}

TChartSeries* TCustomAxisPanel::Series(int32_t index) const {
    if (index < 0 || index >= SeriesCount()) {
        base::ThrowListIndexError(index);
    }
    return m_seriesList[static_cast<size_t>(index)];
}

int32_t TCustomAxisPanel::MaxPointCount() const {
    int32_t result = 0;
    for (const TChartSeries* series : m_seriesList) {
        if (series->Active()) {
            result = std::max(result, series->PointCount());
        }
    }
    return result;
}

bool TCustomAxisPanel::IsColorFree(gfx::TColor color, bool checkBackground) const {
    if (checkBackground && color == Color()) {
        return false;
    }
    return std::none_of(m_seriesList.begin(), m_seriesList.end(),
                        [color](const TChartSeries* s) { return s->SeriesColor() == color; });
}

gfx::TColor TCustomAxisPanel::FreeSeriesColor(bool checkBackground) const {
    for (int32_t i = 0; i < kPaletteSize; ++i) {
        if (IsColorFree(PaletteColor(i), checkBackground)) {
            return PaletteColor(i);
        }
    }
    return PaletteColor(kPaletteSize);
}

void TCustomAxisPanel::MarkForRepaint() {
    if (!AutoRepaint() || Destroying()) {
        return;
    }
    ++m_repaintRequests;
    m_repaintPending = true;
    TCustomChartPanelExtended::MarkForRepaint();
}

void TCustomAxisPanel::GetChildren(const std::function<void(classes::TComponent*)>& proc,
                                   classes::TComponent* root) const {
    TCustomChartPanelExtended::GetChildren(proc, root);
    for (TChartSeries* series : m_seriesList) {
        if (series->Owner() == root) {
            proc(series);
        }
    }
}

}  // namespace chart
