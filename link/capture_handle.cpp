#include "link/capture_handle.h"

#include "link/link_channel.h"

std::unique_ptr<CaptureHandle>& capture_handle = process_link_channel().capture;
