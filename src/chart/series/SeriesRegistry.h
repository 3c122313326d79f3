// The registry of series kinds and calculated-series functions with their gallery names and
// pages, and the start-up registration of the standard kinds and functions.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "classes/Properties.h"

namespace chart {

class TChartSeries;

// One registry entry: a series kind, a function kind, or both.
struct TChartSeriesType {
    const classes::TClassInfo* SeriesClass = nullptr;    // none for a function entry
    const classes::TClassInfo* FunctionClass = nullptr;  // none for a plain series kind
    std::string Description;                             // at most 20 characters
    std::string GalleryPage;                             // at most 20 characters
    int32_t GalleryCount = 0;  // how many series of the kind a gallery preview shows
};

// The registered kinds in registration order.
class TChartSeriesTypes {
  public:
    int32_t Count() const { return static_cast<int32_t>(m_items.size()); }
    // EListError "List index out of bounds (%d)" outside 0 .. Count()-1.
    const TChartSeriesType& Item(int32_t index) const;
    // The entry with exactly these classes, or nullptr.
    const TChartSeriesType* Find(const classes::TClassInfo* seriesClass,
                                 const classes::TClassInfo* functionClass) const;
    void Add(TChartSeriesType entry) { m_items.push_back(std::move(entry)); }

  private:
    std::vector<TChartSeriesType> m_items;
};

// The engine-wide registry; nullptr until the first registration.
TChartSeriesTypes* SeriesKinds();

// Registers the given classes for design data and, unless an entry with the same two classes
// exists, appends an entry with the texts cut to 20 characters.
void RegisterSeriesKind(const classes::TClassInfo* seriesClass,
                        const classes::TClassInfo* functionClass, const std::string& description,
                        int32_t galleryCount, const std::string& galleryPage);
void RegisterSeriesClass(const classes::TClassInfo& seriesClass, const std::string& description,
                         const std::string& galleryPage, int32_t galleryCount);
void RegisterFunctionClass(const classes::TClassInfo& functionClass, const std::string& description,
                           const std::string& galleryPage, int32_t galleryCount);
// On the page "Functions", two series in a preview.
void RegisterBasicFunction(const classes::TClassInfo& functionClass,
                           const std::string& description);

// The seven standard series kinds on the page "Standard".
void RegisterStandardSeries();
// The seven functions on the page "Functions".
void RegisterStandardFunctions();

// A new series of the entry's kind (a line series for a function entry) owned by owner, with a
// new function of the entry's function kind when it has one.
TChartSeries* CreateSeriesOfKind(const TChartSeriesType& kind, classes::TComponent* owner);

}  // namespace chart
