#include "cli/rows.h"

#include "cli/cli_options.h"
#include "device/display_text.h"
#include "device/security_modes.h"
#include "device/survey_report.h"

namespace {

Cell cell_security(int mode) {
  const std::string word = security_word(mode);
  return word.empty() ? cell_none() : cell_text(word);
}

Cell cell_survey_security(const NetworkEntry& entry) {
  return cell_security(mode_of_survey_text(std::string(field_text(entry.security))));
}

Cell cell_ssid(std::string_view ssid) { return cell_bytes(ssid); }
Cell cell_ssid_hex(std::string_view ssid) { return cell_text(hex_text(ssid)); }

Cell cell_adapter(const CliBridge& bridge) { return cell_optional_text(bridge.adapter.name); }

const char* change_word(Change change) {
  switch (change) {
  case Change::Yes:
    return "yes";
  case Change::No:
    return "no";
  case Change::Unknown:
    break;
  }
  return "unknown";
}

// A present setting's field, or none when it was not read.
template <typename Make> Cell present(const ConfigureRow& row, Make make) {
  return row.present_known ? make(row.present) : cell_none();
}

} // namespace

const char* result_word(RowResult result) {
  switch (result) {
  case RowResult::Saved:
    return "saved";
  case RowResult::Failed:
    return "failed";
  case RowResult::Silent:
    return "silent";
  case RowResult::Unchanged:
    return "unchanged";
  case RowResult::Planned:
    return "planned";
  case RowResult::Shown:
    return "shown";
  case RowResult::Interrupted:
    return "interrupted";
  case RowResult::NotStarted:
    break;
  }
  return "not-started";
}

RowResult result_of(WorkEnd end, RowResult done) {
  switch (end) {
  case WorkEnd::Done:
    return done;
  case WorkEnd::Failed:
    return RowResult::Failed;
  case WorkEnd::Interrupted:
    return RowResult::Interrupted;
  case WorkEnd::NotStarted:
    break;
  }
  return RowResult::NotStarted;
}

int mode_of_survey_text(const std::string& text) {
  for (int mode = 0; mode < SECURITY_MODE_COUNT; ++mode)
    if (text == security_mode_text(mode))
      return mode;
  return -1;
}

Change change_of(const ConfigureRow& row) {
  if (!row.present_known)
    return Change::Unknown;
  const int present = mode_of_survey_text(std::string(field_text(row.present.security)));
  if (field_text(row.present.ssid) != row.ssid || present != row.security)
    return Change::Yes;
  return row.security == SECURITY_DISABLE ? Change::No : Change::Unknown;
}

// TRANSLATORS: the column headings of qbr20g-cli's tables are written in capitals and kept
// short (one or two words): each column is as wide as its widest cell or heading, and a table
// should fit in 80 columns.
const std::vector<Field<AdapterRow>> ADAPTER_FIELDS = {
    {"adapter", N_("ADAPTER"), [](const AdapterRow& row) { return cell_text(row.adapter.name); }},
    {"mac", N_("MAC"), [](const AdapterRow& row) { return cell_text(row.adapter.mac); }},
};

const std::vector<Field<CliBridge>> BRIDGE_FIELDS = {
    {"bridge", N_("BRIDGE"), [](const CliBridge& row) { return cell_text(row.mac); }},
    {"adapter", N_("ADAPTER"), [](const CliBridge& row) { return cell_text(row.adapter.name); }},
    {"adapter_mac", N_("ADAPTER MAC"),
     [](const CliBridge& row) { return cell_text(row.adapter.mac); }},
};

