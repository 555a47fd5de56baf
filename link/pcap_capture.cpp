#include "link/pcap_capture.h"

#include <linux/if_packet.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

#include "link/translation.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int BLOCKING_SNAPSHOT_LENGTH = 65536; // pcap_open_live's usual whole-frame length
constexpr int READ_TIMEOUT_MS = 1000;
// In immediate mode a Linux capture's ring has one fixed slot per frame, sized by the snapshot
// length: with 65536 each slot took 64 KiB, so libpcap's 2 MiB ring held 32 frames (a burst of
// 33 lost frames) and cost 4.4 MiB of resident memory. 1600 bytes hold any link frame (1514,
// 1518 with a VLAN tag) and the wire length is reported whatever is kept; a 256 KiB ring then
// holds 128 frames for 0.8 MiB.
constexpr int LINK_SNAPSHOT_LENGTH = 1600;
constexpr int CAPTURE_BUFFER_BYTES = 256 * 1024;

void fail(CaptureOpenError* error, int status, std::string text) {
  if (error)
    *error = {status, std::move(text)};
}

} // namespace

std::unique_ptr<PcapCapture> PcapCapture::open(const char* adapter, CaptureOpenError* error,
                                               Promiscuous promiscuous) {
  char message[PCAP_ERRBUF_SIZE] = "";
  pcap_t* raw = pcap_create(adapter, message);
  if (!raw) {
    fail(error, PCAP_ERROR, message);
    return nullptr;
  }
  std::unique_ptr<PcapCapture> capture(new PcapCapture(raw, true));
  pcap_set_snaplen(raw, LINK_SNAPSHOT_LENGTH);
  pcap_set_promisc(raw, promiscuous == Promiscuous::Yes ? 1 : 0);
  pcap_set_timeout(raw, READ_TIMEOUT_MS);
  pcap_set_immediate_mode(raw, 1);
  pcap_set_buffer_size(raw, CAPTURE_BUFFER_BYTES);
  const int status = pcap_activate(raw);
  if (status < 0) {
    // pcap_geterr holds the detail for PCAP_ERROR only; the others speak for themselves.
    std::string text = pcap_statustostr(status);
    if (status == PCAP_ERROR || status == PCAP_ERROR_NO_SUCH_DEVICE ||
        status == PCAP_ERROR_PERM_DENIED || status == PCAP_ERROR_PROMISC_PERM_DENIED) {
      const std::string detail = pcap_geterr(raw);
      if (!detail.empty())
        text = detail;
    }
    fail(error, status, text);
    return nullptr;
  }
  if (pcap_setnonblock(raw, 1, message) < 0) {
    fail(error, PCAP_ERROR, message);
    return nullptr;
  }
  capture->fd_ = pcap_get_selectable_fd(raw);
  if (capture->fd_ < 0) {
    fail(error, PCAP_ERROR, _("the capture has no selectable descriptor"));
    return nullptr;
  }
  return capture;
}

std::unique_ptr<PcapCapture> PcapCapture::open_blocking(const char* adapter,
                                                        CaptureOpenError* error) {
  char message[PCAP_ERRBUF_SIZE] = "";
  pcap_t* raw = pcap_open_live(adapter, BLOCKING_SNAPSHOT_LENGTH, 1, READ_TIMEOUT_MS, message);
  if (!raw) {
    fail(error, PCAP_ERROR, message);
    return nullptr;
  }
  return std::unique_ptr<PcapCapture>(new PcapCapture(raw, false));
}

int PcapCapture::send(const std::uint8_t* frame, int length) {
  if (pcap_sendpacket(pcap_.get(), frame, length) == 0)
    return 0;
  failure_ = pcap_geterr(pcap_.get());
  return -1;
}

int PcapCapture::next(std::chrono::milliseconds timeout, const std::uint8_t** frame,
                      int* wire_length, int* captured) {
  const auto deadline = Clock::now() + timeout;
  bool descriptor_failed = false;
  for (;;) {
    pcap_pkthdr* header = nullptr;
    const u_char* data = nullptr;
    const int result = pcap_next_ex(pcap_.get(), &header, &data);
    if (result == 1) {
      *frame = data;
      *wire_length = static_cast<int>(header->len);
      *captured = static_cast<int>(header->caplen);
      return 1;
    }
    if (result < 0 || descriptor_failed) {
      failure_ = result < 0 ? pcap_geterr(pcap_.get()) : _("the adapter went away");
      return -1;
    }
    if (!polled_)
      return 0;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0)
      return 0;
    pollfd waiting{fd_, POLLIN, 0};
    const int ready = poll(&waiting, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno != EINTR) {
      failure_ = std::string("poll: ") + std::strerror(errno);
      return -1;
    }
    if (ready == 0)
      return 0;
    // An error on the descriptor (the interface went away) ends the read unless a frame is left.
    descriptor_failed = (waiting.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0;
    // Readable (or a signal): read again; a wake-up without a frame polls for the rest.
  }
}

int PcapCapture::link_type() const { return pcap_datalink(pcap_.get()); }

int PcapCapture::descriptor() const { return pcap_fileno(pcap_.get()); }

int PcapCapture::set_filter(const char* expression, std::string* error) {
  bpf_program program{};
  if (pcap_compile(pcap_.get(), &program, expression, 1, PCAP_NETMASK_UNKNOWN) < 0) {
    if (error)
      *error = pcap_geterr(pcap_.get());
    return -1;
  }
  const int result = pcap_setfilter(pcap_.get(), &program);
  pcap_freecode(&program);
  if (result < 0) {
    if (error)
      *error = pcap_geterr(pcap_.get());
    return -1;
  }
  return 0;
}

int PcapCapture::set_inbound_only(std::string* error) {
  const int on = 1;
  if (setsockopt(descriptor(), SOL_PACKET, PACKET_IGNORE_OUTGOING, &on, sizeof on) != 0) {
    if (error)
      *error = translation::filled(_("cannot ignore outgoing frames: %1"), {std::strerror(errno)});
    return -1;
  }
  if (pcap_setdirection(pcap_.get(), PCAP_D_IN) < 0) {
    if (error)
      *error = pcap_geterr(pcap_.get());
    return -1;
  }
  return 0;
}

void PcapCapture::drain() {
  if (!polled_)
    return; // a blocking read would wait for the next frame
  pcap_pkthdr* header = nullptr;
  const u_char* data = nullptr;
  while (pcap_next_ex(pcap_.get(), &header, &data) == 1) {
  }
}
