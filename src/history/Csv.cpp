// Comma-separated exports of a run and of the history.
#include "history/Csv.h"

#include <time.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace history {

namespace {
constexpr const char* kLineEnd = "\r\n";
constexpr int64_t kMsPerSecond = 1000;
constexpr double kTenths = 10;
constexpr int kTmYearBase = 1900;         // struct tm counts years from it
constexpr int kLastFourDigitYear = 9999;  // later years would not fit the pattern

void AddLine(std::string& text, const std::vector<std::string>& fields) {
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            text += ',';
        }
        text += CsvField(fields[i]);
    }
    text += kLineEnd;
}
}  // namespace

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') {
            quoted += '"';
        }
        quoted += c;
    }
    return quoted + '"';
}

std::string FormatTime(int64_t unixMs) {
    // Floor division, so a time before 1970 still names the second it falls in.
    int64_t seconds = unixMs / kMsPerSecond;
    if (unixMs % kMsPerSecond < 0) {
        --seconds;
    }
    const auto clock = static_cast<time_t>(seconds);
    struct tm local {};
    if (localtime_r(&clock, &local) == nullptr || local.tm_year + kTmYearBase < 0 ||
        local.tm_year + kTmYearBase > kLastFourDigitYear) {
        return std::to_string(unixMs);
    }
    // Written digit by digit: the History window formats one per run, and a history may hold
    // a hundred thousand.
    std::string text = "0000-00-00 00:00:00";
    const auto put = [&text](size_t end, int value, int digits) {
        for (int i = 0; i < digits; ++i) {
            text[end - static_cast<size_t>(i)] = static_cast<char>('0' + value % 10);
            value /= 10;
        }
    };
    put(3, local.tm_year + kTmYearBase, 4);
    put(6, local.tm_mon + 1, 2);
    put(9, local.tm_mday, 2);
    put(12, local.tm_hour, 2);
    put(15, local.tm_min, 2);
    put(18, local.tm_sec, 2);
    return text;
}

std::string RunCsv(const TRun& run) {
    std::string text;
    AddLine(text, {"Time", FormatTime(run.Time)});
    AddLine(text, {"Practice text", run.PracticeText});
    for (size_t i = 0; i < kResultCount; ++i) {
        AddLine(text, {kResultNames[i], run.Results[i]});
    }
    text += kLineEnd;
    AddLine(text, {"Transition", "Time (ms)", "Key"});
    for (size_t i = 0; i < run.Transitions.size(); ++i) {
        const TTransition& transition = run.Transitions[i];
        AddLine(text, {std::to_string(i + 1), std::to_string(transition.TimeMs),
                       transition.Level != 0 ? "down" : "up"});
    }
    return text;
}

std::string AccuracyText(double percent) {
    // Tenths, rounded half away from zero; the point whatever the locale, as a file wants.
    const auto tenths = static_cast<int64_t>(std::llround(percent * kTenths));
    const int64_t magnitude = tenths < 0 ? -tenths : tenths;
    // Built in place: prepending to a temporary draws GCC 12's false -Wrestrict at -O3.
    std::string text = tenths < 0 ? "-" : "";
    text += std::to_string(magnitude / 10);
    if (magnitude % 10 != 0) {
        text += '.';
        text += static_cast<char>('0' + magnitude % 10);
    }
    return text;
}

std::string HistoryCsv(const std::vector<TRunSummary>& runs) {
    std::vector<std::string> heading = {"Time"};
    heading.insert(heading.end(), kResultNames.begin(), kResultNames.end());
    heading.push_back("Practice text");
    // Added later, so they come after the first columns and readers of those keep working.
    heading.push_back("Character accuracy (%)");
    heading.push_back("Read back");
    heading.push_back("Left out of the progress");
    std::string text;
    AddLine(text, heading);

    std::vector<const TRunSummary*> ordered;
    for (const TRunSummary& run : runs) {
        ordered.push_back(&run);
    }
    std::stable_sort(ordered.begin(), ordered.end(), [](const auto* a, const auto* b) {
        return a->Time != b->Time ? a->Time < b->Time : a->Id < b->Id;
    });
    for (const TRunSummary* run : ordered) {
        std::vector<std::string> fields = {FormatTime(run->Time)};
        fields.insert(fields.end(), run->Results.begin(), run->Results.end());
        fields.push_back(run->PracticeText);
        // A run not judged yet (stored by an older version) has no accuracy nor read-back.
        const bool judged = run->Usable.has_value();
        fields.push_back(judged && run->AccuracyPercent.has_value()
                             ? AccuracyText(*run->AccuracyPercent)
                             : std::string());
        fields.push_back(judged ? run->ReadBack : std::string());
        fields.push_back(run->InProgress() ? "no" : "yes");
        AddLine(text, fields);
    }
    return text;
}

}  // namespace history
