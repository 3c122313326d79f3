// The main window built from its design data for the chart benchmarks, its Series1 holding the
// keying chart benchmark's run (the caller keeps isolated system services alive meanwhile).
#pragma once

#include <cstdint>
#include <memory>

#include "../chart/KeyingChart.h"
#include "app/MainForm.h"
#include "app/Startup.h"

namespace bench {

// transitions: of the run, or -1 for the window as it opens, with no points at all.
inline std::unique_ptr<app::TForm1> MakeMainWindow(int64_t transitions) {
    app::RegisterClasses();
    auto form = std::make_unique<app::TForm1>(nullptr);
    if (transitions >= 0) {
        AppendKeyingRun(form->Series1(), static_cast<int32_t>(transitions));
    }
    return form;
}

}  // namespace bench
