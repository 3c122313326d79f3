// Scriptable capture devices for tests of the sound key: named devices at a rate of their own;
// a device can refuse to open, and a test feeds an open stream's blocks by hand (playing the
// sound system's thread) and can stop it as if the device had gone.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/SoundInput.h"

namespace platform {

class TFakeSoundInputs : public ISoundInputs {
  public:
    // The first device added is the default one.
    void AddDevice(const std::string& name, double sampleRate);
    // Every later Open of the device fails (false: opens again).
    void SetOpenFails(const std::string& name, bool fails);
    // The device has gone: its open stream stops and it no longer opens, until plugged again.
    void Unplug(const std::string& name);
    void Plug(const std::string& name);

    // Feeds the device's open stream a block whose first sample was taken at firstSampleNs (after
    // lost samples, where the device says so); false when no stream of it is open.
    bool Feed(const std::string& name, std::span<const float> samples, int64_t firstSampleNs,
              bool afterGap = false);
    int OpenCalls() const { return m_openCalls; }
    bool IsOpen(const std::string& name) const;

    std::vector<std::string> Devices() override;
    std::unique_ptr<ISoundStream> Open(const std::string& device, double sampleRate,
                                       ISoundReceiver& receiver) override;

  private:
    class TStream;
    struct TDevice {
        double SampleRate = 8000;
        bool OpenFails = false;
        bool Plugged = true;
        TStream* Stream = nullptr;  // the open one
    };
    TDevice* Find(const std::string& name);

    std::vector<std::string> m_order;
    std::map<std::string, TDevice> m_devices;
    int m_openCalls = 0;
};

}  // namespace platform
