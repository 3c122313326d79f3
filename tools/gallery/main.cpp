// keyvet-gallery: draws a sheet of every chart canvas primitive, pen style, hatch, gradient,
// text alignment, rotated text and 3D shape into a PNG, for people to look at; with --charts a
// sheet of whole charts instead.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/ProgramInfo.h"
#include "base/FalseWarnings.h"
#include "base/PrintableText.h"
#include "chart/canvas/ChartCanvas3D.h"
#include "chart/canvas/ChartPen.h"
#include "chart/canvas/View3DOptions.h"
#include "chart/panel/ChartPanelExtended.h"
#include "gallery/ChartSheet.h"
#include "gallery/SeriesSheet.h"
#include "gfx/Bitmap.h"

namespace {

using chart::TChartCanvas3D;
using gfx::TRect;

constexpr int32_t kSheetWidth = 1000;
constexpr int32_t kSheetHeight = 820;
constexpr int32_t kCell = 110;  // width of one sample cell, pixels

// A panel that shows only its frame (background, back image, bevels) and a label.
class TFramePanel : public chart::TCustomChartPanelExtended {
  public:
    TFramePanel() : chart::TCustomChartPanelExtended(nullptr) {}
    void DrawChartContent(const TRect& rect) override {
        PaintPanelFrame(rect);
        Canvas().Pen().SetColor(gfx::clNavy);
        Canvas().Brush().SetStyle(gfx::TBrushStyle::bsClear);
        Canvas().RectFromBounds(PlotRect());
    }
};

class TGallery {
  public:
    TGallery() : m_sheet(kSheetWidth, kSheetHeight), m_canvas(m_sheet.Canvas()) {
        m_canvas.WriteBuffered(false);
        Flat();
        m_canvas.Font().SetName("Arial");
        m_canvas.Font().SetSize(8);
        m_canvas.Font().SetColor(gfx::clBlack);
        m_canvas.WriteBackMode(gfx::TBackMode::bmTransparent);
    }

    void Draw() {
        Primitives(10);
        PenStyles(130);
        Hatches(250);
        Gradients(345);
        Text(455);
        Solids(600);
        Panels(600);
    }

    void Save(const std::string& path) const { m_sheet.SaveToFile(path); }

  private:
    void Flat() {
        m_canvas.PrepareDrawing(&m_sheet.Canvas(), nullptr, gfx::clWhite, false,
                                TRect(0, 0, kSheetWidth, kSheetHeight));
    }
    void Projected(chart::TView3DOptions& options, const TRect& cell, int32_t depth) {
        m_canvas.PrepareDrawing(&m_sheet.Canvas(), &options, gfx::clWhite, true,
                                TRect(0, 0, kSheetWidth, kSheetHeight));
        m_canvas.SetupProjection(depth, TRect(0, 0, kSheetWidth, kSheetHeight), cell);
    }
    void Heading(int32_t y, const std::string& text) {
        m_canvas.Font().SetStyle({gfx::TFontStyle::fsBold});
        m_canvas.WriteTextAlign(gfx::kTaLeft | gfx::kTaTop);
        m_canvas.PutText(10, y, text);
        m_canvas.Font().SetStyle({});
    }
    void Label(int32_t x, int32_t y, const std::string& text) {
        m_canvas.WriteTextAlign(gfx::kTaLeft | gfx::kTaTop);
        m_canvas.PutText(x, y, text);
    }
    void ResetPen() {
        m_canvas.Pen().SetColor(gfx::clBlack);
        m_canvas.Pen().SetWidth(1);
        m_canvas.Pen().SetStyle(gfx::TPenStyle::psSolid);
        m_canvas.Pen().SetMode(gfx::TPenMode::pmCopy);
        m_canvas.Brush().SetStyle(gfx::TBrushStyle::bsSolid);
    }

