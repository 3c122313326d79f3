// The keying run's costs: one pass of the capture loop without its busy wait, and the whole
// Finish-plus-analysis chain on a one-hour run.
#include <benchmark/benchmark.h>

#include <memory>

#include "app/MainForm.h"
#include "app/Startup.h"
#include "base/Conversions.h"
#include "chart/engine/Series.h"
#include "platform/IsolatedSystemServices.h"
#include "platform/Services.h"

namespace {

// Key, clock, pump and dialogs for a benchmark: the pump clicks Finish after a set number of
// passes; the key toggles every `toggleEvery` polls.
class TBenchPlatform : public platform::IKeyState,
                       public platform::IClock,
                       public platform::ITimeSource,
                       public platform::IEventPump,
                       public platform::IDialogs {
  public:
    TBenchPlatform(app::TForm1& form, int64_t passes) : m_form(form), m_passes(passes) {}
    uint8_t RightButtonState() override { return m_calls % 1000 < 500 ? 0 : 129; }
    uint32_t TickCount() override { return static_cast<uint32_t>(1000 + m_calls / 100); }
    // Each pass is one slice.
    int64_t MonotonicNs() override { return m_calls * app::TForm1::kSliceNs; }
    void ProcessMessages() override {
        if (++m_calls == m_passes) {
            // As the event loop does: an error of the analysis is shown, not thrown further.
            forms::TApplication::Instance().Dispatch([this] { m_form.Button1().Click(); });
        }
    }
    void ShowMessage(const std::string&) override {}
    void Beep() override {}

  private:
    app::TForm1& m_form;
    int64_t m_passes;
    int64_t m_calls = 0;
};

std::unique_ptr<app::TForm1> MakeForm() {
    app::RegisterClasses();
    auto form = std::make_unique<app::TForm1>(nullptr);
    form->SetBusyWait(false);
    return form;
}

void BM_CaptureLoopPass(benchmark::State& state) {
    platform::TIsolatedSystemServices system;  // the port bus as in a run, but silent
    auto form = MakeForm();
    const int64_t passes = state.range(0);
    for (auto _ : state) {
        TBenchPlatform platformFake(*form, passes);
        platform::TScopedServices services(
            {&platformFake, &platformFake, &platformFake, &platformFake, nullptr, &platformFake});
        form->Start().Click();
    }
    state.SetItemsProcessed(state.iterations() * passes);
}
BENCHMARK(BM_CaptureLoopPass)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Fills the capture log as a one-hour run at 100 polls per millisecond would: 30,000
// transitions, 60 ms dits and spaces, 180 ms dahs and character spaces.
void FillLog(app::TForm1& form, int transitions) {
    classes::TLineList& polls = form.Memo(2).Lines();
    classes::TLineList& ticks = form.Memo(6).Lines();
    classes::TLineList& states = form.Memo(3).Lines();
    polls.Clear();
    ticks.Clear();
    states.Clear();
    polls.Add("0");
    ticks.Add("1000");
    states.Add("0");
    uint32_t ms = 100;
    uint8_t state = 0;
    for (int i = 0; i < transitions; ++i) {
        const bool down = i % 2 == 0;
        state =
            down ? static_cast<uint8_t>((state | 0x80) ^ 1) : static_cast<uint8_t>(state & 0x7F);
        polls.Add(base::UIntToStr(ms * 100));
        ticks.Add(base::UIntToStr(1000 + ms));
        states.Add(base::IntToStr(state));
        ms += (i % 4 < 2) ? 60 : 180;
    }
}

void BM_FinishAndAnalysis(benchmark::State& state) {
    platform::TIsolatedSystemServices system;
    auto form = MakeForm();
    TBenchPlatform platformFake(*form, -1);
    platform::TScopedServices services(
        {&platformFake, &platformFake, &platformFake, &platformFake, nullptr, &platformFake});
    const int transitions = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        FillLog(*form, transitions);
        state.ResumeTiming();
        form->Button1().Click();
        benchmark::DoNotOptimize(form->Series1().PointCount());
    }
    if (form->Edit(7).Text().empty()) {
        state.SkipWithError("the analysis did not complete");
    }
}
BENCHMARK(BM_FinishAndAnalysis)->Arg(30000)->Unit(benchmark::kMillisecond);

}  // namespace
