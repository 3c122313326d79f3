// The replay tool's run of a recorded keying through the real main window (the simulation lives
// with the program, which analyses recordings through it too), and the tool's own output helpers.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "app/KeyingReplay.h"
#include "replay/ReplayScript.h"

namespace replay {

using app::EscapeDialogText;
using app::TReplay;
using app::TSimulation;

// The coach's lines for the window's last analysed run (read-back, timing, spread, worst
// characters; the alignment when it had a practice text), or one line "Details<TAB>no analysed
// run" when its analysis did not run to its end.
std::vector<std::string> DetailsLines(const app::TForm1& form);

// Runs the tool's body and returns its exit status. Whatever escapes it (memory exhausted, a
// fault of the program) is reported on `err` as "keyvet-replay: <what>" with status 1, so that
// nothing ends the tool unreported or as a crash.
int RunReportingEscapes(const std::function<int()>& body, std::ostream& err);

}  // namespace replay
