// A live libpcap capture on one adapter, set up for Linux so that reads return in time: immediate
// mode (otherwise a received frame waits for the 1000 ms buffer time-out) and non-blocking reads
// paced by poll() on the selectable descriptor (a blocking pcap_next_ex never returns on a quiet
// wire, whatever its time-out).
#pragma once

#include <pcap/pcap.h>

#include <memory>
#include <string>

#include "link/capture_handle.h"

// Why an open failed: libpcap's status (PCAP_ERROR_PERM_DENIED when the process lacks
// CAP_NET_RAW, PCAP_ERROR_NO_SUCH_DEVICE, ...) and its error text.
struct CaptureOpenError {
  int status = 0;
  std::string text;
};

// Whether a capture sees frames for every station on the wire. The link needs only frames to
// its adapter's MAC or to broadcast, and an adapter's mode is not the link's to change; the
// emulator plays bridges of other MACs on one interface and needs every frame.
enum class Promiscuous : bool { No, Yes };

class PcapCapture : public CaptureHandle {
public:
  // snaplen 1600 (whole link frames; see pcap_capture.cpp), read time-out 1000 ms, immediate
  // mode, a 256 KiB ring, non-blocking reads; promiscuous only when asked.
  // Returns null and fills *error when the adapter cannot be opened.
  static std::unique_ptr<PcapCapture> open(const char* adapter, CaptureOpenError* error,
                                           Promiscuous promiscuous = Promiscuous::No);

  // A plain blocking capture: pcap_open_live(adapter, 65536, 1, 1000). On Linux its reads
  // ignore the 1000 ms time-out and may never return on a quiet wire; only for measuring what
  // immediate mode and polled reads gain.
  static std::unique_ptr<PcapCapture> open_blocking(const char* adapter, CaptureOpenError* error);

  int send(const std::uint8_t* frame, int length) override;
  int next(std::chrono::milliseconds timeout, const std::uint8_t** frame, int* wire_length,
           int* captured) override;
  std::string failure() const override { return failure_; }

  // DLT_EN10MB (1) for Ethernet.
  int link_type() const;
  // The capture's packet socket.
  int descriptor() const;
  // Frames the capture passes on: a BPF expression. Returns 0, or -1 with the reason in *error.
  int set_filter(const char* expression, std::string* error);
  // Only frames that arrive from the wire, not those sent on this host: the kernel keeps them
  // off the socket (PACKET_IGNORE_OUTGOING), and libpcap is told so too.
  int set_inbound_only(std::string* error);
  // Throws away every frame captured so far: those that came before a filter went on.
  void drain();

private:
  struct Closer {
    void operator()(pcap_t* pcap) const { pcap_close(pcap); }
  };
  PcapCapture(pcap_t* pcap, bool polled) : pcap_(pcap), polled_(polled) {}

  std::unique_ptr<pcap_t, Closer> pcap_;
  bool polled_;
  int fd_ = -1;
  std::string failure_;
};
