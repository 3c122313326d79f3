// The axis' settings: construction with defaults, setters with their checks, assignment and
// the published property lists of the side and depth axes.
#include "chart/engine/Axis.h"

#include <vector>

#include "chart/engine/AxisPanel.h"
#include "chart/messages/ChartMessages.h"
#include "chart/panel/ChartFonts.h"
#include "chart/panel/ChartProcs.h"
#include "classes/ClassBuilder.h"

namespace chart {

namespace {

const TAxisChartHooks kNoHooks;

// The published properties of an axis class; the side axes add their position settings.
template <class T>
classes::TClassInfo AxisClassInfo(const char* name, const classes::TClassInfo* parent,
                                  bool sideAxis) {
    using A = TCustomChartAxis;
    classes::TClassBuilder<T> b(name, parent);
    b.Boolean("Automatic", &A::Automatic, &A::SetAutomatic, true)
        .Boolean("AutomaticMaximum", &A::AutomaticMaximum, &A::SetAutomaticMaximum, true)
        .Boolean("AutomaticMinimum", &A::AutomaticMinimum, &A::SetAutomaticMinimum, true)
        .Object("Axis", [](T& a) -> classes::TPersistent& { return a.Axis(); })
        .String("AxisValuesFormat", &A::AxisValuesFormat, &A::SetAxisValuesFormat,
                std::string(kMsgDefaultValueFormat))
        .String("DateTimeFormat", &A::DateTimeFormat, &A::SetDateTimeFormat, std::string())
        .Boolean("ExactDateTime", &A::ExactDateTime, &A::SetExactDateTime, true)
        .Object("Grid", [](T& a) -> classes::TPersistent& { return a.Grid(); });
    if (sideAxis) {
        b.Boolean("GridCentered", &A::GridCentered, &A::SetGridCentered, false);
    }
    b.Float("Increment", &A::Increment, &A::SetIncrement, 0.0)
        .Boolean("Inverted", &A::Inverted, &A::SetInverted, false)
        .Boolean("Labels", &A::Labels, &A::SetLabels, true)
        .Integer("LabelsAngle", &A::LabelsAngle, &A::SetLabelsAngle, 0)
        .Object("LabelsFont", [](T& a) -> classes::TPersistent& { return a.LabelsFont(); })
        .StoredIf([](const T& a) { return !IsDefaultFontSetting(a.LabelsFont()); })
        .Boolean("LabelsMultiLine", &A::LabelsMultiLine, &A::SetLabelsMultiLine, false)
        .Boolean("LabelsOnAxis", &A::LabelsOnAxis, &A::SetLabelsOnAxis, true)
        .Integer("LabelsSeparation", &A::LabelsSeparation, &A::SetLabelsSeparation, 10)
        .Integer("LabelsSize", &A::LabelsSize, &A::SetLabelsSize, 0)
        .template Enum<TAxisLabelStyle>("LabelStyle", &A::LabelStyle, &A::SetLabelStyle,
                                        {"talAuto", "talNone", "talValue", "talMark", "talText"},
                                        TAxisLabelStyle::talAuto)
        .Boolean("Logarithmic", &A::Logarithmic, &A::SetLogarithmic, false)
        .Integer("LogarithmicBase", &A::LogarithmicBase, &A::SetLogarithmicBase, 10)
        .Float("Maximum", &A::Maximum, &A::SetMaximum)
        .StoredIf([](const T& a) { return !a.Automatic() && !a.AutomaticMaximum(); })
        .Float("Minimum", &A::Minimum, &A::SetMinimum)
        .StoredIf([](const T& a) { return !a.Automatic() && !a.AutomaticMinimum(); })
        .Object("MinorGrid", [](T& a) -> classes::TPersistent& { return a.MinorGrid(); })
        .Integer("MinorTickCount", &A::MinorTickCount, &A::SetMinorTickCount, 3)
        .Integer("MinorTickLength", &A::MinorTickLength, &A::SetMinorTickLength, 2)
        .Object("MinorTicks", [](T& a) -> classes::TPersistent& { return a.MinorTicks(); });
    if (sideAxis) {
        b.Float("StartPosition", &A::StartPosition, &A::SetStartPosition, 0.0)
            .Float("EndPosition", &A::EndPosition, &A::SetEndPosition, 100.0)
            .Float("PositionPercent", &A::PositionPercent, &A::SetPositionPercent, 0.0);
    }
    b.Boolean("RoundFirstLabel", &A::RoundFirstLabel, &A::SetRoundFirstLabel, true)
        .Integer("TickInnerLength", &A::TickInnerLength, &A::SetTickInnerLength, 0)
        .Integer("TickLength", &A::TickLength, &A::SetTickLength, 4)
        .Boolean("TickOnLabelsOnly", &A::TickOnLabelsOnly, &A::SetTickOnLabelsOnly, true)
        .Object("Ticks", [](T& a) -> classes::TPersistent& { return a.Ticks(); })
        .Object("TicksInner", [](T& a) -> classes::TPersistent& { return a.TicksInner(); })
        .Object("Title", [](T& a) -> classes::TPersistent& { return a.Title(); })
        .Integer("TitleSize", &A::TitleSize, &A::SetTitleSize, 0)
        // The depth axis starts hidden, so a shown one is what design data must store.
        .Boolean("Visible", &A::Visible, &A::SetVisible, sideAxis);
    return b.Build();
}

}  // namespace

TCustomChartAxis::TCustomChartAxis(TCustomAxisPanel* chart)
    : m_chart(chart), m_axisValuesFormat(kMsgDefaultValueFormat) {
    auto onChange = [this] { Repaint(); };
    m_axisPen = std::make_unique<TChartAxisPen>(onChange);
    m_grid = std::make_unique<TDottedGrayPen>(onChange);
    m_minorGrid = std::make_unique<TChartHiddenPen>(onChange);
    m_minorTicks = std::make_unique<TDarkGrayPen>(onChange);
    m_ticks = std::make_unique<TDarkGrayPen>(onChange);
    m_ticksInner = std::make_unique<TDarkGrayPen>(onChange);
    m_labelsFont = NewDefaultFont(onChange);
    m_title = std::make_unique<TChartAxisTitle>(chart, m_defaultTitleAngle);
    if (m_chart != nullptr) {
        m_chart->AppendAxis(*this);
    }
}

TCustomChartAxis::~TCustomChartAxis() {
    if (m_chart != nullptr) {
        m_chart->RemoveAxis(*this);
    }
}

const classes::TClassInfo& TCustomChartAxis::StaticClass() {
    static const classes::TClassInfo info = AxisClassInfo<TCustomChartAxis>(
        "TCustomChartAxis", &classes::TPersistent::StaticClass(), true);
    return info;
}

const classes::TClassInfo& TCustomChartAxis::ClassInfo() const {
    return StaticClass();
}

const classes::TClassInfo& TChartAxis::StaticClass() {
    static const classes::TClassInfo info =
        AxisClassInfo<TChartAxis>("TChartAxis", &TCustomChartAxis::StaticClass(), true);
    return info;
}

const classes::TClassInfo& TChartAxis::ClassInfo() const {
    return StaticClass();
}

const classes::TClassInfo& TChartDepthAxis::StaticClass() {
    static const classes::TClassInfo info =
        AxisClassInfo<TChartDepthAxis>("TChartDepthAxis", &TCustomChartAxis::StaticClass(), false);
    return info;
}

const classes::TClassInfo& TChartDepthAxis::ClassInfo() const {
    return StaticClass();
}

void TCustomChartAxis::Assign(const classes::TPersistent& source) {
    const auto* other = dynamic_cast<const TCustomChartAxis*>(&source);
    if (other == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    m_automatic = other->m_automatic;
    m_automaticMaximum = other->m_automaticMaximum;
    m_automaticMinimum = other->m_automaticMinimum;
    m_axisPen->Assign(*other->m_axisPen);
    m_axisValuesFormat = other->m_axisValuesFormat;
    m_dateTimeFormat = other->m_dateTimeFormat;
    m_exactDateTime = other->m_exactDateTime;
    m_grid->Assign(*other->m_grid);
    m_gridCentered = other->m_gridCentered;
    m_increment = other->m_increment;
    m_inverted = other->m_inverted;
    m_labels = other->m_labels;
    m_labelsAngle = other->m_labelsAngle;
    m_labelsFont->Assign(*other->m_labelsFont);
    m_labelsMultiLine = other->m_labelsMultiLine;
    m_labelsOnAxis = other->m_labelsOnAxis;
    m_labelsSeparation = other->m_labelsSeparation;
    m_labelsSize = other->m_labelsSize;
    m_labelStyle = other->m_labelStyle;
    m_logarithmic = other->m_logarithmic;
    m_logarithmicBase = other->m_logarithmicBase;
    m_maximum = other->m_maximum;
    m_minimum = other->m_minimum;
    m_minorGrid->Assign(*other->m_minorGrid);
    m_minorTickCount = other->m_minorTickCount;
    m_minorTickLength = other->m_minorTickLength;
    m_minorTicks->Assign(*other->m_minorTicks);
    m_startPosition = other->m_startPosition;
    m_endPosition = other->m_endPosition;
    m_positionPercent = other->m_positionPercent;
    m_roundFirstLabel = other->m_roundFirstLabel;
    m_tickInnerLength = other->m_tickInnerLength;
    m_tickLength = other->m_tickLength;
    m_tickOnLabelsOnly = other->m_tickOnLabelsOnly;
    m_ticks->Assign(*other->m_ticks);
    m_ticksInner->Assign(*other->m_ticksInner);
    m_title->Assign(*other->m_title);
    m_titleSize = other->m_titleSize;
    m_visible = other->m_visible;
    m_horizontal = other->m_horizontal;
    m_otherSide = other->m_otherSide;
    m_isZAxis = other->m_isZAxis;
    Repaint();
}

const TAxisChartHooks& TCustomChartAxis::ChartHooks() const {
    return m_hooks != nullptr ? *m_hooks : kNoHooks;
}

void TCustomChartAxis::Repaint() {
    if (m_chart != nullptr) {
        m_chart->MarkForRepaint();
    }
}

bool TCustomChartAxis::ChartLoading() const {
    return m_chart != nullptr && m_chart->Loading();
}

void TCustomChartAxis::SetAutomatic(bool value) {
    StoreAndRepaint(m_automatic, value);
    if (!ChartLoading()) {
        m_automaticMinimum = value;
        m_automaticMaximum = value;
    }
}

void TCustomChartAxis::SetAutomaticMaximum(bool value) {
    StoreAndRepaint(m_automaticMaximum, value);
    if (!value || m_automaticMinimum) {
        m_automatic = value;
    }
}

void TCustomChartAxis::SetAutomaticMinimum(bool value) {
    StoreAndRepaint(m_automaticMinimum, value);
    if (!value || m_automaticMaximum) {
        m_automatic = value;
    }
}

void TCustomChartAxis::SetAxisValuesFormat(const std::string& value) {
    StoreAndRepaint(m_axisValuesFormat, value);
}

void TCustomChartAxis::SetDateTimeFormat(const std::string& value) {
    StoreAndRepaint(m_dateTimeFormat, value);
}

void TCustomChartAxis::SetExactDateTime(bool value) {
    StoreAndRepaint(m_exactDateTime, value);
}

void TCustomChartAxis::SetGridCentered(bool value) {
    StoreAndRepaint(m_gridCentered, value);
}

void TCustomChartAxis::SetIncrement(double value) {
    if (value != m_increment) {
        if (value < 0) {
            throw AxisException(kMsgAxisIncrementNegative);
        }
        m_increment = value;
        Repaint();
    }
}

void TCustomChartAxis::SetInverted(bool value) {
    StoreAndRepaint(m_inverted, value);
}

void TCustomChartAxis::SetLabels(bool value) {
    StoreAndRepaint(m_labels, value);
}

void TCustomChartAxis::SetLabelsAngle(int32_t value) {
    if (value != m_labelsAngle) {
        CheckAngle(value, kMsgAxisLabels);
        m_labelsAngle = value;
        Repaint();
    }
}

void TCustomChartAxis::SetLabelsMultiLine(bool value) {
    StoreAndRepaint(m_labelsMultiLine, value);
}

void TCustomChartAxis::SetLabelsOnAxis(bool value) {
    StoreAndRepaint(m_labelsOnAxis, value);
}

void TCustomChartAxis::SetLabelsSeparation(int32_t value) {
    if (value != m_labelsSeparation) {
        if (value < 0) {
            throw AxisException(kMsgAxisLabelsSeparation);
        }
        m_labelsSeparation = value;
        Repaint();
    }
}

void TCustomChartAxis::SetLabelsSize(int32_t value) {
    StoreAndRepaint(m_labelsSize, value);
}

void TCustomChartAxis::SetLabelStyle(TAxisLabelStyle value) {
    StoreAndRepaint(m_labelStyle, value);
}

void TCustomChartAxis::SetLogarithmic(bool value) {
    if (value == m_logarithmic) {
        return;
    }
    if (value) {
        if (IsDateTimeAxis()) {
            throw AxisException(kMsgAxisDateTimeLogarithmic);
        }
        // The range is taken as the next paint would take it; a refused switch leaves the
        // axis linear with that range.
        ComputeRange();
        if (m_currentMinimum < 0 || m_currentMaximum < 0) {
            throw AxisException(kMsgAxisLogarithmicNegative);
        }
    }
    m_logarithmic = value;
    Repaint();
}

void TCustomChartAxis::SetLogarithmicBase(int32_t value) {
    if (value != m_logarithmicBase) {
        if (value < 2) {
            throw AxisException(kMsgAxisLogarithmicBase);
        }
        m_logarithmicBase = value;
        Repaint();
    }
}

void TCustomChartAxis::SetMaximum(double value) {
    if (value != m_maximum) {
        if (!ChartLoading() && value < m_minimum) {
            throw AxisException(kMsgAxisMaxMin);
        }
        m_maximum = value;
        Repaint();
    }
}

void TCustomChartAxis::SetMinimum(double value) {
    if (value != m_minimum) {
        if (!ChartLoading() && value > m_maximum) {
            throw AxisException(kMsgAxisMinMax);
        }
        m_minimum = value;
        Repaint();
    }
}

void TCustomChartAxis::SetMinorTickCount(int32_t value) {
    StoreAndRepaint(m_minorTickCount, value);
}

void TCustomChartAxis::SetMinorTickLength(int32_t value) {
    StoreAndRepaint(m_minorTickLength, value);
}

void TCustomChartAxis::SetStartPosition(double value) {
    StoreAndRepaint(m_startPosition, value);
}

void TCustomChartAxis::SetEndPosition(double value) {
    StoreAndRepaint(m_endPosition, value);
}

void TCustomChartAxis::SetPositionPercent(double value) {
    StoreAndRepaint(m_positionPercent, value);
}

void TCustomChartAxis::SetRoundFirstLabel(bool value) {
    StoreAndRepaint(m_roundFirstLabel, value);
}

void TCustomChartAxis::SetTickInnerLength(int32_t value) {
    StoreAndRepaint(m_tickInnerLength, value);
}

void TCustomChartAxis::SetTickLength(int32_t value) {
    StoreAndRepaint(m_tickLength, value);
}

void TCustomChartAxis::SetTickOnLabelsOnly(bool value) {
    StoreAndRepaint(m_tickOnLabelsOnly, value);
}

void TCustomChartAxis::SetTitleSize(int32_t value) {
    StoreAndRepaint(m_titleSize, value);
}

void TCustomChartAxis::SetVisible(bool value) {
    StoreAndRepaint(m_visible, value);
}

void TCustomChartAxis::SetDefaultTitleAngle(int32_t value) {
    m_defaultTitleAngle = value;
    m_title->SetDefaultAngle(value);
}

}  // namespace chart
