#include "helper/link_filter.h"

#include <linux/filter.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

int lock_link_filter(int packet_socket, std::string* error) {
  // Frames with a VLAN tag are dropped (libpcap would put the tag back in front of the
  // EtherType); the rest pass whole (up to the snapshot length) when their EtherType is 0x8888.
  sock_filter code[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, static_cast<__u32>(SKF_AD_OFF + SKF_AD_VLAN_TAG_PRESENT)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, 0, 0, 3),
      BPF_STMT(BPF_LD | BPF_H | BPF_ABS, 12),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, 0x8888, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, 0xffff),
      BPF_STMT(BPF_RET | BPF_K, 0),
  };
  const sock_fprog program{static_cast<unsigned short>(sizeof code / sizeof code[0]), code};
  if (setsockopt(packet_socket, SOL_SOCKET, SO_ATTACH_FILTER, &program, sizeof program) != 0) {
    *error = std::string("cannot attach the link filter: ") + std::strerror(errno);
    return -1;
  }
  const int on = 1;
  if (setsockopt(packet_socket, SOL_SOCKET, SO_LOCK_FILTER, &on, sizeof on) != 0) {
    *error = std::string("cannot lock the link filter: ") + std::strerror(errno);
    return -1;
  }
  return 0;
}
