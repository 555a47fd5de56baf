#include "tools/emu/survey_report.h"

#include "link/link_frame.h"

std::string build_survey_report(const std::string& ssid, char secmode,
                                const std::vector<SurveyNetwork>& networks) {
  std::string report(2, '\0');
  report += "SSID:" + ssid + "\n7001 :16\n";
  report += "SECMODE:";
  report += secmode;
  report += "\nSURVEY:\f";
  constexpr std::size_t room = MAX_FRAME_SIZE - LINK_HEADER_SIZE;
  for (const SurveyNetwork& network : networks) {
    const std::string entry = network.ssid + '\f' + network.mac + ',' + network.channel + ',' +
                              network.mode + ',' + network.security + ',' + network.signal + '\v';
    if (report.size() + entry.size() > room)
      break;
    report += entry;
  }
  return report;
}
