// The scripted capture devices.
#include "platform/FakeSoundInputs.h"

#include "platform/KeyLevelSource.h"

namespace platform {

class TFakeSoundInputs::TStream : public ISoundStream {
  public:
    TStream(TFakeSoundInputs::TDevice& device, ISoundReceiver& receiver)
        : m_device(device), m_receiver(receiver) {
        m_device.Stream = this;
    }
    ~TStream() override {
        if (m_device.Stream == this) {
            m_device.Stream = nullptr;
        }
    }
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;

    double SampleRate() const override { return m_device.SampleRate; }
    bool Running() const override { return m_device.Stream == this && m_device.Plugged; }
    void Feed(std::span<const float> samples, int64_t firstSampleNs, bool afterGap) {
        m_receiver.Receive(samples.data(), samples.size(), firstSampleNs, afterGap);
    }

  private:
    TFakeSoundInputs::TDevice& m_device;
    ISoundReceiver& m_receiver;
};

void TFakeSoundInputs::AddDevice(const std::string& name, double sampleRate) {
    m_order.push_back(name);
    m_devices[name].SampleRate = sampleRate;
}

void TFakeSoundInputs::SetOpenFails(const std::string& name, bool fails) {
    m_devices[name].OpenFails = fails;
}

void TFakeSoundInputs::Unplug(const std::string& name) {
    m_devices[name].Plugged = false;
}

void TFakeSoundInputs::Plug(const std::string& name) {
    m_devices[name].Plugged = true;
}

bool TFakeSoundInputs::Feed(const std::string& name, std::span<const float> samples,
                            int64_t firstSampleNs, bool afterGap) {
    TDevice* device = Find(name);
    if (device == nullptr || device->Stream == nullptr || !device->Plugged) {
        return false;
    }
    device->Stream->Feed(samples, firstSampleNs, afterGap);
    return true;
}

bool TFakeSoundInputs::IsOpen(const std::string& name) const {
    const auto found = m_devices.find(name);
    return found != m_devices.end() && found->second.Stream != nullptr;
}

std::vector<std::string> TFakeSoundInputs::Devices() {
    std::vector<std::string> names;
    for (const std::string& name : m_order) {
        if (m_devices[name].Plugged) {
            names.push_back(name);
        }
    }
    return names;
}

std::unique_ptr<ISoundStream> TFakeSoundInputs::Open(const std::string& name, double,
                                                     ISoundReceiver& receiver) {
    ++m_openCalls;
    const std::string chosen = name.empty() && !m_order.empty() ? m_order.front() : name;
    TDevice* device = Find(chosen);
    if (device == nullptr || !device->Plugged) {
        throw EKeyInputError("The sound capture device " + chosen + " is not present.");
    }
    if (device->OpenFails) {
        throw EKeyInputError("The capture of the sound card " + chosen + " cannot be opened.");
    }
    return std::make_unique<TStream>(*device, receiver);
}

TFakeSoundInputs::TDevice* TFakeSoundInputs::Find(const std::string& name) {
    const auto found = m_devices.find(name);
    return found != m_devices.end() ? &found->second : nullptr;
}

}  // namespace platform
