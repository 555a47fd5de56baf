// Fleet files of qbr20g-cli as an administrator writes them, and gets them wrong: every entry is
// read before anything is sent, the first bad one named with its number, and a file whose
// secrets others may read is refused. Also whether a row's new settings change anything.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "cli/fleet_file.h"
#include "cli/rows.h"
#include "device/security_modes.h"

namespace {

class FleetFile : public ::testing::Test {
protected:
  ~FleetFile() override { std::remove(path.c_str()); }

  // Writes `text` with `mode` and reads it; on failure *error holds what was said.
  bool Read(const std::string& text, mode_t mode = 0600, std::string* error = nullptr) {
    std::ofstream(path) << text;
    chmod(path.c_str(), mode);
    plans.clear();
    CommandResult result;
    const bool read = read_fleet_file(path, &plans, &result);
    EXPECT_EQ(read, result.errors.empty());
    if (!read) {
      EXPECT_EQ(result.status, EXIT_USAGE);
      if (error)
        *error = result.errors.front();
    }
    return read;
  }
  std::string Refusal(const std::string& text, mode_t mode = 0600) {
    std::string error;
    EXPECT_FALSE(Read(text, mode, &error)) << text;
    return error;
  }

  std::string path = ::testing::TempDir() + "fleet-" + std::to_string(getpid()) + ".json";
  std::vector<BridgePlan> plans;
};

} // namespace

TEST_F(FleetFile, ReadsEachEntryInEveryMacFormAndPassesOverTheRowsOwnKeys) {
  ASSERT_TRUE(Read(R"([
    {"bridge": "02:00:00:00:0B:01", "adapter": "eth1", "ssid": "Office", "security": "WPA2-PSK",
     "passphrase": "twelve chars", "result": "shown", "security_text": "WPA2-PSK",
     "message": null, "present_ssid": "Old", "changed": "yes"},
    {"bridge": "02-00-00-00-0b-02", "ssid": "shown as text", "ssid_hex": "436166e9",
     "security": "wep", "wep_format": "ascii", "key_index": 2, "key2": "abcde"},
    {"bridge": "020000000b03", "ssid": "Cafe", "security": "open", "adapter": null}])"));
  ASSERT_EQ(plans.size(), 3u);
  EXPECT_EQ(plans[0].bridge, "02-00-00-00-0b-01");
  EXPECT_EQ(plans[0].adapter, "eth1");
  EXPECT_EQ(plans[0].security, SECURITY_WPA2_PSK);
  ASSERT_TRUE(plans[0].secrets);
  EXPECT_EQ(plans[0].secrets->passphrase, "twelve chars");
  EXPECT_EQ(plans[1].ssid, "Caf\xe9") << "the bytes of ssid_hex are the name";
  EXPECT_FALSE(plans[1].wep_hex);
  EXPECT_EQ(plans[1].key_index, 2);
  EXPECT_EQ(plans[1].secrets->keys[1], "abcde");
  EXPECT_EQ(plans[2].bridge, "02-00-00-00-0b-03");
  EXPECT_FALSE(plans[2].secrets) << "no secrets of its own: --secrets-file serves it";
  EXPECT_EQ(plans[1].where, path + ": entry 2 (bridge 02-00-00-00-0b-02)");
}

