// The framework's critical section (recursive, as on the desktop) and its scoped lock.
#pragma once
#include <mutex>

#include "winport/base/types.h"

class WINPORT_API CSyncObject {
 public:
  virtual ~CSyncObject() = default;
  virtual BOOL Lock(DWORD timeout = 0xFFFFFFFF) = 0;
  virtual BOOL Unlock() = 0;
};

class WINPORT_API CCriticalSection : public CSyncObject {
 public:
  BOOL Lock(DWORD timeout = 0xFFFFFFFF) override {
    (void)timeout;
    m_.lock();
    return TRUE;
  }
  BOOL Unlock() override {
    m_.unlock();
    return TRUE;
  }

 private:
  std::recursive_mutex m_;
};

class WINPORT_API CSingleLock {
 public:
  explicit CSingleLock(CSyncObject* obj, BOOL initialLock = FALSE) : obj_(obj) {
    if (initialLock) Lock();
  }
  ~CSingleLock() { Unlock(); }
  CSingleLock(const CSingleLock&) = delete;
  CSingleLock& operator=(const CSingleLock&) = delete;
  BOOL Lock(DWORD timeout = 0xFFFFFFFF) {
    if (!obj_ || locked_) return locked_;
    locked_ = obj_->Lock(timeout);
    return locked_;
  }
  BOOL Unlock() {
    if (obj_ && locked_) {
      obj_->Unlock();
      locked_ = FALSE;
    }
    return TRUE;
  }
  BOOL IsLocked() const { return locked_; }

 private:
  CSyncObject* obj_;
  BOOL locked_ = FALSE;
};
