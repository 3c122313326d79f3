// The chart panel: construction, settings, the paint entry with the chart rectangle, bevels,
// brushes and the zoom frame.
#include "chart/panel/ChartPanel.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "base/Arith.h"
#include "base/Format.h"
#include "chart/messages/ChartMessages.h"
#include "chart/panel/ChartProcs.h"
#include "classes/ClassBuilder.h"
#include "gfx/ColorNames.h"

namespace chart {

namespace {

const std::vector<std::string> kBevelNames = {"bvNone", "bvLowered", "bvRaised", "bvSpace"};
constexpr int32_t kDefaultWidth = 400;
constexpr int32_t kDefaultHeight = 250;
constexpr int32_t kMin3DPercent = 1;
constexpr int32_t kMax3DPercent = 100;
constexpr int32_t kPercent = 100;

}  // namespace

void TZoomPanningRecord::BeginAt(int32_t x, int32_t y) {
    StartX = x;
    StartY = y;
    EndX = x;
    EndY = y;
    Engaged = true;
}

void TZoomPanningRecord::NormalizeCorners() {
    if (StartX > EndX) {
        std::swap(StartX, EndX);
    }
    if (StartY > EndY) {
        std::swap(StartY, EndY);
    }
}

TCustomChartPanel::TCustomChartPanel(classes::TComponent* owner)
    : forms::TPanel(owner),
      m_windowCanvas(&m_surface.Canvas()),
      m_view3DOptions(std::make_unique<TView3DOptions>(this)),
      m_canvas(std::make_unique<TChartCanvas3D>(m_surface.Canvas())) {
    SetBounds(Left(), Top(), kDefaultWidth, kDefaultHeight);
    m_savedCursor = m_cursor;
    m_repaintOnChange = true;
}

TCustomChartPanel::~TCustomChartPanel() {
    m_repaintOnChange = false;
}

const classes::TClassInfo& TCustomChartPanel::StaticClass() {
    using T = TCustomChartPanel;
    static const classes::TClassInfo info =
        classes::TClassBuilder<T>("TCustomChartPanel", &forms::TPanel::StaticClass())
            .Integer<uint32_t>("Color", &T::Color, &T::SetColor, gfx::clBtnFace,
                               &gfx::ColorIdents())
            .Enum<forms::TPanelBevel>("BevelInner", &T::BevelInner, &T::SetBevelInner, kBevelNames,
                                      forms::TPanelBevel::bvNone)
            .Enum<forms::TPanelBevel>("BevelOuter", &T::BevelOuter, &T::SetBevelOuter, kBevelNames,
                                      forms::TPanelBevel::bvRaised)
            .Integer("BevelWidth", &T::BevelWidth, &T::SetBevelWidth, 1)
            .Integer("BorderWidth", &T::BorderWidth, &T::SetBorderWidth, 0)
            .Integer("Chart3DPercent", &T::Chart3DPercent, &T::SetChart3DPercent, 15)
            .Integer("MarginBottom", &T::MarginBottom, &T::SetMarginBottom, 4)
            .Integer("MarginLeft", &T::MarginLeft, &T::SetMarginLeft, 3)
            .Integer("MarginRight", &T::MarginRight, &T::SetMarginRight, 3)
            .Integer("MarginTop", &T::MarginTop, &T::SetMarginTop, 4)
            .Boolean("Monochrome", &T::Monochrome, &T::SetMonochrome, false)
            .Boolean("PrintProportional", &T::PrintProportional, &T::SetPrintProportional, true)
            .Boolean("View3D", &T::View3D, &T::SetView3D, true)
            .Object("View3DOptions", [](T& p) -> TView3DOptions& { return p.View3DOptions(); })
            .Build();
    return info;
}

const classes::TClassInfo& TCustomChartPanel::ClassInfo() const {
    return StaticClass();
}

void TCustomChartPanel::MarkForRepaint() {
    if (!m_repaintOnChange || Destroying()) {
        return;
    }
    m_canvas->MarkBufferStale();
    Invalidate();
}

void TCustomChartPanel::PartChanged() {
    MarkForRepaint();
}

void TCustomChartPanel::StoreAndRepaint(int32_t& field, int32_t value) {
    if (field != value) {
        field = value;
        MarkForRepaint();
    }
}

void TCustomChartPanel::SetChart3DPercent(int32_t value) {
    if (value < kMin3DPercent || value > kMax3DPercent) {
        throw ChartException(
            base::Format(kMsg3DPercentRange, {int64_t{kMin3DPercent}, int64_t{kMax3DPercent}}));
    }
    StoreAndRepaint(m_chart3DPercent, value);
}

void TCustomChartPanel::SetView3D(bool value) {
    if (value != m_view3D) {
        m_view3D = value;
        MarkForRepaint();
    }
}

void TCustomChartPanel::SetView3DOptions(const TView3DOptions& value) {
    m_view3DOptions->Assign(value);
    MarkForRepaint();
}

void TCustomChartPanel::SetMarginLeft(int32_t value) {
    StoreAndRepaint(m_marginLeft, value);
}
void TCustomChartPanel::SetMarginTop(int32_t value) {
    StoreAndRepaint(m_marginTop, value);
}
void TCustomChartPanel::SetMarginRight(int32_t value) {
    StoreAndRepaint(m_marginRight, value);
}
void TCustomChartPanel::SetMarginBottom(int32_t value) {
    StoreAndRepaint(m_marginBottom, value);
}

void TCustomChartPanel::SetBorderWidth(int32_t value) {
    if (value < 0) {
        throw ChartException(kMsgBorderWidth);
    }
    StoreAndRepaint(m_borderWidth, value);
}

bool TCustomChartPanel::Monochrome() const {
    return m_canvas->ReadMonochrome();
}

void TCustomChartPanel::SetMonochrome(bool value) {
    if (value != m_canvas->ReadMonochrome()) {
        m_canvas->WriteMonochrome(value);
        MarkForRepaint();
    }
}

void TCustomChartPanel::Changed(forms::TControlChange change) {
    switch (change) {
        case forms::TControlChange::ccColor:
        case forms::TControlChange::ccRepaint:
        case forms::TControlChange::ccPaintNow:
            if (m_canvas != nullptr) {  // null only while the panel is being made
                m_canvas->MarkBufferStale();
            }
            break;
        case forms::TControlChange::ccBounds:
        case forms::TControlChange::ccVisible:
        case forms::TControlChange::ccEnabled:
        case forms::TControlChange::ccCaption:
        case forms::TControlChange::ccFont:
        case forms::TControlChange::ccLines:
        case forms::TControlChange::ccPicture:
        case forms::TControlChange::ccBringToFront:
            break;
    }
    forms::TPanel::Changed(change);
}

void TCustomChartPanel::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    const bool resized = width != Width() || height != Height();
    forms::TPanel::SetBounds(left, top, width, height);
    if (resized) {
        MarkForRepaint();
    }
}

