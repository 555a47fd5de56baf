#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "link/frame_exchange.h"
#include "link/link_frame.h"
#include "link/link_timing.h"
#include "tests/support/scripted_capture.h"

namespace {

const std::uint8_t OWN[6] = {0x02, 0, 0, 0, 0, 0x01};
const std::uint8_t BRIDGE[6] = {0x02, 0, 0, 0, 0, 0xb1};
const std::uint8_t OTHER[6] = {0x02, 0, 0, 0, 0, 0xc1};

class Exchange : public ::testing::Test {
protected:
  ScriptedLink link;
  ScriptedCapture& capture = link.capture();
  std::vector<std::uint8_t> buffer = std::vector<std::uint8_t>(MAX_FRAME_SIZE);

  int receive(const std::uint8_t* peer, int limit = 2) {
    return receive_frame(OWN, peer, LINK_ETHERTYPE, buffer.data(), MAX_FRAME_SIZE, limit);
  }
  int await(std::uint32_t code, int limit = 2) {
    return await_reply(OWN, BRIDGE, LINK_ETHERTYPE, buffer.data(), MAX_FRAME_SIZE, code, limit);
  }
  std::uint8_t source_last_byte() const { return buffer[11]; }
};

using ReceiveFilter = Exchange;
using AwaitReply = Exchange;
using SendAndAwait = Exchange;
using WaitLimits = Exchange;

} // namespace

TEST_F(ReceiveFilter, PeerWaitSkipsOtherStationsAndEtherTypes) {
  capture.queue_frame(make_reply(OTHER, OWN, RSP_BEGIN));
  auto ip = make_reply(BRIDGE, OWN, RSP_BEGIN);
  ip[12] = 0x08;
  ip[13] = 0x00;
  capture.queue_frame(ip);
  capture.queue_frame(Bytes(14, 0));                         // header only: too short
  capture.queue_frame(make_reply(BRIDGE, OTHER, RSP_WRITE)); // dst is not examined
  EXPECT_EQ(receive(BRIDGE), 60);
  EXPECT_EQ(frame_code(buffer.data()), RSP_WRITE);

  capture.queue_frame(make_reply(OTHER, OWN, RSP_BEGIN));
  EXPECT_EQ(receive(BRIDGE), 0) << "only another station answered: the wait times out";
}

TEST_F(ReceiveFilter, BroadcastWaitTakesAnyStationButItself) {
  capture.queue_frame(make_reply(OWN, BROADCAST_MAC, CMD_PROBE));
  capture.queue_frame(make_reply(OTHER, BROADCAST_MAC, 0x12345678));
  EXPECT_GT(receive(BROADCAST_MAC, DISCOVERY_TICK_LIMIT), 0);
  EXPECT_EQ(source_last_byte(), 0xc1);
  capture.queue_frame(make_reply(OWN, BROADCAST_MAC, CMD_PROBE));
  EXPECT_EQ(receive(BROADCAST_MAC), 0);
}

TEST_F(ReceiveFilter, ReadErrorsAndEmptyReadsAreRepeated) {
  capture.queue_error();
  capture.queue_timeout();
  capture.queue_error();
  capture.queue_frame(make_reply(BRIDGE, OWN, RSP_BEGIN));
  EXPECT_EQ(receive(BRIDGE), 60);
}

TEST_F(ReceiveFilter, FrameAfterTheLimitIsDropped) {
  capture.queue_ticks(2); // count 2 is not past limit 2
  capture.queue_frame(make_reply(BRIDGE, OWN, RSP_BEGIN));
  EXPECT_EQ(receive(BRIDGE), 60);
  capture.queue_ticks(3);
  capture.queue_frame(make_reply(BRIDGE, OWN, RSP_BEGIN));
  EXPECT_EQ(receive(BRIDGE), 0);
  EXPECT_EQ(capture.pending(), 0) << "the late frame was read, then dropped";
}

