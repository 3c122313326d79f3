// Point and area series: their settings, the area's stacking and its drawing.
#include "chart/series/AreaPointSeries.h"

#include <algorithm>

#include "chart/engine/AxisPanel.h"
#include "chart/series/BarSeries.h"
#include "classes/ClassBuilder.h"

namespace chart {

namespace {
constexpr double kPercent = 100.0;
}  // namespace

// --- Point series ----------------------------------------------------------------------------

TPointSeries::TPointSeries(classes::TComponent* owner) : TCustomSeries(owner) {
    SetConnectPoints(false);
    Pointer().SetVisible(true);
    Marks().SetArrowLength(0);
}

void TPointSeries::SetColorEachPoint(bool value) {
    TCustomSeries::SetColorEachPoint(value);
    if (value) {
        Pointer().Brush().SetColor(clSeriesDefault);
    }
}

void TPointSeries::PrepareGalleryPreview(bool enabled) {
    constexpr int32_t kPreviewPointerSize = 6;  // pixels
    TCustomSeries::PrepareGalleryPreview(enabled);
    Pointer().SetHorizSize(kPreviewPointerSize);
    Pointer().SetVertSize(kPreviewPointerSize);
    if (ParentChart() != nullptr && ParentChart()->SeriesCount() > 1 &&
        ParentChart()->Series(1) == this) {
        Pointer().SetStyle(TSeriesPointerStyle::psTriangle);
    }
}

const classes::TClassInfo& TPointSeries::StaticClass() {
    using T = TPointSeries;
    static const classes::TClassInfo info =
        classes::TClassBuilder<T>("TPointSeries", &TCustomSeries::StaticClass())
            .Creatable()
            .Object("Pointer", [](T& s) -> TSeriesPointer& { return s.Pointer(); })
            .Object("XValues", [](T& s) -> TChartValueList& { return s.XValues(); })
            .Object("YValues", [](T& s) -> TChartValueList& { return s.YValues(); })
            .Build();
    return info;
}

const classes::TClassInfo& TPointSeries::ClassInfo() const {
    return StaticClass();
}

// --- Area series -----------------------------------------------------------------------------

TAreaSeries::TAreaSeries(classes::TComponent* owner) : TCustomSeries(owner) {
    SetSinglePointResult(false);
    SetConnectPoints(true);
    SetDrawArea(true);
    Pointer().SetVisible(false);
}

void TAreaSeries::SetMultiArea(TMultiArea value) {
    if (value == m_multiArea) {
        return;
    }
    m_multiArea = value;
    RequestRepaint();
    if (TCustomAxisPanel* chart = ParentChart()) {
        for (int32_t k = 0; k < chart->SeriesCount(); ++k) {
            auto* other = dynamic_cast<TAreaSeries*>(chart->Series(k));
            if (other != nullptr && other != this && &other->ClassInfo() == &ClassInfo()) {
                other->SetMultiArea(value);
            }
        }
    }
}

std::pair<double, double> TAreaSeries::AreaExtent(int32_t index) const {
    const double value = YValueAt(index);
    switch (m_multiArea) {
        case TMultiArea::maNone:
            return {0, value};
        case TMultiArea::maStacked: {
            const double below = StackedSum(*this, index, false);
            return {below, below + value};
        }
        case TMultiArea::maStacked100: {
            // The whole at an index: every related series, this one and those after it too.
            double total = 0;
            const TCustomAxisPanel* chart = ParentChart();
            for (int32_t k = 0; chart != nullptr && k < chart->SeriesCount(); ++k) {
                const TChartSeries& other = *chart->Series(k);
                if (other.Active() && dynamic_cast<const TAreaSeries*>(&other) != nullptr &&
                    index < other.PointCount() && other.MarkValue(index) > 0) {
                    total += other.MarkValue(index);
                }
            }
            if (total == 0) {
                return {0, 0};
            }
            const double below = StackedSum(*this, index, false);
            return {below * kPercent / total, (below + value) * kPercent / total};
        }
    }
    return {0, value};
}

double TAreaSeries::HighestY() const {
    switch (m_multiArea) {
        case TMultiArea::maNone:
            return YValues().MaximumValue();
        case TMultiArea::maStacked: {
            double high = YValues().MaximumValue();
            for (int32_t i = 0; i < PointCount(); ++i) {
                high = std::max(high, YValueAt(i) + StackedSum(*this, i, false));
            }
            return high;
        }
        case TMultiArea::maStacked100:
            return kPercent;
    }
    return YValues().MaximumValue();
}

double TAreaSeries::LowestY() const {
    return m_multiArea == TMultiArea::maStacked100 ? 0 : YValues().MinimumValue();
}

int32_t TAreaSeries::LineScreenY(int32_t index) const {
    if (m_multiArea == TMultiArea::maNone) {
        return TCustomSeries::LineScreenY(index);
    }
    return CalcYPosValue(AreaExtent(index).second);
}

int32_t TAreaSeries::OriginPixel(int32_t index) const {
    if (m_multiArea == TMultiArea::maNone) {
        return TCustomSeries::OriginPixel(index);
    }
    return CalcYPosValue(AreaExtent(index).first);
}

void TAreaSeries::Assign(const classes::TPersistent& source) {
    TCustomSeries::Assign(source);
    if (const auto* other = dynamic_cast<const TAreaSeries*>(&source)) {
        SetMultiArea(other->m_multiArea);
    }
}

const classes::TClassInfo& TAreaSeries::StaticClass() {
    using T = TAreaSeries;
    static const classes::TClassInfo info =
        classes::TClassBuilder<T>("TAreaSeries", &TCustomSeries::StaticClass())
            .Creatable()
            .Enum<gfx::TBrushStyle>("AreaBrush", &T::AreaBrush, &T::SetAreaBrush,
                                    {"bsSolid", "bsClear", "bsHorizontal", "bsVertical",
                                     "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"},
                                    gfx::TBrushStyle::bsSolid)
            .Integer<uint32_t>("AreaColor", &T::AreaColor, &T::SetAreaColor,
                               static_cast<int64_t>(clSeriesDefault), &ChartColorIdents())
            .Object("AreaLinesPen", [](T& s) -> gfx::TPen& { return s.AreaLinesPen(); })
            .Boolean("Dark3D", &T::Dark3D, &T::SetDark3D, true)
            // Created on: always written, so an area turned off is read back off.
            .Boolean("DrawArea", &T::DrawArea, &T::SetDrawArea)
            .Boolean("InvertedStairs", &T::InvertedStairs, &T::SetInvertedStairs, false)
            .Object("LinePen", [](T& s) -> gfx::TPen& { return s.LinePen(); })
            .Enum<TMultiArea>("MultiArea", &T::MultiArea, &T::SetMultiArea,
                              {"maNone", "maStacked", "maStacked100"}, TMultiArea::maNone)
            .Object("Pointer", [](T& s) -> TSeriesPointer& { return s.Pointer(); })
            .Boolean("Stairs", &T::Stairs, &T::SetStairs, false)
            .Object("XValues", [](T& s) -> TChartValueList& { return s.XValues(); })
            .Object("YValues", [](T& s) -> TChartValueList& { return s.YValues(); })
            .Build();
    return info;
}

const classes::TClassInfo& TAreaSeries::ClassInfo() const {
    return StaticClass();
}

}  // namespace chart