void TCustomChartPanel::SetWindowCanvas(gfx::TCanvas* canvas) {
    gfx::TCanvas* next = canvas != nullptr ? canvas : &m_surface.Canvas();
    if (&m_canvas->ReferenceCanvas() == m_windowCanvas) {
        m_canvas->AttachCanvas(*next);
    }
    m_windowCanvas = next;
    m_canvas->MarkBufferStale();
}

gfx::TRect TCustomChartPanel::PaintArea() const {
    return gfx::TRect(0, 0, Width(), Height());
}

void TCustomChartPanel::Paint() {
    if (m_windowCanvas == &m_surface.Canvas() &&
        (m_surface.Width() != Width() || m_surface.Height() != Height())) {
        m_surface.SetSize(std::max(Width(), 0), std::max(Height(), 0));
    }
    if (m_printingInProgress) {
        return;
    }
    if (m_canvas->RepaintFromBuffer()) {
        return;
    }
    PaintToCanvas(m_windowCanvas, PaintArea());
}

void TCustomChartPanel::PaintToCanvas(gfx::TCanvas* target, const gfx::TRect& rect) {
    try {
        const gfx::TRect r =
            m_canvas->PrepareDrawing(target, m_view3DOptions.get(), Color(), m_view3D, rect);
        m_panelBounds = r;
        const int32_t width = r.Width();
        const int32_t height = r.Height();
        m_plotRect =
            gfx::TRect(r.Left + m_borderWidth + base::MulDiv(m_marginLeft, width, kPercent),
                       r.Top + m_borderWidth + base::MulDiv(m_marginTop, height, kPercent),
                       r.Right - m_borderWidth - base::MulDiv(m_marginRight, width, kPercent),
                       r.Bottom - m_borderWidth - base::MulDiv(m_marginBottom, height, kPercent));
        NormalizePlotRect();
        DrawChartContent(m_panelBounds);
        m_canvas->PresentBuffer(target, *m_windowCanvas, rect);
    } catch (...) {
        // The buffer stays stale, so the next paint starts afresh; meanwhile the canvas
        // draws on the window again.
        m_canvas->AttachCanvas(*m_windowCanvas);
        throw;
    }
}

