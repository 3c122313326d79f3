// The chart pen's setters, assignment and published properties with each variant's defaults.
#include "chart/canvas/ChartPen.h"

#include <string>
#include <vector>

#include "chart/engine/ChartColors.h"
#include "classes/ClassBuilder.h"

namespace chart {

namespace {

const std::vector<std::string> kPenModeNames = {
    "pmBlack",       "pmWhite",      "pmNop",         "pmNot",        "pmCopy",  "pmNotCopy",
    "pmMergePenNot", "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge",
    "pmMask",        "pmNotMask",    "pmXor",         "pmNotXor"};
const std::vector<std::string> kPenStyleNames = {"psSolid",       "psDash",       "psDot",
                                                 "psDashDot",     "psDashDotDot", "psClear",
                                                 "psInsideFrame", "psAlternate"};

// Gray of the dotted and dark-gray pens.
constexpr gfx::TColor kPenGray = gfx::clGray;
constexpr int32_t kAxisPenWidth = 2;

// The published properties of a chart pen with the given defaults.
template <class T>
classes::TClassInfo PenClassInfo(const char* name, const classes::TClassInfo* parent,
                                 gfx::TColor color, gfx::TPenStyle style, int32_t width,
                                 bool visible) {
    return classes::TClassBuilder<T>(name, parent)
        .template Integer<uint32_t>("Color", &gfx::TPen::Color, &gfx::TPen::SetColor, color,
                                    &ChartColorIdents())
        .template Enum<gfx::TPenMode>("Mode", &gfx::TPen::Mode, &gfx::TPen::SetMode, kPenModeNames,
                                      gfx::TPenMode::pmCopy)
        .template Enum<gfx::TPenStyle>("Style", &gfx::TPen::Style, &gfx::TPen::SetStyle,
                                       kPenStyleNames, style)
        .Integer("Width", &gfx::TPen::Width, &gfx::TPen::SetWidth, width)
        .Boolean("SmallDots", &TChartPen::SmallDots, &TChartPen::SetSmallDots, false)
        .Boolean("Visible", &TChartPen::Visible, &TChartPen::SetVisible, visible)
        .Build();
}

}  // namespace

TChartPen::TChartPen(gfx::TChangeEvent onChange) {
    SetOnChange(std::move(onChange));
}

void TChartPen::SetSmallDots(bool value) {
    if (value != m_smallDots) {
        m_smallDots = value;
        Changed();
    }
}

void TChartPen::SetVisible(bool value) {
    if (value != m_visible) {
        m_visible = value;
        Changed();
    }
}

void TChartPen::Assign(const classes::TPersistent& source) {
    if (const auto* pen = dynamic_cast<const TChartPen*>(&source)) {
        m_visible = pen->m_visible;
        m_smallDots = pen->m_smallDots;
    }
    gfx::TPen::Assign(source);
}

const classes::TClassInfo& TChartPen::StaticClass() {
    static const classes::TClassInfo info = PenClassInfo<TChartPen>(
        "TChartPen", &gfx::TPen::StaticClass(), gfx::clBlack, gfx::TPenStyle::psSolid, 1, true);
    return info;
}

const classes::TClassInfo& TChartPen::ClassInfo() const {
    return StaticClass();
}

TChartHiddenPen::TChartHiddenPen(gfx::TChangeEvent onChange) : TChartPen(nullptr) {
    SetVisible(false);
    SetOnChange(std::move(onChange));
}

const classes::TClassInfo& TChartHiddenPen::StaticClass() {
    static const classes::TClassInfo info =
        PenClassInfo<TChartHiddenPen>("TChartHiddenPen", &TChartPen::StaticClass(), gfx::clBlack,
                                      gfx::TPenStyle::psSolid, 1, false);
    return info;
}

const classes::TClassInfo& TChartHiddenPen::ClassInfo() const {
    return StaticClass();
}

TDottedGrayPen::TDottedGrayPen(gfx::TChangeEvent onChange) : TChartPen(nullptr) {
    SetColor(kPenGray);
    SetStyle(gfx::TPenStyle::psDot);
    SetOnChange(std::move(onChange));
}

const classes::TClassInfo& TDottedGrayPen::StaticClass() {
    static const classes::TClassInfo info = PenClassInfo<TDottedGrayPen>(
        "TDottedGrayPen", &TChartPen::StaticClass(), kPenGray, gfx::TPenStyle::psDot, 1, true);
    return info;
}

const classes::TClassInfo& TDottedGrayPen::ClassInfo() const {
    return StaticClass();
}

TDarkGrayPen::TDarkGrayPen(gfx::TChangeEvent onChange) : TChartPen(nullptr) {
    SetColor(kPenGray);
    SetOnChange(std::move(onChange));
}

const classes::TClassInfo& TDarkGrayPen::StaticClass() {
    static const classes::TClassInfo info = PenClassInfo<TDarkGrayPen>(
        "TDarkGrayPen", &TChartPen::StaticClass(), kPenGray, gfx::TPenStyle::psSolid, 1, true);
    return info;
}

const classes::TClassInfo& TDarkGrayPen::ClassInfo() const {
    return StaticClass();
}

TChartArrowPen::TChartArrowPen(gfx::TChangeEvent onChange) : TChartPen(nullptr) {
    SetColor(gfx::clWhite);
    SetOnChange(std::move(onChange));
}

const classes::TClassInfo& TChartArrowPen::StaticClass() {
    static const classes::TClassInfo info =
        PenClassInfo<TChartArrowPen>("TChartArrowPen", &TChartPen::StaticClass(), gfx::clWhite,
                                     gfx::TPenStyle::psSolid, 1, true);
    return info;
}

const classes::TClassInfo& TChartArrowPen::ClassInfo() const {
    return StaticClass();
}

TChartAxisPen::TChartAxisPen(gfx::TChangeEvent onChange) : TChartPen(nullptr) {
    SetWidth(kAxisPenWidth);
    SetOnChange(std::move(onChange));
}

const classes::TClassInfo& TChartAxisPen::StaticClass() {
    static const classes::TClassInfo info =
        PenClassInfo<TChartAxisPen>("TChartAxisPen", &TChartPen::StaticClass(), gfx::clBlack,
                                    gfx::TPenStyle::psSolid, kAxisPenWidth, true);
    return info;
}

const classes::TClassInfo& TChartAxisPen::ClassInfo() const {
    return StaticClass();
}

}  // namespace chart