TEST_F(FleetFile, TheFirstBadEntryIsNamedWithItsNumberAndWhatIsWanted) {
  const std::string good = R"({"bridge": "02:00:00:00:0b:01", "ssid": "A", "security": "open"},)";
  const struct {
    std::string entry;
    std::string said;
  } cases[] = {
      {R"({"bridge": "02:00:00:0b:01", "ssid": "B", "security": "open"})",
       "entry 2: \"bridge\" 02:00:00:0b:01 is not a MAC address"},
      {R"({"ssid": "B", "security": "open"})", "entry 2: no \"bridge\""},
      {R"({"bridge": "02:00:00:00:0b:02", "ssid": "B", "security": "wpa3"})",
       "entry 2: \"security\" wpa3 is not open, wep, wpa-psk or wpa2-psk"},
      {R"({"bridge": "02:00:00:00:0b:02", "ssid": "B"})", "entry 2: no \"security\""},
      {R"({"bridge": "02:00:00:00:0b:02", "ssid": "B", "security": "open", "pasphrase": "x"})",
       "entry 2: unknown key \"pasphrase\""},
      {R"({"bridge": "02:00:00:00:0b:02", "ssid_hex": "4g", "security": "open"})",
       "entry 2: \"ssid_hex\" is not hex pairs"},
      {R"({"bridge": "02:00:00:00:0b:02", "ssid": 7, "security": "open"})",
       "entry 2: \"ssid\" is not a text"},
      {R"({"bridge": "02:00:00:00:0b:02", "ssid": "B", "security": "wep", "key_index": 5})",
       "entry 2: \"key_index\" is 1, 2, 3 or 4"},
      {R"({"bridge": "02:00:00:00:0b:02", "ssid": "B", "security": "open", "key_index": 2})",
       "entry 2: \"wep_format\" and \"key_index\" are for security wep"},
      {R"({"bridge": "02:00:00:00:0b:02", "ssid": "B", "security": "wpa-psk",
           "passphrase": "12345678", "secrets_file": "/x"})",
       "entry 2: secrets both in the entry and in \"secrets_file\""},
      {R"({"bridge": "02:00:00:00:0b:02", "ssid": "B", "security": "wpa-psk",
           "secrets_file": "/nonexistent/x"})",
       "entry 2: cannot read the secrets file /nonexistent/x"},
      {R"({"bridge": "0200000000b01", "ssid": "B", "security": "open"})",
       "entry 2: \"bridge\" 0200000000b01 is not a MAC address"},
      {R"({"bridge": "02-00-00-00-0b-01", "ssid": "B", "security": "open"})",
       "entry 2 (bridge 02-00-00-00-0b-01): the bridge has an entry already"},
      {R"("02:00:00:00:0b:02")", "entry 2: not an object"},
  };
  for (const auto& [entry, said] : cases) {
    const std::string error = Refusal("[" + good + entry + "]");
    EXPECT_NE(error.find(path + ": " + said), std::string::npos) << error;
  }
  for (const char* text : {"", "{}", "[", "not json"})
    EXPECT_NE(Refusal(text).find("is not a fleet file"), std::string::npos) << text;
  EXPECT_NE(Refusal("[]").find("names no bridge"), std::string::npos);
}

// As ssh refuses a private key that others may read: secrets in a file are only secret if it is
// private. A file without secrets may be shared.
TEST_F(FleetFile, SecretsInAFileOthersMayReadAreRefused) {
  const std::string with_secret =
      R"([{"bridge": "02:00:00:00:0b:01", "ssid": "A", "security": "wpa2-psk",
           "passphrase": "twelve chars"}])";
  for (const mode_t mode : {0640, 0604, 0660})
    EXPECT_NE(Refusal(with_secret, mode)
                  .find("holds secrets and other users may read it; make "
                        "it private (chmod 600 " +
                        path + ")"),
              std::string::npos);
  EXPECT_TRUE(Read(with_secret, 0600));
  EXPECT_TRUE(Read(R"([{"bridge": "02:00:00:00:0b:01", "ssid": "A", "security": "open"}])", 0644));
}

TEST(ConfigureRows, AChangeIsKnownOnlyWhereTheBridgeReportsIt) {
  ConfigureRow row;
  row.ssid = "Office";
  row.security = SECURITY_WPA2_PSK;
  EXPECT_EQ(change_of(row), Change::Unknown) << "nothing read from the bridge";
  row.present_known = true;
  store_ssid(row.present, "Office");
  store_text(row.present.security, "WPA2-PSK");
  EXPECT_EQ(change_of(row), Change::Unknown) << "its passphrase is not reported";
  store_text(row.present.security, "WPA-PSK");
  EXPECT_EQ(change_of(row), Change::Yes);
  store_text(row.present.security, "Disable");
  row.security = SECURITY_DISABLE;
  EXPECT_EQ(change_of(row), Change::No);
  store_ssid(row.present, "Office2");
  EXPECT_EQ(change_of(row), Change::Yes);
  store_text(row.present.security, "");
  store_ssid(row.present, "Office");
  EXPECT_EQ(change_of(row), Change::Yes) << "an unknown present security is not the new one";
}
