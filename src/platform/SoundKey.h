// The sound card as a key: a capture stream feeds the Morse tone detector, and each key change it
// finds is stamped with the moment of its sample on the monotonic clock. The detector decides
// about a third of a second after the sound, and the stamp waits half a second more for the
// stream's timing to settle, so every change reaches the poll late and the stamp is what places
// it: the capture logs it at the slice of its stamp. The stream's thread only
// copies samples into a ring that a worker thread drains into the detector.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/KeyLevelSource.h"
#include "platform/SoundInput.h"

namespace platform {

// What the Key input window shows of the sound: the level at the input and the tone found.
struct TSoundMeter {
    double InputDb = -200;  // the loudest sample of the last tenth of a second, dB of full scale
    bool ToneFound = false;
    double PitchHz = 0;         // 0 before the tone is found
    bool DetectedDown = false;  // the key as the detector last decided it
};

struct TSoundKeyOptions {
    // Hz; 0 to find the tone's pitch.
    double PitchHz = 0;
    // A worker thread drains the sound into the detector; without one the owner calls Work().
    bool Worker = true;
};

class TSoundKey : public IKeyLevelSource {
  public:
    // The rate asked of the device, Hz: ample for tones up to 3 kHz at a quarter of the work of
    // 48 kHz.
    static constexpr double kSampleRate = 16000;
    // A pitch the operator sets, Hz.
    static constexpr uint32_t kMinPitchHz = 100;
    static constexpr uint32_t kMaxPitchHz = 3000;
    // A poll after this long without one (no run was capturing) takes the key as it is now, not
    // the changes that went by unwatched, nanoseconds.
    static constexpr int64_t kIdleNs = 1000000000;

    // device: a capture device's name, empty for the default one.
    TSoundKey(std::string device, const TSoundKeyOptions& options,
              ISoundInputs& inputs = SoundInputs());
    ~TSoundKey() override;
    TSoundKey(const TSoundKey&) = delete;
    TSoundKey& operator=(const TSoundKey&) = delete;

    // Opens the device and starts listening; EKeyInputError saying why it cannot.
    void Open();

    // Each poll hands on at most one change, in order, so that every change gets a poll slice of
    // its own.
    TKeyLevel Level() override;
    // The moment of the sample at which the present level began.
    std::optional<TKeyStamp> LevelStamp() override { return m_stamp; }
    // Every change of the sound before this moment has been handed to a poll: the moment of the
    // oldest change still waiting, else of the sound the stamping has gone past once the tone
    // is found (before, the detector may still place changes of all the sound it searched). A
    // device that has stopped hands over nothing more.
    int64_t SettledNs() override;
    bool Reopen() override;
    std::string Description() const override;

    // Drains the sound received so far into the detector (the worker does this by itself).
    void Work();
    TSoundMeter Meter() const;
    // The changes found and not yet handed on.
    size_t Waiting() const;
    // Blocks dropped because the detector fell behind the sound by more than the ring holds.
    uint64_t Overflows() const;

  private:
    class TEngine;

    std::string m_device;
    TSoundKeyOptions m_options;
    ISoundInputs& m_inputs;
    std::unique_ptr<TEngine> m_engine;
    bool m_down = false;
    std::optional<TKeyStamp> m_stamp;
    std::optional<int64_t> m_lastPollNs;
};

}  // namespace platform
