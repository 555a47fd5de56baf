// The Wireshark dissector of tools/wireshark against a whole session captured with tshark on the
// bridge's end of a veth (as root): start-up probe, discovery, site survey and a settings write.
// Every frame is named, none is malformed, the report and the settings are taken apart, and the
// secrets of the write never show in the decoded text. Odd frames, written to a capture file by
// hand, are decoded without a malformed mark or a Lua error. Both need tshark.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "device/config_write.h"
#include "device/discovery.h"
#include "device/site_survey.h"
#include "device/wireless_records.h"
#include "link/adapter_selection.h"
#include "link/link_frame.h"
#include "link/link_timing.h"
#include "link/pcap_capture.h"
#include "tests/netns/testnet.h"

namespace {

const char* const SCENARIO = "mac = 02:00:00:00:0b:01\n"
                             "ssid = Workshop\n"
                             "secmode = 2\n"
                             "network = Workshop|a4:2b:b0:00:00:01|6|BG|2|82\n"
                             "network = |a4:2b:b0:00:00:02|13|G|3|40\n"
                             "network = Caf\xc3\xa9 M\xc3\xbcnster|a4:2b:b0:00:00:03|9|BG|3|47\n"
                             "network = Latin\xe9|a4:2b:b0:00:00:04|1|B|1|5\n";
const char* const PASSPHRASE = "correct horse battery";
const char* const WEP_KEY = "0123456789";

// The tshark fields read per frame, in this order; several values of one field are joined by
// '|', which no value of the session holds.
const std::vector<std::string> FIELDS = {
    "frame.number",        "eth.type",       "qbr20g.kind",        "qbr20g.param",
    "qbr20g.length",       "qbr20g.command", "qbr20g.report.ssid", "qbr20g.report.secmode",
    "qbr20g.survey.entry", "qbr20g.setting", "qbr20g.text",        "_ws.malformed",
    "_ws.expert.message",  "_ws.col.Info"};

using DecodedFrame = std::map<std::string, std::string>;

std::string file_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator))
    parts.push_back(part);
  if (!text.empty() && text.back() == separator)
    parts.emplace_back();
  return parts;
}

bool executable(const char* path) { return access(path, X_OK) == 0; }

