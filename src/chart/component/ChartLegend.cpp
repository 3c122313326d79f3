// The legend's settings, its items and texts, its drawing with the room it takes from the chart
// rectangle, and the hit test of its rows.
#include "chart/component/ChartLegend.h"

#include <algorithm>

#include "base/Arith.h"
#include "chart/component/Chart.h"
#include "chart/messages/ChartMessages.h"
#include "classes/ClassBuilder.h"

namespace chart {

namespace {
constexpr int32_t kMaxPercent = 100;
constexpr double kPercent = 0.01;
// Gaps around the symbol and the text column, pixels.
constexpr int32_t kSymbolGap = 4;
// Width added to the text column before the symbol width is taken from it, pixels.
constexpr int32_t kTextPad = 4;
// Text column padding of a left or right legend for the symbol width, pixels.
constexpr int32_t kSideTextPad = 10;
// Start and column padding of a top or bottom legend, pixels.
constexpr int32_t kRowStart = 8;
// Depths of the shadow and the box when the canvas renders the whole scene itself.
constexpr int32_t kShadowDepth = 8;
constexpr int32_t kBoxDepth = 4;
// Default gaps between the legend and the chart rectangle, percent of the plot size.
constexpr int32_t kDefaultHorizGap = 3;
constexpr int32_t kDefaultVertGap = 4;

int32_t Nearest(double v) {
    return static_cast<int32_t>(base::Round(v));
}

template <class V>
void Store(V& field, V value, TChartFontObject& owner) {
    if (field != value) {
        field = value;
        owner.Repaint();
    }
}
}  // namespace

TChartLegend::TChartLegend(TChart* chart)
    : TChartFontObject(chart),
      m_chart(chart),
      m_brush(std::make_unique<TChartBrush>([this] { Repaint(); })),
      m_dividingLines(std::make_unique<TChartHiddenPen>([this] { Repaint(); })),
      m_frame(std::make_unique<TChartPen>([this] { Repaint(); })) {}

TChartLegend::~TChartLegend() = default;

void TChartLegend::SetAlignment(TLegendAlignment value) {
    Store(m_alignment, value, *this);
}

void TChartLegend::SetColor(gfx::TColor value) {
    Store(m_color, value, *this);
}

void TChartLegend::SetColorWidth(int32_t value) {
    if (value < 0 || value > kMaxPercent) {
        throw LegendException(kMsgLegendColorWidth);
    }
    Store(m_colorWidth, value, *this);
}

void TChartLegend::SetFirstValue(int32_t value) {
    if (value < 0) {
        throw LegendException(kMsgLegendFirstValue);
    }
    Store(m_firstValue, value, *this);
}

void TChartLegend::SetHorizMargin(int32_t value) {
    Store(m_horizMargin, value, *this);
}

void TChartLegend::SetInverted(bool value) {
    Store(m_inverted, value, *this);
}

void TChartLegend::SetLegendStyle(TLegendStyle value) {
    // The resolved style follows from it at every use.
    Store(m_legendStyle, value, *this);
}

void TChartLegend::SetMaxNumRows(int32_t value) {
    Store(m_maxNumRows, value, *this);
}

void TChartLegend::SetResizeChart(bool value) {
    Store(m_resizeChart, value, *this);
}

void TChartLegend::SetShadowColor(gfx::TColor value) {
    Store(m_shadowColor, value, *this);
}

void TChartLegend::SetShadowSize(int32_t value) {
    Store(m_shadowSize, value, *this);
}

void TChartLegend::SetTextStyle(TLegendTextStyle value) {
    Store(m_textStyle, value, *this);
}

void TChartLegend::SetTopPos(int32_t value) {
    if (value < 0 || value > kMaxPercent) {
        throw LegendException(kMsgLegendTopPos);
    }
    Store(m_topPos, value, *this);
}

void TChartLegend::SetVertMargin(int32_t value) {
    Store(m_vertMargin, value, *this);
}

void TChartLegend::SetVisible(bool value) {
    Store(m_visible, value, *this);
}

bool TChartLegend::Vertical() const {
    return m_alignment == TLegendAlignment::laLeft || m_alignment == TLegendAlignment::laRight;
}

// --- Items ---------------------------------------------------------------------------------

namespace {
TChartSeries* FirstActiveSeries(const TChart& chart) {
    for (int32_t i = 0; i < chart.SeriesCount(); ++i) {
        if (chart.Series(i)->Active()) {
            return chart.Series(i);
        }
    }
    return nullptr;
}

int32_t ActiveSeriesCount(const TChart& chart) {
    int32_t n = 0;
    for (int32_t i = 0; i < chart.SeriesCount(); ++i) {
        n += chart.Series(i)->Active() ? 1 : 0;
    }
    return n;
}
}  // namespace

TLegendStyle TChartLegend::ResolvedStyle() const {
    if (m_legendStyle != TLegendStyle::lsAuto) {
        return m_legendStyle;
    }
    return ActiveSeriesCount(*m_chart) < 2 ? TLegendStyle::lsValues : TLegendStyle::lsSeries;
}

int32_t TChartLegend::ItemCount() const {
    int32_t n = 0;
    switch (ResolvedStyle()) {
        case TLegendStyle::lsAuto:  // resolved away
        case TLegendStyle::lsSeries:
        case TLegendStyle::lsLastValues:
            while (m_chart->LegendSeries(n) != nullptr) {
                ++n;
            }
            break;
        case TLegendStyle::lsValues: {
            const TChartSeries* first = FirstActiveSeries(*m_chart);
            n = first != nullptr && first->ShowInLegend() ? first->LegendItemCount() : 0;
            break;
        }
    }
    return std::max(0, n - m_firstValue);
}

std::string TChartLegend::ItemText(int32_t index) const {
    const TLegendStyle style = ResolvedStyle();
    std::string text;
    switch (style) {
        case TLegendStyle::lsAuto:  // resolved away
        case TLegendStyle::lsSeries:
            text = m_chart->LegendSeriesTitle(index);
            break;
        case TLegendStyle::lsValues:
            if (const TChartSeries* first = FirstActiveSeries(*m_chart)) {
                text = m_chart->LegendValueText(*first, index);
            }
            break;
        case TLegendStyle::lsLastValues:
            if (const TChartSeries* series = m_chart->LegendSeries(index)) {
                text = m_chart->LegendValueText(*series, series->PointCount() - 1);
            }
            break;
    }
    if (m_chart->OnGetLegendText()) {
        m_chart->OnGetLegendText()(*m_chart, style, index, text);
    }
    return text;
}

TChartSeries* TChartLegend::SymbolSeries(int32_t index, int32_t& symbolIndex) const {
    switch (ResolvedStyle()) {
        case TLegendStyle::lsAuto:  // resolved away
        case TLegendStyle::lsSeries:
        case TLegendStyle::lsLastValues:
            symbolIndex = -1;
            return m_chart->LegendSeries(index);
        case TLegendStyle::lsValues: {
            TChartSeries* first = FirstActiveSeries(*m_chart);
            symbolIndex = first != nullptr ? first->LegendToValueIndex(index) : -1;
            return first;
        }
    }
    return nullptr;
}

int32_t TChartLegend::TextColumnWidth(int32_t k) const {
    if (k == -1) {
        k = ItemCount();
    }
    TChartCanvas3D& canvas = m_chart->Canvas();
    int32_t widest = 0;
    for (int32_t i = m_firstValue; i < m_firstValue + k; ++i) {
        widest = std::max(widest, canvas.TextWidthOf(ItemText(i)));
    }
    return widest;
}

int32_t TChartLegend::RowsThatFit(int32_t start, int32_t size, int32_t itemCount) const {
    const gfx::TRect& plot = m_chart->PlotRect();
    const int32_t f = m_frame->Width();
    int32_t n = 0;
    if (Vertical()) {
        if (start < plot.Bottom && size > 0) {
            n = (plot.Top + m_chart->PlotHeight() - 2 * f - start) / size;
        }
    } else if (start < plot.Right && size > 0) {
        n = (m_chart->PlotWidth() - 2 * f - start) / size;
    }
    return std::min(n, itemCount);
}

// --- Drawing -------------------------------------------------------------------------------

void TChartLegend::DrawLegend() {
    TChartCanvas3D& canvas = m_chart->Canvas();
    m_chart->SetLegendColor(m_color);
    m_chart->ApplyFont(Font());
    const int32_t h = canvas.TextLineHeight();
    int32_t t = TextColumnWidth(-1) + kTextPad;
    int32_t s = Nearest(t * m_colorWidth * kPercent);
    const int32_t n = ItemCount();
    const int32_t f = m_frame->Width();
    const bool framed = m_frame->Visible();
    const gfx::TRect plot = m_chart->PlotRect();
    const gfx::TRect& panel = m_chart->PanelBounds();

    // Rows, top and bottom of the box.
    const auto columnsAndRows = [&] {
        m_legendColumns = RowsThatFit(kRowStart, t + s + kRowStart, n);
        if (m_legendColumns <= 0) {
            m_legendRows = 0;
        } else {
            m_legendRows = n / m_legendColumns + (n % m_legendColumns != 0 ? 1 : 0);
            m_legendRows = std::min(m_legendRows, m_maxNumRows);
        }
    };
    int32_t top = 0;
    int32_t bottom = 0;
    switch (m_alignment) {
        case TLegendAlignment::laTop:
            top = plot.Top + (framed ? f + 1 : 0);
            columnsAndRows();
            bottom = top + m_legendRows * h + 2;
            break;
        case TLegendAlignment::laBottom:
            bottom = plot.Bottom - m_shadowSize - (framed ? f + 1 : 0);
            columnsAndRows();
            top = bottom - m_legendRows * h - 2;
            break;
        case TLegendAlignment::laLeft:
        case TLegendAlignment::laRight:
            top = panel.Top + Nearest(m_topPos * panel.Height() * kPercent);
            m_legendColumns = 1;
            m_legendRows = RowsThatFit(top, h, n);
            bottom = top + m_legendRows * h + 2;
            break;
    }

    // Left and right of the box, the symbol's and the text's x.
    int32_t left = 0;
    int32_t right = 0;
    int32_t tx = 0;
    int32_t rowsCount = m_legendRows;
    switch (m_alignment) {
        case TLegendAlignment::laLeft: {
            t = TextColumnWidth(m_legendRows);
            left = plot.Left + (framed ? f + 1 : 0);
            const int32_t sx = left + kSymbolGap;
            s = Nearest((t + kSideTextPad) * m_colorWidth * kPercent);
            tx = sx + s + kSymbolGap;
            right = sx + s + t + kSymbolGap + 2;
            break;
        }
        case TLegendAlignment::laRight:
            t = TextColumnWidth(m_legendRows);
            right = plot.Right - (framed ? f + 1 : 0) - m_shadowSize;
            tx = right - t - 2;
            s = Nearest((t + kSideTextPad) * m_colorWidth * kPercent);
            left = tx - s - 2 * kSymbolGap;
            break;
        case TLegendAlignment::laTop:
        case TLegendAlignment::laBottom: {
            const int32_t width =
                std::min(m_chart->PlotWidth(),
                         2 * m_shadowSize + (s + t + kSymbolGap) * m_legendColumns + kRowStart);
            const int32_t shift = Nearest(m_topPos * (panel.Width() - width) * kPercent);
            left = shift + m_chart->PlotCenterX() - width / 2;
            right = shift + m_chart->PlotCenterX() + width / 2;
            tx = left + s + kRowStart;
            rowsCount = m_legendColumns * m_legendRows;
            break;
        }
    }
    m_symbolWidth = s;
    m_rectLegend = gfx::TRect(left, top, right, bottom);
    if (m_chart->OnGetLegendRect()) {
        m_chart->OnGetLegendRect()(*m_chart, m_rectLegend);
    }
    if (rowsCount < 1) {
        return;
    }

    // The box and its shadow.
    canvas.ApplyChartPen(*m_frame);
    gfx::TRect box = m_rectLegend;
    int32_t reach = m_shadowSize - 1;
    if (framed) {
        if (m_frame->Color() == clSeriesDefault) {
            canvas.Pen().SetColor(gfx::clBlack);
        }
        box = gfx::TRect(box.Left - f, box.Top - f, box.Right + f, box.Bottom + f);
        reach = m_shadowSize + f + (f - 1) / 2;
    }
    canvas.Brush().SetStyle(gfx::TBrushStyle::bsSolid);
    if (m_shadowSize > 0) {
        canvas.Brush().SetColor(m_shadowColor);
        const gfx::TRect shadow(m_rectLegend.Left + m_shadowSize, m_rectLegend.Top + m_shadowSize,
                                m_rectLegend.Right + reach, m_rectLegend.Bottom + reach);
        if (canvas.RendersWholeScene()) {
            canvas.RectAtDepth(shadow, kShadowDepth);
        } else {
            canvas.FillArea(shadow);
        }
    }
    canvas.Brush().SetStyle(m_brush->Style());
    if (m_brush->Style() != gfx::TBrushStyle::bsSolid) {
        // A pattern without a colour of its own is drawn in black.
        canvas.Brush().SetColor(m_brush->Color() == clSeriesDefault ? gfx::clBlack
                                                                    : m_brush->Color());
        canvas.WriteBackColor(m_color);
        canvas.WriteBackMode(gfx::TBackMode::bmOpaque);
    } else {
        canvas.Brush().SetColor(m_color);
    }
    if (canvas.RendersWholeScene()) {
        canvas.RectAtDepth(box, kBoxDepth);
    } else {
        canvas.RectFromBounds(box);
    }

    // The rows.
    canvas.Pen().SetColor(m_color == gfx::clBlack ? gfx::clWhite : gfx::clBlack);
    canvas.Pen().SetStyle(gfx::TPenStyle::psSolid);
    canvas.Pen().SetWidth(1);
    const int32_t last = std::min(n, rowsCount) + m_firstValue - 1;
    for (int32_t i = m_firstValue; i <= last; ++i) {
        const int32_t p = m_inverted ? last - i : i - m_firstValue;
        if (p < n) {
            DrawItem(i, p, h, tx, t, s);
        }
    }

    // The room the legend takes, and its gap.
    gfx::TRect r = m_chart->PlotRect();
    if (m_resizeChart) {
        switch (m_alignment) {
            case TLegendAlignment::laLeft:
                r.Left = m_rectLegend.Right;
                break;
            case TLegendAlignment::laRight:
                r.Right = m_rectLegend.Left;
                break;
            case TLegendAlignment::laTop:
                r.Top = m_rectLegend.Bottom + m_shadowSize;
                break;
            case TLegendAlignment::laBottom:
                r.Bottom = m_rectLegend.Top;
                break;
        }
    }
    const int32_t horizGap = m_horizMargin != 0
                                 ? m_horizMargin
                                 : base::MulDiv(kDefaultHorizGap, m_chart->PlotWidth(), 100);
    const int32_t vertGap = m_vertMargin != 0
                                ? m_vertMargin
                                : base::MulDiv(kDefaultVertGap, m_chart->PlotHeight(), 100);
    switch (m_alignment) {
        case TLegendAlignment::laLeft:
            r.Left += horizGap;
            break;
        case TLegendAlignment::laRight:
            r.Right -= horizGap;
            break;
        case TLegendAlignment::laTop:
            r.Top += vertGap;
            break;
        case TLegendAlignment::laBottom:
            r.Bottom -= vertGap;
            break;
    }
    m_chart->SetPlotRect(r);
    m_chart->NormalizePlotRect();
}

void TChartLegend::DrawItem(int32_t index, int32_t p, int32_t h, int32_t tx, int32_t t, int32_t s) {
    TChartCanvas3D& canvas = m_chart->Canvas();
    canvas.Brush().SetStyle(gfx::TBrushStyle::bsSolid);
    canvas.Brush().SetColor(m_color);
    const bool vertical = Vertical();
    int32_t x = tx;
    int32_t y = m_rectLegend.Top + 1;
    if (vertical) {
        y += p * h;
    } else {
        y += (p / m_legendColumns) * h;
        x += (p % m_legendColumns) * (t + s + kSymbolGap);
    }
    if (m_chart->OnGetLegendPos()) {
        m_chart->OnGetLegendPos()(*m_chart, index, x, y);
    }
    canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
    const std::string text = ItemText(index);
    const int32_t symbolLeft = x - kSymbolGap - s;
    if (!text.empty()) {
        canvas.PutText(x, y, text);
        const gfx::TRect symbol(symbolLeft, y + 2, x - kSymbolGap, y + h - 2);
        int32_t symbolIndex = -1;
        if (TChartSeries* series = SymbolSeries(index, symbolIndex)) {
            series->DrawLegendSymbol(symbolIndex, symbol);
        } else {
            canvas.Brush().SetStyle(gfx::TBrushStyle::bsSolid);
            canvas.Brush().SetColor(gfx::clWhite);
            canvas.RectFromBounds(symbol);
        }
    }
    if (p > 0 && m_dividingLines->Visible()) {
        canvas.ApplyChartPen(*m_dividingLines);
        canvas.WriteBackMode(gfx::TBackMode::bmTransparent);
        if (vertical) {
            canvas.HorzSegment(m_rectLegend.Left, m_rectLegend.Right, y);
        } else {
            canvas.VertSegment(symbolLeft - kSymbolGap, m_rectLegend.Top, m_rectLegend.Bottom);
        }
    }
}

int32_t TChartLegend::LegendClicked(int32_t x, int32_t y) {
    const gfx::TRect& r = m_rectLegend;
    if (!r.Contains(x, y)) {
        return -1;
    }
    const auto rowAt = [&](int32_t rowHeight) {
        for (int32_t row = 0; row < m_legendRows; ++row) {
            const int32_t rowTop = r.Top + row * rowHeight + 1;
            if (rowTop <= y && y <= rowTop + rowHeight) {
                return row;
            }
        }
        return -1;
    };
    if (Vertical()) {
        return m_legendRows <= 0 ? -1 : rowAt(r.Height() / m_legendRows);
    }
    if (m_legendColumns <= 0) {
        return -1;
    }
    const int32_t columnWidth = r.Width() / m_legendColumns;
    m_chart->ApplyFont(Font());
    const int32_t row = rowAt(m_chart->Canvas().TextLineHeight());
    if (row == -1) {
        return -1;
    }
    int32_t result = -1;
    for (int32_t c = 0; c < m_legendColumns; ++c) {
        const int32_t columnLeft = r.Left + c * columnWidth + 1;
        if (columnLeft <= x && x <= columnLeft + columnWidth) {
            result = c + row * m_legendColumns;
        }
    }
    return result;
}

// --- Copy and design data ----------------------------------------------------------------

void TChartLegend::Assign(const classes::TPersistent& source) {
    const auto* other = dynamic_cast<const TChartLegend*>(&source);
    if (other == nullptr) {
        TChartFontObject::Assign(source);
        return;
    }
    m_alignment = other->m_alignment;
    m_color = other->m_color;
    m_colorWidth = other->m_colorWidth;
    m_firstValue = other->m_firstValue;
    m_horizMargin = other->m_horizMargin;
    m_inverted = other->m_inverted;
    m_legendStyle = other->m_legendStyle;
    m_maxNumRows = other->m_maxNumRows;
    m_resizeChart = other->m_resizeChart;
    m_shadowColor = other->m_shadowColor;
    m_shadowSize = other->m_shadowSize;
    m_textStyle = other->m_textStyle;
    m_topPos = other->m_topPos;
    m_vertMargin = other->m_vertMargin;
    m_visible = other->m_visible;
    m_brush->Assign(*other->m_brush);
    m_dividingLines->Assign(*other->m_dividingLines);
    m_frame->Assign(*other->m_frame);
    TChartFontObject::Assign(source);  // the font, which repaints
}

const classes::TClassInfo& TChartLegend::StaticClass() {
    using T = TChartLegend;
    static const classes::TClassInfo info =
        classes::TClassBuilder<T>("TChartLegend", &TChartFontObject::StaticClass())
            .Enum<TLegendAlignment>("Alignment", &T::Alignment, &T::SetAlignment,
                                    {"laLeft", "laRight", "laTop", "laBottom"},
                                    TLegendAlignment::laRight)
            .Object("Brush", [](T& l) -> gfx::TBrush& { return l.Brush(); })
            .Integer<uint32_t>("Color", &T::Color, &T::SetColor, gfx::clWhite, &ChartColorIdents())
            .Integer("ColorWidth", &T::ColorWidth, &T::SetColorWidth, 12)
            .Object("DividingLines", [](T& l) -> gfx::TPen& { return l.DividingLines(); })
            .Integer("FirstValue", &T::FirstValue, &T::SetFirstValue, 0)
            .Object("Font", [](T& l) -> gfx::TFont& { return l.Font(); })
            .StoredIf([](const T& l) { return TChartFontObject::IsFontStored(l); })
            .Object("Frame", [](T& l) -> gfx::TPen& { return l.Frame(); })
            .Integer("HorizMargin", &T::HorizMargin, &T::SetHorizMargin, 0)
            .Boolean("Inverted", &T::Inverted, &T::SetInverted, false)
            .Enum<TLegendStyle>("LegendStyle", &T::LegendStyle, &T::SetLegendStyle,
                                {"lsAuto", "lsSeries", "lsValues", "lsLastValues"},
                                TLegendStyle::lsAuto)
            .Integer("MaxNumRows", &T::MaxNumRows, &T::SetMaxNumRows, 10)
            .Boolean("ResizeChart", &T::ResizeChart, &T::SetResizeChart, true)
            .Integer<uint32_t>("ShadowColor", &T::ShadowColor, &T::SetShadowColor, gfx::clBlack,
                               &ChartColorIdents())
            .Integer("ShadowSize", &T::ShadowSize, &T::SetShadowSize, 3)
            .Enum<TLegendTextStyle>("TextStyle", &T::TextStyle, &T::SetTextStyle,
                                    {"ltsPlain", "ltsLeftValue", "ltsRightValue", "ltsLeftPercent",
                                     "ltsRightPercent", "ltsXValue"},
                                    TLegendTextStyle::ltsLeftValue)
            .Integer("TopPos", &T::TopPos, &T::SetTopPos, 10)
            .Integer("VertMargin", &T::VertMargin, &T::SetVertMargin, 0)
            .Boolean("Visible", &T::Visible, &T::SetVisible, true)
            .Build();
    return info;
}

const classes::TClassInfo& TChartLegend::ClassInfo() const {
    return StaticClass();
}

}  // namespace chart
