// Series marks as settings: every setter stores a changed value and repaints the series' chart.
#include "chart/engine/SeriesMarks.h"

#include "chart/engine/Series.h"
#include "classes/ClassBuilder.h"

namespace chart {

namespace {
// The default chart font: Arial, 8 points, black, plain.
constexpr const char* kDefaultFontName = "Arial";
constexpr int32_t kDefaultFontSize = 8;
}  // namespace

TSeriesMarks::TSeriesMarks(TChartSeries& series) : m_series(series) {
    m_font.SetName(kDefaultFontName);
    m_font.SetSize(kDefaultFontSize);
    m_font.SetColor(gfx::clBlack);
    m_font.SetOnChange([this] { Changed(); });
}

const classes::TClassInfo& TSeriesMarks::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TSeriesMarks>("TSeriesMarks", &classes::TPersistent::StaticClass())
            .Integer("ArrowLength", &TSeriesMarks::ArrowLength, &TSeriesMarks::SetArrowLength)
            .Integer<uint32_t>("BackColor", &TSeriesMarks::BackColor, &TSeriesMarks::SetBackColor,
                               kDefaultMarksBackColor, &ChartColorIdents())
            .Boolean("Clip", &TSeriesMarks::Clip, &TSeriesMarks::SetClip, false)
            .Object("Font", [](TSeriesMarks& m) -> gfx::TFont& { return m.Font(); })
            .StoredIf([](const TSeriesMarks& m) { return !m.IsDefaultFont(); })
            .Enum<TSeriesMarksStyle>(
                "Style", &TSeriesMarks::Style, &TSeriesMarks::SetStyle,
                {"smsValue", "smsPercent", "smsLabel", "smsLabelPercent", "smsLabelValue",
                 "smsLegend", "smsPercentTotal", "smsLabelPercentTotal", "smsXValue"},
                TSeriesMarksStyle::smsLabel)
            .Boolean("Transparent", &TSeriesMarks::Transparent, &TSeriesMarks::SetTransparent,
                     false)
            .Boolean("Visible", &TSeriesMarks::Visible, &TSeriesMarks::SetVisible)
            .Build();
    return info;
}

const classes::TClassInfo& TSeriesMarks::ClassInfo() const {
    return StaticClass();
}

void TSeriesMarks::Assign(const classes::TPersistent& source) {
    const auto* other = dynamic_cast<const TSeriesMarks*>(&source);
    if (other == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    m_arrowLength = other->m_arrowLength;
    m_backColor = other->m_backColor;
    m_clip = other->m_clip;
    m_style = other->m_style;
    m_transparent = other->m_transparent;
    m_visible = other->m_visible;
    m_font.Assign(other->m_font);  // fires the font's change event, which repaints
}

bool TSeriesMarks::IsDefaultFont() const {
    return m_font.Size() == kDefaultFontSize && m_font.Name() == kDefaultFontName &&
           m_font.Color() == gfx::clBlack && m_font.Style().Empty() &&
           m_font.Charset() == gfx::kDefaultCharset;
}

void TSeriesMarks::Changed() {
    m_series.RequestRepaint();
}

void TSeriesMarks::SetArrowLength(int32_t value) {
    if (value != m_arrowLength) {
        m_arrowLength = value;
        Changed();
    }
}

void TSeriesMarks::SetBackColor(gfx::TColor value) {
    if (value != m_backColor) {
        m_backColor = value;
        Changed();
    }
}

void TSeriesMarks::SetClip(bool value) {
    if (value != m_clip) {
        m_clip = value;
        Changed();
    }
}

void TSeriesMarks::SetStyle(TSeriesMarksStyle value) {
    if (value != m_style) {
        m_style = value;
        Changed();
    }
}

void TSeriesMarks::SetTransparent(bool value) {
    if (value != m_transparent) {
        m_transparent = value;
        Changed();
    }
}

void TSeriesMarks::SetVisible(bool value) {
    if (value != m_visible) {
        m_visible = value;
        Changed();
    }
}

TSeriesMarkPosition& TSeriesMarks::Position(int32_t index) {
    if (index < 0) {
        base::ThrowListIndexError(index);
    }
    if (static_cast<size_t>(index) >= m_positions.size()) {
        m_positions.resize(static_cast<size_t>(index) + 1);
    }
    return m_positions[static_cast<size_t>(index)];
}

void TSeriesMarks::ClearPositions() {
    std::vector<TSeriesMarkPosition>().swap(m_positions);
}

void TSeriesMarks::DeletePosition(int32_t index) {
    if (index >= 0 && static_cast<size_t>(index) < m_positions.size()) {
        m_positions.erase(m_positions.begin() + index);
    }
}

}  // namespace chart
