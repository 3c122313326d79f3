// The concrete chart: its parts, the titles and walls it draws, its layout of the chart
// rectangle and the registration of the chart classes for design data.
#include "chart/component/Chart.h"

#include <algorithm>
#include <cstdlib>

#include "chart/engine/AxisTitle.h"
#include "chart/panel/ChartProcs.h"
#include "chart/series/LineSeries.h"
#include "chart/series/SeriesRegistry.h"
#include "classes/ClassBuilder.h"

namespace chart {

namespace {
// Pixels between a title and the chart rectangle.
constexpr int32_t kTitleGap = 5;
// The left wall's light yellow and the bottom wall's white.
constexpr gfx::TColor kLeftWallColor = 0x80FFFF;
constexpr gfx::TColor kBottomWallColor = 0xFFFFFF;
}  // namespace

TChart::TChart(classes::TComponent* owner)
    : TCustomAxisPanel(owner),
      m_title(std::make_unique<TChartTitle>(this)),
      m_foot(std::make_unique<TChartTitle>(this)),
      m_backWall(std::make_unique<TChartWall>(this, clSeriesDefault)),
      m_leftWall(std::make_unique<TChartWall>(this, kLeftWallColor)),
      m_legend(std::make_unique<TChartLegend>(this)),
      m_bottomWall(std::make_unique<TChartWall>(this, kBottomWallColor)) {
    m_backWall->Brush().SetOnChange(nullptr);
    m_backWall->Brush().SetStyle(gfx::TBrushStyle::bsClear);
    m_backWall->Brush().SetOnChange([this] { PartChanged(); });
}

TChart::~TChart() {
    // The series go first: while they are freed they may still ask this chart to repaint.
    MarkDestroying();
    FreeAllSeries();
}

const classes::TClassInfo& TChart::StaticClass() {
    using T = TChart;
    static const classes::TClassInfo info =
        classes::TClassBuilder<T>("TChart", &TCustomAxisPanel::StaticClass())
            .Creatable()
            .Boolean("AxisVisible", &T::AxisVisible, &T::SetAxisVisible, true)
            // Shortcuts into the back wall, stored with it.
            .Integer<uint32_t>("BackColor", &T::BackColor, &T::SetBackColor, {},
                               &ChartColorIdents())
            .StoredIf([](const T&) { return false; })
            .Object("BackWall", [](T& c) -> TChartWall& { return c.BackWall(); })
            .Boolean("BackImageInside", &T::BackImageInside, &T::SetBackImageInside, false)
            .Object("BottomAxis", [](T& c) -> TChartAxis& { return c.BottomAxis(); })
            .Object("BottomWall", [](T& c) -> TChartWall& { return c.BottomWall(); })
            .Boolean("ClipPoints", &T::ClipPoints, &T::SetClipPoints, true)
            .Object("DepthAxis", [](T& c) -> TChartDepthAxis& { return c.DepthAxis(); })
            .Object("Foot", [](T& c) -> TChartTitle& { return c.Foot(); })
            .Object("Frame", [](T& c) -> TChartPen& { return c.Frame(); })
            .StoredIf([](const T&) { return false; })
            .Object("LeftAxis", [](T& c) -> TChartAxis& { return c.LeftAxis(); })
            .Object("LeftWall", [](T& c) -> TChartWall& { return c.LeftWall(); })
            .Object("Legend", [](T& c) -> TChartLegend& { return c.Legend(); })
            .Integer("MaxPointsPerPage", &T::MaxPointsPerPage, &T::SetMaxPointsPerPage, 0)
            .Integer("Page", &T::Page, &T::SetPage, 1)
            .Object("RightAxis", [](T& c) -> TChartAxis& { return c.RightAxis(); })
            .Boolean("ScaleLastPage", &T::ScaleLastPage, &T::SetScaleLastPage, true)
            .Object("Title", [](T& c) -> TChartTitle& { return c.Title(); })
            .Object("TopAxis", [](T& c) -> TChartAxis& { return c.TopAxis(); })
            .Boolean("View3DWalls", &T::View3DWalls, &T::SetView3DWalls, true)
            .Build();
    return info;
}

const classes::TClassInfo& TChart::ClassInfo() const {
    return StaticClass();
}

void TChart::Assign(const classes::TPersistent& source) {
    if (const auto* other = dynamic_cast<const TChart*>(&source)) {
        m_backImageInside = other->m_backImageInside;
        m_backWall->Assign(*other->m_backWall);
        m_bottomWall->Assign(*other->m_bottomWall);
        m_leftWall->Assign(*other->m_leftWall);
        m_legend->Assign(*other->m_legend);
        m_foot->Assign(*other->m_foot);
        m_title->Assign(*other->m_title);
    }
    TCustomAxisPanel::Assign(source);
}

void TChart::SetBackColor(gfx::TColor value) {
    m_backWall->SetColor(value);
    if (Parent() != nullptr && !Loading()) {
        m_backWall->Brush().SetStyle(gfx::TBrushStyle::bsSolid);
    }
}

void TChart::SetBackImageInside(bool value) {
    if (m_backImageInside != value) {
        m_backImageInside = value;
        PartChanged();
    }
}

std::string TChart::LegendValueText(const TChartSeries& series, int32_t index) const {
    if (index == -1) {
        return std::string();
    }
    std::string text = series.LegendItemText(index, m_legend->TextStyle());
    std::replace(text.begin(), text.end(), LineBreakChar, ' ');
    return text;
}

bool TChart::IsColorFree(gfx::TColor color, bool checkBackground) const {
    if (checkBackground && color == BackColor()) {
        return false;
    }
    return TCustomAxisPanel::IsColorFree(color, checkBackground);
}

void TChart::DrawTitlesAndLegend() {
    TChartCanvas3D& canvas = Canvas();
    canvas.EnterFlatMode();
    const auto drawTitles = [this] {
        if (m_title->Visible()) {
            DrawTitle(*m_title, true);
        }
        if (m_foot->Visible()) {
            DrawTitle(*m_foot, false);
        }
    };
    bool anyActive = false;
    for (int32_t i = 0; i < SeriesCount() && !anyActive; ++i) {
        anyActive = Series(i)->Active();
    }
    if (!m_legend->Visible() || !anyActive) {
        drawTitles();
    } else if (m_legend->Vertical()) {
        m_legend->DrawLegend();
        drawTitles();
    } else {
        drawTitles();
        m_legend->DrawLegend();
    }
    canvas.LeaveFlatMode();
}

void TChart::DrawTitle(TChartTitle& title, bool atTop) {
    TChartCanvas3D& canvas = Canvas();
    ApplyFont(title.Font());
    const int32_t h = canvas.TextLineHeight();
    const gfx::TBrush& brush = title.Brush();
    const bool solid = brush.Style() == gfx::TBrushStyle::bsSolid;
    if (title.Color() == clSeriesDefault) {
        if (!solid) {
            canvas.Brush().Assign(brush);
            canvas.WriteBackMode(gfx::TBackMode::bmTransparent);
        } else if (brush.Color() == clSeriesDefault) {
            canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
        } else {
            title.SetColor(brush.Color());  // repaints once more with the colour in place
            canvas.Brush().SetStyle(gfx::TBrushStyle::bsSolid);
            canvas.Brush().SetColor(title.Color());
        }
    } else if (!solid) {
        canvas.Brush().Assign(brush);
        canvas.WriteBackMode(gfx::TBackMode::bmOpaque);
        canvas.WriteBackColor(title.Color());
    } else {
        canvas.Brush().SetStyle(gfx::TBrushStyle::bsSolid);
        canvas.Brush().SetColor(title.Color());
    }
    const TChartPen& frame = title.Frame();
    const bool framed = frame.Visible() && frame.Color() != clSeriesDefault;
    const int32_t f = framed ? frame.Width() : 0;
    const int32_t lineCount = title.Text().Count();
    const int32_t left = PlotRect().Left + f;
    const int32_t right = PlotRect().Right - f;
    int32_t y = 0;
    gfx::TRect box;
    if (atTop) {
        const int32_t top = PlotRect().Top + f;
        y = top;
        box = gfx::TRect(left, top, right, top + lineCount * h);
    } else {
        const int32_t bottom = PlotRect().Bottom - f;
        y = bottom;
        box = gfx::TRect(left, bottom - lineCount * h, right, bottom);
    }
    // The end mark starts 5 pixels outside, so an empty title takes no room.
    int32_t endMark = atTop ? y - kTitleGap : y + kTitleGap;
    int32_t p = 0;
    if (framed) {
        canvas.ApplyChartPen(frame);
        p = frame.Width();
    } else {
        canvas.Pen().SetStyle(gfx::TPenStyle::psClear);
    }
    box = gfx::TRect(box.Left - p, box.Top - p, box.Right + p, box.Bottom + p);
    const int32_t w = canvas.TextWidthOf("W");
    if (framed || canvas.Brush().Style() != gfx::TBrushStyle::bsClear) {
        if (title.AdjustFrame()) {
            int32_t widest = 0;
            for (int32_t i = 0; i < lineCount; ++i) {
                widest = std::max(widest, canvas.TextWidthOf(title.Text().Strings(i)));
            }
            const int32_t width = widest + w;
            switch (title.Alignment()) {
                case TTitleAlignment::taLeftJustify:
                    box.Right = box.Left + width;
                    break;
                case TTitleAlignment::taRightJustify:
                    box.Left = box.Right - width;
                    break;
                case TTitleAlignment::taCenter: {
                    const int32_t c = (box.Left + box.Right) / 2;
                    box.Left = c - width / 2;
                    box.Right = c + width / 2;
                    break;
                }
            }
        }
        canvas.RectFromBounds(box);
    }
    title.SetTitleRect(box);
    canvas.WriteBackMode(gfx::TBackMode::bmTransparent);
    const auto putLine = [&](const std::string& text) {
        const int32_t tw = canvas.TextWidthOf(text);
        int32_t x = 0;
        switch (title.Alignment()) {
            case TTitleAlignment::taLeftJustify:
                x = left + w / 2;
                break;
            case TTitleAlignment::taRightJustify:
                x = right - tw - w / 2;
                break;
            case TTitleAlignment::taCenter:
                x = (left + right) / 2 - tw / 2;
                break;
        }
        if (canvas.RendersWholeScene()) {
            canvas.PutTextAtDepth(x, y, 0, text);
        } else {
            canvas.PutText(x, y, text);
        }
    };
    if (atTop) {
        for (int32_t i = 0; i < lineCount; ++i) {
            putLine(title.Text().Strings(i));
            y += h;
            endMark = y;
        }
    } else {
        for (int32_t i = lineCount - 1; i >= 0; --i) {
            y -= h;
            putLine(title.Text().Strings(i));
            endMark = y;
        }
    }
    if (framed) {
        endMark += atTop ? p : -p;
    }
    gfx::TRect plot = PlotRect();
    if (atTop) {
        plot.Top = endMark + kTitleGap;
    } else {
        plot.Bottom = endMark - kTitleGap;
    }
    SetPlotRect(plot);
    NormalizePlotRect();
}

void TChart::PrepareWall(const TChartWall& wall) {
    TChartCanvas3D& canvas = Canvas();
    canvas.ApplyChartPen(wall.Pen());
    const gfx::TBrushStyle style = wall.Brush().Style();
    if (wall.Color() == clSeriesDefault && style == gfx::TBrushStyle::bsSolid) {
        canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);  // an unset wall is not filled
    } else {
        ApplyBrush(wall.Color(), style, wall.Brush().Color());
    }
}