    void Primitives(int32_t y) {
        Heading(y, "Primitives");
        const int32_t top = y + 18;
        ResetPen();
        m_canvas.Brush().SetColor(gfx::RGB(255, 220, 120));
        int32_t x = 10;
        auto next = [&](const char* name) {
            Label(x, top + 82, name);
            x += kCell;
        };
        m_canvas.Segment(x, top + 70, x + 90, top);
        m_canvas.HorzSegment(x, x + 90, top + 35);
        m_canvas.VertSegment(x + 45, top, top + 75);
        next("segments");
        m_canvas.RectShape(x, top, x + 90, top + 75);
        next("rectangle");
        m_canvas.RoundRectShape(x, top, x + 90, top + 75, 30, 30);
        next("rounded");
        m_canvas.EllipseShape(x, top, x + 90, top + 75);
        next("ellipse");
        m_canvas.ArcOutline(x, top, x + 90, top + 75, x + 90, top + 10, x, top + 70);
        next("arc");
        m_canvas.PieShape(x, top, x + 90, top + 75, x + 90, top + 37, x + 45, top);
        next("pie");
        const gfx::TPoint star[] = {{x + 45, top},      {x + 57, top + 28}, {x + 90, top + 28},
                                    {x + 63, top + 47}, {x + 75, top + 75}, {x + 45, top + 57},
                                    {x + 15, top + 75}, {x + 27, top + 47}, {x, top + 28},
                                    {x + 33, top + 28}};
        m_canvas.PolygonShape(star, 9);
        next("polygon");
        for (int32_t i = 0; i < 30; ++i) {
            m_canvas.PutPixel(x + 3 * i, top + 37 + (i % 5) * 6, gfx::clRed);
        }
        next("pixels");
        m_canvas.Brush().SetColor(gfx::clSilver);
        m_canvas.FillArea(TRect(x, top, x + 90, top + 75));
        m_canvas.BevelFrame(TRect(x, top, x + 90, top + 75), gfx::clWhite, 3, gfx::clGray);
        m_canvas.BevelFrame(TRect(x + 20, top + 20, x + 70, top + 55), gfx::clGray, 2,
                            gfx::clWhite);
        next("bevel frame");
    }

    // GCC 12 at -O3 raises its false -Wrestrict on "w" + std::to_string(...) here.
    KEYVET_FALSE_RESTRICT_BEGIN
    void PenStyles(int32_t y) {
        Heading(y, "Pen styles and widths");
        const int32_t top = y + 20;
        const std::vector<std::pair<gfx::TPenStyle, const char*>> styles = {
            {gfx::TPenStyle::psSolid, "solid"},
            {gfx::TPenStyle::psDash, "dash"},
            {gfx::TPenStyle::psDot, "dot"},
            {gfx::TPenStyle::psDashDot, "dash dot"},
            {gfx::TPenStyle::psDashDotDot, "dash dot dot"}};
        int32_t x = 10;
        for (const auto& [style, name] : styles) {
            ResetPen();
            m_canvas.Pen().SetStyle(style);
            for (int32_t i = 0; i < 4; ++i) {
                m_canvas.HorzSegment(x, x + 95, top + 8 + i * 8);
            }
            m_canvas.Pen().SetColor(gfx::clBlue);
            m_canvas.Segment(x, top + 70, x + 95, top + 40);
            Label(x, top + 78, name);
            x += kCell;
        }
        chart::TChartPen dots(nullptr);
        dots.SetSmallDots(true);
        dots.SetColor(gfx::clRed);
        ResetPen();
        m_canvas.ApplyChartPen(dots);
        for (int32_t i = 0; i < 4; ++i) {
            m_canvas.HorzSegment(x, x + 95, top + 8 + i * 8);
        }
        m_canvas.Segment(x, top + 70, x + 95, top + 40);
        Label(x, top + 78, "small dots");
        x += kCell;
        for (int32_t width : {2, 3, 5, 8}) {
            ResetPen();
            m_canvas.Pen().SetWidth(width);
            m_canvas.Pen().SetColor(gfx::clTeal);
            const gfx::TPoint zigzag[] = {
                {x, top + 60}, {x + 15, top + 10}, {x + 30, top + 60}, {x + 45, top + 10}};
            m_canvas.ReferenceCanvas().Polyline(zigzag);
            Label(x, top + 78, "w" + std::to_string(width));
            x += 55;
        }
        ResetPen();
    }
    KEYVET_FALSE_RESTRICT_END

    void Hatches(int32_t y) {
        Heading(y, "Brushes");
        const int32_t top = y + 18;
        const std::vector<std::pair<gfx::TBrushStyle, const char*>> brushes = {
            {gfx::TBrushStyle::bsSolid, "solid"},
            {gfx::TBrushStyle::bsHorizontal, "horizontal"},
            {gfx::TBrushStyle::bsVertical, "vertical"},
            {gfx::TBrushStyle::bsFDiagonal, "f-diagonal"},
            {gfx::TBrushStyle::bsBDiagonal, "b-diagonal"},
            {gfx::TBrushStyle::bsCross, "cross"},
            {gfx::TBrushStyle::bsDiagCross, "diag cross"},
            {gfx::TBrushStyle::bsClear, "clear"}};
        int32_t x = 10;
        for (const auto& [style, name] : brushes) {
            ResetPen();
            m_canvas.Brush().SetColor(gfx::clNavy);
            m_canvas.Brush().SetStyle(style);
            m_canvas.WriteBackColor(gfx::RGB(220, 235, 255));
            m_canvas.WriteBackMode(gfx::TBackMode::bmOpaque);
            m_canvas.RectShape(x, top, x + 95, top + 55);
            m_canvas.WriteBackMode(gfx::TBackMode::bmTransparent);
            Label(x, top + 60, name);
            x += kCell;
        }
        ResetPen();
    }