// Runs `command` through sh and returns its status; stdout and stderr go to the files named.
int run(const std::string& command, const std::string& out, const std::string& err) {
  const std::string line = command + " >" + out + " 2>" + err;
  const int status = std::system(line.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Marks the wire until tshark has shown that it records: frames of a local experimental
// EtherType, which the bridge ignores and the checks pass over.
constexpr std::uint16_t MARKER_ETHERTYPE = 0x88b5;

// tshark capturing on `iface` of namespace `ns` into `file`, listing each frame as it comes (so
// that the test knows when it really records; "Capturing on" comes earlier); stopped by SIGINT
// so that it writes everything it saw.
class Capture {
public:
  Capture(const std::string& ns, const std::string& iface, const std::string& file,
          const std::string& listing, const std::string& errors)
      : listing_(listing) {
    pid_ = fork();
    if (pid_ == 0) {
      if (!std::freopen(errors.c_str(), "w", stderr) || !std::freopen(listing.c_str(), "w", stdout))
        _exit(126);
      execlp("ip", "ip", "netns", "exec", ns.c_str(), "tshark", "-n", "-l", "-P", "-i",
             iface.c_str(), "-w", file.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~Capture() { stop(); }
  Capture(const Capture&) = delete;
  Capture& operator=(const Capture&) = delete;

  // Sends marker frames on `adapter` until tshark lists one; false after 10 s.
  bool wait_until_recording(const char* adapter) const {
    CaptureOpenError error;
    const auto sender = PcapCapture::open(adapter, &error);
    if (!sender)
      return false;
    std::uint8_t marker[60] = {0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0x02, 0, 0, 0, 0x0a, 0x01};
    marker[12] = MARKER_ETHERTYPE >> 8;
    marker[13] = MARKER_ETHERTYPE & 0xff;
    for (int i = 0; i < 100; ++i) {
      sender->send(marker, sizeof marker);
      std::this_thread::sleep_for(std::chrono::milliseconds{100});
      if (!file_text(listing_).empty())
        return true;
    }
    return false;
  }
  void stop() {
    if (pid_ <= 0)
      return;
    kill(pid_, SIGINT);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
  }

private:
  pid_t pid_ = -1;
  std::string listing_;
};

// A folder that an ordinary user can read, and tshark with the dissector over captures in it.
// The decode runs as the user nobody when setpriv can switch to it: Wireshark may refuse Lua
// scripts to root.
class Decoder {
public:
  Decoder() {
    char folder[] = "/tmp/qbr20g-dissector.XXXXXX";
    if (mkdtemp(folder)) {
      work_ = folder;
      chmod(work_.c_str(), 0755);
    }
  }
  ~Decoder() {
    std::error_code ignored;
    if (!work_.empty())
      std::filesystem::remove_all(work_, ignored);
  }
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  const std::string& work() const { return work_; }
  // The frames of `capture_file` field by field; its verbose decode in *verbose.
  std::vector<DecodedFrame> Decode(const std::string& capture_file, std::string* verbose) const;

private:
  std::string work_;
};

bool tshark_missing() { return !executable("/usr/bin/tshark"); }
const char* const NO_TSHARK = "tshark is not installed (apt-get install tshark, or make deps)";

class DissectorOverVeth : public netns::NetnsTest {
protected:
  void SetUp() override {
    NetnsTest::SetUp();
    if (IsSkipped())
      return;
    if (tshark_missing())
      GTEST_SKIP() << NO_TSHARK;
    ASSERT_FALSE(decoder.work().empty());
  }

  // Runs the wizard's procedures against the emulator while tshark records the wire.
  void CaptureSession(const std::string& capture_file);

  Decoder decoder;
};

void DissectorOverVeth::CaptureSession(const std::string& capture_file) {
  const auto wizard = net->add_namespace("wiz");
  const auto bridge = net->add_namespace("br");
  net->add_veth(wizard, "eth0", "02:00:00:00:0a:01", bridge, "br0", "-");
  auto& emu = net->start_emulator(bridge, "br0", SCENARIO);
  const std::string errors = decoder.work() + "/capture.err";
  net->enter(wizard);
  Capture capture(bridge, "br0", capture_file, decoder.work() + "/capture.txt", errors);
  ASSERT_TRUE(capture.wait_until_recording("eth0")) << file_text(errors);
  netns::QuickLinkTiming timing;
  link_timing().survey_scan_pause = std::chrono::milliseconds{50};

  char hosts[HOST_ADAPTER_LIST_SIZE] = {};
  ASSERT_EQ(find_usable_adapters(hosts), 0) << last_adapter_open_error();
  std::uint8_t buffer[MAX_FRAME_SIZE];
  char devices[DEVICE_LIST_SIZE] = {};
  ASSERT_EQ(discover_devices(buffer, buffer, hosts, devices), 0);
  ASSERT_STREQ(devices, "02-00-00-00-0b-01");
  int count = 0;
  ASSERT_EQ(run_site_survey(buffer, buffer, hosts, devices, &count), 0);
  ASSERT_EQ(count, 4);

  // Every secret field filled, so the masking of each is seen.
  std::memset(&WirelessSettings, 0, sizeof WirelessSettings);
  std::memset(&WirelessKeys, 0, sizeof WirelessKeys);
  store_ssid(WirelessSettings, "Workshop");
  store_text(WirelessSettings.security, "WPA2-PSK");
  store_text(WirelessKeys.key_index, "1");
  store_text(WirelessKeys.wep_key1, WEP_KEY);
  store_text(WirelessKeys.wep_key2, "abcdef0123");
  store_text(WirelessKeys.wep_key3, "fedcba9876");
  store_text(WirelessKeys.wep_key4, "5555566666");
  store_text(WirelessKeys.passphrase, PASSPHRASE);
  ASSERT_EQ(write_configuration(buffer, buffer, hosts, devices), 0);

  // The last acknowledgement is on the wire once the write returns; give tshark a moment.
  ASSERT_TRUE(emu.wait_for([](const std::vector<FrameLogEntry>& log) {
    return !log.empty() && log.back().direction == "tx" && log.back().code == RSP_EXECUTE_ACK;
  }));
  std::this_thread::sleep_for(std::chrono::milliseconds{300});
  capture.stop();
  net->leave();
}

std::vector<DecodedFrame> Decoder::Decode(const std::string& capture_file,
                                          std::string* verbose) const {
  const std::string& work = work_;
  const std::string script = work + "/qbr20g.lua";
  std::filesystem::copy_file(QBR20G_DISSECTOR, script,
                             std::filesystem::copy_options::overwrite_existing);
  chmod(script.c_str(), 0644);
  chmod(capture_file.c_str(), 0644);
  const std::string as_user =
      executable("/usr/bin/setpriv")
          ? "env HOME=" + work + " setpriv --reuid=nobody --regid=nogroup --clear-groups "
          : std::string();
  const std::string tshark = as_user + "tshark -n -r " + capture_file + " -X lua_script:" + script;

  std::string fields = " -T fields -E separator=/t -E occurrence=a -E aggregator='|'";
  for (const std::string& field : FIELDS)
    fields += " -e " + field;
  const std::string out = work + "/fields.txt";
  const std::string err = work + "/fields.err";
  EXPECT_EQ(run(tshark + fields, out, err), 0) << file_text(err);
  EXPECT_EQ(file_text(err).find("Lua"), std::string::npos) << file_text(err);

  EXPECT_EQ(run(tshark + " -V", work + "/verbose.txt", err), 0) << file_text(err);
  *verbose = file_text(work + "/verbose.txt");

  std::vector<DecodedFrame> frames;
  for (const std::string& line : split(file_text(out), '\n')) {
    if (line.empty())
      continue;
    const auto values = split(line, '\t');
    DecodedFrame frame;
    for (std::size_t i = 0; i < FIELDS.size(); ++i)
      frame[FIELDS[i]] = i < values.size() ? values[i] : "";
    frames.push_back(frame);
  }
  return frames;
}

std::vector<std::string> values_of(const std::vector<DecodedFrame>& frames,
                                   const std::string& field) {
  std::vector<std::string> values;
  for (const DecodedFrame& frame : frames)
    for (const std::string& value : split(frame.at(field), '|'))
      if (!value.empty())
        values.push_back(value);
  return values;
}

bool contains(const std::vector<std::string>& values, const std::string& value) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

} // namespace

TEST_F(DissectorOverVeth, DecodesEveryFrameOfAWholeSession) {
  const std::string capture_file = decoder.work() + "/session.pcapng";
  ASSERT_NO_FATAL_FAILURE(CaptureSession(capture_file));
  std::string verbose;
  std::vector<DecodedFrame> frames;
  for (const DecodedFrame& frame : decoder.Decode(capture_file, &verbose)) {
    // Only the markers and the session's own frames are on this wire (IPv6 is off).
    if (frame.at("eth.type") != "0x88b5")
      frames.push_back(frame);
  }
  ASSERT_GE(frames.size(), 20u);
  for (const DecodedFrame& frame : frames) {
    SCOPED_TRACE("frame " + frame.at("frame.number") + ": " + frame.at("_ws.col.Info"));
    EXPECT_EQ(frame.at("eth.type"), "0x8888");
    EXPECT_NE(frame.at("qbr20g.kind"), "");
    EXPECT_NE(frame.at("qbr20g.kind"), "unknown");
    EXPECT_EQ(frame.at("qbr20g.param"), "0");
    EXPECT_NE(frame.at("qbr20g.length"), "");
    EXPECT_EQ(frame.at("_ws.malformed"), "");
    EXPECT_EQ(frame.at("_ws.expert.message"), "") << "no warnings on a sound session";
  }

  const auto kinds = values_of(frames, "qbr20g.kind");
  for (const char* kind : {"CMD_PROBE", "CMD_BEGIN", "RSP_BEGIN", "CMD_WRITE", "RSP_WRITE",
                           "CMD_EXECUTE", "RSP_EXECUTE_ACK", "RSP_EXECUTE_DATA", "CMD_DONE"})
    EXPECT_TRUE(contains(kinds, kind)) << kind;

  const auto infos = values_of(frames, "_ws.col.Info");
  for (const char* probe : {"CMD_PROBE (adapter probe)", "CMD_PROBE (broadcast)",
                            "CMD_PROBE (unicast)", "CMD_PROBE (answer)"})
    EXPECT_TRUE(contains(infos, probe)) << probe;
  const auto commands = values_of(frames, "qbr20g.command");
  for (const char* command : {"9107:", "9100:", "9002:"})
    EXPECT_TRUE(contains(commands, command)) << command;

  // The survey report: present SSID and mode, then each network in the order sent.
  EXPECT_EQ(values_of(frames, "qbr20g.report.ssid"), std::vector<std::string>{"Workshop"});
  EXPECT_EQ(values_of(frames, "qbr20g.report.secmode"), std::vector<std::string>{"2"});
  EXPECT_EQ(values_of(frames, "qbr20g.survey.entry"),
            (std::vector<std::string>{
                "Workshop, a4:2b:b0:00:00:01, channel 6, BG, WPA-PSK, 82%",
                "[HiddenSSID], a4:2b:b0:00:00:02, channel 13, G, WPA2-PSK, 40%",
                "Caf\xc3\xa9 M\xc3\xbcnster, a4:2b:b0:00:00:03, channel 9, BG, WPA2-PSK, 47%",
                "Latin\\xe9, a4:2b:b0:00:00:04, channel 1, B, WEP, 5%"}));

  // The settings write, line by line, secrets masked.
  const auto settings = values_of(frames, "qbr20g.setting");
  ASSERT_EQ(settings.size(), 15u);
  EXPECT_EQ(settings.front(), "7000 :Workshop");
  EXPECT_EQ(settings[3], "7003 :3");
  EXPECT_EQ(settings[6], "7006 :******** (masked, 10 bytes)");
  EXPECT_EQ(settings[9], "7009 :******** (masked, 10 bytes)");
  EXPECT_EQ(settings[13], "7019 :******** (masked, 21 bytes)");
  EXPECT_EQ(settings.back(), "7022 :0");
  EXPECT_EQ(verbose.find(PASSPHRASE), std::string::npos) << "the passphrase shows";
  EXPECT_EQ(verbose.find(WEP_KEY), std::string::npos) << "a WEP key shows";
  EXPECT_NE(verbose.find("[WPA passphrase]"), std::string::npos);
}

namespace {

using Bytes = std::vector<std::uint8_t>;

// A frame from 02:00:00:00:0a:01 to 02:00:00:00:0b:01 with the link header and `payload`,
// zero-filled to `size` (at least the bytes given).
Bytes odd_frame(std::uint32_t code, std::uint16_t length, const std::string& payload,
                std::size_t size = 60) {
  Bytes frame = {0x02, 0, 0, 0, 0x0b, 0x01, 0x02, 0, 0, 0, 0x0a, 0x01, 0x88, 0x88};
  for (int i = 0; i < 4; ++i)
    frame.push_back(static_cast<std::uint8_t>(code >> (8 * i)));
  frame.insert(frame.end(), 4, 0);
  frame.push_back(static_cast<std::uint8_t>(length & 0xff));
  frame.push_back(static_cast<std::uint8_t>(length >> 8));
  frame.insert(frame.end(), payload.begin(), payload.end());
  if (frame.size() < size)
    frame.resize(size, 0);
  return frame;
}

// A classic pcap file of Ethernet frames.
void write_pcap(const std::string& path, const std::vector<Bytes>& frames) {
  std::ofstream out(path, std::ios::binary);
  const auto put32 = [&](std::uint32_t value) {
    out.write(reinterpret_cast<const char*>(&value), sizeof value);
  };
  const auto put16 = [&](std::uint16_t value) {
    out.write(reinterpret_cast<const char*>(&value), sizeof value);
  };
  put32(0xa1b2c3d4);
  put16(2);
  put16(4);
  put32(0);
  put32(0);
  put32(65535);
  put32(1); // Ethernet
  std::uint32_t second = 1;
  for (const Bytes& frame : frames) {
    put32(second++);
    put32(0);
    put32(static_cast<std::uint32_t>(frame.size()));
    put32(static_cast<std::uint32_t>(frame.size()));
    out.write(reinterpret_cast<const char*>(frame.data()),
              static_cast<std::streamsize>(frame.size()));
  }
}

} // namespace

TEST(DissectorOnOddFrames, WarnsWithoutAMalformedMarkOrALuaError) {
  if (tshark_missing())
    GTEST_SKIP() << NO_TSHARK;
  Decoder decoder;
  ASSERT_FALSE(decoder.work().empty());
  Bytes short_frame = odd_frame(CMD_BEGIN, 0, "");
  short_frame.resize(18); // four bytes of the ten-byte link header
  // The length field as the text's own length.
  const auto fitting = [](std::uint32_t code, const std::string& payload) {
    return odd_frame(code, static_cast<std::uint16_t>(payload.size()), payload);
  };
  const std::string report_prefix(2, '\0');
  const std::vector<Bytes> frames = {
      short_frame,
      odd_frame(CMD_WRITE, 1000, "9107:\r\n"),
      odd_frame(CMD_WRITE, 0xffff, "7000 :x\n"),
      odd_frame(0x12345678, 2, ""),
      // No "7001 " after the SSID, SECMODE without its digit, an entry without its commas and a
      // last one without its vertical tab.
      fitting(RSP_EXECUTE_DATA,
              report_prefix + "SSID:Lab\nSURVEY:\fno commas\v\fa4:2b:b0:00:00:09,1,B,0,9"),
      fitting(RSP_EXECUTE_DATA, report_prefix + "SSID:\x01\xff\nSECMODE:"),
      fitting(RSP_EXECUTE_DATA, "S"),
      fitting(CMD_WRITE, "7019 :secret\nnot a line"),
      fitting(CMD_WRITE, "9999:x"),
  };
  const std::string capture_file = decoder.work() + "/odd.pcap";
  write_pcap(capture_file, frames);
  std::string verbose;
  const auto decoded = decoder.Decode(capture_file, &verbose);
  ASSERT_EQ(decoded.size(), frames.size());
  for (const DecodedFrame& frame : decoded) {
    SCOPED_TRACE("frame " + frame.at("frame.number") + ": " + frame.at("_ws.col.Info"));
    EXPECT_EQ(frame.at("_ws.malformed"), "");
    EXPECT_EQ(frame.at("_ws.expert.message").find("Lua"), std::string::npos)
        << frame.at("_ws.expert.message");
  }
  EXPECT_EQ(decoded[0].at("_ws.expert.message"), "Frame shorter than the link header");
  EXPECT_EQ(decoded[1].at("_ws.expert.message"), "Length field runs past the end of the frame");
  EXPECT_EQ(decoded[1].at("qbr20g.command"), "9107:");
  EXPECT_EQ(decoded[2].at("qbr20g.setting").rfind("7000 :x|", 0), 0u)
      << "the settings that are there: " << decoded[2].at("qbr20g.setting");
  EXPECT_EQ(decoded[3].at("_ws.expert.message"), "Unknown code");
  EXPECT_EQ(decoded[4].at("qbr20g.report.ssid"), "Lab") << "without \"7001 \": to the line's end";
  EXPECT_EQ(decoded[4].at("qbr20g.survey.entry"), "no commas");
  EXPECT_EQ(decoded[4].at("_ws.expert.message"), "Survey entry without its separators");
  EXPECT_EQ(decoded[5].at("qbr20g.report.ssid"), "\\x01\\xff");
  EXPECT_EQ(decoded[5].at("qbr20g.report.secmode"), "");
  EXPECT_EQ(decoded[6].at("qbr20g.kind"), "RSP_EXECUTE_DATA");
  EXPECT_EQ(decoded[7].at("qbr20g.setting"), "7019 :******** (masked, 6 bytes)|not a line");
  EXPECT_EQ(verbose.find("secret"), std::string::npos);
  EXPECT_EQ(decoded[8].at("qbr20g.command"), "9999:");
}