void TChart::DrawWalls() {
    TChartCanvas3D& canvas = Canvas();
    const gfx::TRect plot = PlotRect();
    PrepareWall(*m_backWall);
    const bool walls3D = View3D() && View3DWalls();
    if (!View3D()) {
        // The outline includes the right and bottom edges.
        canvas.RectShape(plot.Left, plot.Top, plot.Right + 1, plot.Bottom + 1);
    } else if (walls3D) {
        int32_t s = m_backWall->Size();
        if (DepthExtent() < 0) {
            s = -s;
        }
        if (m_backWall->Size() < 1) {
            canvas.RectAtDepth(gfx::TRect(plot.Left + 1, plot.Top - 1, plot.Right, plot.Bottom),
                               DepthExtent());
        } else {
            canvas.BoxShape(plot.Left - AxisWallSize(TAxisWall::awLeft), plot.Right, plot.Top,
                            plot.Bottom + AxisWallSize(TAxisWall::awBottom), DepthExtent(),
                            DepthExtent() + s, m_backWall->HasDarkSides());
        }
    }
    if (m_backImageInside && !BackImage().Empty()) {
        gfx::TRect r = plot;
        if (m_backWall->Pen().Visible()) {
            ++r.Top;
            --r.Bottom;
        }
        DrawBackImage(r, DepthExtent());
    }
    if (!walls3D) {
        return;
    }
    const int32_t bottomWallSize = AxisWallSize(TAxisWall::awBottom);
    PrepareWall(*m_leftWall);
    if (m_leftWall->Size() < 1) {
        canvas.VertRectAcrossDepth(plot.Left, plot.Top, plot.Bottom + bottomWallSize, 0,
                                   DepthExtent() + 1);
    } else {
        canvas.BoxShape(plot.Left - m_leftWall->Size(), plot.Left, plot.Top,
                        plot.Bottom + bottomWallSize, 0, DepthExtent(), m_leftWall->HasDarkSides());
    }
    PrepareWall(*m_bottomWall);
    const int32_t y = plot.Bottom + (canvas.RendersWholeScene() ? 1 : 0);
    if (m_bottomWall->Size() < 1) {
        canvas.HorzRectAcrossDepth(plot.Left, y, plot.Right, 0, DepthExtent());
    } else {
        canvas.BoxShape(plot.Left, plot.Right, y, y + m_bottomWall->Size(), 0, DepthExtent(),
                        m_bottomWall->HasDarkSides());
    }
}

