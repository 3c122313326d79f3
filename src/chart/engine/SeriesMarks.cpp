// Series marks: every setter stores a changed value and repaints the series' chart; one mark's
// arrow, box and text.
#include "chart/engine/SeriesMarks.h"

#include <span>

#include "chart/engine/AxisPanel.h"
#include "chart/engine/Series.h"
#include "chart/panel/ChartProcs.h"
#include "classes/ClassBuilder.h"

namespace chart {

namespace {
// The default chart font: Arial, 8 points, black, plain.
constexpr const char* kDefaultFontName = "Arial";
constexpr int32_t kDefaultFontSize = 8;
}  // namespace

TSeriesMarks::TSeriesMarks(TChartSeries& series)
    : m_series(series),
      m_arrow(std::make_unique<TChartArrowPen>([this] { Changed(); })),
      m_frame(std::make_unique<TChartPen>([this] { Changed(); })) {
    m_font.SetName(kDefaultFontName);
    m_font.SetSize(kDefaultFontSize);
    m_font.SetColor(gfx::clBlack);
    m_font.SetOnChange([this] { Changed(); });
}

TSeriesMarks::~TSeriesMarks() = default;

const classes::TClassInfo& TSeriesMarks::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TSeriesMarks>("TSeriesMarks", &classes::TPersistent::StaticClass())
            .Object("Arrow", [](TSeriesMarks& m) -> TChartPen& { return m.Arrow(); })
            .Integer("ArrowLength", &TSeriesMarks::ArrowLength, &TSeriesMarks::SetArrowLength)
            .Integer<uint32_t>("BackColor", &TSeriesMarks::BackColor, &TSeriesMarks::SetBackColor,
                               kDefaultMarksBackColor, &ChartColorIdents())
            .Boolean("Clip", &TSeriesMarks::Clip, &TSeriesMarks::SetClip, false)
            .Object("Font", [](TSeriesMarks& m) -> gfx::TFont& { return m.Font(); })
            .StoredIf([](const TSeriesMarks& m) { return !m.IsDefaultFont(); })
            .Object("Frame", [](TSeriesMarks& m) -> TChartPen& { return m.Frame(); })
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
    m_arrow->Assign(*other->m_arrow);
    m_frame->Assign(*other->m_frame);
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

namespace chart {

void TSeriesMarks::DrawMarkItem(int32_t index, gfx::TColor pointColor, const std::string& text,
                                TSeriesMarkPosition& position) {
    TCustomAxisPanel* chart = m_series.ParentChart();
    if (chart == nullptr) {
        return;
    }
    TSeriesMarkPosition& stored = Position(index);
    if (stored.Custom) {
        position = stored;
    } else {
        stored = position;
    }
    TChartCanvas3D& canvas = chart->Canvas();
    const bool is3D = chart->View3D();
    const int32_t z = m_zPosition;
    if (m_arrow->Visible()) {
        canvas.ApplyChartPen(*m_arrow);
        canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
        // An arrow in the point's or the chart's colour would vanish against them.
        const gfx::TColor arrowColor = m_arrow->Color();
        if (arrowColor == pointColor || arrowColor == chart->Color()) {
            canvas.Pen().SetColor(chart->Color() == gfx::clBlack ? gfx::clWhite : gfx::clBlack);
        }
        if (is3D) {
            canvas.SegmentAtDepth(position.ArrowFromX, position.ArrowFromY, position.ArrowToX,
                                  position.ArrowToY, z);
        } else {
            canvas.Segment(position.ArrowFromX, position.ArrowFromY, position.ArrowToX,
                           position.ArrowToY);
        }
    }
    gfx::TRect box(position.Left, position.Top, position.Left + position.Width,
                   position.Top + position.Height);
    if (is3D && !canvas.RendersWholeScene()) {
        // The box stands where the projection puts the arrow's end.
        const gfx::TPoint end = canvas.ProjectToPoint(position.ArrowToX, position.ArrowToY, z);
        box = box.Offset(end.X - position.ArrowToX, end.Y - position.ArrowToY);
    }
    int32_t textTop = box.Top;
    if (m_frame->Visible() || !m_transparent) {
        canvas.Brush().SetColor(m_backColor);
        canvas.Brush().SetStyle(m_transparent ? gfx::TBrushStyle::bsClear
                                              : gfx::TBrushStyle::bsSolid);
        canvas.ApplyChartPen(*m_frame);
        if (canvas.RendersWholeScene()) {
            canvas.RectAtDepth(box, z + 1);
        } else if (m_paintLineHeight > 0) {
            canvas.ReferenceCanvas().Rectangles(std::span<const gfx::TRect>(&box, 1));
        } else {
            canvas.RectShape(box.Left, box.Top, box.Right, box.Bottom);
        }
        if (m_frame->Visible()) {
            textTop += m_frame->Width();
        }
    }
    canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
    canvas.WriteTextAlign(gfx::kTaCenter);
    const int32_t middle = (box.Left + box.Right) / 2;
    const int32_t lineHeight = m_paintLineHeight > 0 ? m_paintLineHeight : canvas.TextLineHeight();
    size_t start = 0;
    if (text.find(LineBreakChar) == std::string::npos) {
        start = text.size() + 1;  // one line: drawn without a copy
        canvas.PutText(middle, textTop, text);
    }
    for (int32_t line = 0; start <= text.size(); ++line) {
        size_t end = text.find(LineBreakChar, start);
        if (end == std::string::npos) {
            end = text.size();
        }
        canvas.PutText(middle, textTop + line * lineHeight, text.substr(start, end - start));
        start = end + 1;
    }
    canvas.WriteTextAlign(gfx::kTaLeft + gfx::kTaTop);
}

}  // namespace chart
