// The added cost per poll of each key input against the right button's: the byte through the
// chosen input with its device calls, real where a device is present (KEYVET_BENCH_SERIAL,
// KEYVET_BENCH_INPUT, else /dev/ttyS0 and the first /dev/input/event*), and one bare ioctl on a
// pipe as the floor any device read pays. The capture polls once per 6.25 us slice, so an added
// cost under 0.6 us keeps its polling rate within 10 %.
#include <benchmark/benchmark.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/InputDeviceKey.h"
#include "platform/KeyByte.h"
#include "platform/KeyInput.h"
#include "platform/SerialLineKey.h"

namespace {

// The right button's byte as the front end tracks it.
class TTrackedButton : public platform::IKeyState {
  public:
    uint8_t RightButtonState() override { return m_byte.Byte(); }
    platform::TKeyByte m_byte;
};

void PollLoop(benchmark::State& state, platform::TKeyInput& input) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(input.RightButtonState());
    }
    if (input.Lost()) {
        state.SkipWithError("the input was lost during the benchmark");
    }
}

void Run(benchmark::State& state, const platform::TKeyInputSettings& settings) {
    TTrackedButton button;
    platform::TKeyboardKey keyboard;
    platform::TKeyInput input(button, keyboard);
    try {
        input.Apply(settings);
    } catch (const platform::EKeyInputError& error) {
        state.SkipWithError(error.what());
        return;
    }
    PollLoop(state, input);
}

std::string DeviceFromEnvironment(const char* variable, const std::string& fallback) {
    const char* chosen = std::getenv(variable);
    return chosen != nullptr && *chosen != '\0' ? chosen : fallback;
}

void BM_RightButton(benchmark::State& state) {
    Run(state, platform::TKeyInputSettings());
}
BENCHMARK(BM_RightButton);

void BM_RightButtonInvertedDebounced(benchmark::State& state) {
    platform::TKeyInputSettings settings;
    settings.Inverted = true;
    settings.DebounceMs = 5;
    Run(state, settings);
}
BENCHMARK(BM_RightButtonInvertedDebounced);

void BM_KeyboardKey(benchmark::State& state) {
    platform::TKeyInputSettings settings;
    settings.Kind = platform::TKeyInputKind::kiKeyboardKey;
    Run(state, settings);
}
BENCHMARK(BM_KeyboardKey);

void BM_SerialLine(benchmark::State& state) {
    platform::TKeyInputSettings settings;
    settings.Kind = platform::TKeyInputKind::kiSerialLine;
    const auto ports = platform::TSerialLineKey::Ports();
    settings.SerialPort =
        DeviceFromEnvironment("KEYVET_BENCH_SERIAL", ports.empty() ? "/dev/ttyS0" : ports.front());
    Run(state, settings);
}
BENCHMARK(BM_SerialLine);

void BM_InputDevice(benchmark::State& state) {
    platform::TKeyInputSettings settings;
    settings.Kind = platform::TKeyInputKind::kiInputDevice;
    const auto devices = platform::TInputDeviceKey::Devices();
    settings.InputDevice = DeviceFromEnvironment(
        "KEYVET_BENCH_INPUT", devices.empty() ? "/dev/input/event0" : devices.front());
    Run(state, settings);
}
BENCHMARK(BM_InputDevice);

// One ioctl system call (the bytes waiting in a pipe): what a device read costs at the least.
void BM_IoctlFloor(benchmark::State& state) {
    int fds[2];
    if (pipe(fds) != 0) {
        state.SkipWithError("no pipe");
        return;
    }
    for (auto _ : state) {
        int waiting = 0;
        benchmark::DoNotOptimize(ioctl(fds[0], FIONREAD, &waiting));
    }
    close(fds[0]);
    close(fds[1]);
}
BENCHMARK(BM_IoctlFloor);

}  // namespace
