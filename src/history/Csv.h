// The exports as comma-separated text: one run (its results and transitions) and the whole
// history (one line per run). Fields holding a comma, a quote or a line break are quoted, with
// quotes doubled; lines end with CR LF.
#pragma once

#include <string>
#include <vector>

#include "history/Run.h"

namespace history {

// A field as it stands in a line.
std::string CsvField(const std::string& text);

// A run's time as local date and time, "2026-12-07 13:49:21".
std::string FormatTime(int64_t unixMs);

// "Time" and "Practice text" lines, one line per result ("name,value"), an empty line, then the
// transitions: "Transition,Time (ms),Key" and one line per transition (key "down" or "up").
std::string RunCsv(const TRun& run);

// A percentage to one decimal with a point, the ".0" left off: "92.3", "100".
std::string AccuracyText(double percent);

// A heading line ("Time", the result names, "Practice text", then "Character accuracy (%)",
// "Read back" and "Left out of the progress" (yes / no)) and one line per run, oldest first
// whatever the order given.
std::string HistoryCsv(const std::vector<TRunSummary>& runs);

}  // namespace history
