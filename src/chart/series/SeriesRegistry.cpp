// The series-kind registry, its registration operations and the standard kinds and functions.
#include "chart/series/SeriesRegistry.h"

#include "base/Exceptions.h"
#include "chart/engine/ChartFunction.h"
#include "chart/functions/ChartFunctions.h"
#include "chart/messages/ChartMessages.h"
#include "chart/series/AreaPointSeries.h"
#include "chart/series/BarSeries.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"
#include "chart/series/PieSeries.h"

namespace chart {

namespace {
// Longest description and page name an entry keeps, characters.
constexpr size_t kMaxGalleryText = 20;
// Series in a preview of a function entry.
constexpr int32_t kFunctionGalleryCount = 2;
// Series in a preview of most kinds; a pie shows one.
constexpr int32_t kKindGalleryCount = 2;
constexpr int32_t kPieGalleryCount = 1;

std::unique_ptr<TChartSeriesTypes>& Kinds() {
    static std::unique_ptr<TChartSeriesTypes> kinds;
    return kinds;
}
}  // namespace

const TChartSeriesType& TChartSeriesTypes::Item(int32_t index) const {
    if (index < 0 || index >= Count()) {
        base::ThrowListIndexError(index);
    }
    return m_items[static_cast<size_t>(index)];
}

const TChartSeriesType* TChartSeriesTypes::Find(const classes::TClassInfo* seriesClass,
                                                const classes::TClassInfo* functionClass) const {
    for (const TChartSeriesType& entry : m_items) {
        if (entry.SeriesClass == seriesClass && entry.FunctionClass == functionClass) {
            return &entry;
        }
    }
    return nullptr;
}

TChartSeriesTypes* SeriesKinds() {
    return Kinds().get();
}

void RegisterSeriesKind(const classes::TClassInfo* seriesClass,
                        const classes::TClassInfo* functionClass, const std::string& description,
                        int32_t galleryCount, const std::string& galleryPage) {
    if (seriesClass != nullptr) {
        classes::RegisterClass(*seriesClass);
    }
    if (functionClass != nullptr) {
        classes::RegisterClass(*functionClass);
    }
    if (!Kinds()) {
        Kinds() = std::make_unique<TChartSeriesTypes>();
    }
    if (Kinds()->Find(seriesClass, functionClass) != nullptr) {
        return;
    }
    Kinds()->Add({seriesClass, functionClass, description.substr(0, kMaxGalleryText),
                  galleryPage.substr(0, kMaxGalleryText), galleryCount});
}

void RegisterSeriesClass(const classes::TClassInfo& seriesClass, const std::string& description,
                         const std::string& galleryPage, int32_t galleryCount) {
    RegisterSeriesKind(&seriesClass, nullptr, description, galleryCount, galleryPage);
}

void RegisterFunctionClass(const classes::TClassInfo& functionClass, const std::string& description,
                           const std::string& galleryPage, int32_t galleryCount) {
    RegisterSeriesKind(nullptr, &functionClass, description, galleryCount, galleryPage);
}

void RegisterBasicFunction(const classes::TClassInfo& functionClass,
                           const std::string& description) {
    RegisterFunctionClass(functionClass, description, kMsgGalleryFunctions, kFunctionGalleryCount);
}

void RegisterStandardSeries() {
    RegisterSeriesClass(TLineSeries::StaticClass(), kMsgGalleryLine, kMsgGalleryStandard,
                        kKindGalleryCount);
    RegisterSeriesClass(TBarSeries::StaticClass(), kMsgGalleryBar, kMsgGalleryStandard,
                        kKindGalleryCount);
    RegisterSeriesClass(THorizBarSeries::StaticClass(), kMsgGalleryHorizBar, kMsgGalleryStandard,
                        kKindGalleryCount);
    RegisterSeriesClass(TAreaSeries::StaticClass(), kMsgGalleryArea, kMsgGalleryStandard,
                        kKindGalleryCount);
    RegisterSeriesClass(TPointSeries::StaticClass(), kMsgGalleryPoint, kMsgGalleryStandard,
                        kKindGalleryCount);
    RegisterSeriesClass(TPieSeries::StaticClass(), kMsgGalleryPie, kMsgGalleryStandard,
                        kPieGalleryCount);
    RegisterSeriesClass(TFastLineSeries::StaticClass(), kMsgGalleryFastLine, kMsgGalleryStandard,
                        kKindGalleryCount);
}

void RegisterStandardFunctions() {
    RegisterBasicFunction(TAddFunction::StaticClass(), kMsgFunctionAdd);
    RegisterBasicFunction(TSubtractFunction::StaticClass(), kMsgFunctionSubtract);
    RegisterBasicFunction(TMultiplyFunction::StaticClass(), kMsgFunctionMultiply);
    RegisterBasicFunction(TDivideFunction::StaticClass(), kMsgFunctionDivide);
    RegisterBasicFunction(THighFunction::StaticClass(), kMsgFunctionHigh);
    RegisterBasicFunction(TLowFunction::StaticClass(), kMsgFunctionLow);
    RegisterBasicFunction(TAverageFunction::StaticClass(), kMsgFunctionAverage);
}

TChartSeries* CreateSeriesOfKind(const TChartSeriesType& kind, classes::TComponent* owner) {
    const classes::TClassInfo& seriesClass =
        kind.SeriesClass != nullptr ? *kind.SeriesClass : TLineSeries::StaticClass();
    auto* series = dynamic_cast<TChartSeries*>(seriesClass.Create(owner));
    if (series != nullptr && kind.FunctionClass != nullptr) {
        series->SetFunction(dynamic_cast<TChartFunction*>(kind.FunctionClass->Create(owner)));
    }
    return series;
}

}  // namespace chart
