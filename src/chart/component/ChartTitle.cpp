// The chart title's settings: compare, store and repaint the chart.
#include "chart/component/ChartTitle.h"

#include "chart/engine/ChartColors.h"
#include "chart/panel/ChartPanel.h"
#include "classes/ClassBuilder.h"

namespace chart {

TChartTitle::TChartTitle(TCustomChartPanel* chart)
    : TChartFontObject(chart),
      m_brush(std::make_unique<TChartBrush>([this] { Repaint(); })),
      m_color(clSeriesDefault),
      m_frame(std::make_unique<TChartHiddenPen>([this] { Repaint(); })),
      m_text(std::make_unique<classes::TStringList>()) {
    Font().SetOnChange(nullptr);
    Font().SetColor(gfx::clBlue);
    Font().SetOnChange([this] { Repaint(); });
    m_text->OnChange = [this] { Repaint(); };
}

TChartTitle::~TChartTitle() = default;

void TChartTitle::SetAdjustFrame(bool value) {
    if (m_adjustFrame != value) {
        m_adjustFrame = value;
        Repaint();
    }
}

void TChartTitle::SetAlignment(TTitleAlignment value) {
    if (m_alignment != value) {
        m_alignment = value;
        Repaint();
    }
}

void TChartTitle::SetColor(gfx::TColor value) {
    if (m_color != value) {
        m_color = value;
        Repaint();
    }
}

void TChartTitle::SetVisible(bool value) {
    if (m_visible != value) {
        m_visible = value;
        Repaint();
    }
}

bool TChartTitle::Clicked(int32_t x, int32_t y) const {
    return m_visible && m_titleRect.Contains(x, y);
}

void TChartTitle::Assign(const classes::TPersistent& source) {
    const auto* other = dynamic_cast<const TChartTitle*>(&source);
    if (other == nullptr) {
        TChartFontObject::Assign(source);
        return;
    }
    m_adjustFrame = other->m_adjustFrame;
    m_alignment = other->m_alignment;
    m_color = other->m_color;
    m_visible = other->m_visible;
    m_brush->Assign(*other->m_brush);
    m_frame->Assign(*other->m_frame);
    m_text->Assign(*other->m_text);
    TChartFontObject::Assign(source);
}

const classes::TClassInfo& TChartTitle::StaticClass() {
    using T = TChartTitle;
    static const classes::TClassInfo info =
        classes::TClassBuilder<T>("TChartTitle", &TChartFontObject::StaticClass())
            .Boolean("AdjustFrame", &T::AdjustFrame, &T::SetAdjustFrame, true)
            .Enum<TTitleAlignment>("Alignment", &T::Alignment, &T::SetAlignment,
                                   {"taLeftJustify", "taRightJustify", "taCenter"},
                                   TTitleAlignment::taCenter)
            .Object("Brush", [](T& t) -> gfx::TBrush& { return t.Brush(); })
            .Integer<uint32_t>("Color", &T::Color, &T::SetColor, clSeriesDefault,
                               &ChartColorIdents())
            .Object("Font", [](T& t) -> gfx::TFont& { return t.Font(); })
            .StoredIf([](const T& t) {
                const gfx::TFont& f = t.Font();
                return f.Name() != DefaultFontName() || f.Size() != DefaultFontSize() ||
                       f.Color() != t.DefaultFontColor() || !f.Style().Empty();
            })
            .Object("Frame", [](T& t) -> gfx::TPen& { return t.Frame(); })
            .Strings("Text", [](T& t) -> classes::TStringList& { return t.Text(); })
            .Boolean("Visible", &T::Visible, &T::SetVisible, true)
            .Build();
    return info;
}

const classes::TClassInfo& TChartTitle::ClassInfo() const {
    return StaticClass();
}

}  // namespace chart
