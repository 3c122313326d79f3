// The result boxes of the analysis' worked example as a stored run holds them, for history tests
// and benchmarks.
#pragma once

#include <cstdint>
#include <string>

#include "history/Run.h"

namespace testsupport {

// A stored run at `time` whose boxes show the worked example, with the speed box set to `speed`.
inline history::TRun WorkedExampleRun(int64_t time, const std::string& speed = "20") {
    history::TRun run;
    run.Time = time;
    run.Results = {"63",
                   "181",
                   "54",
                   "177",
                   "2.00854700854701",
                   "1.16666666666667",
                   "96",
                   "weighting is heavy",
                   "dashes are too long",
                   speed,
                   "95",
                   "0.994350282485876",
                   "Charspace is long"};
    return run;
}

}  // namespace testsupport
