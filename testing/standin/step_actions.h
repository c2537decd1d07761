// Windows-only. What each scenario step does to the host.
#pragma once

#include "scenario.h"
#include "transcript.h"

namespace standin {

// Plays one step, adding its results to the transcript line; returns the delay
// in milliseconds before the next step.
unsigned PlayStep(const Step& step, Json& line);

}  // namespace standin