    void Gradients(int32_t y) {
        Heading(y, "Panel gradients by Direction (StartColor red, EndColor yellow)");
        const int32_t top = y + 18;
        const std::vector<std::pair<chart::TGradientDirection, const char*>> directions = {
            {chart::TGradientDirection::gdTopBottom, "top-bottom"},
            {chart::TGradientDirection::gdBottomTop, "bottom-top"},
            {chart::TGradientDirection::gdLeftRight, "left-right"},
            {chart::TGradientDirection::gdRightLeft, "right-left"},
            {chart::TGradientDirection::gdFromCenter, "from centre"},
            {chart::TGradientDirection::gdFromTopLeft, "from top-left"},
            {chart::TGradientDirection::gdFromBottomLeft, "from bottom-left"}};
        int32_t x = 10;
        for (const auto& [direction, name] : directions) {
            // The panel passes StartColor first for top-bottom and left-right only.
            const bool startFirst = direction == chart::TGradientDirection::gdTopBottom ||
                                    direction == chart::TGradientDirection::gdLeftRight;
            m_canvas.PaintGradient(TRect(x, top, x + 100, top + 70),
                                   startFirst ? gfx::clRed : gfx::clYellow,
                                   startFirst ? gfx::clYellow : gfx::clRed, direction);
            Label(x, top + 74, name);
            x += kCell + 15;
        }
    }

    void Text(int32_t y) {
        Heading(y, "Text alignment (red cross: reference point) and rotated text");
        const int32_t top = y + 20;
        const std::vector<std::pair<uint32_t, const char*>> horizontal = {
            {gfx::kTaLeft, "left"}, {gfx::kTaCenter, "centre"}, {gfx::kTaRight, "right"}};
        const std::vector<std::pair<uint32_t, const char*>> vertical = {
            {gfx::kTaTop, "top"}, {gfx::kTaBaseline, "baseline"}, {gfx::kTaBottom, "bottom"}};
        m_canvas.Font().SetSize(10);
        for (size_t row = 0; row < vertical.size(); ++row) {
            for (size_t column = 0; column < horizontal.size(); ++column) {
                const int32_t x = 70 + static_cast<int32_t>(column) * 130;
                const int32_t ty = top + 20 + static_cast<int32_t>(row) * 40;
                ResetPen();
                m_canvas.Pen().SetColor(gfx::clRed);
                m_canvas.HorzSegment(x - 5, x + 6, ty);
                m_canvas.VertSegment(x, ty - 5, ty + 6);
                m_canvas.WriteTextAlign(horizontal[column].first + vertical[row].first);
                m_canvas.PutText(
                    x, ty, std::string(horizontal[column].second) + " " + vertical[row].second);
            }
        }
        m_canvas.WriteTextAlign(gfx::kTaLeft | gfx::kTaBaseline);
        const int32_t cx = 640;
        const int32_t cy = top + 60;
        for (int32_t angle : {0, 45, 90, 135, 180, 225, 270, 315}) {
            m_canvas.Font().SetColor(angle % 90 == 0 ? gfx::clNavy : gfx::clMaroon);
            m_canvas.PutRotatedText(cx, cy, angle, "  " + std::to_string(angle) + " degrees");
        }
        m_canvas.Font().SetColor(gfx::clBlack);
        m_canvas.Font().SetSize(8);
        m_canvas.Brush().SetStyle(gfx::TBrushStyle::bsSolid);
    }

