// The series' data sources: linking, the cycle check, copying points from a source, telling
// linked series of changes, and the sources named in design data, linked after loading.
#include <algorithm>
#include <utility>

#include "base/Format.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartFunction.h"
#include "chart/engine/Series.h"
#include "chart/messages/ChartMessages.h"
#include "classes/ClassBuilder.h"

namespace chart {

namespace {
// The linked series' mask lets the event through.
bool FollowsEvent(uint8_t mask, TLinkEvent event) {
    switch (event) {
        case TLinkEvent::leCleared:
            return (mask & kLinkCleared) != 0;
        case TLinkEvent::leAdded:
            return (mask & kLinkAdded) != 0;
        case TLinkEvent::leDeleted:
            return (mask & kLinkDeleted) != 0;
        case TLinkEvent::leRefresh:
            return true;
        case TLinkEvent::leValueChanged:
            return (mask & kLinkValueChanged) != 0;
    }
    return true;
}
}  // namespace

classes::TPropInfo TChartSeries::DataSourcesProperty() {
    classes::TPropInfo p;
    p.Name = "DataSources";
    p.Kind = classes::TPropKind::pkStrings;
    p.Get = [](const classes::TPersistent& o) {
        std::vector<std::string> names;
        for (const TChartSeries* source : static_cast<const TChartSeries&>(o).m_dataSources) {
            names.push_back(source->Name());
        }
        return classes::TDesignValue::OfList(std::move(names));
    };
    p.Set = [](classes::TPersistent& o, const classes::TDesignValue& v) {
        if (v.Kind != classes::TDesignValue::TKind::dvList) {
            throw classes::EPropertyError("expected a list of strings in parentheses");
        }
        static_cast<TChartSeries&>(o).m_dataSourceNames = v.Items;
    };
    // One source is written as DataSource alone.
    p.Stored = [](const classes::TPersistent& o) {
        return static_cast<const TChartSeries&>(o).m_dataSources.size() > 1;
    };
    return p;
}

void TChartSeries::Loaded() {
    TComponent::Loaded();
    const std::vector<std::string> names = std::exchange(m_dataSourceNames, {});
    TComponent* owner = Owner();
    for (const std::string& name : names) {
        auto* source =
            owner == nullptr ? nullptr : dynamic_cast<TChartSeries*>(owner->FindComponent(name));
        if (source == nullptr || source == this || !AcceptsSource(*source)) {
            throw ChartException(base::Format(kMsgNoValidDataSource, {name}));
        }
        if (std::find(m_dataSources.begin(), m_dataSources.end(), source) == m_dataSources.end()) {
            CheckCircular(*source);
            LinkDataSource(source);
        }
    }
    RefreshFromDataSource();
}

TChartSeries* TChartSeries::DataSource() const {
    return m_dataSources.empty() ? nullptr : m_dataSources.front();
}

TChartSeries* TChartSeries::LinkedSeries(int32_t index) const {
    if (index < 0 || index >= LinkedSeriesCount()) {
        base::ThrowListIndexError(index);
    }
    return m_linkedSeries[static_cast<size_t>(index)];
}

void TChartSeries::UnlinkDataSources() {
    for (TChartSeries* source : m_dataSources) {
        std::erase(source->m_linkedSeries, this);
    }
    m_dataSources.clear();
}

void TChartSeries::CheckCircular(const TChartSeries& source) const {
    // Any source of the chain, not only the first, would close a loop of notifications.
    for (const TChartSeries* next : source.m_dataSources) {
        if (next == this) {
            throw ChartException(kMsgCircularSeries);
        }
        CheckCircular(*next);
    }
}

void TChartSeries::ValidateDataSource(TChartSeries& value) const {
    if (m_parentChart == nullptr) {
        throw ChartException(kMsgNoParentChart);
    }
    if (&value == this || !AcceptsSource(value)) {
        throw ChartException(base::Format(kMsgNoValidDataSource, {value.Name()}));
    }
}

void TChartSeries::SetDataSource(TChartSeries* value) {
    if (value == nullptr) {
        // Empty, even with no source before: the series is emptied (a designer's samples).
        UnlinkDataSources();
        // A designer shows sample points where the source's points were.
        if ((Designing() || (m_parentChart != nullptr && m_parentChart->Designing())) &&
            !Destroying()) {
            FillSampleValues(SampleValueCount());
        } else {
            ClearPoints();
        }
        RequestRepaint();
        return;
    }
    ValidateDataSource(*value);
    if (std::find(m_dataSources.begin(), m_dataSources.end(), value) != m_dataSources.end()) {
        return;
    }
    CheckCircular(*value);
    if (!Loading()) {
        UnlinkDataSources();
    }
    LinkDataSource(value);
    RefreshFromDataSource();
}

void TChartSeries::LinkDataSource(TChartSeries* source) {
    m_dataSources.push_back(source);
    source->m_linkedSeries.push_back(this);
}

void TChartSeries::RefreshFromDataSource() {
    if (!Loading() && DataSource() != nullptr) {
        RefreshFromSource(*DataSource());
    }
}

void TChartSeries::NotifyLinkedSeries(TLinkEvent event, int32_t index) {
    // By index: a linked series may leave the list while it reacts.
    for (size_t k = 0; k < m_linkedSeries.size(); ++k) {
        TChartSeries& linked = *m_linkedSeries[k];
        const uint8_t mask = linked.m_linkEventMask;
        if (linked.m_function != nullptr && event != TLinkEvent::leRefresh) {
            // A calculated series cannot follow a source point by point: its points are
            // results over whole groups or across several sources. Whatever its mask lets
            // through makes it recalculate, so its result always follows its sources.
            if (FollowsEvent(mask, event)) {
                linked.RefreshFromDataSource();
            }
            continue;
        }
        switch (event) {
            case TLinkEvent::leCleared:
                if ((mask & kLinkCleared) != 0) {
                    linked.ClearPoints();
                }
                break;
            case TLinkEvent::leAdded:
                if ((mask & kLinkAdded) != 0) {
                    linked.AddPointFrom(*this, index);
                }
                break;
            case TLinkEvent::leDeleted:
                if ((mask & kLinkDeleted) != 0) {
                    linked.DeletePoint(index);
                }
                break;
            case TLinkEvent::leRefresh:
                linked.RefreshFromSource(*this);
                break;
            case TLinkEvent::leValueChanged:
                if ((mask & kLinkValueChanged) != 0) {
                    linked.RefreshFromSource(*this);
                }
                break;
        }
    }
}

int32_t TChartSeries::CopyPointFrom(const TChartSeries& source, int32_t index) {
    double x = source.XValueAt(index);
    double y = source.YValueAt(index);
    if (source.YIsMandatory() != YIsMandatory()) {
        std::swap(x, y);
    }
    const int32_t newIndex = m_xValues->AppendOrdered(x);
    m_yValues->InsertAt(newIndex, y);
    for (size_t i = 2; i < m_valueLists.size(); ++i) {
        const double extra = i < source.m_valueLists.size() ? source.m_valueLists[i]->ValueAt(index)
                                                            : m_valueLists[i]->PendingValue();
        m_valueLists[i]->InsertAt(newIndex, extra);
    }
    // Colour and label entries keep every per-point list aligned with the values.
    m_pointColors.insert(m_pointColors.begin() + newIndex, clSeriesDefault);
    InsertLabel(newIndex, std::string());
    return newIndex;
}

void TChartSeries::AddPointFrom(const TChartSeries& source, int32_t index) {
    const int32_t newIndex = CopyPointFrom(source, index);
    m_pointColors[static_cast<size_t>(newIndex)] = source.StoredPointColor(index);
    StoreLabel(newIndex, source.PointLabel(index));
    AfterAdd(newIndex);
}

void TChartSeries::RefreshFromSource(const TChartSeries& source) {
    if (&source == this) {
        return;
    }
    ClearPoints();
    if (m_function != nullptr) {
        // Every source refreshes the whole result, which the first source leads.
        const TChartSeries& lead = DataSource() != nullptr ? *DataSource() : source;
        m_xValues->SetDateTime(lead.XValues().DateTime());
        m_yValues->SetDateTime(lead.YValues().DateTime());
        m_function->Fill(lead);
    } else {
        for (int32_t i = 0; i < source.PointCount(); ++i) {
            AddPointFrom(source, i);
        }
    }
    NotifyLinkedSeries(TLinkEvent::leRefresh, 0);
}

}  // namespace chart