void TCustomChartPanel::NormalizePlotRect() {
    m_plotRect.Left = std::max(m_plotRect.Left, m_panelBounds.Left);
    m_plotRect.Top = std::max(m_plotRect.Top, m_panelBounds.Top);
    if (m_plotRect.Left > m_plotRect.Right) {
        m_plotRect.Right = m_plotRect.Left + 1;
    } else if (m_plotRect.Left == m_plotRect.Right) {
        m_plotRect.Right = m_plotRect.Left + Width();
    }
    if (m_plotRect.Top > m_plotRect.Bottom) {
        m_plotRect.Bottom = m_plotRect.Top + 1;
    } else if (m_plotRect.Top == m_plotRect.Bottom) {
        m_plotRect.Bottom = m_plotRect.Top + Height();
    }
    m_plotWidth = m_plotRect.Width();
    m_plotHeight = m_plotRect.Height();
    m_plotCenterX = (m_plotRect.Left + m_plotRect.Right) / 2;
    m_plotCenterY = (m_plotRect.Top + m_plotRect.Bottom) / 2;
}

void TCustomChartPanel::DrawBevels(const gfx::TRect& rect) {
    if (m_printingInProgress && !PaintWhilePrinting) {
        return;
    }
    gfx::TPen& pen = m_canvas->Pen();
    pen.SetStyle(gfx::TPenStyle::psSolid);
    pen.SetWidth(1);
    pen.SetMode(gfx::TPenMode::pmCopy);
    m_canvas->Brush().SetStyle(gfx::TBrushStyle::bsClear);
    gfx::TRect r = rect;
    auto bevel = [&](forms::TPanelBevel kind) {
        if (kind == forms::TPanelBevel::bvNone) {
            return;
        }
        const gfx::TColor top =
            kind == forms::TPanelBevel::bvLowered ? gfx::clBtnShadow : gfx::clBtnHighlight;
        const gfx::TColor bottom =
            kind == forms::TPanelBevel::bvRaised ? gfx::clBtnShadow : gfx::clBtnHighlight;
        m_canvas->BevelFrame(r, top, BevelWidth(), bottom);
        r = r.Inflate(-BevelWidth(), -BevelWidth());
    };
    bevel(BevelOuter());
    m_canvas->BevelFrame(r, Color(), m_borderWidth, Color());
    r = r.Inflate(-m_borderWidth, -m_borderWidth);
    bevel(BevelInner());
}

void TCustomChartPanel::ApplyFont(gfx::TFont& font) {
    font.SetPixelsPerInch(m_canvas->Font().PixelsPerInch());
    m_canvas->Font().Assign(font);
}

void TCustomChartPanel::PaintBackImage(const gfx::TRect& /*rect*/) {}

void TCustomChartPanel::PaintBackground(const gfx::TRect& rect) {
    if (m_printingInProgress && !PaintWhilePrinting) {
        return;
    }
    m_canvas->Brush().SetColor(Color());
    m_canvas->Brush().SetStyle(gfx::TBrushStyle::bsSolid);
    m_canvas->EraseArea(rect);
}

void TCustomChartPanel::PaintPanelFrame(const gfx::TRect& rect) {
    PaintBackground(rect);
    PaintBackImage(rect);
    if (!m_canvas->RendersWholeScene()) {
        DrawBevels(rect);
    }
}

