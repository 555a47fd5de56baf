// Reading the bridge's site-survey report into `CurrentNetwork` and `NetworkTable`.
//
// The report payload starts with two bytes that are skipped; the rest is text holding
// "SSID:" with the present SSID, a separator and the next setting line ("7001 ..."),
// "SECMODE:" with the present security digit, and "SURVEY:" with the heard networks, each
// "ssid FF mac,channel,mode,security,signal VT" (FF = byte 12, VT = byte 11).
#pragma once

#include <cstdint>
#include <string_view>

#include "link/link_frame.h"

// The name a network gets in `NetworkTable` when the bridge reports it without one.
constexpr std::string_view HIDDEN_SSID_TEXT = "[HiddenSSID]";

// Room for the report text copied out of a frame; the copy always ends with a zero.
constexpr int REPORT_TEXT_SIZE = MAX_FRAME_SIZE;

// Index of the first `byte` within the zero-terminated text; -1 when absent.
int find_char(const char* text, char byte);

// Offset of the first occurrence of `pattern` in the text; -1 when absent.
int find_text(const char* text, const char* pattern);

// The decimal number (leading blanks and a sign allowed) at the start of the first n
// characters of the text; 0 when there is none. Out-of-range values saturate.
int parse_leading_int(const char* text, int n);

// Copies the report text of a received frame (a MAX_FRAME_SIZE buffer) into `text`
// (REPORT_TEXT_SIZE bytes): payload bytes from 2 on, as many as the header's length names
// but never past the frame, then zeros. Returns the text's length up to its first zero.
int copy_report_text(const std::uint8_t* frame, char* text);

// Rewrites `CurrentNetwork` from the report in `frame` (a MAX_FRAME_SIZE buffer); when the
// report has a network list, rewrites `NetworkTable` and sets *count to its entries.
// Never reads outside the frame, whatever the report holds. Always returns 0.
int parse_survey_reply(const std::uint8_t* frame, int* count);
