#include "link/capture_handle.h"

std::unique_ptr<CaptureHandle> capture_handle;
