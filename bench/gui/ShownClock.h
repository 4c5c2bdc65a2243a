// bench/gui/ShownClock.h -- when a page a view loaded is on the screen
//
// Load-finished says the page and its pictures are loaded, not that a person sees them: the
// frame that shows them is drawn afterwards. The page's own clock says when: a script added
// to the view notes the end of the first frame drawn after the load event (an animation
// frame, then a task after its drawing), on the wall clock shared by all processes.
#pragma once

#include <webkit2/webkit2.h>

namespace stellik::bench {

// Adds the noting script to every page the view loads from now on.
void WatchShownPages(WebKitWebView* view);

// The wall clock in milliseconds, as the pages read it.
double WallMs();

// When the page the view has finished loading was first drawn (wall clock, milliseconds); runs
// the main loop until the page says so.
double ShownAtMs(WebKitWebView* view);

} // namespace stellik::bench
