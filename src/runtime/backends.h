// The run's backends, chosen once at start-up from the options. Live runs use
// the wall clock and the system's window, display and sound; headless runs
// the virtual clock, the scripted window, memory surfaces and the offline
// sound device; capture runs are headless with the frame and sample sinks
// attached; bench runs are headless and present nothing. No other unit asks
// the options which mode it runs in: each service was told here.
#pragma once
#include <string>

#include "runtime/options.h"

enum class RunMode {
    live,      // a window, the sound device, real time
    headless,  // --headless: no window or device, the virtual clock
    capture,   // --capture: headless, every frame and sample into the capture
    bench,     // --bench: headless scene timings
};

// The mode the options ask for.
RunMode run_mode(const RunOptions& options);

// Called once by the entry (and by the tools that play the production's
// display): hands the clock, window, display and sound services their
// backends for mode, and passes on the presentation options, scripted keys
// and audio offset. A capture opens its output here; false with a message
// when it cannot.
bool backends_choose(RunMode mode, const RunOptions& options, std::string& error);
