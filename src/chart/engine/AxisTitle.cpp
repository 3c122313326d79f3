// The axis title's setters, assignment and published properties.
#include "chart/engine/AxisTitle.h"

#include "chart/messages/ChartMessages.h"
#include "chart/panel/ChartProcs.h"
#include "classes/ClassBuilder.h"

namespace chart {

TChartAxisTitle::TChartAxisTitle(TCustomChartPanel* owner, int32_t defaultAngle)
    : TChartFontObject(owner), m_angle(defaultAngle), m_defaultAngle(defaultAngle) {}

const classes::TClassInfo& TChartAxisTitle::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TChartAxisTitle>("TChartAxisTitle", &TChartFontObject::StaticClass())
            .Integer("Angle", &TChartAxisTitle::Angle, &TChartAxisTitle::SetAngle)
            .StoredIf([](const TChartAxisTitle& t) { return t.Angle() != t.DefaultAngle(); })
            .String("Caption", &TChartAxisTitle::Caption, &TChartAxisTitle::SetCaption,
                    std::string())
            .Object("Font", [](TChartAxisTitle& t) -> gfx::TFont& { return t.Font(); })
            .StoredIf([](const TChartAxisTitle& t) { return IsFontStored(t); })
            .Build();
    return info;
}

const classes::TClassInfo& TChartAxisTitle::ClassInfo() const {
    return StaticClass();
}

void TChartAxisTitle::Assign(const classes::TPersistent& source) {
    if (const auto* other = dynamic_cast<const TChartAxisTitle*>(&source)) {
        m_angle = other->m_angle;
        m_caption = other->m_caption;
    }
    TChartFontObject::Assign(source);
}

void TChartAxisTitle::SetAngle(int32_t value) {
    if (value != m_angle) {
        CheckAngle(value, kMsgAxisTitle);
        m_angle = value;
        Repaint();
    }
}

void TChartAxisTitle::SetCaption(const std::string& value) {
    if (value != m_caption) {
        m_caption = value;
        Repaint();
    }
}

void TChartAxisTitle::SetDefaultAngle(int32_t value) {
    if (m_angle == m_defaultAngle) {
        m_angle = value;
    }
    m_defaultAngle = value;
}

}  // namespace chart
