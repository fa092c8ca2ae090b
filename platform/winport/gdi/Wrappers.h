// Handle -> framework object maps shared by CGdiObject and CDC: attached (permanent) objects and
// temporary wrappers. Temporaries of deleted handles are kept a while before they go, because
// callers may still hold the pointer SelectObject returned.
#pragma once
#include <deque>
#include <functional>
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
  Base* Find(void* h, const std::function<std::unique_ptr<Base>()>& make) {
    if (!h) return nullptr;
    std::lock_guard lock(mutex_);
    if (auto it = permanent_.find(h); it != permanent_.end()) return it->second;
    auto& temp = temporary_[h];
    if (!temp) temp = make();
    return temp.get();
  }
  // The handle is gone: retire its temporary.
  void Forget(void* h) {
    std::lock_guard lock(mutex_);
    auto it = temporary_.find(h);
    if (it == temporary_.end()) return;
    retired_.push_back(std::move(it->second));
    temporary_.erase(it);
    constexpr std::size_t kKeep = 1024;
    while (retired_.size() > kKeep) retired_.pop_front();
  }

 private:
  std::mutex mutex_;
  std::unordered_map<void*, Base*> permanent_;
  std::unordered_map<void*, std::unique_ptr<Base>> temporary_;
  std::deque<std::unique_ptr<Base>> retired_;
};

}  // namespace winport::detail
