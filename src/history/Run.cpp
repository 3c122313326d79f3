// The result names, the integer figures of a summary and the packed transition record.
#include "history/Run.h"

#include "base/Conversions.h"
#include "history/Sqlite.h"

namespace history {

const std::array<const char*, kResultCount> kResultNames = {
    "Average dit length (ms)",
    "Average dah length (ms)",
    "Average dit-space (ms)",
    "Average dah-space (ms)",
    "(Dah+Space)/(Dit+Space) ratio",
    "Weight ratio",
    "Character merit",
    "Weighting advice",
    "Dash advice",
    "Estimated speed (wpm)",
    "Word merit",
    "Dash/Dashspace ratio",
    "Charspace advice",
};

namespace {
constexpr size_t kPackedSize = 5;  // bytes per transition
constexpr int kByteBits = 8;
}  // namespace

std::optional<int32_t> FigureOf(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;  // a box the analysis left empty, without an exception's cost
    }
    try {
        return base::StrToInt(text);
    } catch (const base::EConvertError&) {
        return std::nullopt;
    }
}

std::optional<int32_t> TRunSummary::Figure(size_t result) const {
    return FigureOf(Results.at(result));
}

bool InProgress(std::optional<bool> usable, std::optional<bool> leftOut) {
    return !leftOut.value_or(usable.has_value() && !*usable);
}

bool TRunSummary::InProgress() const {
    return history::InProgress(Usable, LeftOut);
}

TProgressRun ProgressRun(const TRunSummary& run) {
    TProgressRun shown;
    shown.Id = run.Id;
    shown.Time = run.Time;
    shown.Speed = run.Speed();
    shown.CharacterMerit = run.CharacterMerit();
    shown.WordMerit = run.WordMerit();
    shown.PracticeText = run.PracticeText;
    shown.Usable = run.Usable;
    shown.AccuracyPercent = run.AccuracyPercent;
    shown.LeftOut = run.LeftOut;
    return shown;
}

std::string PackTransitions(const std::vector<TTransition>& transitions) {
    std::string bytes;
    bytes.reserve(transitions.size() * kPackedSize);
    for (const TTransition& transition : transitions) {
        for (int shift = 0; shift < 4 * kByteBits; shift += kByteBits) {
            bytes.push_back(static_cast<char>((transition.TimeMs >> shift) & 0xFFu));
        }
        bytes.push_back(static_cast<char>(transition.Level));
    }
    return bytes;
}

std::vector<TTransition> UnpackTransitions(const std::string& bytes) {
    if (bytes.size() % kPackedSize != 0) {
        throw EHistoryError("a run's transitions are cut short");
    }
    std::vector<TTransition> transitions;
    transitions.reserve(bytes.size() / kPackedSize);
    for (size_t at = 0; at < bytes.size(); at += kPackedSize) {
        TTransition transition;
        for (int i = 0; i < 4; ++i) {
            transition.TimeMs |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + i]))
                                 << (i * kByteBits);
        }
        transition.Level = static_cast<uint8_t>(bytes[at + 4]);
        if (transition.Level > 1) {
            throw EHistoryError("a run's key level is neither 0 nor 1");
        }
        transitions.push_back(transition);
    }
    return transitions;
}

}  // namespace history
