#include "device/site_survey.h"

#include "device/mac_arguments.h"
#include "link/frame_exchange.h"
#include "link/link_timing.h"

namespace {

constexpr int REPORT_POLLS = 2;

} // namespace

bool is_survey_report(const std::uint8_t* frame, int length) {
  if (length <= REQUEST_FRAME_SIZE || length != frame_length_field(frame) + LINK_HEADER_SIZE)
    return false;
  char text[REPORT_TEXT_SIZE];
  copy_report_text(frame, text);
  return find_text(text, "SSID:") >= 0;
}

int run_site_survey(std::uint8_t* send, std::uint8_t* receive, const char* own_mac_text,
                    const char* bridge_mac_text, int* count) {
  clear_link_failure();
  std::uint8_t own[MAC_SIZE];
  std::uint8_t bridge[MAC_SIZE];
  if (!procedure_macs(own_mac_text, bridge_mac_text, own, bridge))
    return -1;

  auto step = [&](const char* name, RequestBuilder build, std::uint32_t expected) {
    note_link_step(name);
    return send_and_await(build, send, receive, own, bridge, expected, STEP_TICK_LIMIT) > 0;
  };
  if (!step(SURVEY_STEP_BEGIN, build_begin_request, RSP_BEGIN) ||
      !step(SURVEY_STEP_SCAN, build_9107_request, RSP_WRITE) ||
      !step(SURVEY_STEP_SCAN_EXECUTE, build_execute_request, RSP_EXECUTE_ACK))
    return -1;
  note_link_step(SURVEY_STEP_PAUSE);
  if (!link_pause(link_timing().survey_scan_pause))
    return -1;
  if (!step(SURVEY_STEP_REPORT_BEGIN, build_begin_request, RSP_BEGIN) ||
      !step(SURVEY_STEP_REPORT, build_9100_request, RSP_WRITE))
    return -1;

  note_link_step(SURVEY_STEP_REPORT_POLL);
  // The report's polls are one step: a wind-down lets both run, as a step's two sends do.
  for (int poll = 0; poll < REPORT_POLLS; ++poll) {
    send_frame(send, build_execute_request(send, own, bridge));
    const int length = await_reply(own, bridge, LINK_ETHERTYPE, receive, MAX_FRAME_SIZE,
                                   RSP_EXECUTE_DATA, STEP_TICK_LIMIT);
    if (length > 0 && is_survey_report(receive, length)) {
      const int result = parse_survey_reply(receive, count);
      // Built after the parse: `send` may be the buffer that held the report.
      send_frame(send, build_done_request(send, own, bridge));
      return result;
    }
  }
  return -1;
}
