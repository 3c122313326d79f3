// The PC-speaker input device: an EV_SND/SND_TONE event with the frequency in Hz, 0 for off.
#include "platform/PcSpeakerToneSink.h"

#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cmath>
#include <cstring>

#include "platform/ToneRenderer.h"

namespace platform {
namespace {

constexpr int kMaxEventDevices = 32;  // /dev/input/event0 .. event31

bool CanSoundTones(int fd) {
    unsigned long sounds = 0;
    if (ioctl(fd, EVIOCGBIT(EV_SND, sizeof(sounds)), &sounds) < 0) {
        return false;
    }
    return (sounds & (1UL << SND_TONE)) != 0;
}

}  // namespace

TPcSpeakerToneSink::~TPcSpeakerToneSink() {
    if (m_fd >= 0) {
        ToneChanged(0, 0);
        close(m_fd);
    }
}

bool TPcSpeakerToneSink::Open() {
    // The usual name first, then every event device.
    if (OpenDevice("/dev/input/by-path/platform-pcspkr-event-spkr")) {
        return true;
    }
    for (int i = 0; i < kMaxEventDevices; ++i) {
        if (OpenDevice("/dev/input/event" + std::to_string(i))) {
            return true;
        }
    }
    return false;
}

bool TPcSpeakerToneSink::OpenDevice(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    if (!CanSoundTones(fd)) {
        close(fd);
        return false;
    }
    if (m_fd >= 0) {
        close(m_fd);
    }
    m_fd = fd;
    return true;
}

void TPcSpeakerToneSink::ToneChanged(int64_t, double frequencyHz) {
    if (m_fd < 0) {
        return;
    }
    input_event event;
    std::memset(&event, 0, sizeof(event));
    event.type = EV_SND;
    event.code = SND_TONE;
    event.value = frequencyHz > 0 && frequencyHz <= kMaxAudibleHz
                      ? static_cast<int32_t>(std::lround(frequencyHz))
                      : 0;
    // A write the device refuses only loses the tone, never the run.
    const ssize_t written = write(m_fd, &event, sizeof(event));
    static_cast<void>(written);
}

}  // namespace platform
