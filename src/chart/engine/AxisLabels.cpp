// The axis' label texts (number and date-time formats, label styles), their sizes, and the room
// the axis takes from the chart rectangle for its ticks, labels and title.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/Conversions.h"
#include "chart/engine/Axis.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/Series.h"
#include "chart/panel/ChartProcs.h"
#include "chart/panel/DateSteps.h"

namespace chart {

namespace detail {

namespace {

constexpr int32_t kSecondsPerDay = 86400;

std::string TwoDigits(int32_t value) {
    std::string text = std::to_string(value);
    return text.size() < 2 ? "0" + text : text;
}

// Length of the run of character c at text[at] (case-insensitive).
size_t RunLength(const std::string& text, size_t at, char c) {
    size_t n = 0;
    while (at + n < text.size() && std::tolower(static_cast<unsigned char>(text[at + n])) == c) {
        ++n;
    }
    return n;
}

}  // namespace

// A date-time in days since 1899-12-30 written with a pattern of y, m, d (date), h, n, s
// (time; "m" right after an hour means minutes), quoted literals and any other character as
// itself.
std::string FormatDateTimeText(const std::string& pattern, double value) {
    const double dayPart = std::floor(value);
    int32_t year = 0;
    int32_t month = 0;
    int32_t day = 0;
    DecodeDate(dayPart, year, month, day);
    const int64_t seconds =
        std::min<int64_t>(kSecondsPerDay - 1, std::llround((value - dayPart) * kSecondsPerDay));
    const auto hour = static_cast<int32_t>(seconds / 3600);
    const auto minute = static_cast<int32_t>(seconds / 60 % 60);
    const auto second = static_cast<int32_t>(seconds % 60);
    std::string out;
    bool afterHour = false;
    for (size_t i = 0; i < pattern.size();) {
        const char raw = pattern[i];
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(raw)));
        if (raw == '"' || raw == '\'') {
            const size_t end = pattern.find(raw, i + 1);
            const size_t stop = end == std::string::npos ? pattern.size() : end;
            out += pattern.substr(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        const size_t n = RunLength(pattern, i, c);
        switch (c) {
            case 'y':
                out += n > 2 ? std::to_string(year) : TwoDigits(year % 100);
                break;
            case 'm':
                if (afterHour) {
                    out += n > 1 ? TwoDigits(minute) : std::to_string(minute);
                } else {
                    out += n > 1 ? TwoDigits(month) : std::to_string(month);
                }
                break;
            case 'd':
                out += n > 1 ? TwoDigits(day) : std::to_string(day);
                break;
            case 'h':
                out += n > 1 ? TwoDigits(hour) : std::to_string(hour);
                break;
            case 'n':
                out += n > 1 ? TwoDigits(minute) : std::to_string(minute);
                break;
            case 's':
                out += n > 1 ? TwoDigits(second) : std::to_string(second);
                break;
            default:
                out.append(n == 0 ? 1 : n, raw);
                break;
        }
        if (c == 'h') {
            afterHour = true;
        } else if (std::isalpha(static_cast<unsigned char>(c)) != 0) {
            afterHour = false;
        }
        i += n == 0 ? 1 : n;
    }
    return out;
}

}  // namespace detail

void TCustomChartAxis::SelectFont(gfx::TFont& font) {
    if (m_chart != nullptr) {
        m_chart->ApplyFont(font);
    }
}

int32_t TCustomChartAxis::FontHeight() {
    return m_chart == nullptr ? 0 : m_chart->Canvas().TextLineHeight();
}

int32_t TCustomChartAxis::MultiLineWidth(const std::string& text, int32_t& lines) {
    if (m_chart == nullptr) {
        lines = 1;
        return 0;
    }
    return m_chart->WidestLineWidth(text, lines);
}

int32_t TCustomChartAxis::WallSize(TAxisWall wall) const {
    const TAxisChartHooks& hooks = ChartHooks();
    return hooks.WallSize ? hooks.WallSize(wall) : 0;
}

int32_t TCustomChartAxis::OwnWallSize() const {
    if (m_isZAxis || m_otherSide) {
        return 0;
    }
    return WallSize(m_horizontal ? TAxisWall::awBottom : TAxisWall::awLeft);
}

std::string TCustomChartAxis::DateTimeText(double value) const {
    if (!(value >= 0 && value < kDateTimeLimit)) {
        return std::string();
    }
    const std::string& pattern =
        m_dateTimeFormat.empty() ? DateDefaultFormat(m_currentRange) : m_dateTimeFormat;
    return detail::FormatDateTimeText(pattern, value);
}

TAxisLabelStyle TCustomChartAxis::EffectiveLabelStyle() const {
    if (m_labelStyle != TAxisLabelStyle::talAuto) {
        return m_labelStyle;
    }
    if (m_chart == nullptr) {
        return m_isZAxis ? TAxisLabelStyle::talText : TAxisLabelStyle::talNone;
    }
    if (m_isZAxis) {
        // Series of this engine have no depth values of their own: the depth axis names them.
        return TAxisLabelStyle::talText;
    }
    TAxisLabelStyle style = TAxisLabelStyle::talNone;
    for (int32_t i = 0; i < m_chart->SeriesCount(); ++i) {
        const TChartSeries* series = m_chart->Series(i);
        if (!series->Active() || !UsesAxis(*series)) {
            continue;
        }
        style = TAxisLabelStyle::talValue;
        const bool labelsAlong = m_horizontal == series->YIsMandatory();
        if (labelsAlong && series->PointCount() > 0 && !series->PointLabel(0).empty()) {
            return TAxisLabelStyle::talText;
        }
    }
    return style;
}

std::string TCustomChartAxis::ValueLabelText(double value) const {
    return IsDateTimeAxis() ? DateTimeText(value) : base::FormatFloat(m_axisValuesFormat, value);
}

const std::string& TCustomChartAxis::FormattedValue(double value) {
    // More texts than an axis shows at once; past it the list starts again.
    constexpr size_t kMostTexts = 64;
    TFormattedValues& cache = m_formattedValues;
    const base::TFormatSettings& settings = base::FormatSettings();
    if (cache.Pattern != m_axisValuesFormat ||
        cache.DecimalSeparator != settings.DecimalSeparator ||
        cache.ThousandSeparator != settings.ThousandSeparator || cache.Texts.size() >= kMostTexts) {
        cache.Pattern = m_axisValuesFormat;
        cache.DecimalSeparator = settings.DecimalSeparator;
        cache.ThousandSeparator = settings.ThousandSeparator;
        cache.Texts.clear();
    }
    // Values are told apart by their bits: -0 and 0 may format differently.
    for (const auto& [known, text] : cache.Texts) {
        if (std::memcmp(&known, &value, sizeof value) == 0) {
            return text;
        }
    }
    cache.Texts.emplace_back(value, base::FormatFloat(m_axisValuesFormat, value));
    return cache.Texts.back().second;
}

std::string TCustomChartAxis::LabelText(double value) {
    std::string text = m_isDateTimeAxis ? DateTimeText(value) : FormattedValue(value);
    const TAxisChartHooks& hooks = ChartHooks();
    if (hooks.OnGetAxisLabel && !m_labelHookOff) {
        hooks.OnGetAxisLabel(*this, nullptr, -1, text);
    }
    if (m_labelsMultiLine) {
        SplitIntoLines(text, " ");
    }
    return text;
}

int32_t TCustomChartAxis::MaxLabelsSize() {
    if (m_chart == nullptr) {
        return 0;
    }
    int32_t lines = 0;
    int32_t widest = 0;
    switch (EffectiveLabelStyle()) {
        case TAxisLabelStyle::talAuto:
        case TAxisLabelStyle::talNone:
            return 0;
        case TAxisLabelStyle::talValue: {
            double lo = m_currentMinimum;
            double hi = m_currentMaximum;
            if ((m_isDateTimeAxis && m_exactDateTime) || m_roundFirstLabel) {
                const double increment = ComputeIncrement();
                lo = std::trunc(m_currentMinimum / increment) * increment;
                hi = std::trunc(m_currentMaximum / increment) * increment;
            }
            SelectFont(*m_labelsFont);
            m_labelHookOff = true;
            try {
                widest = std::max(MultiLineWidth(LabelText(hi), lines),
                                  MultiLineWidth(LabelText(lo), lines));
            } catch (...) {
                m_labelHookOff = false;
                throw;
            }
            m_labelHookOff = false;
            return widest + m_chart->Canvas().TextWidthOf(" ");
        }
        case TAxisLabelStyle::talMark:
            for (int32_t i = 0; i < m_chart->SeriesCount(); ++i) {
                TChartSeries* series = m_chart->Series(i);
                if (series->Active()) {
                    widest = std::max(widest, series->MaxMarkWidth());
                }
            }
            return widest;
        case TAxisLabelStyle::talText:
            for (int32_t i = 0; i < m_chart->SeriesCount(); ++i) {
                const TChartSeries* series = m_chart->Series(i);
                for (int32_t k = 0; k < series->PointCount(); ++k) {
                    widest = std::max(widest, MultiLineWidth(series->PointLabel(k), lines));
                }
            }
            return widest;
    }
    return 0;
}

int32_t TCustomChartAxis::TickRoom() const {
    int32_t room = m_axisPen->Visible() ? m_axisPen->Width() : 0;
    if (m_ticks->Visible()) {
        room += m_tickLength;
    }
    if (m_minorTicks->Visible()) {
        room = std::max(room, m_minorTickLength);
    }
    return room;
}

void TCustomChartAxis::ReserveSpace(gfx::TRect& rect, bool shrink) {
    m_isDateTimeAxis = IsDateTimeAxis();
    const auto alongAxis = [this](int32_t angle) {
        return m_horizontal ? (angle == 0 || angle == 180) : (angle == 90 || angle == 270);
    };
    const int32_t tickRoom = TickRoom();
    int32_t labelsRoom = m_labelsSize;
    if (labelsRoom == 0 && m_chart != nullptr) {
        SelectFont(*m_labelsFont);
        labelsRoom = alongAxis(m_labelsAngle) ? FontHeight() : MaxLabelsSize();
    }
    int32_t titleRoom = m_titleSize;
    if (titleRoom == 0 && m_chart != nullptr && !m_title->Caption().empty()) {
        SelectFont(m_title->Font());
        titleRoom = alongAxis(m_title->Angle()) ? FontHeight()
                                                : m_chart->Canvas().TextWidthOf(m_title->Caption());
    }
    // Outward is towards smaller coordinates for the left and top axes.
    const bool outwardNegative = !m_isZAxis && (m_horizontal ? m_otherSide : !m_otherSide);
    const auto shrinkBy = [&](int32_t n) {
        if (m_isZAxis || (!m_horizontal && m_otherSide)) {
            rect.Right -= n;
        } else if (m_horizontal) {
            (m_otherSide ? rect.Top : rect.Bottom) += m_otherSide ? n : -n;
        } else {
            rect.Left += n;
        }
    };
    if (shrink) {
        if (m_isZAxis) {
            m_titlePos = rect.Right;
        } else if (!m_title->Caption().empty()) {
            shrinkBy(titleRoom);
            m_titlePos = EdgeOfRectangle(rect);
        }
        if (m_labels) {
            shrinkBy(labelsRoom);
            m_labelsPos = EdgeOfRectangle(rect);
        }
        const int32_t lineRoom = tickRoom + OwnWallSize();
        if (lineRoom > 0) {
            shrinkBy(lineRoom);
        }
        m_titlePos = ApplyPositionPercent(m_titlePos, rect);
        m_labelsPos = ApplyPositionPercent(m_labelsPos, rect);
        return;
    }
    const int32_t outward = outwardNegative ? -1 : 1;
    m_axisLinePos = ApplyPositionPercent(EdgeOfRectangle(rect), rect);
    m_labelsPos = m_axisLinePos + outward * tickRoom;
    m_titlePos = m_labelsPos + outward * labelsRoom;
}

}  // namespace chart
