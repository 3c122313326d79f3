// The axis panel's 3D depth: how deep each series' slot is, the order of the series from back to
// front and the depth each one is drawn at.
#include <algorithm>

#include "base/Arith.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/Series.h"

namespace chart {

namespace {
// The 3D percent is applied per mille of the plot width.
constexpr double kDepthPerMille = 0.001;
}  // namespace

void TCustomAxisPanel::Compute3DSize() {
    if (!View3D()) {
        m_seriesDepth = 0;
        SetDepthExtent(0);
        SetDepthRise(0);
        return;
    }
    const double factor = View3DOptions().Orthogonal() ? 1.0 : 2.0;
    m_seriesDepth =
        static_cast<int32_t>(base::Round(PlotWidth() * Chart3DPercent() * kDepthPerMille * factor));
    const int32_t total =
        DepthOrdering() ? m_seriesDepth * std::max(1, m_maxDepthIndex + 1) : m_seriesDepth;
    SetDepthExtent(total);
    SetDepthRise(total);
}

void TCustomAxisPanel::ComputeDepthOrder() {
    m_maxDepthIndex = 0;
    if (View3D()) {
        m_maxDepthIndex = -1;
        for (TChartSeries* series : m_seriesList) {
            if (!series->Active()) {
                continue;
            }
            if (series->DepthIndex() == -1) {
                series->SetAutoDepth(++m_maxDepthIndex);
            } else {
                m_maxDepthIndex = std::max(m_maxDepthIndex, series->DepthIndex());
            }
        }
    }
    for (TChartSeries* series : m_seriesList) {
        if (series->Active()) {
            // The first series stands at the back.
            series->SetAutoDepth(View3D() ? m_maxDepthIndex - series->EffectiveDepth() : 0);
        }
    }
}

void TCustomAxisPanel::ComputeDepthPositions() {
    for (TChartSeries* series : m_seriesList) {
        if (series->Active()) {
            const int32_t start = m_seriesDepth * series->AutoDepth();
            series->SetDepthPositions(start, start + m_seriesDepth);
        }
    }
}

}  // namespace chart
