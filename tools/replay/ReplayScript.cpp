// Reading a recorded keying script, with a clear error and line number for anything off.
#include "replay/ReplayScript.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <istream>
#include <sstream>

#include "base/PrintableText.h"

namespace replay {

namespace {

// Characters of an offending token quoted in a message.
constexpr size_t kQuotedTokenBytes = 60;
// Bytes read from the stream at a time.
constexpr size_t kReadChunkBytes = 64 * 1024;

std::vector<std::string> Words(std::string_view line) {
    std::vector<std::string> words;
    std::istringstream in{std::string(line)};
    std::string word;
    while (in >> word) {
        words.push_back(word);
    }
    return words;
}

// The practice text of a practice directive: the rest of the line after the word, its words
// joined by single spaces (the comment is already cut off).
std::string PracticeText(const std::vector<std::string>& words) {
    std::string text;
    for (size_t i = 1; i < words.size(); ++i) {
        if (i > 1) {
            text += ' ';
        }
        text += words[i];
    }
    return text;
}

double Number(const std::string& word, int line, const char* what) {
    double value = 0;
    const auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || ptr != word.data() + word.size() || !std::isfinite(value)) {
        throw EScriptError(line, std::string("expected ") + what + ", found " + QuoteToken(word));
    }
    return value;
}

// Refuses a run of more polls than its poll count holds, at the line that makes it so: the later
// of the rate and the line that sets the finish time (finish, or else the last event).
void CheckRunLength(const TReplayScript& script) {
    if (script.EffectiveFinishMs() * script.PollsPerMs <= TReplayScript::kMaxPolls) {
        return;
    }
    const int finishLine = script.FinishMs >= 0    ? script.FinishLine
                           : script.Events.empty() ? 0
                                                   : script.Events.back().Line;
    throw EScriptError(std::max(script.RateLine, finishLine),
                       "the run would take more than 4294967295 polls (rate times finish "
                       "time), more than a poll count holds");
}

}  // namespace

EScriptError::EScriptError(int line, const std::string& what)
    : std::runtime_error("line " + std::to_string(line) + ": " + what), m_line(line) {}

std::string QuoteToken(std::string_view token) {
    // The token comes from the script: its control bytes must not act on the terminal.
    std::string quoted = "'";
    if (token.size() <= kQuotedTokenBytes) {
        quoted += base::PrintableText(token);
        quoted += '\'';
        return quoted;
    }
    size_t cut = kQuotedTokenBytes;
    // Never cut inside a UTF-8 character: back up to the start of the one at the cut.
    while (cut > 0 && (static_cast<unsigned char>(token[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    quoted += base::PrintableText(token.substr(0, cut));
    quoted += "...' (cut; ";
    quoted += std::to_string(token.size());
    quoted += " bytes in all)";
    return quoted;
}

std::string ReadScriptText(std::istream& in, size_t maxLine, size_t maxScript) {
    std::string text;
    std::string chunk(kReadChunkBytes, '\0');
    int line = 1;
    size_t lineStart = 0;  // offset in text of the current line
    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto got = static_cast<size_t>(in.gcount());
        for (size_t i = 0; i < got; ++i) {
            const size_t length = text.size() + i + 1;  // bytes read so far
            if (length > maxScript) {
                throw EScriptError(
                    line, "the script is longer than " + std::to_string(maxScript) + " bytes");
            }
            if (chunk[i] == '\n') {
                ++line;
                lineStart = length;
            } else if (length - lineStart > maxLine) {
                throw EScriptError(
                    line, "the line is longer than " + std::to_string(maxLine) + " characters");
            }
        }
        text.append(chunk, 0, got);
    }
    if (in.bad()) {
        throw EScriptError(line, "the script could not be read to its end");
    }
    return text;
}

TReplayScript ParseScript(std::string_view text) {
    TReplayScript script;
    int lineNumber = 0;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        const size_t hash = line.find('#');
        if (hash != std::string_view::npos) {
            line = line.substr(0, hash);
        }
        const std::vector<std::string> words = Words(line);
        if (!words.empty() && words[0] == "practice") {
            if (script.PracticeLine != 0) {
                throw EScriptError(lineNumber, "the practice text was already given on line " +
                                                   std::to_string(script.PracticeLine));
            }
            script.PracticeText = PracticeText(words);
            if (script.PracticeText.empty()) {
                throw EScriptError(lineNumber, "expected the practice text after practice");
            }
            script.PracticeLine = lineNumber;
        }
        if (words.empty() || script.PracticeLine == lineNumber) {
            if (end == text.size()) {
                break;
            }
            continue;
        }
        if (words.size() != 2) {
            throw EScriptError(lineNumber,
                               "expected two words, a directive and its value or a "
                               "time and down/up");
        }
        const std::string& first = words[0];
        const std::string& second = words[1];
        if (first == "rate") {
            script.RateLine = lineNumber;
            script.PollsPerMs = Number(second, lineNumber, "a rate in polls per millisecond");
            if (script.PollsPerMs <= 0) {
                throw EScriptError(lineNumber, "the rate must be above 0");
            }
        } else if (first == "tick0") {
            const double tick = Number(second, lineNumber, "a tick count");
            if (tick < 0 || tick > 4294967295.0 || tick != std::floor(tick)) {
                throw EScriptError(lineNumber,
                                   "the tick count must be a whole number from 0 to "
                                   "4294967295");
            }
            script.Tick0 = static_cast<uint32_t>(tick);
        } else if (first == "initial") {
            if (second != "0" && second != "1" && second != "128" && second != "129") {
                throw EScriptError(lineNumber, "the initial key state must be 0, 1, 128 or 129");
            }
            script.Initial = static_cast<uint8_t>(std::stoi(second));
        } else if (first == "finish") {
            script.FinishLine = lineNumber;
            script.FinishMs = Number(second, lineNumber, "a time in milliseconds");
            if (script.FinishMs < 0) {
                throw EScriptError(lineNumber, "the finish time must not be negative");
            }
        } else {
            const double time = Number(first, lineNumber, "a directive or a time in milliseconds");
            if (time < 0) {
                throw EScriptError(lineNumber, "an event time must not be negative");
            }
            if (!script.Events.empty() && time < script.Events.back().TimeMs) {
                throw EScriptError(lineNumber, "event times must not decrease");
            }
            if (second != "down" && second != "up") {
                throw EScriptError(lineNumber, "expected down or up, found " + QuoteToken(second));
            }
            script.Events.push_back({time, second == "down", lineNumber});
        }
        if (end == text.size()) {
            break;
        }
    }
    CheckRunLength(script);
    return script;
}

}  // namespace replay
