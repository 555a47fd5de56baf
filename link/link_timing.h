// Timing of the link procedures. The product never changes these values; tests shorten them
// so that time-outs and the bridge's scan pause do not cost real seconds.
#pragma once

#include <chrono>

struct LinkTiming {
  // Period of the page timer whose ticks count receive time-outs.
  std::chrono::milliseconds tick_period{1000};
  // Longest single wait inside a capture read; a shorter slice makes give-ups prompt.
  std::chrono::milliseconds read_slice{100};
  // A wait with tick limit n also ends on the monotonic clock this long after (n + 1) tick
  // periods, in case the ticks stop coming.
  std::chrono::milliseconds clock_slack{500};
  // How long the bridge is left to scan the air during a site survey.
  std::chrono::milliseconds survey_scan_pause{9000};
  // Pause after each unicast probe at the end of discovery.
  std::chrono::milliseconds unicast_probe_pause{1000};
  // Longest wait for an adapter to see traffic after its start-up probe.
  std::chrono::milliseconds adapter_probe_wait{300};
};

LinkTiming& link_timing();

// Asks the running link procedure to give up at its next read or pause. Used when a page
// hands over while its worker still runs, so two workers never share the receive state.
void request_link_stop();
void clear_link_stop();
bool link_stop_requested();

// Asks the running procedures to wind down: the steps under way end or time out as they would,
// but no new step begins and pauses end now (the command line's first Ctrl-C in a batch, so
// that no bridge is left between two steps that belong together).
void request_link_wind_down();
void clear_link_wind_down();
bool link_wind_down_requested();

// Sleeps for `duration` unless a stop or (`with_wind_down`) a wind-down is requested first, or
// the calling thread's channel is stopped. Returns false when it ended early. A pause inside a
// step passes false: a wind-down lets the step run its course.
bool link_pause(std::chrono::milliseconds duration, bool with_wind_down = true);

// Wakes every pause to look again at why it might end (after a channel was stopped).
void wake_link_pauses();
