#include "link/helper_adapter_access.h"

#include <array>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "link/helper_protocol.h"
#include "link/link_helper.h"
#include "link/translation.h"

namespace {

// A capture that the helper holds. When the helper is lost, every call fails at once; a capture
// of the process's helper reopens on the same adapter in a new helper at its next call after
// recover_link_helper(), one of a helper of its own stays failed.
class HelperCapture : public CaptureHandle {
public:
  HelperCapture(std::shared_ptr<LinkHelper> helper, std::uint32_t id, std::string adapter,
                bool recovers)
      : helper_(std::move(helper)), id_(id), adapter_(std::move(adapter)), recovers_(recovers) {}
  ~HelperCapture() override {
    if (!helper_->lost())
      helper_->close_capture(id_);
  }

  int send(const std::uint8_t* frame, int length) override {
    failure_.clear();
    if (!usable())
      return -1;
    return helper_->send(id_, frame, length, &failure_);
  }

  int next(std::chrono::milliseconds timeout, const std::uint8_t** frame, int* wire_length,
           int* captured) override {
    failure_.clear();
    if (!usable())
      return -1;
    const int result = helper_->next(id_, timeout, &frame_, wire_length, &failure_);
    if (result == 1) {
      *frame = frame_.data();
      *captured = static_cast<int>(frame_.size());
    }
    return result;
  }

  std::string failure() const override { return failure_; }

  int probe(std::chrono::milliseconds wait, std::string* error) {
    if (!usable()) {
      *error = failure_;
      return -1;
    }
    return helper_->probe_adapter(id_, wait, error);
  }

private:
  bool usable() {
    if (!helper_->lost())
      return true;
    if (!recovers_) {
      failure_ = translation::filled(L_("the link helper was lost: %1"), {helper_->lost_reason()});
      return false;
    }
    std::shared_ptr<LinkHelper> current = link_helper(&failure_);
    if (!current || current == helper_) {
      if (current)
        failure_ =
            translation::filled(L_("the link helper was lost: %1"), {helper_->lost_reason()});
      return false;
    }
    HelperOpening opening;
    if (current->open_capture(adapter_, &opening) != 0) {
      failure_ = opening.error;
      return false;
    }
    helper_ = std::move(current);
    id_ = opening.capture;
    return true;
  }

  std::shared_ptr<LinkHelper> helper_;
  std::uint32_t id_;
  std::string adapter_;
  bool recovers_;
  std::vector<std::uint8_t> frame_;
  std::string failure_;
};

class HelperAdapterAccess : public AdapterAccess {
public:
  explicit HelperAdapterAccess(bool own_helper) : own_helper_(own_helper) {}

  int list_adapters(std::vector<AdapterInfo>* adapters, std::string* error) override {
    std::shared_ptr<LinkHelper> helper = current_helper(error);
    std::vector<HelperAdapter> listed;
    if (!helper || helper->list_adapters(&listed, error) != 0)
      return -1;
    std::lock_guard lock(mutex_);
    macs_.clear();
    adapters->clear();
    for (const HelperAdapter& adapter : listed) {
      adapters->push_back({adapter.name, adapter.description, adapter.flags});
      std::array<std::uint8_t, 6> mac;
      std::memcpy(mac.data(), adapter.mac, mac.size());
      macs_.emplace(adapter.name, mac);
    }
    return 0;
  }

  // The helper lists only adapters with an Ethernet MAC, and with it; an adapter not in the
  // last list has none that the link may use.
  int read_mac(const char* name, std::uint8_t* mac) override {
    std::lock_guard lock(mutex_);
    const auto found = macs_.find(name);
    if (found == macs_.end())
      return -1;
    std::memcpy(mac, found->second.data(), found->second.size());
    return 0;
  }

  CaptureOpening open_capture(const char* name) override {
    CaptureOpening opening;
    std::shared_ptr<LinkHelper> helper = current_helper(&opening.error);
    if (!helper) {
      opening.status = helper_protocol::OPEN_REFUSED;
      return opening;
    }
    HelperOpening opened;
    if (helper->open_capture(name, &opened) != 0) {
      opening.status = opened.status;
      opening.error = opened.error;
      return opening;
    }
    opening.link_type = opened.link_type;
    opening.capture = std::make_unique<HelperCapture>(helper, opened.capture, name, !own_helper_);
    return opening;
  }

  int probe_adapter(const char*, const std::uint8_t*, CaptureHandle& capture,
                    std::chrono::milliseconds wait, std::string* error) override {
    // The helper sends the probe itself, from the adapter's own MAC, and tells only whether it
    // went out: its captures never show what this host sends.
    auto* held = dynamic_cast<HelperCapture*>(&capture);
    if (!held) {
      *error = L_("the capture is not the link helper's");
      return -1;
    }
    return held->probe(wait, error);
  }

private:
  // The process's helper, or this access's own: started on first use, never started again.
  std::shared_ptr<LinkHelper> current_helper(std::string* error) {
    if (!own_helper_)
      return link_helper(error);
    std::lock_guard lock(mutex_);
    if (!helper_ && own_failure_.empty())
      helper_ = LinkHelper::start(link_helper_path(), &own_failure_);
    if (!helper_) {
      if (error)
        *error = own_failure_;
      return nullptr;
    }
    if (helper_->lost()) {
      if (error)
        *error = translation::filled(L_("the link helper was lost: %1"), {helper_->lost_reason()});
      return nullptr;
    }
    return helper_;
  }

  const bool own_helper_;
  std::shared_ptr<LinkHelper> helper_; // own_helper_ only
  std::string own_failure_;
  std::mutex mutex_;
  std::map<std::string, std::array<std::uint8_t, 6>> macs_;
};

} // namespace

std::unique_ptr<AdapterAccess> make_helper_adapter_access() {
  return std::make_unique<HelperAdapterAccess>(false);
}

std::unique_ptr<AdapterAccess> make_own_helper_adapter_access() {
  return std::make_unique<HelperAdapterAccess>(true);
}