const std::vector<Field<NetworkRow>> NETWORK_FIELDS = {
    {"bridge", N_("BRIDGE"), [](const NetworkRow& row) { return cell_text(row.bridge.mac); }},
    {"adapter", N_("ADAPTER"), [](const NetworkRow& row) { return cell_adapter(row.bridge); }},
    // A hidden network is listed by the survey's stand-in; its name in JSON is empty.
    {"ssid", N_("SSID"),
     [](const NetworkRow& row) {
       const std::string_view ssid = field_text(row.network.ssid);
       return ssid == HIDDEN_SSID_TEXT ? cell_bytes_as(ssid, "") : cell_ssid(ssid);
     }},
    {"ssid_hex", "",
     [](const NetworkRow& row) {
       const std::string_view ssid = field_text(row.network.ssid);
       return cell_ssid_hex(ssid == HIDDEN_SSID_TEXT ? std::string_view() : ssid);
     }},
    {"hidden", "",
     [](const NetworkRow& row) {
       return cell_flag(field_text(row.network.ssid) == HIDDEN_SSID_TEXT);
     }},
    {"bssid", N_("BSSID"),
     [](const NetworkRow& row) { return cell_bytes(field_text(row.network.mac_text)); }},
    {"channel", N_("CHANNEL"),
     [](const NetworkRow& row) {
       return cell_number(parse_leading_int(row.network.channel, sizeof row.network.channel),
                          terminal_text(field_text(row.network.channel)));
     }},
    {"signal", N_("SIGNAL"),
     [](const NetworkRow& row) {
       return cell_number(row.network.signal, terminal_text(field_text(row.network.signal_text)));
     }},
    {"security", N_("SECURITY"),
     [](const NetworkRow& row) { return cell_survey_security(row.network); }},
    {"security_text", "",
     [](const NetworkRow& row) { return cell_bytes(field_text(row.network.security)); }},
    {"speed", N_("SPEED"),
     [](const NetworkRow& row) { return cell_bytes(field_text(row.network.speed)); }},
};

const std::vector<Field<ShowRow>> SHOW_FIELDS = {
    {"bridge", N_("BRIDGE"), [](const ShowRow& row) { return cell_text(row.bridge.mac); }},
    {"adapter", N_("ADAPTER"), [](const ShowRow& row) { return cell_adapter(row.bridge); }},
    {"result", N_("RESULT"), [](const ShowRow& row) { return cell_text(result_word(row.result)); }},
    {"ssid", N_("SSID"),
     [](const ShowRow& row) {
       return row.result == RowResult::Shown ? cell_ssid(field_text(row.present.ssid))
                                             : cell_none();
     }},
    {"ssid_hex", "",
     [](const ShowRow& row) {
       return row.result == RowResult::Shown ? cell_ssid_hex(field_text(row.present.ssid))
                                             : cell_none();
     }},
    {"security", N_("SECURITY"),
     [](const ShowRow& row) {
       return row.result == RowResult::Shown ? cell_survey_security(row.present) : cell_none();
     }},
    {"security_text", "",
     [](const ShowRow& row) {
       return row.result == RowResult::Shown ? cell_bytes(field_text(row.present.security))
                                             : cell_none();
     }},
    {"message", N_("MESSAGE"), [](const ShowRow& row) { return cell_message(row.message); }},
};

const std::vector<Field<ConfigureRow>> CONFIGURE_FIELDS = {
    {"bridge", N_("BRIDGE"), [](const ConfigureRow& row) { return cell_text(row.bridge.mac); }},
    {"adapter", N_("ADAPTER"), [](const ConfigureRow& row) { return cell_adapter(row.bridge); }},
    {"result", N_("RESULT"),
     [](const ConfigureRow& row) { return cell_text(result_word(row.result)); }},
    {"present_ssid", N_("PRESENT SSID"),
     [](const ConfigureRow& row) {
       return present(row, [](const NetworkEntry& p) { return cell_ssid(field_text(p.ssid)); });
     }},
    {"present_ssid_hex", "",
     [](const ConfigureRow& row) {
       return present(row, [](const NetworkEntry& p) { return cell_ssid_hex(field_text(p.ssid)); });
     }},
    {"present_security", N_("PRESENT SECURITY"),
     [](const ConfigureRow& row) { return present(row, cell_survey_security); }},
    {"ssid", N_("SSID"), [](const ConfigureRow& row) { return cell_ssid(row.ssid); }},
    {"ssid_hex", "", [](const ConfigureRow& row) { return cell_ssid_hex(row.ssid); }},
    {"security", N_("SECURITY"),
     [](const ConfigureRow& row) { return cell_security(row.security); }},
    {"security_text", "",
     [](const ConfigureRow& row) { return cell_optional_text(row.stored_security); }},
    {"changed", N_("CHANGED"),
     [](const ConfigureRow& row) { return cell_text(change_word(row.changed)); }},
    {"message", N_("MESSAGE"), [](const ConfigureRow& row) { return cell_message(row.message); }},
};