void TChart::PaintBackImage(const gfx::TRect& rect) {
    if (!m_backImageInside) {
        TCustomAxisPanel::PaintBackImage(rect);
    }
}

void TChart::LayoutAxes() {
    for (TCustomChartAxis* axis : AxesList()) {
        axis->ComputeRange();
    }
    Compute3DSize();
    if (View3D() && View3DOptions().Orthogonal()) {
        // Room for the depth: the back wall stands further right and higher.
        const int32_t b = View3DWalls() ? m_backWall->Size() : 0;
        gfx::TRect plot = PlotRect();
        plot.Right -= std::abs(DepthExtent()) + b;
        plot.Top += std::abs(DepthRise()) + b;
        SetPlotRect(plot);
    }
    NormalizePlotRect();
    gfx::TRect current = PlotRect();
    // The five axes the chart creates take their room; axes added later only place themselves.
    constexpr size_t kOwnAxes = 5;
    for (size_t i = 0; i < AxesList().size(); ++i) {
        TCustomChartAxis& axis = *AxesList()[i];
        if (!IsAxisShown(axis)) {
            continue;
        }
        gfx::TRect rect = current;
        axis.ReserveSpace(rect, i < kOwnAxes);
        const gfx::TRect common(std::max(rect.Left, current.Left), std::max(rect.Top, current.Top),
                                std::min(rect.Right, current.Right),
                                std::min(rect.Bottom, current.Bottom));
        if (common.Left < common.Right && common.Top < common.Bottom) {
            current = common;
        }
    }
    SetPlotRect(current);
    NormalizePlotRect();
    for (TCustomChartAxis* axis : AxesList()) {
        axis->ComputePositions();
    }
}