    void Solids(int32_t y) {
        Heading(y, "3D shapes: oblique (top row) and rotated with perspective (bottom row)");
        chart::TView3DOptions oblique(nullptr);
        chart::TView3DOptions rotated(nullptr);
        rotated.SetOrthogonal(false);
        rotated.SetRotation(335);
        rotated.SetElevation(340);
        rotated.SetPerspective(40);
        int32_t row = 0;
        for (chart::TView3DOptions* options : {&oblique, &rotated}) {
            const int32_t top = y + 25 + row * 95;
            int32_t x = 10;
            auto cell = [&](const char* name, auto draw) {
                const TRect box(x + 15, top + 10, x + 65, top + 75);
                Projected(*options, box, 20);
                ResetPen();
                m_canvas.Brush().SetColor(gfx::RGB(90, 160, 240));
                draw(box);
                Flat();
                Label(x, top + 78, name);
                x += 88;
            };
            cell("box", [&](const TRect& b) {
                m_canvas.BoxShape(b.Left, b.Right, b.Top, b.Bottom, 0, 20, true);
            });
            cell("cylinder", [&](const TRect& b) {
                m_canvas.CylinderShape(true, b.Left, b.Top, b.Right, b.Bottom, 0, 20, true);
            });
            cell("pyramid", [&](const TRect& b) {
                m_canvas.PyramidShape(true, b.Left, b.Top, b.Right, b.Bottom, 0, 20, true);
            });
            cell("cone", [&](const TRect& b) {
                m_canvas.ConeShape(false, b.Left, b.Top, b.Right, b.Bottom, 0, 20, false);
            });
            cell("3D pie", [&](const TRect& b) {
                m_canvas.DepthPieShape({(b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2}, 28, 28,
                                       0.3, 4.5, 0, 12, true);
            });
            cell("sphere", [&](const TRect& b) {
                m_canvas.SphereShape((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2, 28, 10);
            });
            cell("arrows", [&](const TRect& b) {
                m_canvas.ArrowShape(true, {b.Left, b.Bottom}, {b.Right, b.Top}, 14, 14, 0);
                m_canvas.ArrowShape(false, {b.Left, b.Top}, {b.Right, b.Top + 20}, 12, 10, 10);
            });
            ++row;
        }
    }

    void Panels(int32_t y) {
        // Chart panels painted whole: gradient background, bevels, the plot rectangle.
        TFramePanel panel;
        panel.SetBounds(0, 0, 150, 80);
        panel.Gradient().SetVisible(true);
        panel.Gradient().SetStartColor(gfx::RGB(40, 80, 160));
        panel.Gradient().SetEndColor(gfx::clWhite);
        panel.SetBevelInner(forms::TPanelBevel::bvLowered);
        panel.SetBevelWidth(2);
        panel.SetBorderWidth(3);
        panel.PaintToCanvas(&m_sheet.Canvas(), TRect::FromSize(640, y + 30, 150, 80));
        TFramePanel plain;
        plain.SetBounds(0, 0, 150, 80);
        plain.SetColor(16777088);
        plain.PaintToCanvas(&m_sheet.Canvas(), TRect::FromSize(800, y + 30, 150, 80));
        Label(640, y + 113, "chart panels: gradient and bevels; Chart1 colour");
    }

    gfx::TBitmap m_sheet;
    TChartCanvas3D m_canvas;
};

}  // namespace

int main(int argc, char** argv) {
    constexpr const char* kUsage =
        "usage: keyvet-gallery [--charts | --series] OUTPUT.png\n"
        "Draws a sheet of every chart canvas primitive, pen style, hatch, gradient, text\n"
        "alignment, rotated text and 3D shape into a PNG.\n"
        "\n"
        "  --charts       draw whole charts instead (line series with marks and legend, flat\n"
        "                 and in 3D)\n"
        "  --series       draw every series kind and calculated-series function instead,\n"
        "                 flat and in 3D\n"
        "  -h, --help     show this text and exit\n"
        "  --version      show the program's version and exit\n";
    for (int i = 1; i < argc; ++i) {
        switch (app::StandardOption(argv[i])) {
            case app::TStandardOption::soHelp:
                std::fputs(kUsage, stdout);
                return std::fflush(stdout) == 0 ? 0 : 1;
            case app::TStandardOption::soVersion:
                std::printf("%s\n", app::VersionLine("keyvet-gallery").c_str());
                return std::fflush(stdout) == 0 ? 0 : 1;
            case app::TStandardOption::soNone:
                break;
        }
    }
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        const bool sheetOption = word == "--charts" || word == "--series";
        if (word.size() > 1 && word[0] == '-' && !sheetOption) {
            std::fprintf(stderr, "keyvet-gallery: unknown option '%s'\n%s",
                         base::PrintableText(word).c_str(), kUsage);
            return 2;
        }
    }
    const std::string sheet = argc == 3 ? argv[1] : "";
    const bool charts = sheet == "--charts";
    const bool series = sheet == "--series";
    const char* output = argv[argc - 1];
    if ((argc != 2 && !charts && !series) || output[0] == '-') {
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        if (charts) {
            gallery::SaveChartSheet(output);
            return 0;
        }
        if (series) {
            gallery::WriteSeriesSheet(output);
            return 0;
        }
        TGallery gallery;
        gallery.Draw();
        gallery.Save(output);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "keyvet-gallery: %s\n", e.what());
        return 1;
    }
    return 0;
}
