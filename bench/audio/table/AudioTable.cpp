// audio_table [--no-peer]: the tone detector on the tests' synthesised recordings, one row per
// sound condition: how far each key change is placed from where it was keyed (median, 95th
// percentile, largest, share within 1 ms), changes missed and made up, the character error rate of
// the read-back, the largest difference of the four averages and the two merits from the exact
// analysis of the keyed timing, and the character error rate of multimon-ng's MORSE_CW decoder on
// the same keying rendered at its 22,050 Hz (when it is installed). Prints a Markdown table.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "audio/ToneDetector.h"
#include "coach/Alignment.h"
#include "replay/Replay.h"
#include "support/MorseKeying.h"
#include "support/ToneScoring.h"
#include "support/ToneSynth.h"

namespace {

constexpr double kPeerRate = 22050;  // multimon-ng's rate for raw input
constexpr double kInf = std::numeric_limits<double>::infinity();

const char* const kTexts[] = {
    "CQ CQ CQ DE KEYVET KEYVET K THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG 1234567890",
    "NOW IS THE TIME FOR ALL GOOD MEN TO COME TO THE AID OF THE PARTY 599 73 TU SK",
    "PACK MY BOX WITH FIVE DOZEN LIQUOR JUGS RST 579 NAME JOHN QTH LONDON HW CPY",
    "SPHINX OF BLACK QUARTZ JUDGE MY VOW WX HR SUNNY TEMP 21C ANT DIPOLE PWR 100W",
};

struct TCondition {
    std::string Name;
    testsupport::TSoundConditions Sound;
    double Wpm = 20;
    bool SecondSignal = false;
};

struct TRow {
    testsupport::TPlacementScore Placement;  // of every text together
    size_t Sent = 0, Wrong = 0, PeerSent = 0, PeerWrong = 0;
    bool PeerRan = false;
    double AverageDiff = 0, MeritDiff = 0;
    bool BoxesMissing = false;
};

// The result boxes a replay of these changes shows (Edit1 to Edit13), empty ones as NaN.
std::vector<double> Boxes(const std::vector<coach::TTransition>& changes, bool fractional,
                          const std::vector<double>& fractionalMs) {
    replay::TReplayScript script;
    for (size_t i = 0; i < changes.size(); ++i) {
        script.Events.push_back(
            {fractional ? fractionalMs[i] : static_cast<double>(changes[i].TimeMs), changes[i].Down,
             0});
    }
    replay::TReplay run(script);
    std::vector<double> boxes;
    for (const std::string& line : run.Run()) {
        if (line.rfind("Edit", 0) == 0) {
            const std::string value = line.substr(line.find('\t') + 1);
            char* end = nullptr;
            const double number = std::strtod(value.c_str(), &end);
            boxes.push_back(end != value.c_str() ? number : std::nan(""));
        }
    }
    return boxes;
}

// multimon-ng's read-back of the sound, or nullptr-like empty with ran = false.
std::string PeerReadBack(const std::vector<float>& sound, bool& ran) {
    char path[] = "/tmp/keyvet-audio-table-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) {
        ran = false;
        return "";
    }
    std::vector<int16_t> raw(sound.size());
    for (size_t i = 0; i < sound.size(); ++i) {
        raw[i] = static_cast<int16_t>(std::lround(std::clamp(sound[i], -1.0f, 1.0f) * 32767));
    }
    const bool written =
        write(fd, raw.data(), raw.size() * 2) == static_cast<ssize_t>(raw.size() * 2);
    close(fd);
    std::string text;
    if (written) {
        const std::string command =
            std::string("multimon-ng -q -t raw -c -a MORSE_CW ") + path + " 2>/dev/null";
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe != nullptr) {
            char buffer[4096];
            size_t n = 0;
            while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
                text.append(buffer, n);
            }
            ran = pclose(pipe) == 0;
        }
    }
    std::remove(path);
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

TRow Measure(const TCondition& condition, bool peer) {
    TRow row;
    uint32_t seed = 1;
    for (const char* text : kTexts) {
        testsupport::TKeyingStyle style;
        style.UnitMs = 1200 / condition.Wpm;
        style.Jitter = 0.1;
        style.WeightMs = 0.05 * style.UnitMs;
        style.Seed = seed;
        std::vector<coach::TTransition> keyed = testsupport::KeyText(text, style);
        for (coach::TTransition& change : keyed) {
            change.TimeMs += 900;
        }
        testsupport::TSoundConditions sound = condition.Sound;
        sound.Seed = seed;
        if (condition.SecondSignal) {
            sound.SecondKeying = testsupport::KeyText(
                "VVV DE TEST TEST VVV DE TEST TEST VVV DE TEST TEST VVV DE TEST TEST VVV",
                {45, 0.1, 0, 1, seed + 100});
        }
        const double length = keyed.back().TimeMs + 1000;
        const std::vector<float> samples = testsupport::SynthesiseKeying(keyed, length, sound);
        audio::TToneDetector detector({sound.SampleRate, 0});
        detector.Feed(samples);
        detector.Finish();
        const std::vector<audio::TKeyChange> detected = detector.TakeChanges();

        const testsupport::TPlacementScore score =
            testsupport::ScorePlacement(keyed, detected, sound.SampleRate);
        testsupport::TPlacementScore& all = row.Placement;
        all.ErrorsMs.insert(all.ErrorsMs.end(), score.ErrorsMs.begin(), score.ErrorsMs.end());
        all.Keyed += score.Keyed;
        all.Missed += score.Missed;
        all.Extra += score.Extra;

        const coach::TAlignment read = coach::Align(
            text, testsupport::ReadBackText(testsupport::DetectedRun(detected, sound.SampleRate)));
        row.Sent += read.SentCount;
        row.Wrong += read.Distance;

        std::vector<double> detectedMs;
        for (const audio::TKeyChange& change : detected) {
            detectedMs.push_back(change.Sample * 1000 / sound.SampleRate);
        }
        const std::vector<double> exact = Boxes(keyed, false, {});
        const std::vector<double> heard =
            Boxes(testsupport::DetectedRun(detected, sound.SampleRate), true, detectedMs);
        for (const int box : {1, 2, 3, 4, 7, 11}) {
            const double a = exact[static_cast<size_t>(box - 1)];
            const double b = heard[static_cast<size_t>(box - 1)];
            if (std::isnan(a) || std::isnan(b)) {
                row.BoxesMissing = true;
                continue;
            }
            double& worst = box <= 4 ? row.AverageDiff : row.MeritDiff;
            worst = std::max(worst, std::abs(a - b));
        }

        if (peer) {
            testsupport::TSoundConditions atPeer = sound;
            atPeer.SampleRate = kPeerRate;
            bool ran = false;
            const std::string peerText =
                PeerReadBack(testsupport::SynthesiseKeying(keyed, length, atPeer), ran);
            row.PeerRan = row.PeerRan || ran;
            const coach::TAlignment peerRead = coach::Align(text, peerText);
            row.PeerSent += peerRead.SentCount;
            row.PeerWrong += peerRead.Distance;
        }
        ++seed;
    }
    return row;
}

