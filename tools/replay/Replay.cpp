// The replay tool's output helpers: the coach's details of the run and the report of whatever
// escapes the tool's body.
#include "replay/Replay.h"

#include <new>
#include <ostream>

#include "app/MainForm.h"
#include "coach/Details.h"

namespace replay {

std::vector<std::string> DetailsLines(const app::TForm1& form) {
    const coach::TKeyedRun* run = form.LastAnalysedRun();
    if (run == nullptr) {
        return {"Details\tno analysed run"};
    }
    return coach::DetailsLines(coach::ComputeDetails(*run));
}

int RunReportingEscapes(const std::function<int()>& body, std::ostream& err) {
    constexpr int kExitFailed = 1;
    try {
        return body();
    } catch (const std::bad_alloc&) {
        err << "keyvet-replay: out of memory\n";
    } catch (const std::exception& e) {
        err << "keyvet-replay: " << e.what() << "\n";
    } catch (...) {
        err << "keyvet-replay: an unexpected error ended the run\n";
    }
    err.flush();
    return kExitFailed;
}

}  // namespace replay
