# The fuzz targets: one line each. NAME is the harness NAME_fuzz.cpp beside this file, whose seed
# corpus is corpus/NAME/; SOURCES are the project files it needs, from the repository root.
# The frame_filter and mac_text seeds are frames and MAC texts taken from emulator logs of a
# discovery, a survey and a write over veth.
qbr20g_fuzz_target(survey_report SOURCES
  device/survey_report.cpp device/site_survey.cpp device/mac_arguments.cpp
  device/security_modes.cpp device/wireless_records.cpp link/link_frame.cpp
  link/frame_exchange.cpp link/link_timing.cpp link/link_channel.cpp link/capture_handle.cpp link/mac_text.cpp
  link/translation.cpp)
qbr20g_fuzz_target(frame_filter SOURCES
  link/frame_exchange.cpp link/link_frame.cpp link/link_timing.cpp link/link_channel.cpp link/capture_handle.cpp
  link/translation.cpp tests/support/scripted_capture.cpp)
qbr20g_fuzz_target(mac_text SOURCES link/mac_text.cpp)
qbr20g_fuzz_target(helper_request SOURCES helper/link_service.cpp link/helper_protocol.cpp
  link/link_frame.cpp link/wireless_adapter.cpp link/translation.cpp)
