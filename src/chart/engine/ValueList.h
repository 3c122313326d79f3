// One column of a series' point data (all X or all Y values) kept in a declared order, with
// lazily computed statistics and a read-time multiplier.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "classes/Persistent.h"

namespace chart {

class TChartSeries;

enum class TChartListOrder { loNone, loAscending, loDescending };

// Capacity (values) a point store keeps reserved after it is emptied; 0 releases the space.
int32_t DefaultListCapacity();
void SetDefaultListCapacity(int32_t value);

// The values are raw 64-bit floats stored contiguously in point order; every read multiplies
// by Multiplier. Ordered insertion compares raw values; statistics cover read values.
class TChartValueList : public classes::TPersistent {
  public:
    // Registers the list at the end of the owner's value lists. A list without an owner
    // (tools, tests) sorts its own values only.
    TChartValueList(TChartSeries* owner, const std::string& name);
    ~TChartValueList() override;

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    // Copies the settings of another value list (see CopySettingsFrom); other sources are
    // ignored.
    void Assign(const classes::TPersistent& source) override;

    // Raw value at index times Multiplier; EListError outside 0 .. count-1.
    virtual double ValueAt(int32_t index) const;
    // ValueAt of first .. first + out.size() - 1 into out, in one call; a list that reads its
    // values another way overrides both.
    virtual void ReadValues(int32_t first, std::span<double> out) const;
    // Overwrites the raw value (not divided by Multiplier) and tells the owner's linked series.
    virtual void SetValueAt(int32_t index, double value);
    // Empties the store and releases its space down to DefaultListCapacity().
    virtual void RemoveAllValues();
    // Adds value keeping Order; an equal value goes after those already present. Returns
    // the index where it now stands.
    virtual int32_t AppendOrdered(double value);
    // Inserts at index 0 .. count; later values move up by one.
    virtual void InsertAt(int32_t index, double value);
    virtual int32_t ValueCount() const { return static_cast<int32_t>(m_values.size()); }
    virtual void RemoveAt(int32_t index);
    // Moves the first value to the end; the statistics stay valid.
    virtual void RotateFirstToEnd();

    double LastValue() const { return ValueAt(ValueCount() - 1); }
    // The first index whose read value equals value exactly, or -1.
    int32_t IndexOfValue(double value) const;

    double MaximumValue() const;
    double MinimumValue() const;
    double TotalValue() const;
    double TotalAbsolute() const;
    bool StatisticsStale() const { return m_statisticsStale; }
    void RecomputeStatistics() const;

    // Sorts the owner's whole points by this list's values in Order (not stable); nothing
    // for loNone.
    void SortByOrder();
    // Sets value i to i for every index.
    void FillWithIndices();
    // Copies Order, DateTime, Multiplier and ValueSource; the name and values stay.
    void CopySettingsFrom(const TChartValueList& source);
    // Exchanges the raw values at i and j; the statistics stay valid.
    void SwapValues(int32_t i, int32_t j);

    bool DateTime() const { return m_dateTime; }
    void SetDateTime(bool value);
    double Multiplier() const { return m_multiplier; }
    void SetMultiplier(double value);
    const std::string& Name() const { return m_name; }
    void SetName(const std::string& value) { m_name = value; }
    // Setting Order does not re-sort the stored values (SortByOrder does).
    TChartListOrder Order() const { return m_order; }
    void SetOrder(TChartListOrder value) { m_order = value; }
    const std::string& ValueSource() const { return m_valueSource; }
    void SetValueSource(const std::string& value);

    // A value staged by the series between receiving a point and inserting it.
    double PendingValue() const { return m_pendingValue; }
    void SetPendingValue(double value) { m_pendingValue = value; }

    TChartSeries* Owner() const { return m_owner; }

  private:
    friend class TChartSeries;
    void CheckIndex(int32_t index) const;
    int32_t CompareForOrder(int32_t a, int32_t b) const;
    void SortRange(int32_t lo, int32_t hi);
    void Exchange(int32_t i, int32_t j);

    bool m_dateTime = false;
    std::vector<double> m_values;  // raw values, one per point
    mutable double m_maximumValue = 0;
    mutable double m_minimumValue = 0;
    double m_multiplier = 1.0;
    std::string m_name;
    TChartListOrder m_order = TChartListOrder::loNone;
    TChartSeries* m_owner;  // not owned
    double m_pendingValue = 0;
    mutable double m_totalValue = 0;
    mutable double m_totalAbsolute = 0;
    std::string m_valueSource;
    mutable bool m_statisticsStale = true;
};

}  // namespace chart
