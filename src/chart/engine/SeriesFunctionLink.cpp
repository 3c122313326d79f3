// The series' calculated side: its function, further data sources and storing the function
// inside the series in design data.
#include <algorithm>
#include <utility>

#include "chart/engine/ChartFunction.h"
#include "chart/engine/Series.h"

namespace chart {

void TChartSeries::AddDataSource(TChartSeries* value) {
    if (value == nullptr) {
        return;
    }
    ValidateDataSource(*value);
    if (std::find(m_dataSources.begin(), m_dataSources.end(), value) != m_dataSources.end()) {
        return;
    }
    CheckCircular(*value);
    m_dataSources.push_back(value);
    value->m_linkedSeries.push_back(this);
    RefreshFromDataSource();
}

void TChartSeries::SetFunction(TChartFunction* value) {
    if (value == m_function) {
        return;
    }
    TChartFunction* old = std::exchange(m_function, value);
    if (old != nullptr) {
        old->SetFunctionOwner(nullptr);
        delete old;
    }
    if (value != nullptr) {
        if (TChartSeries* previous = value->FunctionOwner()) {
            previous->m_function = nullptr;
        }
        value->SetFunctionOwner(this);
    }
    RefreshFromDataSource();
}

void TChartSeries::ForgetFunction(const TChartFunction* function) {
    if (m_function == function) {
        m_function = nullptr;
    }
}

void TChartSeries::GetChildren(const std::function<void(classes::TComponent*)>& proc,
                               classes::TComponent* root) const {
    TComponent::GetChildren(proc, root);
    if (m_function != nullptr && m_function->Owner() == root) {
        proc(m_function);
    }
}

}  // namespace chart
