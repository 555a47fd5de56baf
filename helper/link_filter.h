// The kernel filter of every capture the helper opens: EtherType 0x8888 frames only.
#pragma once

#include <string>

// Attaches the link filter to a packet socket and locks it, so that nothing in this process
// can change or remove it afterwards. 0, or -1 with the reason.
int lock_link_filter(int packet_socket, std::string* error);
