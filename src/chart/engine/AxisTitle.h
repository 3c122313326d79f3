// The title of a chart axis: its caption, angle and font.
#pragma once

#include <cstdint>
#include <string>

#include "chart/panel/ChartFonts.h"

namespace chart {

class TChartAxisTitle : public TChartFontObject {
  public:
    // defaultAngle: the axis' title angle that is not stored (degrees).
    TChartAxisTitle(TCustomChartPanel* owner, int32_t defaultAngle);

    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
    // From another title: angle, caption and font.
    void Assign(const classes::TPersistent& source) override;

    // Degrees counter-clockwise, 0 .. 359 (ChartException outside).
    int32_t Angle() const { return m_angle; }
    void SetAngle(int32_t value);
    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& value);
    int32_t DefaultAngle() const { return m_defaultAngle; }
    // The axis' default changed: a title still at the old default follows it.
    void SetDefaultAngle(int32_t value);

  private:
    int32_t m_angle;
    int32_t m_defaultAngle;
    std::string m_caption;
};

}  // namespace chart
