// Fuzz target: arbitrary bytes as a sound file must either be refused with one audio error or be
// read to its end and run through the tone detector, without crashing, leaking or reading out of
// bounds. With KEYVET_FUZZ_SEED set to a folder it writes a short keyed recording there as a seed.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "audio/AudioError.h"
#include "audio/SoundFile.h"
#include "audio/ToneDetector.h"
#include "support/MorseKeying.h"
#include "support/ToneSynth.h"

namespace {
// Frames read from one input at most, so that a header claiming hours cannot hold the fuzzer.
constexpr int64_t kMaxFrames = 1 << 20;

void WriteSeed(const char* folder) {
    testsupport::TSoundConditions c;
    c.SnrDb = 20;
    const std::vector<coach::TTransition> keyed = testsupport::KeyText("PARIS", {});
    testsupport::WritePcmWav(std::string(folder) + "/paris.wav",
                             testsupport::SynthesiseKeying(keyed, 1500, c), 8000);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool seeded = [] {
        if (const char* folder = std::getenv("KEYVET_FUZZ_SEED")) {
            WriteSeed(folder);
        }
        return true;
    }();
    (void)seeded;
    char path[] = "/tmp/keyvet-fuzz-sound-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) {
        return 0;
    }
    const bool written = write(fd, data, size) == static_cast<ssize_t>(size);
    close(fd);
    if (written) {
        try {
            audio::TSoundFile file(path);
            audio::TToneDetector detector({file.SampleRate(), 0});
            while (file.FramesRead() < kMaxFrames) {
                const std::vector<float> block = file.Read(4096);
                if (block.empty()) {
                    break;
                }
                detector.Feed(block);
            }
            detector.Finish();
            double last = -1;
            for (const audio::TKeyChange& change : detector.TakeChanges()) {
                if (!(change.Sample > last)) {
                    __builtin_trap();  // changes come in order
                }
                last = change.Sample;
            }
        } catch (const audio::EAudioError&) {
            // Refused with a message: a result, not a fault.
        }
    }
    std::remove(path);
    return 0;
}
