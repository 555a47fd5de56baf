// A site survey of one bridge, as the survey page runs it: the procedure, once more when it
// fails, with the page timer's ticks and the progress line while the bridge scans the air.
#pragma once

#include "cli/bridge_session.h"

class ProgressLine;

// Fills `NetworkTable` and `CurrentNetwork`; *count gets the number of networks. Returns
// EXIT_DONE, EXIT_NOT_CONFIRMED when the bridge did not answer (told on standard error), or
// EXIT_INTERRUPTED.
int survey_bridge(const CliBridge& bridge, ProgressLine& progress, int* count);
