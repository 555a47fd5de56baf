#include "cli/bridge_survey.h"

#include <cstdio>

#include "cli/exit_status.h"
#include "cli/progress_line.h"
#include "device/site_survey.h"
#include "link/link_frame.h"
#include "link/link_timing.h"

int survey_bridge(const CliBridge& bridge, ProgressLine& progress, int* count) {
  *count = 0;
  if (!use_adapter(bridge.adapter)) {
    std::fprintf(stderr, "qbr20g-cli: cannot capture on %s any more\n",
                 bridge.adapter.name.c_str());
    return EXIT_NO_ADAPTER;
  }
  const auto& timing = link_timing();
  std::uint8_t frame[MAX_FRAME_SIZE];
  int result = -1;
  for (int attempt = 0; attempt < 2 && result != 0 && !link_stop_requested(); ++attempt) {
    progress.Show("Bridge " + bridge.mac + " is scanning the air",
                  timing.survey_scan_pause + timing.tick_period);
    LinkTicks ticks;
    result = run_site_survey(frame, frame, bridge.adapter.mac.c_str(), bridge.mac.c_str(), count);
  }
  progress.Clear();
  if (link_stop_requested())
    return EXIT_INTERRUPTED;
  if (result != 0) {
    std::fprintf(stderr, "qbr20g-cli: bridge %s did not answer the survey\n", bridge.mac.c_str());
    return EXIT_NOT_CONFIRMED;
  }
  return EXIT_DONE;
}
