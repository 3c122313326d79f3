// The bodies the abstract canvas levels give: device attachment, text measuring and copying
// the canvas settings.
#include "chart/canvas/ChartCanvas.h"

namespace chart {

TChartCanvas::TChartCanvas(gfx::TCanvas& device)
    : m_device(&device), m_font(&device.Font()), m_pen(&device.Pen()), m_brush(&device.Brush()) {}

void TChartCanvas::AttachCanvas(gfx::TCanvas& device) {
    m_device = &device;
    m_font = &device.Font();
    m_pen = &device.Pen();
    m_brush = &device.Brush();
}

int32_t TChartCanvas::TextWidthOf(const std::string& text) {
    return m_device->TextExtent(text).Width;
}

int32_t TChartCanvas::TextHeightOf(const std::string& text) {
    return m_device->TextExtent(text).Height;
}

void TCanvas3D::CopyCanvasSettings(const TCanvas3D& other) {
    WriteMonochrome(other.ReadMonochrome());
}

}  // namespace chart
