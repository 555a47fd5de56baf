// MAC addresses travel inside the wizard as 17-character texts ("00-1a-2b-3c-4d-5e"); lists of
// them are such texts back to back with no separator.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int MAC_TEXT_LENGTH = 17; // strlen("ff-ff-ff-ff-ff-ff")
constexpr int MAC_TEXT_SIZE = MAC_TEXT_LENGTH + 1;

// Writes the 17 lower-case characters and a terminating zero.
void mac_bytes_to_text(const std::uint8_t* mac, char* text);

// Text of the source MAC (bytes 6-11) of a received frame; always returns 0.
int frame_source_mac_text(const std::uint8_t* frame, int frame_length, char* text);

// Parses a 17-character text (separators at 2, 5, 8, 11, 14 are skipped whatever they are) or
// else the first 12 characters as six back-to-back pairs. Never reads past the text's zero.
// Every pair gives a defined byte: a pair reads as hex as far as its characters are hex
// digits, so "1g" gives 0x01 and "g1" or a missing pair gives 0. Returns 0 when all twelve
// digits were hex, -1 otherwise.
int mac_text_to_bytes(const char* text, std::uint8_t* mac);

// A..Z to a..z in place; everything else stays.
void to_lower_ascii(char* text);

// Value of a hexadecimal digit (either case), or -1 for any other character.
int hex_digit_value(char c);

// Number of whole 17-character entries of a MAC list.
int mac_list_count(const char* list);

// A group address (its first byte's lowest bit set: broadcast and every multicast) reaches
// many stations at once; the all-zero address reaches none. Neither is one bridge.
bool is_group_mac(const std::uint8_t* mac);
bool is_zero_mac(const std::uint8_t* mac);
