// The File menu of the main window (first on its menu bar) and what it does: analyse a recording,
// export the last run as CSV, export the main chart as PNG, show the History window, export the
// history as CSV, quit.
#pragma once

#include <string>

namespace chart {
class TChart;
}

namespace app {

class TForm1;
class TRunHistory;

// Asks where to save through the file dialogs, offering `suggested`; when the file exists, asks
// before replacing it (No asks for another name). Empty when the user cancelled.
std::string AskSavePath(const std::string& title, const std::string& filter,
                        const std::string& suggested);
// Writes text as a whole file (temporary name, then renamed); raises base::Exception "Cannot
// write <what> '<path>': <reason>" on failure.
void WriteTextFile(const std::string& path, const std::string& text, const std::string& what);
// Paints the chart at its size into a PNG file; raises gfx::EInvalidGraphic on failure.
void WriteChartPng(chart::TChart& chart, const std::string& path);

// Puts the File menu first on the main window's menu bar and creates the History, past-run and
// recording windows (hidden) with the application's forms. Call before the front end binds the
// forms.
void AddFileMenu(TForm1& form, TRunHistory& runHistory);

}  // namespace app
