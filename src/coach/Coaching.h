// Why the listener's read-back and the strict one differ, in one sentence the operator can act on.
#pragma once

#include <string>
#include <vector>

#include "coach/Keying.h"
#include "coach/Listener.h"
#include "coach/ReadBack.h"

namespace coach {

// The sentence for the commonest difference between the listener's kinds and the strict ones
// (its gaps in units, the weighting, the Farnsworth stretch, an example of a misheard pair);
// empty when the two read-backs are the same. Both interval lists are of the same run.
std::string CoachingSentence(const std::vector<TInterval>& listened, const TReadBack& readBack,
                             const TListening& listening, const std::vector<TInterval>& strict,
                             const TReadBack& strictReadBack);

}  // namespace coach
