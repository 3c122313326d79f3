// Drawing an axis: its title, the labels by label style, outer, inner and minor ticks, grid
// lines and the axis line, rotated multi-line text, and the hit test.
#include <algorithm>
#include <cmath>

#include "chart/engine/Axis.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartColors.h"
#include "chart/engine/Series.h"
#include "chart/panel/ChartProcs.h"
#include "chart/panel/DateSteps.h"

namespace chart {

namespace {

// At most this many tick positions are recorded per axis and paint.
constexpr size_t kMaxTickPositions = 2000;
// A value loop that would place this many labels or more places none.
constexpr double kMaxValueLabels = 10000;
// Label indices the chart's placement hook may give.
constexpr int32_t kMaxCustomLabels = 2000;
// The logarithmic loop never places more labels than this.
constexpr int32_t kMaxLogarithmicLabels = 2000;
// Date-time step indices: half months and longer move by calendar; from 18 on labels are
// placed even without an increment; from 14 on the first label is rounded to the step.
constexpr int32_t kCalendarStepIndex = 18;
constexpr int32_t kRoundedStepIndex = 14;
constexpr int32_t kLastStepIndex = kDateStepCount - 1;
// Slack of the lowest value label and of the placement hook's values.
constexpr double kLabelSlack = 1e-12;
constexpr double kLabelScale = 1.000000000001;
constexpr double kCustomSlack = 1e-7;
// A logarithmic axis starting at or below zero starts its labels here instead.
constexpr double kLogStartAtZero = 0.1;
constexpr double kLogStartBelowZero = 1e-10;
// Pixels the hit area reaches beyond the axis line.
constexpr int32_t kHitSlack = 3;

int32_t RoundPixel(double value) {
    return static_cast<int32_t>(std::nearbyint(value));
}

}  // namespace

void TCustomChartAxis::AddTick(int32_t position) {
    if (m_tickPositions.size() < kMaxTickPositions) {
        m_tickPositions.push_back(position);
    }
}

void TCustomChartAxis::DrawRotatedText(int32_t x, int32_t y, const std::string& text,
                                       int32_t angle) {
    if (m_chart == nullptr) {
        return;
    }
    TChartCanvas3D& canvas = m_chart->Canvas();
    const int32_t h = FontHeight();
    const int32_t lines = std::max(1, CountTextLines(text));
    const int32_t z = m_otherSide ? Depth() : 0;
    const bool top = m_horizontal && m_otherSide;
    const bool bottom = m_horizontal && !m_otherSide;
    const bool left = !m_horizontal && !m_otherSide;
    const uint32_t centre = gfx::kTaCenter;
    const uint32_t centreBottom = gfx::kTaCenter + gfx::kTaBottom;
    uint32_t align = gfx::kTaLeft;
    switch (angle) {
        case 0:
            align = left ? gfx::kTaRight : top ? centreBottom : bottom ? centre : gfx::kTaLeft;
            if (!m_horizontal) {
                y -= h / 2;
            }
            break;
        case 90:
            align = left ? centreBottom : top ? gfx::kTaLeft : bottom ? gfx::kTaRight : centre;
            if (m_horizontal) {
                x -= h / 2;
            }
            break;
        case 180:
            align = left ? gfx::kTaLeft : top ? centre : bottom ? centreBottom : gfx::kTaRight;
            if (!m_horizontal) {
                y += h / 2;
            }
            break;
        case 270:
            align = left ? centre : top ? gfx::kTaRight : bottom ? gfx::kTaLeft : centreBottom;
            if (m_horizontal) {
                x += h / 2;
            }
            break;
        default:
            break;
    }
    canvas.WriteTextAlign(align);
    const int32_t f = (angle == 180 || angle == 270) ? -h : h;
    const int32_t half = RoundPixel(f * 0.5 * (lines + 1));
    if (m_horizontal) {
        if (angle == 0) {
            y -= top ? lines * f : f;
        } else if (angle == 90 || angle == 270) {
            x -= half;
        } else if (angle == 180) {
            y -= bottom ? lines * f : f;
        }
    } else if (angle == 0 || angle == 180) {
        y -= half;
    } else if (angle == 90) {
        x -= left ? lines * f : f;
    } else if (angle == 270) {
        x -= left ? f : lines * f;
    }
    size_t from = 0;
    while (from <= text.size()) {
        const size_t end = std::min(text.find(LineBreakChar, from), text.size());
        const std::string line = text.substr(from, end - from);
        if (angle == 0) {
            y += f;
            canvas.PutTextAtDepth(x, y, z, line);
        } else {
            if (angle == 90 || angle == 270) {
                x += f;
            } else if (angle == 180) {
                y += f;
            }
            canvas.PutRotatedTextAtDepth(x, y, z, angle, line);
        }
        from = end + 1;
    }
    canvas.WriteTextAlign(gfx::kTaLeft + gfx::kTaTop);
}

void TCustomChartAxis::DrawLabelText(int32_t position, const std::string& text) {
    if (m_isZAxis) {
        TChartCanvas3D& canvas = m_chart->Canvas();
        canvas.WriteTextAlign(gfx::kTaLeft);
        canvas.PutTextAtDepth(m_labelsPos, m_chart->PlotRect().Bottom, position, text);
        return;
    }
    if (m_horizontal) {
        DrawRotatedText(position, m_labelsPos, text, m_labelsAngle);
    } else {
        DrawRotatedText(m_labelsPos, position, text, m_labelsAngle);
    }
}

void TCustomChartAxis::PlaceLabel(double value) {
    const int32_t p = ValueToPos(value);
    if (!m_labelsOnAxis && !(m_startPixel < p && p < m_endPixel)) {
        return;
    }
    if (!m_tickOnLabelsOnly) {
        AddTick(p);
    }
    if (m_labels) {
        DrawLabelText(p, LabelText(value));
        if (m_tickOnLabelsOnly) {
            AddTick(p);
        }
    }
}

void TCustomChartAxis::ValueLabels(double increment, int32_t stepIndex) {
    if (std::fabs(m_currentRange / increment) >= kMaxValueLabels) {
        return;
    }
    const bool calendar = m_isDateTimeAxis && m_exactDateTime;
    if (calendar && !(std::fabs(m_currentMinimum) < kDateTimeLimit &&
                      std::fabs(m_currentMaximum) < kDateTimeLimit)) {
        return;  // no calendar steps outside the calendar
    }
    double v = m_currentMaximum;
    if (calendar && stepIndex >= kRoundedStepIndex && stepIndex <= kLastStepIndex) {
        v = RoundDateToStep(stepIndex, m_currentMaximum);
    } else if (m_currentMinimum != m_currentMaximum && m_roundFirstLabel) {
        v = std::trunc(m_currentMaximum / increment) * increment;
    }
    // A step too small to change the value ends the loop.
    const auto stepDown = [&] {
        const double before = v;
        StepDate(calendar && stepIndex >= kCalendarStepIndex, false, v, stepIndex, increment);
        return v < before;
    };
    while (v > m_currentMaximum) {
        if (!stepDown()) {
            return;
        }
    }
    const double lowest = (m_currentMinimum - kLabelSlack) / kLabelScale;
    while (v >= lowest) {
        PlaceLabel(v);
        if (!stepDown()) {
            return;
        }
    }
}

void TCustomChartAxis::LogarithmicLabels() {
    if (m_currentMinimum == m_currentMaximum) {
        return;
    }
    double v = 0;
    if (m_currentMinimum > 0) {
        const auto base = static_cast<double>(m_logarithmicBase);
        v = std::pow(base, std::nearbyint(std::log(m_currentMinimum) / std::log(base)));
    } else {
        m_currentMinimum = m_currentMinimum == 0 ? kLogStartAtZero : kLogStartBelowZero;
        m_currentRange = m_currentMaximum - m_currentMinimum;
        v = m_currentMinimum;
    }
    for (int32_t n = 0; v <= m_currentMaximum && n < kMaxLogarithmicLabels; ++n) {
        if (v >= m_currentMinimum) {
            PlaceLabel(v);
        }
        v *= m_logarithmicBase;
    }
}

bool TCustomChartAxis::CustomLabels() {
    const TAxisOnGetNextLabel& handler = ChartHooks().OnGetNextAxisLabel;
    double v = m_currentMinimum;
    // Stop starts true once: a handler that clears it goes on being asked until it sets it
    // again or gives a value outside the range.
    bool stop = true;
    for (int32_t index = 0; index <= kMaxCustomLabels; ++index) {
        handler(*this, index, v, stop);
        if (stop) {
            return index > 0;
        }
        if (!(m_currentMinimum - kCustomSlack <= v && v <= m_currentMaximum + kCustomSlack)) {
            return true;
        }
        PlaceLabel(v);
    }
    return true;
}

void TCustomChartAxis::SeriesLabels(TAxisLabelStyle style) {
    std::vector<TChartSeries*> listed;
    int32_t first = -1;
    int32_t last = -1;
    for (int32_t i = 0; i < m_chart->SeriesCount(); ++i) {
        TChartSeries* series = m_chart->Series(i);
        if (series->Active() && UsesAxis(*series) && series->PointCount() > 0) {
            listed.push_back(series);
            series->ComputeVisibleRange();
            if (series->FirstVisibleIndex() >= 0) {
                first = first < 0 ? series->FirstVisibleIndex()
                                  : std::min(first, series->FirstVisibleIndex());
                last = std::max(last, series->LastVisibleIndex());
            }
        }
    }
    if (first < 0) {
        return;
    }
    const bool alongAxis = m_horizontal || m_labelsAngle == 90 || m_labelsAngle == 270;
    const TAxisOnGetLabel& hook = ChartHooks().OnGetAxisLabel;
    bool anyDrawn = false;
    int32_t previous = 0;
    int32_t previousHalf = 0;
    for (int32_t k = first; k <= last; ++k) {
        const auto it = std::find_if(listed.begin(), listed.end(),
                                     [k](const TChartSeries* s) { return k < s->PointCount(); });
        if (it == listed.end()) {
            continue;
        }
        TChartSeries& series = **it;
        std::string text =
            style == TAxisLabelStyle::talMark ? series.MarkText(k) : series.PointLabel(k);
        if (hook) {
            hook(*this, &series, k, text);
        }
        const double value = m_horizontal ? series.XValueAt(k) : series.YValueAt(k);
        if (!(m_currentMinimum <= value && value <= m_currentMaximum)) {
            continue;
        }
        const int32_t p = ValueToPos(value);
        if (!m_tickOnLabelsOnly) {
            AddTick(p);
        }
        if (!m_labels) {
            continue;
        }
        int32_t lines = 0;
        const int32_t width = MultiLineWidth(text, lines);
        const int32_t s = alongAxis ? width : FontHeight() * lines;
        int32_t half = s / 2;
        if (m_labelsSeparation != 0 && anyDrawn) {
            half = (s + static_cast<int32_t>(s * 0.02 * m_labelsSeparation)) / 2;
            const bool clear = p < previous ? previous - previousHalf >= p + half
                                            : p - half >= previous + previousHalf;
            if (!clear) {
                continue;
            }
        }
        DrawLabelText(p, text);
        if (m_tickOnLabelsOnly) {
            AddTick(p);
        }
        anyDrawn = true;
        previous = p;
        previousHalf = half;
    }
}

void TCustomChartAxis::DepthTitleLabels() {
    // Without an active series there is nothing to name (and the range is only a placeholder).
    bool anyActive = false;
    for (int32_t i = 0; i < m_chart->SeriesCount() && !anyActive; ++i) {
        anyActive = m_chart->Series(i)->Active();
    }
    if (!anyActive) {
        return;
    }
    const TAxisOnGetLabel& hook = ChartHooks().OnGetAxisLabel;
    const auto firstK = static_cast<int64_t>(std::trunc(m_currentMinimum));
    const auto lastK = std::min<int64_t>(static_cast<int64_t>(std::trunc(m_currentMaximum)),
                                         firstK + static_cast<int64_t>(kMaxTickPositions));
    for (int64_t k = firstK; k <= lastK; ++k) {
        const int32_t p = ValueToPos(m_currentMaximum - static_cast<double>(k) - 0.5);
        if (!m_labelsOnAxis && !(m_startPixel < p && p < m_endPixel)) {
            continue;
        }
        if (!m_tickOnLabelsOnly) {
            AddTick(p);
        }
        if (!m_labels) {
            continue;
        }
        // The k-th series the legend lists names slot k; slots beyond them stay unnamed.
        const bool inList = k >= 0 && k < m_chart->SeriesCount();
        std::string text = inList ? m_chart->LegendSeriesTitle(static_cast<int32_t>(k)) : "";
        if (hook) {
            hook(*this, nullptr, static_cast<int32_t>(k), text);
        }
        DrawLabelText(p, text);
        if (m_tickOnLabelsOnly) {
            AddTick(p);
        }
    }
}

void TCustomChartAxis::DrawTitle() {
    TChartCanvas3D& canvas = m_chart->Canvas();
    SelectFont(m_title->Font());
    canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
    canvas.Brush().SetColor(m_chart->Color());
    const std::string& caption = m_title->Caption();
    if (m_isZAxis) {
        canvas.WriteTextAlign(gfx::kTaLeft);
        canvas.PutTextAtDepth(m_titlePos, m_chart->PlotRect().Bottom, Depth() / 2, caption);
    } else if (m_horizontal) {
        DrawRotatedText(m_centerPixel, m_titlePos, caption, m_title->Angle());
    } else {
        DrawRotatedText(m_titlePos, m_centerPixel, caption, m_title->Angle());
    }
}

void TCustomChartAxis::DrawTick(int32_t p, int32_t direction, int32_t length) {
    TChartCanvas3D& canvas = m_chart->Canvas();
    const int32_t w = OwnWallSize();
    const int32_t d = Depth();
    if (m_isZAxis) {
        const int32_t x = m_axisLinePos + direction;
        canvas.HorzSegmentAtDepth(x, x + length, m_chart->PlotRect().Bottom, p);
    } else if (m_horizontal) {
        const int32_t y = m_otherSide ? m_axisLinePos - direction : m_axisLinePos + direction + w;
        canvas.VertSegmentAtDepth(p, y, m_otherSide ? y - length : y + length, m_otherSide ? d : 0);
    } else {
        const int32_t x = m_otherSide ? m_axisLinePos + direction : m_axisLinePos - direction - w;
        canvas.HorzSegmentAtDepth(x, m_otherSide ? x + length : x - length, p, m_otherSide ? d : 0);
    }
}

void TCustomChartAxis::DrawGridLine(int32_t p) {
    TChartCanvas3D& canvas = m_chart->Canvas();
    const gfx::TRect& plot = m_chart->PlotRect();
    const int32_t d = Depth();
    if (m_isZAxis) {
        canvas.VertSegmentAtDepth(plot.Left, plot.Top, plot.Bottom, p);
        canvas.HorzSegmentAtDepth(plot.Left, plot.Right, plot.Bottom, p);
        return;
    }
    const bool view3D = m_chart->View3D();
    if (m_horizontal) {
        if (view3D && !m_otherSide) {
            canvas.DepthSegment(p, m_axisLinePos, 0, d);
        }
        canvas.VertSegmentAtDepth(p, plot.Top, plot.Bottom, view3D ? d : 0);
    } else {
        if (view3D && !m_otherSide) {
            canvas.DepthSegment(m_axisLinePos, p, 0, d);
        }
        canvas.HorzSegmentAtDepth(plot.Left, plot.Right, p, view3D ? d : 0);
    }
}

void TCustomChartAxis::DrawGrid() {
    TChartCanvas3D& canvas = m_chart->Canvas();
    canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
    canvas.WriteBackMode(gfx::TBackMode::bmTransparent);
    canvas.ApplyChartPen(*m_grid);
    if (m_grid->Color() == clSeriesDefault) {
        canvas.Pen().SetColor(gfx::clGray);
    }
    for (size_t i = 0; i < m_tickPositions.size(); ++i) {
        if (!m_gridCentered) {
            DrawGridLine(m_tickPositions[i]);
        } else if (i > 0) {
            DrawGridLine(RoundPixel((m_tickPositions[i - 1] + m_tickPositions[i]) * 0.5));
        }
    }
    canvas.WriteBackMode(gfx::TBackMode::bmOpaque);
}

void TCustomChartAxis::DrawMinorMarks(bool grid) {
    TChartCanvas3D& canvas = m_chart->Canvas();
    if (grid) {
        canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
        canvas.WriteBackMode(gfx::TBackMode::bmTransparent);
        canvas.ApplyChartPen(*m_minorGrid);
    } else {
        canvas.ApplyChartPen(*m_minorTicks);
    }
    const auto draw = [&](int32_t candidate) {
        if (m_startPixel < candidate && candidate < m_endPixel) {
            if (grid) {
                DrawGridLine(candidate);
            } else {
                DrawTick(candidate, 1, m_minorTickLength);
            }
        }
    };
    const int32_t c = m_minorTickCount;
    const std::vector<int32_t>& t = m_tickPositions;
    const size_t n = t.size();
    if (n >= 2 && !m_logarithmic) {
        for (int32_t i = 1; i <= c; ++i) {
            const int32_t d = RoundPixel(static_cast<double>(t[1] - t[0]) / (c + 1) * i);
            draw(t[0] - d);
            draw(t[n - 1] + d);
        }
    }
    for (size_t k = 1; k < n; ++k) {
        if (!m_logarithmic) {
            for (int32_t j = 1; j <= c; ++j) {
                draw(t[k] - RoundPixel(static_cast<double>(j) * (t[k] - t[k - 1]) / (c + 1)));
            }
            continue;
        }
        double v = PosToValue(t[k - 1]);
        const double step = (m_logarithmicBase * v - v) / (c + 1);
        for (int32_t j = 0; j < c; ++j) {
            v += step;
            if (v > m_currentMaximum) {
                break;
            }
            draw(ValueToPos(v));
        }
    }
    if (grid) {
        canvas.WriteBackMode(gfx::TBackMode::bmOpaque);
    }
}

void TCustomChartAxis::DrawAxisLine() {
    TChartCanvas3D& canvas = m_chart->Canvas();
    canvas.ApplyChartPen(*m_axisPen);
    const int32_t d = Depth();
    const gfx::TRect& plot = m_chart->PlotRect();
    if (m_isZAxis) {
        canvas.DepthSegment(plot.Right, plot.Bottom + WallSize(TAxisWall::awBottom), 0, d);
    } else if (m_horizontal) {
        if (m_otherSide) {
            canvas.HorzSegmentAtDepth(m_startPixel, m_endPixel, m_axisLinePos, d);
        } else {
            canvas.HorzSegmentAtDepth(m_startPixel - WallSize(TAxisWall::awLeft), m_endPixel,
                                      m_axisLinePos + OwnWallSize(), 0);
        }
    } else if (m_otherSide) {
        canvas.VertSegmentAtDepth(m_axisLinePos, m_startPixel, m_endPixel, d);
    } else {
        canvas.VertSegmentAtDepth(m_axisLinePos - OwnWallSize(), m_startPixel,
                                  m_endPixel + WallSize(TAxisWall::awBottom), 0);
    }
}

void TCustomChartAxis::DrawAxis(bool setLinePosition) {
    if (m_chart == nullptr) {
        return;
    }
    TChartCanvas3D& canvas = m_chart->Canvas();
    m_isDateTimeAxis = IsDateTimeAxis();
    SelectFont(*m_labelsFont);
    const double increment = ComputeIncrement();
    if (setLinePosition) {
        const gfx::TRect& plot = m_chart->PlotRect();
        m_axisLinePos = ApplyPositionPercent(EdgeOfRectangle(plot), plot);
    }
    if (!m_title->Caption().empty()) {
        DrawTitle();
    }
    int32_t stepIndex = kDateStepCount;
    if (m_isDateTimeAxis && m_exactDateTime && m_increment != 0) {
        stepIndex = DateStepIndex(m_increment);
        if (stepIndex != kDateStepCount) {
            while (increment > DateStepDays()[stepIndex] && stepIndex < kLastStepIndex) {
                ++stepIndex;
            }
        }
    }
    m_tickPositions.clear();
    m_tickPositions.reserve(kMaxTickPositions);
    const bool stepped = stepIndex >= kCalendarStepIndex && stepIndex <= kLastStepIndex;
    if ((increment > 0 || stepped) && m_currentMaximum >= m_currentMinimum) {
        SelectFont(*m_labelsFont);
        canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
        canvas.Brush().SetColor(m_chart->Color());
        const auto valueLabels = [&] {
            if (m_logarithmic && m_increment == 0) {
                LogarithmicLabels();
            } else {
                ValueLabels(increment, stepIndex);
            }
        };
        switch (EffectiveLabelStyle()) {
            case TAxisLabelStyle::talValue:
                if (!ChartHooks().OnGetNextAxisLabel || !CustomLabels()) {
                    valueLabels();
                }
                break;
            case TAxisLabelStyle::talMark:
                SeriesLabels(TAxisLabelStyle::talMark);
                break;
            case TAxisLabelStyle::talText:
                if (m_isZAxis) {
                    DepthTitleLabels();
                } else {
                    SeriesLabels(TAxisLabelStyle::talText);
                }
                break;
            case TAxisLabelStyle::talAuto:
            case TAxisLabelStyle::talNone:
                break;
        }
    }
    if (m_axisPen->Visible()) {
        DrawAxisLine();
    }
    if (m_ticks->Visible()) {
        canvas.ApplyChartPen(*m_ticks);
        for (int32_t p : m_tickPositions) {
            DrawTick(p, 1, m_tickLength);
        }
    }
    if (m_grid->Visible()) {
        DrawGrid();
    }
    if (m_ticksInner->Visible()) {
        canvas.ApplyChartPen(*m_ticksInner);
        for (int32_t p : m_tickPositions) {
            DrawTick(p, -1, -m_tickInnerLength);
        }
    }
    if (!m_tickPositions.empty() && m_minorTicks->Visible()) {
        DrawMinorMarks(false);
    }
    if (!m_tickPositions.empty() && m_minorGrid->Visible()) {
        DrawMinorMarks(true);
    }
}

bool TCustomChartAxis::AxisClicked(int32_t x, int32_t y) const {
    const TAxisChartHooks& hooks = ChartHooks();
    if (!(hooks.IsAxisShown ? hooks.IsAxisShown(*this) : m_visible)) {
        return false;
    }
    const int32_t a = std::min(m_startPixel, m_endPixel);
    const int32_t b = std::max(m_startPixel, m_endPixel);
    int32_t lo = m_axisLinePos - kHitSlack;
    int32_t hi = m_labelsPos;
    if (m_labelsPos < m_axisLinePos) {
        lo = m_labelsPos;
        hi = m_axisLinePos + kHitSlack;
    }
    const gfx::TRect area = m_horizontal ? gfx::TRect(a, lo, b, hi) : gfx::TRect(lo, a, hi, b);
    return area.Contains(x, y);
}

}  // namespace chart
