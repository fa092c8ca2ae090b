// Handle -> framework object maps shared by CGdiObject and CDC: attached (permanent) objects and
// temporary wrappers. Temporaries of deleted handles are kept a while before they go, because
// callers may still hold the pointer SelectObject returned.
#pragma once
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace winport::detail {

template <class Base>
class WrapperMap {
 public:
  void Attach(void* h, Base* object) {
    std::lock_guard lock(mutex_);
    permanent_[h] = object;
  }
  void Detach(void* h, Base* object) {
    std::lock_guard lock(mutex_);
    auto it = permanent_.find(h);
    if (it != permanent_.end() && it->second == object) permanent_.erase(it);
  }
  // The attached object, else the temporary of this kind (made on first use).
  Base* Find(void* h, unsigned kind, const std::function<std::unique_ptr<Base>()>& make, bool permanentToo = true) {
    if (!h) return nullptr;
    std::lock_guard lock(mutex_);
    if (permanentToo) {
      if (auto it = permanent_.find(h); it != permanent_.end()) return it->second;
    }
    auto& temp = temporary_[h][kind];
    if (!temp) temp = make();
    return temp.get();
  }
  // The handle is gone: retire its temporaries.
  void Forget(void* h) {
    std::lock_guard lock(mutex_);
    auto it = temporary_.find(h);
    if (it == temporary_.end()) return;
    for (auto& [kind, temp] : it->second) retired_.push_back(std::move(temp));
    temporary_.erase(it);
    constexpr std::size_t kKeep = 1024;
    while (retired_.size() > kKeep) retired_.pop_front();
  }

 private:
  std::mutex mutex_;
  std::unordered_map<void*, Base*> permanent_;
  // One temporary per handle and requested class (a stale handle has no class of its own).
  std::unordered_map<void*, std::map<unsigned, std::unique_ptr<Base>>> temporary_;
  std::deque<std::unique_ptr<Base>> retired_;
};

}  // namespace winport::detail