void TChart::ApplySeriesMargins() {
    TCustomChartAxis* const sides[] = {&TopAxis(), &LeftAxis(), &RightAxis(), &BottomAxis()};
    for (TCustomChartAxis* axis : sides) {
        int32_t left = 0;
        int32_t top = 0;
        int32_t right = 0;
        int32_t bottom = 0;
        for (int32_t i = 0; i < SeriesCount(); ++i) {
            const TChartSeries& series = *Series(i);
            if (!series.Active() || !axis->UsesAxis(series)) {
                continue;
            }
            int32_t a = 0;
            int32_t b = 0;
            if (axis->Horizontal()) {
                series.HorizontalMargins(a, b);
                left = axis->AutomaticMinimum() ? std::max(left, a) : left;
                right = axis->AutomaticMaximum() ? std::max(right, b) : right;
            } else {
                series.VerticalMargins(a, b);
                top = axis->AutomaticMaximum() ? std::max(top, a) : top;
                bottom = axis->AutomaticMinimum() ? std::max(bottom, b) : bottom;
            }
        }
        axis->ExpandRangeForMargins(left, top, right, bottom);
    }
}

int32_t TChart::AxisWallSize(TAxisWall wall) const {
    if (!View3D() || !View3DWalls()) {
        return 0;
    }
    switch (wall) {
        case TAxisWall::awLeft:
            return m_leftWall->Size();
        case TAxisWall::awBottom:
            return m_bottomWall->Size();
    }
    return 0;
}

void RegisterChartClasses() {
    classes::RegisterClass(TChart::StaticClass());
    RegisterStandardSeries();
    RegisterStandardFunctions();
    // The parts, so that design data can name their classes.
    classes::RegisterClass(TChartAxisTitle::StaticClass());
    classes::RegisterClass(TChartAxis::StaticClass());
    classes::RegisterClass(TChartDepthAxis::StaticClass());
    classes::RegisterClass(TSeriesMarks::StaticClass());
    classes::RegisterClass(TChartLegend::StaticClass());
    classes::RegisterClass(TChartGradient::StaticClass());
    classes::RegisterClass(TChartWall::StaticClass());
    classes::RegisterClass(TChartTitle::StaticClass());
}

}  // namespace chart
