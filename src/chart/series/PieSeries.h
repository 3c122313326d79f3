// Circular series drawn without axes: TCircledSeries places the circle, TPieSeries divides it
// into slices, with an "other" slice for the small ones, exploded slices, rotation and a
// legend of its slices.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chart/canvas/ChartPen.h"
#include "chart/engine/Series.h"
#include "gfx/Geometry.h"

namespace chart {

// Places the circle, this engine's own rule: centred in the chart rectangle, its radii half
// the rectangle's width and height (CustomXRadius / CustomYRadius when set), both the smaller
// one when Circled.
class TCircledSeries : public TChartSeries {
  public:
    explicit TCircledSeries(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    bool UsesAxes() const override { return false; }
    // Also given to every other series of the same class in the chart.
    bool Circled() const { return m_circled; }
    void SetCircled(bool value);
    int32_t CustomXRadius() const { return m_customXRadius; }
    void SetCustomXRadius(int32_t value);
    int32_t CustomYRadius() const { return m_customYRadius; }
    void SetCustomYRadius(int32_t value);
    gfx::TColor CircleBackColor() const { return m_circleBackColor; }
    void SetCircleBackColor(gfx::TColor value);

    // Centre and radii of the circle in this paint, pixels.
    gfx::TPoint CircleCentre() const;
    int32_t XRadius() const;
    int32_t YRadius() const;

  private:
    bool m_circled = false;
    int32_t m_customXRadius = 0;  // pixels; 0 = from the chart rectangle
    int32_t m_customYRadius = 0;
    gfx::TColor m_circleBackColor = clSeriesDefault;
};

enum class TPieOtherStyle { poNone, poBelowPercent, poBelowValue };

// Slices too small to show on their own, grouped into one slice.
class TPieOtherSlice : public classes::TPersistent {
  public:
    explicit TPieOtherSlice(TChartSeries& series);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
    TPieOtherStyle Style() const { return m_style; }
    void SetStyle(TPieOtherStyle value);
    const std::string& Text() const { return m_text; }
    void SetText(const std::string& value);
    // Percent of the total (poBelowPercent) or a value (poBelowValue).
    double Value() const { return m_value; }
    void SetValue(double value);

  private:
    TChartSeries& m_series;
    TPieOtherStyle m_style = TPieOtherStyle::poNone;
    std::string m_text;
    double m_value = 0;
};

// One slice as drawn: the point it shows (-1 for the other slice), its angles and colour.
struct TPieSlice {
    int32_t ValueIndex = -1;
    double StartAngle = 0;  // degrees, counter-clockwise from three o'clock
    double EndAngle = 0;
    double Value = 0;
    gfx::TColor Color = 0;
    int32_t Explode = 0;  // percent of the radius the slice moves out along its middle
};

// Slices, this engine's own rule: slice i sweeps |value| / total x 360 degrees
// counter-clockwise, the first starting at RotationAngle; slices grouped by OtherSlice follow
// the rest as one slice. An exploded slice moves out by its percentage of the radius along its
// middle angle, and the circle shrinks so that the farthest exploded slice stays within the
// radius.
class TPieSeries : public TCircledSeries {
  public:
    explicit TPieSeries(classes::TComponent* owner);
    ~TPieSeries() override;
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    TChartValueList& PieValues() { return YValues(); }
    bool Dark3D() const { return m_dark3D; }
    void SetDark3D(bool value);
    // Percent of the radius by which the biggest slice moves out.
    int32_t ExplodeBiggest() const { return m_explodeBiggest; }
    void SetExplodeBiggest(int32_t value);
    // Per-point explode amounts, percent of the radius.
    int32_t ExplodedSlice(int32_t index) const;
    void SetExplodedSlice(int32_t index, int32_t percent);
    TPieOtherSlice& OtherSlice() const { return *m_otherSlice; }
    TChartPen& PiePen() const { return *m_piePen; }
    // Degrees 0 .. 359; negative: PieException "Rotation Angle must be between 0 and 359
    // degrees"; larger values are taken modulo 360.
    int32_t RotationAngle() const { return m_rotationAngle; }
    double RotationRadians() const { return m_rotationRadians; }
    void SetRotationAngle(int32_t value);
    bool UsePatterns() const { return m_usePatterns; }
    void SetUsePatterns(bool value);

    // The slices in drawing order.
    std::vector<TPieSlice> Slices() const;
    // The radii shrunk for exploded slices, pixels.
    int32_t SliceXRadius() const;
    int32_t SliceYRadius() const;

    // Flat slices go to the device in one batch of pies; on, each slice is drawn through the
    // device pie on its own (the same pixels, slower: a reference for tests and benchmarks).
    bool SliceBySlice() const { return m_sliceBySlice; }
    void SetSliceBySlice(bool value) { m_sliceBySlice = value; }

    // The slices are taken once for the legend of this paint (its every entry asks for them).
    void BeforeChartDraw() override;
    void DrawPoints() override;
    // The legend lists the drawn slices, the other slice last.
    int32_t LegendItemCount() const override;
    // The point a legend entry shows; -1 for the other slice.
    int32_t LegendToValueIndex(int32_t legendIndex) const override;
    std::string LegendItemText(int32_t index, TLegendTextStyle style) const override;
    gfx::TColor LegendItemColor(int32_t index) const override;

  private:
    bool InOther(int32_t index, double total) const;
    // The slices of this paint's legend, taken at the paint's start; outside a paint, afresh.
    const std::vector<TPieSlice>& LegendSlices() const;
    int32_t MaxExplode() const;

    bool m_dark3D = true;
    int32_t m_explodeBiggest = 0;
    std::vector<int32_t> m_explodedSlices;  // percent of the radius per point
    std::unique_ptr<TPieOtherSlice> m_otherSlice;
    std::unique_ptr<TChartPen> m_piePen;
    int32_t m_rotationAngle = 0;  // degrees
    double m_rotationRadians = 0;
    bool m_usePatterns = false;
    bool m_sliceBySlice = false;
    // The slices from the start of the paint until the series draws (the legend's entries).
    mutable std::vector<TPieSlice> m_paintSlices;
    mutable int32_t m_paintSlicesCount = 0;
    mutable bool m_paintSlicesValid = false;
};

}  // namespace chart
