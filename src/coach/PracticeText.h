// Practice texts the operator can pick before a run: the word PARIS, CQ calls and random groups
// of five letters. The seeded ones come out the same for the same seed on every machine.
#pragma once

#include <cstdint>
#include <string>

namespace coach {

enum class TPracticeKind : uint8_t { pkParis, pkCqCalls, pkRandomGroups };

// "PARIS" `words` times, separated by blanks.
std::string ParisText(int words);

// `calls` CQ calls, each "CQ CQ CQ DE <call> <call> <call> K" for a call sign made up from the
// seed (a prefix of one or two letters, a digit and a suffix of one to three letters), separated
// by blanks (the text fits a one-line box).
std::string CqCallsText(int calls, uint32_t seed);

// `groups` random groups of five letters, separated by blanks.
std::string RandomGroupsText(int groups, uint32_t seed);

// The text of a kind at a usual length (five words, two calls, ten groups).
std::string PracticeText(TPracticeKind kind, uint32_t seed);

}  // namespace coach
