// The site survey: asks the chosen bridge to scan the air, waits while it scans, fetches its
// report and reads it into `CurrentNetwork` and `NetworkTable`.
#pragma once

#include <cstdint>

#include "device/survey_report.h"

// The survey's steps by name, as link_step() tells the one under way.
inline constexpr const char* SURVEY_STEP_BEGIN = "begin";
inline constexpr const char* SURVEY_STEP_SCAN = "scan command (9107:)";
inline constexpr const char* SURVEY_STEP_SCAN_EXECUTE = "scan execute";
inline constexpr const char* SURVEY_STEP_PAUSE = "scan of the air";
inline constexpr const char* SURVEY_STEP_REPORT_BEGIN = "begin of the report";
inline constexpr const char* SURVEY_STEP_REPORT = "report command (9100:)";
inline constexpr const char* SURVEY_STEP_REPORT_POLL = "report";

// Runs the survey's exchange with the bridge. `send` and `receive` are MAX_FRAME_SIZE buffers
// and may be the same one. `own_mac_text` is read for its first 17 characters (the host list
// may be passed as it is); `bridge_mac_text` is one MAC text. Returns 0 and, when the report
// holds a network list, its entry count in *count; -1 when a step fails twice, when neither
// report poll is accepted, or when a MAC text does not hold a MAC (then nothing is sent).
// A failed survey leaves the records as they were and sends no `CMD_DONE`.
int run_site_survey(std::uint8_t* send, std::uint8_t* receive, const char* own_mac_text,
                    const char* bridge_mac_text, int* count);

// Whether a reply to the report poll of `length` bytes is the report: longer than a request,
// its length field agreeing with its size, and its text holding "SSID:".
bool is_survey_report(const std::uint8_t* frame, int length);
