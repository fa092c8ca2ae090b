// A window that logs the messages it receives, for order and routing checks.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include <winport/afx.h>
#include <winport/headless.h>

struct Logged {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

class CRecorderWnd : public CWnd {
 public:
  std::vector<Logged> log;
  std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> hook;  // return true to answer instead

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    log.push_back({message, wParam, lParam});
    LRESULT r = 0;
    if (hook && hook(message, wParam, lParam, r)) return r;
    return CWnd::WindowProc(message, wParam, lParam);
  }
  // Messages of interest only, in order.
  std::vector<UINT> Only(std::initializer_list<UINT> keep) const {
    std::vector<UINT> out;
    for (const Logged& l : log)
      for (UINT k : keep)
        if (l.msg == k) out.push_back(l.msg);
    return out;
  }
  int Count(UINT m) const {
    int n = 0;
    for (const Logged& l : log) n += l.msg == m;
    return n;
  }
  BOOL CreateChild(CWnd* parent, const RECT& r, DWORD style = WS_VISIBLE, UINT id = 1, LPCWSTR cls = nullptr) {
    return Create(cls, L"", WS_CHILD | style, r, parent, id);
  }
  BOOL CreateTop(const RECT& r, DWORD style = WS_VISIBLE, LPCWSTR cls = nullptr) {
    return CreateEx(0, cls, L"top", WS_POPUP | style, r, nullptr, 0);
  }
};