TEST_F(ReceiveFilter, LongFrameIsCutToTheMaximumAndShortCaptureIsZeroFilled) {
  auto big = make_reply(BRIDGE, OWN, RSP_EXECUTE_DATA, Bytes(1600, 'x'));
  capture.queue_frame(big);
  EXPECT_EQ(receive(BRIDGE), MAX_FRAME_SIZE);
  EXPECT_EQ(buffer[MAX_FRAME_SIZE - 1], 'x');

  // A capture layer that delivers fewer bytes than the wire length never lets stale bytes in.
  std::fill(buffer.begin(), buffer.end(), 0xee);
  capture.queue_frame(make_reply(BRIDGE, OWN, RSP_BEGIN), 200);
  EXPECT_EQ(receive(BRIDGE), 200);
  EXPECT_EQ(buffer[100], 0);
  EXPECT_EQ(buffer[199], 0);
  EXPECT_EQ(buffer[200], 0xee);
}

TEST_F(AwaitReply, LengthFieldMustBeTwoOrAgreeWithTheSize) {
  capture.queue_frame(make_reply(BRIDGE, OWN, RSP_WRITE, {}, 2, 300));
  EXPECT_EQ(await(RSP_WRITE), 300) << "length 2 is accepted at any size";

  capture.queue_frame(make_reply(BRIDGE, OWN, RSP_WRITE, Bytes(10, 'a'), 10, 34));
  EXPECT_EQ(await(RSP_WRITE), 34);

  capture.queue_frame(make_reply(BRIDGE, OWN, RSP_WRITE, Bytes(10, 'a'), 10, 60));
  capture.queue_frame(make_reply(BRIDGE, OWN, RSP_WRITE, {}, 2));
  EXPECT_EQ(await(RSP_WRITE), -1) << "a disagreeing length ends the wait at once";
  EXPECT_EQ(capture.pending(), 1);
  EXPECT_EQ(await(RSP_WRITE), 60);

  capture.queue_frame(make_reply(BRIDGE, OWN, RSP_WRITE, {}, 0, 60));
  EXPECT_EQ(await(RSP_WRITE), -1) << "length 0 on a padded Ethernet frame fails";
}

TEST_F(AwaitReply, CutFrameFailsUnlessLengthIsTwo) {
  capture.queue_frame(make_reply(BRIDGE, OWN, RSP_EXECUTE_DATA, Bytes(1576, 's')));
  EXPECT_EQ(await(RSP_EXECUTE_DATA), -1);
  capture.queue_frame(make_reply(BRIDGE, OWN, RSP_EXECUTE_DATA, Bytes(1576, 's'), 2));
  EXPECT_EQ(await(RSP_EXECUTE_DATA), MAX_FRAME_SIZE);
  capture.queue_frame(make_reply(BRIDGE, OWN, RSP_EXECUTE_DATA, Bytes(1490, 's')));
  EXPECT_EQ(await(RSP_EXECUTE_DATA), MAX_FRAME_SIZE) << "the largest frame that fits";
}

TEST_F(AwaitReply, TwentyForeignCodesEndTheWaitWithoutATimeout) {
  for (int i = 0; i < 19; ++i)
    capture.queue_frame(make_reply(BRIDGE, OWN, RSP_BEGIN, {}, 2));
  capture.queue_frame(make_reply(BRIDGE, OWN, RSP_EXECUTE_ACK, {}, 2));
  EXPECT_EQ(await(RSP_EXECUTE_ACK), 60) << "the twentieth frame may still match";

  for (int i = 0; i < 20; ++i)
    capture.queue_frame(make_reply(BRIDGE, OWN, RSP_BEGIN, {}, 2));
  capture.queue_frame(make_reply(BRIDGE, OWN, RSP_EXECUTE_ACK, {}, 2));
  EXPECT_EQ(await(RSP_EXECUTE_ACK), -1);
  EXPECT_EQ(capture.pending(), 1);
}