void TCustomChartPanel::ApplyBrush(gfx::TColor color, gfx::TBrushStyle style,
                                   gfx::TColor backColor) {
    if (style != gfx::TBrushStyle::bsSolid && color == backColor) {
        color = backColor == gfx::clBlack ? gfx::clWhite : gfx::clBlack;
    }
    m_canvas->Brush().SetColor(color);
    m_canvas->Brush().SetStyle(style);
    if (style == gfx::TBrushStyle::bsSolid) {
        m_canvas->WriteBackMode(gfx::TBackMode::bmTransparent);
    } else {
        m_canvas->WriteBackMode(gfx::TBackMode::bmOpaque);
        m_canvas->WriteBackColor(gfx::ColorToRGB(backColor));
    }
}

bool TCustomChartPanel::ClippingAllowed() const {
    if (m_canvas->RendersWholeScene()) {
        return false;
    }
    if (m_printingInProgress) {
        return ClipOnPrinter;
    }
    if (m_canvas->Metafiling()) {
        return ClipOnMetafile;
    }
    return true;
}

int32_t TCustomChartPanel::WidestLineWidth(const std::string& text, int32_t& lineCount) {
    size_t at = text.find(LineBreakChar);
    if (at == std::string::npos) {
        lineCount = 1;
        return m_canvas->TextWidthOf(text);
    }
    int32_t widest = 0;
    lineCount = 0;
    size_t from = 0;
    while (at != std::string::npos) {
        widest = std::max(widest, m_canvas->TextWidthOf(text.substr(from, at - from)));
        ++lineCount;
        from = at + 1;
        at = text.find(LineBreakChar, from);
    }
    if (from < text.size()) {
        widest = std::max(widest, m_canvas->TextWidthOf(text.substr(from)));
        ++lineCount;
    }
    return widest;
}

void TCustomChartPanel::XorZoomFrame() {
    gfx::TColorRef color = gfx::ColorToRGB(Color());
    if (color == gfx::clWhite) {
        color = gfx::clBlack;
    }
    gfx::TPen& pen = m_canvas->Pen();
    pen.SetColor(color);
    pen.SetMode(gfx::TPenMode::pmNotXor);
    pen.SetStyle(gfx::TPenStyle::psSolid);
    pen.SetWidth(1);
    m_canvas->Brush().SetStyle(gfx::TBrushStyle::bsClear);
    m_canvas->RectShape(m_zoomState.StartX, m_zoomState.StartY, m_zoomState.EndX, m_zoomState.EndY);
}

void TCustomChartPanel::AdjustPenForPrinter(gfx::TPen& pen) const {
    if (m_printingInProgress && pen.Style() != gfx::TPenStyle::psSolid && pen.Width() == 1) {
        pen.SetWidth(0);
    }
}

void TCustomChartPanel::MouseLeave() {
    m_cursor = m_savedCursor;
    m_panState.Engaged = false;
}

void TCustomChartPanel::WindowRecreated() {
    m_canvas->SetView3DOptions(nullptr);
}

void TCustomChartPanel::Loaded() {
    forms::TPanel::Loaded();
    m_savedCursor = m_cursor;
}

void TCustomChartPanel::Assign(const classes::TPersistent& source) {
    const auto* other = dynamic_cast<const TCustomChartPanel*>(&source);
    if (other == nullptr) {
        forms::TPanel::Assign(source);
        return;
    }
    m_canvas->WriteBuffered(other->m_canvas->ReadBuffered());
    m_printProportional = other->m_printProportional;
    m_printSetting = other->m_printSetting;
    SetMarginLeft(other->m_marginLeft);
    SetMarginTop(other->m_marginTop);
    SetMarginRight(other->m_marginRight);
    SetMarginBottom(other->m_marginBottom);
    SetMonochrome(other->Monochrome());
    SetView3D(other->m_view3D);
    m_view3DOptions->Assign(*other->m_view3DOptions);
    SetChart3DPercent(other->m_chart3DPercent);
    SetColor(other->Color());
}

}  // namespace chart
