#include "helper/link_filter.h"

#include <linux/filter.h>
#include <linux/if_packet.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "link/translation.h"

namespace {

constexpr __u32 ACCEPT = 0xffff; // whole frames, up to the snapshot length

constexpr __u32 ancillary(int offset) { return static_cast<__u32>(SKF_AD_OFF + offset); }

int attach_and_lock(int packet_socket, std::vector<sock_filter>& code, std::string* error) {
  const sock_fprog program{static_cast<unsigned short>(code.size()), code.data()};
  if (setsockopt(packet_socket, SOL_SOCKET, SO_ATTACH_FILTER, &program, sizeof program) != 0) {
    *error = translation::filled(_("cannot attach the link filter: %1"), {std::strerror(errno)});
    return -1;
  }
  const int on = 1;
  if (setsockopt(packet_socket, SOL_SOCKET, SO_LOCK_FILTER, &on, sizeof on) != 0) {
    *error = translation::filled(_("cannot lock the link filter: %1"), {std::strerror(errno)});
    return -1;
  }
  return 0;
}

} // namespace

int lock_link_filter(int packet_socket, std::string* error) {
  // Jumps count the instructions skipped; every failed test lands on the last one, the drop.
  // Frames with a VLAN tag are dropped (libpcap would put the tag back in front of the
  // EtherType). The packet type is what the kernel made of the destination: to this adapter
  // (PACKET_HOST) or to all (PACKET_BROADCAST); outgoing, other hosts' and multicast fail.
  std::vector<sock_filter> code = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, ancillary(SKF_AD_VLAN_TAG_PRESENT)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, 0, 0, 6),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, ancillary(SKF_AD_PKTTYPE)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, PACKET_HOST, 1, 0),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, PACKET_BROADCAST, 0, 3),
      BPF_STMT(BPF_LD | BPF_H | BPF_ABS, 12),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, 0x8888, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, ACCEPT),
      BPF_STMT(BPF_RET | BPF_K, 0),
  };
  return attach_and_lock(packet_socket, code, error);
}

int lock_outgoing_filter(int packet_socket, const std::uint8_t* frame, int size,
                         std::string* error) {
  // Every test jumps to the drop by an 8-bit offset: 2 instructions a word keep it in reach.
  if (size < 4 || size % 4 != 0 || size > 400) {
    *error = translation::filled(_("cannot watch for a frame of %1 bytes"), {std::to_string(size)});
    return -1;
  }
  // Outgoing, untagged, of the frame's length, then the frame word by word; the jumps of the
  // tests are patched to the drop at the end once its place is known.
  std::vector<sock_filter> code = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, ancillary(SKF_AD_PKTTYPE)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, PACKET_OUTGOING, 0, 0),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, ancillary(SKF_AD_VLAN_TAG_PRESENT)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, 0, 0, 0),
      BPF_STMT(BPF_LD | BPF_W | BPF_LEN, 0),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<__u32>(size), 0, 0),
  };
  for (int at = 0; at < size; at += 4) {
    const __u32 word = static_cast<__u32>(frame[at]) << 24 |
                       static_cast<__u32>(frame[at + 1]) << 16 |
                       static_cast<__u32>(frame[at + 2]) << 8 | frame[at + 3];
    code.push_back(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, static_cast<__u32>(at)));
    code.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, word, 0, 0));
  }
  code.push_back(BPF_STMT(BPF_RET | BPF_K, ACCEPT));
  code.push_back(BPF_STMT(BPF_RET | BPF_K, 0));
  const std::size_t drop = code.size() - 1;
  for (std::size_t at = 0; at < drop; ++at)
    if (BPF_CLASS(code[at].code) == BPF_JMP)
      code[at].jf = static_cast<__u8>(drop - at - 1);
  return attach_and_lock(packet_socket, code, error);
}