TEST_F(AwaitReply, RuntFramesCountAsForeignAndAreNotReadPastTheirEnd) {
  Bytes runt = make_reply(BRIDGE, OWN, RSP_WRITE, {}, 2);
  runt.resize(16); // EtherType and half a code
  std::fill(buffer.begin(), buffer.end(), 0);
  build_frame(buffer.data(), BRIDGE, OWN, RSP_WRITE, 0, 2); // stale header in the buffer
  for (int i = 0; i < 20; ++i)
    capture.queue_frame(runt);
  EXPECT_EQ(await(RSP_WRITE), -1);
}

TEST_F(WaitLimits, SilentWireEndsOnTheClockWhenTicksStop) {
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(await(RSP_BEGIN, 2), -1);
  const auto took = std::chrono::steady_clock::now() - start;
  // 3 tick periods of 10 ms plus the slack; anything near a second means the clock is ignored.
  EXPECT_GE(took, std::chrono::milliseconds{30});
  EXPECT_LT(took, std::chrono::milliseconds{500});
}

TEST_F(WaitLimits, TicksFromAnotherThreadEndTheWait) {
  link_timing().tick_period = std::chrono::seconds{60}; // only ticks can end it
  std::atomic<bool> done{false};
  std::thread timer([&] {
    while (!done) {
      tick_rx_timeout();
      std::this_thread::sleep_for(std::chrono::milliseconds{2});
    }
  });
  EXPECT_EQ(receive(BRIDGE, 3), 0);
  EXPECT_GT(rx_tick_count.load(), 3);
  done = true;
  timer.join();
}

TEST_F(WaitLimits, StopRequestEndsWaitsAndPauses) {
  link_timing().tick_period = std::chrono::seconds{60};
  std::thread stopper([] {
    std::this_thread::sleep_for(std::chrono::milliseconds{20});
    request_link_stop();
  });
  EXPECT_EQ(receive(BRIDGE, 3), 0);
  EXPECT_FALSE(link_pause(std::chrono::seconds{60}));
  stopper.join();
  clear_link_stop();
  EXPECT_TRUE(link_pause(std::chrono::milliseconds{1}));
}

TEST_F(SendAndAwait, AStopDuringAWaitSendsNothingMore) {
  link_timing().tick_period = std::chrono::seconds{60};
  std::thread stopper([] {
    std::this_thread::sleep_for(std::chrono::milliseconds{20});
    request_link_stop();
  });
  EXPECT_EQ(send_and_await(build_begin_request, buffer.data(), buffer.data(), OWN, BRIDGE,
                           RSP_BEGIN, STEP_TICK_LIMIT),
            -1);
  stopper.join();
  EXPECT_EQ(capture.sent().size(), 1u) << "the step's second send went out after the stop";
  send_frame(buffer.data(), 64);
  EXPECT_EQ(capture.sent().size(), 1u);
  clear_link_stop();
}

TEST_F(WaitLimits, NoOpenCaptureStillEndsTheWait) {
  capture_handle.reset();
  EXPECT_EQ(send_frame(buffer.data(), 64), 0);
  EXPECT_EQ(receive(BRIDGE), 0);
}

TEST_F(SendAndAwait, SecondSendAfterOneLostReplyThenGiveUp) {
  int sends = 0;
  capture.on_send = [&](const Bytes&) {
    if (++sends == 2)
      capture.queue_frame(make_reply(BRIDGE, OWN, RSP_BEGIN, {}, 2));
  };
  std::vector<std::uint8_t> shared(MAX_FRAME_SIZE);
  EXPECT_EQ(send_and_await(build_begin_request, shared.data(), shared.data(), OWN, BRIDGE,
                           RSP_BEGIN, STEP_TICK_LIMIT),
            60);
  auto sent = capture.sent();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0], sent[1]) << "the request is rebuilt although the reply shares its buffer";

  sends = 10;
  EXPECT_EQ(send_and_await(build_execute_request, shared.data(), shared.data(), OWN, BRIDGE,
                           RSP_EXECUTE_ACK, STEP_TICK_LIMIT),
            -1);
  EXPECT_EQ(capture.sent().size(), 4u) << "a failing step sends its request exactly twice";
}
