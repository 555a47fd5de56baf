// The bridge that the end-to-end flows over veth talk to, and the settings text it stores at
// the end of each flow. The wizard's flows and the command line's take the same ways through
// the same choices, so both must store exactly these texts.
#pragma once

#include <string>

inline std::string Scenario(const char* mac) {
  return std::string("mac = ") + mac +
         "\nssid = Previous\nsecmode = 2\n"
         "network = OpenCafe|a4:2b:b0:00:00:01|1|BG|0|80\n"
         "network = OldPrinter|a4:2b:b0:00:00:02|6|B|1|35\n"
         "network = Office|a4:2b:b0:00:00:03|11|BG|2|70\n"
         "network = |a4:2b:b0:00:00:04|3|G|3|40\n"
         "network = Home|a4:2b:b0:00:00:05|9|G|3|91\n";
}

inline std::string Settings(const std::string& ssid, const char* mode, const char* key_length,
                            const char* index, const std::string& keys, const char* cipher,
                            const std::string& passphrase) {
  return "7000 :" + ssid + "\n7001 :16\n7002 :0\n7003 :" + mode + "\n7004 :" + key_length +
         "\n7005 :" + index + "\n" + keys + "7012 :3\n7013 :0\n7018 :" + cipher +
         "\n7019 :" + passphrase + "\n7022 :0\n";
}
inline const std::string NO_KEYS = "7006 :\n7007 :\n7008 :\n7009 :\n";

// The open network "OpenCafe" chosen from the list.
inline const std::string OPEN_FROM_LIST = Settings("OpenCafe", "0", "0", "0", NO_KEYS, "1", "");
// "OldPrinter" (WEP) from the list, key 1 typed as the text "abcde".
inline const std::string WEP64_ASCII =
    Settings("OldPrinter", "1", "5", "0", "7006 :6162636465\n7007 :\n7008 :\n7009 :\n", "1", "");
// "OldPrinter" from the list, key 2 of 26 hex digits, key 2 the one in use.
inline const std::string WEP128_HEX_KEY2 =
    Settings("OldPrinter", "1", "13", "1",
             "7006 :\n7007 :00112233445566778899AABBCC\n7008 :\n7009 :\n", "1", "");
// "Office" (WPA-PSK) from the list with the passphrase "office passphrase".
inline const std::string WPA_FROM_LIST =
    Settings("Office", "2", "32", "0", NO_KEYS, "0", "office passphrase");
// "Typed Net" typed by hand, WPA2-PSK chosen, passphrase "twelve chars".
inline const std::string WPA2_TYPED =
    Settings("Typed Net", "3", "32", "0", NO_KEYS, "1", "twelve chars");
// The hidden "Backroom" typed by hand, WPA2-PSK, passphrase "hidden but safe".
inline const std::string HIDDEN_WPA2 =
    Settings("Backroom", "3", "32", "0", NO_KEYS, "1", "hidden but safe");
