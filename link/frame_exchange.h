// Sending frames and waiting for the bridge's replies. Waits are counted in ticks of the
// worker's page timer (`tick_rx_timeout`), and also end on the monotonic clock a little after
// their limit so a wait keeps its meaning in seconds if the ticks stop.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

// The process's receive time-out (see link_channel.h). Ticks since the current receive began;
// advanced on the UI thread, reset by the worker.
extern std::atomic<int>& rx_tick_count;
// Limit of the current receive; worker only.
extern int& rx_tick_limit;

// Tick limits of the waiting steps.
constexpr int STEP_TICK_LIMIT = 2;
constexpr int FIRST_EXECUTE_TICK_LIMIT = 3; // first execute of the configuration write
constexpr int DISCOVERY_TICK_LIMIT = 3;
constexpr int MAX_FOREIGN_REPLIES = 20; // frames with other codes before a wait gives up

// Everything below works on the calling thread's link channel (link_channel.h).

// Sends the first `count` bytes on the open capture, unless a stop has been requested. Send
// failures show up as a time-out of the following wait, so the result is always 0.
int send_frame(const std::uint8_t* frame, int count);

// Why a send or read of the procedure under way failed, as the capture told it (see
// CaptureHandle::failure); empty when nothing failed or waits only timed out. Each procedure
// clears it when it begins; a front end adds it to the procedure's own failure message.
std::string link_failure();
void clear_link_failure();

// The exchange step under way, named by the procedure (a literal, kept by pointer), so that a
// front end can say which step got no answer; null before the first.
void note_link_step(const char* step);
const char* link_step();

// One tick of the process's page timer.
void tick_rx_timeout();

// Filtered read: the next frame of `ether_type` from `peer` (or, when peer is the broadcast
// address, from anyone but `own`). Returns its wire length with *frame pointing at the
// capture's bytes and *captured their count, or 0 when the wait gave up.
int next_link_frame(const std::uint8_t* own, const std::uint8_t* peer, std::uint16_t ether_type,
                    const std::uint8_t** frame, int* captured = nullptr);

// Starts a fresh wait with `tick_limit` and copies the accepted frame into `buffer`, at most
// `maximum` bytes. Returns the count (the frame's length cut to maximum), 0 when nothing came.
int receive_frame(const std::uint8_t* own, const std::uint8_t* peer, std::uint16_t ether_type,
                  std::uint8_t* buffer, int maximum, int tick_limit);

// Waits for a reply with `expected_code` whose length field is 2 or agrees with its size.
// Returns the reply's byte count, or -1.
int await_reply(const std::uint8_t* own, const std::uint8_t* peer, std::uint16_t ether_type,
                std::uint8_t* buffer, int maximum, std::uint32_t expected_code, int tick_limit);

using RequestBuilder = int (*)(std::uint8_t* frame, const std::uint8_t* own,
                               const std::uint8_t* bridge);

// One exchange step: build and send the request, await the reply; on failure once more.
// The request is rebuilt before each send, so send and receive buffer may be the same.
// Returns the reply's byte count, or -1 after two failed waits. Once a wind-down is requested
// (link_timing.h) no step begins: -1 at once, nothing sent.
int send_and_await(RequestBuilder build, std::uint8_t* send_buffer, std::uint8_t* receive_buffer,
                   const std::uint8_t* own, const std::uint8_t* bridge, std::uint32_t expected_code,
                   int tick_limit);
