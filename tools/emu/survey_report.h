// The payload of the bridge's site-survey report: two leading bytes, the present SSID and
// security mode, then the networks it heard.
#pragma once

#include <string>
#include <vector>

#include "tools/emu/scenario.h"

// As many networks as fit in one 1514-byte frame.
std::string build_survey_report(const std::string& ssid, char secmode,
                                const std::vector<SurveyNetwork>& networks);
