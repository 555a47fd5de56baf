#include "wizard/link_state.h"

GuardedText<HOST_ADAPTER_LIST_SIZE> host_adapter_macs;
GuardedText<SELECTED_DEVICE_MAC_SIZE> selected_device_mac;
std::atomic<bool> bridges_answered{false};
