// A recording as a replay script: the program's reading of a sound file through the tone
// detector, which the tool's --audio runs as it runs a recorded keying.
#pragma once

#include "app/Recording.h"
#include "replay/ReplayScript.h"

namespace replay {

using app::kMinRecordingSeconds;
using app::ScriptFromSound;

}  // namespace replay
