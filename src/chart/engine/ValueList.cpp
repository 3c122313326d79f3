// Value lists: ordered append, lazy statistics and the partition sort over whole points.
#include "chart/engine/ValueList.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "base/Exceptions.h"
#include "chart/engine/Series.h"
#include "classes/ClassBuilder.h"

namespace chart {

namespace {
int32_t g_defaultListCapacity = 0;
}  // namespace

int32_t DefaultListCapacity() {
    return g_defaultListCapacity;
}
void SetDefaultListCapacity(int32_t value) {
    g_defaultListCapacity = std::max(value, 0);
}

TChartValueList::TChartValueList(TChartSeries* owner, const std::string& name)
    : m_name(name), m_owner(owner) {
    if (m_owner != nullptr) {
        m_owner->m_valueLists.push_back(this);
    }
    RemoveAllValues();
}

TChartValueList::~TChartValueList() {
    if (m_owner != nullptr) {
        std::erase(m_owner->m_valueLists, this);
    }
}

const classes::TClassInfo& TChartValueList::StaticClass() {
    // None of these declares a default: DateTime and Order are always stored, Multiplier when
    // not 0, the texts when not empty.
    static const classes::TClassInfo info =
        classes::TClassBuilder<TChartValueList>("TChartValueList",
                                                &classes::TPersistent::StaticClass())
            .Boolean("DateTime", &TChartValueList::DateTime, &TChartValueList::SetDateTime)
            .Float("Multiplier", &TChartValueList::Multiplier, &TChartValueList::SetMultiplier)
            .StoredIf([](const TChartValueList& l) { return l.Multiplier() != 0; })
            .String("Name", &TChartValueList::Name, &TChartValueList::SetName)
            .StoredIf([](const TChartValueList& l) { return !l.Name().empty(); })
            .Enum<TChartListOrder>("Order", &TChartValueList::Order, &TChartValueList::SetOrder,
                                   {"loNone", "loAscending", "loDescending"})
            .String("ValueSource", &TChartValueList::ValueSource, &TChartValueList::SetValueSource)
            .StoredIf([](const TChartValueList& l) { return !l.ValueSource().empty(); })
            .Build();
    return info;
}

const classes::TClassInfo& TChartValueList::ClassInfo() const {
    return StaticClass();
}

void TChartValueList::Assign(const classes::TPersistent& source) {
    if (const auto* list = dynamic_cast<const TChartValueList*>(&source)) {
        CopySettingsFrom(*list);
    }
}

void TChartValueList::CheckIndex(int32_t index) const {
    if (index < 0 || index >= ValueCount()) {
        base::ThrowListIndexError(index);
    }
}

double TChartValueList::ValueAt(int32_t index) const {
    CheckIndex(index);
    return m_values[static_cast<size_t>(index)] * m_multiplier;
}

void TChartValueList::ReadValues(int32_t first, std::span<double> out) const {
    if (out.empty()) {
        return;
    }
    CheckIndex(first);
    CheckIndex(first + static_cast<int32_t>(out.size()) - 1);
    const double* raw = m_values.data() + first;
    const double multiplier = m_multiplier;  // a local: out might alias the member
    if (multiplier == 1) {
        std::memcpy(out.data(), raw, out.size() * sizeof(double));
        return;
    }
    for (size_t i = 0; i < out.size(); ++i) {
        out[i] = raw[i] * multiplier;
    }
}

void TChartValueList::SetValueAt(int32_t index, double value) {
    CheckIndex(index);
    m_values[static_cast<size_t>(index)] = value;
    m_statisticsStale = true;
    if (m_owner != nullptr) {
        m_owner->NotifyLinkedSeries(TLinkEvent::leValueChanged, index);
    }
}

void TChartValueList::RemoveAllValues() {
    std::vector<double>().swap(m_values);
    m_values.reserve(static_cast<size_t>(DefaultListCapacity()));
    m_statisticsStale = true;
}

int32_t TChartValueList::AppendOrdered(double value) {
    const int32_t count = ValueCount();
    int32_t index = count;
    if (count > 0) {
        const double last = m_values.back();
        // Scan back over the values that must come after the new one; an equal value stops
        // the scan, so the new value lands after every equal one.
        switch (m_order) {
            case TChartListOrder::loNone:
                break;
            case TChartListOrder::loAscending:
                if (!(last <= value)) {
                    int32_t i = count - 1;
                    while (i >= 0 && m_values[static_cast<size_t>(i)] > value) {
                        --i;
                    }
                    index = i + 1;
                }
                break;
            case TChartListOrder::loDescending:
                if (!(last >= value)) {
                    int32_t i = count - 1;
                    while (i >= 0 && m_values[static_cast<size_t>(i)] < value) {
                        --i;
                    }
                    index = i + 1;
                }
                break;
        }
    }
    m_values.insert(m_values.begin() + index, value);
    m_statisticsStale = true;
    return index;
}

void TChartValueList::InsertAt(int32_t index, double value) {
    if (index < 0 || index > ValueCount()) {
        base::ThrowListIndexError(index);
    }
    m_values.insert(m_values.begin() + index, value);
    m_statisticsStale = true;
}

void TChartValueList::RemoveAt(int32_t index) {
    CheckIndex(index);
    m_values.erase(m_values.begin() + index);
    m_statisticsStale = true;
}

void TChartValueList::RotateFirstToEnd() {
    if (!m_values.empty()) {
        std::rotate(m_values.begin(), m_values.begin() + 1, m_values.end());
    }
}

int32_t TChartValueList::IndexOfValue(double value) const {
    for (int32_t i = 0; i < ValueCount(); ++i) {
        if (m_values[static_cast<size_t>(i)] * m_multiplier == value) {
            return i;
        }
    }
    return -1;
}

void TChartValueList::RecomputeStatistics() const {
    if (m_values.empty()) {
        m_minimumValue = m_maximumValue = m_totalValue = m_totalAbsolute = 0;
    } else {
        const double first = m_values[0] * m_multiplier;
        m_minimumValue = m_maximumValue = m_totalValue = first;
        m_totalAbsolute = std::fabs(first);
        for (size_t i = 1; i < m_values.size(); ++i) {
            const double v = m_values[i] * m_multiplier;
            if (v < m_minimumValue) {
                m_minimumValue = v;
            } else if (v > m_maximumValue) {
                m_maximumValue = v;
            }
            m_totalValue += v;
            m_totalAbsolute += std::fabs(v);
        }
    }
    m_statisticsStale = false;
}

double TChartValueList::MaximumValue() const {
    if (m_statisticsStale) {
        RecomputeStatistics();
    }
    return m_maximumValue;
}

double TChartValueList::MinimumValue() const {
    if (m_statisticsStale) {
        RecomputeStatistics();
    }
    return m_minimumValue;
}

double TChartValueList::TotalValue() const {
    if (m_statisticsStale) {
        RecomputeStatistics();
    }
    return m_totalValue;
}

double TChartValueList::TotalAbsolute() const {
    if (m_statisticsStale) {
        RecomputeStatistics();
    }
    return m_totalAbsolute;
}

int32_t TChartValueList::CompareForOrder(int32_t a, int32_t b) const {
    const double va = ValueAt(a);
    const double vb = ValueAt(b);
    const int32_t result = va < vb ? -1 : (va > vb ? 1 : 0);
    return m_order == TChartListOrder::loDescending ? -result : result;
}

void TChartValueList::Exchange(int32_t i, int32_t j) {
    if (m_owner != nullptr) {
        m_owner->SwapPoints(i, j);
    } else {
        SwapValues(i, j);
    }
}

void TChartValueList::SwapValues(int32_t i, int32_t j) {
    CheckIndex(i);
    CheckIndex(j);
    std::swap(m_values[static_cast<size_t>(i)], m_values[static_cast<size_t>(j)]);
}

void TChartValueList::SortRange(int32_t lo, int32_t hi) {
    // Partition sort around the middle point. The pivot is tracked by index as points move.
    // The smaller part is sorted by recursion and the larger one by the loop, so the
    // recursion stays shallow (log2 of the count) whatever the values.
    while (lo < hi) {
        int32_t i = lo;
        int32_t j = hi;
        int32_t p = lo + (hi - lo) / 2;
        while (j > i) {
            while (CompareForOrder(i, p) < 0) {
                ++i;
            }
            while (CompareForOrder(p, j) < 0) {
                --j;
            }
            if (i < j) {
                Exchange(i, j);
                if (p == i) {
                    p = j;
                } else if (p == j) {
                    p = i;
                }
            }
            if (i <= j) {
                ++i;
                --j;
            }
        }
        if (j - lo < hi - i) {
            if (j > lo) {
                SortRange(lo, j);
            }
            lo = i;
        } else {
            if (i < hi) {
                SortRange(i, hi);
            }
            hi = j;
        }
    }
}

void TChartValueList::SortByOrder() {
    switch (m_order) {
        case TChartListOrder::loNone:
            return;
        case TChartListOrder::loAscending:
        case TChartListOrder::loDescending:
            SortRange(0, ValueCount() - 1);
            return;
    }
}

void TChartValueList::FillWithIndices() {
    for (int32_t i = 0; i < ValueCount(); ++i) {
        SetValueAt(i, i);
    }
}

void TChartValueList::CopySettingsFrom(const TChartValueList& source) {
    m_order = source.m_order;
    m_dateTime = source.m_dateTime;
    m_multiplier = source.m_multiplier;
    m_valueSource = source.m_valueSource;
    m_statisticsStale = true;
}

void TChartValueList::SetDateTime(bool value) {
    if (value != m_dateTime) {
        m_dateTime = value;
        if (m_owner != nullptr) {
            m_owner->RequestRepaint();
        }
    }
}

void TChartValueList::SetMultiplier(double value) {
    if (value != m_multiplier) {
        m_multiplier = value;
        m_statisticsStale = true;
        if (m_owner != nullptr) {
            m_owner->NotifyLinkedSeries(TLinkEvent::leRefresh, 0);
            m_owner->RequestRepaint();
        }
    }
}

void TChartValueList::SetValueSource(const std::string& value) {
    if (value != m_valueSource) {
        m_valueSource = value;
        if (m_owner != nullptr) {
            m_owner->RefreshFromDataSource();
        }
    }
}

}  // namespace chart