std::string Percent(size_t wrong, size_t of) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %%", of == 0 ? 0.0 : 100.0 * wrong / of);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    const bool peer = !(argc > 1 && std::strcmp(argv[1], "--no-peer") == 0);
    std::vector<TCondition> conditions;
    auto add = [&](const std::string& name, auto change, double wpm = 20, bool second = false) {
        TCondition c{name, {}, wpm, second};
        change(c.Sound);
        conditions.push_back(c);
    };
    using TS = testsupport::TSoundConditions;
    add("clean, 8 kHz", [](TS&) {});
    for (const double snr : {30.0, 20.0, 10.0, 6.0, 3.0, 0.0}) {
        char name[32];
        std::snprintf(name, sizeof name, "%g dB", snr);
        add(name, [snr](TS& s) { s.SnrDb = snr; });
    }
    add("10 dB, rise 2 ms", [](TS& s) {
        s.SnrDb = 10;
        s.RiseMs = 2;
    });
    add("10 dB, rise 8 ms", [](TS& s) {
        s.SnrDb = 10;
        s.RiseMs = 8;
    });
    add(
        "10 dB, 50 wpm, rise 3 ms",
        [](TS& s) {
            s.SnrDb = 10;
            s.RiseMs = 3;
        },
        50);
    add("20 dB, fading ±10 dB", [](TS& s) {
        s.SnrDb = 20;
        s.FadeDb = 10;
    });
    add("10 dB, fading ±10 dB", [](TS& s) {
        s.SnrDb = 10;
        s.FadeDb = 10;
    });
    add("10 dB, chirp 40 Hz", [](TS& s) {
        s.SnrDb = 10;
        s.ChirpHz = 40;
    });
    add("10 dB, hard key clicks", [](TS& s) {
        s.SnrDb = 10;
        s.RiseMs = 0.1;
        s.ClickLevel = 3;
    });
    add("10 dB, mains hum", [](TS& s) {
        s.SnrDb = 10;
        s.HumLevel = 3;
    });
    add(
        "10 dB, 2nd signal +300 Hz, -6 dB",
        [](TS& s) {
            s.SnrDb = 10;
            s.SecondLevel = 0.5;
        },
        20, true);
    for (const double rate : {11025.0, 22050.0, 44100.0, 48000.0}) {
        char name[32];
        std::snprintf(name, sizeof name, "10 dB, %g Hz", rate);
        add(name, [rate](TS& s) {
            s.SnrDb = 10;
            s.SampleRate = rate;
        });
    }

    std::printf(
        "| condition | changes | missed / extra | median | 95th | largest | within 1 ms "
        "| CER | averages off by | merits off by | multimon-ng CER |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|\n");
    for (const TCondition& condition : conditions) {
        const TRow row = Measure(condition, peer);
        const testsupport::TPlacementScore& all = row.Placement;
        const size_t within = static_cast<size_t>(std::count_if(
            all.ErrorsMs.begin(), all.ErrorsMs.end(), [](double e) { return e <= 1; }));
        std::printf(
            "| %s | %zu | %zu / %zu | %.2f ms | %.2f ms | %.2f ms | %s | %s | %s | %s | %s |\n",
            condition.Name.c_str(), all.Keyed, all.Missed, all.Extra, all.MedianMs(),
            all.Percentile95Ms(), all.MaxMs(), Percent(within, all.Keyed).c_str(),
            Percent(row.Wrong, row.Sent).c_str(),
            row.BoxesMissing ? "(a box empty)"
                             : (std::to_string(static_cast<int>(row.AverageDiff)) + " ms").c_str(),
            row.BoxesMissing ? "(a box empty)"
                             : (std::to_string(static_cast<int>(row.MeritDiff)) + " pt").c_str(),
            !peer         ? "(not run)"
            : row.PeerRan ? Percent(row.PeerWrong, row.PeerSent).c_str()
                          : "(not installed)");
        std::fflush(stdout);
    }
    return 0;
}
