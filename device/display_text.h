// How the bridge's texts (SSIDs above all) are shown to people. The bridge reports bytes with no
// encoding of their own; most are UTF-8, older access points use Latin-1. The bytes themselves
// are what is stored and sent; only their display is decoded.
#pragma once

#include <string>
#include <string_view>

// `bytes` as UTF-8 text: as they are when they are well-formed UTF-8, else read as Latin-1.
std::string display_text(std::string_view bytes);

// The bytes as lower-case hex digits, two per byte: a lossless form for machines.
std::string hex_text(std::string_view bytes);
