// A recorded keying: the script that keyvet-replay reads, one directive or event a line. A run
// may take at most 4294967295 polls (rate times finish time): the line that asks for more is
// refused.
//
//   rate 100        polls per millisecond (may be fractional), default 100
//   tick0 1000      tick count at the first poll, default 1000
//   initial 0       key-state byte before any event: 0, 1, 128 or 129, default 0
//   finish 2000     when Finish is clicked, ms after Start; default 500 after the last event
//   practice PARIS PARIS   the text the operator set out to key (the rest of the line, once)
//   120 down        an event: ms after Start (fractional, non-decreasing), then down or up
//   # a comment
#pragma once

#include <cstdint>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/KeyingReplay.h"

namespace replay {

using app::TKeyEvent;
using app::TReplayScript;

// A script that cannot be read: the message names the line.
class EScriptError : public std::runtime_error {
  public:
    EScriptError(int line, const std::string& what);
    int Line() const { return m_line; }

  private:
    int m_line;
};

TReplayScript ParseScript(std::string_view text);

// The longest line and the largest script read, in bytes: beyond any recorded keying (an
// eight-hour run of 260,000 transitions is about 5 MB), small enough that an endless input
// cannot exhaust memory.
inline constexpr size_t kMaxLineBytes = 4096;
inline constexpr size_t kMaxScriptBytes = size_t{16} << 20;

// Reads a script's text from a stream, refusing a line longer than maxLine bytes or a text longer
// than maxScript bytes with an EScriptError naming the line where the limit was passed.
std::string ReadScriptText(std::istream& in, size_t maxLine = kMaxLineBytes,
                           size_t maxScript = kMaxScriptBytes);

// A token for a message: whole when short, else its first characters and how long it was; its
// control bytes shown as "?".
std::string QuoteToken(std::string_view token);

}  // namespace replay
